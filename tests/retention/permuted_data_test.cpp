// Random data sets that permute each variable's categories: every variable
// keeps its categories, the correlations between variables are gone, and a set
// is the same whenever and wherever it is drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "retention/permuted_data.h"
#include "retention/rules.h"

namespace trolvane {
namespace {

// 300 cases of four items scored 1 to 5 that nearly repeat each other.
OrdinalData RepeatingItems() {
    RawColumns raw{{"a", "b", "c", "d"}, 300, {}};
    for (int v = 0; v < 4; ++v) {
        for (int t = 0; t < 300; ++t) {
            const int score = 1 + (t * 7) % 5;
            raw.values.push_back(t % (v + 5) == 0 ? std::min(5, score + 1) : score);
        }
    }
    return OrdinalCategories(raw, {});
}

std::vector<std::uint8_t> Sorted(const std::vector<std::uint8_t>& codes, std::size_t from,
                                 std::size_t cases) {
    std::vector<std::uint8_t> column(codes.begin() + from, codes.begin() + from + cases);
    std::sort(column.begin(), column.end());
    return column;
}

TEST(PermutedDataTest, EachVariableKeepsItsCategories) {
    const OrdinalData data = RepeatingItems();
    const OrdinalData set = PermutedSet(data, 1, 0);
    EXPECT_EQ(set.thresholds, data.thresholds);
    for (std::size_t from = 0; from < data.codes.size(); from += data.cases) {
        EXPECT_EQ(Sorted(set.codes, from, data.cases), Sorted(data.codes, from, data.cases));
    }
    EXPECT_NE(set.codes, data.codes);
    EXPECT_NE(set.codes, PermutedSet(data, 1, 1).codes);
    EXPECT_NE(set.codes, PermutedSet(data, 2, 0).codes);
    EXPECT_EQ(set.codes, PermutedSet(data, 1, 0).codes);
    // Boost.Random draws the same in every edition: these are the first cases
    // of set 0 from seed 1 everywhere.
    EXPECT_EQ(std::vector<int>(set.codes.begin(), set.codes.begin() + 8),
              (std::vector<int>{1, 1, 3, 1, 0, 2, 1, 3}));
}

TEST(PermutedDataTest, SetsHaveTheEigenvaluesOfUncorrelatedItems) {
    const OrdinalData data = RepeatingItems();
    const PermutedCorrelations random(data);
    std::vector<double> eigenvalues(4);
    std::vector<double> again(4);
    random.Eigenvalues(1, 7, eigenvalues.data());
    random.Eigenvalues(1, 7, again.data());
    EXPECT_EQ(eigenvalues, again);
    EXPECT_TRUE(std::is_sorted(eigenvalues.rbegin(), eigenvalues.rend()));
    EXPECT_NEAR(std::accumulate(eigenvalues.begin(), eigenvalues.end(), 0.0), 4, 1e-12);
    EXPECT_LT(eigenvalues.front(), 1.5);
    EXPECT_GT(eigenvalues.back(), 0.5);
    // The items themselves nearly repeat each other.
    const std::vector<double> r = PolychoricCorrelations(data).correlations;
    EXPECT_GT(*std::min_element(r.begin(), r.end()), 0.8);
}

TEST(PermutedDataTest, ParallelAnalysisGivesTheSameSetsOnThreadsAndInSlices) {
    const auto data = std::make_shared<const OrdinalData>(RepeatingItems());
    RandomDataSettings settings;
    settings.sets = 120;
    settings.seed = 3;
    settings.threads = 2;
    settings.reduced = true;
    const std::optional<RandomEigenvalues> two = ParallelAnalysis(*data, settings);
    RandomDataInSlices slices(data, settings);
    while (!slices.Draw(5)) {
    }
    ASSERT_TRUE(two);
    EXPECT_EQ(slices.Summary().mean, two->mean);
    EXPECT_EQ(slices.Summary().reducedPercentile, two->reducedPercentile);
    // A set is the one PermutedCorrelations draws, wherever it is drawn.
    settings.sets = 1;
    std::vector<double> set(8);
    PermutedCorrelations(*data).Eigenvalues(3, 0, set.data(), set.data() + 4);
    const RandomEigenvalues first = *ParallelAnalysis(*data, settings);
    EXPECT_EQ(first.mean, std::vector<double>(set.begin(), set.begin() + 4));
    EXPECT_EQ(first.reducedMean, std::vector<double>(set.begin() + 4, set.end()));
    // Reduced correlations have less than 1 on the diagonal: less in all.
    EXPECT_LT(std::accumulate(set.begin() + 4, set.end(), 0.0), 4);
}

}  // namespace
}  // namespace trolvane
