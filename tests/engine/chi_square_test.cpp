// The exact chi-square p-value against reference values computed once, to 50
// digits, with an independent arbitrary-precision tool; and the note's text.
#include "engine/chi_square.h"

#include <gtest/gtest.h>

#include <cmath>

namespace trolvane {
namespace {

TEST(ChiSquareUpperTail, MatchesReferenceValuesToTwelveDigits) {
    const struct {
        double chisq, df, p;
    } references[] = {
        {9.72828762726051, 5, 8.3310511729187009e-2},
        {1.857400787, 2, 3.9506680827866921e-1},
        {365.128, 65, 2.3110176598239197e-43},
        {0.5, 0.875, 4.2806285755132292e-1},
        {3.84, 1, 5.0043521248705103e-2},
        {6.63, 1, 1.0027526446317954e-2},
        {100, 3, 1.5541594313896049e-21},
        {1000, 10, 1.8702907209159497e-208},
        {1e-10, 1, 9.999920211543921e-1},
        {50, 0.5, 3.3298347276499366e-13},
        {1e6, 1e6, 4.998119368033945e-1},
        {2500, 2000, 1.0740080231386176e-13},
        {0.001, 200, 1.0},
        {700, 30, 4.9107841763029119e-128},
        {100500, 1e5, 1.3185481160338378e-1},
        {30, 30, 4.6565370894400963e-1},
        {0.1, 0.1, 1.1775643611433194e-1},
        {1e-300, 2, 1.0},
        {12.5, 2.5, 3.4892808651520943e-3},
        {99886862.91501015, 1e8, 9.9999999999999939e-1},
        {100007071.06781186, 1e8, 3.0852509137375871e-1},
        {100282842.71247461, 1e8, 4.0117851819626555e-89},
        {9999858578.643763, 1e10, 8.4134474607678323e-1},
        {10000070710.678118, 1e10, 3.0853629398970093e-1},
        {10000424264.068712, 1e10, 1.350065171965621e-3},
    };
    for (const auto& reference : references) {
        const double p = ChiSquareUpperTail(reference.chisq, reference.df);
        EXPECT_LE(std::fabs(p - reference.p), 1e-12 * reference.p)
            << reference.chisq << " on " << reference.df << " df: " << p;
    }
}

TEST(ChiSquareUpperTail, SmallestDfGivesAProbability) {
    const double p = ChiSquareUpperTail(1.2882297539194498e-231, 5e-324);  // found by fuzzing
    EXPECT_TRUE(p >= 0 && p < 1e-300) << p;
}

TEST(ChiSquareUpperTail, IsOneForAStatisticAtOrBelowZero) {
    for (const double chisq : {0.0, -0.0, -1e-300, -5.0, -1e308}) {
        EXPECT_EQ(ChiSquareUpperTail(chisq, 3), 1) << chisq;
    }
}

// Past 1E10 df no probability is given rather than an inaccurate one.
TEST(ChiSquareUpperTail, IsNotGivenPastTheAccurateRange) {
    const double df = 5.256633473081384e+83;
    const double chisq = 5.256633473081331e+83;  // found by fuzzing: once gave -inf
    EXPECT_TRUE(std::isnan(ChiSquareUpperTail(chisq, df)));
    EXPECT_EQ(ExactPText(chisq, df), std::nullopt);
    EXPECT_EQ(ExactPText(1.000000707106781e12, 1e12), std::nullopt);
}

TEST(ExactPText, WritesTheNoteBesideTheCaption) {
    const NumberFormat comma{",", "."};
    const struct {
        double chisq, df;
        NumberFormat format;
        const char* note;
    } cases[] = {
        {9.72828762726051, 5, {}, "Exact p = 0.08331 (chi-square 9.728 on 5 df)"},
        {1.857400787, 2, {}, "Exact p = 0.3951 (chi-square 1.857 on 2 df)"},
        {365.128, 65, {}, "Exact p = 2.311E-43 (chi-square 365.128 on 65 df)"},
        {9.72828762726051, 5, comma, "Exact p = 0,08331 (chi-square 9,728 on 5 df)"},
        {-0.0004, 1, {}, "Exact p = 1 (chi-square -0.001 on 1 df)"},
        {12.5, 2.5, comma, "Exact p = 0,003489 (chi-square 12,5 on 2,5 df)"},
        {1e306, 40, {}, "Exact p < 1E-300 (chi-square 1E+306 on 40 df)"},
        {1400, 1, {}, "Exact p < 1E-300 (chi-square 1400 on 1 df)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExactPText(c.chisq, c.df, c.format), c.note);
    }
}

TEST(RoundedNumberText, RoundsToTheGivenDigits) {
    const struct {
        double value;
        int digits;
        const char* text;
    } cases[] = {
        {0.083310511729187, 4, "0.08331"},
        {3.2e-7, 4, "3.2E-07"},
        {0.99996, 4, "1"},
        {0.00009999, 4, "9.999E-05"},
        {0.000099996, 4, "0.0001"},
        {1.7976931348623157e308, 4, "1.797E+308"},
        {2.5, 1, "3"},
        {123456, 2, "120000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundedNumberText(c.value, c.digits), c.text) << c.value;
    }
}

}  // namespace
}  // namespace trolvane
