#pragma once
// Longer texts behind the four-character results, for tooltips: what the
// rounded constant really gives, and the error before it was cut.

#include <string>

#include "calc/reload.h"

namespace calc {

// Shown when the rounded constant does not fit the timer (below 0 or
// above R - 1), so no baud rate can come of it.
inline constexpr char kOutOfTimerRange[] = "超出定时器范围";

// The baud rate that the constant shown for `reload` (rounded as HexText
// rounds) gives at `frequency_mhz`, and its signed error against `baud`, both
// to two decimals. The three numbers are those of a calculation that
// succeeded, so the arithmetic here cannot fail.
//   ConstantHint(11.0592, 19200, kTimer1, 254.5) -> "实际波特率 14400.00，误差
//   -25.00%" ConstantHint(12, 9600, kTimer1, 252.74479166666666)
//                                         -> "实际波特率 10416.67，误差 +8.51%"
//   ConstantHint(1000, 9600, kTimer1, -15.27) -> "超出定时器范围"
std::string ConstantHint(double frequency_mhz, double baud,
                         const TimerProfile& timer, double reload);

// The whole error value, as NumberText writes it, then " %".
//   ErrorHint(7.840000000000004) -> " 7.84 %"
//   ErrorHint(0)                 -> " 0 %"
std::string ErrorHint(double error_percent);

}  // namespace calc
