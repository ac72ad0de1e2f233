#include "retention/factor_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <Eigen/Cholesky>
#include <Eigen/Eigenvalues>
#include <boost/math/distributions/non_central_chi_squared.hpp>

#include "engine/chi_square.h"
#include "engine/math_errors.h"
#include "engine/run_error.h"

namespace trolvane {
namespace {

// Boost.Math's noncentral chi-square in double throughout: computing in long
// double, its default, costs the browser edition software arithmetic and size.
using InDouble = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
using NonCentralChiSquared = boost::math::non_central_chi_squared_distribution<double, InDouble>;

constexpr double kSignificance = 0.05;
// RMSEA's "close fit", and the confidence of its interval.
constexpr double kCloseFit = 0.05;
constexpr double kRmseaConfidence = 0.90;

// The first k the test keeps, or more than the last k.
template <typename Keeps>
Count FirstKept(const std::vector<FactorFit>& fits, Keeps keeps) {
    const auto kept = std::find_if(fits.begin(), fits.end(), keeps);
    return kept == fits.end() ? Count{fits.back().factors + 1, true} : Count{kept->factors, false};
}

double Aic(const FactorFit& fit) {
    return fit.chiSquare - 2 * fit.df;
}

// How far the model's chi-square is above its df, if at all.
double Misfit(const FactorFit& fit) {
    return std::max(fit.chiSquare - fit.df, 0.0);
}

double ComparativeFitIndex(const FactorFit& fit, const FactorFit& noFactor) {
    const double worst = std::max(Misfit(noFactor), Misfit(fit));
    return worst == 0 ? 1 : 1 - Misfit(fit) / worst;
}

// Whether `point` lies on or below the line through its neighbours, in the
// plane of df (falling with k) and CFI.
bool OnOrBelowTheLine(const HullPoint& before, const HullPoint& point, const HullPoint& after) {
    return (point.cfi - before.cfi) * (before.df - after.df) <=
           (after.cfi - before.cfi) * (before.df - point.df);
}

// The scree test value of an interior point: the fit's rise per df before it
// over its rise per df after it.
double ScreeTestValue(const HullPoint& before, const HullPoint& point, const HullPoint& after) {
    const double riseAfter = (after.cfi - point.cfi) / (point.df - after.df);
    return riseAfter == 0 ? std::numeric_limits<double>::infinity()
                          : (point.cfi - before.cfi) / (before.df - point.df) / riseAfter;
}

}  // namespace

std::vector<double> SquaredMultipleCorrelations(int p, const std::vector<double>& correlations) {
    const Eigen::Map<const Eigen::MatrixXd> r(correlations.data(), p, p);
    const Eigen::LLT<Eigen::MatrixXd> cholesky(r);
    if (cholesky.info() != Eigen::Success) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    const Eigen::VectorXd smc =
        1 - cholesky.solve(Eigen::MatrixXd::Identity(p, p)).diagonal().array().inverse();
    return {smc.begin(), smc.end()};
}

std::vector<double> ReducedEigenvalues(int p, const std::vector<double>& correlations) {
    const std::vector<double> smc = SquaredMultipleCorrelations(p, correlations);
    Eigen::MatrixXd reduced = Eigen::Map<const Eigen::MatrixXd>(correlations.data(), p, p);
    reduced.diagonal() = Eigen::Map<const Eigen::VectorXd>(smc.data(), p);
    const Eigen::VectorXd values =
        Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(reduced, Eigen::EigenvaluesOnly)
            .eigenvalues()
            .reverse();
    return {values.begin(), values.end()};
}

std::vector<double> EmpiricalKaiserReferences(const std::vector<double>& eigenvalues, int p,
                                              double n) {
    const double sampling = std::pow(1 + std::sqrt(p / n), 2);
    std::vector<double> references;
    double before = 0;
    for (const double eigenvalue : eigenvalues) {
        const int j = static_cast<int>(references.size()) + 1;
        references.push_back(std::max(1.0, (p - before) / (p - j + 1) * sampling));
        before += eigenvalue;
    }
    return references;
}

Count EmpiricalKaiser(const std::vector<double>& eigenvalues, int p, double n) {
    const std::vector<double> references = EmpiricalKaiserReferences(eigenvalues, p, n);
    const Count above = AboveRandom(eigenvalues, references);
    return {above.keep, above.keep == static_cast<int>(eigenvalues.size()) && above.keep < p - 1};
}

double RmseaLowerBound(double chiSquare, double df, double n) {
    const double upper = (1 + kRmseaConfidence) / 2;
    // With few cases the corrected statistic can fall below 0, where its
    // upper tail is 1.
    if (ChiSquareUpperTail(chiSquare, df) >= 1 - upper) {
        return 0;
    }
    const double noncentrality = NonCentralChiSquared::find_non_centrality(df, chiSquare, upper);
    return std::sqrt(noncentrality / (df * (n - 1)));
}

SequentialCounts SequentialTests(const std::vector<FactorFit>& fits, double n) {
    if (fits.empty()) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    const auto smallestAic = std::min_element(
        fits.begin(), fits.end(), [](const auto& a, const auto& b) { return Aic(a) < Aic(b); });
    return {
        FirstKept(fits, [](const FactorFit& fit) { return fit.p >= kSignificance; }),
        FirstKept(fits,
                  [n](const FactorFit& fit) {
                      return RmseaLowerBound(fit.chiSquare, fit.df, n) < kCloseFit;
                  }),
        {smallestAic->factors, false},
    };
}

std::vector<HullPoint> HullPoints(const std::vector<FactorFit>& fits, int parallelAnalysisKeeps) {
    if (fits.empty()) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    const int last = std::min(std::max(parallelAnalysisKeeps + 1, 3), fits.back().factors);
    std::vector<HullPoint> points;
    for (int k = 0; k <= last; ++k) {
        const FactorFit& fit = fits[static_cast<std::size_t>(k)];
        points.push_back({k, fit.df, ComparativeFitIndex(fit, fits.front())});
    }
    return points;
}

std::vector<HullPoint> UpperHull(const std::vector<HullPoint>& points) {
    // The points come with df falling: one is dropped where an earlier one
    // fits better.
    std::vector<HullPoint> hull;
    double best = -std::numeric_limits<double>::infinity();
    for (const HullPoint& point : points) {
        if (point.cfi >= best) {
            hull.push_back(point);
        }
        best = std::max(best, point.cfi);
    }
    for (std::size_t i = 1; i + 1 < hull.size();) {
        if (OnOrBelowTheLine(hull[i - 1], hull[i], hull[i + 1])) {
            hull.erase(hull.begin() + static_cast<std::ptrdiff_t>(i));
            // The point before may now lie on or below its new neighbours' line.
            i = std::max<std::size_t>(i - 1, 1);
        } else {
            ++i;
        }
    }
    return hull;
}

int HullKeeps(const std::vector<HullPoint>& hull) {
    if (hull.size() < 3) {
        return std::max_element(hull.begin(), hull.end(),
                                [](const auto& a, const auto& b) { return a.cfi < b.cfi; })
            ->factors;
    }
    int keep = hull[1].factors;
    double largest = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i + 1 < hull.size(); ++i) {
        const double st = ScreeTestValue(hull[i - 1], hull[i], hull[i + 1]);
        if (st > largest) {
            largest = st;
            keep = hull[i].factors;
        }
    }
    return keep;
}

}  // namespace trolvane
