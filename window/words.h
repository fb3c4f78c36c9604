#pragma once
// What the window says in words: its error messages and the tooltips behind
// the four results. Shared by every toolkit layer that shows the window.

#include <string>
#include <string_view>

#include "calc/reload.h"
#include "calc/runtime_error.h"

namespace window {

// The message a user reads for a run-time error.
//   ErrorMessage(calc::ErrorKind::kDivisionByZero) -> "除数为零"
//   ErrorMessage(calc::ErrorKind::kOverflow)       -> "溢出"
std::string_view ErrorMessage(calc::ErrorKind kind) noexcept;

// For a failure that is no run-time error of the calculation.
inline constexpr char kUnknownError[] = "未知错误";

// Shown when the rounded constant does not fit the timer, so no baud rate
// comes of it.
inline constexpr char kOutOfTimerRange[] = "超出定时器范围";

// What the page's drop-down button of a combo box says it does; a reader
// hears it with the field's heading: "打开列表 波特率".
inline constexpr char kOpenList[] = "打开列表";

// The tooltip of a constant: the baud rate it really gives and its signed
// error, both to two decimals.
//   ConstantHint({254, true, 14400, -25})  -> "实际波特率 14400.00，误差
//   -25.00%" ConstantHint({253, true, 10416.66.., 8.50..})
//                                          -> "实际波特率 10416.67，误差
//                                          +8.51%"
//   ConstantHint({-15, false, 0, 0})       -> "超出定时器范围"
std::string ConstantHint(const calc::ActualRate& rate);

// The tooltip of an error: its whole value, as NumberText writes it, and "%".
//   ErrorHint(7.840000000000004) -> " 7.84 %"
//   ErrorHint(0)                 -> " 0 %"
std::string ErrorHint(double error_percent);

}  // namespace window
