// How Many Components without a window: the lines each rule gives or what it
// needs, the factor rules after R's bfi, the report sentence, the settings'
// ranges and the out-of-date mark.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "form/data_dialog.h"
#include "form/how_many.h"
#include "form/results.h"
#include "form/window_logic.h"
#include "tests/retention/r_data_sets.h"

namespace trolvane {
namespace {

// The window after typing v, n, det and f, Start, the eigenvalues and Test,
// with the rules computed as the window computes them after a Test.
FormState WithRules(const std::array<std::string, 4>& inputs,
                    const std::vector<std::string>& eigenvalues) {
    FormState form{NumberFormat{}};
    const std::array boxes{Control::v, Control::n, Control::det, Control::f};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        EditBox(form, {boxes[i]}, inputs[i]);
    }
    PressStart(form);
    for (std::size_t k = 1; k <= eigenvalues.size(); ++k) {
        EditBox(form, {Control::eigen, static_cast<int>(k)}, eigenvalues[k - 1]);
    }
    PressTest(form);
    if (const std::optional<RuleNumbers> numbers = NumbersForRules(form)) {
        form.rules = ComputeRules(*numbers, form.ruleSettings);
    }
    return form;
}

// The window after Use on a data set's correlation matrix, its n typed, with
// the rules computed.
FormState WithRulesOf(const RDataSet& set) {
    std::string matrix;
    const std::vector<double> r = Correlations(set);
    for (std::size_t i = 0; i < r.size(); ++i) {
        matrix += NumberText(r[i]) + ((i + 1) % static_cast<std::size_t>(set.p) ? " " : "\n");
    }
    FormState form{NumberFormat{}};
    UseData(form, *OpenDataDialog(matrix, {}).reading);
    EditBox(form, {Control::n}, NumberText(set.n));
    form.rules = ComputeRules(*NumbersForRules(form), form.ruleSettings);
    return form;
}

// The four factor rules' lines where nothing but the typed rows is known.
const std::vector<std::string> kFactorRulesNeedTheData = {
    "Parallel analysis of factors: needs the data", "Sequential model tests: needs the data",
    "Hull method: needs the data"};

// The lines of a typed case: the six for components, then the factors'
// with the empirical Kaiser criterion's line second.
std::vector<std::string> TypedLines(std::vector<std::string> lines, const std::string& kaiser) {
    lines.push_back(kFactorRulesNeedTheData[0]);
    lines.push_back(kaiser);
    lines.insert(lines.end(), kFactorRulesNeedTheData.begin() + 1, kFactorRulesNeedTheData.end());
    return lines;
}

TEST(HowManyComponents, EachRuleSaysWhatItKeepsOrWhatItNeeds) {
    const struct {
        const char* what;
        FormState form;
        std::vector<std::string> lines;
    } cases[] = {
        {"the worked example, typed: every eigenvalue but no data",
         WithRules({"4", "50", "0.48", "4"}, {"2", "1", "0.6", "0.4"}),
         TypedLines({"Parallel analysis: keep 1 (95th percentile of 1000 random data sets of 50 "
                     "cases x 4 variables, seed 1)",
                     "Minimum average partial: needs the data", "Optimal coordinates: keep 1",
                     "Acceleration factor: keep 1", "Kaiser's rule: keep 1 (eigenvalues above 1)",
                     "Bartlett's test: keep 1"},
                    "Empirical Kaiser criterion: keep 1")},
        {"no sample size", WithRules({"4", " ", "0.48", "4"}, {"2", "1", "0.6", "0.4"}),
         TypedLines(
             {"Parallel analysis: needs the sample size", "Minimum average partial: needs the data",
              "Optimal coordinates: needs the sample size",
              "Acceleration factor: needs the sample size",
              "Kaiser's rule: keep 1 (eigenvalues above 1)",
              "Bartlett's test: needs the sample size"},
             "Empirical Kaiser criterion: needs the sample size")},
        {"eigenvalues not from the largest down, which the main window calls impossible",
         WithRules({"4", "50", "0.48", "4"}, {"1", "2", "0.6", "0.4"}),
         TypedLines({"Parallel analysis: the eigenvalues are impossible, see the main window",
                     "Minimum average partial: needs the data",
                     "Optimal coordinates: the eigenvalues are impossible, see the main window",
                     "Acceleration factor: the eigenvalues are impossible, see the main window",
                     "Kaiser's rule: the eigenvalues are impossible, see the main window",
                     "Bartlett's test: the eigenvalues are impossible, see the main window"},
                    "Empirical Kaiser criterion: the eigenvalues are impossible, see the main "
                    "window")},
        {"a determinant too large for the eigenvalues: only Bartlett's test uses it",
         WithRules({"4", "50", "0.99", "4"}, {"2", "1", "0.6", "0.4"}),
         TypedLines({"Parallel analysis: keep 1 (95th percentile of 1000 random data sets of 50 "
                     "cases x 4 variables, seed 1)",
                     "Minimum average partial: needs the data", "Optimal coordinates: keep 1",
                     "Acceleration factor: keep 1", "Kaiser's rule: keep 1 (eigenvalues above 1)",
                     "Bartlett's test: the determinant is impossible, see the main window"},
                    "Empirical Kaiser criterion: keep 1")},
        {"ten rows of 25 variables, each eigenvalue above 1",
         WithRules({"25", "2436", "0.0001", "10"},
                   {"3", "2.5", "2", "1.8", "1.6", "1.5", "1.4", "1.3", "1.2", "1.1"}),
         TypedLines(
             {"Parallel analysis: keep at least 10 (95th percentile of 1000 random data sets "
              "of 2436 cases x 25 variables, seed 1)",
              "Minimum average partial: needs the data",
              "Optimal coordinates: needs every eigenvalue",
              "Acceleration factor: needs every eigenvalue",
              "Kaiser's rule: keep at least 10 (eigenvalues above 1)",
              "Bartlett's test: keep more than 10"},
             "Empirical Kaiser criterion: keep at least 10")},
    };
    for (const auto& each : cases) {
        ASSERT_TRUE(each.form.rules) << each.what;
        EXPECT_EQ(RuleLines(*each.form.rules, each.form.format), each.lines) << each.what;
    }
}

// Matrices the data dialog accepts whose variables share nothing with some
// others: what is left of such a variable after its components is exactly 0.
// The counts are R's, from the same averages with such partials taken as 0.
TEST(HowManyComponents, MatricesWithUncorrelatedVariablesGiveEveryRuleAndFiniteNumbers) {
    const struct {
        const char* what;
        const char* matrix;
        int map;
    } cases[] = {
        {"the identity", "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n", 0},
        {"two clusters of three",
         "1 .6 .5 0 0 0\n.6 1 .4 0 0 0\n.5 .4 1 0 0 0\n"
         "0 0 0 1 .7 .6\n0 0 0 .7 1 .5\n0 0 0 .6 .5 1\n",
         2},
        {"one variable that correlates with no other", "1 .5 .4 0\n.5 1 .3 0\n.4 .3 1 0\n0 0 0 1\n",
         0},
    };
    for (const auto& each : cases) {
        const DataDialog dialog = OpenDataDialog(each.matrix, {});
        ASSERT_TRUE(dialog.usable()) << each.what << ": " << dialog.summary;
        FormState form{NumberFormat{}};
        UseData(form, *dialog.reading);
        EditBox(form, {Control::n}, "200");
        const std::optional<RuleNumbers> numbers = NumbersForRules(form);
        ASSERT_TRUE(numbers) << each.what;
        form.rules = ComputeRules(*numbers, form.ruleSettings);
        const RuleResults& rules = *form.rules;
        EXPECT_EQ(rules.mapSquared, each.map) << each.what;
        for (const double average : rules.partials->squared) {
            EXPECT_TRUE(average >= 0 && average <= 1) << each.what;
        }
        EXPECT_EQ(RuleLines(rules, form.format).size(), 10U) << each.what;
        for (const std::vector<std::string>& row : TableRows(rules, form.format)) {
            for (const std::string& cell : row) {
                EXPECT_EQ(cell.find_first_of("ni"), std::string::npos) << each.what << cell;
            }
        }
        EXPECT_FALSE(CopiedTable(rules, form.format).plainText.empty());
        EXPECT_FALSE(RulesSentence(form).empty()) << each.what;
        EXPECT_FALSE(
            LaidOutScreePlot(PlotData(rules), {400, 300, 1}, form.format).description.empty());
    }
}

TEST(HowManyComponents, ReportSentenceOnlyWhileTheRulesFollowFromTheBoxes) {
    FormState form = WithRules({"4", "50", "0.48", "4"}, {"2", "1", "0.6", "0.4"});
    const std::string sentence =
        "Parallel analysis (1000 random data sets, 95th percentile) suggests keeping 1 "
        "component, optimal coordinates 1, the acceleration factor 1, Kaiser's rule 1 and "
        "Bartlett's test 1; for factors, the empirical Kaiser criterion suggests 1.";
    EXPECT_EQ(RulesSentence(form), sentence);
    EXPECT_NE(CopyResults(form)->plainText.find(sentence), std::string::npos);
    EXPECT_NE(ResultsCsv(form)->find("Random 95th percentile"), std::string::npos);

    EditBox(form, {Control::n}, "51");
    EXPECT_NE(RulesOutOfDate(form), "");
    EXPECT_EQ(RulesSentence(form), "");
    EXPECT_EQ(ResultsCsv(form)->find("Random 95th percentile"), std::string::npos);
}

// bfi's counts are R's (psych's fa.parallel, factanal and the Hull method on
// its fits); the random data are the same 1000 sets as parallel analysis's.
TEST(HowManyFactors, BfiGivesEachFactorRuleItsLineTheSentenceAndTheTable) {
    FormState form = WithRulesOf(kRDataSets[0]);
    const RuleResults& rules = *form.rules;
    const std::vector<std::string> lines = RuleLines(rules, form.format);
    ASSERT_EQ(lines.size(), 10U);
    EXPECT_EQ(std::vector(lines.begin() + 6, lines.end()),
              (std::vector<std::string>{
                  "Parallel analysis of factors: keep 8 (reduced correlations, 95th percentile of "
                  "the same 1000 random data sets)",
                  "Empirical Kaiser criterion: keep 6",
                  // R's factanal also ends at the bound for k = 12 and 13.
                  "Sequential model tests: keep 13 by chi-square, 6 by RMSEA, 13 by AIC (maximum "
                  "likelihood; k = 12, 13: a uniqueness at its bound)",
                  "Hull method: keep 5 (comparative fit index of maximum-likelihood fits)"}));
    EXPECT_EQ(RulesSentence(form),
              "Parallel analysis (1000 random data sets, 95th percentile) suggests keeping 5 "
              "components, the minimum average partial test 5, optimal coordinates 5, the "
              "acceleration factor 1, Kaiser's rule 6 and Bartlett's test 24; for factors, "
              "parallel analysis suggests 8, the empirical Kaiser criterion 6, the sequential "
              "chi-square tests 13 and the Hull method 5.");

    // Row k: the reduced eigenvalue, its random percentile and the k-factor
    // model's p (R's fits reach the lowest F up to k = 17); k = 19 and on
    // have no df.
    const std::vector<std::vector<std::string>> rows = TableRows(rules, form.format);
    ASSERT_EQ(rows.size(), 25U);
    const struct {
        std::size_t row;
        std::string reduced;
        std::string p;
    } cells[] = {{0, "4.5357", "< 1E-300"},
                 {12, "-0.0665", "0.1421"},
                 {16, "-0.1208", "0.9836"},
                 {18, "-0.1478", ""}};
    for (const auto& each : cells) {
        EXPECT_EQ(rows[each.row][6], each.reduced) << each.row;
        EXPECT_FALSE(rows[each.row][7].empty()) << each.row;
        EXPECT_EQ(rows[each.row][8], each.p) << each.row;
    }

    form.rules->settings.percentile = 90;
    const std::vector<std::string> header = TableHeader(*form.rules);
    EXPECT_EQ(std::vector(header.begin() + 6, header.end()),
              (std::vector<std::string>{"Reduced eigenvalue", "Random reduced 90th percentile",
                                        "ML chi-square p"}));
}

// A fit with a uniqueness at its bound, or one that did not converge, is named
// at the end of the lines of the rules whose counts it decided: the sequential
// tests' up to the largest k they keep, the Hull method's up to its last point.
TEST(HowManyFactors, FlawedFitsAreNamedInTheLinesThatUsedThem) {
    FormState form = WithRulesOf(kRDataSets[0]);
    RuleResults& rules = *form.rules;
    rules.factorFits[3].atBound = true;
    rules.factorFits[11].converged = false;
    rules.factorFits[15].converged = false;
    const std::vector<std::string> lines = RuleLines(rules, form.format);
    EXPECT_EQ(lines[8],
              "Sequential model tests: keep 13 by chi-square, 6 by RMSEA, 13 by AIC (maximum "
              "likelihood; k = 3, 12, 13: a uniqueness at its bound; k = 11: not converged)");
    // The Hull method used the fits up to one more than parallel analysis of
    // factors keeps.
    EXPECT_EQ(lines[9],
              "Hull method: keep 5 (comparative fit index of maximum-likelihood fits; k = 3: a "
              "uniqueness at its bound)");
}

// The factor models of many variables would keep the rules busy for minutes.
TEST(HowManyFactors, ModelsOfMoreThan50VariablesAreNotFitted) {
    std::string identity;
    for (int i = 0; i < 51; ++i) {
        for (int j = 0; j < 51; ++j) {
            identity += i == j ? "1" : "0";
            identity += j < 50 ? " " : "\n";
        }
    }
    FormState form{NumberFormat{}};
    UseData(form, *OpenDataDialog(identity, {}).reading);
    EditBox(form, {Control::n}, "200");
    form.rules = ComputeRules(*NumbersForRules(form), form.ruleSettings);
    const std::vector<std::string> lines = RuleLines(*form.rules, form.format);
    EXPECT_EQ(lines[6].find("Parallel analysis of factors: keep "), 0U) << lines[6];
    EXPECT_EQ(lines[8], "Sequential model tests: needs at most 50 variables");
    EXPECT_EQ(lines[9], "Hull method: needs at most 50 variables");
}

TEST(HowManyComponents, SettingsOutsideTheirRangeNameTheBox) {
    const struct {
        std::array<std::string, 3> texts;
        int variables;
        std::optional<Setting> refused;
        std::string sentence;
    } cases[] = {
        {{"1000", "95", "1"}, 25, std::nullopt, ""},
        {{"99", "95", "1"},
         25,
         Setting::Sets,
         "Random data sets must be a whole number from 100 to 100000."},
        // Sets x variables are bounded: 20 million numbers.
        {{"50000", "95", "1"},
         500,
         Setting::Sets,
         "Random data sets must be a whole number from 100 to 40000."},
        {{"40000", "95", "1"}, 500, std::nullopt, ""},
        {{"1000", "99.5", "1"},
         25,
         Setting::Percentile,
         "Percentile must be a whole number from 50 to 99."},
        {{"1000", "95", "-1"},
         25,
         Setting::Seed,
         "Seed must be a whole number from 0 to 4294967295."},
        {{"1000", "95", "seven"},
         25,
         Setting::Seed,
         "Seed must be a whole number from 0 to 4294967295."},
    };
    for (const auto& each : cases) {
        const ReadSettingsResult read =
            ReadSettings(each.texts, NumberFormat{}, MostRandomDataSets(each.variables));
        EXPECT_EQ(read.settings.has_value(), !each.refused) << each.texts[0];
        if (each.refused) {
            EXPECT_EQ(read.refusal->box, *each.refused);
            EXPECT_EQ(read.refusal->sentence, each.sentence);
        }
    }
}

}  // namespace
}  // namespace trolvane
