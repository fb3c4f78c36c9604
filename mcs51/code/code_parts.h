#pragma once
// What the C and the assembly init code share: the words of their comments
// and the bits each register write puts in. Inside the library only.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/ticks.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// The sentences every code writer's opening comment ends with.
inline constexpr Words kAfter{"After: {}.", "依据：{}。"};
inline constexpr Words kWrittenBy{"Written by {}.", "由 {} 生成。"};

// The opening comment's lines, without comment marks: crystal, rate,
// setting, reload, actual baud, error (outside the 8051's own timers: the
// family and its documents) and `writer`, in `language`.
std::vector<std::string> HeaderLines(double frequency_mhz, double baud,
                                     const Outcome& outcome,
                                     std::string_view writer, Tongue language);

// Each line broken at spaces, and between Chinese characters, into lines
// of at most `width` columns, a Chinese character taking two; closing
// punctuation stays with what it closes. An empty line stays.
//   WrappedLines({"a b c"}, 3)               -> {"a b", "c"}
//   WrappedLines({"每 1 ms 一个节拍。"}, 10) -> {"每 1 ms 一", "个节拍。"}
std::vector<std::string> WrappedLines(const std::vector<std::string>& lines,
                                      std::size_t width = 72);

// `lines` as one C comment: "/* a\n * b */\n".
std::string CComment(const std::vector<std::string>& lines);

// What a write's bits come from, in either view: the register value
// split into its low register's `low_bits` and the rest, a STEP (-1
// without one), the clock choice's bits, and SMOD (-1 where none).
//   InputsOf(stc15 t2 at 1T, FFE8) -> {0xFFE8, -1, 8, {0x04, 0}, -1}
//   InputsOf(8052 t0 mode 0 at 12, 1C18) -> {0x1C18, -1, 5, {0, 0}, -1}
struct WriteInputs {
  int reload;
  int step;
  int low_bits;
  std::array<std::uint8_t, 2> bits;
  int smod;
};
WriteInputs InputsOf(const Outcome& outcome);
WriteInputs InputsOf(const TickOutcome& outcome);

// The bits one write puts into its register, within its mask.
//   WriteValue({TH1, reload low}, {0xFD, ..}) -> 0xFD
//   WriteValue({PCON, 0x80, smod_bits 0x80}, {.., smod 1}) -> 0x80
int WriteValue(const Write& write, const WriteInputs& inputs);

// Each register `writes` write, in the order first written, and its value
// after them, the bits they leave alone counted as 0.
std::vector<RegisterValue> ValuesOf(std::span<const Write> writes,
                                    const WriteInputs& inputs);

// The first line of the code of a classic family's setting that needs more
// than the 8051's own core (what the settings without --chip fall back to
// where no 12-clock setting is within the tolerance); nothing for others,
// whose code names their family.
//   CoreLine(1t) -> "Needs a single-cycle core with T1x12
//                    (STC12/STC15-style)."
//   CoreLine(8052) -> nothing;  CoreLine(stc15) -> nothing
std::optional<std::string> CoreLine(const Chip& chip, Tongue language);

// A C file's opening: the comment `lines`, the base headers (with each
// compiler's `sdcc` and `keil` lines after them), and the family's `note`
// and declarations of the registers `writes` use that the headers lack.
std::string COpening(const std::vector<std::string>& lines, const Chip& chip,
                     const Words& note, std::span<const Write> writes,
                     Tongue language, std::string_view sdcc = {},
                     std::string_view keil = {});

// An assembly module's opening: the comment `lines` and the family's
// `note`.
std::string AsmOpening(const std::vector<std::string>& lines, const Words& note,
                       Tongue language);

// One C statement of a write, padded for its comment: a whole register, a
// bit set, or the other bits kept; SMOD (-1 where none) picks the comment.
//   CStatement({TCON, 0x40, bit TR1}, 0x40, -1) -> "    TR1 = 1;\n"
//   CStatement({AUXR, 0x40, "T1x12"}, 0x40, -1)
//       -> "    AUXR |= 0x40;                /* T1x12 */\n"
std::string CStatement(const Write& write, int value, int smod,
                       Tongue language = Tongue::kEnglish);

// Declarations, for both compilers, of the registers `writes` use that the
// base headers lack (the chip's own):
//   AUXR at 0x8E -> "__sfr __at(0x8E) AUXR;" / "sfr AUXR = 0x8E;"
//   UART230 in XDATA at 0xE608
//       -> "__xdata __at(0xE608) volatile unsigned char UART230;" /
//          "volatile unsigned char xdata UART230 _at_ 0xE608;"
std::string CDeclarations(const Chip& chip, std::span<const Write> writes);

// ---- Assembly, for sdas8051 ----

// The bit a single-bit write names, or -1 where the register cannot be
// addressed bit by bit (its address is not a multiple of 8).
//   BitOf({TCON, 0x10, bit TR0}, 0x88) -> 4
int BitOf(const Write& write, int address);

// A register or bit declaration, each name once, as "NAME = 0xAA ; note".
std::string AsmDeclarations(const Chip& chip, std::span<const Write> writes,
                            Tongue language = Tongue::kEnglish);

// `lines` as assembly comments.
std::string AsmComment(const std::vector<std::string>& lines);

// One instruction, its operands and comment aligned.
std::string Instruction(std::string_view op, const std::string& operands,
                        std::string_view comment = {});

// One instruction of a write, and the op its time is counted by.
struct AsmStep {
  Op op;
  std::string mnemonic;      // "anl"
  std::string operands;      // "TMOD,#0xF0", or by address "0x89,#0xF0"
  std::string comment = {};  // the write's, on its first instruction
};

// How the steps name a register or bit: by name, which the module
// declares, or by address, which needs no declaration from any compiler.
enum class Spelling : std::uint8_t { kName, kAddress };

// One write as C's statement does it: a bit, a whole register, or the
// other bits kept through the accumulator; an XDATA register through DPTR:
//   UART230 |= 0x01 -> mov dptr,#UART230 / movx a,@dptr / anl a,#0xFE /
//                      orl a,#0x01 / movx @dptr,a
//   TR0 = 1, by address -> {kSetbBit, "setb", "0x8C"}
std::vector<AsmStep> WriteSteps(const Write& write, int value,
                                const Register& target, Spelling spelling,
                                Tongue language = Tongue::kEnglish);

// WriteSteps by name, as lines.
std::string Instructions(const Write& write, int value, const Register& target,
                         Tongue language = Tongue::kEnglish);

}  // namespace mcs51
