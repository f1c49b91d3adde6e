#include "engine/power.h"

#include <algorithm>

#include "engine/numbers.h"

namespace korval {

std::int64_t RowPower(const LampRecord &row, float ballastFactor)
{
    // The product of a storable row is below 2^27, exact in a double and in a
    // float; a row written past the checks must not overflow on its way.
    const double product = static_cast<double>(row.LampsPerFitting) * row.Fittings * row.WattsPerLamp;
    const float watts = static_cast<float>(product);
    const double withBallast = static_cast<double>(watts) * static_cast<double>(ballastFactor);
    return std::clamp(RoundHalfEven(withBallast / row.CosPhi), -kRowPowerBound, kRowPowerBound);
}

namespace {

std::int64_t RaiseToTens(std::int64_t watts)
{
    const std::int64_t remainder = ((watts % 10) + 10) % 10;
    return remainder == 0 ? watts : watts + (10 - remainder);
}

}  // namespace

RequiredPower ComputeRequiredPower(const State &state, const Notify &notify)
{
    RequiredPower sums;
    for (const LampRecord &row : ReadRows(state)) {
        float factor = 1.0f;
        if (row.Ballast == kElectronic) {
            factor = kElectronicFactor;
        } else if (row.Ballast == kFerromagnetic) {
            factor = kFerromagneticFactor;
        } else if (notify) {
            notify("Errore case elettronico/ferromagnetico", MessageIcon::Error);
        }
        const std::int64_t watts = RowPower(row, factor);
        if (row.Autonomy == 1)
            sums.OneHour += watts;
        else
            sums.ThreeHours += watts;
    }
    sums.OneHour = RaiseToTens(sums.OneHour);
    sums.ThreeHours = RaiseToTens(sums.ThreeHours);
    return sums;
}

}  // namespace korval
