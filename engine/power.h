#pragma once

#include <algorithm>

#include "engine/numbers.h"
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
// Inline: each row of a project passes here on every calculation.
inline std::int64_t RowPower(const LampRecord &row, float ballastFactor)
{
    // The product of a storable row is below 2^27, exact in a double and in a
    // float; a row written past the checks must not overflow on its way.
    const double product = static_cast<double>(row.LampsPerFitting) * row.Fittings * row.WattsPerLamp;
    const float watts = static_cast<float>(product);
    const double withBallast = static_cast<double>(watts) * static_cast<double>(ballastFactor);
    return std::clamp(RoundHalfEven(withBallast / row.CosPhi), -kRowPowerBound, kRowPowerBound);
}

// Sums the rows of each autonomy class and raises each sum to a multiple of 10.
// A row with an unknown ballast is reported (in Italian, always) and counted
// with factor 1.
RequiredPower ComputeRequiredPower(const State &state, const Notify &notify);

}  // namespace korval
