#include "data_reading/polychoric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include <Eigen/Eigenvalues>
// Boost.Math in double precision throughout, Owen's T function's own calls of
// the error function included: promoted to long double they took a fifth of
// the time, and long double is not the same type in every edition.
#define BOOST_MATH_PROMOTE_DOUBLE_POLICY false
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/owens_t.hpp>

#include "engine/math_errors.h"

#include "data_reading/variables.h"

namespace trolvane {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double NormalCdf(double x) {
    return 0.5 * boost::math::erfc(-x / std::numbers::sqrt2);
}

double NormalQuantile(double p) {
    return -std::numbers::sqrt2 * boost::math::erfc_inv(2 * p);
}

// T(h, (k - rho h) / (h root)), Owen's T function as the bivariate normal
// probability needs it, where root = sqrt(1 - rho^2); at h = 0 its argument is
// infinite with k's sign, and T(0, +-infinity) = +-1/4.
double OwensTOf(double h, double k, double rho, double root) {
    if (h == 0) {
        return std::copysign(0.25, k);
    }
    return boost::math::owens_t(h, (k - rho * h) / (h * root));
}

// Phi2(h, k; rho), the probability below h and k of the standard bivariate
// normal with correlation rho, from Owen's T function:
// Phi(h) / 2 + Phi(k) / 2 - T(h, a_h) - T(k, a_k) - beta, where beta is 1/2
// when h and k lie on either side of 0 (or one is 0 and their sum negative).
double BivariateNormalCdf(double h, double k, double cdfH, double cdfK, double rho) {
    if (rho == 0) {
        return cdfH * cdfK;
    }
    if (h == 0 && k == 0) {
        return 0.25 + std::asin(rho) / (2 * std::numbers::pi);
    }
    const double root = std::sqrt(1 - rho * rho);
    const double beta = h * k < 0 || (h * k == 0 && h + k < 0) ? 0.5 : 0;
    return 0.5 * (cdfH + cdfK) - OwensTOf(h, k, rho, root) - OwensTOf(k, h, rho, root) - beta;
}

// A variable's thresholds with -infinity and +infinity at either end, and the
// standard normal's distribution function there.
struct Cuts {
    int categories = 0;
    std::array<double, kMostCategories + 1> tau{};
    std::array<double, kMostCategories + 1> cdf{};
};

Cuts CutsOf(const std::vector<double>& thresholds) {
    Cuts cuts;
    cuts.categories = static_cast<int>(thresholds.size()) + 1;
    cuts.tau[0] = -kInfinity;
    cuts.cdf[0] = 0;
    for (std::size_t i = 0; i < thresholds.size(); ++i) {
        cuts.tau[i + 1] = thresholds[i];
        cuts.cdf[i + 1] = NormalCdf(thresholds[i]);
    }
    cuts.tau[thresholds.size() + 1] = kInfinity;
    cuts.cdf[thresholds.size() + 1] = 1;
    return cuts;
}

// Thresholds from counts per category: the normal quantiles of the
// cumulative proportions, the last (all cases) left out.
std::vector<double> ThresholdsOf(const std::vector<long long>& counts) {
    long long total = 0;
    for (const long long count : counts) {
        total += count;
    }
    std::vector<double> thresholds;
    long long below = 0;
    for (std::size_t i = 0; i + 1 < counts.size(); ++i) {
        below += counts[i];
        thresholds.push_back(
            NormalQuantile(static_cast<double>(below) / static_cast<double>(total)));
    }
    return thresholds;
}

// The log-likelihood sum n_ab log pi_ab(rho) of a pair's contingency table and
// its first three derivatives in rho; `valid` is false where a cell with cases
// has no probability left, which happens only next to -1 or 1.
struct Slopes {
    double first = 0;
    double second = 0;
    double third = 0;
    bool valid = true;
};

class PairLikelihood {
  public:
    // counts: rows.categories x columns.categories, row after row.
    PairLikelihood(const Cuts& rows, const Cuts& columns, const int* counts)
        : rows_(rows), columns_(columns), counts_(counts) {}

    Slopes At(double rho);

  private:
    static constexpr int kSide = kMostCategories + 1;

    // Phi2 and its first three derivatives in rho at every corner of the
    // cells: the bivariate normal density and its first two derivatives.
    void Corners(double rho);

