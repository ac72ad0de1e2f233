// Checked arithmetic and the failure value: each fault is raised with its own kind
// at the operation where it happens, and each kind has its description and number.
#include "engine/checked.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "engine/run_error.h"

namespace trolvane {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();

struct FaultCase {
    std::string name;
    std::function<double()> operation;
    ErrorKind kind;
    friend void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }
};

class CheckedFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(CheckedFaults, RaiseTheirKind) {
    try {
        const double result = GetParam().operation();
        FAIL() << "no error, result " << result;
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), GetParam().kind);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, CheckedFaults,
    testing::Values(
        FaultCase{"DivideByZero", [] { return checked::Divide(1, 0); }, ErrorKind::DivisionByZero},
        FaultCase{"ZeroByZero", [] { return checked::Divide(0, 0); }, ErrorKind::DivisionByZero},
        FaultCase{"ByMinusZero", [] { return checked::Divide(1, -0.0); },
                  ErrorKind::DivisionByZero},
        FaultCase{"QuotientTooLarge", [] { return checked::Divide(1e308, 1e-10); },
                  ErrorKind::Overflow},
        FaultCase{"ProductTooLarge", [] { return checked::Multiply(1e200, -1e200); },
                  ErrorKind::Overflow},
        FaultCase{"SumTooLarge", [] { return checked::Add(kMax, kMax); }, ErrorKind::Overflow},
        FaultCase{"DifferenceTooLarge", [] { return checked::Subtract(-kMax, kMax); },
                  ErrorKind::Overflow},
        FaultCase{"FractionalPowerOfNegative", [] { return checked::Power(-8, 1.0 / 3); },
                  ErrorKind::InvalidArgument},
        FaultCase{"NegativePowerOfZero", [] { return checked::Power(0, -1); },
                  ErrorKind::DivisionByZero},
        FaultCase{"PowerTooLarge", [] { return checked::Power(10, 400); }, ErrorKind::Overflow},
        FaultCase{"LogOfZero", [] { return checked::Log(0); }, ErrorKind::InvalidArgument},
        FaultCase{"LogOfNegative", [] { return checked::Log(-1); }, ErrorKind::InvalidArgument},
        FaultCase{"RootOfNegative", [] { return checked::SquareRoot(-1e-300); },
                  ErrorKind::InvalidArgument},
        FaultCase{"Infinity",
                  [] { return checked::Finite(std::numeric_limits<double>::infinity()); },
                  ErrorKind::Overflow},
        FaultCase{"NaN", [] { return checked::Finite(std::nan("")); }, ErrorKind::InvalidArgument}),
    [](const auto& info) { return info.param.name; });

TEST(Checked, ValidOperationsGiveTheirPlainResult) {
    EXPECT_EQ(checked::Power(-2, 3), -8);
    EXPECT_EQ(checked::Power(0, 2.5), 0);
    EXPECT_EQ(checked::Multiply(1e-200, 1e-200), 0) << "underflow is not a fault";
    EXPECT_EQ(checked::SquareRoot(-0.0), 0);
    EXPECT_EQ(checked::Log(1), 0);
}

TEST(RunError, EachKindHasItsDescriptionAndNumber) {
    const struct {
        ErrorKind kind;
        std::string description;
        int number;
    } kinds[] = {
        {ErrorKind::TypeMismatch, "Type mismatch", 13},
        {ErrorKind::InvalidArgument, "Invalid argument", 5},
        {ErrorKind::DivisionByZero, "Division by zero", 11},
        {ErrorKind::Overflow, "Overflow", 6},
        {ErrorKind::MissingElement, "Missing element", 9},
    };
    for (const auto& expected : kinds) {
        const RunError error(expected.kind);
        EXPECT_EQ(error.what(), expected.description);
        EXPECT_EQ(error.number(), expected.number) << expected.description;
    }
}

}  // namespace
}  // namespace trolvane
