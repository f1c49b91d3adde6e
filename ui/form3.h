#pragma once

#include <QDialog>

#include "ui/windowing.h"

namespace korval {

// The catalogue as a price list. Built once per opening, in the language of
// that moment; the price column is filled but kept at zero width. Closing it
// reports finished().
class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(const State &state, QWidget *parent = nullptr);

protected:
    // As in the lamp dialog: the keys and the placement of a plain window.
    void keyPressEvent(QKeyEvent *event) override { QWidget::keyPressEvent(event); }
    void showEvent(QShowEvent *event) override { QWidget::showEvent(event); }

private:
    void LoadPriceList();

    const State &m_state;
    ListView *ListView1;
    ListModel *m_priceRows;  // shown by ListView1
};

}  // namespace korval
