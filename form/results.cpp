#include "form/results.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "data_reading/summary.h"
#include "engine/chi_square.h"
#include "engine/component_test.h"
#include "engine/joined.h"
#include "form/data_dialog.h"
#include "form/how_many.h"
#include "form/table_text.h"

namespace trolvane {
namespace {

constexpr std::string_view kChiSquare = "\u03c7\u00b2";

const Fields kTableHeader{"Components kept", "Eigenvalue", "Chi-square", "df",
                          "Exact p",         "Result",     "Note"};

// One row that shows a caption, with the numbers Test computed it from.
struct ResultRow {
    int k;
    const RowSource& source;
    ComponentResult result;
    // Where the chi-square distribution gives one: not at df = 0, nor past the
    // degrees of freedom it can be computed for.
    std::optional<double> exactP;
    const Label& label;
    const TextBox& eigenvalueBox;

    bool reported() const { return label.outOfDate.empty() && label.impossible.empty(); }
};

std::optional<double> ExactP(const ComponentResult& result) {
    if (result.df == 0) {
        return std::nullopt;
    }
    const double p = ChiSquareUpperTail(result.chisq, result.df);
    return std::isnan(p) ? std::nullopt : std::optional(p);
}

// Test writes a caption and the row's numbers together; the statistic is
// computed again from those numbers, as Test read them.
std::vector<ResultRow> RowsWithCaptions(const FormState& form) {
    std::vector<ResultRow> rows;
    for (int k = 1; k <= kRows; ++k) {
        const Label& label = form.testLabels[k - 1];
        const std::optional<RowSource>& source = form.sources[k - 1];
        if (label.caption.empty() || !source) {
            continue;
        }
        RowTotals totals;
        for (const double eigenvalue : source->eigenvalues) {
            totals.add(eigenvalue);
        }
        const ComponentResult result = ComponentTest(source->p, source->n, source->detR, k, totals);
        rows.push_back({k, *source, result, ExactP(result), label, form.eigenBoxes[k - 1]});
    }
    return rows;
}

// The row's cells: the statistic cut to thousandths as its caption cuts it, and
// the exact p to four significant digits.
Fields TableCells(const ResultRow& row, const NumberFormat& format) {
    const bool hasDf = row.result.df != 0;
    const std::string mark = row.label.outOfDate.empty() ? row.label.impossible : "out of date";
    return {std::to_string(row.k),
            row.eigenvalueBox.text,
            hasDf ? NumberText(FloorToThousandths(row.result.chisq), format) : "",
            NumberText(row.result.df, format),
            row.exactP ? RoundedNumberText(*row.exactP, 4, format) : "",
            row.label.caption,
            mark};
}

// A report's numbers below one drop their leading zero: .083.
std::string WithoutLeadingZero(std::string text) {
    return text.starts_with('0') ? text.substr(1) : text;
}

// "p = .083", or "p < .001" below .001.
std::string ReportedP(double p, const NumberFormat& format) {
    if (p < 0.001) {
        return "p < " + WithoutLeadingZero(FixedNumberText(0.001, 3, format));
    }
    return "p = " + WithoutLeadingZero(FixedNumberText(p, 3, format));
}

// "χ²(5) = 9.73, p = .083".
std::string ReportedChiSquare(double chisq, double df, std::optional<double> p,
                              const NumberFormat& format) {
    std::string text(kChiSquare);
    text.append("(").append(NumberText(df, format)).append(") = ");
    text.append(FixedNumberText(chisq, 2, format));
    return p ? text.append(", ").append(ReportedP(*p, format)) : text;
}

// "after 1 component, χ²(5) = 9.73, p = .083".
std::string RowClause(const ResultRow& row, const NumberFormat& format) {
    std::string text =
        "after " + std::to_string(row.k) + (row.k == 1 ? " component" : " components");
    if (row.result.df == 0) {
        return text + " no degrees of freedom remain";
    }
    return text + ", " + ReportedChiSquare(row.result.chisq, row.result.df, row.exactP, format);
}

// The checks that come before the test, which only data the dialog read can
// give: "Kaiser-Meyer-Olkin measure = .903; Bartlett's test of sphericity, ...".
// A reported row's sample is larger than its number of variables, which gives
// the sphericity statistic its meaning.
std::string DataChecks(const DataOrigin& origin, const RowSource& source,
                       const NumberFormat& format) {
    const Sphericity sphericity = SphericityTest(source.p, source.n, std::log(source.detR));
    const std::string kmo =
        origin.kmo ? "Kaiser-Meyer-Olkin measure = " +
                         WithoutLeadingZero(FixedNumberText(*origin.kmo, 3, format)) + "; "
                   : "";
    return kmo + "Bartlett's test of sphericity, " +
           ReportedChiSquare(sphericity.chisq, sphericity.df, sphericity.p, format) + ". ";
}

// Whether the window's numbers came from polychoric correlations, and still are.
bool IsPolychoric(const DataOrigin* origin) {
    return origin && origin->categories;
}

// The sentence a report gives, from the rows that are current and possible;
// empty when there are none.
std::string ReportSentence(const FormState& form, const std::vector<ResultRow>& rows) {
    std::vector<const ResultRow*> reported;
    for (const ResultRow& row : rows) {
        if (row.reported()) {
            reported.push_back(&row);
        }
    }
    if (reported.empty()) {
        return "";
    }
    // Current rows were all computed from the numbers the boxes hold now.
    const RowSource& source = reported.front()->source;
    std::string text;
    const DataOrigin* origin = UnchangedDataOrigin(form);
    if (origin) {
        text = DataChecks(*origin, source, form.format);
    }
    text += "Bartlett's test for the next component (p = " + NumberText(source.p, form.format) +
            " variables, n = " + NumberText(source.n, form.format) +
            ", det(R) = " + NumberText(source.detR, form.format) +
            (IsPolychoric(origin) ? ", polychoric correlations" : "") + "): ";
    for (const ResultRow* row : reported) {
        text += RowClause(*row, form.format) + (row == reported.back() ? "." : "; ");
    }
    return text;
}

}  // namespace

std::optional<CopiedResults> CopyResults(const FormState& form) {
    const std::vector<ResultRow> rows = RowsWithCaptions(form);
    if (rows.empty()) {
        return std::nullopt;
    }
    CopiedResults copied{PlainLine(kTableHeader),
                         "<meta charset=\"utf-8\"><table>\n" + HtmlRow(kTableHeader, "th")};
    for (const ResultRow& row : rows) {
        const Fields cells = TableCells(row, form.format);
        copied.plainText += PlainLine(cells);
        copied.html += HtmlRow(cells, "td");
    }
    copied.html += "</table>\n";
    for (const std::string& sentence : {ReportSentence(form, rows), RulesSentence(form)}) {
        if (!sentence.empty()) {
            copied.plainText += "\n" + sentence + "\n";
            copied.html += "<p>" + EscapedHtml(sentence) + "</p>\n";
        }
    }
    return copied;
}

std::optional<std::string> ResultsCsv(const FormState& form) {
    const std::vector<ResultRow> rows = RowsWithCaptions(form);
    if (rows.empty()) {
        return std::nullopt;
    }
    // Where a comma is the decimal separator, spreadsheets there expect semicolons.
    const char separator = form.format.decimal == "," ? ';' : ',';
    // The byte order mark tells spreadsheets the file is UTF-8.
    std::string csv = "\xEF\xBB\xBF";
    for (const Control input : {Control::v, Control::n, Control::det}) {
        csv += CsvLine({BoxName({input}), form.box({input})->text}, separator);
    }
    if (IsPolychoric(UnchangedDataOrigin(form))) {
        csv += CsvLine({"Correlations", "polychoric"}, separator);
    }
    csv += CsvLine(kTableHeader, separator);
    for (const ResultRow& row : rows) {
        csv += CsvLine(TableCells(row, form.format), separator);
    }
    // The rules for how many components to keep, once computed for these numbers.
    if (form.rules && RulesOutOfDate(form).empty()) {
        csv += "\r\n" + CsvLine(TableHeader(*form.rules), separator);
        for (const Fields& row : TableRows(*form.rules, form.format)) {
            csv += CsvLine(row, separator);
        }
    }
    return csv;
}

}  // namespace trolvane
