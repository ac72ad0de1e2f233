// The data dialog without a window: what Use writes into the window, so that
// its rows read as if the numbers had been typed, and what it leaves alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "form/data_dialog.h"
#include "form/how_many.h"

namespace trolvane {
namespace {

// R's mtcars, mpg to hp: five cases of four variables, and a column of names.
constexpr char kCars[] =
    "car,mpg,cyl,disp,hp\nMazda RX4,21,6,160,110\nDatsun 710,22.8,4,108,93\n"
    "Hornet 4 Drive,21.4,6,258,110\nValiant,18.1,6,225,105\nDuster 360,14.3,8,360,245\n"
    "Merc 240D,24.4,4,146.7,62\n";
constexpr char kMatrix[] = "1 .5 .3 .2\n.5 1 .4 .1\n.3 .4 1 .25\n.2 .1 .25 1\n";

std::vector<std::string> Captions(const FormState& form) {
    std::vector<std::string> captions;
    for (const Label& label : form.testLabels) {
        captions.push_back(label.caption);
    }
    return captions;
}

TEST(UseData, FillsTheWindowAsIfTheNumbersHadBeenTyped) {
    const DataDialog dialog = OpenDataDialog(kCars, {",", "."});
    ASSERT_TRUE(dialog.usable()) << dialog.summary;
    FormState used{{",", "."}};
    ASSERT_FALSE(UseData(used, *dialog.reading));

    FormState typed{{",", "."}};
    for (const auto& [box, text] : {std::pair{Control::v, used.v.text},
                                    {Control::n, used.n.text},
                                    {Control::det, used.det.text},
                                    {Control::f, used.f.text}}) {
        EditBox(typed, {box}, text);
    }
    ASSERT_FALSE(PressStart(typed));
    for (int k = 1; k <= 3; ++k) {
        EditBox(typed, {Control::eigen, k}, used.eigen(k).text);
    }
    ASSERT_FALSE(PressTest(typed));

    EXPECT_EQ(used.v.text, "4");
    EXPECT_EQ(used.n.text, "6");
    EXPECT_EQ(used.f.text, "3");
    EXPECT_NE(used.test(1).caption, "");
    EXPECT_EQ(Captions(used), Captions(typed));
    EXPECT_EQ(used.test(1).exactP, typed.test(1).exactP);
    ASSERT_TRUE(UnchangedDataOrigin(used));
    EXPECT_EQ(UnchangedDataOrigin(used)->kmo, dialog.reading->kmo);
    EditBox(used, {Control::det}, used.det.text + "1");
    EXPECT_FALSE(UnchangedDataOrigin(used));
}

TEST(UseData, LeavesTheSampleSizeOfAMatrixToTheUser) {
    const DataDialog dialog = OpenDataDialog(kMatrix, {});
    FormState form{{}};
    EditBox(form, {Control::n}, "4");
    ASSERT_FALSE(UseData(form, *dialog.reading));
    EXPECT_EQ(form.n.text, "4");
    EXPECT_EQ(form.test(1).caption, "") << "no Test while n is not above p";
    ASSERT_TRUE(form.focus);
    EXPECT_EQ(form.focus->box, ControlId{Control::n});

    EditBox(form, {Control::n}, "100");
    ASSERT_FALSE(UseData(form, *dialog.reading));
    EXPECT_NE(form.test(1).caption, "");
}

TEST(UseData, WritesTheSampleSizeATableGivesAndRunsTest) {
    const DataDialog dialog = OpenDataDialog(
        "Pearson Correlation Coefficients, N = 30\n a b c d\na 1 .5 .3 .2\n  .0001 .1 .3\n"
        "b .5 1 .4 .1\nc .3 .4 1 .25\nd .2 .1 .25 1\n",
        {});
    ASSERT_TRUE(dialog.usable()) << dialog.summary;
    FormState form{{}};
    ASSERT_FALSE(UseData(form, *dialog.reading));
    EXPECT_EQ(form.n.text, "30");
    EXPECT_NE(form.test(1).caption, "");
    ASSERT_TRUE(UnchangedDataOrigin(form));
    EXPECT_EQ(UnchangedDataOrigin(form)->n, "30");
}

TEST(DataDialog, ShowsOnlyTheFirstLinesOfALongTextAndKeepsItFromEdits) {
    std::string text = "a,b\n";
    while (text.size() <= kLongestEditableText) {
        text += "1,2\n2,1\n3,5\n";
    }
    DataDialog dialog = OpenDataDialog(text, {});
    EXPECT_TRUE(dialog.usable()) << dialog.summary;
    EXPECT_FALSE(dialog.editable);
    EXPECT_EQ(std::count(dialog.shownText.begin(), dialog.shownText.end(), '\n'),
              kShownLinesOfLongText - 1);
    EditDataText(dialog, "x", {});
    EXPECT_EQ(dialog.text, text);
}

TEST(DataDialog, NamesAFileItCannotRead) {
    const DataDialog dialog = OpenDataFile("/nonexistent/data.csv", {});
    EXPECT_FALSE(dialog.usable());
    EXPECT_EQ(dialog.summary.rfind("Trolvane could not read data.csv: ", 0), 0u) << dialog.summary;
    // A folder dropped on the window is no file of data, however large it says it is.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trolvane folder";
    std::filesystem::create_directories(folder);
    const DataDialog dropped = OpenDataFile(folder, {});
    EXPECT_FALSE(dropped.usable());
    EXPECT_EQ(dropped.summary.rfind("Trolvane could not read trolvane folder: ", 0), 0u)
        << dropped.summary;
}

// Items scored 1 to 4 by 40 cases, the second and third following the first
// more or less closely, and where asked a column of ages, 40 distinct values.
std::string Items(bool withAge) {
    std::string text = withAge ? "q1,q2,q3,age\n" : "q1,q2,q3\n";
    for (int t = 0; t < 40; ++t) {
        const int q1 = 1 + t % 4;
        const int q2 = t % 5 == 0 ? 1 + (t + 1) % 4 : q1;
        const int q3 = 1 + (t * 3 + t / 4) % 4;
        text += std::to_string(q1) + "," + std::to_string(q2) + "," + std::to_string(q3);
        text += withAge ? "," + std::to_string(20 + t) + "\n" : "\n";
    }
    return text;
}

std::string FirstLines(const std::string& summary, int lines) {
    std::size_t end = 0;
    for (int line = 0; line < lines; ++line) {
        end = summary.find('\n', end + (line > 0 ? 1 : 0));
    }
    return summary.substr(0, end);
}

TEST(DataDialog, ChoosesPolychoricCorrelationsForRawDataOnly) {
    const NumberFormat format{",", "."};
    DataDialog dialog = OpenDataDialog(Items(false), format);
    ASSERT_TRUE(dialog.offersCorrelations());
    EXPECT_EQ(FirstLines(dialog.summary, 2),
              "Raw data: 40 cases of 3 variables\n"
              "Every variable holds whole numbers with at most 4 categories: polychoric "
              "correlations suit ordered categories (choose them under Correlations).");
    const std::string pearson = dialog.summary;
    ChooseCorrelations(dialog, CorrelationKind::Polychoric, format);
    ASSERT_TRUE(dialog.usable()) << dialog.summary;
    EXPECT_EQ(FirstLines(dialog.summary, 1),
              "Raw data: 40 cases of 3 variables, polychoric correlations");
    // A polychoric correlation is larger than Pearson's of the same items.
    const std::vector<double>& r = dialog.reading->variables.correlations;
    EXPECT_GT(r[1], dialog.variables->correlations[1]);
    // Use records the categories, which parallel analysis permutes.
    FormState form{format};
    UseData(form, *dialog.reading);
    ASSERT_TRUE(UnchangedDataOrigin(form));
    EXPECT_EQ(UnchangedDataOrigin(form)->categories, dialog.variables->categories);
    RandomDataSettings settings;
    settings.sets = 100;
    const RuleResults rules = *ComputeRules(*NumbersForRules(form), settings);
    EXPECT_NE(RuleLines(rules, format)
                  .front()
                  .find(" (95th percentile of 100 permuted data sets of 40 cases x 3 variables, "
                        "polychoric, seed 1)"),
              std::string::npos);
    EXPECT_EQ(RulesSentence(rules, format)
                  .find("Parallel analysis (100 permuted data sets, "
                        "polychoric correlations, 95th percentile) suggests"),
              0U);
    ChooseCorrelations(dialog, CorrelationKind::Pearson, format);
    EXPECT_EQ(dialog.summary, pearson);

    // A variable that cannot be ordered categories is named, Pearson's still there.
    DataDialog ages = OpenDataDialog(Items(true), format, CorrelationKind::Polychoric);
    EXPECT_TRUE(ages.offersCorrelations());
    EXPECT_FALSE(ages.usable());
    EXPECT_EQ(ages.summary,
              "Polychoric correlations need whole numbers with at most 10 categories: age has "
              "40.");
    ChooseCorrelations(ages, CorrelationKind::Pearson, format);
    EXPECT_TRUE(ages.usable());
    EXPECT_EQ(FirstLines(ages.summary, 2),
              "Raw data: 40 cases of 4 variables\nVariables: q1, q2, q3, age");

    // A matrix has its correlations already: the choice is kept but not offered.
    const DataDialog matrix = OpenDataDialog(kMatrix, format, CorrelationKind::Polychoric);
    EXPECT_FALSE(matrix.offersCorrelations());
    EXPECT_TRUE(matrix.usable());
    EXPECT_EQ(matrix.correlations, CorrelationKind::Polychoric);
}

}  // namespace
}  // namespace trolvane
