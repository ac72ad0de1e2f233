// What a paste into an eigenvalue box gives: the eigenvalues, each as pasted.
#include <gtest/gtest.h>

#include "form/paste.h"
#include "form/window_logic.h"

namespace trolvane {
namespace {

struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> eigenvalues;
    NumberFormat format = {};
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.what;
}

class PastedEigenvalues : public ::testing::TestWithParam<Case> {};

TEST_P(PastedEigenvalues, AreRead) {
    EXPECT_EQ(trolvane::PastedEigenvalues(GetParam().text, GetParam().format),
              GetParam().eigenvalues);
}

INSTANTIATE_TEST_SUITE_P(
    Pastes, PastedEigenvalues,
    ::testing::Values(
        Case{"ColumnWithHeader", "Eigenvalue\r\n2\r\n1\r\n0.6\r\n", {"2", "1", "0.6"}},
        Case{"BlankLinesSkipped", "2\n\n 1\n", {"2", " 1"}},
        Case{"OneLineOfCells", "1\t0.6\t\t0.4\t\t", {"1", "0.6", "", "0.4"}},
        Case{"VarianceTable",
             "Component\tTotal\t% of Variance\tCumulative %\n1\t2.345\t58.6\t58.6\n"
             "2\t1.1\t27.5\t86.1\n3\t0.555\t13.9\t100\n",
             {"2.345", "1.1", "0.555"}},
        Case{"GermanVarianceTable",
             "Komponente\tGesamt\t% der Varianz\tKumulierte %\n1\t2,345\t58,6\t58,6\n"
             "2\t1,1\t27,5\t86,1\n",
             {"2,345", "1,1"},
             {",", "."}},
        Case{"TableOfOneRow", "Component\tTotal\n1\t2.5\n", {"2.5"}},
        Case{"NoNumberAtAll", "a\nb", {"a", "b"}},
        Case{"TitleAboveTable",
             "Total Variance Explained\nComponent\tTotal\n1\t2.5\n2\t1.2\n",
             {"2.5", "1.2"}},
        Case{"RaggedLinesLoseNoNumber", "1.5\t1.2\r\n0.9", {"1.5", "1.2", "0.9"}},
        Case{"RaggedLinesKeepOnlyNumbers", "Eigenvalues\t2\n1\t\t0.6\nsum\n", {"2", "1", "0.6"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PasteIntoEigenvalueBox, RaggedLinesFillOneRowPerNumber) {
    FormState form{NumberFormat{}};
    EditBox(form, {Control::eigen, 3}, "1.5\t1.2\r\n0.9");
    for (const auto& [row, text] : {std::pair{3, "1.5"}, {4, "1.2"}, {5, "0.9"}}) {
        EXPECT_EQ(form.eigen(row).text, text) << "row " << row;
        EXPECT_TRUE(form.eigen(row).visible) << "row " << row;
    }
}

}  // namespace
}  // namespace trolvane
