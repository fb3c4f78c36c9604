#include "mcs51/delays/delay_code.h"

#include <fmt/format.h>

#include <cctype>
#include <vector>

#include "mcs51/code/code_parts.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"
#include "mcs51/words/words.h"

namespace mcs51 {
namespace {

std::string ErrorText(double percent) {
  if (percent == 0.0) return "0 %";
  return fmt::format("{:+.4g} %", percent);
}

// The comment's sentences, in both tongues, numbers in by position.
constexpr Words kTitle{"{0}({1}): {2} at {3} MHz on the {4}.",
                       "{0}({1})：{2}，晶振 {3} MHz，{4}。"};
constexpr Words kTimes{"n times ", "n × "};
constexpr Words kCycles{
    "{0}{1} cycles of {2} clocks exactly, counted from the start of the "
    "LCALL that calls it to the first instruction after it, call and return "
    "included.",
    "恰为 {0}{1} 个周期，每周期 {2} 个时钟，从调用它的 LCALL 开始算到其后第一条"
    "指令，调用与返回都算在内。"};
constexpr Words kActual{"Actual {0}, error {1}{2}.", "实际 {0}，误差 {1}{2}。"};
constexpr Words kNearest{": the nearest whole number of cycles",
                         "：最接近的整数个周期"};
constexpr Words kTimesLoaded{
    "n is loaded before the call, by the caller, and is not counted. n = 0 "
    "counts as 65536{0}.",
    "n 由调用者在调用前装入，不算在内。n = 0 当作 65536{0}。"};
constexpr Words kTimesCycles{": 65536 x {0} cycles", "：65536 × {0} 个周期"};
constexpr Words kSource{"Cycles: {0}.", "周期数依据：{0}。"};
constexpr Words kAssumed{"Assumed: {0}.", "假定：{0}。"};
constexpr Words kChanges{
    "It changes {0}{1}, which {2} a called function change without saving.",
    "它{0}{1}，{2}允许被调用的函数不加保存地改动这些。"};
constexpr Words kNoCounter{"no register R0-R7", "不改动 R0-R7"};
constexpr Words kCounters{"{0}", "改动 {0}"};
constexpr Words kTimesChanges{", A, DPL, DPH and the flags",
                              "，改动 A、DPL、DPH 和标志位"};
constexpr Words kBothConventions{
    "SDCC's and Keil C51's calling conventions let",
    "SDCC 与 Keil C51 的调用约定都"};
constexpr Words kSdccConvention{"SDCC's calling convention lets",
                                "SDCC 的调用约定"};
constexpr Words kNaked{
    "SDCC: the function is __naked, so these instructions are all of it, its "
    "RET included.",
    "SDCC：函数是 __naked 的，以下指令就是它的全部，RET 也在内。"};
constexpr Words kKeil{
    "Keil C51: #pragma asm needs the SRC directive for this file (C51 writes "
    "assembly, A51 assembles it); C51 adds the RET{0}.",
    "Keil C51：#pragma asm 要求本文件加 SRC 指令（C51 生成汇编，A51 汇编它）；"
    "RET 由 C51 加上{0}。"};
constexpr Words kKeilTimes{
    "; n comes in R6 (high) and R7 (low), moved to DPH and DPL first, which "
    "the count includes",
    "；n 由 R6（高字节）和 R7（低字节）传入，先移到 DPH 和 "
    "DPL，这也算在周期内"};

// The timer method's sentences.
constexpr Words kPaced{
    "Paced by {0}: {1}{2} of {3} counts, reload 0x{4}, polled with its "
    "interrupt off.",
    "计时：{0}；{1}{2}，每次 {3} 个计数，重装值 0x{4}，关中断查询。"};
constexpr Words kOverflows{"{0} overflows", "{0} 次溢出"};
constexpr Words kOneOverflow{"one overflow", "1 次溢出"};
constexpr Words kTimed{
    "The timer counts {0}{1} (error {2}); the instructions around the counts "
    "add at most {3}, once per call{4}.",
    "定时器计 {0}{1}（误差 {2}）；计数之外的指令每次调用至多加 {3}{4}。"};
constexpr Words kEarly{"; its first count may come up to {0} early",
                       "；首个计数至多可能提前 {0}"};
constexpr Words kBoundTable{"Bound: each instruction at its longest in {0}.",
                            "界限：每条指令取 {0} 中的最长时间。"};
constexpr Words kBoundClassic{
    "Bound: each instruction at the classic 8051's time, 12 clocks a machine "
    "cycle, taken as a safe upper bound for want of the core's own table.",
    "界限：每条指令取经典 8051 的时间（每机器周期 12 "
    "个时钟），因缺少该内核自己的"
    "时序表而作为稳妥的上限。"};
constexpr Words kOwnsTimer{
    "It takes {0} for itself and leaves it stopped: nothing else may use it "
    "meanwhile, and its interrupt must be off. Another interrupt's handler "
    "adds its time if it runs at the last overflow; one longer than {1} "
    "counts loses an overflow.",
    "它独占{0}，结束时将其停止：其间别处不得使用它，且须关闭它的中断。其他中断"
    "的处理程序若恰在最后一次溢出时运行，会加上其运行时间；运行超过 {1} "
    "个计数的会丢失一次溢出。"};
constexpr Words kTimerWord{"Timer {0}", "定时器 {0}"};
constexpr Words kFlagsA{", A and the flags", "，改动 A 和标志位"};

// The counters the loops use, as "R2-R4", "R2" or none.
std::string CountersText(const DelayPlan& plan, Tongue tongue) {
  char last = 0;
  for (const Instr& i : plan.sdcc) {
    if (i.text.starts_with("mov r")) last = std::max(last, i.text[5]);
  }
  if (last == 0) return std::string(kNoCounter.In(tongue));
  return Say(kCounters,
             last == '2' ? std::string("R2") : fmt::format("R2-R{}", last))
      .In(tongue);
}

// The timer method's lines: the timer, the counts, the bound and what it
// asks of the program.
std::vector<std::string> TimerLines(const DelayText& text, const Core& core,
                                    const DelayPlan& plan) {
  const Tongue t = text.tongue;
  const TickOutcome& o = plan.timer->outcome;
  const TickSetting& s = *o.setting;
  const std::string times(text.times ? kTimes.In(t) : "");
  std::vector<std::string> lines{
      Say(kPaced, TickSettingText(s, t), times,
          o.interrupts == 1 ? kOneOverflow.In(t)
                            : Say(kOverflows, o.interrupts).In(t),
          o.count, ReloadHex(o.reload, s.mode->modulus))
          .In(t),
      Say(kTimed, times, DelayTimeText(plan.actual_s),
          ErrorText(plan.error_percent), DelayTimeText(plan.bound_s),
          plan.early_s > 0.0 ? Say(kEarly, DelayTimeText(plan.early_s)).In(t)
                             : std::string())
          .In(t),
      plan.timer->classic_bound ? std::string(kBoundClassic.In(t))
                                : Say(kBoundTable, core.source).In(t),
      Say(kOwnsTimer, Say(kTimerWord, s.timer->number).In(t), o.count).In(t)};
  return lines;
}

std::vector<std::string> Comment(const DelayText& text, const Core& core,
                                 const DelayPlan& plan, bool c) {
  const Tongue t = text.tongue;
  const std::string times(text.times ? kTimes.In(t) : "");
  const bool timer = MethodOf(plan) == DelayMethod::kTimer;
  std::vector<std::string> lines;
  lines.push_back(Say(kTitle, text.name, text.times ? "n" : "",
                      times + DelayTimeText(text.time_s),
                      fmt::format("{:.10g}", text.frequency_mhz), core.text)
                      .In(t));
  if (timer) {
    const std::vector<std::string> more = TimerLines(text, core, plan);
    lines.insert(lines.end(), more.begin(), more.end());
  } else {
    lines.push_back(Say(kCycles, times, plan.cycles, core.clocks).In(t));
    lines.push_back(Say(kActual, DelayTimeText(plan.actual_s),
                        ErrorText(plan.error_percent),
                        plan.error_percent == 0.0 ? "" : kNearest.In(t))
                        .In(t));
  }
  if (text.times) {
    lines.push_back(
        Say(kTimesLoaded,
            timer ? std::string() : Say(kTimesCycles, plan.cycles).In(t))
            .In(t));
  }
  if (!timer) lines.push_back(Say(kSource, core.source).In(t));
  if (!timer && !core.assumes.en.empty()) {
    lines.push_back(Say(kAssumed, core.assumes).In(t));
  }
  lines.push_back(
      Say(kChanges, CountersText(plan, t),
          text.times ? kTimesChanges.In(t) : (timer ? kFlagsA.In(t) : ""),
          (c ? kBothConventions : kSdccConvention).In(t))
          .In(t));
  if (c) {
    lines.emplace_back(kNaked.In(t));
    lines.push_back(Say(kKeil, text.times ? kKeilTimes.In(t) : "").In(t));
  }
  return WrappedLines(lines);
}

// A51 spells hex as 0EFH; sdas8051 as 0xEF.
std::string A51Hex(std::string op) {
  for (std::size_t at = op.find("0x"); at != op.npos; at = op.find("0x", at)) {
    std::size_t end = at + 2;
    while (end < op.size() &&
           std::isxdigit(static_cast<unsigned char>(op[end]))) {
      ++end;
    }
    const std::string digits = op.substr(at + 2, end - at - 2);
    op.replace(at, end - at, "0" + digits + "H");
    at += digits.size() + 2;
  }
  return op;
}

// One instruction, in sdas8051's spelling or in A51's, with the label it
// carries, the label it goes to and what its address is.
std::string Line(const Instr& i, bool keil, const std::string& name,
                 Tongue tongue) {
  auto label = [&](int n) {
    return keil ? fmt::format("{}_{}", name, n) : fmt::format("{:05}$", n);
  };
  std::string text;
  if (i.label >= 0) text += label(i.label) + ":\n";
  std::string op = i.text + (i.target >= 0 ? label(i.target) : "");
  if (keil) op = A51Hex(std::move(op));
  const std::size_t space = op.find(' ');
  std::string line = space == op.npos
                         ? fmt::format("\t{}", op)
                         : fmt::format("\t{:<7} {}", op.substr(0, space),
                                       op.substr(space + 1));
  if (!i.name.empty()) {
    line = fmt::format("{:<32}; {}", line, i.name);
    if (!i.note.en.empty()) line += fmt::format(": {}", i.note.In(tongue));
  }
  return text + line + "\n";
}

std::string Body(const std::vector<Instr>& code, bool keil,
                 const std::string& name, Tongue tongue) {
  std::string text;
  for (const Instr& i : code) {
    if (keil && i.op == Op::kRet) continue;  // C51's own
    text += Line(i, keil, name, tongue);
  }
  return text;
}

}  // namespace

std::string DelayTimeText(double seconds) {
  if (seconds >= 1) return fmt::format("{:.6g} s", seconds);
  if (seconds >= 1e-3) return fmt::format("{:.6g} ms", seconds * 1e3);
  return fmt::format("{:.6g} us", seconds * 1e6);
}

std::string DelayCCode(const DelayText& text, const Core& core,
                       const DelayPlan& plan) {
  const std::string params = text.times ? "unsigned int n" : "void";
  std::string code = CComment(Comment(text, core, plan, true));
  code += "#ifdef __SDCC\n";
  if (text.times) {
    // n is read by the assembly, which SDCC does not see.
    code += "#pragma save\n#pragma disable_warning 85\n";
  }
  code +=
      fmt::format("void {}({}) __naked\n{{\n    __asm\n", text.name, params);
  code += Body(plan.sdcc, false, text.name, text.tongue);
  code += "    __endasm;\n}\n";
  if (text.times) code += "#pragma restore\n";
  code +=
      fmt::format("#else\nvoid {}({})\n{{\n#pragma asm\n", text.name, params);
  code += Body(plan.keil, true, text.name, text.tongue);
  code += "#pragma endasm\n}\n#endif\n";
  return code;
}

std::string DelayAsmCode(const DelayText& text, const Core& core,
                         const DelayPlan& plan) {
  std::string code;
  for (const std::string& line : Comment(text, core, plan, false)) {
    code += "; " + line + "\n";
  }
  code += fmt::format(
      "\n\t.module {0}\n\t.globl  _{0}\n\n\t.area   CSEG    (CODE)\n\n_{0}:\n",
      text.name);
  return code + Body(plan.sdcc, false, text.name, text.tongue);
}

}  // namespace mcs51
