#include "engine/power.h"

namespace korval {
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
