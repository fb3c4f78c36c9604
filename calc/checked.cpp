#include "calc/checked.h"

#include <cmath>

#include "calc/runtime_error.h"

namespace calc {

// Each operation is checked on its own result, which for finite operands is
// exactly the IEEE exception: an infinite result is an overflow, NaN an
// invalid operation. Of the infinite inputs (ReadNumber of a huge text), a
// frequency fails at the first multiplication; a baud rate divides to a zero
// divisor, whose error is then 0/0 and fails as an invalid operation.
double Checked(double result) {
  if (!std::isfinite(result)) throw RuntimeError(ErrorKind::kOverflow);
  return result;
}

double Multiply(double a, double b) { return Checked(a * b); }
double Subtract(double a, double b) { return Checked(a - b); }

double Divide(double dividend, double divisor) {
  if (divisor == 0.0) {
    // 0/0 is an invalid operation, not a division by zero.
    throw RuntimeError(dividend == 0.0 || std::isnan(dividend)
                           ? ErrorKind::kOverflow
                           : ErrorKind::kDivisionByZero);
  }
  return Checked(dividend / divisor);
}

}  // namespace calc
