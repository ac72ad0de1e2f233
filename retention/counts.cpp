#include <algorithm>
#include <span>

#include "data_reading/summary.h"
#include "engine/checked.h"
#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/impossible_inputs.h"
#include "engine/run_error.h"
#include "retention/rules.h"

namespace trolvane {
namespace {

constexpr double kSignificance = 0.05;

// Eigenvalue i, counting from 1 as the formulas do.
double Lambda(const std::vector<double>& eigenvalues, int i) {
    return eigenvalues[static_cast<std::size_t>(i - 1)];
}

bool AboveItsPercentile(const std::vector<double>& eigenvalues,
                        const std::vector<double>& percentile, int i) {
    return Lambda(eigenvalues, i) > Lambda(percentile, i);
}

// Where the line through (i + 1, lambda_(i+1)) and (p, lambda_p) puts lambda_i.
double PredictedByTheLineAfter(const std::vector<double>& eigenvalues, int i) {
    const int p = static_cast<int>(eigenvalues.size());
    const double next = Lambda(eigenvalues, i + 1);
    return next + (next - Lambda(eigenvalues, p)) / (p - i - 1);
}

double Acceleration(const std::vector<double>& eigenvalues, int j) {
    return Lambda(eigenvalues, j + 1) - 2 * Lambda(eigenvalues, j) + Lambda(eigenvalues, j - 1);
}

// The exact p of Bartlett's test after k components.
double BartlettP(int p, double n, double detR, std::span<const double> kept) {
    if (kept.empty()) {
        return SphericityTest(p, n, checked::Log(detR)).p;
    }
    RowTotals totals;
    for (const double eigenvalue : kept) {
        totals.add(eigenvalue);
    }
    const ComponentResult test = ComponentTest(p, n, detR, static_cast<int>(kept.size()), totals);
    return ChiSquareUpperTail(test.chisq, test.df);
}

}  // namespace

Count AboveRandom(const std::vector<double>& eigenvalues, const std::vector<double>& percentile) {
    const int known = static_cast<int>(std::min(eigenvalues.size(), percentile.size()));
    int keep = 0;
    while (keep < known && AboveItsPercentile(eigenvalues, percentile, keep + 1)) {
        ++keep;
    }
    return {keep, keep == known && eigenvalues.size() < percentile.size()};
}

int SmallestAverage(const std::vector<double>& averages) {
    return static_cast<int>(std::min_element(averages.begin(), averages.end()) - averages.begin());
}

int OptimalCoordinates(const std::vector<double>& eigenvalues,
                       const std::vector<double>& percentile) {
    const int p = static_cast<int>(eigenvalues.size());
    int keep = 0;
    for (int i = 1; i <= p - 2; ++i) {
        if (!(Lambda(eigenvalues, i) >= PredictedByTheLineAfter(eigenvalues, i) &&
              AboveItsPercentile(eigenvalues, percentile, i))) {
            break;
        }
        keep = i;
    }
    return keep;
}

int AccelerationFactor(const std::vector<double>& eigenvalues,
                       const std::vector<double>& percentile) {
    const int p = static_cast<int>(eigenvalues.size());
    int keep = 0;
    double largest = 0;
    for (int j = 2; j <= p - 1; ++j) {
        if (AboveItsPercentile(eigenvalues, percentile, j - 1) &&
            (keep == 0 || Acceleration(eigenvalues, j) > largest)) {
            largest = Acceleration(eigenvalues, j);
            keep = j - 1;
        }
    }
    return keep;
}

Count Kaiser(const std::vector<double>& eigenvalues, int p) {
    const auto above = std::find_if(eigenvalues.begin(), eigenvalues.end(),
                                    [](double eigenvalue) { return !(eigenvalue > 1); });
    const int keep = static_cast<int>(above - eigenvalues.begin());
    return {keep, above == eigenvalues.end() && keep < p - 1};
}

Count BartlettCount(int p, double n, double detR, const std::vector<double>& eigenvalues) {
    const int known = static_cast<int>(eigenvalues.size());
    const std::span<const double> all(eigenvalues);
    for (int k = 0; k <= p - 2; ++k) {
        const bool testable =
            k <= known &&
            !FindImpossibleInput(p, n, detR, all.first(static_cast<std::size_t>(k)), std::nullopt);
        if (!testable) {
            if (k == 0) {
                throw RunError(ErrorKind::InvalidArgument);
            }
            return {k, true};
        }
        if (checked::Finite(BartlettP(p, n, detR, all.first(static_cast<std::size_t>(k)))) >=
            kSignificance) {
            return {k, false};
        }
    }
    return {std::max(p - 1, 0), false};
}

}  // namespace trolvane
