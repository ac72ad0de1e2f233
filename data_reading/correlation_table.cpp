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

// The words before the count in a title: "N = 30", "(obs=30)", "Sample Size"
// above R's print of the count, "[1] 30".
constexpr std::array<std::string_view, 3> kCountWords = {"n", "obs", "sample size"};
constexpr std::string_view kPrintedVector = "[1]";

// Counts are whole numbers from 1 up to this, which a double holds exactly.
constexpr double kLargestCount = 1e15;

// A table has no more lines than this many for each variable, beyond its
// titles and footnotes.
constexpr std::size_t kLinesPerVariable = 4;
constexpr std::size_t kTitleAndFootnoteLines = 40;
// Tables printed in blocks of columns are read up to this many variables.
constexpr std::size_t kMostVariablesInBlocks = 100;

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

// The spaces that may group a count's digits: a space, a no-break space, a
// thin space and a narrow no-break space.
constexpr std::array<std::string_view, 4> kGroupSpaces = {" ", "\xc2\xa0", "\xe2\x80\x89",
                                                          "\xe2\x80\xaf"};

// The whole number at the start of the text, its digits perhaps grouped in
// threes by a space or by the user's group separator: "12 345" is 12345.
// None where the text starts with no such number or goes on with a fraction.
std::optional<long long> LeadingCount(std::string_view text, const NumberFormat& format) {
    const auto digitsAt = [&](std::size_t at) {
        std::size_t end = at;
        while (end < text.size() && IsDigit(text[end])) {
            ++end;
        }
        return end - at;
    };
    std::size_t at = digitsAt(0);
    if (at == 0) {
        return std::nullopt;
    }
    std::string digits(text.substr(0, at));
    bool grouped = at <= 3;
    while (grouped) {
        grouped = false;
        for (const std::string_view space : kGroupSpaces) {
            for (const std::string_view separator : {space, std::string_view(format.group)}) {
                if (!grouped && !separator.empty() && separator != format.decimal &&
                    text.substr(at).starts_with(separator) &&
                    digitsAt(at + separator.size()) == 3) {
                    digits += text.substr(at + separator.size(), 3);
                    at += separator.size() + 3;
                    grouped = true;
                }
            }
        }
    }
    const bool fraction =
        at + 1 < text.size() && (text[at] == '.' || text[at] == ',') && IsDigit(text[at + 1]);
    long long count = 0;
    const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (fraction || read.ec != std::errc() || count < 1 ||
        static_cast<double>(count) > kLargestCount) {
        return std::nullopt;
    }
    return count;
}

std::string_view TrimmedLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t") + 1 - first);
}

// Where a count word stands in the line from that place, the place after it.
std::optional<std::size_t> AfterCountWord(std::string_view line, std::size_t at,
                                          std::string_view word) {
    if (at > 0 && IsLetterOrDigit(line[at - 1])) {
        return std::nullopt;
    }
    std::size_t i = at;
    while (i < line.size() && i - at < word.size() && Lower(line[i]) == word[i - at]) {
        ++i;
    }
    if (i - at != word.size() || (i < line.size() && IsLetterOrDigit(line[i]))) {
        return std::nullopt;
    }
    return i;
}

// The count a title gives as "N = 30", "(obs=30)" or "Sample size: 30"; none
// where it gives none.
std::optional<long long> CountInTitle(std::string_view line, const NumberFormat& format) {
    for (std::size_t at = 0; at < line.size(); ++at) {
        for (const std::string_view word : kCountWords) {
            const std::optional<std::size_t> after = AfterCountWord(line, at, word);
            if (!after) {
                continue;
            }
            std::size_t i = std::min(line.find_first_not_of(' ', *after), line.size());
            if (i == line.size() || (line[i] != '=' && line[i] != ':')) {
                continue;
            }
            i = std::min(line.find_first_not_of(' ', i + 1), line.size());
            if (const std::optional<long long> count = LeadingCount(line.substr(i), format)) {
                return count;
            }
        }
    }
    return std::nullopt;
}

