#include "data_reading/correlation_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "data_reading/variables.h"

namespace trolvane {
namespace {

// What a cell of a printed table holds: a dash stands on a diagonal, a
// p-value such as "<.0001" in a row of significance values.
enum class Kind { Missing, Number, Dash, PValue, Text };

struct Cell {
    Kind kind = Kind::Missing;
    Field field;
};

using Cells = std::vector<Cell>;

// Em dash, en dash and hyphens.
constexpr std::array<std::string_view, 4> kDashes = {"\xe2\x80\x94", "\xe2\x80\x93", "-", "--"};

// The first words of the labels of rows that hold no correlations:
// significance, p-values, counts and degrees of freedom.
constexpr std::array<std::string_view, 6> kLeftOutLabels = {"sig",  "p-value", "p",
                                                            "prob", "n",       "df"};
constexpr std::string_view kCountLabel = "n";

// The words before the count in a title: "N = 30", "(obs=30)".
constexpr std::array<std::string_view, 2> kCountWords = {"n", "obs"};

// Counts are whole numbers from 1 up to this, which a double holds exactly.
constexpr double kLargestCount = 1e15;

// A table has no more lines than this many for each variable, beyond its
// titles and footnotes.
constexpr std::size_t kLinesPerVariable = 4;
constexpr std::size_t kTitleAndFootnoteLines = 40;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first word of a label in lower case, without the stop after it:
// "Sig. (2-tailed)" gives "sig", "Prob > |r|" gives "prob".
std::string LabelWord(std::string_view label) {
    std::string word(label.substr(0, label.find_first_of(" (<>=:")));
    while (!word.empty() && word.back() == '.') {
        word.pop_back();
    }
    std::transform(word.begin(), word.end(), word.begin(), Lower);
    return word;
}

bool IsLeftOutLabel(std::string_view label) {
    const std::string word = LabelWord(label);
    return std::find(kLeftOutLabels.begin(), kLeftOutLabels.end(), word) != kLeftOutLabels.end();
}

// A name as a numbered row gives it: "2. complaints" is complaints.
std::string_view WithoutNumbering(std::string_view name) {
    std::size_t at = 0;
    while (at < name.size() && IsDigit(name[at])) {
        ++at;
    }
    if (at == 0 || name.substr(at, 2) != ". ") {
        return name;
    }
    return name.substr(std::min(name.find_first_not_of(' ', at + 1), name.size()));
}

// A name cut to fit its column, "compla~s", stands for a longer name with
// that start and end.
struct NameParts {
    std::string_view start;
    std::string_view end;
    bool cut;
};

NameParts PartsOf(std::string_view name) {
    const std::size_t tilde = name.find('~');
    if (tilde == std::string_view::npos) {
        return {name, name, false};
    }
    return {name.substr(0, tilde), name.substr(tilde + 1), true};
}

bool SameVariable(std::string_view a, std::string_view b) {
    const NameParts x = PartsOf(a);
    const NameParts y = PartsOf(b);
    if (!x.cut && !y.cut) {
        return a == b;
    }
    const auto startsAlike = [](std::string_view s, std::string_view t) {
        return s.starts_with(t) || t.starts_with(s);
    };
    const auto endsAlike = [](std::string_view s, std::string_view t) {
        return s.ends_with(t) || t.ends_with(s);
    };
    // A whole name is longer than its cut form.
    return startsAlike(x.start, y.start) && endsAlike(x.end, y.end) &&
           ((x.cut && y.cut) || a.size() != b.size());
}

// Of two forms of one name, the whole one, else the longer.
std::string_view FullerName(std::string_view a, std::string_view b) {
    if (PartsOf(a).cut != PartsOf(b).cut) {
        return PartsOf(a).cut ? b : a;
    }
    return b.size() > a.size() ? b : a;
}

std::optional<double> Count(const Cell& cell, double smallest) {
    if (cell.kind != Kind::Number) {
        return std::nullopt;
    }
    const double n = cell.field.number;
    return n >= smallest && n <= kLargestCount &&
                   n == static_cast<double>(static_cast<long long>(n))
               ? std::optional(n)
               : std::nullopt;
}

// The count a title gives as "N = 30" or "(obs=30)"; none where it gives none.
std::optional<long long> CountInTitle(std::string_view line) {
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (at > 0 && IsLetterOrDigit(line[at - 1])) {
            continue;
        }
        for (const std::string_view word : kCountWords) {
            std::size_t i = at;
            while (i < line.size() && i - at < word.size() && Lower(line[i]) == word[i - at]) {
                ++i;
            }
            if (i - at != word.size()) {
                continue;
            }
            i = std::min(line.find_first_not_of(' ', i), line.size());
            if (i == line.size() || line[i] != '=') {
                continue;
            }
            const std::size_t digits = std::min(line.find_first_not_of(' ', i + 1), line.size());
            long long count = 0;
            const auto read =
                std::from_chars(line.data() + digits, line.data() + line.size(), count);
            const std::size_t end = static_cast<std::size_t>(read.ptr - line.data());
            const bool fraction = end + 1 < line.size() && (line[end] == '.' || line[end] == ',') &&
                                  IsDigit(line[end + 1]);
            if (read.ec == std::errc() && !fraction && count >= 1 &&
                static_cast<double>(count) <= kLargestCount) {
                return count;
            }
        }
    }
    return std::nullopt;
}

// A field as a table's cell: a number may carry stars of significance, and a
// dash or a p-value is told from other texts.
Cell CellOf(const Field& field, const FieldReader& reader) {
    if (field.kind != Field::Kind::Text) {
        return {field.kind == Field::Kind::Number ? Kind::Number : Kind::Missing, field};
    }
    const std::string_view text = field.text;
    if (std::find(kDashes.begin(), kDashes.end(), text) != kDashes.end()) {
        return {Kind::Dash, field};
    }
    const std::size_t stars = text.find_last_not_of('*') + 1;
    if (stars > 0 && stars < text.size()) {
        if (const Field number = reader.Read(text.substr(0, stars));
            number.kind == Field::Kind::Number) {
            return {Kind::Number, {Field::Kind::Number, number.number, text}};
        }
    }
    if ((text.front() == '<' || text.front() == '>') &&
        reader.Read(text.substr(1)).kind == Field::Kind::Number) {
        return {Kind::PValue, field};
    }
    return {Kind::Text, field};
}

// A rule of -, + and = under a console table's header.
bool IsRule(std::string_view line) {
    return line.find_first_not_of(" \t-+=|_") == std::string_view::npos &&
           std::count_if(line.begin(), line.end(),
                         [](char c) { return c == '-' || c == '=' || c == '_'; }) >= 3;
}

// The cells of a line; the bars between a console table's columns and its
// rules are no cells.
Cells CellsOf(std::string_view line, const FieldReader& reader, std::vector<Field>& fields) {
    Cells cells;
    if (IsRule(line)) {
        return cells;
    }
    reader.Split(line, fields);
    for (const Field& field : fields) {
        if (field.text != "|") {
            cells.push_back(CellOf(field, reader));
        }
    }
    while (!cells.empty() && cells.back().kind == Kind::Missing) {
        cells.pop_back();
    }
    return cells;
}

// A table's header: the variables' names, after as many cells as its rows
// have labels and names in front of their correlations.
struct Header {
    std::size_t lead = 0;
    std::vector<std::string_view> names;
};

// One line of a table: the cells before its correlations, and those.
struct Row {
    std::vector<Cell> lead;
    std::vector<Cell> values;
};

// A row of correlations as a matrix reads it: its name, then its cells, with
// 1 for a diagonal left empty or marked with a dash.
SplitLine CorrelationRow(const Row& row, std::size_t i, std::string_view name, long long number) {
    // The name stands first, where the row's labels and name stood before its cells.
    SplitLine line{{{Field::Kind::Text, 0, name}}, number, row.lead.size() - 1};
    for (std::size_t j = 0; j < row.values.size(); ++j) {
        const Cell& cell = row.values[j];
        const bool unitDiagonal = j == i && (cell.kind == Kind::Missing || cell.kind == Kind::Dash);
        line.fields.push_back(unitDiagonal ? Field{Field::Kind::Number, 1, cell.field.text}
                                           : cell.field);
    }
    if (row.values.size() == i) {
        line.fields.push_back({Field::Kind::Number, 1, ""});
    }
    return line;
}

// What the labels in front of a row's cells say of it.
struct Labels {
    bool any = false;
    // Significance values, p-values, counts or degrees of freedom.
    bool leftOut = false;
    bool counts = false;
};

class TableText {
  public:
    TableText(const std::vector<TextLine>& lines, std::vector<Cells> cells, bool columnsKept)
        : lines_(lines), cells_(std::move(cells)), columnsKept_(columnsKept) {}

