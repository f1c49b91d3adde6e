#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <memory>

#include "form1.h"
#include "form2.h"
#include "form3.h"

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

using Rows = std::vector<std::vector<QString>>;

// Every cell of a list as the user sees it, sub-items included.
inline Rows CellsOf(const ListView *list)
{
    Rows rows;
    for (int r = 1; r <= list->RowCount(); ++r) {
        std::vector<QString> cells{list->RowText(r)};
        for (int i = 1; i < list->ColumnCount(); ++i)
            cells.push_back(list->SubItem(r, i));
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
    }

    void TearDown() override
    {
        window.reset();
        QApplication::processEvents();
    }

    // Brings the main window back to the front, as a user clicking it would.
    void ReturnToMain()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    Form2 *OpenAddDialog()
    {
        QTest::mouseClick(window->Command3, Qt::LeftButton);
        Form2 *dialog = window->LampDialog();
        EXPECT_TRUE(dialog);
        if (dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        }
        return dialog;
    }

    Form2 *OpenRow(int row)
    {
        QTreeWidgetItem *item = window->ListView1->topLevelItem(row - 1);
        const QRect rect = window->ListView1->visualItemRect(item);
        QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, rect.center());
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
        for (auto [edit, text] : {std::pair{dialog->Text1, fittings}, std::pair{dialog->Text2, lamps},
                                  std::pair{dialog->Text3, watts}, std::pair{dialog->Text4, cosPhi}}) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, QString::fromLatin1(text));
        }
        dialog->Combo2->setCurrentIndex(ballast);
        dialog->Combo1->setCurrentIndex(autonomy);
    }

    // Enters one lamp group through the dialog and waits for the main window's refresh.
    void AddLamp(const char *fittings, const char *lamps, const char *watts, const char *cosPhi, int ballast = 0,
                 int autonomy = 0)
    {
        Form2 *dialog = OpenAddDialog();
        ASSERT_TRUE(dialog);
        Fill(dialog, fittings, lamps, watts, cosPhi, ballast, autonomy);
        QPointer<Form2> watch(dialog);
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); })) << "dialog stayed open";
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
