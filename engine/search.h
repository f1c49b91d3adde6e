#pragma once

#include <array>
#include <optional>

#include "state.h"

namespace korval {

enum class AutonomyClass { OneHour, ThreeHours };

constexpr std::int64_t kBulkThreshold = 20000;  // W
constexpr int kExhaustiveUnitLimit = 9;

// Units of each model of one class; index 0 is unused.
struct UnitCounts {
    std::array<std::int64_t, 4> Units{};
};

// The model cheapest per watt (float ratios, ties keep the lower number).
int ChooseBulkModel(const Catalogue &catalogue);

// Chooses the cheapest set of units of `catalogue` (models 1..3, ascending power)
// that covers requiredPower: bulk units of the cheapest-per-watt model down to
// 20000 W, then every ordered sequence of up to nine units. Only a strictly
// cheaper sequence replaces the best one, so among equal prices the first
// sequence enumerated wins. Returns no counts when nine units cannot cover what
// the bulk phase leaves ("too difficult", reported through notify).
// The caller resets BestCost and BestCombination beforehand.
std::optional<UnitCounts> FindCheapestCombination(State &state, AutonomyClass cls,
                                                  std::int64_t requiredPower,
                                                  const Catalogue &catalogue, const Notify &notify);

}  // namespace korval
