// One calculation of a project, run ten times, for an instruction count
// (bench/instructions.sh): the largest project over both classes ("s"), all
// in one class ("o"), or the small two-row project ("p").
#include <cstdio>

#include "engine/catalogue.h"
#include "engine/power.h"
#include "engine/rows.h"
#include "tests/cos_phi.h"

__attribute__((noinline)) std::size_t RunOnce(korval::State &state)
{
    const korval::RequiredPower power = korval::ComputeRequiredPower(state, {});
    const korval::CalculationRows rows = korval::CalculateRows(state, power, {});
    return rows.Rows.size() + state.BestCombination.size();
}

int main(int argc, char **argv)
{
    const char project = argc > 1 ? argv[1][0] : 's';
    korval::State state;
    korval::CreateCatalogues(state);
    if (project == 'p') {
        korval::AppendRow(state, {10, 2, 36, korval::test::kCosPhi09, 1, korval::kElectronic});
        korval::AppendRow(state, {20, 4, 18, 0.5, 3, korval::kFerromagnetic});
    } else {
        for (int i = 0; i < korval::kMaxLampRows; ++i) {
            const std::uint8_t hours = project == 's' && i % 2 == 0 ? 1 : 3;
            korval::AppendRow(state, {1000, 10, 100, 1.0, hours, korval::kFerromagnetic});
        }
    }
    std::size_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += RunOnce(state);
    std::printf("%zu\n", sum);
}
