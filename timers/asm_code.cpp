#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "timers/code_parts.h"
#include "timers/init_code.h"

namespace timers {
namespace {

// The 8052's own registers, at the addresses every maker keeps. sdas8051
// knows them too, but declaring them keeps the module readable without
// its built-in names and safe from a family that moves one.
constexpr Sfr k8052Sfrs[] = {
    {"PCON", 0x87},   {"TCON", 0x88}, {"TMOD", 0x89},  {"TL1", 0x8B},
    {"TH1", 0x8D},    {"SCON", 0x98}, {"T2CON", 0xC8}, {"RCAP2L", 0xCA},
    {"RCAP2H", 0xCB}, {"TL2", 0xCC},  {"TH2", 0xCD},   {"TL0", 0x8A},
    {"TH0", 0x8C},    {"IE", 0xA8},
};

}  // namespace

// A family's own register (its records) before the 8052's.
const Sfr& Register(const Chip& chip, std::string_view name) {
  for (const Sfr& sfr : chip.sfrs) {
    if (sfr.name == name) return sfr;
  }
  for (const Sfr& sfr : k8052Sfrs) {
    if (sfr.name == name) return sfr;
  }
  throw std::logic_error(
      fmt::format("no address for register {} of {}", name, chip.name));
}

namespace {

bool IsOwn(const Chip& chip, const Sfr& sfr) {
  return std::any_of(chip.sfrs.begin(), chip.sfrs.end(),
                     [&](const Sfr& own) { return &own == &sfr; });
}

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
    const Sfr& sfr = Register(chip, write.reg);
    declare(sfr.name, sfr.address,
            fmt::format("{}, {}", sfr.name,
                        IsOwn(chip, sfr) ? chip.family : "8052"));
    if (const int bit = BitOf(write, sfr.address); bit >= 0) {
      declare(write.bit, sfr.address + bit,
              language == Tongue::kChinese
                  ? fmt::format("{}，{} 的第 {} 位", write.bit, sfr.name, bit)
                  : fmt::format("{}, bit {} of {}", write.bit, bit, sfr.name));
    }
  }
  return text;
}

// One write, as C's statement does it: a whole register at once, a bit
// set or cleared, or the others kept through the accumulator so that the
// register is written once, as in C.
std::string Instructions(const Write& write, int value, int address,
                         Tongue language) {
  const std::string reg(write.reg);
  const std::string_view comment = InLanguage(write.comment, language);
  const int keep = ~write.mask & 0xFF;
  if (BitOf(write, address) >= 0) {
    return Instruction(value != 0 ? "setb" : "clr", std::string(write.bit),
                       comment);
  }
  if (write.mask == 0xFF) {
    return Instruction("mov", fmt::format("{},#0x{:02X}", reg, value), comment);
  }
  if (value == write.mask) {
    return Instruction("orl", fmt::format("{},#0x{:02X}", reg, value), comment);
  }
  if (value == 0) {
    return Instruction("anl", fmt::format("{},#0x{:02X}", reg, keep), comment);
  }
  return Instruction("mov", "a," + reg, comment) +
         Instruction("anl", fmt::format("a,#0x{:02X}", keep)) +
         Instruction("orl", fmt::format("a,#0x{:02X}", value)) +
         Instruction("mov", reg + ",a");
}

std::string AsmInitCode(double frequency_mhz, double baud,
                        const Outcome& outcome, std::string_view writer,
                        Tongue language) {
  std::vector<std::string> header =
      HeaderLines(frequency_mhz, baud, outcome, writer, language);
  header.emplace_back("");
  if (language == Tongue::kChinese) {
    header.emplace_back(
        "供 SDCC 的 sdas8051 汇编；C 中声明为 void uart_init(void)。它可能");
    header.emplace_back("改变 A，SDCC 的调用者从不要求保留 A。");
  } else {
    header.emplace_back(
        "For SDCC's sdas8051; C declares it as void uart_init(void). It may");
    header.emplace_back("change A, which SDCC's callers never expect kept.");
  }
  std::string code = AsmComment(header);
  const Setting& s = *outcome.setting;
  if (!s.chip->note.empty()) {
    code += "\n" + AsmComment(NoteLines(*s.chip, language));
  }

  code += "\n\t.module uart_init\n\t.globl  _uart_init\n\n";
  code += AsmDeclarations(*s.chip, s.generator->writes, language);
  code += "\n\t.area   CSEG    (CODE)\n\n_uart_init:\n";
  for (const Write& write : s.generator->writes) {
    code += Instructions(write, WriteValue(write, outcome),
                         Register(*s.chip, write.reg).address, language);
  }
  return code + "\tret\n";
}

}  // namespace timers
