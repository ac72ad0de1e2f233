// A text of data as lines of fields: its bytes decoded to UTF-8, its separator
// found from the text, and each field read as a number, a missing value or text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversions.h"

namespace trolvane {

// The text as UTF-8: the bytes themselves where they are UTF-8 already, else a
// decoded copy (UTF-16 with its byte order mark, or Latin-1). Raises
// DataRefusal for bytes that are no text at all.
class DecodedText {
  public:
    explicit DecodedText(std::string_view bytes);
    std::string_view view() const { return copy_ ? std::string_view(*copy_) : bytes_; }

  private:
    std::string_view bytes_;
    std::optional<std::string> copy_;
};

// A line that holds more than blanks, with its number in the text from 1.
struct TextLine {
    std::string_view text;
    long long number;
};

std::vector<TextLine> NonBlankLines(std::string_view text);

enum class Separator { Tab, Semicolon, Comma, Spaces };

struct Field {
    enum class Kind { Number, Missing, Text };
    Kind kind = Kind::Missing;
    double number = 0;
    // The field as written, without blanks or quotes around it.
    std::string_view text;
};

// Where a field stands in the text: its line's number and its column from 0.
struct FieldPlace {
    long long line = 0;
    std::size_t column = 0;
};

// A line's fields, with its number in the text and how many columns its
// fields after the first stand to the right of their place in fields. A row
// put together from several lines, as a table printed in blocks of columns
// gives it, has each field's place instead.
struct SplitLine {
    std::vector<Field> fields;
    long long number = 0;
    std::size_t shift = 0;
    std::vector<FieldPlace> places;
};

// Splits lines into fields and reads them.
class FieldReader {
  public:
    FieldReader(Separator separator, const NumberFormat& userFormat);

    // The line's fields, into fields; quotes are honoured.
    void Split(std::string_view line, std::vector<Field>& fields) const;
    Field Read(std::string_view field) const;

  private:
    Separator separator_;
    NumberFormat userFormat_;
    // The decimal comma a semicolon-separated text may use.
    bool decimalComma_;
};

// The lines that decide how a text is separated.
constexpr std::size_t kSampledLines = 50;

// The separators the first lines hold, tabs first; spaces always.
std::vector<Separator> SeparatorsPresent(const std::vector<TextLine>& lines);

// The separator under which the first lines hold the most numbers and the
// fewest texts; tabs, semicolons and commas only where the text has them.
Separator FindSeparator(const std::vector<TextLine>& lines, const NumberFormat& userFormat);

}  // namespace trolvane
