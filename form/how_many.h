// The How Many Components window, whatever toolkit draws it: the random data's
// settings, the numbers the rules use, and the lines, table and copies it shows.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "form/form_state.h"
#include "form/results.h"
#include "form/rule_results.h"
#include "retention/scree_plot.h"

namespace trolvane {

constexpr char kHowManyTitle[] = "Trolvane: How Many Components";
constexpr char kCopyTableButton[] = "Copy Table";
constexpr char kCloseButton[] = "Close";
constexpr char kCopyPlotButton[] = "Copy Plot";
constexpr char kSavePlotButton[] = "Save Plot...";
// Save Plot proposes this name; its ending chooses SVG or PNG.
constexpr char kPlotFile[] = "scree-plot.svg";

// The window's three boxes, in their order: each one's accessible name, its
// first text and the range a value must lie in.
enum class Setting { Sets, Percentile, Seed };
struct SettingEntry {
    Setting setting;
    const char* name;
    const char* initial;
    double lowest;
    double highest;
};
inline constexpr std::array<SettingEntry, 3> kSettings{{
    {Setting::Sets, "Random data sets", "1000", 100, 100000},
    {Setting::Percentile, "Percentile", "95", 50, 99},
    {Setting::Seed, "Seed", "1", 0, 4294967295.0},
}};

// The boxes read as settings, or the box that holds no value in its range and
// the sentence that says so: "Percentile must be a whole number from 50 to 99."
struct SettingsRefusal {
    Setting box;
    std::string sentence;
};
struct ReadSettingsResult {
    std::optional<RandomDataSettings> settings;
    std::optional<SettingsRefusal> refusal;
};
// `mostSets` is the highest number of random data sets allowed for the
// variables the boxes hold now (MostRandomDataSets).
ReadSettingsResult ReadSettings(const std::array<std::string, 3>& texts, const NumberFormat& format,
                                int mostSets);

// The most variables the rules are computed for after each Test: parallel
// analysis of more would keep both cores busy for minutes.
constexpr int kMostVariablesForRules = 500;

// The most variables the factor models are fitted for: the models of every k
// for 50 variables take seconds, and the time grows with p to the fourth power.
constexpr int kMostVariablesForFactorModels = 50;

// The most numbers a computation's random data sets keep, sets x variables:
// 160 MB of eigenvalues, within what every edition can hold.
constexpr double kMostRandomNumbers = 20'000'000;

// The most random data sets for p variables: the settings' highest, fewer
// where sets x p would pass kMostRandomNumbers.
int MostRandomDataSets(int p);
// The same for the whole number of variables the boxes hold now, if any.
int MostRandomDataSets(const FormState& form);

// The numbers the rules use now: p, n and det from the boxes, the rest from
// the data or the rows. None where the boxes give no whole number of
// variables from 3 to 500, no determinant or no eigenvalue.
std::optional<RuleNumbers> NumbersForRules(const FormState& form);

// Whether the numbers give parallel analysis its random data: a sample size
// larger than p.
bool HasSampleSize(const RuleNumbers& numbers);

// Whether a computation draws random data for these numbers and settings: a
// sample size larger than p, and no more sets than MostRandomDataSets(p).
bool DrawsRandomData(const RuleNumbers& numbers, const RandomDataSettings& settings);

// The settings the random data are drawn with: the window's, with each set's
// reduced eigenvalues too where R is known, for parallel analysis of factors.
RandomDataSettings SettingsToDraw(const RuleNumbers& numbers, const RandomDataSettings& settings);

// The random data a computation draws a few sets at a time, as the browser
// edition does: permuted categories where R is polychoric, else normal data,
// with the settings SettingsToDraw gives. Raises what RandomDataInSlices raises.
std::unique_ptr<RandomDataInSlices> RandomDataInSlicesFor(const RuleNumbers& numbers,
                                                          const RandomDataSettings& settings);

// The maximum-likelihood factor models the factor rules count from, fitted one
// k a call, each also started from the one before: true once every k with
// positive df is fitted, or where none is to be (fits left empty): without R,
// a sample size larger than p, with more than kMostVariablesForFactorModels
// variables, or where a fit fails. The rules' other long part, run between
// the random data and RulesFrom.
bool FitNextFactorModel(const RuleNumbers& numbers, std::vector<FactorFit>& fits);
// How many models FitNextFactorModel fits for these numbers, if none fails.
int FactorModelsToFit(const RuleNumbers& numbers);

// Every rule from the numbers and, where there is a sample size, the random
// data's eigenvalues drawn with SettingsToDraw and the factor models as
// FitNextFactorModel fitted them.
RuleResults RulesFrom(const RuleNumbers& numbers, const RandomDataSettings& settings,
                      std::optional<RandomEigenvalues> random,
                      std::vector<FactorFit> factorFits = {});

// Computes every rule; parallel analysis, the long part, reports its progress
// and can be cancelled through `progress`, as can the factor models between
// one k and the next. None when cancelled.
std::optional<RuleResults> ComputeRules(const RuleNumbers& numbers,
                                        const RandomDataSettings& settings,
                                        Progress* progress = nullptr);

// The ten lines, six for components then four for factors, in the user's
// format, each saying what its rule keeps or what it needs: "Parallel
// analysis: keep 5 (95th percentile of 1000 random data sets of 2436 cases x
// 25 variables, seed 1)". A factor rule that used a fit ending with a
// uniqueness at its bound, or one that did not converge, names its k at the
// end: "(maximum likelihood; k = 7: a uniqueness at its bound)", "k = 7, 9:
// not converged".
std::vector<std::string> RuleLines(const RuleResults& results, const NumberFormat& format);

// The table's header ("Random 95th percentile" and "Random reduced 95th
// percentile" follow the percentile), and its rows, one per known eigenvalue,
// each with as many cells as the header; row k's "ML chi-square p" is that of
// the k-factor model.
std::vector<std::string> TableHeader(const RuleResults& results);
std::vector<std::vector<std::string>> TableRows(const RuleResults& results,
                                                const NumberFormat& format);

// Copy Table: the table tab-separated, an empty line and the ten lines; and
// the same as HTML.
CopiedResults CopiedTable(const RuleResults& results, const NumberFormat& format);

// What the plot shows of the rules.
ScreePlotData PlotData(const RuleResults& results);

// The size a copied or saved plot is drawn at: twice the window's plot, and
// at least 1200 pixels wide, its fonts and lines scaled alike.
PlotSize FigureSize(double shownWidth, double shownHeight);

// What the window says above its lines: why there are none yet, or that they
// are out of date; empty while they follow from the boxes.
std::string RulesStatus(const FormState& form);

// "Computing 1000 random data sets: 430 done", shown while a computation
// has taken longer than half a second.
std::string ProgressText(int setsDone, int sets);
// "Fitting 19 factor models: 12 done".
std::string FittingText(int fitted, int models);

// Where the window's rules no longer follow from the boxes, the sentence that
// says so; empty while they do, or before any were computed.
std::string RulesOutOfDate(const FormState& form);

// The sentence Copy Results adds once the rules are computed for the current
// numbers, rules that cannot count left out, the factor rules after "; for
// factors, "; empty otherwise.
std::string RulesSentence(const FormState& form);
// The same sentence for any rules, in the user's format.
std::string RulesSentence(const RuleResults& results, const NumberFormat& format);

}  // namespace trolvane
