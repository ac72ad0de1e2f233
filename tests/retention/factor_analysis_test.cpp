// The maximum-likelihood fits against R's lowest F on three data sets, a
// uniqueness at its bound, and matrices no fit can be made of.
#include "retention/factor_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/run_error.h"
#include "tests/retention/r_factor_fits.h"

namespace trolvane {
namespace {

class FitsAgreeWithR : public ::testing::TestWithParam<RFactorFits> {};

TEST_P(FitsAgreeWithR, ForEveryNumberOfFactors) {
    const RFactorFits& r = GetParam();
    const std::vector<FactorFit> fits =
        FitFactorModels(r.set.p, r.set.n, Correlations(r.set), r.set.p);
    ASSERT_EQ(fits.size(), r.objective.size());
    for (int k = 0; k <= r.reached; ++k) {
        const FactorFit& fit = fits[static_cast<std::size_t>(k)];
        const auto at = static_cast<std::size_t>(k);
        EXPECT_EQ(fit.factors, k);
        EXPECT_NEAR(fit.chiSquare, r.chiSquare[at], 1e-4 * r.chiSquare[at]) << "k = " << k;
        EXPECT_NEAR(fit.p, r.p[at], 1e-4 * r.p[at]) << "k = " << k;
        EXPECT_TRUE(fit.converged) << "k = " << k;
    }
    // Past them, never below R's lowest F, nor above the fit of one factor fewer.
    for (std::size_t k = static_cast<std::size_t>(r.reached) + 1; k < fits.size(); ++k) {
        EXPECT_GE(fits[k].objective, r.objective[k] * (1 - 1e-6)) << "k = " << k;
        EXPECT_LE(fits[k].objective, fits[k - 1].objective) << "k = " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(DataSets, FitsAgreeWithR, ::testing::ValuesIn(kRFactorFits),
                         [](const auto& info) { return std::string(info.param.set.name); });

TEST(FactorFit, SaysWhereAUniquenessEndsAtItsBound) {
    // attitude's three factors leave its second variable no uniqueness; two
    // factors do not.
    const RDataSet& attitude = kRDataSets[1];
    const std::vector<double> r = Correlations(attitude);
    const FactorFit three = FitFactors(attitude.p, attitude.n, r, 3);
    EXPECT_TRUE(three.atBound);
    EXPECT_DOUBLE_EQ(*std::min_element(three.uniquenesses.begin(), three.uniquenesses.end()),
                     kSmallestUniqueness);
    EXPECT_FALSE(FitFactors(attitude.p, attitude.n, r, 2).atBound);
    // No common factor: F = -ln det R, every uniqueness 1, and no bound reached.
    const FactorFit none = FitFactors(attitude.p, attitude.n, r, 0);
    EXPECT_NEAR(none.objective, -std::log(attitude.determinant), 1e-12);
    EXPECT_EQ(none.uniquenesses, std::vector<double>(7, 1.0));
    EXPECT_FALSE(none.atBound);
}

TEST(FactorFit, NeedsAPositiveDefiniteMatrixAndFewerFactorsThanVariables) {
    // Two identical variables.
    const std::vector<double> singular = {1, 1, 0.5, 1, 1, 0.5, 0.5, 0.5, 1};
    EXPECT_THROW(FitFactors(3, 100, singular, 1), RunError);
    const std::vector<double> r = Correlations(kRDataSets[1]);
    EXPECT_THROW(FitFactors(7, 30, r, 7), RunError);
    EXPECT_THROW(FitFactors(7, 30, r, -1), RunError);
    EXPECT_THROW(FitFactors(7, 30, r, 1, {0.5, 0.5}), RunError);
}

}  // namespace
}  // namespace trolvane
