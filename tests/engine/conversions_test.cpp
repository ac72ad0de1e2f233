// Reading and writing numbers as the boxes hold them: lenient and strict reading,
// display text, rounding to thousandths, and normalising a box that stays put.
#include "engine/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/run_error.h"

namespace trolvane {
namespace {

const NumberFormat kPoint{".", ","};
const NumberFormat kComma{",", "."};
const NumberFormat kCommaNoBreak{",", "\u00a0"};

ErrorKind KindOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RunError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no RunError raised";
    return ErrorKind::MissingElement;
}

struct ReadCase {
    std::string text;
    NumberFormat format;
    double expected;
};

TEST(LenientNumber, ReadsTheLongestNumberAtTheStart) {
    const ReadCase cases[] = {
        {"12", kPoint, 12},
        {" 1 2.5x", kPoint, 12.5},
        {"\t4\n", kPoint, 4},
        {"abc", kPoint, 0},
        {"", kPoint, 0},
        {" ", kPoint, 0},
        {"-", kPoint, 0},
        {".", kPoint, 0},
        {"-.5", kPoint, -0.5},
        {"+5", kPoint, 5},
        {"3,7", kPoint, 3},
        {"3,5", kPoint, 3},
        {"2.50", kPoint, 2.5},
        {"1e2", kPoint, 100},
        {"1E-2", kPoint, 0.01},
        {"1E", kPoint, 1},
        {"1e+", kPoint, 1},
        {"1.5.3", kPoint, 1.5},
        {"$5", kPoint, 0},
        {"1e-400", kPoint, 0},
        {"0.000000000000000000000000000000000000000000000000000000000001e60", kPoint, 1},
        {"&H1F", kPoint, 31},
        {"&hff", kPoint, 255},
        {"&O17", kPoint, 15},
        {"&o777x", kPoint, 511},
        {"&H", kPoint, 0},
        {"&Hg", kPoint, 0},
        {"&O8", kPoint, 0},
        {"& H10", kPoint, 16},
        {"&HFFFFFFFFFFFFFFFF", kPoint, 18446744073709551615.0},
        {"&O1777777777777777777777", kPoint, 18446744073709551615.0},
        {"-&H10", kPoint, 0},
        {"0,48", kComma, 0.48},
        {"0.48", kComma, 0.48},
        {"3,5", kComma, 3.5},
        {"1,5E-07", kComma, 1.5e-7},
        {"1 234,5", kCommaNoBreak, 1234.5},
        {"1\u00a0234,5", kCommaNoBreak, 1},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(LenientNumber(c.text, c.format), c.expected) << '"' << c.text << '"';
    }
}

TEST(LenientNumber, FailsOnlyOnNumbersTooLargeForADouble) {
    const std::string hugeHex = "&H" + std::string(300, 'F');
    const std::string hugeOctal = "&O" + std::string(400, '7');
    const std::string manyDigits(400, '9');
    for (const std::string& text : {std::string("1e309"), std::string("-1E400"), hugeHex, hugeOctal,
                                    manyDigits, std::string("1e99999999999999999999")}) {
        EXPECT_EQ(KindOf([&] { LenientNumber(text); }), ErrorKind::Overflow) << text;
    }
}

// A number between two doubles reads as the nearer one, and one halfway as the
// one with an even last bit, however far out the deciding digit stands.
TEST(LenientNumber, RoundsToTheNearestDoubleWithTiesToEven) {
    const std::string largestDouble = "&HFFFFFFFFFFFFF8" + std::string(242, '0');
    const std::pair<std::string, double> cases[] = {
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993.00000000000000000000001", 9007199254740994.0},
        {"9007199254740995", 9007199254740996.0},
        {"2.4703282292062327e-324", 0},
        {"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min()},
        {"&H20000000000001", 9007199254740992.0},
        {"&H20000000000003", 9007199254740996.0},
        {"&O400000000000000001", 9007199254740992.0},
        {"&H100000000000008", 72057594037927936.0},
        {"&H100000000000009", 72057594037927952.0},
        {"&H100000000000018", 72057594037927968.0},
        {largestDouble, std::numeric_limits<double>::max()},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(LenientNumber(text), expected) << text;
    }
    const std::string halfwayPastLargest = "&HFFFFFFFFFFFFFC" + std::string(242, '0');
    EXPECT_EQ(KindOf([&] { LenientNumber(halfwayPastLargest); }), ErrorKind::Overflow);
}

TEST(StrictNumber, ReadsNumbersAsTheUserWritesThem) {
    const ReadCase cases[] = {
        {"0", kPoint, 0},
        {"2.5", kPoint, 2.5},
        {"  2.5\t", kPoint, 2.5},
        {"-1,234.5", kPoint, -1234.5},
        {"1,234,567", kPoint, 1234567},
        {"+.5", kPoint, 0.5},
        {"5.", kPoint, 5},
        {"1E3", kPoint, 1000},
        {"2.5e-3", kPoint, 0.0025},
        {"1e-400", kPoint, 0},
        {"0,48", kComma, 0.48},
        {"1.234,5", kComma, 1234.5},
        {"1,5E-07", kComma, 1.5e-7},
        {"1\u00a0234,5", kCommaNoBreak, 1234.5},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(StrictNumber(c.text, c.format), c.expected) << '"' << c.text << '"';
    }
}

TEST(StrictNumber, RaisesTypeMismatchOnAnythingElse) {
    const std::pair<std::string, NumberFormat> cases[] = {
        {"", kPoint},
        {" ", kPoint},
        {"abc", kPoint},
        {".", kPoint},
        {"1,23", kPoint},
        {",123", kPoint},
        {"1234,567", kPoint},
        {"12,3456", kPoint},
        {"1e", kPoint},
        {"1e+", kPoint},
        {"--1", kPoint},
        {"1 2", kPoint},
        {"&H10", kPoint},
        {"1.5x", kPoint},
        {"3,5", kPoint},
        {"0.6", kComma},
        {"1.5", kComma},
        {"1,5,3", kComma},
        {"1 234,5", kCommaNoBreak},
    };
    for (const auto& [text, format] : cases) {
        EXPECT_EQ(KindOf([&text = text, &format = format] { StrictNumber(text, format); }),
                  ErrorKind::TypeMismatch)
            << '"' << text << '"';
    }
    EXPECT_EQ(KindOf([] { StrictNumber("1e400"); }), ErrorKind::Overflow);
}

struct TextCase {
    double value;
    NumberFormat format;
    std::string expected;
};

TEST(NumberText, WritesFifteenSignificantDigits) {
    const TextCase cases[] = {
        {3, kPoint, "3"},
        {0.5, kPoint, "0.5"},
        {-1.25, kPoint, "-1.25"},
        {9.728, kPoint, "9.728"},
        {1.0 / 3, kPoint, "0.333333333333333"},
        {2.0 / 3, kPoint, "0.666666666666667"},
        {0.1 + 0.2, kPoint, "0.3"},
        {-0.0, kPoint, "0"},
        {1e20, kPoint, "1E+20"},
        {0.0001, kPoint, "0.0001"},
        {0.00001, kPoint, "1E-05"},
        {123456789012345, kPoint, "123456789012345"},
        {999999999999999.4, kPoint, "999999999999999"},
        {999999999999999.6, kPoint, "1E+15"},
        {1e15, kPoint, "1E+15"},
        {1.5e-7, kPoint, "1.5E-07"},
        {-2.5e100, kPoint, "-2.5E+100"},
        {std::numeric_limits<double>::max(), kPoint, "1.79769313486231E+308"},
        {std::numeric_limits<double>::denorm_min(), kPoint, "4.94065645841247E-324"},
        {1234567.5, kPoint, "1234567.5"},
        {1234567890123455, kPoint, "1.23456789012346E+15"},
        {-1234567890123455, kPoint, "-1.23456789012346E+15"},
        {0.3, kPoint, "0.3"},
        {0.48, kComma, "0,48"},
        {1.5e-7, kComma, "1,5E-07"},
        {0.875, kCommaNoBreak, "0,875"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(NumberText(c.value, c.format), c.expected) << c.value;
    }
}

// Rounding looks at the value's exact digits, not at its shortest text: 0.35 is
// a little below and 0.45 a little above the halfway point.
TEST(RoundedNumberText, RoundsTheExactDecimalExpansion) {
    const std::tuple<double, int, std::string> cases[] = {
        {0.35, 1, "0.3"},
        {0.45, 1, "0.5"},
        {2.675, 3, "2.67"},
        {0.25, 1, "0.3"},
        {1.005, 3, "1"},
        {8.5, 1, "9"},
        // Digits 9.09725696074848|4999612...: a short rounding would carry.
        {9.097256960748485, 15, "9.09725696074848"},
    };
    for (const auto& [value, digits, expected] : cases) {
        EXPECT_EQ(RoundedNumberText(value, digits), expected) << value;
    }
}

TEST(NumberText, RefusesValuesThatAreNotNumbers) {
    EXPECT_EQ(KindOf([] { NumberText(std::numeric_limits<double>::infinity()); }),
              ErrorKind::Overflow);
    EXPECT_EQ(KindOf([] { NumberText(std::nan("")); }), ErrorKind::InvalidArgument);
}

TEST(FloorToThousandths, RoundsTowardMinusInfinity) {
    const std::pair<double, double> cases[] = {
        {9.7282876, 9.728}, {-1.2341, -1.235}, {2.0, 2}, {-0.0004, -0.001}, {0, 0},
        {1.8574008, 1.857},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(FloorToThousandths(value), expected) << value;
    }
    EXPECT_EQ(NumberText(FloorToThousandths(2.0)), "2");
    EXPECT_EQ(KindOf([] { FloorToThousandths(1e306); }), ErrorKind::Overflow);
}

TEST(Normalising, GivesTheNumberTheCommandsUse) {
    const std::tuple<std::string, NumberFormat, std::string> cases[] = {
        {" 1 2 ", kPoint, "12"},  {"2.50", kPoint, "2.5"},
        {"", kPoint, "0"},        {"1e2", kPoint, "100"},
        {"3,5", kPoint, "3"},     {"0.48", kComma, "0,48"},
        {"0,48", kComma, "0,48"}, {"4 ", kPoint, "4"},
        {" 2", kPoint, "2"},      {"1.7976931348623157e308", kPoint, "1.79769313486231E+308"},
    };
    for (const auto& [text, format, expected] : cases) {
        EXPECT_EQ(Normalised(text, format), expected) << '"' << text << '"';
    }
}

// Whatever the user typed, normalising again changes nothing, and the normalised
// text is always a number that strict reading accepts with the same separators.
TEST(Normalising, IsIdempotentAndReadsBackStrictly) {
    const std::vector<std::string> alphabet = {
        "0",  "1",  "5",  "9", ".", ",",      "-",   "+",   "e",   "E",    " ",
        "\t", "&H", "&O", "F", "x", "\u00a0", "307", "308", "309", "-320", "17976931348623157",
    };
    std::vector<std::string> texts = {"0,48",
                                      "1.5,3",
                                      "-0",
                                      "4.94065645841247E-324",
                                      "1.79769313486231E+308",
                                      "99999999999999950000"};
    std::mt19937 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int pieces = static_cast<int>(random() % 8);
        for (int j = 0; j < pieces; ++j) {
            text += alphabet[random() % alphabet.size()];
        }
        texts.push_back(text);
    }
    for (const NumberFormat& format : {kPoint, kComma, kCommaNoBreak}) {
        for (const std::string& text : texts) {
            std::string once;
            try {
                once = Normalised(text, format);
            } catch (const RunError& error) {
                EXPECT_EQ(error.kind(), ErrorKind::Overflow) << '"' << text << '"';
                continue;
            }
            EXPECT_EQ(Normalised(once, format), once) << '"' << text << '"';
            EXPECT_EQ(StrictNumber(once, format), LenientNumber(once, format)) << once;
        }
    }
}

}  // namespace
}  // namespace trolvane
