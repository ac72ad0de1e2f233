// The results as they leave the window: the copied table and report sentence,
// the saved CSV, and what Trolvane says about itself.
#include <gtest/gtest.h>

#include <functional>

#include "form/about.h"
#include "form/results.h"
#include "form/window_logic.h"

namespace trolvane {
namespace {

const NumberFormat kDecimalComma{",", "."};

// The worked example: 4 variables, n = 50, det(R) = 0.48, eigenvalues 2, 1,
// 0.6 and 0.4, then Start and Test; decimals typed with the user's separator.
FormState WorkedExample(const NumberFormat& format, const std::string& det = "0.48") {
    FormState form{format};
    const auto typed = [&](std::string text) {
        for (char& c : text) {
            c = c == '.' ? format.decimal.front() : c;
        }
        return text;
    };
    for (const auto& [box, text] : {std::pair{Control::v, "4"},
                                    {Control::n, "50"},
                                    {Control::det, det.c_str()},
                                    {Control::f, "4"}}) {
        EditBox(form, {box}, typed(text));
    }
    PressStart(form);
    for (const auto& [k, text] : {std::pair{1, "2"}, {2, "1"}, {3, "0.6"}, {4, "0.4"}}) {
        EditBox(form, {Control::eigen, k}, typed(text));
    }
    PressTest(form);
    return form;
}

// The report sentence: the last paragraph of the copied text.
std::string Sentence(const FormState& form) {
    const std::optional<CopiedResults> copied = CopyResults(form);
    if (!copied) {
        return "(nothing copied)";
    }
    const std::size_t start = copied->plainText.find("\n\n");
    return start == std::string::npos ? "" : copied->plainText.substr(start + 2);
}

struct SentenceCase {
    const char* what;
    std::function<FormState()> form;
    std::string sentence;
};

void PrintTo(const SentenceCase& c, std::ostream* out) {
    *out << c.what;
}

class ReportSentence : public ::testing::TestWithParam<SentenceCase> {};

TEST_P(ReportSentence, IsWritten) {
    EXPECT_EQ(Sentence(GetParam().form()), GetParam().sentence);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ReportSentence,
    ::testing::Values(
        SentenceCase{"WorkedExample", [] { return WorkedExample({}); },
                     "Bartlett's test for the next component (p = 4 variables, n = 50, det(R) = "
                     "0.48): after 1 component, χ²(5) = 9.73, p = .083; after 2 components, "
                     "χ²(2) = 1.86, p = .395; after 3 components no degrees of freedom remain.\n"},
        SentenceCase{"DecimalComma", [] { return WorkedExample(kDecimalComma); },
                     "Bartlett's test for the next component (p = 4 variables, n = 50, det(R) = "
                     "0,48): after 1 component, χ²(5) = 9,73, p = ,083; after 2 components, "
                     "χ²(2) = 1,86, p = ,395; after 3 components no degrees of freedom remain.\n"},
        SentenceCase{"OutOfDateRowsLeftOut",
                     [] {
                         FormState form = WorkedExample({});
                         EditBox(form, {Control::eigen, 2}, "1.1");
                         return form;
                     },
                     "Bartlett's test for the next component (p = 4 variables, n = 50, det(R) = "
                     "0.48): after 1 component, χ²(5) = 9.73, p = .083.\n"},
        SentenceCase{"ImpossibleRowsLeftOut", [] { return WorkedExample({}, "0.9"); }, ""},
        SentenceCase{
            "FromUnchangedData",
            [] {
                FormState form = WorkedExample({});
                form.fromData = DataOrigin{"4", "0.48", "50", {"2", "1", "0.6", "0.4"}, 0.9034};
                return form;
            },
            "Kaiser-Meyer-Olkin measure = .903; Bartlett's test of sphericity, χ²(6) = "
            "34.37, p < .001. Bartlett's test for the next component (p = 4 variables, "
            "n = 50, det(R) = 0.48): after 1 component, χ²(5) = 9.73, p = .083; after 2 "
            "components, χ²(2) = 1.86, p = .395; after 3 components no degrees of freedom "
            "remain.\n"},
        SentenceCase{"NoRowsNothingCopied", [] { return FormState{NumberFormat{}}; },
                     "(nothing copied)"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(CopyResults, MarksRowsInTheTableAndGivesItAsHtmlToo) {
    FormState form = WorkedExample({});
    EditBox(form, {Control::eigen, 2}, "1.1");
    const std::optional<CopiedResults> copied = CopyResults(form);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->plainText,
              "Components kept\tEigenvalue\tChi-square\tdf\tExact p\tResult\tNote\n"
              "1\t2\t9.728\t5\t0.08331\t X²(5)= 9.728 p > .05\t\n"
              "2\t1.1\t1.857\t2\t0.3951\t X²(2)= 1.857 p > .05\tout of date\n"
              "3\t0.6\t\t0\t\t X² has df = 0\tout of date\n"
              "\n"
              "Bartlett's test for the next component (p = 4 variables, n = 50, det(R) = 0.48): "
              "after 1 component, χ²(5) = 9.73, p = .083.\n");
    EXPECT_EQ(copied->html,
              "<meta charset=\"utf-8\"><table>\n"
              "<tr><th>Components kept</th><th>Eigenvalue</th><th>Chi-square</th><th>df</th>"
              "<th>Exact p</th><th>Result</th><th>Note</th></tr>\n"
              "<tr><td>1</td><td>2</td><td>9.728</td><td>5</td><td>0.08331</td>"
              "<td> X²(5)= 9.728 p &gt; .05</td><td></td></tr>\n"
              "<tr><td>2</td><td>1.1</td><td>1.857</td><td>2</td><td>0.3951</td>"
              "<td> X²(2)= 1.857 p &gt; .05</td><td>out of date</td></tr>\n"
              "<tr><td>3</td><td>0.6</td><td></td><td>0</td><td></td>"
              "<td> X² has df = 0</td><td>out of date</td></tr>\n"
              "</table>\n"
              "<p>Bartlett's test for the next component (p = 4 variables, n = 50, det(R) = "
              "0.48): after 1 component, χ²(5) = 9.73, p = .083.</p>\n");
}

// Past 30 df the caption shows z; the table still gives the chi-square and its
// exact p, as the row's note does.
TEST(CopyResults, GivesTheChiSquareWhereTheCaptionShowsZ) {
    FormState form{NumberFormat{}};
    for (const auto& [box, text] : {std::pair{Control::v, "40"},
                                    {Control::n, "200"},
                                    {Control::det, "0.001"},
                                    {Control::f, "1"}}) {
        EditBox(form, {box}, text);
    }
    PressStart(form);
    EditBox(form, {Control::eigen, 1}, "5");
    PressTest(form);
    ASSERT_EQ(form.test(1).caption.substr(0, 8), " t(779)=");
    const std::optional<CopiedResults> copied = CopyResults(form);
    ASSERT_TRUE(copied);
    const std::string row = copied->plainText.substr(copied->plainText.find("\n1\t") + 1);
    const std::string note = form.test(1).exactP;  // "Exact p = P (chi-square X on 779 df)"
    const std::string p = note.substr(10, note.find(' ', 10) - 10);
    const std::string chisq = note.substr(note.find("chi-square ") + 11);
    EXPECT_EQ(row.substr(0, row.find("\t t(")),
              "1\t5\t" + chisq.substr(0, chisq.find(' ')) + "\t779\t" + p);
}

struct CsvCase {
    const char* what;
    NumberFormat format;
    std::string det;
    std::string csv;
};

void PrintTo(const CsvCase& c, std::ostream* out) {
    *out << c.what;
}

class SavedCsv : public ::testing::TestWithParam<CsvCase> {};

TEST_P(SavedCsv, IsWhatTheUsersSpreadsheetReads) {
    EXPECT_EQ(ResultsCsv(WorkedExample(GetParam().format, GetParam().det)), GetParam().csv);
}

INSTANTIATE_TEST_SUITE_P(
    Results, SavedCsv,
    ::testing::Values(
        CsvCase{"CommasAndQuotedSentences",
                {},
                "0.9",
                "\xEF\xBB\xBFNumber of Variables,4\r\nSample size,50\r\nDeterminant of R,0.9\r\n"
                "Components kept,Eigenvalue,Chi-square,df,Exact p,Result,Note\r\n"
                "1,2,-19.293,5,1, X²(5)= -19.293 p > .05,\"Determinant of R is too large for these "
                "eigenvalues, which makes the statistic negative.\"\r\n"
                "2,1,-26.745,2,1, X²(2)= -26.745 p > .05,\"Determinant of R is too large for these "
                "eigenvalues, which makes the statistic negative.\"\r\n"
                "3,0.6,,0,, X² has df = 0,\"Determinant of R is too large for these eigenvalues, "
                "which makes the statistic negative.\"\r\n"},
        CsvCase{"SemicolonsWithDecimalCommas", kDecimalComma, "0.48",
                "\xEF\xBB\xBFNumber of Variables;4\r\nSample size;50\r\nDeterminant of R;0,48\r\n"
                "Components kept;Eigenvalue;Chi-square;df;Exact p;Result;Note\r\n"
                "1;2;9,728;5;0,08331; X²(5)= 9,728 p > .05;\r\n"
                "2;1;1,857;2;0,3951; X²(2)= 1,857 p > .05;\r\n"
                "3;0,6;;0;; X² has df = 0;\r\n"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(SavedCsvWithoutRows, IsNone) {
    EXPECT_FALSE(ResultsCsv(FormState{NumberFormat{}}));
}

// The version comes from the build, as --version and About show it.
TEST(About, NamesTheVersionTheBuildGives) {
    EXPECT_EQ(NameAndVersion(), "Trolvane 0.1.0");
}

}  // namespace
}  // namespace trolvane
