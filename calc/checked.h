#pragma once
// IEEE double operations checked one by one, as every number of the
// calculation is: an infinite result is an overflow, NaN an invalid
// operation, both RuntimeError(kOverflow); a non-zero value divided by zero
// is RuntimeError(kDivisionByZero).

namespace calc {

//   Checked(1.5) -> 1.5;  Checked(inf) -> throws kOverflow
double Checked(double result);

//   Multiply(3, 4) -> 12;  Multiply(1e308, 10) -> throws kOverflow
double Multiply(double a, double b);

//   Subtract(256, 3) -> 253;  Subtract(inf, inf) -> throws kOverflow
double Subtract(double a, double b);

//   Divide(12, 4) -> 3;  Divide(1, 0) -> throws kDivisionByZero;
//   Divide(0, 0) -> throws kOverflow (an invalid operation)
double Divide(double dividend, double divisor);

}  // namespace calc
