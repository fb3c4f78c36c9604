#include "calc/reload.h"

#include <cmath>

#include "calc/conversions.h"
#include "calc/runtime_error.h"

namespace calc {
namespace {

// Each operation is checked on its own result, which for finite operands is
// exactly the IEEE exception: an infinite result is an overflow, NaN an
// invalid operation. Infinite operands (ReadNumber of a huge text) never
// reach a division: the first multiplication already fails on them.
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

constexpr double kHertzPerMegahertz = 1000000.0;
constexpr double kPercent = 100.0;

}  // namespace

TimerReload ComputeTimerReload(double frequency_mhz, double baud,
                               const TimerProfile& timer) {
  TimerReload result{};
  const double hertz = Multiply(frequency_mhz, kHertzPerMegahertz);
  result.Divisor = Divide(Divide(hertz, timer.clock_divisor), baud);
  const double dropped =
      Subtract(result.Divisor, Checked(std::floor(result.Divisor)));
  result.ErrorPercent = Multiply(Divide(dropped, result.Divisor), kPercent);
  result.Reload = Subtract(timer.modulus, result.Divisor);
  result.Warning = result.ErrorPercent > kWarningErrorPercent;
  return result;
}

TimerTexts CalculateTimerTexts(std::string_view frequency_text,
                               std::string_view baud_text,
                               const TimerProfile& timer) {
  const double baud = ReadNumber(baud_text);
  const double frequency = ReadNumber(frequency_text);
  const TimerReload reload = ComputeTimerReload(frequency, baud, timer);
  return {ReloadText(reload.Reload), ErrorText(reload.ErrorPercent),
          reload.Warning};
}

}  // namespace calc
