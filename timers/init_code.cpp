#include "timers/init_code.h"

#include <fmt/format.h>

#include <algorithm>

#include "timers/catalogue.h"
#include "timers/code_parts.h"

namespace timers {

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
                     std::string_view writer, Tongue language) {
  const Setting& s = *outcome.setting;
  std::string code =
      CComment(HeaderLines(frequency_mhz, baud, outcome, writer, language)) +
      "#ifdef __SDCC\n#include <8052.h>\n#else\n"
      "#include <reg52.h> /* Keil C51 */\n#endif\n";
  std::string extra = CDeclarations(*s.chip, s.generator->writes);
  if (!s.chip->note.empty())
    extra.insert(0, CComment(NoteLines(*s.chip, language)));
  if (!extra.empty()) code += "\n" + extra;
  code += "\nvoid uart_init(void)\n{\n";
  for (const Write& write : s.generator->writes) {
    code += CStatement(write, WriteValue(write, outcome), s.smod, language);
  }
  return code + "}\n";
}

}  // namespace timers