// The count R prints under a title of its own: "Sample Size" above "[1] 30".
std::optional<long long> CountUnderTitle(std::string_view title, std::string_view below,
                                         const NumberFormat& format) {
    title = TrimmedLine(title);
    below = TrimmedLine(below);
    const bool countWord = std::any_of(kCountWords.begin(), kCountWords.end(), [&](auto word) {
        return AfterCountWord(title, 0, word) == title.size();
    });
    if (!countWord || !below.starts_with(kPrintedVector)) {
        return std::nullopt;
    }
    below = TrimmedLine(below.substr(kPrintedVector.size()));
    const std::optional<long long> count = LeadingCount(below, format);
    return count && std::to_string(*count).size() == below.size() ? count : std::nullopt;
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

bool IsValue(const Cell& cell) {
    return cell.kind == Kind::Number || cell.kind == Kind::Dash || cell.kind == Kind::PValue;
}

bool HoldsValues(const Row& row) {
    return std::any_of(row.values.begin(), row.values.end(),
                       [](const Cell& cell) { return cell.kind != Kind::Missing; });
}

// Whether a label starts with these words, in any case.
bool StartsWithWords(std::string_view label, std::string_view words) {
    return label.size() >= words.size() &&
           std::equal(words.begin(), words.end(), label.begin(),
                      [](char word, char text) { return word == Lower(text); });
}

// Printers of wide tables put this among the names where they leave columns out.
constexpr std::array<std::string_view, 2> kElisions = {"...", "\xe2\x80\xa6"};

// The label over the column of a partial-correlation table's control
// variables, and that column's label for the correlations controlling for none.
constexpr std::string_view kControlVariables = "control variable";
constexpr std::string_view kNoControl = "-none-";

// The label a row has in front of its name, which names the group of rows it
// stands in ("Kendall's tau_b", a control variable); empty where it has none.
std::string_view GroupLabelOf(const Row& row, std::size_t nameAt) {
    for (std::size_t c = 0; c < std::min(nameAt, row.lead.size()); ++c) {
        if (row.lead[c].kind == Kind::Text) {
            return row.lead[c].field.text;
        }
    }
    return "";
}

// A row of correlations as a matrix reads it: its name, then its cells, with
// 1 for a diagonal left empty or marked with a dash.
SplitLine CorrelationRow(const Row& row, std::size_t i, std::string_view name, long long number) {
    // The name stands first, where the row's labels and name stood before its cells.
    SplitLine line{{{Field::Kind::Text, 0, name}}, number, row.lead.size() - 1, {}};
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

// How a block's cells stand among its columns where empty cells vanish between
// spaces: from its first column, as in a full matrix or a lower triangle, or up
// to its last, as in an upper triangle.
enum class Fill { Full, Lower, Upper };

// How many cells row i shows in the block of the columns from to to.
std::size_t CellsShown(Fill fill, std::size_t i, std::size_t from, std::size_t to) {
    switch (fill) {
        case Fill::Full:
            return to - from;
        case Fill::Lower:
            return i < from ? 0 : std::min(i + 1, to) - from;
        case Fill::Upper:
            return i >= to ? 0 : to - std::max(i, from);
    }
    return 0;
}

// What the labels in front of a row's cells say of it.
struct Labels {
    bool any = false;
    // Significance values, p-values, counts or degrees of freedom.
    bool leftOut = false;
    bool counts = false;
};

// The lines of a text as a table's cells.
class TableText {
  public:
    TableText(const std::vector<TextLine>& lines, std::vector<Cells> cells, bool columnsKept,
              const NumberFormat& userFormat)
        : lines_(lines), cells_(std::move(cells)), columnsKept_(columnsKept), format_(userFormat) {}

    std::size_t size() const { return cells_.size(); }
    const TextLine& LineAt(std::size_t at) const { return lines_[at]; }
    const Cells& CellsAt(std::size_t at) const { return cells_[at]; }
    bool ColumnsKept() const { return columnsKept_; }
    const NumberFormat& Format() const { return format_; }

    // The header in the line at that index; none where it is no header.
    std::optional<Header> HeaderAt(std::size_t at) const;
    // The names the line holds after a header's lead, where it holds only names.
    std::optional<std::vector<std::string_view>> NamesAt(std::size_t at, std::size_t lead) const;
    Row RowAt(std::size_t at, std::size_t lead) const;
    // The texts in front of a line's first value: its labels and name.
    std::vector<std::string_view> LeadTexts(std::size_t at) const;
    std::optional<std::size_t> NextLineAfter(std::size_t at) const;

  private:
    std::size_t LeadWidth(std::size_t at) const;
    // How many labels stand in a header over the column of names and labels of
    // the row below, as "Variable" may; 0 where none do.
    std::size_t LabelsOverNames(std::size_t at) const;

    const std::vector<TextLine>& lines_;
    std::vector<Cells> cells_;
    // Whether empty cells keep their columns, as where tabs or commas separate
    // them, or vanish between spaces.
    bool columnsKept_;
    NumberFormat format_;
};

std::size_t TableText::LeadWidth(std::size_t at) const {
    const Cells& cells = cells_[at];
    const std::size_t values =
        static_cast<std::size_t>(std::find_if(cells.begin(), cells.end(), IsValue) - cells.begin());
    std::size_t width = values;
    while (width > 0 && cells[width - 1].kind != Kind::Text) {
        --width;
    }
    return width;
}

std::vector<std::string_view> TableText::LeadTexts(std::size_t at) const {
    std::vector<std::string_view> texts;
    const Cells& cells = cells_[at];
    for (std::size_t c = 0; c < LeadWidth(at); ++c) {
        if (cells[c].kind == Kind::Text) {
            texts.push_back(WithoutNumbering(cells[c].field.text));
        }
    }
    return texts;
}

std::optional<std::size_t> TableText::NextLineAfter(std::size_t at) const {
    for (std::size_t next = at + 1; next < cells_.size(); ++next) {
        if (!cells_[next].empty()) {
            return next;
        }
    }
    return std::nullopt;
}

std::size_t TableText::LabelsOverNames(std::size_t at) const {
    const std::optional<std::size_t> below = NextLineAfter(at);
    if (!below) {
        return 0;
    }
    const std::size_t width = LeadWidth(*below);
    const Cells& cells = cells_[at];
    if (width == 0 || width + 1 >= cells.size() || cells[width].kind != Kind::Text) {
        return 0;
    }
    const std::string_view first = WithoutNumbering(cells[width].field.text);
    const std::vector<std::string_view> texts = LeadTexts(*below);
    const bool namesTheRow = std::any_of(texts.begin(), texts.end(), [&](std::string_view text) {
        return SameVariable(text, first);
    });
    return namesTheRow ? width : 0;
}

std::optional<std::vector<std::string_view>> TableText::NamesAt(std::size_t at,
                                                                std::size_t lead) const {
    const Cells& cells = cells_[at];
    if (cells.size() <= lead ||
        std::any_of(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(lead), IsValue)) {
        return std::nullopt;
    }
    std::vector<std::string_view> names;
    for (std::size_t j = lead; j < cells.size(); ++j) {
        if (cells[j].kind != Kind::Text) {
            return std::nullopt;
        }
        names.push_back(WithoutNumbering(cells[j].field.text));
    }
    return names;
}

std::optional<Header> TableText::HeaderAt(std::size_t at) const {
    const Cells& cells = cells_[at];
    Header header;
    if (columnsKept_) {
        while (header.lead < cells.size() && cells[header.lead].kind == Kind::Missing) {
            ++header.lead;
        }
    }
    if (header.lead == 0) {
        header.lead = LabelsOverNames(at);
    }
    if (columnsKept_ && header.lead == 0) {
        return std::nullopt;
    }
    std::optional<std::vector<std::string_view>> names = NamesAt(at, header.lead);
    if (!names || names->size() < 2) {
        return std::nullopt;
    }
    header.names = *std::move(names);
    return header;
}

Row TableText::RowAt(std::size_t at, std::size_t lead) const {
    const Cells& cells = cells_[at];
    if (columnsKept_) {
        lead = std::min(lead, cells.size());
    } else {
        lead = 0;
        while (lead < cells.size() && cells[lead].kind == Kind::Text) {
            ++lead;
        }
    }
    return {{cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(lead)},
            {cells.begin() + static_cast<std::ptrdiff_t>(lead), cells.end()}};
}

// A variable's row as the table gives it: its name, and its part in each block
// of columns with the index of the line that part stands on.
struct TableRow {
    std::string_view name;
    std::vector<std::pair<std::size_t, Row>> parts;
};

// A block of a table's columns: the index of its header's line, the header,
// and the first of its columns.
struct Block {
    std::size_t at;
    Header header;
    std::size_t from;
};

// What a line below a table's header is to the table read so far.
struct LineOfTable {
    enum class What {
        Blank,         // a blank line or a rule
        Correlations,  // the next variable's row of correlations
        Statistics,    // significance values, p-values or other rows left out
        Counts,        // the counts of a variable's pairs
        NextBlock,     // the header of the next block of columns
        NextTable,     // the start of another matrix
        End,           // a footnote or other text after the table
        NoTable,       // before any row: the header heads no correlations
        Refusal,
    };
    What what = What::Blank;
    Row row;
    std::optional<std::size_t> nameAt;
    std::string_view name;
    // Counts: the variable whose pairs they count.
    std::size_t owner = 0;
    // NextBlock: the names of its columns, and the row it begins at, after
    // the rows a lower triangle leaves empty where it leaves them out.
    std::vector<std::string_view> names;
    std::size_t firstRow = 0;
    std::string refusal;
};

LineOfTable Only(LineOfTable::What what) {
    LineOfTable line;
    line.what = what;
    return line;
}

std::string RowOfNoColumn(long long line, std::string_view name) {
    return "Line " + std::to_string(line) + " has a row of correlations for " + std::string(name) +
           ", a variable the table's header does not name: a correlation matrix has a column for "
           "each variable.";
}

// Reads the table under a header: each line below it is classified by what it
// is to the table read so far, and the table takes it as that.
class TableBelow {
  public:
    TableBelow(const TableText& text, std::size_t at, Header header)
        : text_(text), at_(at), columns_(header.names), labelsAbove_(header.lead) {
        blocks_.push_back({at, std::move(header), 0});
    }

    std::optional<CorrelationTable> Read();

  private:
    // Reads the table's rows; the line after them, or none where the header
    // heads no table.
    std::optional<std::size_t> ReadRows();
    using What = LineOfTable::What;

    LineOfTable Classify(std::size_t at);
    LineOfTable ClassifyNames(std::size_t at, std::vector<std::string_view> names) const;
    void Take(std::size_t at, const LineOfTable& line);
    // The name of the row that comes next; none where the first block of a
    // table printed in blocks may go on with a row of any other variable.
    std::optional<std::string_view> Expected() const;
    // The variable of that name among the table's columns and rows.
    std::optional<std::size_t> VariableNamed(std::string_view name) const;
    // Whether the line is followed by the row of the variable of that name.
    bool HeadsTheRows(std::size_t at, std::string_view first) const;
    std::optional<std::string> RefusalOfFirstRow(const Row& row, std::size_t nameAt) const;
    std::string TitleOf(const Row& row, std::size_t nameAt) const;
    // The labels of a row, other than its name; an empty cell under a label
    // in a column of labels has that label too.
    Labels LabelsOf(const Row& row, std::optional<std::size_t> nameAt);
    // The counts a row of counts gives for the pairs of a variable with the
    // others; none unless every number in it is a count.
    void AddCounts(const Row& row, std::size_t owner);
    // Where the rows end, once the table is whole; raises DataRefusal where it is not.
    std::size_t EndOfRows(std::size_t end);
    std::vector<SplitLine> Matrix() const;
    Fill FillOfBlocks() const;
    SplitLine StitchedRow(std::size_t i, std::string_view name, Fill fill) const;
    // Where the matrices after the table's end begin.
    std::vector<std::size_t> MatricesFrom(std::size_t end) const;
    std::vector<long long> CountsInMatrixAt(std::size_t at) const;
    std::vector<long long> CountsAround(std::size_t end) const;
    std::string Line(std::size_t at) const { return std::to_string(text_.LineAt(at).number); }

    const TableText& text_;
    std::size_t at_;
    std::vector<Block> blocks_;
    // The names of the columns of every block so far.
    std::vector<std::string_view> columns_;
    std::vector<TableRow> rows_;
    // The rows the present block has so far.
    std::size_t next_ = 0;
    // Where its column is known, the name of a row, and the labels above
    // empty cells, which stand for the rows under them too.
    std::optional<std::size_t> nameColumn_;
    std::vector<std::string_view> labelsAbove_;
    std::vector<long long> counts_;
    std::string title_;
};

std::optional<std::string_view> TableBelow::Expected() const {
    if (blocks_.size() == 1) {
        return next_ < columns_.size() ? std::optional(columns_[next_]) : std::nullopt;
    }
    return next_ < rows_.size() ? std::optional(rows_[next_].name) : std::nullopt;
}

std::optional<std::size_t> TableBelow::VariableNamed(std::string_view name) const {
    for (std::size_t k = 0; k < std::max(rows_.size(), columns_.size()); ++k) {
        if ((k < rows_.size() && SameVariable(name, rows_[k].name)) ||
            (k < columns_.size() && SameVariable(name, columns_[k]))) {
            return k;
        }
    }
    return std::nullopt;
}

bool TableBelow::HeadsTheRows(std::size_t at, std::string_view first) const {
    const std::optional<std::size_t> below = text_.NextLineAfter(at);
    // A row holds values or its name alone; more names are another header,
    // which a title such as R's "n" stands above.
    const auto names = below ? text_.NamesAt(*below, 0) : std::nullopt;
    if (!below || (names && names->size() > 1)) {
        return false;
    }
    const std::vector<std::string_view> texts = text_.LeadTexts(*below);
    return std::any_of(texts.begin(), texts.end(),
                       [&](std::string_view text) { return SameVariable(text, first); });
}

Labels TableBelow::LabelsOf(const Row& row, std::optional<std::size_t> nameAt) {
    Labels labels;
    for (std::size_t c = 0; c < row.lead.size(); ++c) {
        if (nameAt == c) {
            continue;
        }
        std::string_view label = row.lead[c].field.text;
        if (text_.ColumnsKept() && nameColumn_ != c && c < labelsAbove_.size()) {
            if (row.lead[c].kind == Kind::Missing) {
                label = labelsAbove_[c];
            } else {
                labelsAbove_[c] = label;
            }
        }
        labels.any = labels.any || !label.empty();
        labels.leftOut = labels.leftOut || IsLeftOutLabel(label);
        labels.counts = labels.counts || LabelWord(label) == kCountLabel;
    }
    return labels;
}

std::optional<std::string> TableBelow::RefusalOfFirstRow(const Row& row, std::size_t nameAt) const {
    const Cells& header = text_.CellsAt(at_);
    const std::size_t lead = blocks_.front().header.lead;
    const bool controls =
        std::any_of(header.begin(), header.begin() + std::ptrdiff_t(lead), [](const Cell& cell) {
            return cell.kind == Kind::Text && StartsWithWords(cell.field.text, kControlVariables);
        });
    // The correlations controlling for none may come first, and are read.
    const std::string_view group = GroupLabelOf(row, nameAt);
    if (controls && !StartsWithWords(group, kNoControl)) {
        std::string_view control = group;
        for (std::size_t at = at_ + 1; at < text_.size() && control.empty(); ++at) {
            control = GroupLabelOf(text_.RowAt(at, lead), nameAt);
        }
        return "This is a table of partial correlations, controlling for " +
               (control.empty() ? std::string("other variables") : std::string(control)) +
               ": Trolvane needs the correlations themselves.";
    }
    for (const std::string_view name : columns_) {
        if (std::find(kElisions.begin(), kElisions.end(), name) != kElisions.end()) {
            return "The table leaves columns out at \"" + std::string(name) + "\": copy it whole.";
        }
    }
    return std::nullopt;
}

// A table's title: the label of the group its rows stand in, else the line of
// text above its header.
std::string TableBelow::TitleOf(const Row& row, std::size_t nameAt) const {
    if (const std::string_view group = GroupLabelOf(row, nameAt); !group.empty()) {
        return StartsWithWords(group, kNoControl) ? "" : std::string(group);
    }
    if (at_ == 0) {
        return "";
    }
    const Cells& above = text_.CellsAt(at_ - 1);
    const std::string_view line = TrimmedLine(text_.LineAt(at_ - 1).text);
    const bool text = !above.empty() && std::none_of(above.begin(), above.end(), IsValue);
    return text && !CountInTitle(line, text_.Format()) ? std::string(line) : "";
}

LineOfTable TableBelow::ClassifyNames(std::size_t at, std::vector<std::string_view> names) const {
    if (SameVariable(names.front(), columns_.front())) {
        return Only(What::NextTable);
    }
    if (blocks_.size() == 1 && rows_.size() <= columns_.size()) {
        return Only(What::End);
    }
    LineOfTable line = Only(What::Refusal);
    if (blocks_.size() > 1 && next_ < rows_.size()) {
        line.refusal = "The block of columns at line " + Line(blocks_.back().at) +
                       " has rows for " + std::to_string(next_) + " of the " +
                       std::to_string(rows_.size()) +
                       " variables: each block of a table printed in blocks of columns has the "
                       "rows of the first.";
        return line;
    }
    for (std::size_t j = 0; j < names.size(); ++j) {
        const std::size_t k = columns_.size() + j;
        if (std::find(kElisions.begin(), kElisions.end(), names[j]) != kElisions.end()) {
            line.refusal =
                "The table leaves columns out at \"" + std::string(names[j]) + "\": copy it whole.";
            return line;
        }
        if (k >= rows_.size() || !SameVariable(names[j], rows_[k].name)) {
            line.refusal = "Line " + Line(at) + " has a block of columns for " +
                           std::string(names[j]) +
                           (k < rows_.size() ? " where the rows have " + std::string(rows_[k].name)
                                             : ", a variable without a row") +
                           ": the blocks of a table printed in blocks of columns name the "
                           "variables of its rows, in order.";
            return line;
        }
    }
    line.what = What::NextBlock;
    line.firstRow = HeadsTheRows(at, rows_.front().name) ? 0 : columns_.size();
    line.names = std::move(names);
    return line;
}

LineOfTable TableBelow::Classify(std::size_t at) {
    if (text_.CellsAt(at).empty()) {
        return Only(What::Blank);
    }
    if (!rows_.empty()) {
        // A lower triangle's later blocks may begin at their first column's row.
        if (auto names = text_.NamesAt(at, blocks_.front().header.lead);
            names && (HeadsTheRows(at, rows_.front().name) || HeadsTheRows(at, names->front()))) {
            return ClassifyNames(at, *std::move(names));
        }
    }
    const std::size_t width = blocks_.back().header.names.size();
    const bool firstBlock = blocks_.size() == 1;
    LineOfTable line = Only(What::Statistics);
    line.row = text_.RowAt(at, blocks_.back().header.lead);
    const Row& row = line.row;
    const std::optional<std::string_view> expected = Expected();
    for (std::size_t c = 0; c < row.lead.size() && !line.nameAt; ++c) {
        const bool named =
            row.lead[c].kind == Kind::Text &&
            (nameColumn_
                 ? c == *nameColumn_
                 : expected && SameVariable(WithoutNumbering(row.lead[c].field.text), *expected));
        if (named) {
            line.nameAt = c;
        }
    }
    const Labels labels = LabelsOf(row, line.nameAt);
    const std::optional<std::string_view> name =
        line.nameAt ? std::optional(WithoutNumbering(row.lead[*line.nameAt].field.text))
                    : std::nullopt;
    line.name = name.value_or("");
    const std::optional<std::size_t> owner = name ? VariableNamed(*name) : std::nullopt;
    const bool isExpected = name && expected && SameVariable(*name, *expected);
    const bool holdsValues = HoldsValues(row);
    // A table printed in blocks of columns has rows in its first block for
    // variables its header does not name yet, which an upper triangle leaves empty.
    const bool beyondHeader = firstBlock && !rows_.empty() && rows_.size() >= width && name &&
                              !labels.leftOut && !owner &&
                              (row.values.size() == width || (!holdsValues && !labels.any));
    // Where cells keep their columns, a row may hold only an empty diagonal;
    // in a later block, a triangle's row may hold nothing.
    if (!holdsValues && !beyondHeader && !(isExpected && (text_.ColumnsKept() || !firstBlock))) {
        // A line of text: a footnote, once the table has begun.
        return Only(rows_.empty() ? What::NoTable : What::End);
    }
    if (isExpected && !labels.leftOut) {
        if (row.values.size() > width) {
            line.what = What::Refusal;
            line.refusal = "Line " + Line(at) + " has " + std::to_string(row.values.size()) +
                           " correlations, more than the " + std::to_string(width) +
                           " variables the table's header names.";
        } else if (std::optional<std::string> refusal =
                       rows_.empty() ? RefusalOfFirstRow(row, *line.nameAt) : std::nullopt) {
            line.what = What::Refusal;
            line.refusal = *std::move(refusal);
        } else {
            line.what = What::Correlations;
        }
        return line;
    }
    if (rows_.empty()) {
        return Only(What::NoTable);
    }
    if (beyondHeader) {
        line.what = What::Correlations;
        return line;
    }
    const bool rowsDiffer = !firstBlock && next_ < rows_.size();
    if (name && !labels.leftOut && (owner || row.values.size() == width)) {
        if (rowsDiffer) {
            line.what = What::Refusal;
            line.refusal = "Line " + Line(at) + " has a row for " + std::string(*name) +
                           " where the first block of columns has " +
                           std::string(rows_[next_].name) +
                           ": each block of a table printed in blocks of columns has the rows of "
                           "the first, in order.";
            return line;
        }
        if (owner || !firstBlock) {
            // A row of the next table.
            return Only(owner && firstBlock ? What::NextTable : What::End);
        }
        line.what = What::Refusal;
        line.refusal = RowOfNoColumn(text_.LineAt(at).number, *name);
        return line;
    }
    // A row without a name or label that holds counts, such as the number of
    // observations under a row of correlations.
    const bool unnamedCounts =
        !name && !labels.any && row.values.size() >= 2 &&
        std::all_of(row.values.begin(), row.values.end(),
                    [](const Cell& cell) { return Count(cell, 2).has_value(); });
    if (labels.counts || unnamedCounts) {
        line.what = What::Counts;
        line.owner = owner.value_or(blocks_.back().from + next_ - 1);
    }
    return line;
}

void TableBelow::Take(std::size_t at, const LineOfTable& line) {
    switch (line.what) {
        case What::Correlations:
            if (blocks_.size() > 1) {
                TableRow& row = rows_[next_];
                row.name = FullerName(row.name, line.name);
                row.parts.emplace_back(at, line.row);
            } else {
                if (rows_.empty()) {
                    title_ = TitleOf(line.row, *line.nameAt);
                }
                std::string_view name = line.name;
                if (rows_.size() < columns_.size()) {
                    name = columns_[rows_.size()] = FullerName(columns_[rows_.size()], name);
                }
                rows_.push_back({name, {{at, line.row}}});
            }
            nameColumn_ = line.nameAt;
            ++next_;
            break;
        case What::Counts:
            AddCounts(line.row, line.owner);
            break;
        case What::NextBlock:
            blocks_.push_back({at, {blocks_.front().header.lead, line.names}, columns_.size()});
            columns_.insert(columns_.end(), line.names.begin(), line.names.end());
            for (next_ = 0; next_ < line.firstRow; ++next_) {
                rows_[next_].parts.emplace_back(at, Row{});
            }
            break;
        default:
            break;
    }
}

void TableBelow::AddCounts(const Row& row, std::size_t owner) {
    const std::size_t from = blocks_.back().from;
    const std::size_t width = blocks_.back().header.names.size();
    std::vector<long long> found;
    // Where empty cells vanish, only a row as wide as its block shows its diagonal.
    const bool diagonalShown = text_.ColumnsKept() || row.values.size() == width;
    for (std::size_t j = 0; j < row.values.size(); ++j) {
        const Cell& cell = row.values[j];
        if ((diagonalShown && from + j == owner) || cell.kind == Kind::Missing ||
            cell.kind == Kind::Dash) {
            continue;
        }
        const std::optional<double> count = Count(cell, 1);
        if (!count) {
            return;
        }
        found.push_back(static_cast<long long>(*count));
    }
    counts_.insert(counts_.end(), found.begin(), found.end());
}

std::size_t TableBelow::EndOfRows(std::size_t end) {
    if (blocks_.size() == 1 && rows_.size() > columns_.size()) {
        const auto& [at, row] = rows_[columns_.size()].parts.front();
        if (HoldsValues(row)) {
            throw DataRefusal(RowOfNoColumn(text_.LineAt(at).number, rows_[columns_.size()].name));
        }
        // Names alone under a table whole without them are text after it.
        end = at;
        rows_.resize(columns_.size());
    }
    if (blocks_.size() > 1 && next_ < rows_.size()) {
        throw DataRefusal("The block of columns at line " + Line(blocks_.back().at) +
                          " has rows for " + std::to_string(next_) + " of the " +
                          std::to_string(rows_.size()) +
                          " variables: each block of a table printed in blocks of columns has "
                          "the rows of the first.");
    }
    if (rows_.size() < columns_.size()) {
        throw DataRefusal("The table's header names " + std::to_string(columns_.size()) +
                          " variables, but rows of correlations follow for " +
                          std::to_string(rows_.size()) +
                          " of them: a correlation matrix has a row for each variable.");
    }
    if (rows_.size() > columns_.size()) {
        throw DataRefusal(
            RowOfNoColumn(text_.LineAt(rows_[columns_.size()].parts.front().first).number,
                          rows_[columns_.size()].name));
    }
    return end;
}

Fill TableBelow::FillOfBlocks() const {
    for (const Fill fill : {Fill::Full, Fill::Lower, Fill::Upper}) {
        bool fits = true;
        for (std::size_t i = 0; i < rows_.size() && fits; ++i) {
            for (std::size_t b = 0; b < blocks_.size() && fits; ++b) {
                const std::size_t to = blocks_[b].from + blocks_[b].header.names.size();
                fits = rows_[i].parts[b].second.values.size() ==
                       CellsShown(fill, i, blocks_[b].from, to);
            }
        }
        if (fits) {
            return fill;
        }
    }
    return Fill::Full;
}

SplitLine TableBelow::StitchedRow(std::size_t i, std::string_view name, Fill fill) const {
    const TableRow& row = rows_[i];
    SplitLine line;
    line.number = text_.LineAt(row.parts.front().first).number;
    line.fields.push_back({Field::Kind::Text, 0, name});
    line.places.push_back({line.number, nameColumn_.value_or(0)});
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const auto& [at, part] = row.parts[b];
        const std::size_t from = blocks_[b].from;
        const std::size_t to = from + blocks_[b].header.names.size();
        // An upper triangle's cells end at the block's last column.
        const std::size_t skip = !text_.ColumnsKept() && fill == Fill::Upper
                                     ? to - from - CellsShown(fill, i, from, to)
                                     : 0;
        for (std::size_t j = from; j < to; ++j) {
            const std::size_t k = j - from;
            const Cell cell =
                k >= skip && k - skip < part.values.size() ? part.values[k - skip] : Cell{};
            const bool unitDiagonal =
                j == i && (cell.kind == Kind::Missing || cell.kind == Kind::Dash);
            line.fields.push_back(unitDiagonal ? Field{Field::Kind::Number, 1, cell.field.text}
                                               : cell.field);
            line.places.push_back(
                {text_.LineAt(at).number, part.lead.size() + (k >= skip ? k - skip : 0)});
        }
    }
    return line;
}

std::vector<SplitLine> TableBelow::Matrix() const {
    std::vector<SplitLine> matrix{{{}, text_.LineAt(at_).number, 0, {}}};
    std::vector<std::string_view> names;
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        names.push_back(FullerName(columns_[k], rows_[k].name));
        matrix.front().fields.push_back({Field::Kind::Text, 0, names.back()});
    }
    const Fill fill = FillOfBlocks();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const auto& [at, row] = rows_[i].parts.front();
        matrix.push_back(blocks_.size() == 1
                             ? CorrelationRow(row, i, names[i], text_.LineAt(at).number)
                             : StitchedRow(i, names[i], fill));
    }
    return matrix;
}

