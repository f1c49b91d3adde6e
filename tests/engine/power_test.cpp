#include <gtest/gtest.h>

#include <cmath>

#include "engine/power.h"

namespace korval {
namespace {

struct Line {
    std::int32_t fittings, lamps, watts;
    double cosPhi;
    std::uint8_t ballast, hours;
};

struct Messages {
    std::vector<std::pair<std::string, MessageIcon>> shown;
    Notify notify()
    {
        return [this](const std::string &text, MessageIcon icon) { shown.emplace_back(text, icon); };
    }
};

State Project(std::initializer_list<Line> lines)
{
    State state;
    for (const Line &l : lines)
        AppendRow(state, {l.fittings, l.lamps, l.watts, l.cosPhi, l.hours, l.ballast});
    return state;
}

TEST(RequiredPower, rows_use_the_single_precision_ballast_factors)
{
    const std::tuple<Line, std::int64_t> cases[] = {
        {{10, 2, 36, 0.9, kElectronic, 1}, 856},     {{1, 1, 150, 1.0, kElectronic, 1}, 161},
        {{1, 1, 100, 1.0, kFerromagnetic, 1}, 115},  {{1, 1, 30, 1.0, kFerromagnetic, 1}, 34},
        {{20, 4, 18, 0.5, kFerromagnetic, 1}, 3312}, {{20, 4, 18, 0.5, kElectronic, 1}, 3082},
        {{1, 1, 1, 1.0, kElectronic, 1}, 1},
    };
    for (const auto &[l, expected] : cases) {
        const float factor = l.ballast == kElectronic ? kElectronicFactor : kFerromagneticFactor;
        EXPECT_EQ(RowPower({l.fittings, l.lamps, l.watts, l.cosPhi, l.hours, l.ballast}, factor), expected)
            << l.fittings << "x" << l.lamps << "x" << l.watts;
    }
}

TEST(RequiredPower, each_class_sum_is_raised_to_a_multiple_of_ten)
{
    const std::tuple<State, std::int64_t, std::int64_t> cases[] = {
        {Project({}), 0, 0},
        {Project({{10, 2, 36, 0.9, kElectronic, 1}}), 860, 0},
        {Project({{20, 4, 18, 0.5, kFerromagnetic, 3}}), 0, 3320},
        {Project({{20, 4, 18, 0.5, kElectronic, 3}}), 0, 3090},
        {Project({{1, 1, 1, 1.0, kElectronic, 3}}), 0, 10},
        // 856 + 3 in one class is 859, raised once: rows are not rounded on their own
        {Project({{10, 2, 36, 0.9, kElectronic, 1}, {1, 1, 3, 1.0, kElectronic, 1}}), 860, 0},
        {Project({{10, 2, 36, 0.9, kElectronic, 1}, {1, 1, 3, 1.0, kElectronic, 3}}), 860, 10},
        {Project({{10, 1, 100, 1.0, kFerromagnetic, 1}}), 1150, 0},
    };
    for (const auto &[state, oneHour, threeHours] : cases) {
        const RequiredPower p = ComputeRequiredPower(state, {});
        EXPECT_EQ(p.OneHour, oneHour);
        EXPECT_EQ(p.ThreeHours, threeHours);
    }
}

TEST(RequiredPower, unknown_ballast_is_reported_in_italian_and_counted_plain)
{
    State state = Project({{1, 1, 105, 1.0, 2, 1}, {1, 1, 100, 1.0, 9, 3}, {1, 1, 100, 1.0, kElectronic, 3}});
    state.Language = Language::English;
    Messages messages;
    const RequiredPower p = ComputeRequiredPower(state, messages.notify());
    ASSERT_EQ(messages.shown.size(), 2u);
    for (const auto &[text, icon] : messages.shown) {
        EXPECT_EQ(text, "Errore case elettronico/ferromagnetico");
        EXPECT_EQ(icon, MessageIcon::Error);
    }
    EXPECT_EQ(p.OneHour, 110);
    EXPECT_EQ(p.ThreeHours, 210);  // 100 + 107
}

TEST(RequiredPower, whole_tables_depend_on_the_single_precision_factors)
{
    // With the decimal factors 1.07 and 1.15 every one of these class sums
    // would come out 10 W lower.
    const std::tuple<State, std::int64_t, std::int64_t> cases[] = {
        {Project({{1, 1, 150, 1.0, kElectronic, 1}}), 170, 0},
        {Project({{10, 1, 115, 1.0, kElectronic, 1}}), 1240, 0},
        {Project({{10, 1, 115, 1.0, kElectronic, 3}, {1, 1, 150, 1.0, kElectronic, 3}}), 0, 1400},
    };
    for (const auto &[state, oneHour, threeHours] : cases) {
        const RequiredPower p = ComputeRequiredPower(state, {});
        EXPECT_EQ(p.OneHour, oneHour);
        EXPECT_EQ(p.ThreeHours, threeHours);
    }
}

TEST(RequiredPower, every_row_whose_sum_tells_the_factors_apart_gets_the_float_one)
{
    // A sweep of one-row tables: where the exact single-precision factor and
    // its decimal value give different class sums, the table needs the former.
    const std::pair<std::uint8_t, double> factors[] = {{kElectronic, 1.0700000524520874},
                                                       {kFerromagnetic, 1.1499999761581421}};
    const auto raised = [](double watts) {
        const auto w = static_cast<std::int64_t>(std::nearbyint(watts));
        return (w + 9) / 10 * 10;
    };
    int telling = 0;
    for (const auto &[ballast, exact] : factors) {
        const double decimal = ballast == kElectronic ? 1.07 : 1.15;
        for (std::int32_t watts = 1; watts <= 1000; ++watts) {
            for (const double cosPhi : {1.0, 0.5}) {
                const double product = watts * 10.0;
                if (raised(product * exact / cosPhi) == raised(product * decimal / cosPhi))
                    continue;
                ++telling;
                const RequiredPower p = ComputeRequiredPower(Project({{10, 1, watts, cosPhi, ballast, 1}}), {});
                EXPECT_EQ(p.OneHour, raised(product * exact / cosPhi)) << watts << " W, ballast " << int(ballast);
            }
        }
    }
    EXPECT_GT(telling, 3) << "the sweep must reach rows that tell the factors apart";
}

TEST(RequiredPower, largest_admissible_table_stays_exact)
{
    State state;
    for (int i = 0; i < kMaxLampRows; ++i)
        AppendRow(state, {1000, 10, 100, 1.0, 3, kFerromagnetic});
    const RequiredPower p = ComputeRequiredPower(state, {});
    EXPECT_EQ(p.OneHour, 0);
    EXPECT_EQ(p.ThreeHours, 287500000);
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST(RequiredPower, rows_written_past_the_table_checks_stay_defined)
{
    // Stored straight into the table, as no table operation would.
    const LampRecord rows[] = {
        {10, 2, 36, 0.0, 1, kElectronic},                     // a division by zero
        {0, 0, 0, 0.0, 1, kElectronic},                       // zero by zero
        {2147483647, 2147483647, 1, 1.0, 3, kFerromagnetic},  // far past 64 bits of watts
        {2147483647, 2147483647, 2147483647, -1e-300, 3, 9},
    };
    State state;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        state.LampTable[i + 1] = rows[i];
    state.LampCount = static_cast<std::int16_t>(std::size(rows));
    const RequiredPower p = ComputeRequiredPower(state, {});
    EXPECT_EQ(p.OneHour % 10, 0);
    EXPECT_EQ(p.ThreeHours % 10, 0);
    EXPECT_LE(p.OneHour, 2 * kRowPowerBound);
    EXPECT_GE(p.ThreeHours, -2 * kRowPowerBound);
}

}  // namespace
}  // namespace korval
