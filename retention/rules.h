// How many components to keep, by every recognised rule: parallel analysis,
// the minimum average partial, optimal coordinates, the acceleration factor,
// Kaiser's rule and Bartlett's test, each from the numbers it needs.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "data_reading/polychoric.h"

namespace trolvane {

// How the random data of parallel analysis are drawn and summarised.
struct RandomDataSettings {
    int sets = 1000;
    // The percentile compared against, from 50 to 99.
    double percentile = 95;
    std::uint64_t seed = 1;
    // How many threads draw the sets: 0 for one per core. The numbers are the
    // same on any number; the browser edition always draws on one.
    int threads = 0;
    // Whether each set's reduced eigenvalues are drawn too, for parallel
    // analysis of factors: twice the work and the memory.
    bool reduced = false;
};

// Per component, the largest first: the mean and the percentile of the
// eigenvalues of the random data sets' correlation matrices, and of their
// reduced correlation matrices (each set's squared multiple correlations on
// the diagonal), which parallel analysis of factors compares against; those
// are empty unless the settings ask for them.
struct RandomEigenvalues {
    std::vector<double> mean;
    std::vector<double> percentile;
    std::vector<double> reducedMean;
    std::vector<double> reducedPercentile;
};

// Where a long computation is: the window reads it for its progress, and sets
// `cancelled` to stop it.
struct Progress {
    std::atomic<int> setsDone{0};
    // The factor models fitted so far, where the random data are followed by
    // them.
    std::atomic<int> modelsFitted{0};
    std::atomic<bool> cancelled{false};
};

// Horn's parallel analysis: the eigenvalues of `sets` correlation matrices of
// n cases of p independent standard normal variables, drawn as Wishart
// matrices on n - 1 df by Bartlett's decomposition, each set from its own
// generator seeded from the seed and the set's number. None when cancelled.
// Raises RunError unless n > p >= 1 and sets >= 1.
std::optional<RandomEigenvalues> ParallelAnalysis(int p, double n,
                                                  const RandomDataSettings& settings,
                                                  Progress* progress = nullptr);

// The same on ordered categories: each set permutes every variable's
// categories among the cases, independently, and is summarised by its
// polychoric correlations (PermutedSet).
std::optional<RandomEigenvalues> ParallelAnalysis(const OrdinalData& categories,
                                                  const RandomDataSettings& settings,
                                                  Progress* progress = nullptr);

// The same random data drawn a few sets at a time on the caller's thread, for
// the browser edition, whose page paints and takes input between the slices.
class RandomDataInSlices {
  public:
    // Raises RunError unless n > p >= 1 and sets >= 1.
    RandomDataInSlices(int p, double n, const RandomDataSettings& settings);
    // Permuted sets of the categories, which the slices keep.
    RandomDataInSlices(std::shared_ptr<const OrdinalData> categories,
                       const RandomDataSettings& settings);
    ~RandomDataInSlices();

    // Draws up to `sets` more sets; true once every set is drawn.
    bool Draw(int sets);
    int setsDone() const { return setsDone_; }
    // The means and percentiles, once every set is drawn: the same numbers
    // ParallelAnalysis gives.
    RandomEigenvalues Summary() const;

  private:
    struct Workspace;
    RandomDataSettings settings_;
    int setsDone_ = 0;
    std::unique_ptr<Workspace> workspace_;
};

// Velicer's minimum average partial, from R (p x p, row after row): after m =
// 0, 1, ..., p - 2 principal components are partialled out, the average of
// the squared and of the fourth-power partial correlations over all pairs;
// element m of each is the average after m components. R must be positive
// definite, as the data dialog's matrices are.
struct AveragePartials {
    std::vector<double> squared;
    std::vector<double> fourthPower;
};
AveragePartials MinimumAveragePartial(int p, const std::vector<double>& correlations);

// How many components a rule keeps. `atLeast` where the known eigenvalues end
// before the rule stopped counting: it would keep `keep` or more (Kaiser's
// "at least 10", Bartlett's "more than 10" as keep 11).
struct Count {
    int keep = 0;
    bool atLeast = false;
    friend bool operator==(const Count&, const Count&) = default;
};

// The leading eigenvalues above their random percentile; counting stops at the
// first that is not.
Count AboveRandom(const std::vector<double>& eigenvalues, const std::vector<double>& percentile);

// The m with the smallest average; 0 allowed; the first where tied.
int SmallestAverage(const std::vector<double>& averages);

// Optimal coordinates and the acceleration factor (Raiche et al. 2013), from
// every eigenvalue of R and the random percentiles, p of each.
int OptimalCoordinates(const std::vector<double>& eigenvalues,
                       const std::vector<double>& percentile);
int AccelerationFactor(const std::vector<double>& eigenvalues,
                       const std::vector<double>& percentile);

// Kaiser's rule: the eigenvalues above 1; atLeast where every known one is
// and two or more are unknown (the p eigenvalues add up to p, so the last is
// below 1 when all the others are above).
Count Kaiser(const std::vector<double>& eigenvalues, int p);

// Bartlett's tests in sequence: k = 0 is the sphericity test, k >= 1 the
// window's test after k components with its exact p; keep = the first k whose
// p is .05 or more, p - 1 when every test up to k = p - 2 has p < .05 (k = p - 1
// has no df). Where the known eigenvalues end, or the window would call row k
// impossible, before a test keeps: keep = that k, atLeast. Raises RunError
// where the numbers allow no test at all, or a test fails on its arithmetic.
Count BartlettCount(int p, double n, double detR, const std::vector<double>& eigenvalues);

}  // namespace trolvane
