// How a box fits its number: the size its text is drawn at, and what is shown of
// a number too wide for the box even at the smallest size.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "form/caption_fit.h"
#include "form/controls.h"

namespace trolvane {
namespace {

// Digits in Tahoma, 0.546 em wide, at 96 dpi.
double DigitsWidth(int digits, double points) {
    return digits * 0.546 * points * 96 / 72;
}

struct BoxCase {
    ControlId box;
    // The most digits shown whole at the designed size, and at 6 pt.
    int wholeAtDesigned;
    int wholeAtSmallest;
};

class BoxPointsOfDigits : public ::testing::TestWithParam<BoxCase> {};

// Against the room inside a frame of 3 px each side.
TEST_P(BoxPointsOfDigits, AreTheLargestThatFitDownToSixPoints) {
    const auto [box, wholeAtDesigned, wholeAtSmallest] = GetParam();
    const double designed = EntryOf(box).look.points;
    const double room = EntryOf(box).place.width / double(kTwipsPerPixelAt96Dpi) - 6;
    for (int digits = 1; digits <= 20; ++digits) {
        const auto width = [&](double points) { return DigitsWidth(digits, points); };
        const double points = BoxPoints(designed, room, width);
        if (digits <= wholeAtDesigned || digits > wholeAtSmallest) {
            EXPECT_EQ(points, designed) << digits << " digits";
        } else {
            EXPECT_GE(points, kSmallestLegiblePoints) << digits << " digits";
            EXPECT_LE(width(points), room) << digits << " digits";
            EXPECT_GT(width(points + kPointStep), room) << digits << " digits";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TopBoxesAndEigenvalues, BoxPointsOfDigits,
                         ::testing::Values(BoxCase{{Control::v}, 4, 8}, BoxCase{{Control::n}, 4, 8},
                                           BoxCase{{Control::det}, 19, 20},
                                           BoxCase{{Control::f}, 4, 8},
                                           BoxCase{{Control::eigen, 1}, 9, 13}));

TEST(ShownNumber, KeepsLeadingDigitsAndTheExponentInTenCharacters) {
    // Characters, not bytes: the ellipsis is one.
    const auto fits = [](std::string_view text) {
        return std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }) <=
               10;
    };
    const std::pair<const char*, const char*> cases[] = {
        {"2436", "2436"},
        {"5.13431117720728", "5.1343111…"},
        {"1.23456789012345E-05", "1.234…E-05"},
        {"-2.5e+300", "-2.5e+300"},
        {"Eigenvalues 2", "Eigenvalu…"},
        {"ääääääääääää", "äääääääää…"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ShownNumber(text, fits), shown);
    }
    EXPECT_EQ(ShownNumber("1.23456789012345E-05", [](std::string_view) { return false; }),
              "1…E-05");
}

}  // namespace
}  // namespace trolvane
