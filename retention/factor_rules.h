// How many common factors to keep: parallel analysis of factors' reduced
// eigenvalues, the empirical Kaiser criterion, the sequential tests of the
// maximum-likelihood factor models and the Hull method, each from what it needs.
#pragma once

#include <vector>

#include "retention/factor_analysis.h"
#include "retention/rules.h"

namespace trolvane {

// 1 - 1 / (R^-1)_ii per variable, from R (p x p, row after row, positive
// definite). Raises RunError where R is not.
std::vector<double> SquaredMultipleCorrelations(int p, const std::vector<double>& correlations);

// The eigenvalues of R with its squared multiple correlations on the diagonal,
// the largest first. Parallel analysis of factors counts them with
// AboveRandom against RandomEigenvalues::reducedPercentile.
std::vector<double> ReducedEigenvalues(int p, const std::vector<double>& correlations);

// The empirical Kaiser criterion's reference for each known eigenvalue:
// max(1, (p - the eigenvalues before j summed) / (p - j + 1) x (1 + sqrt(p / n))^2).
std::vector<double> EmpiricalKaiserReferences(const std::vector<double>& eigenvalues, int p,
                                              double n);

// The leading eigenvalues above their reference; atLeast where every known
// one is and the next is unknown (the last of all never is: its reference is
// above it).
Count EmpiricalKaiser(const std::vector<double>& eigenvalues, int p, double n);

// The lower end of RMSEA's 90 % confidence interval: sqrt(lambda / (df (n - 1))),
// lambda the noncentrality whose chi-square distribution puts chisq at its
// 95th percentile, 0 where the central one puts it below (or chisq <= 0).
double RmseaLowerBound(double chiSquare, double df, double n);

// What the sequential tests of the models for k = 0, 1, ... keep: by chi-square
// the first k whose p is .05 or more, by RMSEA the first whose lower bound is
// below .05, by AIC the k with the smallest chi-square - 2 df (the first where
// tied). Where the fits end before a test keeps: more than the last k, as
// keep = last k + 1, atLeast.
struct SequentialCounts {
    Count chiSquare;
    Count rmsea;
    Count aic;
};
// `fits` are k = 0, 1, ... in order, from FitFactorModels; RunError if none.
SequentialCounts SequentialTests(const std::vector<FactorFit>& fits, double n);

// The Hull method needs this many variables.
constexpr int kHullFewestVariables = 6;

// A model in the Hull method: its df and comparative fit index.
struct HullPoint {
    int factors = 0;
    double df = 0;
    double cfi = 0;
    friend bool operator==(const HullPoint&, const HullPoint&) = default;
};

// The points for k = 0 to J, J = parallel analysis of factors' count + 1, at
// least 3 and at most the last of `fits` (RunError if none): CFI_k = 1 - max(chi^2_k - df_k, 0) /
// max(chi^2_0 - df_0, chi^2_k - df_k, 0), 1 where both are 0.
std::vector<HullPoint> HullPoints(const std::vector<FactorFit>& fits, int parallelAnalysisKeeps);

// The points on the hull, in order of k: first without any whose CFI is below
// that of a point with more df, then repeatedly without an interior point on
// or below the line through its neighbours.
std::vector<HullPoint> UpperHull(const std::vector<HullPoint>& points);

// The hull's interior point with the largest scree test value st_k (the first
// where tied; infinite where the fit no longer rises after k), or with fewer
// than three points, the one with the highest CFI.
int HullKeeps(const std::vector<HullPoint>& hull);

}  // namespace trolvane
