#include "engine/conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include "engine/checked.h"
#include "engine/run_error.h"

namespace trolvane {
namespace {

// A decimal number as it was written: sign, the digits before and after the
// decimal separator and the exponent, ready to be turned into the nearest double.
struct DecimalText {
    bool negative = false;
    std::string integer;
    std::string fraction;
    long long exponent = 0;
};

// Exponents are kept far beyond any double's range, but never so far that adding
// a count of digits could overflow.
constexpr long long kExponentLimit = 1'000'000'000'000;
// Past this power of ten a number is certainly too large for a double, or too small.
constexpr long long kBeyondDoubleRange = 400;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a digit in any base up to 16; 16 for a character that is none.
int DigitValue(char c) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    const char lower = c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    return static_cast<int>(std::min(kDigits.find(lower), kDigits.size()));
}

std::string_view TakeDigits(std::string_view& rest) {
    const auto end = std::find_if_not(rest.begin(), rest.end(), IsDigit);
    const std::string_view digits = rest.substr(0, static_cast<size_t>(end - rest.begin()));
    rest.remove_prefix(digits.size());
    return digits;
}

bool TakePrefix(std::string_view& rest, std::string_view prefix) {
    if (prefix.empty() || !rest.starts_with(prefix)) {
        return false;
    }
    rest.remove_prefix(prefix.size());
    return true;
}

bool TakeSign(std::string_view& rest) {
    if (TakePrefix(rest, "-")) {
        return true;
    }
    TakePrefix(rest, "+");
    return false;
}

long long ExponentValue(bool negative, std::string_view digits) {
    long long value = 0;
    for (const char digit : digits) {
        value = std::min(kExponentLimit, value * 10 + (digit - '0'));
    }
    return negative ? -value : value;
}

// Reads an exponent (E or e, an optional sign, digits) if one stands at the start.
bool TakeExponent(std::string_view& rest, long long& exponent) {
    if (rest.empty() || (rest.front() != 'E' && rest.front() != 'e')) {
        return false;
    }
    std::string_view after = rest.substr(1);
    const bool negative = TakeSign(after);
    const std::string_view digits = TakeDigits(after);
    if (digits.empty()) {
        return false;
    }
    exponent = ExponentValue(negative, digits);
    rest = after;
    return true;
}

// The power of ten of the leading digit: 0 for 1 to 9.99, 2 for 123, -3 for 0.00123.
long long LeadingPowerOfTen(const DecimalText& number, size_t integerZeros, size_t fractionZeros) {
    const long long shift = integerZeros < number.integer.size()
                                ? static_cast<long long>(number.integer.size() - integerZeros) - 1
                                : -static_cast<long long>(fractionZeros) - 1;
    return number.exponent + shift;
}

double SignedZero(bool negative) {
    return negative ? -0.0 : 0.0;
}

// The nearest double to the number; one beyond the double range is an overflow,
// one too small for it is zero.
double ToDouble(const DecimalText& number) {
    const size_t integerZeros = number.integer.find_first_not_of('0');
    const size_t fractionZeros = number.fraction.find_first_not_of('0');
    if (integerZeros == std::string::npos && fractionZeros == std::string::npos) {
        return SignedZero(number.negative);
    }
    const long long leading =
        LeadingPowerOfTen(number, std::min(integerZeros, number.integer.size()), fractionZeros);
    if (leading > kBeyondDoubleRange) {
        throw RunError(ErrorKind::Overflow);
    }
    if (leading < -kBeyondDoubleRange) {
        return SignedZero(number.negative);
    }
    std::string text = number.negative ? "-" : "";
    text += number.integer.empty() ? "0" : number.integer;
    if (!number.fraction.empty()) {
        text.append(".").append(number.fraction);
    }
    std::array<char, 32> exponent{};
    const auto written = std::to_chars(exponent.begin(), exponent.end(), number.exponent);
    text.append("e").append(exponent.begin(), written.ptr);

    // Rounded to nearest, ties to even: a number past the largest double reads as
    // infinity, one below half the smallest as zero.
    double value = 0;
    fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (!std::isfinite(value)) {
        throw RunError(ErrorKind::Overflow);
    }
    if (value == 0) {
        return SignedZero(number.negative);
    }
    return value;
}

// The "&H" and "&O" forms: a non-negative whole number in base 16 or 8.
double RadixInteger(std::string_view rest, int base) {
    const auto isRadixDigit = [base](char c) { return DigitValue(c) < base; };
    const auto end = std::find_if_not(rest.begin(), rest.end(), isRadixDigit);
    std::string_view digits = rest.substr(0, static_cast<size_t>(end - rest.begin()));
    digits.remove_prefix(std::min(digits.size(), digits.find_first_not_of('0')));
    // Past 1028 bits the number is certainly beyond the double range.
    const size_t bitsPerDigit = base == 16 ? 4 : 3;
    if (digits.size() * bitsPerDigit > 1028) {
        throw RunError(ErrorKind::Overflow);
    }
    std::string bits;
    for (const char digit : digits) {
        for (int bit = static_cast<int>(bitsPerDigit) - 1; bit >= 0; --bit) {
            bits += static_cast<char>('0' + (DigitValue(digit) >> bit & 1));
        }
    }
    bits.erase(0, std::min(bits.size(), bits.find('1')));
    // The leading 53 bits, rounded to nearest with ties to even on the rest.
    constexpr size_t kMantissaBits = std::numeric_limits<double>::digits;
    const size_t kept = std::min(bits.size(), kMantissaBits);
    std::uint64_t mantissa = 0;
    for (size_t i = 0; i < kept; ++i) {
        mantissa = mantissa << 1 | static_cast<std::uint64_t>(bits[i] - '0');
    }
    if (bits.size() > kept) {
        const bool half = bits[kept] == '1';
        const bool aboveHalf = bits.find('1', kept + 1) != std::string::npos;
        if (half && (aboveHalf || (mantissa & 1) != 0)) {
            ++mantissa;
        }
    }
    const double value =
        std::ldexp(static_cast<double>(mantissa), static_cast<int>(bits.size() - kept));
    if (!std::isfinite(value)) {
        throw RunError(ErrorKind::Overflow);
    }
    return value;
}

bool IsLenientBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsStrictBlank(char c) {
    return c == ' ' || c == '\t';
}

// The decimal separators a lenient reading accepts: always ".", and the user's own.
bool TakeLenientDecimal(std::string_view& rest, const NumberFormat& format) {
    return TakePrefix(rest, ".") || TakePrefix(rest, format.decimal);
}

// The integer part of a strict number: plain digits, or groups of three digits
// after a first group of one to three, joined by the user's group separator.
std::string TakeGroupedDigits(std::string_view& rest, const NumberFormat& format) {
    std::string digits(TakeDigits(rest));
    const bool grouping = !format.group.empty() && format.group != format.decimal;
    if (!grouping || !rest.starts_with(format.group)) {
        return digits;
    }
    if (digits.empty() || digits.size() > 3) {
        throw RunError(ErrorKind::TypeMismatch);
    }
    while (TakePrefix(rest, format.group)) {
        const std::string_view group = TakeDigits(rest);
        if (group.size() != 3) {
            throw RunError(ErrorKind::TypeMismatch);
        }
        digits += group;
    }
    return digits;
}

std::string_view TrimStrictBlanks(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsStrictBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsStrictBlank).base();
    return first < last ? text.substr(static_cast<size_t>(first - text.begin()),
                                      static_cast<size_t>(last - first))
                        : std::string_view();
}

