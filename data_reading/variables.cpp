#include "data_reading/variables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <thread>

#include <Eigen/Core>

#include "data_reading/cores.h"
#include "data_reading/correlation_table.h"
#include "data_reading/text_table.h"

namespace trolvane {
namespace {

using Fields = std::vector<Field>;

bool IsNumber(const Field& field) {
    return field.kind == Field::Kind::Number;
}

bool HoldsNumber(const Fields& fields) {
    return std::any_of(fields.begin(), fields.end(), IsNumber);
}

// A name as written, its doubled quotes single again; "column 3" for none.
std::string NameOf(std::string_view text, std::size_t column) {
    std::string name(text);
    for (std::size_t at = name.find("\"\""); at != std::string::npos;
         at = name.find("\"\"", at + 1)) {
        name.erase(at, 1);
    }
    return name.empty() ? "column " + std::to_string(column + 1) : name;
}

std::string Place(long long line, std::size_t column) {
    return "Line " + std::to_string(line) + ", column " + std::to_string(column + 1);
}

[[noreturn]] void RefuseCell(const std::string& place, const Field& field, const char* where) {
    if (field.kind == Field::Kind::Missing) {
        throw DataRefusal(place + where + " holds no number.");
    }
    throw DataRefusal(place + where + " holds \"" + std::string(field.text) +
                      "\", which is not a number.");
}

std::string Lowered(std::string text) {
    text.front() = static_cast<char>(text.front() - 'A' + 'a');
    return text;
}

// R from a covariance matrix S: r_ij = s_ij / sqrt(s_ii s_jj), ones on the
// diagonal; both halves from the lower triangle.
std::vector<double> CorrelationsOfCovariances(const std::vector<double>& s, std::size_t p) {
    std::vector<double> r(p * p, 1.0);
    for (std::size_t i = 0; i < p; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            r[i * p + j] = r[j * p + i] =
                s[i * p + j] / (std::sqrt(s[i * p + i]) * std::sqrt(s[j * p + j]));
        }
    }
    return r;
}

[[noreturn]] void RefuseSingleVariable() {
    throw DataRefusal(
        "The text holds only one variable: correlations need two or more, as columns of raw "
        "data or the rows of a matrix.");
}

// Raw data has many more lines than fields; a matrix about as many of each.
std::optional<std::vector<SplitLine>> SquareLines(const std::vector<TextLine>& lines,
                                                  const FieldReader& reader) {
    Fields fields;
    reader.Split(lines.front().text, fields);
    std::size_t widest = fields.size();
    reader.Split(lines.back().text, fields);
    widest = std::max(widest, fields.size());
    if (lines.size() > widest + 1) {
        return std::nullopt;
    }
    std::vector<SplitLine> rows;
    for (const TextLine& line : lines) {
        reader.Split(line.text, rows.emplace_back().fields);
        rows.back().number = line.number;
    }
    return rows;
}

// A correlation or covariance matrix as printed: a header row of names and a
// first column of names are optional; the rows hold the full matrix, or its
// lower or upper triangle with the rest blank.
class MatrixText {
  public:
    // The rows of a text shaped as a matrix, or of a correlation table, which
    // is read as one whatever its cells hold.
    MatrixText(std::vector<SplitLine> rows, bool fromTable)
        : rows_(std::move(rows)), fromTable_(fromTable) {}

    // The variables, or none where the text is not shaped as a matrix.
    std::optional<Variables> Read();

  private:
    enum class Shape { Full, Lower, UpperBlank, UpperShifted };

    bool AllAre(std::size_t row, std::size_t from, std::size_t to, Field::Kind kind) const;
    std::optional<Shape> FindShape() const;
    // Where the text gives the matrix's row i and column j: its row of cells,
    // and the cell in that row.
    std::pair<std::size_t, std::size_t> CellAt(Shape shape, std::size_t i, std::size_t j) const;
    void CheckSymmetric(Shape shape, std::size_t i, std::size_t j, double below, double above,
                        double scale) const;
    const Field& FieldAt(std::size_t row, std::size_t column) const;
    std::size_t Cells(std::size_t row) const;
    // Where the cell in that column of the row stands in the text, as a
    // sentence starts to name it: "Line 3, column 2".
    std::string PlaceOf(std::size_t row, std::size_t column) const;
    std::vector<std::string> Names() const;

