// The results as they leave the window: the copied table with its report
// sentence, and the saved CSV.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>

#include "form/results.h"
#include "form/window_logic.h"

namespace trolvane {
namespace {

const NumberFormat kDecimalComma{",", "."};

// The window after typing v, n, det and f, Start, the eigenvalues and Test;
// decimals typed with the user's separator.
FormState Tested(const NumberFormat& format, const std::vector<std::string>& inputs,
                 const std::vector<std::string>& eigenvalues) {
    FormState form{format};
    const auto typed = [&](std::string text) {
        std::replace(text.begin(), text.end(), '.', format.decimal.front());
        return text;
    };
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        EditBox(form, {std::array{Control::v, Control::n, Control::det, Control::f}[i]},
                typed(inputs[i]));
    }
    PressStart(form);
    for (std::size_t k = 1; k <= eigenvalues.size(); ++k) {
        EditBox(form, {Control::eigen, static_cast<int>(k)}, typed(eigenvalues[k - 1]));
    }
    PressTest(form);
    return form;
}

FormState WorkedExample(const NumberFormat& format, const std::string& det = "0.48") {
    return Tested(format, {"4", "50", det, "4"}, {"2", "1", "0.6", "0.4"});
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

// The sentence is the copied text's last paragraph, where there is one.
TEST_P(ReportSentence, IsWritten) {
    const std::optional<CopiedResults> copied = CopyResults(GetParam().form());
    ASSERT_TRUE(copied);
    const std::size_t start = copied->plainText.find("\n\n");
    EXPECT_EQ(start == std::string::npos ? "" : copied->plainText.substr(start + 2),
              GetParam().sentence);
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
        // Past 30 df the caption shows z; the report gives the chi-square.
        SentenceCase{"LargeDf",
                     [] {
                         return Tested({}, {"40", "200", "0.001", "1"}, {"5"});
                     },
                     "Bartlett's test for the next component (p = 40 variables, n = 200, det(R) = "
                     "0.001): after 1 component, χ²(779) = 791.34, p = .372.\n"}),
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

TEST(ResultsCsv, IsWhatTheUsersSpreadsheetReads) {
    EXPECT_EQ(ResultsCsv(WorkedExample({}, "0.9")),
              "\xEF\xBB\xBFNumber of Variables,4\r\nSample size,50\r\nDeterminant of R,0.9\r\n"
              "Components kept,Eigenvalue,Chi-square,df,Exact p,Result,Note\r\n"
              "1,2,-19.293,5,1, X²(5)= -19.293 p > .05,\"Determinant of R is too large for these "
              "eigenvalues, which makes the statistic negative.\"\r\n"
              "2,1,-26.745,2,1, X²(2)= -26.745 p > .05,\"Determinant of R is too large for these "
              "eigenvalues, which makes the statistic negative.\"\r\n"
              "3,0.6,,0,, X² has df = 0,\"Determinant of R is too large for these eigenvalues, "
              "which makes the statistic negative.\"\r\n");
    EXPECT_EQ(ResultsCsv(WorkedExample(kDecimalComma)),
              "\xEF\xBB\xBFNumber of Variables;4\r\nSample size;50\r\nDeterminant of R;0,48\r\n"
              "Components kept;Eigenvalue;Chi-square;df;Exact p;Result;Note\r\n"
              "1;2;9,728;5;0,08331; X²(5)= 9,728 p > .05;\r\n"
              "2;1;1,857;2;0,3951; X²(2)= 1,857 p > .05;\r\n"
              "3;0,6;;0;; X² has df = 0;\r\n");
}

TEST(Results, AreNoneWithoutARowToGive) {
    const FormState form{NumberFormat{}};
    EXPECT_FALSE(CopyResults(form));
    EXPECT_FALSE(ResultsCsv(form));
}

}  // namespace
}  // namespace trolvane