// The significant digits of a value, rounded, and the power of ten of the first.
struct RoundedDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The digits of the largest double, 1.7976931348623157E+308.
constexpr std::string_view kLargestDigits = "17976931348623157";
constexpr int kLargestExponent = 308;

// Every double's exact decimal expansion has at most this many significant digits.
constexpr int kExactDigits = 767;

// The value's digits in scientific form, rounded to the given number of them.
RoundedDigits ScientificDigits(double value, int count) {
    fmt::basic_memory_buffer<char, kExactDigits + 16> buffer;
    fmt::format_to(std::back_inserter(buffer), "{:.{}e}", value, count - 1);
    std::string_view text(buffer.data(), buffer.size());
    RoundedDigits digits;
    digits.negative = TakePrefix(text, "-");
    const size_t exponentAt = text.find('e');
    digits.digits = std::string(text.substr(0, exponentAt));
    std::erase(digits.digits, '.');
    text.remove_prefix(exponentAt + 1);
    TakePrefix(text, "+");
    std::from_chars(text.data(), text.data() + text.size(), digits.exponent);
    return digits;
}

// The first digits of the value's exact decimal expansion, at least count of
// them. Two digits more, rounded, are quick to write and tell them unless their
// rounding may have carried into the first ones, which leaves those two 00;
// only then is the whole expansion written.
RoundedDigits ExactLeadingDigits(double value, int count) {
    // A whole number below 2 to the 53rd, a df say, is its own expansion.
    if (std::trunc(value) == value && std::fabs(value) < 0x1p53) {
        std::array<char, 24> buffer{};
        const auto written =
            std::to_chars(buffer.begin(), buffer.end(), static_cast<long long>(std::fabs(value)));
        RoundedDigits whole{value < 0, std::string(buffer.begin(), written.ptr), 0};
        whole.exponent = static_cast<int>(whole.digits.size()) - 1;
        whole.digits.resize(std::max(whole.digits.size(), static_cast<size_t>(count)), '0');
        return whole;
    }
    RoundedDigits leading = ScientificDigits(value, count + 2);
    if (leading.digits.ends_with("00")) {
        return ScientificDigits(value, kExactDigits);
    }
    return leading;
}

