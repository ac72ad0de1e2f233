#include "data_reading/text_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <fast_float/fast_float.h>

#include "data_reading/variables.h"
#include "engine/run_error.h"

namespace trolvane {
namespace {

constexpr std::string_view kNotText =
    "This is not a text of data: it holds bytes no text has (a spreadsheet or other "
    "binary file, say). Save the data as CSV or text, then open that.";

bool IsControl(unsigned char byte) {
    return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' &&
           byte != '\v' && byte != 0x1a;
}

// Whether any of the eight bytes is below 0x20 or above 0x7f: only those need a
// closer look, and data are mostly neither.
bool MayHoldControlOrNonAscii(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    constexpr std::uint64_t kSpaces = 0x2020202020202020;
    return ((word | ((word - kSpaces) & ~word)) & kHighBits) != 0;
}

// Where a NUL byte stands, or more than one byte in a hundred is a control
// character other than a tab, a line break or a page break, the bytes are no text.
bool LooksBinary(std::string_view bytes) {
    std::size_t controls = 0;
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        if (!MayHoldControlOrNonAscii(bytes.data() + at)) {
            continue;
        }
        for (std::size_t i = at; i < at + 8; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            if (byte == 0) {
                return true;
            }
            controls += IsControl(byte) ? 1 : 0;
        }
    }
    for (; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte == 0) {
            return true;
        }
        controls += IsControl(byte) ? 1 : 0;
    }
    return controls * 100 > bytes.size();
}

// The length of the UTF-8 sequence at the start of the bytes, or 0 where none
// stands there.
std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xc2 ? 0
                               : lead < 0xe0 ? 2
                               : lead < 0xf0 ? 3
                               : lead < 0xf5 ? 4
                                             : 0;
    if (length == 0 || length > bytes.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(bytes[i]) & 0xc0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool IsUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        // Plain ASCII, the bulk of any data, eight bytes at a time.
        while (bytes.size() >= 8 && !MayHoldControlOrNonAscii(bytes.data())) {
            bytes.remove_prefix(8);
        }
        if (bytes.empty()) {
            break;
        }
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

void AppendUtf8(std::string& text, char32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xc0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xe0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        text += static_cast<char>(0xf0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    }
}

// UTF-16 after its byte order mark; a lone surrogate becomes U+FFFD.
std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size() / 2);
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t code = unit(i);
        if (code >= 0xd800 && code < 0xdc00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xdc00 && low < 0xe000) {
                code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
                i += 2;
            }
        }
        AppendUtf8(text, code >= 0xd800 && code < 0xe000 ? 0xfffd : code);
    }
    return text;
}

std::string FromLatin1(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        AppendUtf8(text, static_cast<unsigned char>(c));
    }
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\x1a';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// What statistics programs write for a value that is not there.
bool IsMissingMark(std::string_view text) {
    if (text.size() > 3) {
        return false;
    }
    constexpr std::array<std::string_view, 5> kMarks = {"", "NA", "NaN", "nan", "."};
    return std::find(kMarks.begin(), kMarks.end(), text) != kMarks.end();
}

char SeparatorChar(Separator separator) {
    switch (separator) {
        case Separator::Tab:
            return '\t';
        case Separator::Semicolon:
            return ';';
        case Separator::Comma:
            return ',';
        case Separator::Spaces:
            return ' ';
    }
    return ' ';
}

