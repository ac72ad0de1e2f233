// A table of texts as it leaves the window: tab-separated lines, HTML rows and
// CSV lines, for the clipboard and for a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/escaped_html.h"

namespace trolvane {

using Fields = std::vector<std::string>;

// The fields separated by tabs, with a line feed.
std::string PlainLine(const Fields& fields);

// A row of the fields, each in a cell of the given tag, "th" or "td".
std::string HtmlRow(const Fields& fields, std::string_view cellTag);

// The fields as a CSV line, each quoted where it holds the separator, a quote
// or a line break.
std::string CsvLine(const Fields& fields, char separator);

}  // namespace trolvane
