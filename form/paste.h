// What a paste does to the boxes: a column of eigenvalues, or the eigenvalue
// column of a table copied from a statistics program, fills the rows from the
// box it is pasted into, and a box for one number never glues several into one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "form/form_state.h"

namespace trolvane {

// Only a paste or a drop puts a line break or a tab into a box.
bool HoldsSeveralFields(std::string_view text);

// The eigenvalues a pasted text holds, each as pasted. One line gives its
// tab-separated cells. Of several lines, those holding no number (headers, blank
// lines) are left out. When every other line has the same two or more cells it
// is a table, whose eigenvalue column is taken: the first whose values are all
// numbers and neither the row numbers 1, 2, 3, ... nor increasing. Otherwise
// every cell that holds a number is taken, line by line.
std::vector<std::string> PastedEigenvalues(std::string_view text, const NumberFormat& format);

// Text of several fields in eigen(k) goes one eigenvalue a row, into eigen(k),
// eigen(k + 1), ... up to row 10; each row that receives one is shown and numbered.
void SpreadPastedColumn(FormState& form, int k);

// Text of several fields in a box for one number keeps the first that holds one.
void KeepFirstPastedNumber(FormState& form, ControlId box);

}  // namespace trolvane
