#pragma once

#include <array>
#include <string>

#include "engine/state.h"

namespace korval {

enum class AutonomyClass { OneHour, ThreeHours };

// Above this many watts the model cheapest per watt is added unit by unit
// until no more than this remains. It keeps the exhaustive phase within nine
// units: 20000 W is less than nine of the largest built-in models (27000 W).
constexpr std::int64_t kBulkThreshold = 20000;  // W

// The longest sequence the exhaustive phase tries: 3 + 9 + ... + 3^9 = 29523
// sequences at most, a few milliseconds.
constexpr int kExhaustiveUnitLimit = 9;

// More bulk units than this and the search declines: the combination text
// holds one character per unit. The largest project the lamp dialog can enter
// needs 95,827 bulk units in one class.
constexpr std::int64_t kMostBulkUnits = 1000000;

// Units of each model of one class; index 0 is unused.
struct UnitCounts {
    std::array<std::int64_t, kModelsPerClass + 1> Units{};
};

// Everything one search of one class found.
struct SearchResult {
    bool TooDifficult = false;
    UnitCounts Counts;        // every unit, bulk units included
    std::int64_t Cost = 0;    // price of the exhaustive phase's best sequence
    std::int64_t Power = 0;   // power of that sequence
    std::string Combination;  // that sequence (model numbers as character codes), then the bulk units
};

// The model cheapest per watt (float ratios, ties keep the lower number).
int ChooseBulkModel(const Catalogue &catalogue);

// Chooses the cheapest set of units of `catalogue` (models 1..3, ascending
// power) that covers requiredPower: bulk units of the cheapest-per-watt model
// down to kBulkThreshold, then every ordered sequence of up to nine units.
// Only a strictly cheaper sequence replaces the best one, so among equal
// prices the first sequence enumerated wins. When nine units cannot cover what
// the bulk phase leaves, the result is "too difficult" and its message goes to
// notify in `language`; so it is for a catalogue the search cannot use (fewer
// than three models, a model without power or with a negative price) and for a
// requirement that needs more than kMostBulkUnits bulk units.
SearchResult FindCheapestCombination(AutonomyClass cls, std::int64_t requiredPower, const Catalogue &catalogue,
                                     Language language, const Notify &notify);

}  // namespace korval