    const Cuts& rows_;
    const Cuts& columns_;
    const int* counts_;
    std::array<double, kSide * kSide> cdf_{};
    std::array<double, kSide * kSide> density_{};
    std::array<double, kSide * kSide> slope_{};
    std::array<double, kSide * kSide> curve_{};
};

// With u = 1 - rho^2 and Q = h^2 - 2 rho h k + k^2, the density is
// exp(-Q / 2u) / (2 pi sqrt(u)); its derivative in rho is density times g,
// g = (rho + hk) / u - rho Q / u^2, and its second derivative density times
// (g^2 + g').
void PairLikelihood::Corners(double rho) {
    const int r = rows_.categories;
    const int s = columns_.categories;
    const double u = 1 - rho * rho;
    const double scale = 1 / (2 * std::numbers::pi * std::sqrt(u));
    for (int i = 0; i <= r; ++i) {
        for (int j = 0; j <= s; ++j) {
            const int at = i * kSide + j;
            const double h = rows_.tau[static_cast<std::size_t>(i)];
            const double k = columns_.tau[static_cast<std::size_t>(j)];
            const double cdfH = rows_.cdf[static_cast<std::size_t>(i)];
            const double cdfK = columns_.cdf[static_cast<std::size_t>(j)];
            if (i == 0 || j == 0 || i == r || j == s) {
                // On the infinite edges Phi2 is a margin's, or 0, and the density 0.
                cdf_[at] = cdfH * cdfK;
                density_[at] = slope_[at] = curve_[at] = 0;
                continue;
            }
            const double hk = h * k;
            const double q = h * h - 2 * rho * hk + k * k;
            const double density = scale * std::exp(-q / (2 * u));
            const double g = (rho + hk) / u - rho * q / (u * u);
            const double gSlope = 1 / u + 2 * rho * (rho + hk) / (u * u) - q / (u * u) +
                                  2 * rho * hk / (u * u) - 4 * rho * rho * q / (u * u * u);
            cdf_[at] = BivariateNormalCdf(h, k, cdfH, cdfK, rho);
            density_[at] = density;
            slope_[at] = density * g;
            curve_[at] = density * (g * g + gSlope);
        }
    }
}

// A cell's pi and its derivatives are the rectangle's corners, + - - +.
Slopes PairLikelihood::At(double rho) {
    Corners(rho);
    const int r = rows_.categories;
    const int s = columns_.categories;
    const auto cell = [](const std::array<double, kSide * kSide>& corner, int at) {
        return corner[at + kSide + 1] - corner[at + 1] - corner[at + kSide] + corner[at];
    };
    Slopes slopes;
    for (int a = 0; a < r; ++a) {
        for (int b = 0; b < s; ++b) {
            const int count = counts_[a * s + b];
            if (count == 0) {
                continue;
            }
            const int at = a * kSide + b;
            const double pi = cell(cdf_, at);
            if (!(pi > 0)) {
                slopes.valid = false;
                return slopes;
            }
            const double d1 = cell(density_, at) / pi;
            const double d2 = cell(slope_, at) / pi;
            const double d3 = cell(curve_, at) / pi;
            slopes.first += count * d1;
            slopes.second += count * (d2 - d1 * d1);
            slopes.third += count * (d3 - 3 * d2 * d1 + 2 * d1 * d1 * d1);
        }
    }
    return slopes;
}

// Halley's step on the derivative, Newton's where Halley's would stretch it
// more than twice or reverse it.
double StepOf(const Slopes& slopes) {
    const double newton = -slopes.first / slopes.second;
    const double stretch = 1 - slopes.first * slopes.third / (2 * slopes.second * slopes.second);
    return stretch >= 0.5 ? newton / stretch : newton;
}

// A step this small leaves rho within about 1e-11 of the maximum, for Halley's
// steps converge cubically there: on thousands of tables of every size the
// steps taken on from it to 1e-15 changed rho by 2e-12 at most.
bool Converged(double step, double rho) {
    return std::fabs(step) <= 1e-4 * (1 - rho * rho);
}

// The rho in [-kBoundaryCorrelation, kBoundaryCorrelation] that maximises the
// likelihood: Halley's steps from 0, kept inside the interval where the
// derivative changes sign, halving it where a step would leave it. A bound is
// tried where a step points past it, or where steps keep their way without
// shrinking fast, as they do on the flat likelihood of a table with no
// maximum inside; the likelihood still rising at a bound has no maximum inside.
PairCorrelation MaximumLikelihood(PairLikelihood& likelihood) {
    constexpr int kMostSteps = 100;
    double low = -kBoundaryCorrelation;
    double high = kBoundaryCorrelation;
    bool lowTried = false;
    bool highTried = false;
    double rho = 0;
    double previous = 0;
    for (int step = 0; step < kMostSteps && high - low > 1e-13; ++step) {
        const Slopes slopes = likelihood.At(rho);
        const bool rising = slopes.valid ? slopes.first > 0 : rho < 0;
        const bool atBound = std::fabs(rho) == kBoundaryCorrelation;
        if (slopes.valid && atBound && (rho > 0 ? slopes.first >= 0 : slopes.first <= 0)) {
            return {rho, false};
        }
        (rising ? low : high) = rho;
        double change = std::numeric_limits<double>::quiet_NaN();
        if (slopes.valid && slopes.second < 0) {
            change = StepOf(slopes);
            if (Converged(change, rho)) {
                return {std::clamp(rho + change, low, high), true};
            }
        }
        const bool crawling =
            change * previous > 0 && std::fabs(change) > 0.5 * std::fabs(previous);
        double next = rho + change;
        if (crawling || !(next > low && next < high)) {
            if (rising && high == kBoundaryCorrelation && !highTried) {
                highTried = true;
                next = high;
            } else if (!rising && low == -kBoundaryCorrelation && !lowTried) {
                lowTried = true;
                next = low;
            } else if (!(next > low && next < high)) {
                next = (rho + (rising ? high : low)) / 2;
            }
        }
        previous = change;
        rho = next;
    }
    return {(low + high) / 2, true};
}

// A pair's contingency table, row after row, into counts.
void CountTable(const std::uint8_t* x, const std::uint8_t* y, std::size_t cases, int columns,
                int* counts) {
    for (std::size_t t = 0; t < cases; ++t) {
        ++counts[x[t] * columns + y[t]];
    }
}

// A column's distinct values in order, where they are whole numbers and at
// most kMostCategories; none otherwise, as soon as one value shows it.
std::optional<std::vector<double>> CategoryValues(const double* column, std::size_t cases) {
    std::vector<double> values;
    for (std::size_t t = 0; t < cases; ++t) {
        const double value = column[t];
        if (value != std::trunc(value)) {
            return std::nullopt;
        }
        const auto at = std::lower_bound(values.begin(), values.end(), value);
        if (at == values.end() || *at != value) {
            if (values.size() == kMostCategories) {
                return std::nullopt;
            }
            values.insert(at, value);
        }
    }
    return values;
}

// Why a column is refused: "has 57" distinct values, or "holds 2.5".
std::string WhatRefusesColumn(const double* column, std::size_t cases,
                              const NumberFormat& userFormat) {
    std::vector<double> values(column, column + cases);
    std::sort(values.begin(), values.end());
    const auto distinct = std::unique(values.begin(), values.end()) - values.begin();
    if (distinct > kMostCategories) {
        return "has " + std::to_string(distinct);
    }
    const auto fractional = std::find_if(values.begin(), values.end(),
                                         [](double value) { return value != std::trunc(value); });
    return "holds " + NumberText(*fractional, userFormat);
}

}  // namespace

