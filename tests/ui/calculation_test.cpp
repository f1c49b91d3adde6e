#include "tests/cos_phi.h"
#include "tests/support/fixture.h"

namespace korval::test {
namespace {

using Calculation = MainWindowTest;

const QString kEuro = QStringLiteral(" €");

std::vector<QString> Model(const char *hours, const char *code, const char *power, const char *n,
                           const char *price, const char *total)
{
    return {QString::fromUtf8(hours), QString::fromLatin1(code),          QString::fromLatin1(power),
            QString::fromLatin1(n),   QString::fromLatin1(price) + kEuro, QString::fromLatin1(total) + kEuro};
}

std::vector<QString> Blank()
{
    return {QStringLiteral(" "), {}, {}, {}, {}, {}};
}

std::vector<QString> Total(const char *label, const char *amount)
{
    return {QStringLiteral(" "), {}, {}, {}, QString::fromLatin1(label), QString::fromLatin1(amount) + kEuro};
}

// Rows whose class powers are 860, 4000 and 100000 W.
const LampRecord k860OneHour{10, 2, 36, kCosPhi09, 1, kElectronic};
const LampRecord k4000OneHour{10, 1, 373, 1.0, 1, kElectronic};
const LampRecord k4000ThreeHours{10, 1, 373, 1.0, 3, kElectronic};
const LampRecord k100000OneHour{563, 83, 2, 1.0, 1, kElectronic};

TEST_F(Calculation, lists_the_chosen_models_with_blank_and_total_rows)
{
    struct Case {
        int language;
        std::vector<LampRecord> lamps;
        const char *power1h, *power3h;
        Rows rows;
    };
    const Case cases[] = {
        {0,
         {k860OneHour},
         "860 W",
         "0 W",
         {Model("1 ora", "QX10011", "1000 W", "1", "12000", "12000"), Blank(), Total("Costo totale:", "12000")}},
        {1,
         {k860OneHour},
         "860 W",
         "0 W",
         {Model("1 hour", "QX10011", "1000 W", "1", "12000", "12000"), Blank(), Total("Total price:", "12000")}},
        {0,
         {k4000OneHour, k4000ThreeHours},
         "4000 W",
         "4000 W",
         {Model("1 ora", "QX10011", "1000 W", "1", "12000", "12000"),
          Model("1 ora", "QX10015", "3000 W", "1", "16000", "16000"),
          Model("3 ore", "QX10014", "2000 W", "2", "19000", "38000"), Blank(), Total("Costo totale:", "66000")}},
        {0,
         {k100000OneHour},
         "100000 W",
         "0 W",
         {Model("1 ora", "QX10011", "1000 W", "1", "12000", "12000"),
          Model("1 ora", "QX10015", "3000 W", "33", "16000", "528000"), Blank(),
          Total("Costo totale:", "540000")}},
        {1,
         {k4000ThreeHours},
         "0 W",
         "4000 W",
         {Model("3 hours", "QX10014", "2000 W", "2", "19000", "38000"), Blank(), Total("Total price:", "38000")}},
    };
    for (const Case &c : cases) {
        EraseAll(state);
        PickLanguage(c.language);
        for (const LampRecord &row : c.lamps)
            AppendRow(state, row);
        window->RefreshMainWindow();
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
        EXPECT_EQ(CellsOf(List("ListView2")), c.rows);
        EXPECT_EQ(Edit("Text1")->text(), QString::fromLatin1(c.power1h));
        EXPECT_EQ(Edit("Text2")->text(), QString::fromLatin1(c.power3h));
        for (QPushButton *b : {Button("Command2"), Button("Command3"), Button("Command4"), Button("Command5")})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), Button("Command2"));
        EXPECT_EQ(List("ListView2")->columnWidth(4), 0) << "prices stay hidden";
        EXPECT_EQ(List("ListView2")->columnWidth(5), 0);
    }
}

TEST_F(Calculation, a_new_run_replaces_every_row_of_the_last)
{
    Seed({k4000OneHour, k4000ThreeHours});
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    ASSERT_EQ(ModelOf(List("ListView2"))->rowCount(), 5);
    DeleteRow(state, 2);
    window->RefreshMainWindow();
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    EXPECT_EQ(ModelOf(List("ListView2"))->rowCount(), 4);
    EXPECT_EQ(CellsOf(List("ListView2")).back(), Total("Costo totale:", "28000"));
}