// Rounds half away from zero on the exact decimal expansion of the value.
RoundedDigits RoundToDigits(double value, int significantDigits) {
    RoundedDigits rounded = ExactLeadingDigits(value, significantDigits + 1);
    const std::string exact = std::move(rounded.digits);

    rounded.digits = exact.substr(0, significantDigits);
    if (exact[significantDigits] >= '5') {
        const size_t lastBelowNine = rounded.digits.find_last_not_of('9');
        if (lastBelowNine == std::string::npos) {
            rounded.digits.assign(rounded.digits.size(), '0');
            rounded.digits.front() = '1';
            ++rounded.exponent;
        } else {
            ++rounded.digits[lastBelowNine];
            std::fill(rounded.digits.begin() + lastBelowNine + 1, rounded.digits.end(), '0');
        }
    }
    // Rounding up the largest doubles would write a number no double can hold;
    // those are cut instead, so that the text always reads back.
    const std::string_view largest = kLargestDigits.substr(0, rounded.digits.size());
    if (rounded.exponent == kLargestExponent && rounded.digits > largest) {
        rounded.digits = largest;
    }
    rounded.digits.erase(rounded.digits.find_last_not_of('0') + 1);
    return rounded;
}

std::string PlainForm(const RoundedDigits& rounded, const std::string& decimal) {
    const std::string& digits = rounded.digits;
    if (rounded.exponent < 0) {
        return "0" + decimal + std::string(-rounded.exponent - 1, '0') + digits;
    }
    const size_t integerLength = static_cast<size_t>(rounded.exponent) + 1;
    if (digits.size() <= integerLength) {
        return digits + std::string(integerLength - digits.size(), '0');
    }
    return digits.substr(0, integerLength) + decimal + digits.substr(integerLength);
}

std::string ScientificForm(const RoundedDigits& rounded, const std::string& decimal) {
    std::string text = rounded.digits.substr(0, 1);
    if (rounded.digits.size() > 1) {
        text += decimal + rounded.digits.substr(1);
    }
    const int magnitude = std::abs(rounded.exponent);
    text += rounded.exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) {
        text += "0";
    }
    std::array<char, 8> exponent{};
    const auto written = std::to_chars(exponent.begin(), exponent.end(), magnitude);
    return text + std::string(exponent.begin(), written.ptr);
}

