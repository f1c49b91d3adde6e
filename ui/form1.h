#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <optional>

#include "engine/power.h"
#include "engine/state.h"
#include "ui/listview.h"
#include "ui/messageboxes.h"
#include "ui/print/report.h"
#include "ui/print/reportprinter.h"
#include "ui/qttexts.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korval {

class Form2;
class WindowLayout;
class Form3;

// The main window: the lamp list, the required powers, the result list and
// the commands. It owns no data; everything lives in the State it is given.
// The lamp dialog and the price list are its children, shown as windows of
// their own.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // `printBound`: how long "Stampa" waits before "no answer".
    Form1(State &state, MessageBoxes &messages, std::chrono::milliseconds printBound = kPrintBound);

    // Rebuilds the lamp list and the required powers from the lamp table.
    // Runs each time this window becomes the program's active window.
    void RefreshMainWindow();
    void ApplyLanguage();
    void RunCalculation();
    void PrintReport();

    // What the report prints: the lists' models and the power texts as they
    // stand on screen.
    ReportContent CollectReport() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void BuildControls();
    void DrawArtwork();
    void Load();
    void AddLamps();
    void EditRow(int row);
    void EraseAllRows();
    void ShowLampDialog();
    void ShowPriceList();
    RequiredPower ShowRequiredPower();
    void NameForScreenReaders(Language language);
    Notify Notifier();

    State &m_state;
    MessageBoxes &m_messages;
    WindowLayout *m_layout;
    // The device pixel ratio the logo was drawn for; 0 before it is drawn.
    qreal m_logoRatio = 0;

    QLabel *Label1;
    QComboBox *Combo1;
    QLabel *Picture1;
    QPushButton *Command3;
    QPushButton *Command4;
    QGroupBox *Frame1;
    QLineEdit *Text1;
    QGroupBox *Frame2;
    QLineEdit *Text2;
    QPushButton *Command5;
    QPushButton *Command2;
    QPushButton *Command1;
    ListView *ListView1;
    ListView *ListView2;
    ListModel *m_lampRows;    // shown by ListView1
    ListModel *m_resultRows;  // shown by ListView2

    QtTexts m_qtTexts;
    ReportPrinter *m_printer;
    QPointer<Form2> m_form2;
    QPointer<Form3> m_form3;
};

// What the user is told when a print job ends, in the language given (a
// warning): nothing when it printed or was cancelled.
std::optional<QString> PrintMessage(const PrintResult &result, Language language);

}  // namespace korval
