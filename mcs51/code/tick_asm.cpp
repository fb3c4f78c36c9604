// The tick code as an sdas8051 module: tick_code.h's AsmTickCode.
#include <fmt/format.h>

#include <vector>

#include "mcs51/code/code_parts.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/hardware/catalogue.h"

namespace mcs51 {
namespace {

std::string Hex(int value) { return fmt::format("#0x{:02X}", value); }

// Clears one bit, or its bits through the register.
std::string Clear(const Chip& chip, const Write& write,
                  std::string_view comment = {}) {
  const int address = FindRegister(chip, write.reg).address;
  if (BitOf(write, address) >= 0) {
    return Instruction("clr", std::string(write.bit), comment);
  }
  return Instruction(
      "anl", fmt::format("{},{}", write.reg, Hex(~write.mask & 0xFF)), comment);
}

constexpr Words kStopped{"stopped: counted in the sum", "停止：计入加数"};
constexpr Words kCarry{"the carry out of the low bits", "低位的进位"};

// Adds `added` to the running count with the timer stopped: the high byte
// takes the carry out of the low one (out of bit 5 in mode 0).
std::string SoftwareReload(const TickSetting& s, int added, Tongue language) {
  const Unit& t = *s.timer;
  const int low_bits = s.mode->low_bits;
  const std::string low(t.count_low), high(t.count_high);
  const int low_mask = (1 << low_bits) - 1;
  std::string code = Clear(*s.chip, t.run, kStopped.In(language));
  code += Instruction("mov", "a," + low);
  if (low_bits == 8) {
    code += Instruction("add", "a," + Hex(added & 0xFF));
  } else {
    code += Instruction("anl", "a," + Hex(low_mask));
    code += Instruction("add", "a," + Hex(added & low_mask));
    code += Instruction("mov", fmt::format("c,acc.{}", low_bits),
                        kCarry.In(language));
    code += Instruction("anl", "a," + Hex(low_mask));
  }
  code += Instruction("mov", low + ",a");
  code += Instruction("mov", "a," + high);
  code += Instruction("addc", "a," + Hex((added >> low_bits) & 0xFF));
  code += Instruction("mov", high + ",a");
  return code + Instructions(t.run, t.run.value,
                             FindRegister(*s.chip, t.run.reg), language);
}

// Sets the interrupts left in this period back to all of them.
std::string PartAgain(int interrupts) {
  if (interrupts == 1) return {};
  std::string code = Instruction("mov", "tick_part," + Hex(interrupts & 0xFF));
  if (interrupts > 255) {
    code += Instruction("mov", "tick_part+1," + Hex(interrupts >> 8));
  }
  return code;
}

// ticks += 1, and with several interrupts a period only every n-th time.
std::string Count(int interrupts) {
  std::string code;
  if (interrupts > 255) {
    code += Instruction("mov", "a,tick_part") + Instruction("jnz", "1$") +
            Instruction("dec", "tick_part+1") + "1$:\n" +
            Instruction("dec", "tick_part") +
            Instruction("mov", "a,tick_part") +
            Instruction("orl", "a,tick_part+1") + Instruction("jnz", "9$");
  } else if (interrupts > 1) {
    code += Instruction("djnz", "tick_part,9$");
  }
  code += PartAgain(interrupts);
  code += Instruction("inc", "_ticks") + Instruction("mov", "a,_ticks") +
          Instruction("jnz", "9$") + Instruction("inc", "_ticks+1");
  return code + "9$:\n";
}

}  // namespace

std::string AsmTickCode(double frequency_mhz, double period_s,
                        const TickOutcome& outcome, std::string_view writer,
                        Tongue language) {
  const TickSetting& s = *outcome.setting;
  const Unit& t = *s.timer;
  std::string code =
      AsmOpening(WrappedLines(tick_parts::HeaderLines(
                     frequency_mhz, period_s, outcome, writer, true, language)),
                 TimerNote(*s.chip), language);

  const bool software = s.mode->reload == Reload::kSoftware;
  std::vector<Write> named(s.mode->writes.begin(), s.mode->writes.end());
  if (!t.flag.reg.empty()) named.push_back(t.flag);
  if (software) {
    named.push_back({.reg = t.count_low});
    named.push_back({.reg = t.count_high});
  }
  code +=
      "\n\t.module tick\n\t.globl  _tick_init\n\t.globl  _tick_isr\n"
      "\t.globl  _ticks\n\n";
  code += AsmDeclarations(*s.chip, named, language);
  code += "\n\t.area   DSEG    (DATA)\n\n_ticks:\n\t.ds     2\n";
  if (outcome.interrupts > 1) {
    code += fmt::format("tick_part:\n\t.ds     {}\n",
                        outcome.interrupts > 255 ? 2 : 1);
  }
  code += "\n\t.area   CSEG    (CODE)\n\n_tick_init:\n";
  code += Instruction("mov", "_ticks,#0") + Instruction("mov", "_ticks+1,#0");
  code += PartAgain(outcome.interrupts);
  for (const Write& write : s.mode->writes) {
    code += Instructions(write, WriteValue(write, InputsOf(outcome)),
                         FindRegister(*s.chip, write.reg), language);
  }
  code += "\tret\n\n_tick_isr:\n";
  code += Instruction("push", "psw") + Instruction("push", "acc");
  if (!t.flag.reg.empty()) code += Clear(*s.chip, t.flag);
  if (software)
    code += SoftwareReload(s,
                           (outcome.reload + StoppedCycles(*s.mode, true)) %
                               static_cast<int>(s.mode->modulus),
                           language);
  code += Count(outcome.interrupts);
  code += Instruction("pop", "acc") + Instruction("pop", "psw") + "\treti\n";
  return code;
}

}  // namespace mcs51
