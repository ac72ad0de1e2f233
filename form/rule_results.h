// What the rules for how many components to keep were computed from, and what
// they gave: kept with the window's state, for the window and for a report.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "engine/impossible_inputs.h"
#include "retention/factor_rules.h"
#include "retention/rules.h"

namespace trolvane {

// The numbers the rules are computed from.
struct RuleNumbers {
    int p = 0;
    // The sample size; none where the box holds no number.
    std::optional<double> n;
    double detR = 0;
    // The known eigenvalues, the largest first: every one while the boxes
    // still hold what Use wrote, else the typed rows up to the first without
    // a number.
    std::vector<double> eigenvalues;
    // R, p x p row after row, from the data; empty for typed numbers.
    std::vector<double> correlations;
    bool fromData = false;
    // Where R holds polychoric correlations: the ordered categories that
    // parallel analysis permutes.
    std::shared_ptr<const OrdinalData> categories;
    // Why the main window calls these numbers impossible, if it does.
    std::optional<ImpossibleCause> impossible;
    friend bool operator==(const RuleNumbers&, const RuleNumbers&) = default;
};

// Every rule's count, and the numbers behind the table.
struct RuleResults {
    RuleNumbers numbers;
    RandomDataSettings settings;
    // None without a sample size larger than p, with more random numbers
    // than a computation keeps, or where drawing them failed.
    std::optional<RandomEigenvalues> random;
    // Whether drawing the random data failed, as running out of memory would.
    bool randomFailed = false;
    // None without R.
    std::optional<AveragePartials> partials;
    std::optional<Count> parallelAnalysis;
    std::optional<int> mapSquared;
    std::optional<int> mapFourthPower;
    std::optional<int> optimalCoordinates;
    std::optional<int> accelerationFactor;
    Count kaiser;
    // None where the numbers allow no test.
    std::optional<Count> bartlett;

    // The factor rules. The eigenvalues of R with its squared multiple
    // correlations on the diagonal: empty without R.
    std::vector<double> reducedEigenvalues;
    // The maximum-likelihood fits for k = 0 up to the largest k with positive
    // df: empty without R, a sample size larger than p, with more variables
    // than the models are fitted for, or where a fit failed.
    std::vector<FactorFit> factorFits;
    std::optional<Count> factorParallelAnalysis;
    std::optional<Count> empiricalKaiser;
    std::optional<SequentialCounts> sequentialTests;
    // The Hull method's points for k = 0 to J, and the k it keeps.
    std::vector<HullPoint> hullPoints;
    std::optional<int> hull;
};

}  // namespace trolvane
