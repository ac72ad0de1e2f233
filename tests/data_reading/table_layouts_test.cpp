// Tables as programs print them past the simplest: R's prints of wide matrices
// in blocks of columns, sample sizes around a table, stacked matrices, and the
// layouts refused with their reason rather than read as something else.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "data_reading/summary.h"
#include "tests/data_reading/r_prints.h"

namespace trolvane {

void PrintTo(const RPrint& print, std::ostream* out) {
    *out << print.what;
}

namespace {

class RPrintReadsAs : public ::testing::TestWithParam<RPrint> {};

TEST_P(RPrintReadsAs, TheMatrixRPrinted) {
    const RPrint& expected = GetParam();
    const DataSummary summary = Summarise(ReadVariables(expected.text, {}), {});
    const Variables& read = summary.variables;
    EXPECT_EQ(read.kind, DataKind::CorrelationMatrix);
    EXPECT_EQ(read.names, expected.names);
    EXPECT_EQ(read.cases, expected.cases);
    EXPECT_EQ(read.matrices, expected.matrices);
    EXPECT_EQ(read.firstMatrixTitle, expected.title);
    const auto p = static_cast<std::size_t>(read.count);
    ASSERT_EQ(p, expected.lastRow.size());
    const std::vector<double> lastRow(read.correlations.end() - static_cast<std::ptrdiff_t>(p),
                                      read.correlations.end());
    EXPECT_EQ(lastRow, expected.lastRow);
    EXPECT_NEAR(summary.logDeterminant, expected.logDeterminant,
                1e-10 * std::fabs(expected.logDeterminant));
}

INSTANTIATE_TEST_SUITE_P(Console, RPrintReadsAs, ::testing::ValuesIn(kRPrints),
                         [](const auto& info) { return std::string(info.param.what); });

// A table of a, b and c whose correlations are .5, .25 and .125, with a line
// around it.
std::string AbcBelow(const std::string& line) {
    return line + "\n   a    b    c\na  1    .5   .25\nb  .5   1    .125\nc  .25  .125 1\n";
}

struct Layout {
    const char* what;
    std::string text;
    // The sample size, and the summary's line under its first, where either is
    // given; the refusal where the text is refused.
    long long cases = 0;
    std::string note = "";
    std::string refusal = "";
    NumberFormat format = {};
};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.what;
}

class LayoutReadsAs : public ::testing::TestWithParam<Layout> {};

TEST_P(LayoutReadsAs, TheMatrixOrItsRefusal) {
    const Layout& expected = GetParam();
    std::optional<DataSummary> summary;
    try {
        summary = Summarise(ReadVariables(expected.text, expected.format), expected.format);
    } catch (const DataRefusal& refusal) {
        EXPECT_EQ(refusal.what(), expected.refusal);
        return;
    }
    ASSERT_EQ(expected.refusal, "") << "read";
    const Variables& read = summary->variables;
    EXPECT_EQ(read.cases, expected.cases);
    const std::vector<std::string> lines = SummaryLines(*summary, expected.format);
    EXPECT_EQ(lines[1].starts_with("Variables: ") ? "" : lines[1], expected.note);
    if (read.kind == DataKind::CorrelationMatrix) {
        EXPECT_EQ(read.names, (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_EQ(read.correlations, (std::vector<double>{1, .5, .25, .5, 1, .125, .25, .125, 1}));
    }
}

constexpr char kDiagonalNote[] =
    ", not 1, while the other values lie between -1 and 1 like correlations: if the diagonal "
    "holds reliabilities or counts, write 1 there.";

INSTANTIATE_TEST_SUITE_P(
    Tables, LayoutReadsAs,
    ::testing::Values(
        Layout{"FullInBlocksBySpaces",
               "   a    b\na  1    .5\nb  .5   1\nc  .25  .125\n     c\na  .25\nb  .125\nc  1\n"},
        Layout{"LowerTriangleInBlocksBySpaces",
               "   a    b\na  1\nb  .5   1\nc  .25  .125\n     c\na\nb\nc  1\n"},
        Layout{"LowerTriangleWithBlocksFromTheirDiagonal",
               "   a    b\na  1\nb  .5   1\nc  .25  .125\n     c\nc  1\n"},
        Layout{"UpperTriangleInBlocksByTabs",
               "\ta\tb\na\t1\t.5\nb\t\t1\nc\t\t\n\tc\na\t.25\nb\t.125\nc\t1\n"},
        Layout{"CountGroupedByASpace", AbcBelow("N = 12 345"), 12345},
        Layout{"CountGroupedByANoBreakSpace",
               AbcBelow("N = 12\xc2\xa0"
                        "345"),
               12345},
        Layout{"CountGroupedByAThinSpace",
               AbcBelow("(obs=12\xe2\x80\x89"
                        "345)"),
               12345},
        Layout{"CountGroupedByTheGroupSeparator", AbcBelow("N = 12,345"), 12345},
        Layout{"CountInADecimalCommaLocale", AbcBelow("N = 12.345"), 12345, "", "", {",", "."}},
        Layout{"CountWithAFractionIsNone", AbcBelow("N = 12.345"), 0},
        Layout{"SampleSizeAboveRsPrintOfIt", AbcBelow("Sample Size\n[1] 30"), 30},
        Layout{"CountsInAMatrixOfTheirOwn",
               AbcBelow("") + "n\n   a  b  c\na  30 28 29\nb  28 30 30\nc  29 30 30\n", 28,
               "The text holds 2 matrices; the first is read."},
        Layout{"LabelOverTheColumnOfNames",
               "Correlation Matrix\nVariable\ta\tb\tc\na\t1\t.5\t.25\nb\t.5\t1\t.125\n"
               "c\t.25\t.125\t1\nNote. Pearson's r\n"},
        Layout{"KendallAboveSpearman",
               "Correlations\n\t\t\ta\tb\tc\n"
               "Kendall's tau_b\ta\tCorrelation Coefficient\t1.000\t.500\t.250\n\t\tN\t30\t30\t30\n"
               "\tb\tCorrelation Coefficient\t.500\t1.000\t.125\n\t\tN\t30\t30\t30\n"
               "\tc\tCorrelation Coefficient\t.250\t.125\t1.000\n\t\tN\t30\t30\t30\n"
               "Spearman's rho\ta\tCorrelation Coefficient\t1.000\t.600\t.300\n"
               "\tb\tCorrelation Coefficient\t.600\t1.000\t.200\n"
               "\tc\tCorrelation Coefficient\t.300\t.200\t1.000\n",
               30, "The text holds 2 matrices; the first, Kendall's tau_b, is read."},
        Layout{"ReliabilitiesOnTheDiagonal",
               ".79 .5 .25\n.5 .88 .125\n.25 .125 .8\n",
               0,
               std::string("Its diagonal holds 0,79 to 0,88") + kDiagonalNote,
               "",
               {",", "."}},
        Layout{"CountsOnTheDiagonal", "30 .5 .25\n.5 30 .125\n.25 .125 30\n", 0,
               std::string("Its diagonal holds 30") + kDiagonalNote},
        Layout{"PartialCorrelations",
               "Correlations\nControl Variables\t\t\ta\tb\tc\n"
               "age\ta\tCorrelation\t1.000\t.500\t.250\n\t\tdf\t0\t27\t27\n"
               "\tb\tCorrelation\t.500\t1.000\t.125\n\t\tdf\t27\t0\t27\n"
               "\tc\tCorrelation\t.250\t.125\t1.000\n\t\tdf\t27\t27\t0\n",
               0, "",
               "This is a table of partial correlations, controlling for age: Trolvane needs "
               "the correlations themselves."},
        Layout{"ColumnsLeftOut",
               "     a    b  ...    y    z\na  1.0  0.5  ...  0.1  0.2\n"
               "b  0.5  1.0  ...  0.1  0.2\n\n[26 rows x 26 columns]\n",
               0, "", "The table leaves columns out at \"...\": copy it whole."},
        Layout{"BlockRowsInAnotherOrder",
               "   a    b\na  1    .5\nb  .5   1\nc  .25  .125\n     c\na  .25\nc  1\nb  .125\n", 0,
               "",
               "Line 7 has a row for c where the first block of columns has b: each block of a "
               "table printed in blocks of columns has the rows of the first, in order."},
        Layout{"BlockNotContinuingTheNames",
               "   a    b\na  1    .5\nb  .5   1\nc  .25  .125\n     d\na  .25\nb  .125\nc  1\n", 0,
               "",
               "Line 5 has a block of columns for d where the rows have c: the blocks of a table "
               "printed in blocks of columns name the variables of its rows, in order."},
        Layout{"NotSymmetricAcrossBlocks",
               "   a    b\na  1    .5\nb  .5   1\nc  .4   .125\n     c\na  .25\nb  .125\nc  1\n", 0,
               "",
               "The matrix is not symmetric: line 4, column 2 holds .4, but line 6, column 2 "
               "holds .25."},
        Layout{"BlockWithARowMissing",
               "   a    b\na  1    .5\nb  .5   1\nc  .25  .125\n     c\na  .25\nb  .125\n", 0, "",
               "The block of columns at line 5 has rows for 2 of the 3 variables: each block of a "
               "table printed in blocks of columns has the rows of the first."}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace trolvane
