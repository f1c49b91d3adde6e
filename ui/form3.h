#pragma once

#include "engine/state.h"
#include "ui/listview.h"
#include "ui/windows.h"

namespace korval {

// The catalogue as a price list. Built once per opening, in the language of
// that moment; the price column is filled but kept at zero width. Closing it
// rejects it.
class Form3 : public PeerDialog {
    Q_OBJECT
public:
    explicit Form3(const State &state, QWidget *parent = nullptr);

private:
    void LoadPriceList();

    const State &m_state;
    ListView *ListView1;
    ListModel *m_priceRows;  // shown by ListView1
};

}  // namespace korval
