#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <deque>
#include <memory>

#include "tests/support/busy_machine.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"

namespace korval::test {

// Records every message and answers questions from a script. A question
// nobody scripted fails the test instead of waiting for a user.
class ScriptedMessages final : public MessageBoxes {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        bool operator==(const Shown &o) const { return text == o.text && icon == o.icon; }
    };

    void Show(QWidget *, const QString &text, MessageIcon icon) override { shown.push_back({text, icon}); }
    bool AskYesNo(QWidget *, const QString &text) override;

    std::vector<Shown> shown;
    std::vector<QString> questions;
    std::deque<bool> answers;
};

// The control of `window` with this object name, as a user finds it there:
// controls of the program's other windows (its children) do not count.
template<typename T> T *Child(const QWidget *window, const char *name)
{
    for (T *candidate : window->findChildren<T *>(QString::fromLatin1(name)))
        if (candidate->window() == window)
            return candidate;
    ADD_FAILURE() << "no control " << name << " in " << window->objectName().toStdString();
    return nullptr;
}

// The controls by kind, as the tests name them.
inline constexpr auto Button = &Child<QPushButton>;
inline constexpr auto Edit = &Child<QLineEdit>;
inline constexpr auto Frame = &Child<QGroupBox>;
inline constexpr auto Combo = &Child<QComboBox>;
inline constexpr auto List = &Child<ListView>;
inline constexpr auto Label = &Child<QLabel>;

// The rows a list shows.
inline const ListModel *ModelOf(const ListView *list)
{
    return qobject_cast<const ListModel *>(list->model());
}

using Rows = std::vector<std::vector<QString>>;
// The texts given, as a row's cells or a window's texts are compared.
std::vector<QString> Cells(std::initializer_list<const char *> texts);

// Every cell of a list, sub-items included, read from its model.
Rows CellsOf(const ListView *list);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;

    void TearDown() override;

    // Controls of the main window, or of another window when one is given.
    QPushButton *Button(const char *name) const { return test::Button(window.get(), name); }
    QLineEdit *Edit(const char *name) const { return test::Edit(window.get(), name); }
    QGroupBox *Frame(const char *name) const { return test::Frame(window.get(), name); }
    QComboBox *Combo(const char *name) const { return test::Combo(window.get(), name); }
    ListView *List(const char *name) const { return test::List(window.get(), name); }
    QLabel *Label(const char *name) const { return test::Label(window.get(), name); }
    static QPushButton *Button(const QWidget *w, const char *name) { return test::Button(w, name); }
    static QLineEdit *Edit(const QWidget *w, const char *name) { return test::Edit(w, name); }
    static QGroupBox *Frame(const QWidget *w, const char *name) { return test::Frame(w, name); }
    static QComboBox *Combo(const QWidget *w, const char *name) { return test::Combo(w, name); }

    // Picks an entry of the language box as QComboBox reports a user's pick:
    // the entry selected, then activated.
    void PickLanguage(int entry);
    static ListView *List(const QWidget *w, const char *name) { return test::List(w, name); }

    // The open lamp dialog and price list, if any: a closed one may linger
    // until the event loop deletes it.
    Form2 *LampDialogShown() const { return Shown<Form2>(); }
    Form3 *PriceListShown() const { return Shown<Form3>(); }
    template<typename Window> Window *Shown() const
    {
        for (Window *child : window->findChildren<Window *>())
            if (child->isVisible())
                return child;
        return nullptr;
    }

    // Whether a job of "Stampa" is on its way; pressing it waits until the
    // job has come back (printed, refused or failed).
    bool JobOnItsWay() const { return window->findChild<ReportPrinter *>()->Busy(); }
    void PressPrint();

    // Brings the main window back to the front, as a user clicking it would.
    void ReturnToMain();

    // The lamp dialog of "Aggiungi Lampade", or of a click on row `row`.
    Form2 *OpenAddDialog();
    Form2 *OpenRow(int row);
    Form2 *ActiveLampDialog();

    static void Fill(Form2 *dialog, const char *fittings, const char *lamps, const char *watts, const char *cosPhi,
                     int ballast = 0, int autonomy = 0);

    // Enters one lamp group through the dialog and waits for the main window's refresh.
    void AddLamp(const char *fittings, const char *lamps, const char *watts, const char *cosPhi, int ballast = 0,
                 int autonomy = 0);

    // Puts rows straight into the lamp table and refreshes, for tests about
    // what happens after the entry.
    void Seed(std::initializer_list<LampRecord> rows);

    State state;
    ScriptedMessages messages;
    std::chrono::milliseconds printBound = kPrintBound;  // the window's, when SetUp opens it
    std::unique_ptr<Form1> window;
};

}  // namespace korval::test
