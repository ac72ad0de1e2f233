#include "retention/factor_analysis.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include <LBFGSB.h>
#include <Eigen/Cholesky>
#include <Eigen/Eigenvalues>
#include <boost/random/mersenne_twister.hpp>
#include <boost/random/uniform_real_distribution.hpp>

#include "engine/chi_square.h"
#include "engine/run_error.h"

namespace trolvane {
namespace {

using Eigen::Index;
using Eigen::VectorXd;

// How closely the minimiser goes: it stops once the projected gradient or F's
// fall per step is this small, or after this many steps. Every start is first
// followed roughly, and only the lowest to the end.
struct Closeness {
    double gradient;
    double fall;
    int steps;
};
constexpr Closeness kRoughly{1e-4, 1e-9, 300};
constexpr Closeness kClosely{1e-7, 1e-12, 1000};
// A fit whose last projected gradient is above this has not converged.
constexpr double kConvergedGradient = 1e-4;
// Where a fit ends at a bound, this many more starts.
constexpr int kSpreadStarts = 4;

// F(Psi) and its gradient for k factors of R, keeping the lowest F it is asked
// for: the minimiser may stop in a line search, away from its best point.
class Discrepancy {
  public:
    Discrepancy(const Eigen::MatrixXd& r, int k) : r_(r), k_(k), solver_(r.rows()) {}

    double operator()(const VectorXd& psi, VectorXd& gradient) {
        const Index p = r_.rows();
        const VectorXd scale = psi.cwiseSqrt().cwiseInverse();
        solver_.compute(scale.asDiagonal() * r_ * scale.asDiagonal());
        // Eigen gives the eigenvalues the smallest first: the p - k smallest
        // are those left to the uniquenesses.
        const Eigen::ArrayXd rest = solver_.eigenvalues().head(p - k_).array();
        const double f = (rest - rest.log() - 1).sum();
        // The loadings' squares summed per variable, over Psi: the k leading
        // eigenvectors weighted by max(e - 1, 0).
        const VectorXd common = solver_.eigenvectors().rightCols(k_).array().square().matrix() *
                                (solver_.eigenvalues().tail(k_).array() - 1).cwiseMax(0).matrix();
        gradient =
            ((common.array() + 1) * psi.array() - r_.diagonal().array()) / psi.array().square();
        if (f < lowest_) {
            lowest_ = f;
            best_ = psi;
            bestGradient_ = gradient;
        }
        return f;
    }

    // Forgets the lowest F before the next start.
    void Restart() { lowest_ = std::numeric_limits<double>::infinity(); }
    double lowest() const { return lowest_; }
    const VectorXd& best() const { return best_; }
    const VectorXd& bestGradient() const { return bestGradient_; }

