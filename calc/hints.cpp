#include "calc/hints.h"

#include <array>
#include <charconv>

#include "calc/conversions.h"

namespace calc {
namespace {

std::string TwoDecimals(double value, bool signed_text) {
  std::array<char, 400> buffer{};  // room for any finite double in fixed form
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                    std::chars_format::fixed, 2);
  std::string text(buffer.data(), end);
  if (text == "-0.00") text = "0.00";  // no sign on what rounds to nothing
  if (signed_text && text != "0.00" && text.front() != '-') text.insert(0, "+");
  return text;
}

}  // namespace

std::string ConstantHint(double frequency_mhz, double baud,
                         const TimerProfile& timer, double reload) {
  const double shown = RoundHalfEven(reload);
  if (!(shown >= 0.0 && shown <= timer.modulus - 1.0)) return kOutOfTimerRange;
  const double actual = frequency_mhz * 1000000.0 /
                        (timer.clock_divisor * (timer.modulus - shown));
  const double error_percent = (actual - baud) / baud * 100.0;
  return "实际波特率 " + TwoDecimals(actual, false) + "，误差 " +
         TwoDecimals(error_percent, true) + "%";
}

std::string ErrorHint(double error_percent) {
  return NumberText(error_percent) + " %";
}

}  // namespace calc