    std::vector<SplitLine> rows_;
    bool fromTable_;
    std::size_t first_ = 0;
    std::size_t offset_ = 0;
    std::size_t p_ = 0;
};

std::size_t MatrixText::Cells(std::size_t row) const {
    const Fields& fields = rows_[first_ + row].fields;
    std::size_t cells = fields.size();
    while (cells > offset_ && fields[cells - 1].kind == Field::Kind::Missing) {
        --cells;
    }
    return cells - std::min(cells, offset_);
}

std::string MatrixText::PlaceOf(std::size_t row, std::size_t column) const {
    const SplitLine& line = rows_[first_ + row];
    const std::size_t at = column + offset_;
    if (at < line.places.size()) {
        return Place(line.places[at].line, line.places[at].column);
    }
    return Place(line.number, at + line.shift);
}

const Field& MatrixText::FieldAt(std::size_t row, std::size_t column) const {
    static const Field kBlank;
    const Fields& fields = rows_[first_ + row].fields;
    return column + offset_ < fields.size() ? fields[column + offset_] : kBlank;
}

bool MatrixText::AllAre(std::size_t row, std::size_t from, std::size_t to, Field::Kind kind) const {
    for (std::size_t j = from; j < to; ++j) {
        if (FieldAt(row, j).kind != kind) {
            return false;
        }
    }
    return true;
}

std::optional<MatrixText::Shape> MatrixText::FindShape() const {
    constexpr auto kNumber = Field::Kind::Number;
    bool full = true;
    bool lower = true;
    bool upperBlank = true;
    bool upperShifted = p_ > 1;
    for (std::size_t i = 0; i < p_; ++i) {
        const std::size_t cells = Cells(i);
        full = full && cells == p_ && AllAre(i, 0, p_, kNumber);
        lower = lower && cells == i + 1 && AllAre(i, 0, cells, kNumber);
        upperBlank = upperBlank && cells == p_ && AllAre(i, 0, i, Field::Kind::Missing) &&
                     AllAre(i, i, p_, kNumber);
        upperShifted = upperShifted && cells == p_ - i && AllAre(i, 0, cells, kNumber);
    }
    // The first shape that fits, from the most common.
    for (const auto& [fits, shape] : {std::pair{full, Shape::Full},
                                      {lower, Shape::Lower},
                                      {upperBlank, Shape::UpperBlank},
                                      {upperShifted, Shape::UpperShifted}}) {
        if (fits) {
            return shape;
        }
    }
    return std::nullopt;
}

std::pair<std::size_t, std::size_t> MatrixText::CellAt(Shape shape, std::size_t i,
                                                       std::size_t j) const {
    switch (shape) {
        case Shape::Full:
            return {i, j};
        case Shape::Lower:
            return j <= i ? std::pair{i, j} : std::pair{j, i};
        case Shape::UpperBlank:
            return j >= i ? std::pair{i, j} : std::pair{j, i};
        case Shape::UpperShifted:
            return j >= i ? std::pair{i, j - i} : std::pair{j, i - j};
    }
    return {i, j};
}

std::vector<std::string> MatrixText::Names() const {
    std::vector<std::string> names;
    if (first_ == 1) {
        const Fields& header = rows_.front().fields;
        // A header may have a corner cell above the column of names.
        const std::size_t skip = header.size() == p_ + offset_ ? offset_ : 0;
        if (header.size() == p_ + skip) {
            for (std::size_t j = 0; j < p_; ++j) {
                names.push_back(NameOf(header[j + skip].text, j));
            }
            return names;
        }
    }
    if (offset_ == 1) {
        for (std::size_t i = 0; i < p_; ++i) {
            names.push_back(NameOf(rows_[first_ + i].fields.front().text, i));
        }
    }
    return names;
}

std::optional<Variables> MatrixText::Read() {
    first_ = rows_.size() > 1 && !HoldsNumber(rows_.front().fields) ? 1 : 0;
    p_ = rows_.size() - first_;
    // A first column of names, or of the row numbers 1, 2, 3, ...
    bool names = true;
    bool rowNumbers = true;
    for (std::size_t i = 0; i < p_; ++i) {
        const Fields& row = rows_[first_ + i].fields;
        names = names && !row.empty() && row.front().kind == Field::Kind::Text;
        rowNumbers = rowNumbers && row.size() == p_ + 1 && IsNumber(row.front()) &&
                     row.front().number == static_cast<double>(i + 1);
    }
    offset_ = names || rowNumbers ? 1 : 0;
    std::size_t widest = 0;
    for (std::size_t i = 0; i < p_; ++i) {
        widest = std::max(widest, Cells(i));
    }
    if (widest != p_ && !fromTable_) {
        return std::nullopt;
    }
    const std::optional<Shape> shape = FindShape();
    if (!shape) {
        // Mostly words is no matrix at all.
        std::size_t numbers = 0;
        for (std::size_t i = 0; i < p_; ++i) {
            for (std::size_t j = 0; j < p_; ++j) {
                numbers += IsNumber(FieldAt(i, j)) ? 1 : 0;
            }
        }
        if (numbers * 2 <= p_ * p_ && !fromTable_) {
            return std::nullopt;
        }
        // Shaped as a full matrix, but a cell is not a number.
        for (std::size_t i = 0; i < p_; ++i) {
            for (std::size_t j = 0; j < p_; ++j) {
                if (!IsNumber(FieldAt(i, j))) {
                    RefuseCell(PlaceOf(i, j), FieldAt(i, j), " of the matrix");
                }
            }
        }
    }
    if (p_ < 2) {
        RefuseSingleVariable();
    }
    Variables variables;
    variables.count = static_cast<int>(p_);
    variables.names = Names();
    std::vector<double>& m = variables.correlations;
    m.resize(p_ * p_);
    for (std::size_t i = 0; i < p_; ++i) {
        for (std::size_t j = 0; j < p_; ++j) {
            const auto [row, column] = CellAt(*shape, i, j);
            m[i * p_ + j] = FieldAt(row, column).number;
        }
    }
    bool unitDiagonal = true;
    bool correlationsOffDiagonal = true;
    Variables::Diagonal diagonalRange{m[0], m[0]};
    for (std::size_t i = 0; i < p_; ++i) {
        const double diagonal = m[i * p_ + i];
        diagonalRange = {std::min(diagonalRange.smallest, diagonal),
                         std::max(diagonalRange.largest, diagonal)};
        if (!(diagonal > 0)) {
            const auto [row, column] = CellAt(*shape, i, i);
            throw DataRefusal(PlaceOf(row, column) + " holds " +
                              std::string(FieldAt(row, column).text) +
                              ", but a variance on the diagonal of a matrix is above 0.");
        }
        unitDiagonal = unitDiagonal && diagonal == 1;
        for (std::size_t j = 0; j < i; ++j) {
            correlationsOffDiagonal = correlationsOffDiagonal && std::fabs(m[i * p_ + j]) <= 1;
            CheckSymmetric(*shape, i, j, m[i * p_ + j], m[j * p_ + i],
                           std::sqrt(diagonal * m[j * p_ + j]));
        }
    }
    variables.kind = unitDiagonal ? DataKind::CorrelationMatrix : DataKind::CovarianceMatrix;
    if (!unitDiagonal && correlationsOffDiagonal) {
        variables.diagonalOfCorrelations = diagonalRange;
    }
    // Of a correlation matrix this keeps its lower triangle and mirrors it.
    variables.correlations = CorrelationsOfCovariances(m, p_);
    return variables;
}

// A unit in the last digit of a number as written: 0.001 for "0.683", 100
// for "1.5e3"; 1 for a number without digits after its point.
double LastDigitUnit(std::string_view text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const std::size_t point = text.find_first_of(".,");
    std::size_t decimals = 0;
    if (point != std::string_view::npos) {
        while (point + decimals + 1 < text.size() && isDigit(text[point + decimals + 1])) {
            ++decimals;
        }
    }
    const std::size_t e = text.find_first_of("eE");
    int exponent = 0;
    if (e != std::string_view::npos) {
        const std::string_view digits = text.substr(e + (text.substr(e + 1, 1) == "+" ? 2 : 1));
        std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    }
    return std::pow(10.0, exponent - static_cast<int>(decimals));
}

// Printed matrices are symmetric to the last digit of the coarser of two cells,
// as where each column is printed to its own number of digits; a little more
// slack is left for a matrix written with all of a double's digits.
void MatrixText::CheckSymmetric(Shape shape, std::size_t i, std::size_t j, double below,
                                double above, double scale) const {
    constexpr double kSlack = 1e-9;
    const auto [row, column] = CellAt(shape, i, j);
    const auto [mirrorRow, mirrorColumn] = CellAt(shape, j, i);
    const double printed = 0.5 * std::max(LastDigitUnit(FieldAt(row, column).text),
                                          LastDigitUnit(FieldAt(mirrorRow, mirrorColumn).text));
    // Half a unit is met exactly where one cell rounds the other's 5 away.
    constexpr double kHalfUnitSlack = 1e-6;
    if (std::fabs(below - above) <= std::max(kSlack * scale, printed * (1 + kHalfUnitSlack))) {
        return;
    }
    throw DataRefusal("The matrix is not symmetric: " + Lowered(PlaceOf(row, column)) + " holds " +
                      std::string(FieldAt(row, column).text) + ", but " +
                      Lowered(PlaceOf(mirrorRow, mirrorColumn)) + " holds " +
                      std::string(FieldAt(mirrorRow, mirrorColumn).text) + ".");
}

// Raw data: cases in lines, variables in columns, with an optional header row
// of names. Values are kept column after column, NaN where one is missing.
class RawDataText {
  public:
    RawDataText(const std::vector<TextLine>& lines, const FieldReader& reader,
                const NumberFormat& format)
        : lines_(lines), reader_(reader), format_(format) {}

