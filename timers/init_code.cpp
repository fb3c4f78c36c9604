#include "timers/init_code.h"

#include <fmt/format.h>

#include <algorithm>

#include "timers/catalogue.h"
#include "timers/code_parts.h"

namespace timers {
namespace {

// "    AUXR |= 0x40;" padded for its comment.
std::string Statement(const Write& write, const Setting& s, int value,
                      CodeLanguage language) {
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
  std::string_view comment = write.comment;
  if (s.smod >= 0 && !write.c_comment_by_smod[s.smod].empty()) {
    comment = write.c_comment_by_smod[s.smod];
  }
  if (comment.empty()) return fmt::format("    {}\n", text);
  comment = InLanguage(comment, language);
  return fmt::format("    {:<28} /* {} */\n", text, comment);
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

Refusal RefusalOf(const Outcome& outcome) {
  if (!outcome.fits) return Refusal::kOutOfRange;
  return outcome.mark == Mark::kBeyond ? Refusal::kBeyond : Refusal::kNone;
}

CodeChoice ChooseForCode(std::span<const Setting* const> settings,
                         double frequency_mhz, double baud,
                         double tolerance_percent) {
  const Outcome best =
      Rank(settings, frequency_mhz, baud, tolerance_percent).front();
  return {best, RefusalOf(best)};
}

std::vector<RegisterValue> RegisterValues(const Outcome& outcome) {
  std::vector<RegisterValue> values;
  for (const Write& write : outcome.setting->generator->writes) {
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

std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome,
                     std::string_view writer, CodeLanguage language) {
  const Setting& s = *outcome.setting;
  std::string code =
      CComment(HeaderLines(frequency_mhz, baud, outcome, writer, language)) +
      "#ifdef __SDCC\n#include <8052.h>\n#else\n"
      "#include <reg52.h> /* Keil C51 */\n#endif\n";
  std::string extra = Declarations(s);
  if (!s.chip->note.empty()) {
    extra.insert(0, CComment(NoteLines(*s.chip, language)));
  }
  if (!extra.empty()) code += "\n" + extra;
  code += "\nvoid uart_init(void)\n{\n";
  for (const Write& write : s.generator->writes) {
    code += Statement(write, s, WriteValue(write, outcome), language);
  }
  return code + "}\n";
}

}  // namespace timers
