#include "mcs51/settings/working.h"

#include <fmt/format.h>

#include <cmath>
#include <string_view>

#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/text.h"

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
  const Formulas formulas =
      a.kind->working({.reg = ReloadRegister(*s.generator),
                       .f = f,
                       .b = b,
                       .k = k,
                       .twice = twice,
                       .r = ShortestText(a.modulus),
                       .hex = ReloadHex(outcome.reload, a.modulus),
                       .divisor = hertz * doubled / (choice.k * baud),
                       .modulus = a.modulus,
                       .offset = a.offset,
                       .step_name = a.step_name,
                       .reload = outcome.reload,
                       .step = outcome.step,
                       .actual = outcome.actual_baud});
  Working working{formulas.reload, formulas.actual, {}};
  working.error = fmt::format("({:.2f} − {}) / {} = {}", outcome.actual_baud, b,
                              b, PercentText(outcome.error_percent));
  return working;
}

}  // namespace mcs51
