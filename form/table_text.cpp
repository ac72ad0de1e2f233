#include "form/table_text.h"

#include "engine/joined.h"

namespace trolvane {
namespace {

// A CSV field, quoted where it holds the separator, a quote or a line break.
std::string CsvField(const std::string& field, char separator) {
    if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

}  // namespace

std::string PlainLine(const Fields& fields) {
    return Joined(fields, "\t") + "\n";
}

std::string HtmlRow(const Fields& fields, std::string_view cellTag) {
    std::string row = "<tr>";
    for (const std::string& field : fields) {
        row.append("<").append(cellTag).append(">").append(EscapedHtml(field));
        row.append("</").append(cellTag).append(">");
    }
    return row + "</tr>\n";
}

std::string CsvLine(const Fields& fields, char separator) {
    Fields quoted;
    for (const std::string& field : fields) {
        quoted.push_back(CsvField(field, separator));
    }
    return Joined(quoted, std::string_view(&separator, 1)) + "\r\n";
}

}  // namespace trolvane
