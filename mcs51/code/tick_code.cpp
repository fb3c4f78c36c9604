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

// The tick code's own sentences.
constexpr Words kSoftwareReload{
    "The handler adds the reload to the running count, which holds the "
    "counts since the overflow: however late the handler starts, the next "
    "overflow comes {} counts after this one. {} is clear for {} machine "
    "cycles{}, added to the reload.",
    "处理程序把重装值加到正在计数的值上，该值含溢出后已计的数：无论处理程序"
    "多晚开始，下次溢出都在本次之后 {} 个计数。{} 清零 {} 个机器周期{}，"
    "已计入重装值。"};
constexpr Words kAsSdccCompiles{
    " as SDCC compiles it (see the listing under Keil C51, and change the "
    "sum by the difference)",
    "（按 SDCC 的编译；Keil C51 请查看列表文件，按差值修改加数）"};
constexpr Words kAsmDeclares{
    "C declares, in the file with main(): extern volatile unsigned int "
    "ticks; void tick_init(void); void tick_isr(void) __interrupt({}); "
    "the handler's prototype is what makes SDCC place the vector.",
    "C 在含 main() 的文件中声明：extern volatile unsigned int ticks; "
    "void tick_init(void); void tick_isr(void) __interrupt({}); "
    "SDCC 凭处理程序的原型放置中断向量。"};
constexpr Words kCIncluded{
    "The file with main() includes this file, or declares void "
    "tick_isr(void) __interrupt({}); there: SDCC places the vector only "
    "where it sees the handler or its prototype.",
    "含 main() 的文件包含本文件，或在其中声明 void tick_isr(void) "
    "__interrupt({}); 因为 SDCC 只在见到处理程序或其原型处放置中断向量。"};
constexpr Words kTwoBytes{
    "ticks has two bytes: read it with the interrupt disabled.",
    "ticks 占两个字节：须在关闭该中断时读取。"};
constexpr Words kChangesA{
    "tick_init may change A, which SDCC's callers never expect kept.",
    "tick_init 可能改变 A，SDCC 的调用者从不要求保留 A。"};
constexpr Words kTickAt{"A tick every {}, clock {} MHz.",
                        "每 {} 一个节拍，时钟 {} MHz。"};
constexpr Words kMakerTickAt{"A tick every {}, clock {} MHz, {}.",
                             "每 {} 一个节拍，时钟 {} MHz，{}。"};
constexpr Words kPerCount{"{} per count: reload 0x{}.", "{}：重装值 0x{}。"};
constexpr Words kOneInterrupt{"One interrupt of {} counts per period.",
                              "每周期 1 次中断，每次 {} 个计数。"};
constexpr Words kInterrupts{"{} interrupts of {} counts per period.",
                            "每周期 {} 次中断，每次 {} 个计数。"};
constexpr Words kActual{"Actual period {}, error {}.",
                        "实际周期 {}，误差 {}。"};
constexpr Words kTicks{"periods since tick_init()", "tick_init() 以来的周期数"};
constexpr Words kTickPart{"interrupts of it", "本周期内的中断数"};

// How a software reload stays exact, and what the file with main() and
// whoever reads ticks must do.
std::vector<std::string> UseLines(const TickOutcome& outcome, bool assembly,
                                  Tongue l) {
  const TickSetting& s = *outcome.setting;
  std::vector<std::string> lines;
  if (s.mode->reload == Reload::kSoftware) {
    lines.push_back(Say(kSoftwareReload, outcome.count, s.timer->run.bit,
                        StoppedCycles(*s.mode, assembly),
                        assembly ? Words{} : kAsSdccCompiles)
                        .In(l));
  }
  const int vector = s.timer->vector;
  if (assembly) {
    lines.push_back(Say(kAsmDeclares, vector).In(l));
  } else {
    lines.push_back(Say(kCIncluded, vector).In(l));
  }
  lines.emplace_back(kTwoBytes.In(l));
  if (assembly) lines.emplace_back(kChangesA.In(l));
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
          ? Say(kTickAt, AskedText(period_s), ShortestText(frequency_mhz)).In(l)
          : Say(kMakerTickAt, AskedText(period_s), ShortestText(frequency_mhz),
                s.chip->family.en)
                .In(l),
      Say(kPerCount, TickSettingText(s, l),
          ReloadHex(outcome.reload, s.mode->modulus))
          .In(l),
      outcome.interrupts == 1
          ? Say(kOneInterrupt, outcome.count).In(l)
          : Say(kInterrupts, outcome.interrupts, outcome.count).In(l),
      Say(kActual, PeriodText(outcome.actual_period_s),
          PercentText(outcome.error_percent))
          .In(l)};
  if (!s.chip->classic) {
    lines.push_back(Say(kAfter, TimerDocument(*s.chip)).In(l));
  }
  if (auto core = CoreLine(*s.chip, l)) {
    lines.insert(lines.begin(), std::move(*core));
  }
  lines.push_back(Say(kWrittenBy, writer).In(l));
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
                      kTicks.In(language));
  if (outcome.interrupts > 1) {
    code += fmt::format("static unsigned {} tick_part; /* {} */\n",
                        outcome.interrupts < 256 ? "char" : "int",
                        kTickPart.In(language));
  }
  code += "\nvoid tick_init(void)\n{\n";
  for (const Write& write : s.mode->writes) {
    code += CStatement(write, WriteValue(write, inputs), -1, language);
  }
  return code + "}\n" + CHandler(outcome);
}

}  // namespace mcs51
