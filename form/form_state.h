// The live state of the window: its input boxes, labels and row arrays, which the
// Start and Test commands read and write, and nothing else.
#pragma once

#include <QLineEdit>
#include <array>

#include "engine/conversions.h"
#include "engine/run_error.h"
#include "form/caption.h"

namespace trolvane {

// The number of rows: eigenvalue boxes, row numbers and result labels.
constexpr int kRows = 10;

// The user's separators, as the system locale writes numbers.
NumberFormat UserNumberFormat();

// Where a command is: normalising a box, reading an eigenvalue box, or
// computing a row. A failure is reported, and the keyboard sent, there.
struct Step {
    enum class Doing { Nothing, Normalising, Reading, Computing };
    Doing doing = Doing::Nothing;
    QLineEdit* box = nullptr;
    int row = 0;
};

struct FormState {
    QLineEdit* v = nullptr;
    QLineEdit* n = nullptr;
    QLineEdit* det = nullptr;
    QLineEdit* f = nullptr;
    Caption* oops = nullptr;
    Caption* tlabel = nullptr;
    Caption* flabel = nullptr;
    Caption* elabel = nullptr;
    std::array<QLineEdit*, kRows> eigenBoxes{};
    std::array<Caption*, kRows> fnumLabels{};
    std::array<Caption*, kRows> testLabels{};
    Step step;

    // The control arrays, indexed 1 to 10; any other index is a missing element.
    QLineEdit* eigen(int index) const { return Element(eigenBoxes, index); }
    Caption* fnum(int index) const { return Element(fnumLabels, index); }
    Caption* test(int index) const { return Element(testLabels, index); }

  private:
    template <typename Control>
    static Control* Element(const std::array<Control*, kRows>& controls, int index) {
        if (index < 1 || index > kRows) {
            throw RunError(ErrorKind::MissingElement);
        }
        return controls[index - 1];
    }
};

// Replaces the box's text by the number it holds, as the commands will use it.
void Normalise(FormState& form, QLineEdit* box, const NumberFormat& format);

// The number a box holds, read strictly: a box without one is a type mismatch.
double Number(const QLineEdit* box, const NumberFormat& format);

// The eigenvalue of row k, read strictly.
double Eigenvalue(FormState& form, int k, const NumberFormat& format);

// Runs row(k) for k = 1, 2, ... while k does not exceed F; past row 10 the
// control arrays raise a missing element.
template <typename Row>
void ForEachRow(double F, Row row) {
    for (int k = 1; k <= F; ++k) {
        row(k);
    }
}

}  // namespace trolvane
