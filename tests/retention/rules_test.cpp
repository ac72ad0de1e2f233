// The rules' counts and averages against R, psych and nFactors on three data
// sets, Bartlett's count where the eigenvalues run out, and R's quantile.
#include "retention/rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/run_error.h"
#include "retention/quantile.h"
#include "tests/retention/r_data_sets.h"

namespace trolvane {
namespace {

void ExpectClose(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t m = 0; m < actual.size(); ++m) {
        EXPECT_NEAR(actual[m], expected[m], 1e-10 * expected[m]) << "m = " << m;
    }
}

class AgreesWithR : public ::testing::TestWithParam<RDataSet> {};

TEST_P(AgreesWithR, AveragePartials) {
    const RDataSet& set = GetParam();
    const AveragePartials averages = MinimumAveragePartial(set.p, Correlations(set));
    ExpectClose(averages.squared, set.squared);
    ExpectClose(averages.fourthPower, set.fourthPower);
    EXPECT_EQ(SmallestAverage(averages.squared), set.map);
    EXPECT_EQ(SmallestAverage(averages.fourthPower), set.mapFourthPower);
}

TEST_P(AgreesWithR, Counts) {
    const RDataSet& set = GetParam();
    EXPECT_EQ(Kaiser(set.eigenvalues, set.p), (Count{set.kaiser, false}));
    EXPECT_EQ(BartlettCount(set.p, set.n, set.determinant, set.eigenvalues),
              (Count{set.bartlett, false}));
    EXPECT_EQ(OptimalCoordinates(set.eigenvalues, set.percentile), set.optimalCoordinates);
    EXPECT_EQ(AccelerationFactor(set.eigenvalues, set.percentile), set.accelerationFactor);
    EXPECT_EQ(AboveRandom(set.eigenvalues, set.percentile), (Count{set.parallelAnalysis, false}));
}

INSTANTIATE_TEST_SUITE_P(DataSets, AgreesWithR, ::testing::ValuesIn(kRDataSets),
                         [](const auto& info) { return std::string(info.param.name); });

// The typed rows: the first few eigenvalues only.
TEST(Counts, SayAtLeastWhereTheKnownEigenvaluesEnd) {
    const RDataSet& bfi = kRDataSets[0];
    const auto first = [&](std::size_t k) {
        return std::vector<double>(bfi.eigenvalues.begin(), bfi.eigenvalues.begin() + k);
    };
    EXPECT_EQ(BartlettCount(bfi.p, bfi.n, bfi.determinant, first(10)), (Count{11, true}));
    EXPECT_EQ(BartlettCount(bfi.p, bfi.n, bfi.determinant, {}), (Count{1, true}));
    EXPECT_EQ(Kaiser(first(4), bfi.p), (Count{4, true}));
    EXPECT_EQ(Kaiser(first(10), bfi.p), (Count{6, false}));
    EXPECT_EQ(AboveRandom(first(3), bfi.percentile), (Count{3, true}));
    // Above 1 all but the last: the last is below 1, for they add up to p.
    EXPECT_EQ(Kaiser({1.6, 1.2}, 3), (Count{2, false}));
    // No test at all with no more cases than variables.
    const RDataSet& attitude = kRDataSets[1];
    EXPECT_THROW(BartlettCount(attitude.p, 7, attitude.determinant, attitude.eigenvalues),
                 RunError);
}

TEST(Quantile, IsRsDefault) {
    // quantile(c(3, 1, 4, 1, 5, 9, 2, 6), q) in R.
    const std::pair<double, double> cases[] = {{0.95, 7.95}, {0.5, 3.5}, {0.9, 6.9},
                                               {0.99, 8.79}, {1, 9},     {0, 1}};
    for (const auto& [q, expected] : cases) {
        std::vector<double> values = {3, 1, 4, 1, 5, 9, 2, 6};
        EXPECT_DOUBLE_EQ(Quantile(values, q), expected) << q;
    }
}

}  // namespace
}  // namespace trolvane
