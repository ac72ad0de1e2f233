// The factor rules against R on three data sets and bfi's counts, the
// empirical Kaiser criterion's formula, and the Hull method step by step.
#include "retention/factor_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/run_error.h"
#include "tests/retention/r_factor_fits.h"

namespace trolvane {
namespace {

class RulesAgreeWithR : public ::testing::TestWithParam<RFactorFits> {};

TEST_P(RulesAgreeWithR, ReducedEigenvaluesAndEmpiricalKaiser) {
    const RFactorFits& r = GetParam();
    const std::vector<double> reduced = ReducedEigenvalues(r.set.p, Correlations(r.set));
    ASSERT_EQ(reduced.size(), r.reduced.size());
    for (std::size_t i = 0; i < reduced.size(); ++i) {
        EXPECT_NEAR(reduced[i], r.reduced[i], 1e-9) << i;
    }
    EXPECT_EQ(EmpiricalKaiser(r.set.eigenvalues, r.set.p, r.set.n),
              (Count{r.empiricalKaiser, false}));
}

INSTANTIATE_TEST_SUITE_P(DataSets, RulesAgreeWithR, ::testing::ValuesIn(kRFactorFits),
                         [](const auto& info) { return std::string(info.param.set.name); });

TEST(EmpiricalKaiser, ComparesEachEigenvalueWithItsReference) {
    struct Case {
        std::vector<double> eigenvalues;
        int p;
        double n;
        std::vector<double> references;
        Count count;
    };
    const Case cases[] = {
        // (1 + sqrt(4 / 16))^2 = 2.25: the second is above 1 but not above
        // (4 - 2.4) / 3 x 2.25 = 1.2.
        {{2.4, 1.19, 0.31, 0.1}, 4, 16, {2.25, 1.2, 1, 1}, {1, false}},
        // Many cases: every reference is 1 after the first.
        {{2.2, 1.0, 0.5, 0.3}, 4, 1e6, {1.004, 1, 1, 1}, {1, false}},
        // The typed rows: both known eigenvalues above, the third unknown.
        {{3.0, 1.5}, 10, 1000, {1.21, 1}, {2, true}},
        // All but the last above: the last never is.
        {{1.5, 1.2}, 3, 1e6, {1.0035, 1}, {2, false}},
    };
    for (const Case& c : cases) {
        const std::vector<double> references = EmpiricalKaiserReferences(c.eigenvalues, c.p, c.n);
        ASSERT_EQ(references.size(), c.references.size());
        for (std::size_t j = 0; j < references.size(); ++j) {
            EXPECT_NEAR(references[j], c.references[j], 1e-3) << c.eigenvalues[0] << " " << j;
        }
        EXPECT_EQ(EmpiricalKaiser(c.eigenvalues, c.p, c.n), c.count) << c.eigenvalues[0];
    }
}

TEST(SequentialTests, KeepBfisFactorsAsR) {
    const RDataSet& bfi = kRDataSets[0];
    const std::vector<double> r = Correlations(bfi);
    const std::vector<FactorFit> fits = FitFactorModels(bfi.p, bfi.n, r, bfi.p);
    ASSERT_EQ(fits.back().factors, 18);
    const SequentialCounts counts = SequentialTests(fits, bfi.n);
    EXPECT_EQ(counts.chiSquare, (Count{13, false}));
    EXPECT_EQ(counts.rmsea, (Count{6, false}));
    EXPECT_EQ(counts.aic, (Count{13, false}));
    // RMSEA's lower bounds from R's noncentral chi-square, k = 0 to 10.
    const double lower[] = {0.1543725346,  0.1223109687,  0.09965762395, 0.08538171034,
                            0.07193847434, 0.05131713975, 0.03996031938, 0.03354746793,
                            0.0283381514,  0.02400518963, 0.01970641682};
    for (std::size_t k = 0; k < std::size(lower); ++k) {
        EXPECT_NEAR(RmseaLowerBound(fits[k].chiSquare, fits[k].df, bfi.n), lower[k],
                    1e-6 * lower[k])
            << "k = " << k;
    }
    EXPECT_EQ(RmseaLowerBound(3, 10, 100), 0);
    // With few cases the corrected statistic falls below 0.
    EXPECT_EQ(RmseaLowerBound(-0.5, 10, 12), 0);
    EXPECT_THROW(SequentialTests({}, 5), RunError);
    // Where the fits end before a test keeps: more than the last k.
    const std::vector<FactorFit> first(fits.begin(), fits.begin() + 8);
    const SequentialCounts few = SequentialTests(first, bfi.n);
    EXPECT_EQ(few.chiSquare, (Count{8, true}));
    EXPECT_EQ(few.rmsea, (Count{6, false}));
    EXPECT_EQ(few.aic, (Count{7, false}));
    // Parallel analysis of factors keeps 8 against the same 1000 random data
    // sets as parallel analysis, at their 95th percentile; the Hull method 5.
    RandomDataSettings settings;
    settings.reduced = true;
    const RandomEigenvalues random = *ParallelAnalysis(bfi.p, bfi.n, settings);
    const Count factors = AboveRandom(ReducedEigenvalues(bfi.p, r), random.reducedPercentile);
    EXPECT_EQ(factors, (Count{8, false}));
    EXPECT_EQ(HullKeeps(UpperHull(HullPoints(fits, factors.keep))), 5);
}

FactorFit Tested(int k, double df, double chiSquare) {
    FactorFit fit;
    fit.factors = k;
    fit.df = df;
    fit.chiSquare = chiSquare;
    return fit;
}

TEST(HullMethod, TakesJOneMoreThanParallelAnalysisKeepsAndTheComparativeFitIndex) {
    const std::vector<FactorFit> fits = {Tested(0, 20, 220), Tested(1, 14, 64), Tested(2, 9, 9),
                                         Tested(3, 5, 4),    Tested(4, 2, 1),   Tested(5, 1, 0.5)};
    // CFI_k = 1 - max(chi^2 - df, 0) / (200): 1 - 50 / 200; 1 where it fits.
    EXPECT_EQ(HullPoints(fits, 1),
              (std::vector<HullPoint>{{0, 20, 0}, {1, 14, 0.75}, {2, 9, 1}, {3, 5, 1}}));
    EXPECT_EQ(HullPoints(fits, 3).size(), 5U);
    EXPECT_EQ(HullPoints(fits, 8).size(), 6U);
    // Nothing misfits, not even k = 0: every CFI is 1.
    EXPECT_EQ(HullPoints({Tested(0, 3, 2), Tested(1, 1, 0.5)}, 0),
              (std::vector<HullPoint>{{0, 3, 1}, {1, 1, 1}}));
}

TEST(HullMethod, DropsPointsStepByStepThenKeepsTheLargestScreeTestValue) {
    struct Case {
        std::vector<HullPoint> points;
        std::vector<int> hull;
        int keep;
    };
    const Case cases[] = {
        // k = 2 fits worse than k = 1; k = 4 lies below the line from 3 to 5.
        // st: 1.875 at 1, 4.44 at 3, 3 at 5.
        {{{0, 10, 0},
          {1, 8, 0.5},
          {2, 6, 0.45},
          {3, 5, 0.9},
          {4, 3, 0.92},
          {5, 2, 0.99},
          {6, 1, 1}},
         {0, 1, 3, 5, 6},
         3},
        // The fit stops rising after k = 2: st is infinite there.
        {{{0, 6, 0}, {1, 4, 0.8}, {2, 3, 1}, {3, 1, 1}}, {0, 1, 2, 3}, 2},
        // k = 1 lies on the line: two points left, the better fit kept.
        {{{0, 5, 0}, {1, 3, 0.5}, {2, 1, 1}}, {0, 2}, 2},
        // A tie with a point of more df stays.
        {{{0, 5, 0.2}, {1, 3, 0.2}, {2, 1, 0.2}}, {0, 2}, 0},
    };
    for (const Case& c : cases) {
        const std::vector<HullPoint> hull = UpperHull(c.points);
        std::vector<int> kept;
        for (const HullPoint& point : hull) {
            kept.push_back(point.factors);
        }
        EXPECT_EQ(kept, c.hull) << c.points.size();
        EXPECT_EQ(HullKeeps(hull), c.keep) << c.points.size();
    }
}

}  // namespace
}  // namespace trolvane