OrdinalData OrdinalCategories(const RawColumns& raw, const NumberFormat& userFormat) {
    return OrdinalCategories(raw.names, raw.cases, raw.values.data(), userFormat);
}

OrdinalData OrdinalCategories(const std::vector<std::string>& names, std::size_t cases,
                              const double* values, const NumberFormat& userFormat) {
    OrdinalData data;
    data.cases = cases;
    data.codes.resize(names.size() * cases);
    for (std::size_t v = 0; v < names.size(); ++v) {
        const double* column = values + v * cases;
        const std::optional<std::vector<double>> categories = CategoryValues(column, cases);
        if (!categories) {
            throw DataRefusal("Polychoric correlations need whole numbers with at most " +
                              std::to_string(kMostCategories) + " categories: " + names[v] + " " +
                              WhatRefusesColumn(column, cases, userFormat) + ".");
        }
        std::vector<long long> counts(categories->size());
        std::uint8_t* codes = data.codes.data() + v * cases;
        for (std::size_t t = 0; t < cases; ++t) {
            const auto code = std::lower_bound(categories->begin(), categories->end(), column[t]) -
                              categories->begin();
            codes[t] = static_cast<std::uint8_t>(code);
            ++counts[static_cast<std::size_t>(code)];
        }
        data.thresholds.push_back(ThresholdsOf(counts));
    }
    return data;
}

std::optional<int> MostCategories(const RawColumns& raw) {
    std::size_t most = 0;
    for (std::size_t v = 0; v < raw.names.size(); ++v) {
        const std::optional<std::vector<double>> values =
            CategoryValues(raw.values.data() + v * raw.cases, raw.cases);
        if (!values || values->size() < 2) {
            return std::nullopt;
        }
        most = std::max(most, values->size());
    }
    return static_cast<int>(most);
}

int MostCategories(const OrdinalData& data) {
    std::size_t most = 0;
    for (const std::vector<double>& thresholds : data.thresholds) {
        most = std::max(most, thresholds.size() + 1);
    }
    return static_cast<int>(most);
}

