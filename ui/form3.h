#pragma once

#include <QWidget>

#include "ui/windowing.h"

namespace korval {

// The catalogue as a price list. Built once per opening, in the language of
// that moment; the price column is filled but kept at zero width.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(const State &state, QWidget *parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void LoadPriceList();

    const State &m_state;
    ListView *ListView1;
};

}  // namespace korval