    // The table under the header in the line at that index; none where the
    // lines below it are no rows of its correlations.
    std::optional<CorrelationTable> Below(std::size_t at) const;

  private:
    std::optional<Header> HeaderAt(std::size_t at) const;
    Row RowAt(std::size_t at, const Header& header) const;
    // The labels of a row, other than its name; an empty cell under a label
    // in a column of labels has that label too.
    Labels LabelsOf(const Row& row, std::optional<std::size_t> nameAt,
                    std::optional<std::size_t> nameColumn,
                    std::vector<std::string_view>& labelsAbove) const;
    void AddCounts(const Row& row, std::size_t owner, std::size_t p,
                   std::vector<long long>& counts) const;

    const std::vector<TextLine>& lines_;
    std::vector<Cells> cells_;
    // Whether empty cells keep their columns, as where tabs or commas separate
    // them, or vanish between spaces.
    bool columnsKept_;
};

std::optional<Header> TableText::HeaderAt(std::size_t at) const {
    const Cells& cells = cells_[at];
    Header header;
    if (columnsKept_) {
        while (header.lead < cells.size() && cells[header.lead].kind == Kind::Missing) {
            ++header.lead;
        }
        if (header.lead == 0) {
            return std::nullopt;
        }
    }
    for (std::size_t j = header.lead; j < cells.size(); ++j) {
        if (cells[j].kind != Kind::Text) {
            return std::nullopt;
        }
        header.names.push_back(WithoutNumbering(cells[j].field.text));
    }
    if (header.names.size() < 2) {
        return std::nullopt;
    }
    return header;
}

Row TableText::RowAt(std::size_t at, const Header& header) const {
    const Cells& cells = cells_[at];
    std::size_t lead = 0;
    if (columnsKept_) {
        lead = std::min(header.lead, cells.size());
    } else {
        while (lead < cells.size() && cells[lead].kind == Kind::Text) {
            ++lead;
        }
    }
    return {{cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(lead)},
            {cells.begin() + static_cast<std::ptrdiff_t>(lead), cells.end()}};
}

Labels TableText::LabelsOf(const Row& row, std::optional<std::size_t> nameAt,
                           std::optional<std::size_t> nameColumn,
                           std::vector<std::string_view>& labelsAbove) const {
    Labels labels;
    for (std::size_t c = 0; c < row.lead.size(); ++c) {
        if (nameAt == c) {
            continue;
        }
        std::string_view label = row.lead[c].field.text;
        if (columnsKept_ && nameColumn != c) {
            if (row.lead[c].kind == Kind::Missing) {
                label = labelsAbove[c];
            } else {
                labelsAbove[c] = label;
            }
        }
        labels.any = labels.any || !label.empty();
        labels.leftOut = labels.leftOut || IsLeftOutLabel(label);
        labels.counts = labels.counts || LabelWord(label) == kCountLabel;
    }
    return labels;
}

// The counts a row of counts gives for the pairs of its variable, the owner,
// with the others; none unless every number in it is a count.
void TableText::AddCounts(const Row& row, std::size_t owner, std::size_t p,
                          std::vector<long long>& counts) const {
    std::vector<long long> found;
    // Where empty cells vanish, only a row of p counts shows its diagonal.
    const bool diagonalShown = columnsKept_ || row.values.size() == p;
    for (std::size_t j = 0; j < row.values.size(); ++j) {
        const Cell& cell = row.values[j];
        if ((diagonalShown && j == owner) || cell.kind == Kind::Missing ||
            cell.kind == Kind::Dash) {
            continue;
        }
        const std::optional<double> count = Count(cell, 1);
        if (!count) {
            return;
        }
        found.push_back(static_cast<long long>(*count));
    }
    counts.insert(counts.end(), found.begin(), found.end());
}

std::optional<CorrelationTable> TableText::Below(std::size_t at) const {
    const std::optional<Header> header = HeaderAt(at);
    if (!header) {
        return std::nullopt;
    }
    const std::size_t p = header->names.size();
    std::vector<std::string_view> names = header->names;
    CorrelationTable table;
    table.rows.push_back({{}, lines_[at].number, 0});
    std::vector<long long> counts;
    // Where its column is known, the name of a row, and the labels above
    // empty cells, which stand for the rows under them too.
    std::optional<std::size_t> nameColumn;
    std::vector<std::string_view> labelsAbove(header->lead);
    std::size_t next = 0;
    std::size_t end = at + 1;
    for (; end < cells_.size(); ++end) {
        if (cells_[end].empty()) {
            continue;
        }
        const Row row = RowAt(end, *header);
        std::optional<std::size_t> nameAt;
        for (std::size_t c = 0; c < row.lead.size() && !nameAt; ++c) {
            const bool named =
                row.lead[c].kind == Kind::Text &&
                (nameColumn ? c == *nameColumn
                            : next < p && SameVariable(WithoutNumbering(row.lead[c].field.text),
                                                       names[next]));
            if (named) {
                nameAt = c;
            }
        }
        const Labels labels = LabelsOf(row, nameAt, nameColumn, labelsAbove);
        const bool leftOut = labels.leftOut;
        const std::optional<std::string_view> name =
            nameAt ? std::optional(WithoutNumbering(row.lead[*nameAt].field.text)) : std::nullopt;
        const bool expected = name && next < p && SameVariable(*name, names[next]);
        const bool holdsValues =
            std::any_of(row.values.begin(), row.values.end(),
                        [](const Cell& cell) { return cell.kind != Kind::Missing; });
        // Where cells keep their columns, a row may hold only an empty diagonal.
        if (!holdsValues && !(expected && columnsKept_)) {
            // A line of text: a footnote, once the table has begun.
            if (next == 0) {
                return std::nullopt;
            }
            break;
        }
        if (expected && !leftOut) {
            if (row.values.size() > p) {
                throw DataRefusal("Line " + std::to_string(lines_[end].number) + " has " +
                                  std::to_string(row.values.size()) +
                                  " correlations, more than the " + std::to_string(p) +
                                  " variables the table's header names.");
            }
            nameColumn = nameAt;
            names[next] = FullerName(names[next], *name);
            table.rows.push_back(CorrelationRow(row, next, names[next], lines_[end].number));
            ++next;
            continue;
        }
        if (next == 0) {
            return std::nullopt;
        }
        const auto owner = std::find_if(names.begin(), names.end(), [&](std::string_view n) {
            return name && SameVariable(*name, n);
        });
        if (owner != names.end() && !leftOut) {
            // A row of the next table.
            break;
        }
        if (name && !leftOut && row.values.size() == p) {
            // A table printed in blocks of columns goes on below its first block.
            throw DataRefusal("Line " + std::to_string(lines_[end].number) +
                              " has a row of correlations for " + std::string(*name) +
                              ", a variable the table's header does not name: a correlation "
                              "matrix has a column for each variable.");
        }
        // A row without a name or label that holds counts, such as the number
        // of observations under a row of correlations.
        const bool unnamedCounts =
            !name && !labels.any && row.values.size() >= 2 &&
            std::all_of(row.values.begin(), row.values.end(),
                        [](const Cell& cell) { return Count(cell, 2).has_value(); });
        if (labels.counts || unnamedCounts) {
            AddCounts(
                row,
                owner != names.end() ? static_cast<std::size_t>(owner - names.begin()) : next - 1,
                p, counts);
        }
    }
    if (next == 0) {
        return std::nullopt;
    }
    if (next < p) {
        throw DataRefusal("The table's header names " + std::to_string(p) +
                          " variables, but rows of correlations follow for " +
                          std::to_string(next) +
                          " of them: a correlation matrix has a row for each variable.");
    }
    for (const std::string_view name : names) {
        table.rows.front().fields.push_back({Field::Kind::Text, 0, name});
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i < at || i >= end) {
            if (const std::optional<long long> count = CountInTitle(lines_[i].text)) {
                counts.push_back(*count);
            }
        }
    }
    if (!counts.empty()) {
        const auto [smallest, largest] = std::minmax_element(counts.begin(), counts.end());
        table.cases = *smallest;
        table.casesDiffer = *smallest != *largest;
    }
    return table;
}

}  // namespace

