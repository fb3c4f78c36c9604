#include "mcs51/code/tick_code.h"

#include <fmt/format.h>

#include <algorithm>
#include <vector>

#include "mcs51/code/code_parts.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51 {
namespace {

// The period as asked for, in the largest unit that keeps it 1 or more.
std::string AskedText(double seconds) {
  if (seconds >= 1.0) return fmt::format("{:.9g} s", seconds);
  if (seconds >= 1e-3) return fmt::format("{:.9g} ms", seconds * 1e3);
  return fmt::format("{:.9g} us", seconds * 1e6);
}

// `english`, a format string, in `language`, its fields filled in.
template <typename... Args>
std::string Say(Tongue language, std::string_view english,
                const Args&... args) {
  return fmt::format(fmt::runtime(InLanguage(english, language)), args...);
}

// How a software reload stays exact, and what the file with main() and
// whoever reads ticks must do.
std::vector<std::string> UseLines(const TickOutcome& outcome, bool assembly,
                                  Tongue l) {
  const TickSetting& s = *outcome.setting;
  std::vector<std::string> lines;
  if (s.mode->reload == Reload::kSoftware) {
    lines.push_back(Say(
        l,
        "The handler adds the reload to the running count, which holds the "
        "counts since the overflow: however late the handler starts, the next "
        "overflow comes {} counts after this one. {} is clear for {} machine "
        "cycles{}, added to the reload.",
        outcome.count, s.timer->run.bit, StoppedCycles(*s.mode, assembly),
        assembly ? ""
                 : InLanguage(" as SDCC compiles it (see the listing under "
                              "Keil C51, and change the sum by the difference)",
                              l)));
  }
  const int vector = s.timer->vector;
  if (assembly) {
    lines.push_back(
        Say(l,
            "C declares, in the file with main(): extern volatile unsigned int "
            "ticks; void tick_init(void); void tick_isr(void) __interrupt({}); "
            "the handler's prototype is what makes SDCC place the vector.",
            vector));
  } else {
    lines.push_back(
        Say(l,
            "The file with main() includes this file, or declares void "
            "tick_isr(void) __interrupt({}); there: SDCC places the vector "
            "only where it sees the handler or its prototype.",
            vector));
  }
  lines.emplace_back(InLanguage(
      "ticks has two bytes: read it with the interrupt disabled.", l));
  if (assembly) {
    lines.emplace_back(InLanguage(
        "tick_init may change A, which SDCC's callers never expect kept.", l));
  }
  return lines;
}

std::string Hex(int value, int digits) {
  return fmt::format("0x{:0{}X}", value, digits);
}

// The reload a software reload adds: the reload and the stopped cycles.
int Added(const TickOutcome& outcome, bool assembly) {
  const TickMode& mode = *outcome.setting->mode;
  return (outcome.reload + StoppedCycles(mode, assembly)) %
         static_cast<int>(mode.modulus);
}

// "TR0 = 0;", or the bit cleared through its register.
std::string CClear(const Write& write) {
  if (!write.bit.empty()) return fmt::format("    {} = 0;\n", write.bit);
  return fmt::format("    {} &= 0x{:02X};\n", write.reg, ~write.mask & 0xFF);
}

std::string CHandler(const TickOutcome& outcome) {
  const TickSetting& s = *outcome.setting;
  const Unit& t = *s.timer;
  const bool software = s.mode->reload == Reload::kSoftware;
  std::string code =
      fmt::format("\nvoid tick_isr(void) TICK_INTERRUPT({})\n{{\n", t.vector);
  if (software) code += "    unsigned int count;\n\n";
  if (!t.flag.reg.empty()) code += CClear(t.flag);
  if (software) {
    const int low_bits = s.mode->low_bits;
    const std::string low =
        low_bits == 8
            ? std::string(t.count_low)
            : fmt::format("({} & 0x{:02X})", t.count_low, (1 << low_bits) - 1);
    code += CClear(t.run);
    code +=
        fmt::format("    count = ((unsigned int){} << {} | {}) + {};\n",
                    t.count_high, low_bits, low,
                    Hex(Added(outcome, false), s.mode->modulus > 256 ? 4 : 2));
    code += fmt::format("    {} = count >> {};\n", t.count_high, low_bits);
    code += low_bits == 8 ? fmt::format("    {} = count;\n", t.count_low)
                          : fmt::format("    {} = count & 0x{:02X};\n",
                                        t.count_low, (1 << low_bits) - 1);
    code += CStatement(t.run, t.run.value, -1);
  }
  if (outcome.interrupts == 1) return code + "    ticks++;\n}\n";
  return code + fmt::format(
                    "    if (++tick_part == {}) {{\n        tick_part = 0;\n"
                    "        ticks++;\n    }}\n}}\n",
                    outcome.interrupts);
}

}  // namespace

