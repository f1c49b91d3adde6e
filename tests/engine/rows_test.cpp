#include <gtest/gtest.h>

#include "engine/catalogue.h"
#include "engine/rows.h"
#include "tests/cos_phi.h"

namespace korval {
namespace {

const std::string kEuro = " \xE2\x82\xAC";

State Fresh(Language language = Language::Italian)
{
    State state;
    state.Language = language;
    CreateCatalogues(state);
    return state;
}

ListRow Model(const char *hours, const char *code, const char *power, const char *n, const char *price,
              const char *total)
{
    return {hours, {code, power, n, price + kEuro, total + kEuro}};
}

ListRow Blank()
{
    return {" ", {}};
}

ListRow Total(const char *label, const char *amount)
{
    return {" ", {"", "", "", label, amount + kEuro}};
}

TEST(CalculationRows, one_row_per_model_then_blank_and_total)
{
    struct Case {
        Language language;
        RequiredPower power;
        std::vector<ListRow> rows;
    };
    const Case cases[] = {
        {Language::Italian,
         {860, 0},
         {Model("1 ora", "QX10011", "1000 W", "1", "12000", "12000"), Blank(), Total("Costo totale:", "12000")}},
        {Language::English,
         {860, 0},
         {Model("1 hour", "QX10011", "1000 W", "1", "12000", "12000"), Blank(), Total("Total price:", "12000")}},
        {Language::Italian,
         {4000, 4000},
         {Model("1 ora", "QX10011", "1000 W", "1", "12000", "12000"),
          Model("1 ora", "QX10015", "3000 W", "1", "16000", "16000"),
          Model("3 ore", "QX10014", "2000 W", "2", "19000", "38000"), Blank(), Total("Costo totale:", "66000")}},
        {Language::Italian,
         {100000, 0},
         {Model("1 ora", "QX10011", "1000 W", "1", "12000", "12000"),
          Model("1 ora", "QX10015", "3000 W", "33", "16000", "528000"), Blank(),
          Total("Costo totale:", "540000")}},
        {Language::English,
         {0, 2000},
         {Model("3 hours", "QX10014", "2000 W", "1", "19000", "19000"), Blank(), Total("Total price:", "19000")}},
        {Language::Italian, {0, 0}, {Blank(), Total("Costo totale:", "0")}},
    };
    for (const Case &c : cases) {
        State state = Fresh(c.language);
        const CalculationRows result = CalculateRows(state, c.power, {});
        EXPECT_EQ(result.Rows, c.rows) << c.power.OneHour << "/" << c.power.ThreeHours;
        EXPECT_TRUE(result.Finished);
    }
}

TEST(CalculationRows, classes_without_power_are_not_searched)
{
    State state = Fresh();
    const CalculationRows result = CalculateRows(state, {0, 860}, {});
    EXPECT_EQ(result.OneHour, ClassOutcome::NotSearched);
    EXPECT_EQ(result.ThreeHours, ClassOutcome::Found);
    EXPECT_EQ(state.BestCost, 16000) << "the last search describes the 3-hour class";
}

TEST(CalculationRows, too_difficult_classes_get_no_rows)
{
    Catalogue tiny(4);
    for (std::size_t m = 1; m <= 3; ++m)
        tiny[m] = {static_cast<std::int32_t>(100 * m), static_cast<std::int32_t>(1000 * m),
                   "T" + std::to_string(m), ""};
    std::vector<std::string> shown;
    const Notify notify = [&](const std::string &text, MessageIcon) { shown.push_back(text); };

    // 1 hour too difficult: the run goes on and totals the 3-hour rows only.
    State state = Fresh();
    state.Catalogue1h = tiny;
    CalculationRows result = CalculateRows(state, {5000, 2000}, notify);
    EXPECT_EQ(result.OneHour, ClassOutcome::TooDifficult);
    EXPECT_TRUE(result.Finished);
    EXPECT_EQ(result.Rows,
              (std::vector<ListRow>{Model("3 ore", "QX10014", "2000 W", "1", "19000", "19000"), Blank(),
                                    Total("Costo totale:", "19000")}));
    EXPECT_EQ(shown, std::vector<std::string>{"Calcolo per 1 ora troppo difficile..."});

    // 3 hours too difficult: the run stops after the 1-hour rows.
    shown.clear();
    state = Fresh(Language::English);
    state.Catalogue3h = tiny;
    result = CalculateRows(state, {860, 5000}, notify);
    EXPECT_FALSE(result.Finished);
    EXPECT_EQ(result.Rows, (std::vector<ListRow>{Model("1 hour", "QX10011", "1000 W", "1", "12000", "12000")}));
    EXPECT_EQ(shown, std::vector<std::string>{"3 hours calculation too difficult..."});
}

TEST(CalculationRows, largest_project_totals_beyond_32_bits)
{
    State state = Fresh();
    for (int i = 0; i < kMaxLampRows; ++i)
        AppendRow(state, {1000, 10, 100, 1.0, 3, kFerromagnetic});
    const CalculationRows result = CalculateRows(state, ComputeRequiredPower(state, {}), {});
    ASSERT_EQ(result.Rows.size(), 4u);
    EXPECT_EQ(result.Rows[0], Model("3 ore", "QX10014", "2000 W", "2", "19000", "38000"));
    EXPECT_EQ(result.Rows[1], Model("3 ore", "QX10016", "3000 W", "95832", "25000", "2395800000"));
    EXPECT_EQ(result.TotalCost, 2395838000LL);
    EXPECT_EQ(result.Rows[3], Total("Costo totale:", "2395838000"));
}

TEST(LampList, rows_show_the_table_in_the_current_language)
{
    const LampRecord row{10, 2, 36, test::kCosPhi09, 1, kElectronic};
    EXPECT_EQ(LampListRow(row, Language::Italian, '.'),
              (ListRow{"10", {"2", "36", "0.9", "Elettronico", "1 ora"}}));
    const LampRecord other{12, 2, 58, 0.8500000238418579, 3, kFerromagnetic};
    EXPECT_EQ(LampListRow(other, Language::English, ','),
              (ListRow{"12", {"2", "58", "0,85", "Iron magnetic", "3 hours"}}));
    const LampRecord odd{1, 1, 1, 1.0, 2, 5};
    EXPECT_EQ(LampListRow(odd, Language::English, '.'), (ListRow{"1", {"1", "1", "1", "", "?"}}));
}

TEST(PriceList, six_models_one_hour_first)
{
    const State state = Fresh(Language::English);
    const std::vector<ListRow> rows = PriceListRows(state);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(
        rows[0],
        (ListRow{"QX10011",
                 {"1 hour", "1000 W", "12000" + kEuro, "UPS Orvane Monophase/Monophase, Weight 91 Kg, 1 piece"}}));
    EXPECT_EQ(rows[3].Text, "QX10012");
    EXPECT_EQ(rows[3].SubItems[0], "3 hours");
    EXPECT_EQ(rows[5].SubItems[2], "25000" + kEuro);
}

}  // namespace
}  // namespace korval
