#pragma once

#include <QDialog>

#include "engine/state.h"
#include "ui/listview.h"

namespace korval {

// The catalogue as a price list. Built once per opening, in the language of
// that moment; the price column is filled but kept at zero width. Closing it
// rejects it.
class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(const State &state, QWidget *parent = nullptr);

protected:
    // As in the lamp dialog: Escape and Enter keep it open, and it is a
    // window of the desktop's own.
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void LoadPriceList();

    const State &m_state;
    ListView *ListView1;
    ListModel *m_priceRows;  // shown by ListView1
};

}  // namespace korval
