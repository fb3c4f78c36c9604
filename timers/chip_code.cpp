#include <fmt/format.h>

#include <algorithm>

#include "timers/code_parts.h"
#include "timers/init_code.h"
#include "timers/text.h"

namespace timers {
namespace {

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
    it->value = (it->value & ~write.mask & 0xFF) | WriteValue(write, outcome);
  }
  return values;
}

std::string ChipInitCode(double frequency_mhz, double baud,
                         const Outcome& outcome, std::string_view writer) {
  const Setting& s = *outcome.setting;
  std::string code =
      CComment(HeaderLines(frequency_mhz, baud, outcome, writer)) +
      "#ifdef __SDCC\n#include <8052.h>\n#else\n"
      "#include <reg52.h> /* Keil C51 */\n#endif\n";
  const std::string declarations = Declarations(s);
  if (!declarations.empty()) code += "\n" + declarations;
  code += "\nvoid uart_init(void)\n{\n";
  for (const Write& write : s.generator->writes) {
    code += Statement(write, WriteValue(write, outcome));
  }
  return code + "}\n";
}

}  // namespace timers
