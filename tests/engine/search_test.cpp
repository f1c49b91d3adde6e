#include <gtest/gtest.h>

#include <algorithm>

#include "engine/catalogue.h"
#include "engine/search.h"

namespace korval {
namespace {

const State &BuiltIn()
{
    static const State state = [] {
        State s;
        CreateCatalogues(s);
        return s;
    }();
    return state;
}

const Catalogue &OneHour()
{
    return BuiltIn().Catalogue1h;
}

const Catalogue &ThreeHours()
{
    return BuiltIn().Catalogue3h;
}

SearchResult Search(std::int64_t watts, const Catalogue &catalogue, AutonomyClass cls = AutonomyClass::OneHour)
{
    return FindCheapestCombination(cls, watts, catalogue, Language::Italian, {});
}

Catalogue Models(std::array<std::pair<int, int>, 3> powerAndPrice)
{
    Catalogue catalogue(4);
    for (std::size_t m = 1; m <= 3; ++m) {
        catalogue[m].Power = powerAndPrice[m - 1].first;
        catalogue[m].Price = powerAndPrice[m - 1].second;
    }
    return catalogue;
}

std::int64_t Cost(const UnitCounts &counts, const Catalogue &catalogue)
{
    std::int64_t cost = 0;
    for (std::size_t m = 1; m <= 3; ++m)
        cost += counts.Units[m] * catalogue[m].Price;
    return cost;
}

TEST(CombinationSearch, reproduces_the_reference_results)
{
    struct Case {
        AutonomyClass cls;
        std::int64_t watts;
        std::array<std::int64_t, 3> units;
        std::int64_t price;
    };
    const Case cases[] = {
        {AutonomyClass::OneHour, 10, {1, 0, 0}, 12000},
        {AutonomyClass::OneHour, 1000, {1, 0, 0}, 12000},
        {AutonomyClass::OneHour, 1010, {0, 1, 0}, 14000},
        {AutonomyClass::OneHour, 2010, {0, 0, 1}, 16000},
        {AutonomyClass::OneHour, 4000, {1, 0, 1}, 28000},
        {AutonomyClass::OneHour, 7000, {1, 0, 2}, 44000},
        {AutonomyClass::OneHour, 20000, {0, 1, 6}, 110000},
        {AutonomyClass::OneHour, 20010, {0, 0, 7}, 112000},
        {AutonomyClass::OneHour, 100000, {1, 0, 33}, 540000},
        {AutonomyClass::ThreeHours, 2000, {0, 1, 0}, 19000},
        {AutonomyClass::ThreeHours, 4000, {0, 2, 0}, 38000},
        {AutonomyClass::ThreeHours, 7000, {0, 2, 1}, 63000},
        {AutonomyClass::ThreeHours, 20000, {0, 1, 6}, 169000},
        {AutonomyClass::ThreeHours, 20010, {0, 0, 7}, 175000},
    };
    for (const Case &c : cases) {
        const Catalogue &catalogue = c.cls == AutonomyClass::OneHour ? OneHour() : ThreeHours();
        const SearchResult found = Search(c.watts, catalogue, c.cls);
        ASSERT_FALSE(found.TooDifficult) << c.watts;
        EXPECT_EQ(found.Counts.Units[1], c.units[0]) << c.watts;
        EXPECT_EQ(found.Counts.Units[2], c.units[1]) << c.watts;
        EXPECT_EQ(found.Counts.Units[3], c.units[2]) << c.watts;
        EXPECT_EQ(Cost(found.Counts, catalogue), c.price) << c.watts;
    }
}

TEST(CombinationSearch, returns_the_sequence_its_cost_and_power_then_the_bulk_units)
{
    // Cost and power are those of the exhaustive phase's sequence; only a
    // bulk phase that stops at 20000 W exactly leaves these sequences.
    struct Case {
        std::int64_t watts;
        std::string combination;
        std::int64_t cost, power;
    };
    const Case cases[] = {
        {4000, "\x01\x03", 28000, 4000},
        {20000, "\x02\x03\x03\x03\x03\x03\x03", 110000, 20000},
        {23000, "\x02" + std::string(7, '\x03'), 110000, 20000},
        {26000, "\x02" + std::string(8, '\x03'), 110000, 20000},
        {100000, "\x01" + std::string(33, '\x03'), 12000 + 6 * 16000, 19000},
    };
    for (const Case &c : cases) {
        const SearchResult found = Search(c.watts, OneHour());
        EXPECT_EQ(found.Combination, c.combination) << c.watts;
        EXPECT_EQ(found.Cost, c.cost) << c.watts;
        EXPECT_EQ(found.Power, c.power) << c.watts;
    }
}

TEST(CombinationSearch, bulk_model_is_the_cheapest_per_watt_ties_keep_the_lower_number)
{
    EXPECT_EQ(ChooseBulkModel(OneHour()), 3);
    EXPECT_EQ(ChooseBulkModel(ThreeHours()), 3);
    EXPECT_EQ(ChooseBulkModel(Models({{{1000, 5000}, {2000, 10000}, {3000, 15000}}})), 1);
    EXPECT_EQ(ChooseBulkModel(Models({{{1000, 6000}, {2000, 10000}, {3000, 15000}}})), 2);
}

TEST(CombinationSearch, too_difficult_when_nine_largest_units_cannot_cover_the_rest)
{
    struct Case {
        AutonomyClass cls;
        Language language;
        const char *text;
    };
    const Case cases[] = {
        {AutonomyClass::OneHour, Language::Italian, "Calcolo per 1 ora troppo difficile..."},
        {AutonomyClass::OneHour, Language::English, "1 hour calculation too difficult..."},
        {AutonomyClass::ThreeHours, Language::Italian, "Calcolo per 3 ore troppo difficile..."},
        {AutonomyClass::ThreeHours, Language::English, "3 hours calculation too difficult..."},
    };
    const Catalogue small = Models({{{100, 1000}, {200, 1500}, {300, 2000}}});
    for (const Case &c : cases) {
        std::vector<std::pair<std::string, MessageIcon>> shown;
        const SearchResult found = FindCheapestCombination(
            c.cls, 2710, small, c.language,
            [&](const std::string &text, MessageIcon icon) { shown.emplace_back(text, icon); });
        EXPECT_TRUE(found.TooDifficult);
        EXPECT_EQ(found.Counts.Units, (UnitCounts{}.Units));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].first, c.text);
        EXPECT_EQ(shown[0].second, MessageIcon::None);
    }
    EXPECT_FALSE(Search(2700, small).TooDifficult) << "nine of the largest model cover exactly 2700 W";
}