// Each further matrix begins with a header naming the first variable first,
// or, where it has no header of its own, with the first variable's row.
std::vector<std::size_t> TableBelow::MatricesFrom(std::size_t end) const {
    std::vector<std::size_t> starts;
    bool underNames = false;
    for (std::size_t at = end; at < text_.size(); ++at) {
        if (text_.CellsAt(at).empty()) {
            continue;
        }
        if (const auto names = text_.NamesAt(at, blocks_.front().header.lead)) {
            if (SameVariable(names->front(), columns_.front())) {
                starts.push_back(at);
            }
            underNames = true;
            continue;
        }
        const std::vector<std::string_view> texts = text_.LeadTexts(at);
        const bool firstRow = std::any_of(texts.begin(), texts.end(), [&](std::string_view text) {
            return SameVariable(text, rows_[0].name);
        });
        if (!underNames && firstRow && HoldsValues(text_.RowAt(at, blocks_[0].header.lead))) {
            starts.push_back(at);
        }
        underNames = false;
    }
    return starts;
}

// The counts of pairs in a matrix titled with a count word, as R prints "n"
// above them where they differ; none where it is no such matrix.
std::vector<long long> TableBelow::CountsInMatrixAt(std::size_t at) const {
    const std::string_view title = at > 0 ? TrimmedLine(text_.LineAt(at - 1).text) : "";
    const bool countTitle = std::any_of(kCountWords.begin(), kCountWords.end(), [&](auto word) {
        return AfterCountWord(title, 0, word) == title.size();
    });
    std::optional<Header> header = countTitle ? text_.HeaderAt(at) : std::nullopt;
    if (!header) {
        return {};
    }
    // Only its rows: the matrices after it are the table's to count.
    TableBelow counted(text_, at, *std::move(header));
    try {
        if (!counted.ReadRows()) {
            return {};
        }
    } catch (const DataRefusal&) {
        return {};
    }
    const std::vector<SplitLine> matrix = counted.Matrix();
    std::vector<long long> counts;
    for (std::size_t i = 1; i < matrix.size(); ++i) {
        const std::vector<Field>& fields = matrix[i].fields;
        for (std::size_t j = 1; j < fields.size(); ++j) {
            const std::optional<double> count = Count({Kind::Number, fields[j]}, 1);
            if (fields[j].kind != Field::Kind::Number || !count) {
                return {};
            }
            if (j != i) {
                counts.push_back(static_cast<long long>(*count));
            }
        }
    }
    return counts;
}

