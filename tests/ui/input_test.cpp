#include "tests/support/fixture.h"
#include "ui/inputgate.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>

namespace korval::test {
namespace {

// Every way a character can enter the lamp dialog's boxes meets the same
// rule: as if typed at the caret, a selection judged like a typed key's.
class InputGateTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        dialog = OpenAddDialog();
        ASSERT_TRUE(dialog);
    }

    // The box holding `before`, with its characters from `selectFrom` on
    // selected (none when -1) and the caret at the end.
    QLineEdit *Box(const char *name, const char *before, int selectFrom = -1)
    {
        auto *box = Child<FilteredLineEdit>(dialog, name);
        box->SetStoredText(QString::fromUtf8(before));
        box->setFocus();
        box->end(false);
        if (selectFrom >= 0)
            box->setSelection(selectFrom, static_cast<int>(box->text().size()) - selectFrom);
        return box;
    }

    Form2 *dialog = nullptr;
};

struct Case {
    const char *box;
    const char *before;
    int selectFrom;
    const char *incoming;
    const char *after;
};

std::string Name(const Case &c)
{
    return std::string(c.box) + " '" + c.before + "' <- '" + c.incoming + "'";
}

TEST_F(InputGateTest, keys_with_any_modifier)
{
    struct Key {
        const char *box, *before;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char *text, *after;
    };
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    const Key cases[] = {
        {"Text1", "12", Qt::Key_Minus, ctrlAlt, "-", "12"},  // AltGr as X11 reports it
        {"Text1", "12", Qt::Key_At, Qt::GroupSwitchModifier, "@", "12"},
        {"Text4", "0", Qt::Key_BracketLeft, ctrlAlt, "[", "0"},
        {"Text3", "1", Qt::Key_currency, ctrlAlt, "\u20AC", "1"},
        {"Text1", "12", Qt::Key_Exclam, Qt::ShiftModifier, "!", "12"},
        {"Text1", "12", Qt::Key_5, ctrlAlt, "5", "125"},
        {"Text1", "100", Qt::Key_5, ctrlAlt, "5", "100"},  // the value is already past 99
        {"Text2", "1", Qt::Key_5, Qt::KeypadModifier, "5", "15"},
        {"Text4", "", Qt::Key_5, Qt::ShiftModifier, "5", ""},  // 2..9 never come first
        {"Text4", "0", Qt::Key_Comma, Qt::ShiftModifier, ",", "0,"},
    };
    for (const Key &k : cases) {
        QLineEdit *box = Box(k.box, k.before);
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, QString::fromUtf8(k.text));
        QApplication::sendEvent(box, &press);
        EXPECT_EQ(box->text(), QString::fromUtf8(k.after)) << k.box << " '" << k.before << "' + " << k.text;
    }
}

TEST_F(InputGateTest, input_method_commits)
{
    const Case cases[] = {
        {"Text1", "", -1, "a-9x", ""},   {"Text2", "", -1, "\u00E9", ""}, {"Text3", "", -1, "\u00BD", ""},
        {"Text1", "1", -1, "2", "12"},   {"Text4", "", -1, "0,5", "0,5"}, {"Text1", "100", 0, "5", "100"},
        {"Text3", "", -1, "\u0661", ""},  // an Arabic-Indic one is no ASCII digit
    };
    for (const Case &c : cases) {
        QLineEdit *box = Box(c.box, c.before, c.selectFrom);
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8(c.incoming));
        QApplication::sendEvent(box, &commit);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after)) << Name(c);
    }
}

TEST_F(InputGateTest, a_pre_edit_shows_but_only_its_judged_commit_enters)
{
    const Case cases[] = {
        {"Text2", "", -1, "\u00E9", ""}, {"Text1", "1", -1, "2", "12"}, {"Text4", "0", -1, "\u00BD", "0"}};
    for (const Case &c : cases) {
        QLineEdit *box = Box(c.box, c.before);
        QInputMethodEvent composing(QString::fromUtf8(c.incoming), {});
        QApplication::sendEvent(box, &composing);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.before)) << Name(c);
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8(c.incoming));
        QApplication::sendEvent(box, &commit);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after)) << Name(c);
    }
}

// Pastes with and without a selection, judged alike from the keyboard and
// from the context menu.
const Case kPastes[] = {
    {"Text1", "", -1, "123", "123"},       {"Text1", "", -1, "1234", ""},
    {"Text1", "", -1, "12a", ""},          {"Text1", "", -1, "-5", ""},
    {"Text2", "", -1, "99", "99"},         {"Text2", "1", -1, "23", "1"},
    {"Text4", "", -1, "0,85", "0,85"},     {"Text4", "", -1, "2.5", ""},
    {"Text4", "0.", -1, "12345", "0."},    {"Text4", "0.", -1, "1234", "0.1234"},
    {"Text3", "", -1, "5\n", ""},          {"Text3", "", -1, "\u0661", ""},
    {"Text1", "100", 0, "5", "100"},       {"Text1", "12", 1, "5", "15"},
    {"Text1", "99", 0, "123", "123"},      {"Text2", "12", 0, "3", "12"},
    {"Text4", "0.1234", 2, "5", "0.1234"}, {"Text4", "0.123", 2, "9", "0.9"},
};