    Variables Read();

  private:
    // What the reading learns of a column from some of the cases.
    struct Column {
        std::string name;
        long long numbers = 0;
        bool caseNumbers = true;
        std::optional<std::pair<long long, Field>> firstText;

        // Adds what a later stretch of the cases taught.
        void Join(const Column& later);
    };

    void ReadHeader();
    // Reads every case, in stretches side by side where the machine has the cores.
    void ReadCases();
    // Reads cases from to to, learning of the columns into columns.
    void ReadStretch(std::size_t from, std::size_t to, std::vector<Column>& columns);
    std::vector<std::size_t> KeptColumns(Variables& variables) const;
    // The complete cases of the kept columns, at the front of the values, as
    // ordered categories where they are, else why not.
    void ReadCategories(std::size_t p, std::size_t n, const std::vector<std::size_t>& kept,
                        Variables& variables) const;

    const std::vector<TextLine>& lines_;
    const FieldReader& reader_;
    const NumberFormat& format_;
    std::size_t first_ = 0;
    bool header_ = false;
    std::vector<Column> columns_;
    std::size_t cases_ = 0;
    std::vector<double> values_;
};

void RawDataText::ReadHeader() {
    Fields top;
    Fields next;
    reader_.Split(lines_.front().text, top);
    if (lines_.size() > 1) {
        reader_.Split(lines_[1].text, next);
    }
    // A header is text where the first case has numbers.
    bool header = !HoldsNumber(top) && HoldsNumber(next);
    for (std::size_t j = 0; j < std::min(top.size(), next.size()); ++j) {
        header = header || (top[j].kind == Field::Kind::Text && IsNumber(next[j]));
    }
    header_ = header;
    first_ = header ? 1 : 0;
    // A header one name short names every column but the first, the cases' names.
    const std::size_t width = header && next.size() == top.size() + 1 ? next.size() : top.size();
    columns_.resize(width);
    const std::size_t shift = width - (header ? top.size() : width);
    for (std::size_t j = 0; j < width; ++j) {
        columns_[j].name = NameOf(header && j >= shift ? top[j - shift].text : "", j);
    }
}

void RawDataText::Column::Join(const Column& later) {
    numbers += later.numbers;
    caseNumbers = caseNumbers && later.caseNumbers;
    if (!firstText) {
        firstText = later.firstText;
    }
}

void RawDataText::ReadStretch(std::size_t from, std::size_t to, std::vector<Column>& columns) {
    const std::size_t width = columns.size();
    Fields fields;
    for (std::size_t r = from; r < to; ++r) {
        const TextLine& line = lines_[first_ + r];
        reader_.Split(line.text, fields);
        if (fields.size() > width) {
            throw DataRefusal("Line " + std::to_string(line.number) + " has " +
                              std::to_string(fields.size()) + " fields, more than the " +
                              std::to_string(width) +
                              (header_ ? " names of the header." : " of the first line."));
        }
        for (std::size_t j = 0; j < fields.size(); ++j) {
            Column& column = columns[j];
            const Field& field = fields[j];
            if (IsNumber(field)) {
                ++column.numbers;
                values_[j * cases_ + r] = field.number;
            } else if (field.kind == Field::Kind::Text && !column.firstText) {
                column.firstText = {line.number, field};
            }
            column.caseNumbers =
                column.caseNumbers && IsNumber(field) && field.number == static_cast<double>(r + 1);
        }
        for (std::size_t j = fields.size(); j < width; ++j) {
            columns[j].caseNumbers = false;
        }
    }
}

void RawDataText::ReadCases() {
    cases_ = lines_.size() - first_;
    values_.assign(columns_.size() * cases_, std::numeric_limits<double>::quiet_NaN());
    // Stretches of fewer cases than this are not worth a thread.
    constexpr std::size_t kCasesWorthAThread = 20'000;
    const std::size_t stretches =
        std::clamp<std::size_t>(std::min(AvailableCores(), cases_ / kCasesWorthAThread), 1, 8);
    std::vector<std::vector<Column>> learnt(stretches, std::vector<Column>(columns_.size()));
    std::vector<std::exception_ptr> failures(stretches);
    const auto read = [&](std::size_t s) {
        try {
            ReadStretch(cases_ * s / stretches, cases_ * (s + 1) / stretches, learnt[s]);
        } catch (...) {
            failures[s] = std::current_exception();
        }
    };
    std::vector<std::thread> others;
    for (std::size_t s = 1; s < stretches; ++s) {
        others.emplace_back(read, s);
    }
    read(0);
    for (std::thread& other : others) {
        other.join();
    }
    // The first failure in the text's order is the one reported.
    for (std::size_t s = 0; s < stretches; ++s) {
        if (failures[s]) {
            std::rethrow_exception(failures[s]);
        }
        for (std::size_t j = 0; j < columns_.size(); ++j) {
            columns_[j].Join(learnt[s][j]);
        }
    }
}

std::vector<std::size_t> RawDataText::KeptColumns(Variables& variables) const {
    std::vector<std::size_t> kept;
    for (std::size_t j = 0; j < columns_.size(); ++j) {
        const Column& column = columns_[j];
        if (column.numbers == 0) {
            variables.leftOut.push_back({column.name, "no numbers"});
        } else if (column.caseNumbers && cases_ > 1) {
            variables.leftOut.push_back({column.name, "case numbers"});
        } else if (column.firstText) {
            const auto& [line, field] = *column.firstText;
            throw DataRefusal(Place(line, j) + " holds \"" + std::string(field.text) +
                              "\", which is neither a number nor a missing value (empty, NA, "
                              "NaN or .).");
        } else {
            kept.push_back(j);
            if (header_) {
                variables.names.push_back(column.name);
            }
        }
    }
    return kept;
}

void RawDataText::ReadCategories(std::size_t p, std::size_t n, const std::vector<std::size_t>& kept,
                                 Variables& variables) const {
    std::vector<std::string> names;
    for (std::size_t c = 0; c < p; ++c) {
        names.push_back(columns_[kept[c]].name);
    }
    try {
        variables.categories = std::make_shared<const OrdinalData>(
            OrdinalCategories(names, n, values_.data(), format_));
    } catch (const DataRefusal& refusal) {
        variables.notCategories = refusal.what();
    }
}

Variables RawDataText::Read() {
    ReadHeader();
    ReadCases();
    Variables variables;
    variables.kind = DataKind::RawData;
    const std::vector<std::size_t> kept = KeptColumns(variables);
    if (kept.empty()) {
        throw DataRefusal("The text holds no numbers.");
    }
    if (kept.size() == 1) {
        RefuseSingleVariable();
    }
    const std::size_t p = kept.size();
    // Listwise: a case with a missing value in any kept column is left out.
    std::vector<std::size_t> complete;
    for (std::size_t r = 0; r < cases_; ++r) {
        if (std::all_of(kept.begin(), kept.end(),
                        [&](std::size_t j) { return !std::isnan(values_[j * cases_ + r]); })) {
            complete.push_back(r);
        }
    }
    const std::size_t n = complete.size();
    if (n < p + 1) {
        throw DataRefusal("The data have " + std::to_string(n) + " complete cases of " +
                          std::to_string(p) + " variables: correlations of " + std::to_string(p) +
                          " variables need at least " + std::to_string(p + 1) + ".");
    }
    // The complete cases of the kept columns, moved to the front in place.
    for (std::size_t c = 0; c < p; ++c) {
        const double* from = &values_[kept[c] * cases_];
        double* to = &values_[c * n];
        for (std::size_t i = 0; i < n; ++i) {
            to[i] = from[complete[i]];
        }
    }
    ReadCategories(p, n, kept, variables);
    Eigen::Map<Eigen::MatrixXd> data(values_.data(), static_cast<Eigen::Index>(n),
                                     static_cast<Eigen::Index>(p));
    for (Eigen::Index c = 0; c < data.cols(); ++c) {
        auto column = data.col(c);
        if ((column.array() == column(0)).all()) {
            throw DataRefusal("Variable " + columns_[kept[static_cast<std::size_t>(c)]].name +
                              " is constant: every complete case holds the same value, so it "
                              "has no correlations.");
        }
        // Scaled by a power of two, which changes no digit and no correlation,
        // to keep sums and products of the largest and smallest doubles in
        // range; then centred on the mean before any product, so that a large
        // mean with a small spread loses no digits.
        int exponent = 0;
        std::frexp(column.cwiseAbs().maxCoeff(), &exponent);
        column *= std::ldexp(1.0, -exponent);
        column.array() -= column.mean();
    }
    Eigen::MatrixXd products = Eigen::MatrixXd::Zero(data.cols(), data.cols());
    products.selfadjointView<Eigen::Lower>().rankUpdate(data.transpose());
    products.triangularView<Eigen::StrictlyUpper>() = products.transpose();
    variables.count = static_cast<int>(p);
    variables.cases = static_cast<long long>(n);
    variables.incompleteCases = static_cast<long long>(cases_ - n);
    variables.correlations.resize(p * p);
    for (std::size_t i = 0; i < p; ++i) {
        for (std::size_t j = 0; j < p; ++j) {
            const auto a = static_cast<Eigen::Index>(i);
            const auto b = static_cast<Eigen::Index>(j);
            variables.correlations[i * p + j] =
                i == j ? 1.0
                       // Rounding may carry a perfect correlation a hair past 1.
                       : std::clamp(products(a, b) / std::sqrt(products(a, a) * products(b, b)),
                                    -1.0, 1.0);
        }
    }
    values_ = {};
    return variables;
}

}  // namespace