std::vector<long long> TableBelow::CountsAround(std::size_t end) const {
    std::vector<long long> counts = counts_;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (i >= at_ && i < end) {
            continue;
        }
        std::optional<long long> count = CountInTitle(text_.LineAt(i).text, text_.Format());
        if (!count && i + 1 < text_.size()) {
            count = CountUnderTitle(text_.LineAt(i).text, text_.LineAt(i + 1).text, text_.Format());
        }
        if (count) {
            counts.push_back(*count);
        }
    }
    return counts;
}

std::optional<std::size_t> TableBelow::ReadRows() {
    std::size_t end = at_ + 1;
    for (; end < text_.size(); ++end) {
        const LineOfTable line = Classify(end);
        if (line.what == What::NoTable) {
            return std::nullopt;
        }
        if (line.what == What::Refusal) {
            throw DataRefusal(line.refusal);
        }
        if (line.what == What::NextTable || line.what == What::End) {
            break;
        }
        Take(end, line);
    }
    if (rows_.empty()) {
        return std::nullopt;
    }
    return EndOfRows(end);
}

std::optional<CorrelationTable> TableBelow::Read() {
    const std::optional<std::size_t> end = ReadRows();
    if (!end) {
        return std::nullopt;
    }
    CorrelationTable table;
    table.rows = Matrix();
    const std::vector<std::size_t> further = MatricesFrom(*end);
    std::vector<long long> counts = CountsAround(*end);
    for (const std::size_t start : further) {
        const std::vector<long long> inMatrix = CountsInMatrixAt(start);
        counts.insert(counts.end(), inMatrix.begin(), inMatrix.end());
    }
    if (!counts.empty()) {
        const auto [smallest, largest] = std::minmax_element(counts.begin(), counts.end());
        table.cases = *smallest;
        table.casesDiffer = *smallest != *largest;
    }
    table.matrices = 1 + static_cast<int>(further.size());
    table.title = title_;
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
        // Raw data: many more lines than a table of that width has, even one
        // of many variables printed in blocks of columns that wide.
        const std::size_t blocks = kMostVariablesInBlocks / std::max<std::size_t>(widest, 2) + 1;
        if (lines.size() >
            std::max(kLinesPerVariable * widest, blocks * (kMostVariablesInBlocks + 1)) +
                kTitleAndFootnoteLines) {
            continue;
        }
        std::vector<Cells> cells;
        for (const TextLine& line : lines) {
            cells.push_back(CellsOf(line.text, reader, fields));
        }
        const TableText text(lines, std::move(cells), separator != Separator::Spaces, userFormat);
        for (std::size_t at = 0; at < lines.size(); ++at) {
            if (std::optional<Header> header = text.HeaderAt(at)) {
                if (std::optional<CorrelationTable> table =
                        TableBelow(text, at, *std::move(header)).Read()) {
                    return table;
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace trolvane
