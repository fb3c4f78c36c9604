#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <utility>

#include "mcs51/code/code_parts.h"
#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"

namespace mcs51 {
namespace {

// A bit's declaration; the module's use, as hand-broken lines.
constexpr Words kBitOf{"{0}, bit {1} of {2}", "{0}，{2} 的第 {1} 位"};
constexpr Words kForSdcc{
    "For SDCC's sdas8051; C declares it as void uart_init(void). It may\n"
    "change A, which SDCC's callers never expect kept.",
    "供 SDCC 的 sdas8051 汇编；C 中声明为 void uart_init(void)。它可能\n"
    "改变 A，SDCC 的调用者从不要求保留 A。"};

}  // namespace

int BitOf(const Write& write, int address) {
  if (write.bit.empty() || address % 8 != 0 ||
      std::popcount(static_cast<unsigned>(write.mask)) != 1) {
    return -1;
  }
  return std::countr_zero(static_cast<unsigned>(write.mask));
}

std::string AsmComment(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line.empty() ? ";\n" : "; " + line + "\n";
  }
  return text;
}

std::string Instruction(std::string_view op, const std::string& operands,
                        std::string_view comment) {
  if (comment.empty()) return fmt::format("\t{:<6}{}\n", op, operands);
  return fmt::format("\t{:<6}{:<20}; {}\n", op, operands, comment);
}

std::string AsmDeclarations(const Chip& chip, std::span<const Write> writes,
                            Tongue language) {
  std::vector<std::string_view> done;
  std::string text;
  auto declare = [&](std::string_view name, int address,
                     const std::string& note) {
    if (std::find(done.begin(), done.end(), name) != done.end()) return;
    done.push_back(name);
    text += fmt::format("{:<8}= 0x{:02X}  ; {}\n", name, address, note);
  };
  for (const Write& write : writes) {
    const Register& sfr = FindRegister(chip, write.reg);
    declare(
        sfr.name, sfr.address,
        fmt::format("{}, {}{}", sfr.name,
                    IsOwn(chip, sfr) ? chip.family.en : kDefaultFamily->name,
                    sfr.space == MemorySpace::kXdata ? ", XDATA" : ""));
    if (const int bit = BitOf(write, sfr.address); bit >= 0) {
      declare(write.bit, sfr.address + bit,
              Say(kBitOf, write.bit, bit, sfr.name).In(language));
    }
  }
  return text;
}

namespace {

// An external-data register through DPTR and A: read, kept bits and new
// ones, written once.
std::vector<AsmStep> XdataSteps(const Write& write, int value,
                                const std::string& reg, std::string comment) {
  std::vector<AsmStep> steps{
      {Op::kMovDptr, "mov", fmt::format("dptr,#{}", reg), std::move(comment)}};
  if (write.mask == 0xFF) {
    steps.push_back({Op::kMovAImm, "mov", fmt::format("a,#0x{:02X}", value)});
  } else {
    steps.push_back({Op::kMovx, "movx", "a,@dptr"});
    steps.push_back(
        {Op::kAnlAImm, "anl", fmt::format("a,#0x{:02X}", ~write.mask & 0xFF)});
    if (value != 0) {
      steps.push_back({Op::kOrlAImm, "orl", fmt::format("a,#0x{:02X}", value)});
    }
  }
  steps.push_back({Op::kMovx, "movx", "@dptr,a"});
  return steps;
}

}  // namespace

// A whole register at once, a bit set or cleared, or the others kept
// through the accumulator so that the register is written once, as in C.
std::vector<AsmStep> WriteSteps(const Write& write, int value,
                                const Register& target, Spelling spelling,
                                Tongue language) {
  const bool by_address = spelling == Spelling::kAddress;
  const std::string reg =
      by_address ? fmt::format("0x{:0{}X}", target.address,
                               target.space == MemorySpace::kXdata ? 4 : 2)
                 : std::string(write.reg);
  std::string comment(write.comment.In(language));
  const int keep = ~write.mask & 0xFF;
  if (target.space == MemorySpace::kXdata) {
    return XdataSteps(write, value, reg, std::move(comment));
  }
  if (const int bit = BitOf(write, target.address); bit >= 0) {
    const std::string name = by_address
                                 ? fmt::format("0x{:02X}", target.address + bit)
                                 : std::string(write.bit);
    return {{value != 0 ? Op::kSetbBit : Op::kClrBit,
             value != 0 ? "setb" : "clr", name, std::move(comment)}};
  }
  if (write.mask == 0xFF) {
    return {{Op::kMovDirImm, "mov", fmt::format("{},#0x{:02X}", reg, value),
             std::move(comment)}};
  }
  if (value == write.mask) {
    return {{Op::kOrlDirImm, "orl", fmt::format("{},#0x{:02X}", reg, value),
             std::move(comment)}};
  }
  if (value == 0) {
    return {{Op::kAnlDirImm, "anl", fmt::format("{},#0x{:02X}", reg, keep),
             std::move(comment)}};
  }
  return {{Op::kMovADir, "mov", "a," + reg, std::move(comment)},
          {Op::kAnlAImm, "anl", fmt::format("a,#0x{:02X}", keep)},
          {Op::kOrlAImm, "orl", fmt::format("a,#0x{:02X}", value)},
          {Op::kMovDirA, "mov", reg + ",a"}};
}

std::string Instructions(const Write& write, int value, const Register& target,
                         Tongue language) {
  std::string code;
  for (const AsmStep& step :
       WriteSteps(write, value, target, Spelling::kName, language)) {
    code += Instruction(step.mnemonic, step.operands, step.comment);
  }
  return code;
}

std::string AsmInitCode(double frequency_mhz, double baud,
                        const Outcome& outcome, std::string_view writer,
                        Tongue language) {
  std::vector<std::string> header =
      HeaderLines(frequency_mhz, baud, outcome, writer, language);
  header.emplace_back("");
  for (std::string& line : BrokenLines(kForSdcc.In(language))) {
    header.push_back(std::move(line));
  }
  const Setting& s = *outcome.setting;
  std::string code = AsmOpening(header, s.chip->note, language);

  code += "\n\t.module uart_init\n\t.globl  _uart_init\n\n";
  code += AsmDeclarations(*s.chip, s.generator->writes, language);
  code += "\n\t.area   CSEG    (CODE)\n\n_uart_init:\n";
  for (const Write& write : s.generator->writes) {
    code += Instructions(write, WriteValue(write, InputsOf(outcome)),
                         FindRegister(*s.chip, write.reg), language);
  }
  return code + "\tret\n";
}

}  // namespace mcs51
