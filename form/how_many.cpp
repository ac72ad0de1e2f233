#include "form/how_many.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <span>
#include <string_view>
#include <utility>

#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/joined.h"
#include "engine/run_error.h"
#include "form/data_dialog.h"
#include "form/table_text.h"
#include "retention/scree_plot.h"

namespace trolvane {
namespace {

std::optional<double> BoxNumber(const FormState& form, const TextBox& box) {
    return UnlessRunError([&] { return Number(form, box); });
}

bool IsWhole(double value) {
    return std::floor(value) == value;
}

// The number of variables the boxes hold, where it is a whole number from 1 to
// the most the rules are computed for.
std::optional<int> VariablesForRules(const FormState& form) {
    const std::optional<double> p = BoxNumber(form, form.v);
    if (!p || !IsWhole(*p) || *p < 1 || *p > kMostVariablesForRules) {
        return std::nullopt;
    }
    return static_cast<int>(*p);
}

// The typed rows' eigenvalues, up to the first row without a number.
std::vector<double> TypedEigenvalues(const FormState& form) {
    std::vector<double> eigenvalues;
    const std::optional<double> factors = BoxNumber(form, form.f);
    for (int k = 1; factors && k <= std::min<double>(*factors, kRows); ++k) {
        const std::optional<double> eigenvalue = BoxNumber(form, form.eigenBoxes[k - 1]);
        if (!eigenvalue) {
            break;
        }
        eigenvalues.push_back(*eigenvalue);
    }
    return eigenvalues;
}

// "5", or "at least 10" where the known eigenvalues ended first.
std::string CountText(const Count& count) {
    return (count.atLeast ? "at least " : "") + std::to_string(count.keep);
}

// "24", or "more than 10" where a test after 11 components, or of 11 factors,
// could not be run.
std::string MoreThanText(const Count& count) {
    return count.atLeast ? "more than " + std::to_string(count.keep - 1)
                         : std::to_string(count.keep);
}

// The numbers a rule is computed from, as the main window may call them
// impossible.
enum Uses : unsigned { kEigenvalues = 1, kDeterminant = 2 };

// One rule as the lines and the report sentence name it, with its count where
// it has one, else what it needs; the sentence's count where it gives less
// than the line's.
struct RuleCount {
    const char* line;
    const char* clause;
    std::optional<std::string> count;
    std::string note;
    std::string needs;
    unsigned uses = kEigenvalues;
    bool forFactors = false;
    std::optional<std::string> clauseCount = std::nullopt;
};

// The numbers each cause the main window names makes impossible for the rules;
// a sample too small is told as the sample size the rules need.
struct ImpossibleNumbers {
    ImpossibleCause cause;
    Uses numbers;
    const char* said;
};
constexpr std::array<ImpossibleNumbers, 7> kImpossibleNumbers{{
    {ImpossibleCause::DeterminantNotAboveZero, kDeterminant, "the determinant is impossible"},
    {ImpossibleCause::DeterminantAboveOne, kDeterminant, "the determinant is impossible"},
    {ImpossibleCause::DeterminantTooLargeForEigenvalues, kDeterminant,
     "the determinant is impossible"},
    {ImpossibleCause::EigenvalueNotAboveZero, kEigenvalues, "the eigenvalues are impossible"},
    {ImpossibleCause::EigenvalueAbovePrevious, kEigenvalues, "the eigenvalues are impossible"},
    {ImpossibleCause::EigenvalueBelowMeanAfter, kEigenvalues, "the eigenvalues are impossible"},
    {ImpossibleCause::EigenvaluesReachP, kEigenvalues, "the eigenvalues are impossible"},
}};

// A rule whose numbers the main window calls impossible says so in place of
// its count.
void MarkImpossible(std::vector<RuleCount>& counts, const RuleNumbers& numbers) {
    for (const ImpossibleNumbers& entry : kImpossibleNumbers) {
        if (numbers.impossible != entry.cause) {
            continue;
        }
        for (RuleCount& rule : counts) {
            if ((rule.uses & entry.numbers) != 0) {
                rule.count.reset();
                rule.needs = std::string(entry.said) + ", see the main window";
            }
        }
    }
}

// What parallel analysis drew: " random data sets of 2436 cases x 25
// variables", or of permuted ordered categories, " permuted data sets of 2436
// cases x 25 variables, polychoric".
std::string RandomSetsOf(const RuleNumbers& numbers, const NumberFormat& format) {
    if (numbers.categories) {
        return " permuted data sets of " +
               NumberText(static_cast<double>(numbers.categories->cases), format) + " cases x " +
               NumberText(numbers.p, format) + " variables, polychoric";
    }
    return " random data sets of " + NumberText(*numbers.n, format) + " cases x " +
           NumberText(numbers.p, format) + " variables";
}

constexpr char kCannotBeComputed[] = "cannot be computed from these numbers";

// What a factor fit's line names it for, where the fit has it.
struct FitFlaw {
    bool FactorFit::*flag;
    bool flawedWhen;
    const char* said;
};
constexpr std::array<FitFlaw, 2> kFitFlaws{{
    {&FactorFit::atBound, true, "a uniqueness at its bound"},
    {&FactorFit::converged, false, "not converged"},
}};

// "k = 7: a uniqueness at its bound; k = 9, 11: not converged" for the fits a
// rule used; empty where none has a flaw.
std::string FitNotes(std::span<const FactorFit> fits) {
    std::vector<std::string> notes;
    for (const FitFlaw& flaw : kFitFlaws) {
        std::vector<std::string> factors;
        for (const FactorFit& fit : fits) {
            if (fit.*flaw.flag == flaw.flawedWhen) {
                factors.push_back(std::to_string(fit.factors));
            }
        }
        if (!factors.empty()) {
            notes.push_back("k = " + Joined(factors, ", ") + ": " + flaw.said);
        }
    }
    return Joined(notes, "; ");
}

// " (maximum likelihood; k = 7: a uniqueness at its bound)".
std::string Noted(const std::string& what, std::span<const FactorFit> fits) {
    const std::string notes = FitNotes(fits);
    return " (" + what + (notes.empty() ? "" : "; " + notes) + ")";
}

// The four factor rules' lines after the six for components.
void AddFactorCounts(std::vector<RuleCount>& counts, const RuleResults& results,
                     const std::string& needsRandom, const NumberFormat& format) {
    const RuleNumbers& numbers = results.numbers;
    const RandomDataSettings& settings = results.settings;
    const std::vector<FactorFit>& fits = results.factorFits;
    const bool hasData = !numbers.correlations.empty();
    const std::string needsData = hasData ? needsRandom : "needs the data";
    std::string needsFits = kCannotBeComputed;
    if (!hasData) {
        needsFits = "needs the data";
    } else if (!HasSampleSize(numbers)) {
        needsFits = "needs the sample size";
    } else if (numbers.p > kMostVariablesForFactorModels) {
        needsFits =
            "needs at most " + NumberText(kMostVariablesForFactorModels, format) + " variables";
    }
    const auto counted = [](const auto& count) {
        return count ? std::optional(CountText(*count)) : std::nullopt;
    };
    counts.push_back(
        {"Parallel analysis of factors", "parallel analysis",
         counted(results.factorParallelAnalysis),
         " (reduced correlations, " + PercentileOrdinal(settings.percentile, format) +
             " percentile of the same " + NumberText(settings.sets, format) + " random data sets)",
         results.reducedEigenvalues.empty() && hasData ? kCannotBeComputed : needsData, 0, true});
    counts.push_back({"Empirical Kaiser criterion", "the empirical Kaiser criterion",
                      counted(results.empiricalKaiser), "",
                      HasSampleSize(numbers) ? kCannotBeComputed : "needs the sample size",
                      kEigenvalues, true});
    // The sequential tests name the fits up to the largest k they keep: those
    // their counts were decided by.
    std::optional<std::string> sequential;
    std::optional<std::string> chiSquare;
    std::size_t sequentialFits = 0;
    if (const std::optional<SequentialCounts>& tests = results.sequentialTests) {
        chiSquare = MoreThanText(tests->chiSquare);
        sequential = *chiSquare + " by chi-square, " + MoreThanText(tests->rmsea) + " by RMSEA, " +
                     MoreThanText(tests->aic) + " by AIC";
        sequentialFits = static_cast<std::size_t>(
            std::max({tests->chiSquare.keep, tests->rmsea.keep, tests->aic.keep}) + 1);
    }
    counts.push_back(
        {"Sequential model tests", "the sequential chi-square tests", sequential,
         Noted("maximum likelihood", std::span(fits).first(std::min(sequentialFits, fits.size()))),
         needsFits, 0, true, chiSquare});
    // The Hull method takes its last k from parallel analysis of factors.
    std::string needsHull = needsFits;
    if (hasData && HasSampleSize(numbers) && numbers.p < kHullFewestVariables) {
        needsHull = "needs at least " + std::to_string(kHullFewestVariables) + " variables";
    } else if (!fits.empty() && !results.factorParallelAnalysis) {
        needsHull = needsData;
    }
    const std::size_t hullFits = results.hullPoints.size();
    counts.push_back({"Hull method", "the Hull method",
                      results.hull ? std::optional(std::to_string(*results.hull)) : std::nullopt,
                      Noted("comparative fit index of maximum-likelihood fits",
                            std::span(fits).first(std::min(hullFits, fits.size()))),
                      needsHull, 0, true});
}

std::vector<RuleCount> Counts(const RuleResults& results, const NumberFormat& format) {
    const RuleNumbers& numbers = results.numbers;
    const RandomDataSettings& settings = results.settings;
    const auto known = [](const std::optional<int>& count) {
        return count ? std::optional(std::to_string(*count)) : std::nullopt;
    };
    const bool every = static_cast<int>(numbers.eigenvalues.size()) == numbers.p;
    // What the rules drawn from random data need where they have none.
    std::string needsRandom = "needs the sample size";
    if (results.randomFailed) {
        needsRandom = kCannotBeComputed;
    } else if (HasSampleSize(numbers) && !DrawsRandomData(numbers, settings)) {
        needsRandom = "needs at most " + NumberText(MostRandomDataSets(numbers.p), format) +
                      " random data sets for " + NumberText(numbers.p, format) + " variables";
    }
    const std::string needsEvery = every ? needsRandom : "needs every eigenvalue";
    std::vector<RuleCount> counts;
    counts.push_back({"Parallel analysis", "parallel analysis",
                      results.parallelAnalysis ? std::optional(CountText(*results.parallelAnalysis))
                                               : std::nullopt,
                      results.random ? " (" + PercentileOrdinal(settings.percentile, format) +
                                           " percentile of " + NumberText(settings.sets, format) +
                                           RandomSetsOf(numbers, format) + ", seed " +
                                           std::to_string(settings.seed) + ")"
                                     : "",
                      needsRandom});
    counts.push_back({"Minimum average partial", "the minimum average partial test",
                      known(results.mapSquared),
                      results.mapFourthPower
                          ? " (fourth powers: " + std::to_string(*results.mapFourthPower) + ")"
                          : "",
                      numbers.correlations.empty() ? "needs the data" : kCannotBeComputed, 0});
    counts.push_back({"Optimal coordinates", "optimal coordinates",
                      known(results.optimalCoordinates), "", needsEvery});
    counts.push_back({"Acceleration factor", "the acceleration factor",
                      known(results.accelerationFactor), "", needsEvery});
    counts.push_back({"Kaiser's rule", "Kaiser's rule", CountText(results.kaiser),
                      " (eigenvalues above 1)", ""});
    counts.push_back(
        {"Bartlett's test", "Bartlett's test",
         results.bartlett ? std::optional(MoreThanText(*results.bartlett)) : std::nullopt, "",
         HasSampleSize(numbers) ? kCannotBeComputed : "needs the sample size",
         kEigenvalues | kDeterminant});
    AddFactorCounts(counts, results, needsRandom, format);
    MarkImpossible(counts, numbers);
    return counts;
}

// One number of a column of the random data or of the partials, where there is one.
template <typename Columns>
std::optional<double> Cell(const std::optional<Columns>& columns,
                           const std::vector<double> Columns::*column, std::size_t at) {
    if (!columns || at >= ((*columns).*column).size()) {
        return std::nullopt;
    }
    return ((*columns).*column)[at];
}

// The first cause the main window's rows give for these numbers, judged as
// Test judges each row that has a test: with eigenvalues 1 to k and the row's
// ratio.
std::optional<ImpossibleCause> ImpossibleAsRowsShowIt(const RuleNumbers& numbers) {
    const double n = numbers.n.value_or(0);
    const std::vector<double>& eigenvalues = numbers.eigenvalues;
    RowTotals totals;
    for (int k = 1; k <= static_cast<int>(eigenvalues.size()) && k < numbers.p; ++k) {
        totals.add(eigenvalues[static_cast<std::size_t>(k - 1)]);
        const std::optional<double> ratio = UnlessRunError(
            [&] { return ComponentTest(numbers.p, n, numbers.detR, k, totals).ratio; });
        if (const std::optional<ImpossibleInput> impossible = FindImpossibleInput(
                numbers.p, n, numbers.detR,
                std::span(eigenvalues).first(static_cast<std::size_t>(k)), ratio)) {
            return impossible->cause;
        }
    }
    return std::nullopt;
}

// A rule that throws, as running out of memory would, gives no count.
template <typename Rule>
auto Guarded(Rule rule) -> std::optional<decltype(rule())> {
    try {
        return rule();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The factor rules from R, n and the random data's reduced eigenvalues, each
// where it has what it needs.
void AddFactorRules(RuleResults& results) {
    const RuleNumbers& numbers = results.numbers;
    if (HasSampleSize(numbers)) {
        results.empiricalKaiser =
            Guarded([&] { return EmpiricalKaiser(numbers.eigenvalues, numbers.p, *numbers.n); });
    }
    if (numbers.correlations.empty()) {
        return;
    }
    const std::vector<double>& r = numbers.correlations;
    results.reducedEigenvalues =
        Guarded([&] { return ReducedEigenvalues(numbers.p, r); }).value_or(std::vector<double>{});
    if (results.random && !results.reducedEigenvalues.empty() &&
        !results.random->reducedPercentile.empty()) {
        results.factorParallelAnalysis =
            AboveRandom(results.reducedEigenvalues, results.random->reducedPercentile);
    }
    if (results.factorFits.empty()) {
        return;
    }
    results.sequentialTests =
        Guarded([&] { return SequentialTests(results.factorFits, *numbers.n); });
    if (numbers.p >= kHullFewestVariables && results.factorParallelAnalysis) {
        results.hullPoints =
            Guarded([&] {
                return HullPoints(results.factorFits, results.factorParallelAnalysis->keep);
            }).value_or(std::vector<HullPoint>{});
        if (!results.hullPoints.empty()) {
            results.hull = HullKeeps(UpperHull(results.hullPoints));
        }
    }
}

}  // namespace

RandomDataSettings SettingsToDraw(const RuleNumbers& numbers, const RandomDataSettings& settings) {
    RandomDataSettings drawn = settings;
    drawn.reduced = !numbers.correlations.empty();
    return drawn;
}

bool HasSampleSize(const RuleNumbers& numbers) {
    return numbers.n && std::isfinite(*numbers.n) && *numbers.n > numbers.p;
}

int MostRandomDataSets(int p) {
    const double highest = kSettings[static_cast<std::size_t>(Setting::Sets)].highest;
    return static_cast<int>(p > 0 ? std::min(highest, std::floor(kMostRandomNumbers / p))
                                  : highest);
}

int MostRandomDataSets(const FormState& form) {
    return MostRandomDataSets(VariablesForRules(form).value_or(0));
}

bool DrawsRandomData(const RuleNumbers& numbers, const RandomDataSettings& settings) {
    return HasSampleSize(numbers) && settings.sets <= MostRandomDataSets(numbers.p);
}

ReadSettingsResult ReadSettings(const std::array<std::string, 3>& texts, const NumberFormat& format,
                                int mostSets) {
    std::array<double, 3> values{};
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        const SettingEntry& entry = kSettings[i];
        const double highest = entry.setting == Setting::Sets ? mostSets : entry.highest;
        const std::optional<double> value =
            UnlessRunError([&] { return StrictNumber(texts[i], format); });
        if (!value || !IsWhole(*value) || *value < entry.lowest || *value > highest) {
            return {std::nullopt,
                    SettingsRefusal{entry.setting, std::string(entry.name) +
                                                       " must be a whole number from " +
                                                       NumberText(entry.lowest, format) + " to " +
                                                       NumberText(highest, format) + "."}};
        }
        values[i] = *value;
    }
    return {RandomDataSettings{static_cast<int>(values[0]), values[1],
                               static_cast<std::uint64_t>(values[2])},
            std::nullopt};
}

std::optional<RuleNumbers> NumbersForRules(const FormState& form) {
    const std::optional<int> p = VariablesForRules(form);
    const std::optional<double> detR = BoxNumber(form, form.det);
    if (!p || !detR || *p < 3) {
        return std::nullopt;
    }
    RuleNumbers numbers;
    numbers.p = *p;
    numbers.n = BoxNumber(form, form.n);
    numbers.detR = *detR;
    if (const DataOrigin* origin = UnchangedDataOrigin(form)) {
        numbers.eigenvalues = origin->allEigenvalues;
        numbers.correlations = origin->correlations;
        numbers.categories = origin->categories;
        numbers.fromData = true;
    } else {
        numbers.eigenvalues = TypedEigenvalues(form);
    }
    if (numbers.eigenvalues.empty() || static_cast<int>(numbers.eigenvalues.size()) > numbers.p) {
        return std::nullopt;
    }
    numbers.impossible = ImpossibleAsRowsShowIt(numbers);
    return numbers;
}

int FactorModelsToFit(const RuleNumbers& numbers) {
    if (numbers.correlations.empty() || !HasSampleSize(numbers) ||
        numbers.p > kMostVariablesForFactorModels) {
        return 0;
    }
    int models = 0;
    while (FactorDf(numbers.p, models) > 0) {
        ++models;
    }
    return models;
}

bool FitNextFactorModel(const RuleNumbers& numbers, std::vector<FactorFit>& fits) {
    const int models = FactorModelsToFit(numbers);
    const int k = static_cast<int>(fits.size());
    if (k >= models) {
        return true;
    }
    const std::vector<double> previous =
        fits.empty() ? std::vector<double>{} : fits.back().uniquenesses;
    std::optional<FactorFit> fit = Guarded(
        [&] { return FitFactors(numbers.p, *numbers.n, numbers.correlations, k, previous); });
    if (!fit) {
        fits.clear();
        return true;
    }
    fits.push_back(std::move(*fit));
    return k + 1 == models;
}

RuleResults RulesFrom(const RuleNumbers& numbers, const RandomDataSettings& settings,
                      std::optional<RandomEigenvalues> random, std::vector<FactorFit> factorFits) {
    RuleResults results;
    results.numbers = numbers;
    results.settings = settings;
    results.random = std::move(random);
    results.factorFits = std::move(factorFits);
    const std::vector<double>& eigenvalues = numbers.eigenvalues;
    const bool every = static_cast<int>(eigenvalues.size()) == numbers.p;
    if (results.random) {
        const std::vector<double>& percentile = results.random->percentile;
        results.parallelAnalysis = AboveRandom(eigenvalues, percentile);
        results.parallelAnalysis->atLeast =
            results.parallelAnalysis->keep == static_cast<int>(eigenvalues.size()) && !every;
        if (every) {
            results.optimalCoordinates = OptimalCoordinates(eigenvalues, percentile);
            results.accelerationFactor = AccelerationFactor(eigenvalues, percentile);
        }
    }
    if (HasSampleSize(numbers)) {
        results.bartlett = Guarded(
            [&] { return BartlettCount(numbers.p, *numbers.n, numbers.detR, eigenvalues); });
    }
    if (!numbers.correlations.empty()) {
        results.partials =
            Guarded([&] { return MinimumAveragePartial(numbers.p, numbers.correlations); });
        if (results.partials) {
            results.mapSquared = SmallestAverage(results.partials->squared);
            results.mapFourthPower = SmallestAverage(results.partials->fourthPower);
        }
    }
    results.kaiser = Kaiser(eigenvalues, numbers.p);
    AddFactorRules(results);
    return results;
}

std::unique_ptr<RandomDataInSlices> RandomDataInSlicesFor(const RuleNumbers& numbers,
                                                          const RandomDataSettings& settings) {
    const RandomDataSettings drawn = SettingsToDraw(numbers, settings);
    return numbers.categories ? std::make_unique<RandomDataInSlices>(numbers.categories, drawn)
                              : std::make_unique<RandomDataInSlices>(numbers.p, *numbers.n, drawn);
}

std::optional<RuleResults> ComputeRules(const RuleNumbers& numbers,
                                        const RandomDataSettings& settings, Progress* progress) {
    std::optional<RandomEigenvalues> random;
    bool randomFailed = false;
    if (DrawsRandomData(numbers, settings)) {
        try {
            const RandomDataSettings drawn = SettingsToDraw(numbers, settings);
            random = numbers.categories ? ParallelAnalysis(*numbers.categories, drawn, progress)
                                        : ParallelAnalysis(numbers.p, *numbers.n, drawn, progress);
            if (!random) {
                return std::nullopt;
            }
        } catch (const std::exception&) {
            randomFailed = true;
        }
    }
    std::vector<FactorFit> fits;
    while (!FitNextFactorModel(numbers, fits)) {
        if (progress) {
            if (progress->cancelled) {
                return std::nullopt;
            }
            progress->modelsFitted = static_cast<int>(fits.size());
        }
    }
    RuleResults results = RulesFrom(numbers, settings, std::move(random), std::move(fits));
    results.randomFailed = randomFailed;
    return results;
}

std::vector<std::string> RuleLines(const RuleResults& results, const NumberFormat& format) {
    std::vector<std::string> lines;
    for (const RuleCount& rule : Counts(results, format)) {
        lines.push_back(std::string(rule.line) + ": " +
                        (rule.count ? "keep " + *rule.count + rule.note : rule.needs));
    }
    return lines;
}

std::vector<std::string> TableHeader(const RuleResults& results) {
    return {"Component",
            "Eigenvalue",
            "Random mean",
            "Random " + PercentileOrdinal(results.settings.percentile, {}) + " percentile",
            "Average squared partial",
            "Average fourth-power partial",
            "Reduced eigenvalue",
            "Random reduced " + PercentileOrdinal(results.settings.percentile, {}) + " percentile",
            "ML chi-square p"};
}

std::vector<std::vector<std::string>> TableRows(const RuleResults& results,
                                                const NumberFormat& format) {
    // A number that is not finite is shown empty, never formatted.
    const auto fixed = [&](std::optional<double> value) {
        return value && std::isfinite(*value) ? FixedNumberText(*value, 4, format) : "";
    };
    const auto significant = [&](std::optional<double> value) {
        return value && std::isfinite(*value) ? RoundedNumberText(*value, 4, format) : "";
    };
    const auto at = [](const std::vector<double>& column, std::size_t i) {
        return i < column.size() ? std::optional(column[i]) : std::nullopt;
    };
    // Row k's p is the k-factor model's; none where it has no df. One too
    // small for a double is said to be so, never 0.
    const auto factorP = [&](std::size_t k) -> std::string {
        if (k >= results.factorFits.size()) {
            return "";
        }
        const double p = results.factorFits[k].p;
        return p < kSmallestShownP ? kBelowSmallestShownP : significant(p);
    };
    std::vector<std::vector<std::string>> rows;
    const std::vector<double>& eigenvalues = results.numbers.eigenvalues;
    for (std::size_t i = 0; i < eigenvalues.size(); ++i) {
        rows.push_back({std::to_string(i + 1), fixed(eigenvalues[i]),
                        fixed(Cell(results.random, &RandomEigenvalues::mean, i)),
                        fixed(Cell(results.random, &RandomEigenvalues::percentile, i)),
                        significant(Cell(results.partials, &AveragePartials::squared, i + 1)),
                        significant(Cell(results.partials, &AveragePartials::fourthPower, i + 1)),
                        fixed(at(results.reducedEigenvalues, i)),
                        fixed(Cell(results.random, &RandomEigenvalues::reducedPercentile, i)),
                        factorP(i + 1)});
    }
    return rows;
}

CopiedResults CopiedTable(const RuleResults& results, const NumberFormat& format) {
    const Fields header = TableHeader(results);
    CopiedResults copied{PlainLine(header),
                         "<meta charset=\"utf-8\"><table>\n" + HtmlRow(header, "th")};
    for (const Fields& row : TableRows(results, format)) {
        copied.plainText += PlainLine(row);
        copied.html += HtmlRow(row, "td");
    }
    copied.html += "</table>\n";
    const std::vector<std::string> lines = RuleLines(results, format);
    copied.plainText.append("\n").append(Joined(lines, "\n")).append("\n");
    for (const std::string& line : lines) {
        copied.html.append("<p>").append(EscapedHtml(line)).append("</p>\n");
    }
    return copied;
}

ScreePlotData PlotData(const RuleResults& results) {
    return {results.numbers.eigenvalues, results.random.value_or(RandomEigenvalues{}),
            results.settings.percentile,
            results.parallelAnalysis ? results.parallelAnalysis->keep : 0};
}

PlotSize FigureSize(double shownWidth, double shownHeight) {
    constexpr double kNarrowestFigure = 1200;
    const double scale = std::max(2.0, kNarrowestFigure / shownWidth);
    return {shownWidth * scale, shownHeight * scale, scale};
}

std::string RulesStatus(const FormState& form) {
    if (!form.rules) {
        return "The rules are computed each time Test runs on at least three variables, a "
               "determinant and an eigenvalue.";
    }
    return RulesOutOfDate(form);
}

std::string ProgressText(int setsDone, int sets) {
    return "Computing " + std::to_string(sets) + " random data sets: " + std::to_string(setsDone) +
           " done";
}

std::string FittingText(int fitted, int models) {
    return "Fitting " + std::to_string(models) + " factor models: " + std::to_string(fitted) +
           " done";
}

std::string RulesOutOfDate(const FormState& form) {
    if (!form.rules || NumbersForRules(form) == form.rules->numbers) {
        return "";
    }
    return "Out of date: a number these rules were computed from has changed since. Press Test "
           "to compute them again.";
}

std::string RulesSentence(const FormState& form) {
    if (!form.rules || !RulesOutOfDate(form).empty()) {
        return "";
    }
    return RulesSentence(*form.rules, form.format);
}

std::string RulesSentence(const RuleResults& results, const NumberFormat& format) {
    // The components' clauses, then the factors'; each list's first says
    // "suggests".
    std::array<std::vector<std::string>, 2> clauses;
    for (const RuleCount& rule : Counts(results, format)) {
        if (!rule.count) {
            continue;
        }
        std::vector<std::string>& list = clauses[rule.forFactors ? 1 : 0];
        std::string clause = rule.clause;
        const std::string count = rule.clauseCount.value_or(*rule.count);
        if (std::string_view(rule.line) == "Parallel analysis") {
            clause += " (" + NumberText(results.settings.sets, format) +
                      (results.numbers.categories ? " permuted data sets, polychoric correlations, "
                                                  : " random data sets, ") +
                      PercentileOrdinal(results.settings.percentile, format) + " percentile)";
        }
        if (list.empty() && rule.forFactors) {
            clause += " suggests " + count;
        } else if (list.empty()) {
            const bool one = count == "1";
            clause += " suggests keeping " + count + (one ? " component" : " components");
        } else {
            clause += " " + count;
        }
        list.push_back(clause);
    }
    const auto listed = [](const std::vector<std::string>& list) {
        std::string text = list.front();
        for (std::size_t i = 1; i < list.size(); ++i) {
            text += (i + 1 == list.size() ? " and " : ", ") + list[i];
        }
        return text;
    };
    std::vector<std::string> parts;
    if (!clauses[0].empty()) {
        parts.push_back(listed(clauses[0]));
    }
    if (!clauses[1].empty()) {
        parts.push_back("for factors, " + listed(clauses[1]));
    }
    if (parts.empty()) {
        return "";
    }
    std::string sentence = Joined(parts, "; ");
    sentence[0] = static_cast<char>(std::toupper(sentence[0]));
    return sentence + ".";
}

}  // namespace trolvane