  private:
    const Eigen::MatrixXd& r_;
    Index k_;
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver_;
    double lowest_ = std::numeric_limits<double>::infinity();
    VectorXd best_;
    VectorXd bestGradient_;
};

// The largest step the gradient asks for that the bounds allow.
double ProjectedGradient(const VectorXd& psi, const VectorXd& gradient) {
    return ((psi - gradient).cwiseMax(kSmallestUniqueness).cwiseMin(1) - psi).cwiseAbs().maxCoeff();
}

struct Minimum {
    double objective = std::numeric_limits<double>::infinity();
    VectorXd uniquenesses;
    bool converged = false;
};

// The lowest F L-BFGS-B reaches from `start`.
Minimum MinimumFrom(Discrepancy& discrepancy, VectorXd start, const Closeness& closeness) {
    LBFGSpp::LBFGSBParam<double> settings;
    settings.epsilon = closeness.gradient;
    settings.epsilon_rel = 0;
    settings.delta = closeness.fall;
    settings.max_iterations = closeness.steps;
    LBFGSpp::LBFGSBSolver<double> solver(settings);
    const VectorXd lower = VectorXd::Constant(start.size(), kSmallestUniqueness);
    const VectorXd upper = VectorXd::Ones(start.size());
    discrepancy.Restart();
    double f = 0;
    bool stoppedByItsTests = false;
    try {
        stoppedByItsTests = solver.minimize(discrepancy, start, f, lower, upper) < closeness.steps;
    } catch (const std::exception&) {
        // The line search found no lower F along its direction: F is as low
        // as the arithmetic can tell, or the fit has stalled.
    }
    return {
        discrepancy.lowest(), discrepancy.best(),
        stoppedByItsTests || ProjectedGradient(discrepancy.best(), discrepancy.bestGradient()) <=
                                 kConvergedGradient};
}

bool AtBound(const VectorXd& uniquenesses) {
    return uniquenesses.minCoeff() <= kSmallestUniqueness;
}

// The lowest minimum from factanal's start, from the k - 1 fit's (if any) and
// from one spread start, which finds the minima at a uniqueness's bound that
// the other two can miss; where the lowest has a uniqueness at its bound,
// where local minima are common, from a few more. Spread starts are uniform
// on the bounds, drawn by Boost.Random seeded with k, so that every edition
// starts alike.
Minimum LowestMinimum(const Eigen::MatrixXd& r, int k, const VectorXd& factanalStart,
                      const VectorXd& previous) {
    Discrepancy discrepancy(r, k);
    Minimum lowest = MinimumFrom(discrepancy, factanalStart, kRoughly);
    const auto keepLower = [&](Minimum minimum) {
        if (minimum.objective < lowest.objective) {
            lowest = std::move(minimum);
        }
    };
    if (previous.size() > 0) {
        keepLower(MinimumFrom(discrepancy, previous, kRoughly));
    }
    boost::random::mt19937_64 engine(static_cast<std::uint64_t>(k));
    boost::random::uniform_real_distribution<double> uniform(kSmallestUniqueness, 1);
    for (int start = 0; start == 0 || (start < kSpreadStarts && AtBound(lowest.uniquenesses));
         ++start) {
        VectorXd spread(r.rows());
        for (double& uniqueness : spread) {
            uniqueness = uniform(engine);
        }
        keepLower(MinimumFrom(discrepancy, spread, kRoughly));
    }
    return MinimumFrom(discrepancy, lowest.uniquenesses, kClosely);
}

}  // namespace

double FactorDf(int p, int k) {
    return (static_cast<double>(p - k) * (p - k) - p - k) / 2;
}

FactorFit FitFactors(int p, double n, const std::vector<double>& correlations, int k,
                     const std::vector<double>& previous) {
    if (!(p >= 1 && k >= 0 && k < p && correlations.size() == static_cast<std::size_t>(p) * p &&
          (previous.empty() || previous.size() == static_cast<std::size_t>(p)))) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    const Eigen::Map<const Eigen::MatrixXd> r(correlations.data(), p, p);
    const Eigen::LLT<Eigen::MatrixXd> cholesky(r);
    if (cholesky.info() != Eigen::Success) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    FactorFit fit;
    fit.factors = k;
    fit.df = FactorDf(p, k);
    if (k == 0) {
        fit.uniquenesses.assign(static_cast<std::size_t>(p), 1.0);
        fit.objective = -2 * cholesky.matrixLLT().diagonal().array().log().sum();
    } else {
        const VectorXd inverseDiagonal = cholesky.solve(Eigen::MatrixXd::Identity(p, p)).diagonal();
        const Minimum lowest = LowestMinimum(
            r, k, (1 - 0.5 * k / p) * inverseDiagonal.cwiseInverse(),
            Eigen::Map<const VectorXd>(previous.data(), static_cast<Index>(previous.size())));
        fit.uniquenesses.assign(lowest.uniquenesses.begin(), lowest.uniquenesses.end());
        fit.objective = lowest.objective;
        fit.converged = lowest.converged;
        fit.atBound = AtBound(lowest.uniquenesses);
    }
    fit.chiSquare = (n - 1 - (2.0 * p + 5) / 6 - 2.0 * k / 3) * fit.objective;
    fit.p = fit.df > 0 ? ChiSquareUpperTail(fit.chiSquare, fit.df)
                       : std::numeric_limits<double>::quiet_NaN();
    return fit;
}

std::vector<FactorFit> FitFactorModels(int p, double n, const std::vector<double>& correlations,
                                       int largest) {
    std::vector<FactorFit> fits;
    for (int k = 0; k <= largest && FactorDf(p, k) > 0; ++k) {
        fits.push_back(FitFactors(p, n, correlations, k,
                                  fits.empty() ? std::vector<double>{} : fits.back().uniquenesses));
    }
    return fits;
}

}  // namespace trolvane
