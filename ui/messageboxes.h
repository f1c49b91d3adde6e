#pragma once

#include <QString>

#include "engine/state.h"

class QWidget;

namespace korval {

// Every message box of the program goes through this interface, so tests can
// read the texts and answer the questions.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal, caption "KORVAL", one OK button.
    virtual void Show(QWidget *parent, const QString &text, MessageIcon icon) = 0;
    // Modal, caption "KORVAL", no icon, Yes is the default. True for Yes.
    virtual bool AskYesNo(QWidget *parent, const QString &text) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(QWidget *parent, const QString &text, MessageIcon icon) override;
    bool AskYesNo(QWidget *parent, const QString &text) override;
};

}  // namespace korval