TEST_F(InputGateTest, keyboard_pastes)
{
    for (const QKeySequence &paste :
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}) {
        for (const Case &c : kPastes) {
            QLineEdit *box = Box(c.box, c.before, c.selectFrom);
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.incoming));
            QTest::keySequence(box, paste);
            EXPECT_EQ(box->text(), QString::fromUtf8(c.after))
                << Name(c) << " by " << paste.toString().toStdString();
        }
    }
}

// The action of the box's context menu that carries this standard shortcut.
QAction *MenuAction(QLineEdit *box, QKeySequence::StandardKey key)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &event);
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *menu = qobject_cast<QMenu *>(w); menu && menu->isVisible())
            for (QAction *action : menu->actions())
                if (action->text().section(QLatin1Char('\t'), 1) == shortcut)
                    return action;
    return nullptr;
}

TEST_F(InputGateTest, context_menu_pastes)
{
    for (const Case &c : kPastes) {
        QLineEdit *box = Box(c.box, c.before, c.selectFrom);
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.incoming));
        QAction *paste = MenuAction(box, QKeySequence::Paste);
        ASSERT_TRUE(paste) << "the menu offers Paste";
        paste->trigger();
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after)) << Name(c);
        qobject_cast<QMenu *>(paste->parent())->close();
    }
}

TEST_F(InputGateTest, drops)
{
    const Case cases[] = {
        {"Text1", "", -1, "12", "12"},    {"Text1", "", -1, "4a", ""}, {"Text1", "12", -1, "3", "123"},
        {"Text1", "123", -1, "4", "123"}, {"Text4", "", -1, "9", ""},  {"Text4", "0", -1, ",25", "0,25"},
    };
    for (const Case &c : cases) {
        QLineEdit *box = Box(c.box, c.before);
        QMimeData dropped;
        dropped.setText(QString::fromUtf8(c.incoming));
        const QPointF end(box->width() - 4, box->height() / 2);
        QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        EXPECT_EQ(enter.isAccepted(), QString::fromUtf8(c.after) != QString::fromUtf8(c.before)) << Name(c);
        QDropEvent drop(end, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.after)) << Name(c);
    }
}

// Keys typed one after another in one opening of the dialog, each judged on
// its own even where the text it gives was in the box before; undo and redo
// go back unjudged (and without a beep) to texts the box held, stored ones
// included. A Qt that validates, or undoes, differently fails these.
TEST_F(InputGateTest, typed_sequences_are_judged_key_by_key_and_undo_goes_back)
{
    // A character, a key, or an undo or redo from the keyboard or the menu.
    enum Step {
        Home = Qt::Key_Home,
        End = Qt::Key_End,
        Delete = Qt::Key_Delete,
        Backspace = Qt::Key_Backspace,
        Undo = -1,
        Redo = -2,
        MenuUndo = -3,
        MenuRedo = -4
    };
    struct Sequence {
        const char *name, *box, *stored;
        std::vector<int> steps;
        const char *after;
        int beeps;
    };
    const Sequence sequences[] = {
        {"a first digit 5 of cos phi", "Text4", "", {'0', '5', Home, Delete, Delete, '5'}, "", 1},
        {"fittings past 99", "Text1", "", {'0', '0', '1', '2', '3', Home, Delete, Delete, Home, '0'}, "123", 1},
        {"a stored row of 100 lamps", "Text2", "100", {End, Backspace, '0'}, "10", 1},
        {"undo back to a stored text", "Text1", "1000", {End, Backspace, Undo}, "1000", 0},
        {"redo after it", "Text1", "1000", {End, Backspace, Undo, Redo}, "100", 0},
        {"undo and redo from the menu", "Text1", "1000", {End, Backspace, MenuUndo, MenuRedo}, "100", 0},
        {"undo from the menu", "Text1", "1000", {End, Backspace, MenuUndo}, "1000", 0},
        {"a key after a redo", "Text1", "100", {End, Backspace, Undo, Redo, '5'}, "105", 0},
        {"a key after a redo from the menu", "Text1", "100", {End, Backspace, MenuUndo, MenuRedo, '5'}, "105", 0},
    };
    for (const Sequence &sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        QLineEdit *box = Box(sequence.box, sequence.stored);
        QSignalSpy beeps(box, &QLineEdit::inputRejected);
        for (int step : sequence.steps) {
            if (step == Undo || step == Redo) {
                QTest::keySequence(box, step == Undo ? QKeySequence::Undo : QKeySequence::Redo);
            } else if (step == MenuUndo || step == MenuRedo) {
                QAction *action = MenuAction(box, step == MenuUndo ? QKeySequence::Undo : QKeySequence::Redo);
                ASSERT_TRUE(action) << "the menu offers undo and redo";
                action->trigger();
                qobject_cast<QMenu *>(action->parent())->close();
            } else if (step < 0x100) {
                QTest::keyClick(box, static_cast<char>(step));
            } else {
                QTest::keyClick(box, static_cast<Qt::Key>(step));
            }
        }
        EXPECT_EQ(box->text(), QString::fromUtf8(sequence.after));
        EXPECT_EQ(beeps.count(), sequence.beeps);
    }
}

TEST_F(InputGateTest, shortcuts_that_insert_nothing_keep_working)
{
    QLineEdit *box = Box("Text1", "12");
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_3);
    EXPECT_EQ(box->text(), QStringLiteral("312"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_7);
    EXPECT_EQ(box->text(), QStringLiteral("7"));
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_8);
    EXPECT_EQ(box->text(), QStringLiteral("78"));
}

}  // namespace
}  // namespace korval::test
