#include <fmt/format.h>

#include <algorithm>

#include "timers/catalogue.h"
#include "timers/init_code.h"
#include "timers/text.h"

namespace timers {
namespace {

// The bits one write puts into its register.
int ValueOf(const Write& write, const Outcome& outcome) {
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

// "    AUXR |= 0x40;" padded for its comment, as the classic code is laid.
std::string Statement(const Write& write, int value) {
  std::string text;
  const int keep = ~write.mask & 0xFF;
  if (!write.bit.empty()) {
    text = fmt::format("{} = 1;", write.bit);
  } else if (write.mask == 0xFF) {
    text = fmt::format("{} = 0x{:02X};", write.reg, value);
  } else if (value == write.mask) {
    text = fmt::format("{} |= 0x{:02X};", write.reg, value);
  } else if (value == 0) {
    text = fmt::format("{} &= 0x{:02X};", write.reg, keep);
  } else {
    text = fmt::format("{0} = ({0} & 0x{1:02X}) | 0x{2:02X};", write.reg, keep,
                       value);
  }
  if (write.comment.empty()) return fmt::format("    {}\n", text);
  return fmt::format("    {:<28} /* {} */\n", text, write.comment);
}

// Declarations, for both compilers, of the registers this code uses that
// the base headers lack.
std::string Declarations(const Setting& s) {
  std::vector<std::string_view> done;
  std::string code;
  for (const Write& write : s.generator->writes) {
    if (std::find(done.begin(), done.end(), write.reg) != done.end()) continue;
    done.push_back(write.reg);
    for (const Sfr& sfr : s.chip->sfrs) {
      if (sfr.name != write.reg) continue;
      code += fmt::format(
          "#ifdef __SDCC\n__sfr __at(0x{0:02X}) {1};\n#else\n"
          "sfr {1} = 0x{0:02X};\n#endif\n",
          sfr.address, sfr.name);
    }
  }
  return code;
}

std::string ReloadText(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  std::string text =
      fmt::format("{} 0x{}", s.generator->timer == 0 ? "register" : "reload",
                  ReloadHex(outcome.reload, s.profile.modulus));
  if (outcome.step >= 0) text += fmt::format(", STEP 0x{:02X}", outcome.step);
  return text;
}

}  // namespace

std::vector<RegisterValue> RegisterValues(const Outcome& outcome) {
  std::vector<RegisterValue> values;
  const Setting& s = *outcome.setting;
  if (s.generator == nullptr) return values;
  for (const Write& write : s.generator->writes) {
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const auto& v) { return v.name == write.reg; });
    if (it == values.end()) {
      values.push_back({write.reg, 0});
      it = values.end() - 1;
    }
    it->value = (it->value & ~write.mask & 0xFF) | ValueOf(write, outcome);
  }
  return values;
}

std::string ChipInitCode(double frequency_mhz, double baud,
                         const Outcome& outcome, std::string_view writer) {
  const Setting& s = *outcome.setting;
  std::string smod;
  if (s.smod >= 0) smod = fmt::format(", SMOD {}", s.smod);
  std::string code = fmt::format(
      "/* UART mode 1 at {} baud, {} MHz, {}.\n"
      " * {}, {} clock{} per count{}: {}.\n"
      " * Actual rate {:.2f} baud, error {}.\n"
      " * After: {}.\n"
      " * Written by {}. */\n"
      "#ifdef __SDCC\n#include <8052.h>\n#else\n"
      "#include <reg52.h> /* Keil C51 */\n#endif\n",
      NumberText(baud), NumberText(frequency_mhz), s.chip->family,
      s.generator->text, s.clocks, s.clocks == 1 ? "" : "s", smod,
      ReloadText(outcome), outcome.actual_baud,
      PercentText(outcome.error_percent), s.chip->document, writer);
  const std::string declarations = Declarations(s);
  if (!declarations.empty()) code += "\n" + declarations;
  code += "\nvoid uart_init(void)\n{\n";
  for (const Write& write : s.generator->writes) {
    code += Statement(write, ValueOf(write, outcome));
  }
  return code + "}\n";
}

}  // namespace timers