// The number a whole field is, with this decimal point; none where it is not
// one. Infinities and NaN are not numbers here.
std::optional<double> FastNumber(std::string_view text, char decimal) {
    const char first = text.front();
    if (!(first >= '0' && first <= '9') && first != '-' && first != '+' && first != decimal) {
        return std::nullopt;
    }
    const std::string_view digits = first == '+' ? text.substr(1) : text;
    double value = 0;
    const auto read = fast_float::from_chars_advanced(
        digits.data(), digits.data() + digits.size(), value,
        fast_float::parse_options{fast_float::chars_format::general, decimal});
    if (read.ec != std::errc() || read.ptr != digits.data() + digits.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

DecodedText::DecodedText(std::string_view bytes) : bytes_(bytes) {
    if (bytes.starts_with("\xef\xbb\xbf")) {
        bytes_.remove_prefix(3);
    } else if (bytes.starts_with("\xff\xfe") || bytes.starts_with("\xfe\xff")) {
        copy_ = FromUtf16(bytes.substr(2), bytes[0] == '\xfe');
    }
    if (LooksBinary(view())) {
        throw DataRefusal(std::string(kNotText));
    }
    if (!copy_ && !IsUtf8(bytes_)) {
        copy_ = FromLatin1(bytes_);
    }
}

std::vector<TextLine> NonBlankLines(std::string_view text) {
    // Lines end in LF or CR LF; in CR alone only where no LF stands at all.
    const char lineEnd = text.find('\n') == std::string_view::npos ? '\r' : '\n';
    std::vector<TextLine> lines;
    long long number = 0;
    while (!text.empty()) {
        const auto* found =
            static_cast<const char*>(std::memchr(text.data(), lineEnd, text.size()));
        const std::size_t end = found == nullptr ? text.size() : std::size_t(found - text.data());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number;
        if (!Trimmed(line).empty()) {
            lines.push_back({line, number});
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

FieldReader::FieldReader(Separator separator, const NumberFormat& userFormat)
    : separator_(separator),
      userFormat_(userFormat),
      decimalComma_(separator == Separator::Semicolon || userFormat.decimal == ",") {}

Field FieldReader::Read(std::string_view text) const {
    text = Trimmed(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = Trimmed(text.substr(1, text.size() - 2));
    }
    Field field;
    field.text = text;
    if (IsMissingMark(text)) {
        return field;
    }
    std::optional<double> number = FastNumber(text, '.');
    if (!number && decimalComma_ && separator_ != Separator::Comma) {
        number = FastNumber(text, ',');
    }
    if (!number) {
        // Numbers as the user's locale writes them, digit groups and all.
        number = UnlessRunError([&] { return StrictNumber(text, userFormat_); });
    }
    field.kind = number ? Field::Kind::Number : Field::Kind::Text;
    field.number = number.value_or(0);
    return field;
}

void FieldReader::Split(std::string_view line, std::vector<Field>& fields) const {
    fields.clear();
    const char separator = SeparatorChar(separator_);
    const bool spaces = separator_ == Separator::Spaces;
    // Most lines hold no quotes: their fields end at the next separator.
    if (!spaces && std::memchr(line.data(), '"', line.size()) == nullptr) {
        while (true) {
            const auto* end =
                static_cast<const char*>(std::memchr(line.data(), separator, line.size()));
            const std::size_t length =
                end == nullptr ? line.size() : std::size_t(end - line.data());
            fields.push_back(Read(line.substr(0, length)));
            if (end == nullptr) {
                return;
            }
            line.remove_prefix(length + 1);
        }
    }
    std::size_t at = 0;
    while (true) {
        if (spaces) {
            while (at < line.size() && IsBlank(line[at])) {
                ++at;
            }
            if (at == line.size()) {
                return;
            }
        }
        // A field ends at the separator outside quotes.
        const std::size_t start = at;
        bool quoted = false;
        while (at < line.size()) {
            const char c = line[at];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && (c == separator || (spaces && IsBlank(c)))) {
                break;
            }
            ++at;
        }
        fields.push_back(Read(line.substr(start, at - start)));
        if (at == line.size()) {
            return;
        }
        ++at;
    }
}

std::vector<Separator> SeparatorsPresent(const std::vector<TextLine>& lines) {
    const std::size_t sampled = std::min(lines.size(), kSampledLines);
    std::vector<Separator> present;
    for (const Separator candidate :
         {Separator::Tab, Separator::Semicolon, Separator::Comma, Separator::Spaces}) {
        const char c = SeparatorChar(candidate);
        if (candidate == Separator::Spaces ||
            std::any_of(lines.begin(), lines.begin() + sampled, [&](const TextLine& line) {
                return line.text.find(c) != std::string_view::npos;
            })) {
            present.push_back(candidate);
        }
    }
    return present;
}

Separator FindSeparator(const std::vector<TextLine>& lines, const NumberFormat& userFormat) {
    const std::size_t sampled = std::min(lines.size(), kSampledLines);
    std::optional<Separator> best;
    long long bestScore = 0;
    std::vector<Field> fields;
    for (const Separator candidate : SeparatorsPresent(lines)) {
        const FieldReader reader(candidate, userFormat);
        // Numbers count for a separator, texts against it.
        long long score = 0;
        for (std::size_t i = 0; i < sampled; ++i) {
            reader.Split(lines[i].text, fields);
            for (const Field& field : fields) {
                score += field.kind == Field::Kind::Number ? 1
                         : field.kind == Field::Kind::Text ? -1
                                                           : 0;
            }
        }
        // The first separator present wins unless another scores higher.
        if (!best || score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return *best;
}

}  // namespace trolvane
