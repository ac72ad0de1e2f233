// Checked arithmetic for the statistics: each operation raises a RunError of the
// matching kind at the operation itself, so no infinity or NaN is ever carried on.
#pragma once

namespace trolvane::checked {

// Raises Overflow for an infinity and InvalidArgument for a NaN; gives back a finite value.
double Finite(double value);
double Add(double a, double b);
double Subtract(double a, double b);
double Multiply(double a, double b);
double Divide(double dividend, double divisor);
double Power(double base, double exponent);
double Log(double x);
double SquareRoot(double x);

}  // namespace trolvane::checked
