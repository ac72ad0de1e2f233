// Inputs no correlation matrix can have: the first cause that holds, in order.
#include <gtest/gtest.h>

#include "engine/impossible_inputs.h"

namespace trolvane {
namespace {

struct Case {
    const char* what;
    double p, n, detR;
    std::vector<double> eigenvalues;
    std::optional<double> ratio;
    std::optional<ImpossibleCause> cause;
    int row = 0;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.what;
}

using C = ImpossibleCause;

class ImpossibleInputs : public ::testing::TestWithParam<Case> {};

TEST_P(ImpossibleInputs, NameTheFirstCause) {
    const Case& c = GetParam();
    const auto found = FindImpossibleInput(c.p, c.n, c.detR, c.eigenvalues, c.ratio);
    ASSERT_EQ(found.has_value(), c.cause.has_value());
    if (found) {
        EXPECT_EQ(found->cause, *c.cause);
        EXPECT_EQ(found->row, c.row);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ImpossibleInputs,
    ::testing::Values(
        Case{"worked example row 1", 4, 50, 0.48, {2}, 0.81, {}},
        // Row 3's ratio is 1 but for rounding in double arithmetic.
        Case{"worked example row 3", 4, 50, 0.48, {2, 1, 0.6}, 1 + 2e-16, {}},
        Case{"equal eigenvalues", 4, 50, 1, {1, 1, 1}, 1, {}},
        Case{"determinant above 1 first", 4, 3, 1.5, {1, 2}, 2, C::DeterminantAboveOne},
        Case{"determinant of 0", 4, 50, 0, {2}, {}, C::DeterminantNotAboveZero},
        Case{"sample no larger than p", 4, 4, 0.48, {1, 2}, 0.5, C::SampleTooSmall},
        Case{"multiplier below 0", 2, 3, 0.9, {1.5}, 0.9, C::SampleTooSmall},
        Case{"eigenvalue of 0", 4, 50, 0.48, {2, 0}, {}, C::EigenvalueNotAboveZero, 2},
        Case{"larger than the one before", 4, 50, 0.48, {1, 2}, 0.5, C::EigenvalueAbovePrevious, 2},
        Case{"smallest typed first", 4, 50, 0.48, {0.6, 1, 2}, 0.5, C::EigenvalueBelowMeanAfter, 1},
        Case{"adding up past p", 4, 50, 0.01, {3, 1.5}, {}, C::EigenvaluesReachP, 2},
        Case{"ratio above 1", 4, 50, 0.9, {2, 1, 0.6}, 1.52, C::DeterminantTooLargeForEigenvalues}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

}  // namespace
}  // namespace trolvane
