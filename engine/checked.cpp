#include "engine/checked.h"

#include <cmath>

#include "engine/run_error.h"

namespace trolvane::checked {
namespace {

bool IsWhole(double x) {
    return std::trunc(x) == x;
}

}  // namespace

// Every result passes through here: one outside the double range is an overflow.
double Finite(double value) {
    if (std::isnan(value)) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    if (std::isinf(value)) {
        throw RunError(ErrorKind::Overflow);
    }
    return value;
}

double Add(double a, double b) {
    return Finite(a + b);
}

double Subtract(double a, double b) {
    return Finite(a - b);
}

double Multiply(double a, double b) {
    return Finite(a * b);
}

double Divide(double dividend, double divisor) {
    if (divisor == 0) {
        throw RunError(ErrorKind::DivisionByZero);
    }
    return Finite(dividend / divisor);
}

double Power(double base, double exponent) {
    if (base < 0 && !IsWhole(exponent)) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    if (base == 0 && exponent < 0) {
        throw RunError(ErrorKind::DivisionByZero);
    }
    return Finite(std::pow(base, exponent));
}

double Log(double x) {
    if (x <= 0) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    return Finite(std::log(x));
}

double SquareRoot(double x) {
    if (x < 0) {
        throw RunError(ErrorKind::InvalidArgument);
    }
    return std::sqrt(x);
}

}  // namespace trolvane::checked
