// Correlation tables as statistics programs print them, made from R's attitude,
// swiss and Harman74.cor data: the matrix, names and sample size each gives,
// against R's det and eigen of the printed digits, and the tables refused.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "data_reading/summary.h"

namespace trolvane {
namespace {

struct Layout {
    const char* what;
    std::string text;
    std::vector<std::string> names;
    long long cases;
    bool casesDiffer;
    // r21, r31 and r32 as printed, then R's det and eigenvalues of that matrix.
    std::array<double, 3> lower;
    double determinant;
    std::array<double, 3> eigenvalues;
};

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << layout.what;
}

class TableReadsAs : public ::testing::TestWithParam<Layout> {};

TEST_P(TableReadsAs, ThePrintedMatrix) {
    const Layout& expected = GetParam();
    const DataSummary summary = Summarise(ReadVariables(expected.text, {}), {});
    const Variables& read = summary.variables;
    EXPECT_EQ(read.kind, DataKind::CorrelationMatrix);
    EXPECT_EQ(read.names, expected.names);
    EXPECT_EQ(read.cases, expected.cases);
    EXPECT_EQ(read.casesDiffer, expected.casesDiffer);
    ASSERT_EQ(read.count, 3);
    const std::array<double, 3> lower = {read.correlations[3], read.correlations[6],
                                         read.correlations[7]};
    EXPECT_EQ(lower, expected.lower);
    EXPECT_NEAR(summary.determinant, expected.determinant, 1e-14);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(summary.eigenvalues[i], expected.eigenvalues[i], 1e-14);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, TableReadsAs,
    ::testing::Values(
        Layout{"TitleLabelColumnSignificanceBlockAndFootnote",
               "Correlation Matrix(a)\n\t\tVisualPerception\tCubes\tPaperFormBoard\n"
               "Correlation\tVisualPerception\t1.000\t.318\t.403\n\tCubes\t.318\t1.000\t.317\n"
               "\tPaperFormBoard\t.403\t.317\t1.000\n"
               "Sig. (1-tailed)\tVisualPerception\t\t.000\t.000\n\tCubes\t.000\t\t.000\n"
               "\tPaperFormBoard\t.000\t.000\t\na. Determinant = 7.17E-01\n",
               {"VisualPerception", "Cubes", "PaperFormBoard"},
               0,
               false,
               {0.318, 0.403, 0.317},
               0.71722763599999995,
               {1.6936533120058446, 0.7093499588603176, 0.59699672913383894}},
        Layout{
            "StarsSignificanceAndNRows",
            "Correlations\n\t\tFertility\tAgriculture\tExamination\n"
            "Fertility\tPearson Correlation\t1\t.353*\t-.646**\n\tSig. (2-tailed)\t\t.015\t.000\n"
            "\tN\t47\t47\t47\nAgriculture\tPearson Correlation\t.353*\t1\t-.687**\n"
            "\tSig. (2-tailed)\t.015\t\t.000\n\tN\t47\t47\t47\n"
            "Examination\tPearson Correlation\t-.646**\t-.687**\t1\n"
            "\tSig. (2-tailed)\t.000\t.000\t\n\tN\t47\t47\t47\n"
            "**. Correlation is significant at the 0.01 level (2-tailed).\n",
            {"Fertility", "Agriculture", "Examination"},
            47,
            false,
            {0.353, -0.646, -0.687},
            0.29943021199999992,
            {2.1356864512526075, 0.64792566307394994, 0.21638788567344111}},
        Layout{"CountsThatDifferBetweenPairs",
               "\t\trating\tcomplaints\traises\nrating\tPearson Correlation\t1\t.831**\t.595**\n"
               "\tN\t28\t28\t27\ncomplaints\tPearson Correlation\t.831**\t1\t.663**\n"
               "\tN\t28\t30\t29\nraises\tPearson Correlation\t.595**\t.663**\t1\n"
               "\tN\t27\t29\t29\n",
               {"rating", "complaints", "raises"},
               27,
               true,
               {0.831, 0.595, 0.663},
               0.17147907000000001,
               {2.39759472535123, 0.43977297236336849, 0.16263230228540151}},
        Layout{
            "NumberedRowsDashesAndPValueRows",
            "Correlation Matrix\n\t\trating\tcomplaints\tprivileges\n"
            "1. rating\tPearson's r\t\xe2\x80\x94\t\t\n\tp-value\t\xe2\x80\x94\t\t\n"
            "2. complaints\tPearson's r\t0.825\t\xe2\x80\x94\t\n\tp-value\t< .001\t\xe2\x80\x94\t\n"
            "3. privileges\tPearson's r\t0.426\t0.558\t\xe2\x80\x94\n"
            "\tp-value\t.019\t.001\t\xe2\x80\x94\nNote. * p < .05, ** p < .01, *** p < .001\n",
            {"rating", "complaints", "privileges"},
            0,
            false,
            {0.825, 0.426, 0.558},
            0.21875320000000006,
            {2.2224230375494813, 0.61841086243237176, 0.15916610001814643}},
        Layout{
            "ConsoleTableWithCutNames",
            ". correlate Fertility Agriculture Examination\n(obs=47)\n\n"
            "             | Fertil~y Agricu~e Examin~n\n-------------+---------------------------\n"
            "   Fertility |   1.0000\n Agriculture |   0.3531   1.0000\n"
            " Examination |  -0.6459  -0.6865   1.0000\n",
            {"Fertility", "Agriculture", "Examination"},
            47,
            false,
            {0.3531, -0.6459, -0.6865},
            0.29998771917,
            {2.1353241761242789, 0.64780932844314809, 0.21686649543257247}},
        Layout{"ListingWithUnnamedPValueRows",
               "       Pearson Correlation Coefficients, N = 30\n"
               "              Prob > |r| under H0: Rho=0\n\n"
               "                 rating    complaints    privileges\n\n"
               "  rating        1.00000       0.82542       0.42612\n"
               "                               <.0001        0.0189\n\n"
               "  complaints    0.82542       1.00000       0.55829\n"
               "                 <.0001                      0.0013\n\n"
               "  privileges    0.42612       0.55829       1.00000\n"
               "                 0.0189        0.0013\n",
               {"rating", "complaints", "privileges"},
               30,
               false,
               {0.82542, 0.42612, 0.55829},
               0.21814826228923206,
               {2.2229916293541843, 0.6182926985197138, 0.15871567212610152}}),
    [](const auto& info) { return std::string(info.param.what); });

struct TableRefusal {
    const char* what;
    std::string text;
    std::string message;
};

void PrintTo(const TableRefusal& refusal, std::ostream* out) {
    *out << refusal.what;
}

class TableIsRefused : public ::testing::TestWithParam<TableRefusal> {};

TEST_P(TableIsRefused, WithItsReason) {
    try {
        ReadVariables(GetParam().text, {});
        ADD_FAILURE() << "read";
    } catch (const DataRefusal& refusal) {
        EXPECT_EQ(refusal.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    NotSquare, TableIsRefused,
    ::testing::Values(
        TableRefusal{"ARowMissing",
                     "Correlations\n\t\ta\tb\tc\na\tPearson Correlation\t1\t.5*\t.2\n"
                     "\tN\t30\t30\t30\nb\tPearson Correlation\t.5*\t1\t.1\n\tN\t30\t30\t30\n",
                     "The table's header names 3 variables, but rows of correlations follow for 2 "
                     "of them: a correlation matrix has a row for each variable."},
        TableRefusal{"ARowWiderThanTheHeader",
                     "Correlation Matrix\n\t\ta\tb\tc\nCorrelation\ta\t1\t.5\t.2\t.3\n",
                     "Line 3 has 4 correlations, more than the 3 variables the table's header "
                     "names."},
        TableRefusal{"MoreRowsThanTheHeaderNames",
                     "     |  a  b  c\n-----+---------\n  a  |  1\n  b  | .5  1\n  c  | .2 .1  1\n"
                     "  d  | .3 .2 .1\n",
                     "Line 6 has a row of correlations for d, a variable the table's header does "
                     "not name: a correlation matrix has a column for each variable."},
        TableRefusal{"NotSymmetric",
                     "Correlation Matrix\n\t\ta\tb\tc\nCorrelation\ta\t1.000\t.500\t.200\n"
                     "\tb\t.501\t1.000\t.100\n\tc\t.200\t.100\t1.000\n",
                     "The matrix is not symmetric: line 4, column 3 holds .501, but line 3, "
                     "column 4 holds .500."}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(SummaryLines, GiveATablesSampleSizeAndSphericity) {
    const std::string table =
        "\t\ta\tb\tc\na\tr\t1\t.5\t.2\n\tN\t30\t28\t29\nb\tr\t.5\t1\t.1\n\tN\t28\t30\t30\n"
        "c\tr\t.2\t.1\t1\n\tN\t29\t30\t30\n";
    const std::vector<std::string> lines =
        SummaryLines(Summarise(ReadVariables(table, {}), {}), {});
    EXPECT_EQ(lines[0],
              "Correlation matrix of 3 variables, at least 28 cases (counts differ "
              "between pairs)");
    EXPECT_EQ(lines[3].rfind("Sphericity: exact p = ", 0), 0u) << lines[3];
}

}  // namespace
}  // namespace trolvane
