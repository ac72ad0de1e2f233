// Parallel analysis against random data drawn case by case, within Monte Carlo
// error, and the same numbers whatever the threads and the edition.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <Eigen/Eigenvalues>
#include <boost/random/mersenne_twister.hpp>
#include <boost/random/normal_distribution.hpp>

#include "retention/quantile.h"
#include "retention/rules.h"

namespace trolvane {
namespace {

constexpr int kP = 6;
constexpr int kN = 40;
constexpr int kSets = 4000;

// The eigenvalues of the correlations of kN cases of kP standard normals, set
// after set, each set's the largest first, then those of the same correlations
// with their squared multiple correlations on the diagonal.
std::vector<std::vector<double>> SimulatedEigenvalues() {
    boost::random::mt19937_64 engine(20240601);
    boost::random::normal_distribution<double> normal;
    std::vector<std::vector<double>> byComponent(2 * kP);
    Eigen::MatrixXd data(kN, kP);
    for (int set = 0; set < kSets; ++set) {
        for (double& x : data.reshaped()) {
            x = normal(engine);
        }
        const Eigen::MatrixXd centred = data.rowwise() - data.colwise().mean();
        const Eigen::MatrixXd products = centred.transpose() * centred;
        const Eigen::VectorXd scale = products.diagonal().cwiseSqrt().cwiseInverse();
        Eigen::MatrixXd r = scale.asDiagonal() * products * scale.asDiagonal();
        const Eigen::VectorXd values =
            Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(r, Eigen::EigenvaluesOnly).eigenvalues();
        r.diagonal() = 1 - r.inverse().diagonal().array().inverse();
        const Eigen::VectorXd reduced =
            Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(r, Eigen::EigenvaluesOnly).eigenvalues();
        for (int i = 0; i < kP; ++i) {
            byComponent[static_cast<std::size_t>(i)].push_back(values(kP - 1 - i));
            byComponent[static_cast<std::size_t>(kP + i)].push_back(reduced(kP - 1 - i));
        }
    }
    return byComponent;
}

std::vector<double> Joined(std::vector<double> first, const std::vector<double>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(ParallelAnalysis, AgreesWithRandomDataWithinMonteCarloError) {
    RandomDataSettings settings;
    settings.sets = kSets;
    settings.reduced = true;
    const std::optional<RandomEigenvalues> drawn = ParallelAnalysis(kP, kN, settings);
    ASSERT_TRUE(drawn);
    std::vector<std::vector<double>> simulated = SimulatedEigenvalues();
    const std::vector<double> mean = Joined(drawn->mean, drawn->reducedMean);
    const std::vector<double> percentile = Joined(drawn->percentile, drawn->reducedPercentile);
    for (std::size_t i = 0; i < 2 * kP; ++i) {
        std::vector<double>& values = simulated[i];
        double average = 0;
        double squares = 0;
        for (const double value : values) {
            average += value / kSets;
            squares += value * value / kSets;
        }
        // Both estimates err; four standard errors of their difference.
        const double spread = std::sqrt(2.0 / kSets) * 4;
        EXPECT_NEAR(mean[i], average, spread * std::sqrt(squares - average * average)) << i;
        // A percentile's standard error: sqrt(q (1 - q) / N) over the density there.
        const double q = 0.95;
        const double width = Quantile(values, q + 0.02) - Quantile(values, q - 0.02);
        EXPECT_NEAR(percentile[i], Quantile(values, q),
                    spread * std::sqrt(q * (1 - q)) * width / 0.04)
            << i;
    }
}

TEST(ParallelAnalysis, GivesTheSameNumbersOnOneAndTwoThreadsAndInSlices) {
    RandomDataSettings settings;
    settings.sets = 300;
    settings.seed = 7;
    settings.threads = 1;
    settings.reduced = true;
    Progress progress;
    const std::optional<RandomEigenvalues> one = ParallelAnalysis(25, 2436, settings, &progress);
    settings.threads = 2;
    const std::optional<RandomEigenvalues> two = ParallelAnalysis(25, 2436, settings);
    // The browser edition draws them a few at a time on its one thread.
    RandomDataInSlices slices(25, 2436, settings);
    while (!slices.Draw(7)) {
    }
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->mean, two->mean);
    EXPECT_EQ(one->percentile, two->percentile);
    EXPECT_EQ(one->reducedMean, two->reducedMean);
    EXPECT_EQ(one->reducedPercentile, two->reducedPercentile);
    EXPECT_EQ(slices.Summary().mean, one->mean);
    EXPECT_EQ(slices.Summary().percentile, one->percentile);
    EXPECT_EQ(slices.Summary().reducedPercentile, one->reducedPercentile);
    EXPECT_EQ(progress.setsDone, 300);
    // The same draws in every edition: the Linux edition's numbers, which only
    // the last bits of the arithmetic may change.
    EXPECT_NEAR(one->mean.front(), 1.18628502124541, 1e-12);
    EXPECT_NEAR(one->percentile.front(), 1.21217763896909, 1e-12);
    EXPECT_NEAR(one->percentile.back(), 0.848019124704033, 1e-12);
    settings.seed = 8;
    EXPECT_NE(ParallelAnalysis(25, 2436, settings)->mean, one->mean);
    // A million cases draw as fast, and their eigenvalues are all near 1.
    const RandomEigenvalues many = *ParallelAnalysis(25, 1e6, settings);
    EXPECT_NEAR(many.percentile.front(), 1, 0.02);
    EXPECT_NEAR(many.percentile.back(), 1, 0.02);
}

TEST(ParallelAnalysis, StopsWhenCancelled) {
    Progress progress;
    progress.cancelled = true;
    EXPECT_FALSE(ParallelAnalysis(10, 100, {}, &progress));
}

}  // namespace
}  // namespace trolvane
