// How a box fits its number: the size its text is drawn at, and what is shown of
// a number too wide for the box even at the smallest size.
#include <gtest/gtest.h>

#include <algorithm>

#include "form/caption_fit.h"
#include "form/controls.h"

namespace trolvane {
namespace {

// A text of digits in Tahoma, whose digits are 0.546 em wide, at 96 dpi.
double DigitsWidth(int digits, double points) {
    return digits * 0.546 * points * 96 / 72;
}

// The room a box's frame leaves: its border and padding, 3 px each side.
double Room(ControlId box) {
    return EntryOf(box).place.width / double(kTwipsPerPixelAt96Dpi) - 6;
}

struct BoxCase {
    ControlId box;
    // The most digits shown whole at the designed size, and at 6 pt.
    int wholeAtDesigned;
    int wholeAtSmallest;
};

class BoxPointsOfDigits : public ::testing::TestWithParam<BoxCase> {};

TEST_P(BoxPointsOfDigits, AreTheLargestThatFitDownToSixPoints) {
    const BoxCase& c = GetParam();
    const double designed = EntryOf(c.box).look.points;
    const double room = Room(c.box);
    for (int digits = 1; digits <= 20; ++digits) {
        const double points =
            BoxPoints(designed, room, [&](double size) { return DigitsWidth(digits, size); });
        if (digits <= c.wholeAtDesigned || digits > c.wholeAtSmallest) {
            EXPECT_EQ(points, designed) << digits << " digits";
        } else {
            EXPECT_GE(points, kSmallestLegiblePoints) << digits << " digits";
            EXPECT_LT(points, designed) << digits << " digits";
            EXPECT_LE(DigitsWidth(digits, points), room) << digits << " digits";
            EXPECT_GT(DigitsWidth(digits, points + kPointStep), room) << digits << " digits";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TopBoxesAndEigenvalues, BoxPointsOfDigits,
                         ::testing::Values(BoxCase{{Control::v}, 4, 8}, BoxCase{{Control::n}, 4, 8},
                                           BoxCase{{Control::det}, 19, 20},
                                           BoxCase{{Control::f}, 4, 8},
                                           BoxCase{{Control::eigen, 1}, 9, 13}));

// Characters, not bytes, as a box of ten characters' room would count them.
std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

struct ShownCase {
    const char* text;
    const char* shown;
};

class ShownNumberInTenCharacters : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownNumberInTenCharacters, KeepsLeadingDigitsAndExponent) {
    const auto fits = [](std::string_view text) { return Characters(text) <= 10; };
    EXPECT_EQ(ShownNumber(GetParam().text, fits), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ShownNumberInTenCharacters,
                         ::testing::Values(ShownCase{"2436", "2436"}, ShownCase{"0.48", "0.48"},
                                           ShownCase{"5.13431117720728", "5.1343111…"},
                                           ShownCase{"0,000564063865899769", "0,0005640…"},
                                           ShownCase{"1.23456789012345E-05", "1.234…E-05"},
                                           ShownCase{"-2.5e+300", "-2.5e+300"},
                                           ShownCase{"123456789012345e7", "1234567…e7"},
                                           ShownCase{"Eigenvalues 2", "Eigenvalu…"},
                                           ShownCase{"ääääääääääää", "äääääääää…"}));

TEST(ShownNumber, KeepsOneDigitAndTheExponentWhereNothingFits) {
    EXPECT_EQ(ShownNumber("1.23456789012345E-05", [](std::string_view) { return false; }),
              "1…E-05");
}

}  // namespace
}  // namespace trolvane
