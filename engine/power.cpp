#include "power.h"

#include "numbers.h"

namespace korval {

std::int64_t RowPower(const LampRecord &row, float ballastFactor)
{
    // 64-bit so that a corrupt row cannot overflow; admissible rows stay far
    // below 2^24 and convert to float exactly.
    const std::int64_t product =
        static_cast<std::int64_t>(row.LampsPerFitting) * row.Fittings * row.WattsPerLamp;
    const float watts = static_cast<float>(product);
    const double withBallast = static_cast<double>(watts) * static_cast<double>(ballastFactor);
    return RoundHalfEven(withBallast / row.CosPhi);
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
    for (int slot = 1; slot <= state.LampCount; ++slot) {
        const LampRecord &row = state.LampTable[static_cast<std::size_t>(slot)];
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
