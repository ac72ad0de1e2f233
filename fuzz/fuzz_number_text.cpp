// Any double: its text has at most 15 significant digits and reads back to within
// 1 part in 1E14; cutting it to thousandths is finite or a typed error.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/properties.h"

using namespace trolvane;
using trolvane::fuzz::Require;

namespace {

int SignificantDigits(std::string_view text) {
    text = text.substr(0, text.find('E'));
    const std::size_t first = text.find_first_of("123456789");
    int digits = 0;
    for (std::size_t i = first == std::string_view::npos ? text.size() : first; i < text.size();
         ++i) {
        digits += text[i] >= '0' && text[i] <= '9' ? 1 : 0;
    }
    return digits;
}

bool Close(double a, double b) {
    return std::fabs(a - b) <= 1e-14 * std::fabs(b);
}

void CheckText(double value, const NumberFormat& format) {
    std::string text;
    try {
        text = NumberText(value, format);
    } catch (const RunError&) {
        Require(!std::isfinite(value), "only a value that is not finite is refused", "");
        return;
    }
    Require(std::isfinite(value), "a value that is not finite is refused", text);
    Require(SignificantDigits(text) <= 15, "at most 15 significant digits", text);
    Require(Close(StrictNumber(text, format), value), "the text reads back", text);
}

void CheckThousandths(double value) {
    if (!std::isfinite(value)) {
        return;
    }
    double cut = 0;
    try {
        cut = FloorToThousandths(value);
    } catch (const RunError& error) {
        Require(error.kind() == ErrorKind::Overflow && std::fabs(value) > 1e304,
                "only a value too large for thousandths overflows", NumberText(value));
        return;
    }
    const double slack = std::fabs(value) * 1e-15;
    Require(std::isfinite(cut) && cut <= value + slack && value - cut <= 0.001 + slack,
            "cut toward minus infinity by less than a thousandth", NumberText(value));
    CheckText(cut, fuzz::kFormats[0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double value = 0;
    if (size < sizeof value) {
        return 0;
    }
    std::memcpy(&value, data, sizeof value);
    for (const NumberFormat& format : fuzz::kFormats) {
        CheckText(value, format);
    }
    CheckThousandths(value);
    return 0;
}
