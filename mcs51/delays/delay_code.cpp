#include "mcs51/delays/delay_code.h"

#include <fmt/format.h>

#include <vector>

#include "mcs51/code/code_parts.h"

namespace mcs51 {
namespace {

std::string ErrorText(double percent) {
  if (percent == 0.0) return "0 %";
  return fmt::format("{:+.4g} %", percent);
}

// The counters the loops use, as "R2-R4", "R2" or "no register".
std::string CountersText(const DelayPlan& plan) {
  char last = 0;
  for (const Instr& i : plan.sdcc) {
    if (i.text.starts_with("mov r")) last = std::max(last, i.text[5]);
  }
  if (last == 0) return "no register R0-R7";
  if (last == '2') return "R2";
  return fmt::format("R2-R{}", last);
}

std::vector<std::string> Comment(const DelayText& text, const Core& core,
                                 const DelayPlan& plan, bool c) {
  const std::string time = DelayTimeText(text.time_s);
  std::vector<std::string> lines;
  lines.push_back(
      fmt::format("{}({}): {} at {} MHz on the {}.", text.name,
                  text.times ? "n" : "", text.times ? "n times " + time : time,
                  fmt::format("{:.10g}", text.frequency_mhz), core.text));
  lines.push_back(fmt::format(
      "{}{} cycles of {} clocks exactly, counted from the start of the "
      "LCALL that calls it to the first instruction after it, call and "
      "return included.",
      text.times ? "n times " : "", plan.cycles, core.clocks));
  lines.push_back(fmt::format(
      "Actual {}, error {}{}.", DelayTimeText(plan.actual_s),
      ErrorText(plan.error_percent),
      plan.error_percent == 0.0 ? "" : ": the nearest whole number of cycles"));
  if (text.times) {
    lines.push_back(fmt::format(
        "n is loaded before the call, by the caller, and is not counted. "
        "n = 0 counts as 65536: 65536 x {} cycles.",
        plan.cycles));
  }
  lines.push_back(fmt::format("Cycles: {}.", core.source));
  if (!core.assumes.empty()) {
    lines.push_back(fmt::format("Assumed: {}.", core.assumes));
  }
  lines.push_back(fmt::format(
      "It changes {}{}, which {} a called function change without "
      "saving.",
      CountersText(plan), text.times ? ", A, DPL, DPH and the flags" : "",
      c ? "SDCC's and Keil C51's calling conventions let"
        : "SDCC's calling convention lets"));
  if (c) {
    lines.push_back(
        "SDCC: the function is __naked, so these instructions are all of it, "
        "its RET included.");
    lines.push_back(fmt::format(
        "Keil C51: #pragma asm needs the SRC directive for this file (C51 "
        "writes assembly, A51 assembles it); C51 adds the RET{}.",
        text.times ? "; n comes in R6 (high) and R7 (low), moved to DPH and "
                     "DPL first, which the count includes"
                   : ""));
  }
  return WrappedLines(lines);
}

// One instruction, in sdas8051's spelling or in A51's capitals, with the
// label it carries and the label it goes to.
std::string Line(const Instr& i, bool keil, const std::string& name) {
  auto label = [&](int n) {
    return keil ? fmt::format("{}_{}", name, n) : fmt::format("{:05}$", n);
  };
  std::string text;
  if (i.label >= 0) text += label(i.label) + ":\n";
  std::string op = i.text + (i.target >= 0 ? label(i.target) : "");
  // A51 spells hex as 0EFH; sdas8051 as 0xEF.
  const std::size_t hex = op.find("#0x");
  if (keil && hex != op.npos) {
    op = op.substr(0, hex) + "#0" + op.substr(hex + 3, 2) + "H" +
         op.substr(hex + 5);
  }
  const std::size_t space = op.find(' ');
  if (space == op.npos) return text + fmt::format("\t{}\n", op);
  return text +
         fmt::format("\t{:<7} {}\n", op.substr(0, space), op.substr(space + 1));
}

std::string Body(const std::vector<Instr>& code, bool keil,
                 const std::string& name) {
  std::string text;
  for (const Instr& i : code) {
    if (keil && i.op == Op::kRet) continue;  // C51's own
    text += Line(i, keil, name);
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
  code += Body(plan.sdcc, false, text.name);
  code += "    __endasm;\n}\n";
  if (text.times) code += "#pragma restore\n";
  code +=
      fmt::format("#else\nvoid {}({})\n{{\n#pragma asm\n", text.name, params);
  code += Body(plan.keil, true, text.name);
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
  return code + Body(plan.sdcc, false, text.name);
}

}  // namespace mcs51
