#include <benchmark/benchmark.h>

#include "engine/catalogue.h"
#include "engine/power.h"
#include "engine/rows.h"
#include "tests/cos_phi.h"

namespace {

// The largest project the lamp dialog admits: 250 rows of 1000 x 10 x 100 W,
// cos phi 1, ferromagnetic, split over both classes or all in one.
korval::State LargestProject(bool splitClasses)
{
    korval::State state;
    korval::CreateCatalogues(state);
    for (int i = 0; i < korval::kMaxLampRows; ++i) {
        const std::uint8_t hours = splitClasses && i % 2 == 0 ? 1 : 3;
        korval::AppendRow(state, {1000, 10, 100, 1.0, hours, korval::kFerromagnetic});
    }
    return state;
}

void RunWholeCalculation(benchmark::State &bench, bool splitClasses)
{
    korval::State state = LargestProject(splitClasses);
    for (auto _ : bench) {
        const korval::RequiredPower power = korval::ComputeRequiredPower(state, {});
        korval::CalculationRows rows = korval::CalculateRows(state, power, {});
        benchmark::DoNotOptimize(rows);
    }
}

void BM_LargestTableBothClasses(benchmark::State &bench)
{
    RunWholeCalculation(bench, true);
}

void BM_LargestTableOneClass(benchmark::State &bench)
{
    RunWholeCalculation(bench, false);
}

void BM_SmallProject(benchmark::State &bench)
{
    korval::State state;
    korval::CreateCatalogues(state);
    korval::AppendRow(state, {10, 2, 36, korval::test::kCosPhi09, 1, korval::kElectronic});
    korval::AppendRow(state, {20, 4, 18, 0.5, 3, korval::kFerromagnetic});
    for (auto _ : bench) {
        const korval::RequiredPower power = korval::ComputeRequiredPower(state, {});
        korval::CalculationRows rows = korval::CalculateRows(state, power, {});
        benchmark::DoNotOptimize(rows);
    }
}

}  // namespace

BENCHMARK(BM_LargestTableBothClasses)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestTableOneClass)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SmallProject)->Unit(benchmark::kMicrosecond);