std::string RefusalForFileSize(std::uintmax_t bytes) {
    if (bytes <= kLargestDataFile) {
        return "";
    }
    return "The file has " + std::to_string(bytes >> 20) +
           " MB, too many for a table of data: Trolvane reads files of up to 1024 MB.";
}

Variables ReadVariables(std::string_view bytes, const NumberFormat& userFormat) {
    if (const std::string refusal = RefusalForFileSize(bytes.size()); !refusal.empty()) {
        throw DataRefusal(refusal);
    }
    const DecodedText text(bytes);
    const std::vector<TextLine> lines = NonBlankLines(text.view());
    if (lines.empty()) {
        throw DataRefusal(
            "There is nothing to read: paste or open a correlation matrix, a covariance matrix "
            "or raw data.");
    }
    const Separator separator = FindSeparator(lines, userFormat);
    const FieldReader reader(separator, userFormat);
    // A text shaped as a matrix is read as one; where it cannot be, it may be
    // a correlation table, and that reading's refusal is kept for a text that
    // is not.
    std::optional<DataRefusal> matrixRefusal;
    if (std::optional<std::vector<SplitLine>> rows = SquareLines(lines, reader)) {
        try {
            if (std::optional<Variables> matrix = MatrixText(*std::move(rows), false).Read()) {
                return *std::move(matrix);
            }
        } catch (const DataRefusal& refusal) {
            matrixRefusal = refusal;
        }
    }
    if (std::optional<CorrelationTable> table =
            FindCorrelationTable(lines, separator, userFormat)) {
        std::optional<Variables> matrix = MatrixText(std::move(table->rows), true).Read();
        matrix->cases = table->cases;
        matrix->casesDiffer = table->casesDiffer;
        matrix->matrices = table->matrices;
        matrix->firstMatrixTitle = std::move(table->title);
        return *std::move(matrix);
    }
    if (matrixRefusal) {
        throw *matrixRefusal;
    }
    return RawDataText(lines, reader, userFormat).Read();
}

Variables WithPolychoricCorrelations(Variables variables) {
    if (!variables.categories) {
        throw DataRefusal(variables.notCategories);
    }
    Polychoric polychoric = PolychoricCorrelations(*variables.categories);
    variables.correlations = std::move(polychoric.correlations);
    variables.polychoric =
        Variables::PolychoricNotes{polychoric.pairsOutside, polychoric.smallestBeforeSmoothing};
    return variables;
}

bool IsPastedMatrix(std::string_view text, const NumberFormat& userFormat) {
    const std::optional<Variables> variables = [&]() -> std::optional<Variables> {
        try {
            return ReadVariables(text, userFormat);
        } catch (const DataRefusal&) {
            return std::nullopt;
        }
    }();
    return variables && variables->kind != DataKind::RawData && variables->count >= 3;
}

}  // namespace trolvane
