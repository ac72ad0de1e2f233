// The engine's cost: one row's statistic and caption, and the whole computation
// behind a ten-row Test click.
#include <benchmark/benchmark.h>

#include <array>

#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/significance.h"

namespace {

using namespace trolvane;

// Eleven variables, so that all ten rows are tested.
constexpr double kVariables = 11;
constexpr double kSampleSize = 200;
constexpr double kDeterminant = 0.002;
constexpr std::array<double, 10> kEigenvalues = {3.1, 1.9, 1.4,  1.1,  0.9,
                                                 0.7, 0.6, 0.45, 0.35, 0.3};

void ComponentTestAndSignificance(benchmark::State& state) {
    RowTotals totals;
    totals.add(kEigenvalues[0]);
    for (auto _ : state) {
        const ComponentResult result =
            ComponentTest(kVariables, kSampleSize, kDeterminant, 1, totals);
        benchmark::DoNotOptimize(Significance(result.chisq, result.df));
    }
}
BENCHMARK(ComponentTestAndSignificance);

void TenRowTestComputation(benchmark::State& state) {
    for (auto _ : state) {
        RowTotals totals;
        for (int k = 1; k <= 10; ++k) {
            totals.add(kEigenvalues[k - 1]);
            const ComponentResult result =
                ComponentTest(kVariables, kSampleSize, kDeterminant, k, totals);
            benchmark::DoNotOptimize(Significance(result.chisq, result.df));
            benchmark::DoNotOptimize(ExactPText(result.chisq, result.df));
        }
    }
}
BENCHMARK(TenRowTestComputation);

}  // namespace

BENCHMARK_MAIN();
