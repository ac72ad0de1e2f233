// Any text in a box: lenient reading fails only on overflow, normalising is
// idempotent and strictly readable, strict reading raises or gives a finite number.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz/properties.h"

using namespace trolvane;
using trolvane::fuzz::Require;

namespace {

void CheckNormalising(std::string_view text, const NumberFormat& format) {
    double number = 0;
    try {
        number = LenientNumber(text, format);
    } catch (const RunError& error) {
        Require(error.kind() == ErrorKind::Overflow, "lenient reading raises only Overflow", text);
        return;
    }
    Require(std::isfinite(number), "lenient reading is finite", text);
    const std::string once = NumberText(number, format);
    Require(Normalised(once, format) == once, "normalising twice changes nothing", once);
    Require(StrictNumber(once, format) == LenientNumber(once, format),
            "the normalised text reads strictly", once);
}

void CheckStrictReading(std::string_view text, const NumberFormat& format) {
    try {
        Require(std::isfinite(StrictNumber(text, format)), "strict reading is finite", text);
    } catch (const RunError& error) {
        Require(error.kind() == ErrorKind::TypeMismatch || error.kind() == ErrorKind::Overflow,
                "strict reading raises TypeMismatch or Overflow", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const NumberFormat& format : fuzz::kFormats) {
        CheckNormalising(text, format);
        CheckStrictReading(text, format);
    }
    return 0;
}
