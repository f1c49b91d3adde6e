#pragma once

#include <QPushButton>

namespace korval {

// A push button whose caption wraps onto a second line when it does not fit,
// as the fixed-size buttons of the main window need.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace korval
