#pragma once
// The reload constant and error of an 8051 baud-rate timer.

#include <string>
#include <string_view>

namespace calc {

// The two constants that tell the timers apart.
struct TimerProfile {
  double clock_divisor;  // K: oscillator clocks per baud-rate tick
  double modulus;        // R: the timer counts up to R and reloads
};

inline constexpr TimerProfile kTimer1{384.0, 256.0};
inline constexpr TimerProfile kTimer2{32.0, 65536.0};

// The percentage error above which a result is shown in the warning colour.
inline constexpr double kWarningErrorPercent = 0.2;

struct TimerReload {
  double Divisor;       // f * 1000000 / K / b, the ideal divisor
  double ErrorPercent;  // the fraction a whole divisor drops, in percent
  double Reload;        // R - Divisor, not rounded
  bool Warning;         // ErrorPercent > 0.2, strictly
};

// One timer's result for crystal `frequency_mhz` and `baud`, every operation
// in IEEE double precision and checked: a non-zero value divided by zero
// throws RuntimeError(kDivisionByZero); an infinite or NaN result (including
// 0/0) throws RuntimeError(kOverflow).
//   ComputeTimerReload(11.0592, 9600, kTimer1)  -> {3, 0, 253, false}
//   ComputeTimerReload(11.0592, 19200, kTimer1) -> {1.5, 33.33.., 254.5, true}
//   ComputeTimerReload(12, 0, kTimer1)          -> throws division by zero
TimerReload ComputeTimerReload(double frequency_mhz, double baud,
                               const TimerProfile& timer);

// What the window shows for one timer.
struct TimerTexts {
  std::string constant;  // ReloadText(Reload)
  std::string error;     // ErrorText(ErrorPercent)
  bool warning;
};

// Reads both texts with ReadNumber (baud first, as the window does) and
// renders one timer's result; throws as ComputeTimerReload and HexText do.
//   CalculateTimerTexts("12", "9600", kTimer1) -> {"FD", " 7.8", true}
//   CalculateTimerTexts("12", "9600", kTimer2) -> {"FFD9", " .16", false}
TimerTexts CalculateTimerTexts(std::string_view frequency_text,
                               std::string_view baud_text,
                               const TimerProfile& timer);

}  // namespace calc
