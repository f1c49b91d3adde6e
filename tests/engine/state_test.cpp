#include <gtest/gtest.h>

#include <cmath>

#include "engine/catalogue.h"
#include "engine/state.h"

namespace korval {
namespace {

LampRecord Row(std::int32_t fittings)
{
    return {fittings, 2, 36, 0.9, 1, kElectronic};
}

State WithRows(std::initializer_list<std::int32_t> fittings)
{
    State state;
    for (std::int32_t f : fittings)
        AppendRow(state, Row(f));
    return state;
}

std::vector<std::int32_t> Fittings(const State &state)
{
    std::vector<std::int32_t> out;
    for (const LampRecord &row : ReadRows(state))
        out.push_back(row.Fittings);
    return out;
}

TEST(LampTable, starts_empty_with_the_start_values)
{
    const State state;
    EXPECT_EQ(state.LampCount, 0);
    EXPECT_EQ(state.EditIndex, 0);
    EXPECT_EQ(state.Language, Language::Italian);
    EXPECT_EQ(state.BestCost, 0);
    EXPECT_EQ(state.BestPower, 0);
    EXPECT_TRUE(state.BestCombination.empty());
    EXPECT_TRUE(state.Catalogue1h.empty());
    EXPECT_TRUE(state.Catalogue3h.empty());
}

TEST(LampTable, first_row_goes_to_slot_one_and_slot_zero_stays_untouched)
{
    const State state = WithRows({7});
    EXPECT_EQ(state.LampTable[1].Fittings, 7);
    EXPECT_EQ(state.LampTable[0], LampRecord{});
}

TEST(LampTable, delete_shifts_later_rows_up_and_keeps_a_stale_last_slot)
{
    struct Case {
        int k;
        std::vector<std::int32_t> rows;
        std::int32_t staleSlot3;
    };
    for (const Case &c : {Case{1, {2, 3}, 3}, Case{2, {1, 3}, 3}, Case{3, {1, 2}, 3}}) {
        State state = WithRows({1, 2, 3});
        DeleteRow(state, c.k);
        EXPECT_EQ(Fittings(state), c.rows) << "deleting row " << c.k;
        EXPECT_EQ(state.LampTable[3].Fittings, c.staleSlot3) << "deleting row " << c.k;
    }
}

TEST(LampTable, erase_all_keeps_slots_and_the_next_append_reuses_slot_one)
{
    State state = WithRows({1, 2, 3});
    EraseAll(state);
    EXPECT_EQ(state.LampCount, 0);
    EXPECT_EQ(state.LampTable[2].Fittings, 2);
    AppendRow(state, Row(9));
    EXPECT_EQ(Fittings(state), std::vector<std::int32_t>{9});
    EXPECT_EQ(state.LampTable[2].Fittings, 2);
}

TEST(LampTable, overwrite_changes_only_its_row)
{
    State state = WithRows({1, 2, 3});
    OverwriteRow(state, 2, Row(20));
    EXPECT_EQ(Fittings(state), (std::vector<std::int32_t>{1, 20, 3}));
}

TEST(LampTable, refuses_a_row_beyond_the_last_slot)
{
    State state;
    for (int i = 1; i <= kMaxLampRows; ++i)
        ASSERT_EQ(AppendRow(state, Row(i)), TableChange::Done);
    EXPECT_EQ(AppendRow(state, Row(999)), TableChange::TableFull);
    EXPECT_EQ(state.LampCount, kMaxLampRows);
    EXPECT_EQ(state.LampTable[kMaxLampRows].Fittings, kMaxLampRows);
}

TEST(LampTable, operations_on_missing_rows_change_nothing)
{
    State state = WithRows({1, 2});
    OverwriteRow(state, 3, Row(9));
    DeleteRow(state, 0);
    DeleteRow(state, 5);
    EXPECT_EQ(Fittings(state), (std::vector<std::int32_t>{1, 2}));
}

TEST(Catalogue, holds_the_six_models_and_switches_only_descriptions)
{
    State state;
    CreateCatalogues(state);
    ASSERT_EQ(state.Catalogue1h.size(), 4u);
    EXPECT_EQ(state.Catalogue1h[0].Power, 0);
    EXPECT_TRUE(state.Catalogue1h[0].Code.empty());

    struct Expected {
        const Catalogue &catalogue;
        std::size_t model;
        int power, price;
        const char *code, *italian, *english;
    };
    const Expected table[] = {
        {state.Catalogue1h, 1, 1000, 12000, "QX10011", "UPS Orvane Monofase/Monofase, Peso 91 kg",
         "UPS Orvane Monophase/Monophase, Weight 91 Kg, 1 piece"},
        {state.Catalogue1h, 2, 2000, 14000, "QX10013", "UPS Orvane Monofase/Monofase, Peso 43+130 kg",
         "UPS Orvane Monophase/Monophase, Weight 43+130 Kg, 1 piece"},
        {state.Catalogue1h, 3, 3000, 16000, "QX10015", "UPS Orvane Monofase-Trifase /Monofase, Peso 44+130 kg",
         "UPS Orvane Monophase/Monophase, Weight 44+130 Kg, 1 piece"},
        {state.Catalogue3h, 1, 1000, 16000, "QX10012", "UPS Orvane Monofase/Monofase, Peso 43+130 kg",
         "UPS Orvane Monophase/Monophase, Weight 43+130 Kg, 1 piece"},
        {state.Catalogue3h, 2, 2000, 19000, "QX10014", "UPS Orvane Monofase/Monofase, Peso 43+2x130 kg",
         "UPS Orvane Monophase/Monophase, Weight 43+2x130 Kg, 1 piece"},
        {state.Catalogue3h, 3, 3000, 25000, "QX10016", "UPS Orvane Monofase-Trifase/Monofase, Peso 44+3x130 kg",
         "UPS Orvane Monophase/Monophase, Weight 44+3x130 Kg, 1 piece"},
    };
    for (Language language : {Language::Italian, Language::English, Language::Italian, Language::English}) {
        state.Language = language;
        FillCatalogues(state);
        for (const Expected &e : table) {
            const UpsModel &m = e.catalogue[e.model];
            EXPECT_EQ(m.Power, e.power);
            EXPECT_EQ(m.Price, e.price);
            EXPECT_EQ(m.Code, e.code);
            EXPECT_EQ(m.Description, language == Language::Italian ? e.italian : e.english) << e.code;
        }
    }
    state.Language = static_cast<Language>(7);
    FillCatalogues(state);
    EXPECT_EQ(state.Catalogue3h[3].Description, "UPS Orvane Monophase/Monophase, Weight 44+3x130 Kg, 1 piece");
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST(LampTable, refuses_rows_the_dialog_could_not_store)
{
    const std::pair<LampRecord, TableChange> cases[] = {
        {{1, 1, 1, 1.0, 1, kElectronic}, TableChange::Done},
        {{1000, 100, 1000, static_cast<double>(0.1f), 3, kFerromagnetic}, TableChange::Done},
        {{1, 1, 1, 1.0, 9, 7}, TableChange::Done},  // unknown codes stay reachable
        {{0, 1, 1, 1.0, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1001, 1, 1, 1.0, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1, 101, 1, 1.0, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1, 1, -5, 1.0, 1, kElectronic}, TableChange::RowOutOfRange},
        {{2147483647, 2147483647, 1, 1.0, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1, 1, 1, 0.0, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1, 1, 1, 0.0999, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1, 1, 1, 1.0000001, 1, kElectronic}, TableChange::RowOutOfRange},
        {{1, 1, 1, std::nan(""), 1, kElectronic}, TableChange::RowOutOfRange},
    };
    for (const auto &[row, expected] : cases) {
        State state = WithRows({5});
        EXPECT_EQ(AppendRow(state, row), expected)
            << row.Fittings << "x" << row.LampsPerFitting << "x" << row.WattsPerLamp << " cos " << row.CosPhi;
        EXPECT_EQ(OverwriteRow(state, 1, row), expected);
        EXPECT_EQ(state.LampCount, expected == TableChange::Done ? 2 : 1);
        // A refused row leaves the table as it was (NaN never equals itself: compare fittings).
        EXPECT_EQ(state.LampTable[1].Fittings, expected == TableChange::Done ? row.Fittings : 5);
    }
}

TEST(LampTable, a_count_written_out_of_range_reads_as_its_bound)
{
    for (const auto &[count, rows] : {std::pair{std::int16_t{300}, 250}, std::pair{std::int16_t{-7}, 0}}) {
        State state;
        state.LampCount = count;
        EXPECT_EQ(RowCount(state), rows);
        EXPECT_EQ(ReadRows(state).size(), static_cast<std::size_t>(rows));
        EXPECT_EQ(DeleteRow(state, 1), rows ? TableChange::Done : TableChange::NoSuchRow);
        EXPECT_NE(AppendRow(state, Row(1)), TableChange::RowOutOfRange);
    }
}

}  // namespace
}  // namespace korval
