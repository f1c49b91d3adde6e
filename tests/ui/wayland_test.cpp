#include "tests/support/fixture.h"

#include <QWindow>

namespace korval::test {
namespace {

// Under a real compositor (under_weston.sh starts it): Qt tells no window
// activation there, so the test waits for the window with the keyboard.
bool WaitFocused(const QWidget *window)
{
    return window
        && QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window->windowHandle(); }, 30000);
}

class Wayland : public MainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            << "runs under a Wayland compositor, not " << QGuiApplication::platformName().toStdString();
        window = std::make_unique<Form1>(state, messages);
        window->show();
        ASSERT_TRUE(WaitFocused(window.get()));
    }

    // The main window in front of the others: mapped anew, as the
    // compositor focuses it (nothing else a program does would).
    void MainInFront()
    {
        window->hide();
        window->show();
        ASSERT_TRUE(WaitFocused(window.get()));
    }
};

TEST_F(Wayland, windows_asked_for_come_to_the_front)
{
    // The add-lamp cycle, each window taking the keyboard in turn.
    Form2 *first = OpenAddDialog();
    ASSERT_TRUE(WaitFocused(first));
    Fill(first, "10", "2", "36", "0.9");
    QTest::mouseClick(Button(first, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(WaitFocused(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->LampDialog(); }));
    EXPECT_EQ(CellsOf(List("ListView1")).size(), 1u);
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("860 W"));

    // "Elenco UPS" for a price list behind the main window.
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(WaitFocused(window->PriceList()));
    QPointer<Form3> prices = window->PriceList();
    MainInFront();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    EXPECT_TRUE(WaitFocused(prices)) << "the price list stays behind";
    EXPECT_EQ(window->PriceList(), prices.data());
    prices->close();
    ASSERT_TRUE(WaitFocused(window.get()));

    // "Aggiungi Lampade" for a lamp dialog behind it, with typed fields.
    Form2 *dialog = OpenAddDialog();
    ASSERT_TRUE(WaitFocused(dialog));
    Fill(dialog, "20", "4", "18", "0.5");
    MainInFront();
    QTest::mouseClick(Button("Command3"), Qt::LeftButton);
    EXPECT_TRUE(WaitFocused(dialog)) << "the lamp dialog stays behind";
    EXPECT_EQ(window->LampDialog(), dialog);
    EXPECT_EQ(Edit(dialog, "Text1")->text(), QStringLiteral("20"));
    EXPECT_EQ(Edit(dialog, "Text4")->text(), QStringLiteral("0.5"));
    QTest::mouseClick(Button(dialog, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(WaitFocused(window.get()));
    EXPECT_EQ(CellsOf(List("ListView1")).size(), 2u);
}

}  // namespace
}  // namespace korval::test