// The rounded digits as a plain number with exactly this many decimals.
std::string FixedForm(const RoundedDigits& rounded, int decimals, const std::string& decimal) {
    const int integerLength = std::max(rounded.exponent + 1, 1);
    // Every digit placed: the integer part's and the decimals', zeros where the
    // rounded digits end or begin later.
    std::string placed(static_cast<size_t>(integerLength + decimals), '0');
    const int first = integerLength - 1 - rounded.exponent;
    for (size_t i = 0; i < rounded.digits.size(); ++i) {
        placed[static_cast<size_t>(first) + i] = rounded.digits[i];
    }
    const bool zero = placed.find_first_not_of('0') == std::string::npos;
    const std::string sign = rounded.negative && !zero ? "-" : "";
    const std::string integer = placed.substr(0, static_cast<size_t>(integerLength));
    return sign + integer + (decimals > 0 ? decimal + placed.substr(integer.size()) : "");
}

}  // namespace

double LenientNumber(std::string_view text, const NumberFormat& format) {
    std::string compact(text);
    compact.erase(std::remove_if(compact.begin(), compact.end(), IsLenientBlank), compact.end());
    std::string_view rest = compact;

    if (TakePrefix(rest, "&H") || TakePrefix(rest, "&h")) {
        return RadixInteger(rest, 16);
    }
    if (TakePrefix(rest, "&O") || TakePrefix(rest, "&o")) {
        return RadixInteger(rest, 8);
    }
    DecimalText number;
    number.negative = TakeSign(rest);
    number.integer = TakeDigits(rest);
    if (TakeLenientDecimal(rest, format)) {
        number.fraction = TakeDigits(rest);
    }
    if (number.integer.empty() && number.fraction.empty()) {
        return 0;
    }
    TakeExponent(rest, number.exponent);
    return ToDouble(number);
}

double StrictNumber(std::string_view text, const NumberFormat& format) {
    std::string_view rest = TrimStrictBlanks(text);
    DecimalText number;
    number.negative = TakeSign(rest);
    number.integer = TakeGroupedDigits(rest, format);
    if (TakePrefix(rest, format.decimal)) {
        number.fraction = TakeDigits(rest);
    }
    if (number.integer.empty() && number.fraction.empty()) {
        throw RunError(ErrorKind::TypeMismatch);
    }
    TakeExponent(rest, number.exponent);
    if (!rest.empty()) {
        throw RunError(ErrorKind::TypeMismatch);
    }
    return ToDouble(number);
}

std::string NumberText(double value, const NumberFormat& format) {
    return RoundedNumberText(value, 15, format);
}

std::string RoundedNumberText(double value, int significantDigits, const NumberFormat& format) {
    checked::Finite(value);
    if (value == 0) {
        return "0";
    }
    const RoundedDigits rounded = RoundToDigits(value, std::clamp(significantDigits, 1, 15));
    const bool plain = rounded.exponent > -5 && rounded.exponent < 15;
    const std::string sign = rounded.negative ? "-" : "";
    return sign +
           (plain ? PlainForm(rounded, format.decimal) : ScientificForm(rounded, format.decimal));
}

std::string FixedNumberText(double value, int decimals, const NumberFormat& format) {
    checked::Finite(value);
    RoundedDigits rounded{std::signbit(value), "", 0};
    if (value != 0) {
        const RoundedDigits leading = ExactLeadingDigits(value, 1);
        const int kept = leading.exponent + 1 + decimals;
        if (kept > 0) {
            rounded = RoundToDigits(value, kept);
        } else if (kept == 0 && leading.digits.front() >= '5') {
            // Below the last decimal, but rounding up to it.
            rounded = {leading.negative, "1", -decimals};
        }
    }
    return FixedForm(rounded, decimals, format.decimal);
}

std::string Normalised(std::string_view text, const NumberFormat& format) {
    return NumberText(LenientNumber(text, format), format);
}

double FloorToThousandths(double value) {
    return checked::Divide(std::floor(checked::Multiply(value, 1000)), 1000);
}

}  // namespace trolvane
