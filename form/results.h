// The results as they leave the window: the rows that show a caption as a
// table, with the sentence a report needs, for the clipboard and for a file.
#pragma once

#include <optional>
#include <string>

#include "form/form_state.h"

namespace trolvane {

// What Copy Results puts on the clipboard: the table and the sentence as plain
// text, and the same as HTML for word processors and spreadsheets.
struct CopiedResults {
    std::string plainText;
    std::string html;
};

// What the user is told when no row has a result to copy or save.
constexpr char kNoResults[] = "There are no results yet: press Test first.";

// The results to copy: a line for each row that shows a caption, with its mark
// (out of date, or why its inputs are impossible), then the report sentence on
// the rows that are current and possible, left out where there are none. None
// when no row shows a caption.
std::optional<CopiedResults> CopyResults(const FormState& form);

// The results as a CSV file in UTF-8, marked so for spreadsheets: the inputs on
// lines of their own, then the table; comma-separated, or semicolon-separated
// where the decimal separator is a comma. None when no row shows a caption.
std::optional<std::string> ResultsCsv(const FormState& form);

}  // namespace trolvane
