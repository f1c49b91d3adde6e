#pragma once

#include "engine/state.h"
#include "ui/inputgate.h"
#include "ui/messageboxes.h"
#include "ui/windows.h"

class QComboBox;
class QGroupBox;
class QPushButton;

namespace korval {
class WindowLayout;
}

namespace korval {

// The lamp data dialog: enters a new lamp group, or edits or deletes one.
// Modeless; it keeps the row it was opened for, so whatever happens in the
// main window meanwhile, "OK" and "Elimina" act on the row it shows. "OK"
// accepts it, "Elimina" ends it as Erased, "Annulla" and the close box
// reject it; every way out destroys it.
class Form2 : public PeerDialog {
    Q_OBJECT
public:
    // How "Elimina" ends the dialog, beside QDialog's Accepted and Rejected.
    static constexpr int Erased = QDialog::Accepted + 1;

    Form2(State &state, MessageBoxes &messages, QWidget *parent = nullptr);

private:
    void BuildControls();
    void Load();
    void Confirm();
    void Delete();

    State &m_state;
    MessageBoxes &m_messages;
    int m_row = 0;  // 0 adds a row, k edits row k
    WindowLayout *m_layout;

    QGroupBox *Frame1;
    QGroupBox *Frame2;
    QGroupBox *Frame3;
    QGroupBox *Frame4;
    QGroupBox *Frame5;
    QGroupBox *Frame6;
    FilteredLineEdit *Text1;
    FilteredLineEdit *Text2;
    FilteredLineEdit *Text3;
    FilteredLineEdit *Text4;
    QComboBox *Combo1;  // autonomy
    QComboBox *Combo2;  // ballast
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;
};

}  // namespace korval
