#include "window/words.h"

#include "calc/conversions.h"

namespace window {
namespace {

std::string TwoDecimals(double value, bool signed_text) {
  std::string text = calc::Printed(value, 'f', 2);
  if (text == "-0.00") text = "0.00";  // no sign on what rounds to nothing
  if (signed_text && text != "0.00" && text.front() != '-') text.insert(0, "+");
  return text;
}

}  // namespace

std::string_view ErrorMessage(calc::ErrorKind kind) noexcept {
  return kind == calc::ErrorKind::kDivisionByZero ? "除数为零" : "溢出";
}

std::string ConstantHint(const calc::ActualRate& rate) {
  if (!rate.fits) return kOutOfTimerRange;
  return "实际波特率 " + TwoDecimals(rate.baud, false) + "，误差 " +
         TwoDecimals(rate.error_percent, true) + "%";
}

std::string ErrorHint(double error_percent) {
  return calc::NumberText(error_percent) + " %";
}

}  // namespace window
