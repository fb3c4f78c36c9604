#include "timers/working.h"

#include <fmt/format.h>

#include <cmath>
#include <string_view>

#include "timers/catalogue.h"
#include "timers/text.h"

namespace mcs51 {
namespace {

// The register the reload goes into, from the record's writes: "TH1",
// "RCAP2" (RCAP2H and RCAP2L), "RH3:RL3".
std::string ReloadRegister(const BaudMode& generator) {
  std::string_view high, low;
  for (const Write& write : generator.writes) {
    if (write.source == Source::kReloadHigh && high.empty()) high = write.reg;
    if (write.source == Source::kReloadLow && low.empty()) low = write.reg;
  }
  if (high.empty()) return std::string(low);
  if (high.size() == low.size() && high.back() == 'H' && low.back() == 'L' &&
      high.substr(0, high.size() - 1) == low.substr(0, low.size() - 1)) {
    return std::string(high.substr(0, high.size() - 1));
  }
  return fmt::format("{}:{}", high, low);
}

// A value shown as computed, with two decimals where it is not whole.
std::string Number(double value) {
  if (value == std::nearbyint(value) && std::fabs(value) < 1e15) {
    return fmt::format("{:.0f}", value);
  }
  return fmt::format("{:.2f}", value);
}

}  // namespace

Working WorkingOf(const Outcome& outcome, double frequency_mhz, double baud) {
  const Setting& s = *outcome.setting;
  const BaudMode& a = *s.generator;
  const std::size_t i = static_cast<std::size_t>(s.choice);
  const struct {
    int clocks;
    double k;
  } choice{s.unit->clocks[i].clocks, a.k[i]};
  const double hertz = frequency_mhz * 1e6;
  const std::string f = fmt::format("{:.10g}", hertz);
  const std::string b = ShortestText(baud);
  // "32 × 12": the UART's own divider, then the clocks per count, where K
  // is their product; Timer 2's K (32 at 12 clocks, 16 at 6) is not.
  const double uart = choice.k / choice.clocks;
  const std::string k =
      choice.clocks > 1 && uart == std::nearbyint(uart)
          ? fmt::format("{} × {}", ShortestText(uart), choice.clocks)
          : ShortestText(choice.k);
  const std::string twice = s.smod >= 0 ? fmt::format(" × 2^{}", s.smod) : "";
  const double doubled = s.smod == 1 ? 2.0 : 1.0;
  const std::string reg = ReloadRegister(*s.generator);
  const std::string hex = ReloadHex(outcome.reload, a.modulus);
  const std::string r = ShortestText(a.modulus);
  const double divisor = hertz * doubled / (choice.k * baud);
  Working working;
  switch (a.counting) {
    case Counting::kUp: {
      const double ideal = a.modulus - divisor;
      const std::string rounded =
          ideal == outcome.reload ? "" : fmt::format(" → {}", outcome.reload);
      working.reload =
          fmt::format("{} = {} − {}{} / ({} × {}) = {}{} = 0x{}", reg, r, f,
                      twice, k, b, Number(ideal), rounded, hex);
      working.actual = fmt::format("{}{} / ({} × ({} − {})) = {:.2f}", f, twice,
                                   k, r, outcome.reload, outcome.actual_baud);
      break;
    }
    case Counting::kDivisorMinusOne: {
      const double ideal = divisor - 1.0;
      const std::string rounded =
          ideal == outcome.reload ? "" : fmt::format(" → {}", outcome.reload);
      working.reload =
          fmt::format("{} = {}{} / ({} × {}) − 1 = {}{} = 0x{}", reg, f, twice,
                      k, b, Number(ideal), rounded, hex);
      working.actual = fmt::format("{}{} / ({} × ({} + 1)) = {:.2f}", f, twice,
                                   k, outcome.reload, outcome.actual_baud);
      break;
    }
    case Counting::kFractional:
      working.reload =
          fmt::format("{} = {} = 0x{:02X}, {} = {} = 0x{}", a.step_name,
                      outcome.step, outcome.step, reg, outcome.reload, hex);
      working.actual =
          fmt::format("{} × {} / 256 / ({} × ({} + 1)) = {:.2f}", f,
                      outcome.step, k, outcome.reload, outcome.actual_baud);
      break;
    case Counting::kOffset: {
      const double ideal = hertz / (choice.k * baud) - a.offset;
      const std::string rounded =
          ideal == outcome.reload ? "" : fmt::format(" → {}", outcome.reload);
      working.reload =
          fmt::format("{} = {} / ({} × {}) − {} = {}{} = 0x{}", reg, f, k, b,
                      a.offset, Number(ideal), rounded, hex);
      working.actual =
          fmt::format("{} / ({} × ({} + {})) = {:.2f}", f, k, outcome.reload,
                      a.offset, outcome.actual_baud);
      break;
    }
    case Counting::kMantissaExponent:
      working.reload = fmt::format("{} = {}, {} = {} = 0x{}", a.step_name,
                                   outcome.step, reg, outcome.reload, hex);
      working.actual =
          fmt::format("{} × (256 + {}) × 2^{} / 2^28 = {:.2f}", f,
                      outcome.reload, outcome.step, outcome.actual_baud);
      break;
  }
  working.error = fmt::format("({:.2f} − {}) / {} = {}", outcome.actual_baud, b,
                              b, PercentText(outcome.error_percent));
  return working;
}

}  // namespace mcs51
