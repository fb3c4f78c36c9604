#include "calc/reload.h"

#include <cmath>

#include "calc/checked.h"
#include "calc/conversions.h"
#include "calc/runtime_error.h"

namespace calc {
namespace {

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

ActualRate ActualRateOf(double frequency_mhz, double baud,
                        const TimerProfile& timer, double reload) {
  ActualRate rate{RoundHalfEven(reload), false, 0.0, 0.0};
  if (!(rate.constant >= 0.0 && rate.constant <= timer.modulus - 1.0)) {
    return rate;
  }
  try {
    const double ticks =
        Multiply(timer.clock_divisor, Subtract(timer.modulus, rate.constant));
    const double actual =
        Divide(Multiply(frequency_mhz, kHertzPerMegahertz), ticks);
    rate.error_percent =
        Multiply(Divide(Subtract(actual, baud), baud), kPercent);
    rate.baud = actual;
    rate.fits = true;
  } catch (const RuntimeError&) {
    rate.error_percent = 0.0;  // a rate that cannot be reached has no error
  }
  return rate;
}

TimerResult CalculateTimer(std::string_view frequency_text,
                           std::string_view baud_text,
                           const TimerProfile& timer) {
  TimerResult result{};
  result.baud = ReadNumber(baud_text);
  result.frequency = ReadNumber(frequency_text);
  result.reload = ComputeTimerReload(result.frequency, result.baud, timer);
  result.constant = ReloadText(result.reload.Reload);
  result.error = ErrorText(result.reload.ErrorPercent);
  result.actual =
      ActualRateOf(result.frequency, result.baud, timer, result.reload.Reload);
  return result;
}

}  // namespace calc
