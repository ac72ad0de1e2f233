// Bartlett's statistic for one component: the worked example row by row, the
// same bits as an independent evaluation of the formula, the skip rule and faults.
#include "engine/component_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/run_error.h"

namespace trolvane {
namespace {

// The value's bits; the browser edition's standard library has no std::bit_cast.
std::uint64_t Bits(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

RowTotals TotalsOf(const std::vector<double>& eigenvalues) {
    RowTotals totals;
    for (const double eigenvalue : eigenvalues) {
        totals.add(eigenvalue);
    }
    return totals;
}

TEST(ComponentTest, WorkedExampleRowByRow) {
    const struct {
        std::vector<double> eigenvalues;
        double product, sum, ratio, chisq, df;
    } rows[] = {
        {{2.0}, 2, 2, 0.81, 9.7282876, 5},
        {{2.0, 1.0}, 2, 3, 0.96, 1.8574008, 2},
        {{2.0, 1.0, 0.6}, 1.2, 3.6, 1.0, 0, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const int k = static_cast<int>(i) + 1;
        const RowTotals totals = TotalsOf(rows[i].eigenvalues);
        EXPECT_DOUBLE_EQ(totals.product, rows[i].product);
        EXPECT_DOUBLE_EQ(totals.sum, rows[i].sum);
        ASSERT_TRUE(IsTestable(k, 4));
        const ComponentResult result = ComponentTest(4, 50, 0.48, k, totals);
        EXPECT_NEAR(result.ratio, rows[i].ratio, 1e-12) << "row " << k;
        EXPECT_NEAR(result.chisq, rows[i].chisq, 5e-8) << "row " << k;
        EXPECT_EQ(result.df, rows[i].df) << "row " << k;
    }
    EXPECT_FALSE(IsTestable(4, 4)) << "a fourth row is read but skipped";
}

// The formula written out again in the plain order the statistic must follow.
ComponentResult Independently(double p, double n, double detR, int k, double product, double sum) {
    const double m = p - k;
    const double mean = (p - sum) / m;
    const double ratio = detR / (product * std::pow(mean, m));
    const double multiplier = ((n - 1) - ((2 * p + 5) / 6)) - ((k * 2.0) / 3);
    return {ratio, -multiplier * std::log(ratio), ((m + 2) * (m - 1)) / 2};
}

TEST(ComponentTest, MatchesAnIndependentEvaluationBitForBit) {
    const double ps[] = {3, 4, 4.5, 7, 12, 30, 101};
    const double ns[] = {10, 50, 200.5, 1e6};
    const double determinants[] = {1e-9, 0.05, 0.48, 0.999};
    const std::vector<double> eigenvalues = {2.7,  1.3,  0.9,  0.61, 0.33,
                                             0.21, 0.17, 0.11, 0.07, 0.05};
    int compared = 0;
    for (const double p : ps) {
        for (const double n : ns) {
            for (const double detR : determinants) {
                RowTotals totals;
                for (int k = 1; k <= 10 && IsTestable(k, p); ++k) {
                    totals.add(eigenvalues[k - 1] * p / 10);
                    const ComponentResult expected =
                        Independently(p, n, detR, k, totals.product, totals.sum);
                    const ComponentResult actual = ComponentTest(p, n, detR, k, totals);
                    EXPECT_EQ(Bits(actual.ratio), Bits(expected.ratio));
                    EXPECT_EQ(Bits(actual.chisq), Bits(expected.chisq));
                    EXPECT_EQ(Bits(actual.df), Bits(expected.df));
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 500);
}

TEST(ComponentTest, FractionalNumberOfVariables) {
    EXPECT_TRUE(IsTestable(3, 4.5));
    EXPECT_FALSE(IsTestable(4, 4.5));
    const ComponentResult row3 = ComponentTest(4.5, 50, 0.48, 3, TotalsOf({2, 1, 0.6}));
    EXPECT_EQ(row3.df, 0.875);
}

TEST(IsTestable, OnlyWhileKIsAtMostPMinusOne) {
    const struct {
        int k;
        double p;
        bool testable;
    } cases[] = {
        {1, 4, true}, {3, 4, true},  {4, 4, false},      {1, 1, false},
        {1, 2, true}, {1, 0, false}, {1, -1e300, false}, {10, 1e300, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsTestable(c.k, c.p), c.testable) << "k " << c.k << " p " << c.p;
    }
}

struct FaultCase {
    const char* name;
    double p, n, detR;
    int k;
    std::vector<double> eigenvalues;
    ErrorKind kind;
};

TEST(ComponentTest, RaisesAtTheFailingStep) {
    const FaultCase cases[] = {
        {"zero determinant", 4, 50, 0, 1, {2}, ErrorKind::InvalidArgument},
        {"negative determinant", 4, 50, -0.5, 1, {2}, ErrorKind::InvalidArgument},
        {"zero eigenvalue", 4, 50, 0.48, 2, {2, 0}, ErrorKind::DivisionByZero},
        {"eigenvalues summing to p", 4, 50, 0.48, 2, {3, 1}, ErrorKind::DivisionByZero},
        {"negative mean, odd m", 4, 50, 0.48, 1, {5}, ErrorKind::InvalidArgument},
        {"negative mean, fractional m", 4.5, 50, 0.48, 1, {5}, ErrorKind::InvalidArgument},
        {"p too large to double", 1e308, 50, 0.48, 1, {2}, ErrorKind::Overflow},
        {"statistic too large", 4, 1e308, 1e-300, 1, {2}, ErrorKind::Overflow},
        {"k equal to p", 4, 50, 0.48, 4, {1, 1, 1, 0.5}, ErrorKind::DivisionByZero},
    };
    for (const FaultCase& c : cases) {
        try {
            ComponentTest(c.p, c.n, c.detR, c.k, TotalsOf(c.eigenvalues));
            ADD_FAILURE() << c.name << ": no error";
        } catch (const RunError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.name;
        }
    }
}

TEST(RowTotals, ProductTooLargeIsAnOverflow) {
    RowTotals totals;
    totals.add(1e200);
    EXPECT_THROW(totals.add(1e200), RunError);
}

}  // namespace
}  // namespace trolvane
