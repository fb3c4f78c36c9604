#include "timers/code_parts.h"

#include <fmt/format.h>

#include "timers/text.h"

namespace timers {
namespace {

std::vector<std::string> ClassicHeader(double frequency_mhz, double baud,
                                       const Outcome& outcome,
                                       std::string_view writer) {
  const Setting& s = *outcome.setting;
  const std::string hex = ReloadHex(outcome.reload, s.profile.modulus);
  return {fmt::format("UART mode 1 at {} baud, crystal {} MHz.",
                      ShortestText(baud), ShortestText(frequency_mhz)),
          fmt::format("{}, {} clock{} per machine cycle: {}.",
                      s.timer == 1
                          ? fmt::format("Timer 1 in mode 2, SMOD {}", s.smod)
                          : std::string("Timer 2 as baud-rate generator"),
                      s.clocks, s.clocks == 1 ? "" : "s",
                      s.timer == 1 ? fmt::format("TH1 = 0x{}", hex)
                                   : fmt::format("RCAP2 = 0x{}", hex)),
          fmt::format("Actual rate {:.2f} baud, error {}.", outcome.actual_baud,
                      PercentText(outcome.error_percent)),
          fmt::format("Written by {}.", writer)};
}

std::string RegisterWords(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  std::string text =
      fmt::format("{} 0x{}", s.generator->timer == 0 ? "register" : "reload",
                  ReloadHex(outcome.reload, s.profile.modulus));
  if (outcome.step >= 0) text += fmt::format(", STEP 0x{:02X}", outcome.step);
  return text;
}

std::vector<std::string> ChipHeader(double frequency_mhz, double baud,
                                    const Outcome& outcome,
                                    std::string_view writer) {
  const Setting& s = *outcome.setting;
  std::string smod;
  if (s.smod >= 0) smod = fmt::format(", SMOD {}", s.smod);
  return {fmt::format("UART mode 1 at {} baud, {} MHz, {}.", ShortestText(baud),
                      ShortestText(frequency_mhz), s.chip->family),
          fmt::format("{}, {} clock{} per count{}: {}.", s.generator->text,
                      s.clocks, s.clocks == 1 ? "" : "s", smod,
                      RegisterWords(outcome)),
          fmt::format("Actual rate {:.2f} baud, error {}.", outcome.actual_baud,
                      PercentText(outcome.error_percent)),
          fmt::format("After: {}.", s.chip->document),
          fmt::format("Written by {}.", writer)};
}

}  // namespace

std::vector<std::string> HeaderLines(double frequency_mhz, double baud,
                                     const Outcome& outcome,
                                     std::string_view writer) {
  if (outcome.setting->generator == nullptr) {
    return ClassicHeader(frequency_mhz, baud, outcome, writer);
  }
  return ChipHeader(frequency_mhz, baud, outcome, writer);
}

std::vector<std::string> ClockNoteLines(int clocks) {
  if (clocks == 6) {
    return {
        "Atmel AT89C51RD2/ED2-style parts: CKCON0 bit 0 (X2) runs the core at",
        "6 clocks per machine cycle, and the peripherals whose own CKCON0 bits",
        "stay 0 with it. NXP P89C51RD2/P89V51RD2-style parts choose 6 clocks "
        "by",
        "a programming option, set when the chip is programmed: leave CKCON0 "
        "out",
        "there."};
  }
  if (clocks == 1) {
    return {
        "STC12/STC15-style single-cycle parts: AUXR bit 6 (T1x12) clocks "
        "Timer 1",
        "at the crystal's rate instead of a twelfth of it."};
  }
  return {};
}

std::string CComment(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += (text.empty() ? "/* " : "\n * ") + line;
  }
  return text + " */\n";
}

int WriteValue(const Write& write, const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  int value = write.value;
  switch (write.source) {
    case Source::kReloadLow:
      value |= outcome.reload & 0xFF;
      break;
    case Source::kReloadHigh:
      value |= (outcome.reload >> 8) & 0xFF;
      break;
    case Source::kStep:
      value |= outcome.step & 0xFF;
      break;
    case Source::kFixed:
      break;
  }
  if (write.choice_slot >= 0) {
    value |= s.generator->choice_bits[2 * s.choice + write.choice_slot];
  }
  if (s.smod == 1) value |= write.smod_bits;
  return value & write.mask;
}

}  // namespace timers
