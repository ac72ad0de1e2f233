// Maximum-likelihood factor analysis of a correlation matrix, and the test of
// each number of common factors that the factor rules count from.
#pragma once

#include <vector>

namespace trolvane {

// The uniquenesses are fitted within [kSmallestUniqueness, 1].
constexpr double kSmallestUniqueness = 0.005;

// The fit of k common factors.
struct FactorFit {
    int factors = 0;
    // Per variable; all 1 for k = 0.
    std::vector<double> uniquenesses;
    // The lowest F(Psi) = sum over j > k of (e_j - ln e_j - 1), e_j the
    // eigenvalues of Psi^(-1/2) R Psi^(-1/2), the largest first; -ln det R for
    // k = 0.
    double objective = 0;
    // ((p - k)^2 - p - k) / 2.
    double df = 0;
    // (n - 1 - (2p + 5) / 6 - 2k / 3) F, and its exact upper-tail p on df
    // (NaN where df <= 0).
    double chiSquare = 0;
    double p = 1;
    // False where the minimiser stopped on its step limit or in a line search
    // with the projected gradient still large.
    bool converged = true;
    // A uniqueness ended at kSmallestUniqueness (a Heywood case).
    bool atBound = false;
};

// The degrees of freedom of k factors of p variables.
double FactorDf(int p, int k);

// Fits k >= 0 factors to R (p x p, row after row, positive definite) from n
// cases: from (1 - k / (2p)) / diag(R^-1), from `previous` (the k - 1 fit's
// uniquenesses, or empty), from a spread start and, where the lowest F so far
// has a uniqueness at its bound, from a few more; the lowest F is kept.
// Raises RunError unless R is positive definite and 0 <= k < p.
FactorFit FitFactors(int p, double n, const std::vector<double>& correlations, int k,
                     const std::vector<double>& previous = {});

// The fits of k = 0, 1, ... up to `largest`, or while the df stay positive,
// each also started from the one before; none where p < 2.
std::vector<FactorFit> FitFactorModels(int p, double n, const std::vector<double>& correlations,
                                       int largest);

}  // namespace trolvane
