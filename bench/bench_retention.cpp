// The rules for how many components to keep: parallel analysis of 1000 random
// data sets at the sizes users bring, and the minimum average partial. The
// browser edition's build times the same cases under Node.js, one a run:
// `bench_retention.js parallel P N RUNS` or `bench_retention.js partial P RUNS`.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#ifndef __EMSCRIPTEN__
#include <benchmark/benchmark.h>
#endif

#include "engine/run_error.h"
#include "retention/rules.h"

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
    if (!parallel && !(args.size() == 3 && args[0] == "partial")) {
        std::fputs("usage: bench_retention parallel P N RUNS | partial P RUNS\n", stderr);
        return 2;
    }
    const int p = std::stoi(args[1]);
    const std::vector<double> r = FactorCorrelations(p);
    const auto run = [&] {
        if (parallel) {
            ParallelAnalysisCase(p, std::stod(args[2]));
        } else {
            PartialCase(p, r);
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

}  // namespace

BENCHMARK_MAIN();

#endif