std::optional<CorrelationTable> FindCorrelationTable(const std::vector<TextLine>& lines,
                                                     Separator found,
                                                     const NumberFormat& userFormat) {
    // Output windows copy tables with tabs, which may not be the separator
    // found from the numbers of a table with many labels.
    std::vector<Separator> separators = {found};
    if (found != Separator::Tab && SeparatorsPresent(lines).front() == Separator::Tab) {
        separators.push_back(Separator::Tab);
    }
    std::vector<Field> fields;
    for (const Separator separator : separators) {
        const FieldReader reader(separator, userFormat);
        std::size_t widest = 0;
        for (std::size_t i = 0; i < std::min(lines.size(), kSampledLines); ++i) {
            reader.Split(lines[i].text, fields);
            widest = std::max(widest, fields.size());
        }
        // Raw data: many more lines than a table of that width has.
        if (lines.size() > kLinesPerVariable * widest + kTitleAndFootnoteLines) {
            continue;
        }
        std::vector<Cells> cells;
        for (const TextLine& line : lines) {
            cells.push_back(CellsOf(line.text, reader, fields));
        }
        const TableText text(lines, std::move(cells), separator != Separator::Spaces);
        for (std::size_t at = 0; at < lines.size(); ++at) {
            if (std::optional<CorrelationTable> table = text.Below(at)) {
                return table;
            }
        }
    }
    return std::nullopt;
}

}  // namespace trolvane