// Independent reference: every multiset of at most nine units, cheapest first,
// then fewest units, then the lexicographically first ordering (its sorted form).
struct Reference {
    std::array<std::int64_t, 4> units{};
    std::int64_t cost = -1;
};

Reference BruteForce(std::int64_t watts, const Catalogue &catalogue)
{
    // Bulk units of the model with the lowest price per watt, until 20000 W remain.
    int bulk = 1;
    for (int m = 2; m <= 3; ++m) {
        const float ratio = static_cast<float>(catalogue[m].Price) / static_cast<float>(catalogue[m].Power);
        const float best = static_cast<float>(catalogue[bulk].Price) / static_cast<float>(catalogue[bulk].Power);
        if (ratio < best)
            bulk = m;
    }
    std::int64_t bulkUnits = 0;
    while (watts > 20000) {
        watts -= catalogue[bulk].Power;
        ++bulkUnits;
    }
    Reference best;
    std::string bestSorted;
    for (int a = 0; a <= 9; ++a) {
        for (int b = 0; a + b <= 9; ++b) {
            for (int c = 0; a + b + c <= 9; ++c) {
                if (a + b + c == 0)
                    continue;
                const std::int64_t power =
                    a * catalogue[1].Power + b * catalogue[2].Power + c * catalogue[3].Power;
                if (power < watts)
                    continue;
                const std::int64_t cost = a * catalogue[1].Price + b * catalogue[2].Price + c * catalogue[3].Price;
                const std::string sorted = std::string(a, '1') + std::string(b, '2') + std::string(c, '3');
                const bool better = best.cost < 0 || cost < best.cost
                    || (cost == best.cost
                        && (sorted.size() < bestSorted.size()
                            || (sorted.size() == bestSorted.size() && sorted < bestSorted)));
                if (better) {
                    best.cost = cost;
                    best.units = {0, a, b, c};
                    bestSorted = sorted;
                }
            }
        }
    }
    best.units[bulk] += bulkUnits;
    best.cost += bulkUnits * catalogue[bulk].Price;
    return best;
}

TEST(CombinationSearch, agrees_with_brute_force_for_every_power_up_to_20000)
{
    const Catalogue catalogues[] = {
        OneHour(),
        ThreeHours(),
        Models({{{1000, 12000}, {2000, 18000}, {3000, 24000}}}),  // many equal-price ties
        Models({{{700, 9000}, {1500, 13000}, {2600, 21000}}}),
    };
    for (const Catalogue &catalogue : catalogues) {
        for (std::int64_t watts = 10; watts <= 20000; watts += 10) {
            const SearchResult found = Search(watts, catalogue);
            ASSERT_FALSE(found.TooDifficult) << watts;
            const Reference expected = BruteForce(watts, catalogue);
            ASSERT_EQ(found.Counts.Units, expected.units) << watts << " W, model 3 price " << catalogue[3].Price;
            std::int64_t power = 0;
            for (std::size_t m = 1; m <= 3; ++m)
                power += found.Counts.Units[m] * catalogue[m].Power;
            ASSERT_GE(power, watts);
        }
    }
}

TEST(CombinationSearch, large_requirements_are_bulk_units_plus_the_search)
{
    for (std::int64_t watts : {20010LL, 57320LL, 287500000LL}) {
        const SearchResult found = Search(watts, ThreeHours(), AutonomyClass::ThreeHours);
        ASSERT_FALSE(found.TooDifficult);
        EXPECT_EQ(found.Counts.Units, BruteForce(watts, ThreeHours()).units) << watts;
    }
    // The largest admissible project: 95827 bulk units leave 19000 W.
    const SearchResult found = Search(287500000, ThreeHours(), AutonomyClass::ThreeHours);
    EXPECT_EQ(found.Counts.Units, (std::array<std::int64_t, 4>{0, 0, 2, 95827 + 5}));
    EXPECT_EQ(found.Combination.size(), 95827u + 7u);
}

}  // namespace
}  // namespace korval

namespace korval {
namespace {

TEST(CombinationSearch, declines_what_it_cannot_search_without_running_wild)
{
    Catalogue noPower = OneHour();
    noPower[2].Power = 0;
    const std::pair<std::int64_t, Catalogue> cases[] = {
        {9000000000000000000, OneHour()},  // more bulk units than any project
        {1000, Catalogue(2)},              // models missing
        {1000, noPower},
        {1000, Catalogue{}},
    };
    for (const auto &[watts, catalogue] : cases) {
        int messages = 0;
        const SearchResult found =
            FindCheapestCombination(AutonomyClass::ThreeHours, watts, catalogue, Language::English,
                                    [&](const std::string &, MessageIcon) { ++messages; });
        EXPECT_TRUE(found.TooDifficult) << watts;
        EXPECT_TRUE(found.Combination.empty());
        EXPECT_EQ(messages, 1);
    }
}

}  // namespace
}  // namespace korval
