// The caption of a result row: the worked examples, the table and band edges,
// the strict comparisons and the faults of the large-df path.
#include "engine/significance.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/component_test.h"
#include "engine/run_error.h"

namespace trolvane {
namespace {

TEST(Significance, WorkedExamples) {
    RowTotals totals;
    totals.add(2.0);
    const ComponentResult row1 = ComponentTest(4, 50, 0.48, 1, totals);
    EXPECT_EQ(Significance(row1.chisq, row1.df), " X\u00b2(5)= 9.728 p > .05");
    totals.add(1.0);
    const ComponentResult row2 = ComponentTest(4, 50, 0.48, 2, totals);
    EXPECT_EQ(Significance(row2.chisq, row2.df), " X\u00b2(2)= 1.857 p > .05");
    totals.add(0.6);
    const ComponentResult row3 = ComponentTest(4, 50, 0.48, 3, totals);
    EXPECT_EQ(Significance(row3.chisq, row3.df), " X\u00b2 has df = 0");

    RowTotals large;
    large.add(3);
    const ComponentResult big = ComponentTest(12, 200, 0.05, 1, large);
    EXPECT_NEAR(big.chisq, 365.128, 1e-3);
    EXPECT_EQ(Significance(big.chisq, big.df), " t(65)= 14.621 p < .01");
}

struct TableCase {
    double chisq, df;
    const char* caption;
};

TEST(Significance, TablePathComparesStrictlyAgainstRoundedValues) {
    const TableCase cases[] = {
        {3.84, 1, " X\u00b2(1)= 3.84 p < .05"},       {3.8399, 1, " X\u00b2(1)= 3.839 p > .05"},
        {6.63, 1, " X\u00b2(1)= 6.63 p < .05"},       {6.6301, 1, " X\u00b2(1)= 6.63 p < .01"},
        {43.76, 30, " X\u00b2(30)= 43.76 p > .05"},   {43.77, 30, " X\u00b2(30)= 43.77 p < .05"},
        {50.9, 30, " X\u00b2(30)= 50.9 p < .01"},     {100, 0.875, " X\u00b2(0.875)= 100 p < .05"},
        {0.1, 0.875, " X\u00b2(0.875)= 0.1 p < .05"}, {-0.0004, 1, " X\u00b2(1)= -0.001 p > .05"},
        {5, -2, " X\u00b2(-2)= 5 p < .05"},           {12, 2.5, " X\u00b2(2.5)= 12 p < .05"},
    };
    for (const TableCase& c : cases) {
        EXPECT_EQ(Significance(c.chisq, c.df), c.caption) << c.chisq << " on " << c.df;
    }
}

// The statistic whose large-df z is the given value.
double ChisqForZ(double z, double df) {
    return std::pow(z + 1 + std::sqrt(2 * df), 2) / 2;
}

TEST(Significance, LargeDfPathJudgesZByBand) {
    const struct {
        double z, df;
        const char* pText;
    } cases[] = {
        {2.03, 31, " p > .05"},  {2.05, 31, " p < .05"},   {2.76, 31, " p < .01"},
        {2.03, 39, " p > .05"},  {2.03, 40, " p < .05"},   {2.01, 40, " p > .05"},
        {2.71, 40, " p < .01"},  {2.03, 39.5, " p > .05"}, {2.72, 39.5, " p < .01"},
        {1.99, 60, " p > .05"},  {2.67, 119, " p < .01"},  {1.97, 299, " p > .05"},
        {1.97, 301, " p < .05"}, {2.59, 301, " p < .01"},  {1.0, 300, " p < .05"},
        {10, 300, " p < .05"},   {-3, 1000, " p > .05"},   {2.03, 30.5, " p > .05"},
    };
    for (const auto& c : cases) {
        const RowText caption = Significance(ChisqForZ(c.z, c.df), c.df);
        EXPECT_TRUE(caption.starts_with(" t(")) << caption;
        EXPECT_TRUE(caption.ends_with(c.pText)) << "z " << c.z << " df " << c.df << ": " << caption;
    }
}

TEST(Significance, WritesNumbersWithTheUsersDecimalSeparator) {
    const NumberFormat comma{",", "."};
    EXPECT_EQ(Significance(9.7282876, 5, comma), " X\u00b2(5)= 9,728 p > .05");
    EXPECT_EQ(Significance(3, 0.875, comma), " X\u00b2(0,875)= 3 p < .05");
}

TEST(Significance, Faults) {
    const struct {
        double chisq, df;
        ErrorKind kind;
    } cases[] = {
        {-1, 40, ErrorKind::InvalidArgument},
        {1e306, 5, ErrorKind::Overflow},
        {1e308, 31, ErrorKind::Overflow},
    };
    for (const auto& c : cases) {
        try {
            Significance(c.chisq, c.df);
            ADD_FAILURE() << c.chisq << " on " << c.df << ": no error";
        } catch (const RunError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.chisq << " on " << c.df;
        }
    }
}

}  // namespace
}  // namespace trolvane