PairCorrelation PolychoricOfTable(int rows, int columns, const std::vector<int>& counts) {
    std::vector<long long> rowCounts(static_cast<std::size_t>(rows));
    std::vector<long long> columnCounts(static_cast<std::size_t>(columns));
    for (int a = 0; a < rows; ++a) {
        for (int b = 0; b < columns; ++b) {
            const int count = counts[static_cast<std::size_t>(a * columns + b)];
            rowCounts[static_cast<std::size_t>(a)] += count;
            columnCounts[static_cast<std::size_t>(b)] += count;
        }
    }
    const Cuts rowCuts = CutsOf(ThresholdsOf(rowCounts));
    const Cuts columnCuts = CutsOf(ThresholdsOf(columnCounts));
    PairLikelihood likelihood(rowCuts, columnCuts, counts.data());
    return MaximumLikelihood(likelihood);
}

Polychoric PolychoricCorrelations(const OrdinalData& data) {
    const int p = data.count();
    std::vector<Cuts> cuts;
    for (const std::vector<double>& thresholds : data.thresholds) {
        cuts.push_back(CutsOf(thresholds));
    }
    Polychoric polychoric;
    std::vector<double>& r = polychoric.correlations;
    r.assign(static_cast<std::size_t>(p * p), 0.0);
    std::array<int, kMostCategories * kMostCategories> counts{};
    for (int i = 0; i < p; ++i) {
        r[static_cast<std::size_t>(i * p + i)] = 1;
        const std::uint8_t* x = data.codes.data() + static_cast<std::size_t>(i) * data.cases;
        for (int j = 0; j < i; ++j) {
            const std::uint8_t* y = data.codes.data() + static_cast<std::size_t>(j) * data.cases;
            const Cuts& rows = cuts[static_cast<std::size_t>(i)];
            const Cuts& columns = cuts[static_cast<std::size_t>(j)];
            counts.fill(0);
            CountTable(x, y, data.cases, columns.categories, counts.data());
            PairLikelihood likelihood(rows, columns, counts.data());
            const PairCorrelation pair = MaximumLikelihood(likelihood);
            r[static_cast<std::size_t>(i * p + j)] = r[static_cast<std::size_t>(j * p + i)] =
                pair.rho;
            polychoric.pairsOutside += pair.inside ? 0 : 1;
        }
    }
    polychoric.smallestBeforeSmoothing = SmoothIfNotPositiveDefinite(p, r);
    return polychoric;
}

std::optional<double> SmoothIfNotPositiveDefinite(int p, std::vector<double>& correlations) {
    using Matrix = Eigen::MatrixXd;
    Eigen::Map<Matrix> r(correlations.data(), p, p);
    Eigen::SelfAdjointEigenSolver<Matrix> solver(r, Eigen::EigenvaluesOnly);
    const double smallest = solver.eigenvalues()(0);
    if (smallest >= std::numeric_limits<double>::epsilon()) {
        return std::nullopt;
    }
    solver.compute(r);
    Eigen::VectorXd values = solver.eigenvalues();
    values = (values.array() < 1e-12).select(1e-10, values);
    values *= p / values.sum();
    const Matrix rebuilt =
        solver.eigenvectors() * values.asDiagonal() * solver.eigenvectors().transpose();
    const Eigen::VectorXd scale = rebuilt.diagonal().cwiseSqrt().cwiseInverse();
    r = scale.asDiagonal() * rebuilt * scale.asDiagonal();
    // Exactly symmetric, with a unit diagonal, as the summary reads R.
    r.triangularView<Eigen::StrictlyUpper>() = r.transpose();
    r.diagonal().setOnes();
    return smallest;
}

std::string OrdinalCategoriesLine(int mostCategories) {
    return "Every variable holds whole numbers with at most " + std::to_string(mostCategories) +
           " categories: polychoric correlations suit ordered categories (choose them under "
           "Correlations).";
}

std::string PairsOutsideLine(int pairs, const NumberFormat& userFormat) {
    return std::to_string(pairs) +
           (pairs == 1 ? " pair of variables has" : " pairs of variables have") +
           " no polychoric correlation inside (-1, 1): taken as " +
           NumberText(kBoundaryCorrelation, userFormat) + " or " +
           NumberText(-kBoundaryCorrelation, userFormat) + ".";
}

std::string SmoothedLine(double smallestEigenvalue, const NumberFormat& userFormat) {
    return "The polychoric correlations were not positive definite (smallest eigenvalue " +
           RoundedNumberText(smallestEigenvalue, 3, userFormat) + ") and were smoothed.";
}

}  // namespace trolvane
