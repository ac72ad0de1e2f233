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

// The results to copy; none when no row shows a caption.
std::optional<CopiedResults> CopyResults(const FormState& form);

// The results as a CSV file in UTF-8: the inputs, then the table; none when no
// row shows a caption.
std::optional<std::string> ResultsCsv(const FormState& form);

}  // namespace trolvane
