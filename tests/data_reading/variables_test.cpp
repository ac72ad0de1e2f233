// How texts of data are read: the shapes of printed matrices, raw data with its
// separators, names, missing values and left-out columns, and every refusal.
#include <gtest/gtest.h>

#include <string>

#include "data_reading/summary.h"
#include "data_reading/variables.h"

namespace trolvane {
namespace {

struct Reading {
    const char* what;
    std::string text;
    DataKind kind;
    std::vector<std::string> names;
    // r12, the correlation of the first two variables.
    double r12;
    long long cases = 0;
    long long incompleteCases = 0;
    std::vector<LeftOutColumn> leftOut = {};
    NumberFormat format = {};
};

void PrintTo(const Reading& reading, std::ostream* out) {
    *out << reading.what;
}

class ReadsAs : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadsAs, TheVariablesItHolds) {
    const Reading& expected = GetParam();
    const Variables read = ReadVariables(expected.text, expected.format);
    EXPECT_EQ(read.kind, expected.kind);
    EXPECT_EQ(read.names, expected.names);
    EXPECT_EQ(read.count, 3);
    EXPECT_NEAR(read.correlations[1], expected.r12, 1e-12);
    EXPECT_EQ(read.correlations[3], read.correlations[1]);
    EXPECT_EQ(read.cases, expected.cases);
    EXPECT_EQ(read.incompleteCases, expected.incompleteCases);
    EXPECT_EQ(read.leftOut, expected.leftOut);
}

// The text as Windows saves "Unicode text": UTF-16, little-endian, with its mark.
std::string Utf16(std::string_view ascii) {
    std::string text = "\xff\xfe";
    for (const char c : ascii) {
        text += c;
        text += '\0';
    }
    return text;
}

const std::vector<std::string> kAbc = {"a", "b", "c"};
// r12 of the raw data below, from its five complete cases.
constexpr double kRawR12 = 0.9886862847262688;

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadsAs,
    ::testing::Values(
        Reading{"FullMatrixAsRPrintsIt",
                "      a     b     c\na  1.000 0.500 0.250\nb  0.500 1.000 0.125\n"
                "c  0.250 0.125 1.000\n",
                DataKind::CorrelationMatrix, kAbc, 0.5},
        Reading{"RowNumbersUnderAHeader", "a b c\n1 1 .5 .25\n2 .5 1 .125\n3 .25 .125 1\n",
                DataKind::CorrelationMatrix, kAbc, 0.5},
        Reading{"LowerTriangleWithBlanks",
                "\ta\tb\tc\r\na\t1\t\t\r\nb\t.5\t1\t\r\nc\t.25\t.125\t1\r\n",
                DataKind::CorrelationMatrix, kAbc, 0.5},
        Reading{"LowerTriangleBySpaces",
                "1\n0.5 1\n0.25 0.125 1\n",
                DataKind::CorrelationMatrix,
                {},
                0.5},
        Reading{"UpperTriangleBySpaces", "a 1 0.5 0.25\nb 1 0.125\nc 1\n",
                DataKind::CorrelationMatrix, kAbc, 0.5},
        Reading{"UpperTriangleWithBlanks",
                "1;0,5;0,25\n;1;0,125\n;;1\n",
                DataKind::CorrelationMatrix,
                {},
                0.5},
        Reading{"Covariances", "4 2 1\n2 9 0\n1 0 1\n", DataKind::CovarianceMatrix, {}, 2.0 / 6.0},
        Reading{"RawDataWithNamesMissingValuesAndCaseNumbers",
                "id,name,a,b,c\n1,x,1,2,3\n2,y,2,4,1\n3,z,3,7,4\n4,w,4,NA,2\n5,v,5,10,5\n"
                "6,u,6,13,.\n7,t,8,14,6\n",
                DataKind::RawData,
                kAbc,
                kRawR12,
                5,
                2,
                {{"id", "case numbers"}, {"name", "no numbers"}}},
        Reading{"RowNamesUnderAHeaderOneShort",
                "a b c\n\"case one\" 1 2 3\ntwo 2 4 1\nthree 3 7 4\nfour 4 NaN 2\nfive 5 10 5\n"
                "six 6 13 \"\"\nseven 8 14 6\n",
                DataKind::RawData,
                kAbc,
                kRawR12,
                5,
                2,
                {{"column 1", "no numbers"}}},
        // Cases and columns named as a table's rows are no table.
        Reading{"CasesNamedAsRowsOfATable",
                "a b c\np 1 2 3\nN 2 4 1\nSig. 3 7 4\ndf 4 NaN 2\nfive 5 10 5\nsix 6 13 \"\"\n"
                "seven 8 14 6\n",
                DataKind::RawData,
                kAbc,
                kRawR12,
                5,
                2,
                {{"column 1", "no numbers"}}},
        Reading{"CaseNamesWithSpacesBetweenCommas",
                "name,a,b,c\ncase 1,1,2,3\ncase 2,2,4,1\ncase 3,3,7,4\ncase 4,4,NA,2\n"
                "case 5,5,10,5\ncase 6,6,13,.\ncase 7,8,14,6\n",
                DataKind::RawData,
                kAbc,
                kRawR12,
                5,
                2,
                {{"name", "no numbers"}}},
        Reading{"ColumnsNamedAsRowsOfATable",
                ",N,p,df\n1,1,2,3\n2,2,4,1\n3,3,7,4\n4,4,NA,2\n5,5,10,5\n6,6,13,.\n7,8,14,6\n",
                DataKind::RawData,
                {"N", "p", "df"},
                kRawR12,
                5,
                2,
                {{"column 1", "case numbers"}}},
        Reading{"SemicolonsAndDecimalCommas",
                "a;b;c\n0,1;0,2;0,3\n0,2;0,4;0,1\n0,3;0,7;0,4\n0,4;;0,2\n0,5;1;0,5\n0,6;1,3;\n"
                "0,8;1,4;0,6\n",
                DataKind::RawData, kAbc, kRawR12, 5, 2},
        Reading{"SpacesAndTheUsersDecimalComma",
                "a b c\n0,1 0,2 0,3\n0,2 0,4 0,1\n0,3 0,7 0,4\n0,4 NA 0,2\n0,5 1 0,5\n0,6 1,3 NA\n"
                "0,8 1,4 0,6\n",
                DataKind::RawData,
                kAbc,
                kRawR12,
                5,
                2,
                {},
                {",", "."}},
        Reading{"Utf16WithByteOrderMark", Utf16("a,b,c\n1,.5,1\n1,1,0\n0,1,1\n1,0,1\n"),
                DataKind::RawData, kAbc, -0.5222329678670935, 4, 0}),
    [](const auto& info) { return std::string(info.param.what); });

