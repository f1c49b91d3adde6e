#include "tests/support/fixture.h"

#include <QApplication>
#include <QSignalSpy>

namespace korval::test {

bool ScriptedMessages::AskYesNo(QWidget *, const QString &text)
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

std::vector<QString> Cells(std::initializer_list<const char *> texts)
{
    std::vector<QString> out;
    for (const char *t : texts)
        out.push_back(QString::fromUtf8(t));
    return out;
}

Rows CellsOf(const ListView *list)
{
    const ListModel *model = ModelOf(list);
    Rows rows;
    for (int r = 1; r <= model->rowCount(); ++r) {
        std::vector<QString> cells{model->RowText(r)};
        for (int i = 1; i < model->columnCount(); ++i)
            cells.push_back(model->SubItem(r, i));
        rows.push_back(cells);
    }
    return rows;
}

void MainWindowTest::SetUp()
{
    window = std::make_unique<Form1>(state, messages, printBound);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // The logo is drawn once the window is on screen.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Label("Picture1")->pixmap().isNull(); }));
}

void MainWindowTest::TearDown()
{
    window.reset();
    QApplication::processEvents();
}

void MainWindowTest::PickLanguage(int entry)
{
    QComboBox *box = Combo("Combo1");
    box->setCurrentIndex(entry);
    emit box->activated(entry);
}

void MainWindowTest::PressPrint()
{
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !JobOnItsWay(); }, kBusyMachineMs)) << "the job never came back";
}

void MainWindowTest::ReturnToMain()
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

// The lamp dialog a click has just opened, once it is active.
Form2 *MainWindowTest::ActiveLampDialog()
{
    Form2 *dialog = LampDialogShown();
    EXPECT_TRUE(dialog && QTest::qWaitForWindowActive(dialog)) << "no lamp dialog came up";
    return dialog;
}

Form2 *MainWindowTest::OpenAddDialog()
{
    QTest::mouseClick(Button("Command3"), Qt::LeftButton);
    return ActiveLampDialog();
}

Form2 *MainWindowTest::OpenRow(int row)
{
    ListView *lamps = List("ListView1");
    const QRect rect = lamps->visualRect(lamps->model()->index(row - 1, 0));
    QTest::mouseClick(lamps->viewport(), Qt::LeftButton, {}, rect.center());
    return ActiveLampDialog();
}

void MainWindowTest::Fill(Form2 *dialog, const char *fittings, const char *lamps, const char *watts,
                          const char *cosPhi, int ballast, int autonomy)
{
    for (auto [edit, text] : {std::pair{Edit(dialog, "Text1"), fittings}, std::pair{Edit(dialog, "Text2"), lamps},
                              std::pair{Edit(dialog, "Text3"), watts}, std::pair{Edit(dialog, "Text4"), cosPhi}}) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }
    Combo(dialog, "Combo2")->setCurrentIndex(ballast);
    Combo(dialog, "Combo1")->setCurrentIndex(autonomy);
}

void MainWindowTest::AddLamp(const char *fittings, const char *lamps, const char *watts, const char *cosPhi,
                             int ballast, int autonomy)
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

void MainWindowTest::Seed(std::initializer_list<LampRecord> rows)
{
    for (const LampRecord &row : rows)
        AppendRow(state, row);
    window->RefreshMainWindow();
}

}  // namespace korval::test
