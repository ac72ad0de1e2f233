// The live state of the window as plain data: every box's text and visibility,
// every label's caption and marks, and where the keyboard goes next.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/conversions.h"
#include "engine/run_error.h"
#include "form/controls.h"
#include "form/rule_results.h"

namespace trolvane {

struct TextBox {
    std::string text;
    bool visible = true;
};

// A label the commands write. Its note is what the pointer and a screen reader
// are told beside the caption: why it is out of date, why its inputs are
// impossible, and its exact p-value, each where there is one.
struct Label {
    std::string caption;
    std::string outOfDate;
    std::string impossible;
    std::string exactP;

    std::string Note() const;
};

// The numbers a result row was computed from, as Test read them.
struct RowSource {
    int run = 0;
    double p = 0;
    double n = 0;
    double detR = 0;
    std::vector<double> eigenvalues;
};

// Where a command is: normalising a box, reading an eigenvalue box, or
// computing a row. A failure is reported, and the keyboard sent, there.
struct Step {
    enum class Doing { Nothing, Normalising, Reading, Computing };
    Doing doing = Doing::Nothing;
    ControlId box{Control::v};
    int row = 0;
};

// Where the keyboard goes once the window has shown the state: to a box, its
// text selected to type over.
struct FocusRequest {
    ControlId box;
};

// What the data dialog wrote into the window, as the boxes showed it then, and
// the checks a report gives before the test, which only the data can tell.
struct DataOrigin {
    std::string v;
    std::string det;
    // Where the data give the sample size (raw data, or a table with its
    // counts); a bare matrix leaves the box to the user.
    std::optional<std::string> n;
    std::vector<std::string> eigenvalues;
    std::optional<double> kmo;
    // Every eigenvalue, the largest first, and R, p x p row after row, which
    // the rules for how many components to keep use.
    std::vector<double> allEigenvalues{};
    std::vector<double> correlations{};
    // Where R holds polychoric correlations: the ordered categories they came
    // from, which parallel analysis permutes.
    std::shared_ptr<const OrdinalData> categories{};
};

struct FormState {
    // The user's separators, as their locale writes numbers.
    explicit FormState(NumberFormat userFormat);

    NumberFormat format;
    TextBox v, n, det, f;
    Label oops, tlabel, flabel, elabel;
    std::array<TextBox, kRows> eigenBoxes;
    std::array<Label, kRows> fnumLabels;
    std::array<Label, kRows> testLabels;
    std::array<std::optional<RowSource>, kRows> sources;
    // Test runs so far; a row written by an earlier one was not reached by the last.
    int testRuns = 0;
    Step step;
    std::optional<FocusRequest> focus;
    // Where the numbers came from, when the data dialog wrote them.
    std::optional<DataOrigin> fromData;
    // How the rules draw their random data, and what they gave last.
    RandomDataSettings ruleSettings;
    std::optional<RuleResults> rules;

    // The control arrays, indexed 1 to 10; any other index is a missing element.
    TextBox& eigen(int index) { return Element(eigenBoxes, index); }
    Label& fnum(int index) { return Element(fnumLabels, index); }
    Label& test(int index) { return Element(testLabels, index); }

    // The box or written label a control is; none for fixed labels and buttons.
    TextBox* box(ControlId id);
    const TextBox* box(ControlId id) const;
    const Label* label(ControlId id) const;

  private:
    template <typename Control>
    static Control& Element(std::array<Control, kRows>& controls, int index) {
        if (index < 1 || index > kRows) {
            throw RunError(ErrorKind::MissingElement);
        }
        return controls[index - 1];
    }
};

// Replaces the box's text by the number it holds, as the commands will use it.
void Normalise(FormState& form, ControlId box);

// The number a box holds, read strictly: a box without one is a type mismatch.
double Number(const FormState& form, const TextBox& box);

// Runs row(k) for k = 1, 2, ... while k does not exceed F; past row 10 the
// control arrays raise a missing element.
template <typename Row>
void ForEachRow(double F, Row row) {
    for (int k = 1; k <= F; ++k) {
        row(k);
    }
}

}  // namespace trolvane
