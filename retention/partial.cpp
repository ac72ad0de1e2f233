#include <cmath>

#include <Eigen/Eigenvalues>

#include "retention/rules.h"

namespace trolvane {
namespace {

// A variable whose residual variance is this small, relative to R's unit
// diagonal, has nothing left to share: what the rank updates leave there is
// their rounding, up to about p^2 machine epsilons.
double RoundingVariance(Eigen::Index p) {
    return 1e-12 * static_cast<double>(p);
}

// The average of the squared and of the fourth-power correlations over all
// pairs of variables, from what is left of R after some components: C's lower
// triangle, scaled by 1 / sqrt(c_ii c_jj). A variable with no residual
// variance has a partial correlation of 0 with every other.
std::pair<double, double> AveragePowers(const Eigen::MatrixXd& left) {
    const Eigen::Index p = left.rows();
    const double rounding = RoundingVariance(p);
    const Eigen::VectorXd scale = left.diagonal().unaryExpr([rounding](double variance) {
        return variance > rounding ? 1 / std::sqrt(variance) : 0.0;
    });
    double squares = 0;
    double fourthPowers = 0;
    for (Eigen::Index j = 0; j + 1 < p; ++j) {
        const Eigen::Index below = p - 1 - j;
        const Eigen::ArrayXd squared =
            (left.col(j).tail(below).cwiseProduct(scale.tail(below)) * scale(j)).array().square();
        squares += squared.sum();
        fourthPowers += squared.square().sum();
    }
    const double pairs = static_cast<double>(p) * static_cast<double>(p - 1) / 2;
    return {squares / pairs, fourthPowers / pairs};
}

}  // namespace

// What is left of R after m components is the sum of the other p - m
// components, lambda v v'. It is built from the smallest up, m = p - 2 first,
// which keeps its small diagonal free of the cancellation of R minus the
// largest components.
AveragePartials MinimumAveragePartial(int p, const std::vector<double>& correlations) {
    AveragePartials averages;
    if (p < 2) {
        return averages;
    }
    const Eigen::Map<const Eigen::MatrixXd> r(correlations.data(), p, p);
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(r);
    // Eigen gives them the smallest first: component k (from 1) is column p - k.
    const Eigen::VectorXd& values = solver.eigenvalues();
    const Eigen::MatrixXd& vectors = solver.eigenvectors();
    const auto components = static_cast<std::size_t>(p - 1);
    averages.squared.resize(components);
    averages.fourthPower.resize(components);
    Eigen::MatrixXd left = Eigen::MatrixXd::Zero(p, p);
    left.selfadjointView<Eigen::Lower>().rankUpdate(vectors.col(0), values(0));
    for (int m = p - 2; m >= 0; --m) {
        const Eigen::Index column = p - 1 - m;
        left.selfadjointView<Eigen::Lower>().rankUpdate(vectors.col(column), values(column));
        std::tie(averages.squared[static_cast<std::size_t>(m)],
                 averages.fourthPower[static_cast<std::size_t>(m)]) = AveragePowers(left);
    }
    return averages;
}

}  // namespace trolvane