TEST_F(Calculation, the_keyboard_alone_reaches_a_result)
{
    Seed({k860OneHour});
    ASSERT_EQ(QApplication::focusWidget(), Button("Command5"));
    QTest::keyClick(Button("Command5"), Qt::Key_Space);
    EXPECT_EQ(ModelOf(List("ListView2"))->rowCount(), 3);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command2"));
}

TEST_F(Calculation, the_largest_project_totals_right)
{
    for (int i = 0; i < kMaxLampRows; ++i)
        AppendRow(state, {1000, 10, 100, 1.0, 3, kFerromagnetic});
    window->RefreshMainWindow();
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    EXPECT_EQ(Edit("Text2")->text(), QStringLiteral("287500000 W"));
    EXPECT_EQ(CellsOf(List("ListView2")),
              (Rows{Model("3 ore", "QX10014", "2000 W", "2", "19000", "38000"),
                    Model("3 ore", "QX10016", "3000 W", "95832", "25000", "2395800000"), Blank(),
                    Total("Costo totale:", "2395838000")}));
}

Catalogue Tiny()
{
    Catalogue tiny(4);
    for (std::size_t m = 1; m <= 3; ++m)
        tiny[m] = {static_cast<std::int32_t>(100 * m), static_cast<std::int32_t>(1000 * m), "T", ""};
    return tiny;
}

TEST_F(Calculation, a_too_difficult_one_hour_class_gets_no_rows)
{
    Seed({k4000OneHour, k4000ThreeHours});
    state.Catalogue1h = Tiny();
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    EXPECT_EQ(messages.shown,
              (std::vector<ScriptedMessages::Shown>{
                  {QStringLiteral("Calcolo per 1 ora troppo difficile..."), MessageIcon::None}}));
    EXPECT_EQ(CellsOf(List("ListView2")),
              (Rows{Model("3 ore", "QX10014", "2000 W", "2", "19000", "38000"), Blank(),
                    Total("Costo totale:", "38000")}));
    for (QPushButton *b : {Button("Command2"), Button("Command3"), Button("Command4"), Button("Command5")})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Button("Command2"));
}

TEST_F(Calculation, a_too_difficult_three_hour_class_stops_the_run)
{
    PickLanguage(1);
    Seed({k860OneHour, k4000ThreeHours});
    state.Catalogue3h = Tiny();
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    EXPECT_EQ(messages.shown,
              (std::vector<ScriptedMessages::Shown>{
                  {QStringLiteral("3 hours calculation too difficult..."), MessageIcon::None}}));
    EXPECT_EQ(CellsOf(List("ListView2")), (Rows{Model("1 hour", "QX10011", "1000 W", "1", "12000", "12000")}));
    EXPECT_TRUE(Button("Command5")->isEnabled());
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_FALSE(Button("Command4")->isEnabled());
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("860 W"));
    EXPECT_EQ(Edit("Text2")->text(), QStringLiteral("4000 W"));

    // With "Aggiungi Lampade" disabled, an empty refresh leaves the focus on the language box.
    for (int row : {2, 1}) {
        Form2 *d = OpenRow(row);
        ASSERT_TRUE(d);
        QTest::mouseClick(Button(d, "Command2"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !LampDialogShown(); }));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    EXPECT_EQ(state.LampCount, 0);
    EXPECT_EQ(QApplication::focusWidget(), Combo("Combo1"));
}

TEST_F(Calculation, an_unknown_ballast_is_reported_before_the_powers_show)
{
    Seed({});
    AppendRow(state, {1, 1, 100, 1.0, 1, 5});
    OpenAddDialog()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown.empty(); }));
    EXPECT_EQ(messages.shown,
              (std::vector<ScriptedMessages::Shown>{
                  {QStringLiteral("Errore case elettronico/ferromagnetico"), MessageIcon::Error}}));
    EXPECT_EQ(Edit("Text1")->text(), QStringLiteral("100 W"));
    EXPECT_EQ(CellsOf(List("ListView1"))[0][4], QString());
}

}  // namespace
}  // namespace korval::test
