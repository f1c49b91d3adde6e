#pragma once

#include "engine/state.h"

namespace korval {

struct RequiredPower {
    std::int64_t OneHour = 0;     // W, multiple of 10
    std::int64_t ThreeHours = 0;  // W, multiple of 10
};

// Single-precision factors: the rounding of some rows depends on their exact
// float values (150 W electronic gives 161, not 160).
constexpr float kElectronicFactor = 1.07f;
constexpr float kFerromagneticFactor = 1.15f;

// A row's power is held within this bound whatever a caller stored, so that
// the sums of 250 rows cannot overflow.
constexpr std::int64_t kRowPowerBound = 1000000000000000;  // W

// Power of one row, before the class sum is raised to a multiple of 10.
std::int64_t RowPower(const LampRecord &row, float ballastFactor);

// Sums the rows of each autonomy class and raises each sum to a multiple of 10.
// A row with an unknown ballast is reported (in Italian, always) and counted
// with factor 1.
RequiredPower ComputeRequiredPower(const State &state, const Notify &notify);

}  // namespace korval
