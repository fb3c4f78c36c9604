#pragma once
// The reload constant and error of an 8051 baud-rate timer, and what a
// rounded constant really gives. Numbers only: the front ends word them.

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

// What the constant loaded into the timer really gives.
struct ActualRate {
  double constant;       // the reload rounded half to even, as HexText does
  bool fits;             // 0 <= constant <= R - 1 and the arithmetic stayed
                         // finite; baud and error_percent are 0 otherwise
  double baud;           // f * 1000000 / (K * (R - constant))
  double error_percent;  // (baud - requested) / requested * 100, signed
};

// The baud rate that `reload`, rounded, gives at `frequency_mhz`, and its
// signed error against `baud`. Never throws: a constant outside the timer,
// or arithmetic that overflows, is reported as not fitting.
//   ActualRateOf(11.0592, 19200, kTimer1, 254.5) -> {254, true, 14400, -25}
//   ActualRateOf(12, 9600, kTimer2, 65497) -> {65497, true, 9615.4, 0.16}
//   ActualRateOf(1000, 9600, kTimer1, -15.27)    -> {-15, false, 0, 0}
ActualRate ActualRateOf(double frequency_mhz, double baud,
                        const TimerProfile& timer, double reload);

// Everything the window shows for one timer, from its two field texts.
struct TimerResult {
  double frequency;  // ReadNumber of the frequency text, in MHz
  double baud;       // ReadNumber of the baud text
  TimerReload reload;
  std::string constant;  // ReloadText(reload.Reload)
  std::string error;     // ErrorText(reload.ErrorPercent)
  ActualRate actual;     // of reload.Reload
};

// Reads both texts with ReadNumber (baud first, as the window does), then
// calculates and renders one timer. Throws as ComputeTimerReload and HexText
// do, before anything of the timer could be shown.
//   CalculateTimer("12", "9600", kTimer1) -> {.., "FD", " 7.8", warning}
//   CalculateTimer("12", "9600", kTimer2) -> {.., "FFD9", " .16", no warning}
//   CalculateTimer("12", "0", kTimer1)    -> throws division by zero
TimerResult CalculateTimer(std::string_view frequency_text,
                           std::string_view baud_text,
                           const TimerProfile& timer);

}  // namespace calc
