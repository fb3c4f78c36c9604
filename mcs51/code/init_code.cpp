#include "mcs51/code/init_code.h"

#include <fmt/format.h>

#include "mcs51/code/code_parts.h"
#include "mcs51/hardware/catalogue.h"

namespace mcs51 {

CodeChoice ChooseForCode(std::span<const Setting* const> settings,
                         double frequency_mhz, double baud,
                         double tolerance_percent) {
  const Outcome best =
      Rank(settings, frequency_mhz, baud, tolerance_percent).front();
  return {best, RefusalOf(best)};
}

std::vector<RegisterValue> RegisterValues(const Outcome& outcome) {
  return ValuesOf(outcome.setting->generator->writes, InputsOf(outcome));
}

std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome,
                     std::string_view writer, Tongue language) {
  const Setting& s = *outcome.setting;
  const WriteInputs inputs = InputsOf(outcome);
  std::string code =
      COpening(HeaderLines(frequency_mhz, baud, outcome, writer, language),
               *s.chip, s.chip->note, s.generator->writes, language);
  code += "\nvoid uart_init(void)\n{\n";
  for (const Write& write : s.generator->writes) {
    code += CStatement(write, WriteValue(write, inputs), s.smod, language);
  }
  return code + "}\n";
}

}  // namespace mcs51