struct Refusal {
    const char* what;
    std::string text;
    std::string message;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.what;
}

class IsRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(IsRefused, WithAMessageThatSaysWhy) {
    try {
        Summarise(ReadVariables(GetParam().text, {}), {});
        ADD_FAILURE() << "read";
    } catch (const DataRefusal& refusal) {
        EXPECT_EQ(refusal.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IsRefused,
    ::testing::Values(
        Refusal{"Empty", " \r\n\t\n",
                "There is nothing to read: paste or open a correlation matrix, a covariance "
                "matrix or raw data."},
        Refusal{"NoNumbers", "name\nx\ny\n", "The text holds no numbers."},
        Refusal{"Words", "hello world", "The text holds no numbers."},
        Refusal{"OneVariable", "a\n5\n2\n3\n",
                "The text holds only one variable: correlations need two or more, as columns of "
                "raw data or the rows of a matrix."},
        Refusal{"NotPositiveDefinite", "1 0.9 -0.9\n0.9 1 0.9\n-0.9 0.9 1\n",
                "The correlation matrix is not positive definite: its smallest eigenvalue is "
                "-0.8. Variables that are sums or copies of others do this, and so do "
                "correlations from pairwise deletion or typed wrongly."},
        Refusal{"ConstantColumn", "a,b,c\n1,2,5\n2,1,5\n3,3,5\n4,5,5\n",
                "Variable c is constant: every complete case holds the same value, so it has no "
                "correlations."},
        Refusal{"TooFewCases", "a,b,c\n1,2,3\n2,1,NA\n3,3,1\n5,1,2\n4,NA,1\n",
                "The data have 3 complete cases of 3 variables: correlations of 3 variables "
                "need at least 4."},
        Refusal{"MatrixWithAMissingCell", "1 .5 .2\n.5 1 .1\n.2 1\n",
                "Line 3, column 3 of the matrix holds no number."},
        Refusal{"MatrixWithAWord", "x 1 .5 .2\ny .5 1 .1\nz .2 one 1\n",
                "Line 3, column 3 of the matrix holds \"one\", which is not a number."},
        Refusal{"AsymmetricMatrix", "1 .5 .2\n.5 1 .1\n.3 .1 1\n",
                "The matrix is not symmetric: line 3, column 1 holds .3, but line 1, column 3 "
                "holds .2."},
        Refusal{"WordInRawData", "a,b\n1,2\n2,x\n3,1\n4,4\n",
                "Line 3, column 2 holds \"x\", which is neither a number nor a missing value "
                "(empty, NA, NaN or .)."},
        Refusal{"LineLongerThanTheHeader", "a,b\n1,2\n2,1,3\n3,1\n4,4\n",
                "Line 3 has 3 fields, more than the 2 names of the header."},
        Refusal{"Binary", std::string("PK\3\4\0\0\x14\0", 8),
                "This is not a text of data: it holds bytes no text has (a spreadsheet or other "
                "binary file, say). Save the data as CSV or text, then open that."}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(RefusalForFileSize, RefusesFilesOverAGigabyte) {
    EXPECT_EQ(RefusalForFileSize(kLargestDataFile), "");
    EXPECT_EQ(RefusalForFileSize(kLargestDataFile + 1),
              "The file has 1024 MB, too many for a table of data: Trolvane reads files of up "
              "to 1024 MB.");
}

TEST(IsPastedMatrix, TakesMatricesOfThreeOrMoreVariablesOnly) {
    EXPECT_TRUE(IsPastedMatrix("1\t.5\t.2\n.5\t1\t.1\n.2\t.1\t1\n", {}));
    EXPECT_FALSE(IsPastedMatrix("1\t.5\n.5\t1\n", {}));
    EXPECT_FALSE(IsPastedMatrix("Eigenvalue\n2\n1\n0.6\n", {}));
    EXPECT_FALSE(IsPastedMatrix("1\t2.1\t50\n2\t1.2\t30\n3\t0.7\t17.5\n", {}));
}

}  // namespace
}  // namespace trolvane