int StoppedCycles(const TickMode& mode, bool assembly) {
  if (mode.reload == Reload::kHardware) return 0;
  if (assembly) return mode.low_bits == 8 ? 7 : 10;
  return mode.low_bits == 8 ? 21 : 49;
}

TickChoice ChooseTick(std::span<const TickSetting* const> settings,
                      double frequency_mhz, double period_s,
                      double tolerance_percent) {
  const TickOutcome best =
      RankTicks(settings, frequency_mhz, period_s, tolerance_percent).front();
  return {best, RefusalOf(best)};
}

std::vector<RegisterValue> TickRegisterValues(const TickOutcome& outcome) {
  return ValuesOf(outcome.setting->mode->writes, InputsOf(outcome));
}

namespace tick_parts {

std::vector<std::string> HeaderLines(double frequency_mhz, double period_s,
                                     const TickOutcome& outcome,
                                     std::string_view writer, bool assembly,
                                     Tongue language) {
  const TickSetting& s = *outcome.setting;
  const Tongue l = language;
  std::vector<std::string> lines{
      s.chip->classic
          ? Say(l, "A tick every {}, clock {} MHz.", AskedText(period_s),
                ShortestText(frequency_mhz))
          : Say(l, "A tick every {}, clock {} MHz, {}.", AskedText(period_s),
                ShortestText(frequency_mhz), s.chip->family),
      Say(l, "{} per count: reload 0x{}.", TickSettingText(s, l),
          ReloadHex(outcome.reload, s.mode->modulus)),
      outcome.interrupts == 1
          ? Say(l, "One interrupt of {} counts per period.", outcome.count)
          : Say(l, "{} interrupts of {} counts per period.", outcome.interrupts,
                outcome.count),
      Say(l, "Actual period {}, error {}.", PeriodText(outcome.actual_period_s),
          PercentText(outcome.error_percent))};
  if (!s.chip->classic) {
    lines.push_back(Say(l, "After: {}.", TimerDocument(*s.chip)));
  }
  if (auto core = CoreLine(*s.chip, l)) {
    lines.insert(lines.begin(), std::move(*core));
  }
  lines.push_back(Say(l, "Written by {}.", writer));
  const std::vector<std::string> use = UseLines(outcome, assembly, l);
  lines.insert(lines.end(), use.begin(), use.end());
  return lines;
}

}  // namespace tick_parts

std::string TickCode(double frequency_mhz, double period_s,
                     const TickOutcome& outcome, std::string_view writer,
                     Tongue language) {
  const TickSetting& s = *outcome.setting;
  const WriteInputs inputs = InputsOf(outcome);
  // The handler's flag may live in a register tick_init() never writes.
  std::vector<Write> named(s.mode->writes.begin(), s.mode->writes.end());
  if (!s.timer->flag.reg.empty()) named.push_back(s.timer->flag);
  std::string code =
      COpening(WrappedLines(tick_parts::HeaderLines(
                   frequency_mhz, period_s, outcome, writer, false, language)),
               *s.chip, TimerNote(*s.chip), named, language,
               "#define TICK_INTERRUPT(n) __interrupt(n)\n",
               "#define TICK_INTERRUPT(n) interrupt n\n");
  code += fmt::format("\nvolatile unsigned int ticks; /* {} */\n",
                      InLanguage("periods since tick_init()", language));
  if (outcome.interrupts > 1) {
    code += fmt::format("static unsigned {} tick_part; /* {} */\n",
                        outcome.interrupts < 256 ? "char" : "int",
                        InLanguage("interrupts of it", language));
  }
  code += "\nvoid tick_init(void)\n{\n";
  for (const Write& write : s.mode->writes) {
    code += CStatement(write, WriteValue(write, inputs), -1, language);
  }
  return code + "}\n" + CHandler(outcome);
}

}  // namespace mcs51
