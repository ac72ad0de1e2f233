// The rules for how many components to keep: parallel analysis of 1000 random
// data sets at the sizes users bring, and the minimum average partial.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "retention/rules.h"

namespace {

using namespace trolvane;

void ParallelAnalysis1000Sets(benchmark::State& state) {
    const auto p = static_cast<int>(state.range(0));
    const auto n = static_cast<double>(state.range(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParallelAnalysis(p, n, {}));
    }
}
// The sizes users bring, n = 100 as n = 101 for 100 variables, the fewest cases
// the rule allows.
void SizesUsersBring(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"p", "n"});
    for (const int p : {25, 50, 100}) {
        for (const int n : {100, 2436, 1'000'000}) {
            benchmark->Args({p, std::max(n, p + 1)});
        }
    }
}
BENCHMARK(ParallelAnalysis1000Sets)
    ->Apply(SizesUsersBring)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Variables loading on five factors, 0.4 to 0.8, and a little on the others.
std::vector<double> FactorCorrelations(int p) {
    std::vector<double> r(static_cast<std::size_t>(p * p));
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            const double loadings = (0.4 + 0.1 * (i % 5)) * (0.4 + 0.1 * (j % 5));
            r[static_cast<std::size_t>(i * p + j)] =
                i == j ? 1 : loadings * (i % 5 == j % 5 ? 1 : 0.05);
        }
    }
    return r;
}

void MinimumAveragePartialOf(benchmark::State& state) {
    const auto p = static_cast<int>(state.range(0));
    const std::vector<double> r = FactorCorrelations(p);
    for (auto _ : state) {
        benchmark::DoNotOptimize(MinimumAveragePartial(p, r));
    }
}
BENCHMARK(MinimumAveragePartialOf)
    ->ArgName("p")
    ->Arg(100)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
