// The rules every edition fits a text to its control by: a caption to its label
// and a box's number to the room its frame leaves, never below 6 pt.
#pragma once

#include <string>
#include <string_view>

namespace trolvane {

inline constexpr double kSmallestLegiblePoints = 6;
inline constexpr double kPointStep = 0.25;

// The designed size where the caption fits, else a quarter point smaller until
// it does, never below 6 pt. fits(points) says whether the caption, drawn at
// that size, fits its label.
template <typename Fits>
double FittingPoints(double designed, Fits fits) {
    double points = designed;
    while (!fits(points) && points - kPointStep >= kSmallestLegiblePoints) {
        points -= kPointStep;
    }
    return points;
}

// The size a box draws its text at: the largest from the designed size down to
// 6 pt at which the text's width is within the room the box's frame leaves
// (both in the same unit). A text too wide even at 6 pt keeps the designed size,
// where the box shows its leading digits (see ShownNumber).
template <typename Width>
double BoxPoints(double designed, double room, Width width) {
    const auto fits = [&](double points) { return width(points) <= room; };
    const double points = FittingPoints(designed, fits);
    return fits(points) ? points : designed;
}

// The exponent that ends a number's text, "E-05" of "1.2345E-05"; empty where
// the text ends otherwise.
inline std::string_view ExponentOf(std::string_view text) {
    const std::size_t e = text.find_last_of("Ee");
    if (e == std::string_view::npos || e == 0) {
        return {};
    }
    const std::string_view exponent = text.substr(e);
    const std::size_t digits = exponent.find_first_not_of("+-", 1);
    const bool number = digits <= 2 && digits < exponent.size() &&
                        exponent.find_first_not_of("0123456789", digits) == std::string_view::npos;
    return number ? exponent : std::string_view();
}

// What a box shows of its number while the keyboard is elsewhere: the whole
// text where it fits; else its leading characters, an ellipsis and the whole
// exponent ("1.2345…E-05"), as many leading characters as fit, at least one.
// fits(shown) says whether a text fits the box. The box's text stays whole.
template <typename Fits>
std::string ShownNumber(std::string_view text, Fits fits) {
    if (text.size() < 2 || fits(text)) {
        return std::string(text);
    }
    constexpr std::string_view kEllipsis = "\u2026";
    const std::string_view exponent = ExponentOf(text);
    const std::string_view leading = text.substr(0, text.size() - exponent.size());
    std::string shown;
    for (std::size_t kept = leading.size() - 1; kept > 0; --kept) {
        // A character of several bytes is kept or dropped whole.
        if ((static_cast<unsigned char>(leading[kept]) & 0xC0) == 0x80) {
            continue;
        }
        shown = std::string(leading.substr(0, kept)).append(kEllipsis).append(exponent);
        if (fits(std::string_view(shown))) {
            break;
        }
    }
    return shown.empty() ? std::string(text) : shown;
}

}  // namespace trolvane
