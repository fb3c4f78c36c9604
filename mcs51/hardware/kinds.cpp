#include "mcs51/hardware/kinds.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "calc/checked.h"
#include "calc/runtime_error.h"
#include "mcs51/hardware/model.h"

namespace mcs51 {
namespace {

constexpr int kStepHigh = 255;           // a fractional divider's STEP
constexpr int kExponentHigh = 31;        // BAUD_E's five bits
constexpr double kScale = 268435456.0;   // 2^28
constexpr double kFastest = 16777216.0;  // 2^24: the UART takes f/16
constexpr double kMantissaBase = 256.0;  // m = 256 + M

// A value shown as computed, with two decimals where it is not whole.
std::string Number(double value) {
  if (value == std::nearbyint(value) && std::fabs(value) < 1e15) {
    return fmt::format("{:.0f}", value);
  }
  return fmt::format("{:.2f}", value);
}

// " → 253" where rounding moved the ideal value.
std::string Rounded(double ideal, int reload) {
  return ideal == reload ? "" : fmt::format(" → {}", reload);
}

double Finite(double baud) {
  return std::isfinite(baud) && baud > 0.0 ? baud : 0.0;
}

// ---- Up from the reload to R: the 8051's timers ----

Reach ReachUp(const BaudMode&, const calc::TimerProfile& profile,
              double frequency_mhz, double baud) {
  double reload = 0.0;
  try {
    reload = calc::ComputeTimerReload(frequency_mhz, baud, profile).Reload;
  } catch (const calc::RuntimeError&) {
    return {};  // a rate the arithmetic cannot carry is out of reach
  }
  const calc::ActualRate rate =
      calc::ActualRateOf(frequency_mhz, baud, profile, reload);
  if (!rate.fits) return {};
  return {true, static_cast<int>(rate.constant), -1, rate.baud};
}

double RateUp(const BaudMode&, const calc::TimerProfile& profile, double hertz,
              int reload, int) {
  return Finite(hertz / (profile.clock_divisor * (profile.modulus - reload)));
}

Formulas WorkingUp(const Terms& t) {
  const double ideal = t.modulus - t.divisor;
  return {fmt::format("{} = {} − {}{} / ({} × {}) = {}{} = 0x{}", t.reg, t.r,
                      t.f, t.twice, t.k, t.b, Number(ideal),
                      Rounded(ideal, t.reload), t.hex),
          fmt::format("{}{} / ({} × ({} − {})) = {:.2f}", t.f, t.twice, t.k,
                      t.r, t.reload, t.actual)};
}

int RegisterUp(double modulus, int count) {
  return static_cast<int>(modulus) - count;
}
double MostUp(double modulus) { return modulus - 1; }

// ---- A down-counter or modulo counter holding the divisor less one ----

int RegisterLessOne(double, int count) { return count - 1; }
int CountLessOne(double, int value) { return value + 1; }
double MostLessOne(double modulus) { return modulus; }

// The up-counter's rounding, then its count written less one.
Reach ReachLessOne(const BaudMode& mode, const calc::TimerProfile& profile,
                   double frequency_mhz, double baud) {
  Reach reach = ReachUp(mode, profile, frequency_mhz, baud);
  if (reach.fits) {
    reach.reload = RegisterLessOne(profile.modulus,
                                   RegisterUp(profile.modulus, reach.reload));
  }
  return reach;
}

double RateLessOne(const BaudMode&, const calc::TimerProfile& profile,
                   double hertz, int reload, int) {
  return Finite(
      hertz / (profile.clock_divisor * CountLessOne(profile.modulus, reload)));
}

Formulas WorkingLessOne(const Terms& t) {
  const double ideal = t.divisor - 1.0;
  return {fmt::format("{} = {}{} / ({} × {}) − 1 = {}{} = 0x{}", t.reg, t.f,
                      t.twice, t.k, t.b, Number(ideal),
                      Rounded(ideal, t.reload), t.hex),
          fmt::format("{}{} / ({} × ({} + 1)) = {:.2f}", t.f, t.twice, t.k,
                      t.reload, t.actual)};
}

// ---- The same behind a fractional divider ----

// baud = f * STEP / (256 * K * n), n = BR_VALUE + 1 in 1 ... R, STEP in
// 1 ... 255: for each n the nearest STEP, and of those the one whose
// STEP / n is relatively nearest the ideal (ties to the larger n, whose
// STEP is finest); its rate is then worked out like every other.
Reach ReachFractional(const BaudMode&, const calc::TimerProfile& profile,
                      double frequency_mhz, double baud) {
  const double k = calc::Multiply(256.0, profile.clock_divisor);
  try {
    const double hertz = calc::Multiply(frequency_mhz, 1e6);
    const double ratio = calc::Divide(calc::Multiply(k, baud), hertz);
    // Above 255.5 / ratio every STEP is beyond 255.
    const double top =
        std::min(profile.modulus, std::floor((kStepHigh + 0.5) / ratio));
    double best_n = 0.0, best_step = 0.0, best_miss = 0.0;
    for (double n = top; n >= 1.0; n -= 1.0) {
      const double ideal = calc::Multiply(ratio, n);
      const double step = std::nearbyint(ideal);
      if (step < 1.0) break;  // smaller n only lower it
      const double miss = std::fabs(step - ideal) / ideal;
      if (best_n == 0.0 || miss < best_miss) {
        best_n = n, best_step = step, best_miss = miss;
      }
    }
    if (best_n == 0.0) return {};
    const double actual = calc::Divide(calc::Multiply(hertz, best_step),
                                       calc::Multiply(k, best_n));
    return {true, static_cast<int>(best_n) - 1, static_cast<int>(best_step),
            actual};
  } catch (const calc::RuntimeError&) {
    return {};
  }
}

double RateFractional(const BaudMode&, const calc::TimerProfile& profile,
                      double hertz, int reload, int step) {
  if (step < 1 || step > kStepHigh) return 0.0;
  return Finite(hertz * step / (256.0 * profile.clock_divisor * (reload + 1)));
}

Formulas WorkingFractional(const Terms& t) {
  return {fmt::format("{} = {} = 0x{:02X}, {} = {} = 0x{}", t.step_name, t.step,
                      t.step, t.reg, t.reload, t.hex),
          fmt::format("{} × {} / 256 / ({} × ({} + 1)) = {:.2f}", t.f, t.step,
                      t.k, t.reload, t.actual)};
}

// ---- The divisor less a fixed offset ----

// baud = f / (K * n), the register holding n - offset: the ideal n rounded
// half to even, as a reload is.
Reach ReachOffset(const BaudMode& mode, const calc::TimerProfile& profile,
                  double frequency_mhz, double baud) {
  try {
    const double hertz = calc::Multiply(frequency_mhz, 1e6);
    const double k = profile.clock_divisor;
    const double n =
        std::nearbyint(calc::Divide(hertz, calc::Multiply(k, baud)));
    const double reload = n - mode.offset;
    if (n < 1.0 || reload < 0.0 || reload > profile.modulus - 1.0) return {};
    const double actual = calc::Divide(hertz, calc::Multiply(k, n));
    return {true, static_cast<int>(reload), -1, actual};
  } catch (const calc::RuntimeError&) {
    return {};
  }
}

double RateOffset(const BaudMode& mode, const calc::TimerProfile& profile,
                  double hertz, int reload, int) {
  return Finite(hertz / (profile.clock_divisor * (reload + mode.offset)));
}

Formulas WorkingOffset(const Terms& t) {
  const double ideal = t.divisor - t.offset;
  return {fmt::format("{} = {} / ({} × {}) − {} = {}{} = 0x{}", t.reg, t.f, t.k,
                      t.b, t.offset, Number(ideal), Rounded(ideal, t.reload),
                      t.hex),
          fmt::format("{} / ({} × ({} + {})) = {:.2f}", t.f, t.k, t.reload,
                      t.offset, t.actual)};
}

// ---- A mantissa and an exponent ----

// baud = f * m * 2^E / 2^28 with m = 256 + M: the smallest E whose rounded
// m stays below 512, so that M is finest, and no faster than f/16.
Reach ReachMantissaExponent(const BaudMode&, const calc::TimerProfile&,
                            double frequency_mhz, double baud) {
  try {
    const double hertz = calc::Multiply(frequency_mhz, 1e6);
    const double x = calc::Divide(calc::Multiply(baud, kScale), hertz);
    double power = 1.0, m = std::nearbyint(x);
    int exponent = 0;
    for (; m >= 2 * kMantissaBase; ++exponent) {
      power *= 2.0;
      m = std::nearbyint(x / power);
    }
    if (m < kMantissaBase || m * power > kFastest) return {};
    const double actual =
        calc::Divide(calc::Multiply(hertz, calc::Multiply(m, power)), kScale);
    return {true, static_cast<int>(m - kMantissaBase), exponent, actual};
  } catch (const calc::RuntimeError&) {
    return {};
  }
}

double RateMantissaExponent(const BaudMode&, const calc::TimerProfile&,
                            double hertz, int reload, int step) {
  if (step < 0 || step > kExponentHigh) return 0.0;
  return Finite(hertz * (kMantissaBase + reload) * std::ldexp(1.0, step) /
                kScale);
}

Formulas WorkingMantissaExponent(const Terms& t) {
  return {fmt::format("{} = {}, {} = {} = 0x{}", t.step_name, t.step, t.reg,
                      t.reload, t.hex),
          fmt::format("{} × (256 + {}) × 2^{} / 2^28 = {:.2f}", t.f, t.reload,
                      t.step, t.actual)};
}

}  // namespace

namespace kinds {

const Kind kUp{"up",        &ReachUp,    &RateUp, &WorkingUp,
               &RegisterUp, &RegisterUp, &MostUp};
const Kind kDivisorMinusOne{"divisor-1",     &ReachLessOne,    &RateLessOne,
                            &WorkingLessOne, &RegisterLessOne, &CountLessOne,
                            &MostLessOne};
const Kind kFractional{
    "fractional",     &ReachFractional, &RateFractional, &WorkingFractional,
    &RegisterLessOne, &CountLessOne,    &MostLessOne,    1,
    kStepHigh};
// Neither counts a tick: their count functions are the divisor's.
const Kind kOffset{"offset",         &ReachOffset,  &RateOffset, &WorkingOffset,
                   &RegisterLessOne, &CountLessOne, &MostLessOne};
const Kind kMantissaExponent{"mantissa-exponent",   &ReachMantissaExponent,
                             &RateMantissaExponent, &WorkingMantissaExponent,
                             &RegisterLessOne,      &CountLessOne,
                             &MostLessOne,          0,
                             kExponentHigh};

}  // namespace kinds

}  // namespace mcs51
