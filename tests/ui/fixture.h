#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <deque>
#include <memory>

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
    bool AskYesNo(QWidget *, const QString &text) override
    {
        questions.push_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

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

inline QPushButton *Button(const QWidget *w, const char *name)
{
    return Child<QPushButton>(w, name);
}
inline QLineEdit *Edit(const QWidget *w, const char *name)
{
    return Child<QLineEdit>(w, name);
}
inline QGroupBox *Frame(const QWidget *w, const char *name)
{
    return Child<QGroupBox>(w, name);
}
inline QComboBox *Combo(const QWidget *w, const char *name)
{
    return Child<QComboBox>(w, name);
}
inline ListView *List(const QWidget *w, const char *name)
{
    return Child<ListView>(w, name);
}
inline QLabel *Label(const QWidget *w, const char *name)
{
    return Child<QLabel>(w, name);
}

using Rows = std::vector<std::vector<QString>>;

// Every cell of a list, sub-items included, read from its model.
inline Rows CellsOf(const ListView *list)
{
    const ListModel *model = list->Model();
    Rows rows;
    for (int r = 1; r <= model->rowCount(); ++r) {
        std::vector<QString> cells{model->RowText(r)};
        for (int i = 1; i < model->columnCount(); ++i)
            cells.push_back(model->SubItem(r, i));
        rows.push_back(cells);
    }
    return rows;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<Form1>(state, messages);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // The logo is drawn once the window is on screen.
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Label("Picture1")->pixmap().isNull(); }));
    }

    void TearDown() override
    {
        window.reset();
        QApplication::processEvents();
    }

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
    void PickLanguage(int entry)
    {
        QComboBox *box = Combo("Combo1");
        box->setCurrentIndex(entry);
        emit box->activated(entry);
    }
    static ListView *List(const QWidget *w, const char *name) { return test::List(w, name); }

    // Brings the main window back to the front, as a user clicking it would.
    void ReturnToMain()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    Form2 *OpenAddDialog()
    {
        QTest::mouseClick(Button("Command3"), Qt::LeftButton);
        Form2 *dialog = window->LampDialog();
        EXPECT_TRUE(dialog);
        if (dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        }
        return dialog;
    }

    Form2 *OpenRow(int row)
    {
        ListView *lamps = List("ListView1");
        const QRect rect = lamps->CellRect(row, 1);
        QTest::mouseClick(lamps->viewport(), Qt::LeftButton, {}, rect.center());
        Form2 *dialog = window->LampDialog();
        EXPECT_TRUE(dialog);
        if (dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        }
        return dialog;
    }

    static void Fill(Form2 *dialog, const char *fittings, const char *lamps, const char *watts, const char *cosPhi,
                     int ballast = 0, int autonomy = 0)
    {
        for (auto [edit, text] :
             {std::pair{Edit(dialog, "Text1"), fittings}, std::pair{Edit(dialog, "Text2"), lamps},
              std::pair{Edit(dialog, "Text3"), watts}, std::pair{Edit(dialog, "Text4"), cosPhi}}) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, QString::fromLatin1(text));
        }
        Combo(dialog, "Combo2")->setCurrentIndex(ballast);
        Combo(dialog, "Combo1")->setCurrentIndex(autonomy);
    }

    // Enters one lamp group through the dialog and waits for the main window's refresh.
    void AddLamp(const char *fittings, const char *lamps, const char *watts, const char *cosPhi, int ballast = 0,
                 int autonomy = 0)
    {
        Form2 *dialog = OpenAddDialog();
        ASSERT_TRUE(dialog);
        Fill(dialog, fittings, lamps, watts, cosPhi, ballast, autonomy);
        QPointer<Form2> watch(dialog);
        QSignalSpy ended(dialog, &QDialog::finished);
        QTest::mouseClick(Button(dialog, "Command1"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); })) << "dialog stayed open";
        ASSERT_EQ(ended.size(), 1);
        EXPECT_EQ(ended[0][0].toInt(), QDialog::Accepted);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Puts rows straight into the lamp table and refreshes, for tests about
    // what happens after the entry.
    void Seed(std::initializer_list<LampRecord> rows)
    {
        for (const LampRecord &row : rows)
            AppendRow(state, row);
        window->RefreshMainWindow();
    }

    State state;
    ScriptedMessages messages;
    std::unique_ptr<Form1> window;
};

}  // namespace korval::test
