#include "timers/text.h"

#include <fmt/format.h>

#include <cmath>

namespace timers {

std::string ReloadHex(int reload, double modulus) {
  return fmt::format("{:0{}X}", reload, modulus > 256.0 ? 4 : 2);
}

std::string NumberText(double value) { return fmt::format("{}", value); }

std::string PercentText(double value) {
  if (std::fabs(value) < 0.005) return "0.00 %";
  return fmt::format("{:+.2f} %", value);
}

}  // namespace timers
