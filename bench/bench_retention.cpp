// The rules for how many components to keep: parallel analysis of 1000 random
// data sets at the sizes users bring, and the minimum average partial; then
// bfi's maximum-likelihood factor models for k = 1 to 8, and the factor rules
// together with its parallel analysis. The browser edition's build times the
// same cases under Node.js, one a run: `bench_retention.js parallel P N RUNS`,
// `bench_retention.js partial P RUNS`, `bench_retention.js factors RUNS` or
// `bench_retention.js rules RUNS`.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#ifndef __EMSCRIPTEN__
#include <benchmark/benchmark.h>
#endif

#include "engine/run_error.h"
#include "retention/factor_rules.h"
#include "retention/rules.h"
#include "tests/retention/r_data_sets.h"

namespace {

using namespace trolvane;

void ParallelAnalysisCase(int p, double n) {
    if (!ParallelAnalysis(p, n, {})) {
        throw RunError(ErrorKind::InvalidArgument);
    }
}

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

double PartialCase(int p, const std::vector<double>& r) {
    return MinimumAveragePartial(p, r).squared.front();
}

// psych's bfi: 25 items, 2436 complete cases, as the tests hold it.
const RDataSet& Bfi() {
    return kRDataSets[0];
}

double FactorModelsCase(const std::vector<double>& r) {
    return FitFactorModels(Bfi().p, Bfi().n, r, 8).back().objective;
}

// Parallel analysis with everything the factor rules add to it: the reduced
// eigenvalues, the empirical Kaiser criterion, every factor model with df left
// for the sequential tests, and the Hull method.
int FactorRulesCase(const std::vector<double>& r) {
    const RDataSet& bfi = Bfi();
    RandomDataSettings settings;
    settings.reduced = true;
    const std::optional<RandomEigenvalues> random = ParallelAnalysis(bfi.p, bfi.n, settings);
    if (!random) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    const Count factors = AboveRandom(ReducedEigenvalues(bfi.p, r), random->reducedPercentile);
    const std::vector<FactorFit> fits = FitFactorModels(bfi.p, bfi.n, r, bfi.p);
    return factors.keep + EmpiricalKaiser(bfi.eigenvalues, bfi.p, bfi.n).keep +
           SequentialTests(fits, bfi.n).chiSquare.keep +
           HullKeeps(UpperHull(HullPoints(fits, factors.keep)));
}

}  // namespace

#ifdef __EMSCRIPTEN__

// The seconds one run of a case takes.
template <typename Case>
double SecondsOf(const Case& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The median seconds of RUNS runs of the case the arguments name, after runs
// for half a second that let Node.js compile its code fully.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool parallel = args.size() == 4 && args[0] == "parallel";
    const bool partial = args.size() == 3 && args[0] == "partial";
    const bool bfi = args.size() == 2 && (args[0] == "factors" || args[0] == "rules");
    if (!parallel && !partial && !bfi) {
        std::fputs(
            "usage: bench_retention parallel P N RUNS | partial P RUNS | factors RUNS | "
            "rules RUNS\n",
            stderr);
        return 2;
    }
    const int p = bfi ? Bfi().p : std::stoi(args[1]);
    const std::vector<double> r = bfi ? Correlations(Bfi()) : FactorCorrelations(p);
    const auto run = [&] {
        if (parallel) {
            ParallelAnalysisCase(p, std::stod(args[2]));
        } else if (partial) {
            PartialCase(p, r);
        } else if (args[0] == "factors") {
            FactorModelsCase(r);
        } else {
            FactorRulesCase(r);
        }
    };
    for (double warming = 0; warming < 0.5;) {
        warming += SecondsOf(run);
    }
    std::vector<double> seconds;
    for (int i = std::stoi(args.back()); i > 0; --i) {
        seconds.push_back(SecondsOf(run));
    }
    std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
    std::printf("%.6f\n", seconds[seconds.size() / 2]);
}

#else

namespace {

void ParallelAnalysis1000Sets(benchmark::State& state) {
    const auto p = static_cast<int>(state.range(0));
    const auto n = static_cast<double>(state.range(1));
    for (auto _ : state) {
        ParallelAnalysisCase(p, n);
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

void MinimumAveragePartialOf(benchmark::State& state) {
    const auto p = static_cast<int>(state.range(0));
    const std::vector<double> r = FactorCorrelations(p);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PartialCase(p, r));
    }
}
BENCHMARK(MinimumAveragePartialOf)
    ->ArgName("p")
    ->Arg(100)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BfiFactorModels1To8(benchmark::State& state) {
    const std::vector<double> r = Correlations(Bfi());
    for (auto _ : state) {
        benchmark::DoNotOptimize(FactorModelsCase(r));
    }
}
BENCHMARK(BfiFactorModels1To8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BfiFactorRulesWithParallelAnalysis(benchmark::State& state) {
    const std::vector<double> r = Correlations(Bfi());
    for (auto _ : state) {
        benchmark::DoNotOptimize(FactorRulesCase(r));
    }
}
BENCHMARK(BfiFactorRulesWithParallelAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

#endif
