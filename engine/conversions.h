// The conversions between the texts of the boxes and numbers: lenient reading for
// normalising a box, strict reading for eigenvalues, display text and rounding.
#pragma once

#include <string>
#include <string_view>

namespace trolvane {

// The user's separators, UTF-8.
struct NumberFormat {
    std::string decimal = ".";
    std::string group = ",";
};

// Reads the longest number at the start of the text, ignoring blanks, tabs and
// line feeds anywhere; a text with no number is 0. Raises only Overflow.
double LenientNumber(std::string_view text, const NumberFormat& format = {});

// Reads a text that is exactly a number as the user writes one, with blanks around
// it allowed; anything else raises TypeMismatch, a too large number Overflow.
double StrictNumber(std::string_view text, const NumberFormat& format = {});

// Writes a number with at most 15 significant digits, scientific when it is too
// large or too small for that.
std::string NumberText(double value, const NumberFormat& format = {});

// Writes a number as NumberText does, rounded to 1 to 15 significant digits.
std::string RoundedNumberText(double value, int significantDigits, const NumberFormat& format = {});

// Writes a number with a fixed count of decimals, rounded half away from zero
// on its exact value: 0.9 with three is 0.900.
std::string FixedNumberText(double value, int decimals, const NumberFormat& format = {});

// Normalising a box: the text becomes the number it holds, as the commands use it.
std::string Normalised(std::string_view text, const NumberFormat& format = {});

// Cuts a statistic to three decimals, rounding toward minus infinity.
double FloorToThousandths(double value);

}  // namespace trolvane
