#include "tests/support/fixture.h"
#include "tests/support/pointer.h"

#include <chrono>

#include "tests/cos_phi.h"

namespace korval::test {
namespace {

using std::chrono::milliseconds;

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
    ASSERT_TRUE(QTest::qWaitFor([this] { return !LampDialogShown(); }));
    EXPECT_EQ(CellsOf(List("ListView1")).size(), 1u);
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("860 W"));

    // "Elenco UPS" for a price list behind the main window.
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    ASSERT_TRUE(WaitFocused(PriceListShown()));
    QPointer<Form3> prices = PriceListShown();
    MainInFront();
    QTest::mouseClick(Button("Command1"), Qt::LeftButton);
    EXPECT_TRUE(WaitFocused(prices)) << "the price list stays behind";
    EXPECT_EQ(PriceListShown(), prices.data());
    prices->close();
    ASSERT_TRUE(WaitFocused(window.get()));

    // "Aggiungi Lampade" for a lamp dialog behind it, with typed fields.
    Form2 *dialog = OpenAddDialog();
    ASSERT_TRUE(WaitFocused(dialog));
    Fill(dialog, "20", "4", "18", "0.5");
    MainInFront();
    QTest::mouseClick(Button("Command3"), Qt::LeftButton);
    EXPECT_TRUE(WaitFocused(dialog)) << "the lamp dialog stays behind";
    EXPECT_EQ(LampDialogShown(), dialog);
    EXPECT_EQ(Edit(dialog, "Text1")->text(), QStringLiteral("20"));
    EXPECT_EQ(Edit(dialog, "Text4")->text(), QStringLiteral("0.5"));
    QTest::mouseClick(Button(dialog, "Command1"), Qt::LeftButton);
    ASSERT_TRUE(WaitFocused(window.get()));
    EXPECT_EQ(CellsOf(List("ListView1")).size(), 2u);
}

TEST_F(Wayland, a_click_on_the_inactive_main_window_lands)
{
    const QString display = qEnvironmentVariable("KORVAL_TEST_X_DISPLAY");
    const QString desktop = qEnvironmentVariable("KORVAL_TEST_X_WINDOW");
    ASSERT_FALSE(display.isEmpty() || desktop.isEmpty())
        << "needs the pointer of the compositor's X server: run through under_compositor.sh";
    Pointer pointer(display, desktop);
    ASSERT_TRUE(pointer.Locate(window.get())) << "the main window is not at the desktop's middle";
    Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}});
    QPushButton *prices = Button("Command1");
    QPushButton *add = Button("Command3");
    // The first row, in its last, middle and first columns.
    ListView *lamps = List("ListView1");
    std::vector<QPoint> firstRow;
    for (const int c : {5, 2, 0})
        firstRow.push_back(
            lamps->viewport()->mapTo(lamps, lamps->visualRect(lamps->model()->index(0, c)).center()));
    const auto priceList = [this] { return PriceListShown(); };
    const auto lampDialog = [this] { return LampDialogShown(); };

    // Each click on the main window while another window of the program is
    // active: held as a person holds it, and at once, as a quick hand or a
    // touchpad's tap gives it.
    for (const milliseconds hold : {milliseconds(300), milliseconds(0)}) {
        SCOPED_TRACE(hold.count() ? "held" : "at once");
        ASSERT_TRUE(pointer.Click(prices, Pointer::Spots(prices), hold));
        ASSERT_TRUE(pointer.FocusedSinceClick(priceList));
        ASSERT_TRUE(pointer.Click(prices, Pointer::Spots(prices), hold));
        EXPECT_TRUE(pointer.FocusedSinceClick(priceList)) << "Elenco UPS, the price list active";
        ASSERT_TRUE(pointer.Click(add, Pointer::Spots(add), hold));
        EXPECT_TRUE(pointer.FocusedSinceClick(lampDialog)) << "Aggiungi Lampade, the price list active";
        ASSERT_TRUE(pointer.Click(add, Pointer::Spots(add), hold));
        EXPECT_TRUE(pointer.FocusedSinceClick(lampDialog)) << "Aggiungi Lampade, the lamp dialog active";
        if (lampDialog())
            lampDialog()->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !lampDialog(); }));

        ASSERT_TRUE(pointer.Click(prices, Pointer::Spots(prices), hold));
        ASSERT_TRUE(pointer.FocusedSinceClick(priceList));
        ASSERT_TRUE(pointer.Click(lamps, firstRow, hold));
        EXPECT_TRUE(pointer.FocusedSinceClick(lampDialog)) << "a lamp row, the price list active";
        EXPECT_FALSE(lamps->isEnabled()) << "the row click was not taken";
        for (QWidget *open : {static_cast<QWidget *>(lampDialog()), static_cast<QWidget *>(priceList())})
            if (open)
                open->close();
        ASSERT_TRUE(WaitFocused(window.get()));
    }
}

}  // namespace
}  // namespace korval::test
