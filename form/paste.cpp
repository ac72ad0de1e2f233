#include "form/paste.h"

#include <algorithm>
#include <iterator>

namespace trolvane {
namespace {

using Fields = std::vector<std::string>;

Fields Split(std::string_view text, std::string_view separators) {
    Fields fields;
    while (true) {
        const auto end = text.find_first_of(separators);
        fields.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return fields;
        }
        // A Windows line break, CR LF, is one separator.
        const bool crlf = text.substr(end, 2) == "\r\n";
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
}

bool IsBlank(std::string_view field) {
    return field.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Empty fields at the end of a paste are what the copy left behind.
Fields WithoutTrailingBlanks(Fields fields) {
    while (fields.size() > 1 && IsBlank(fields.back())) {
        fields.pop_back();
    }
    return fields;
}

std::optional<double> NumberIn(std::string_view field, const NumberFormat& format) {
    return UnlessRunError([&] { return StrictNumber(field, format); });
}

struct Column {
    Fields texts;
    std::vector<std::optional<double>> numbers;

    bool AllNumbers() const {
        return std::all_of(numbers.begin(), numbers.end(), [](auto number) { return number; });
    }
    bool RowNumbers() const {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (*numbers[i] != static_cast<double>(i + 1)) {
                return false;
            }
        }
        return true;
    }
    bool Increasing() const {
        if (numbers.size() < 2) {
            return false;
        }
        for (std::size_t i = 1; i < numbers.size(); ++i) {
            if (!(*numbers[i] > *numbers[i - 1])) {
                return false;
            }
        }
        return true;
    }
};

// The eigenvalue column of a table's rows, all of one width; the first column of
// numbers where no column fits, else the first column.
Fields EigenvalueColumn(const std::vector<Fields>& rows, const NumberFormat& format) {
    const std::size_t width = rows.front().size();
    std::vector<Column> columns(width);
    for (const Fields& row : rows) {
        for (std::size_t c = 0; c < width; ++c) {
            columns[c].texts.push_back(row[c]);
            columns[c].numbers.push_back(NumberIn(row[c], format));
        }
    }
    for (const Column& column : columns) {
        if (column.AllNumbers() && !column.RowNumbers() && !column.Increasing()) {
            return column.texts;
        }
    }
    for (const Column& column : columns) {
        if (column.AllNumbers()) {
            return column.texts;
        }
    }
    return columns.front().texts;
}

// Lines of numbers make a table only when each has the same two or more fields;
// lines of different widths were not copied from one, and none of their
// numbers may be lost.
bool IsTable(const std::vector<Fields>& rows) {
    const std::size_t width = rows.front().size();
    return width > 1 && std::all_of(rows.begin(), rows.end(),
                                    [&](const Fields& row) { return row.size() == width; });
}

}  // namespace

bool HoldsSeveralFields(std::string_view text) {
    return text.find_first_of("\r\n\t") != std::string_view::npos;
}

std::vector<std::string> PastedEigenvalues(std::string_view text, const NumberFormat& format) {
    const Fields lines = WithoutTrailingBlanks(Split(text, "\r\n"));
    if (lines.size() == 1) {
        return WithoutTrailingBlanks(Split(lines.front(), "\t"));
    }
    const auto holdsNumber = [&](const std::string& cell) { return NumberIn(cell, format); };
    std::vector<Fields> rows;
    for (const std::string& line : lines) {
        Fields cells = Split(line, "\t");
        if (std::any_of(cells.begin(), cells.end(), holdsNumber)) {
            rows.push_back(std::move(cells));
        }
    }
    if (rows.empty()) {
        return lines;
    }
    if (IsTable(rows)) {
        return EigenvalueColumn(rows, format);
    }
    Fields numbers;
    for (const Fields& row : rows) {
        std::copy_if(row.begin(), row.end(), std::back_inserter(numbers), holdsNumber);
    }
    return numbers;
}

void SpreadPastedColumn(FormState& form, int k) {
    const Fields eigenvalues = PastedEigenvalues(form.eigen(k).text, form.format);
    for (int row = k; row <= kRows && row - k < static_cast<int>(eigenvalues.size()); ++row) {
        form.eigen(row).text = eigenvalues[row - k];
        form.eigen(row).visible = true;
        form.fnum(row).caption = std::to_string(row);
    }
}

void KeepFirstPastedNumber(FormState& form, ControlId box) {
    std::string& text = form.box(box)->text;
    const Fields fields = Split(text, "\r\n\t");
    const auto holdsNumber = [&](const std::string& field) { return NumberIn(field, form.format); };
    const auto nonBlank = [](const std::string& field) { return !IsBlank(field); };
    auto first = std::find_if(fields.begin(), fields.end(), holdsNumber);
    if (first == fields.end()) {
        first = std::find_if(fields.begin(), fields.end(), nonBlank);
    }
    text = first == fields.end() ? "" : *first;
}

}  // namespace trolvane
