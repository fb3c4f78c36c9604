#pragma once
// Each core's instruction timing, as its maker's table prints it, for the
// handful of instructions a delay loop is built from. A core without a
// table read carries the reason it is refused instead: a delay that might
// be off by a cycle is worse than none.

#include <array>
#include <cstdint>
#include <string_view>

#include "mcs51/words/words.h"

namespace mcs51 {

// The instructions (and the way out of a branch) the delays use.
enum class Op : std::uint8_t {
  kLcall,      // LCALL addr16, the caller's
  kRet,        // RET
  kNop,        // NOP
  kMovRnImm,   // MOV Rn,#data
  kDjnzTaken,  // DJNZ Rn,rel, jumping
  kDjnzOut,    // DJNZ Rn,rel, falling through
  kSjmp,       // SJMP rel
  kMovADir,    // MOV A,direct
  kAddAImm,    // ADD A,#data
  kAddcAImm,   // ADDC A,#data
  kMovDirA,    // MOV direct,A
  kOrlADir,    // ORL A,direct
  kJnzTaken,   // JNZ rel, jumping
  kJnzOut,     // JNZ rel, falling through
  kMovDirRn,   // MOV direct,Rn (Keil's argument into DPL/DPH)
  // What a delay paced by a timer adds: its registers written, its flag
  // polled and cleared.
  kSetbBit,    // SETB bit
  kClrBit,     // CLR bit
  kJnbTaken,   // JNB bit,rel, jumping
  kJnbOut,     // JNB bit,rel, falling through
  kMovDirImm,  // MOV direct,#data
  kAnlDirImm,  // ANL direct,#data
  kOrlDirImm,  // ORL direct,#data
  kMovAImm,    // MOV A,#data
  kAnlAImm,    // ANL A,#data
  kOrlAImm,    // ORL A,#data
  kJzTaken,    // JZ rel, jumping
  kJzOut,      // JZ rel, falling through
  kMovDptr,    // MOV DPTR,#data16
  kMovx,       // MOVX A,@DPTR or MOVX @DPTR,A
  kCount,
};

// The ops a delay loop is made of, which a core's table has all of; the
// rest (kSetbBit on) only a timer-paced delay uses, and a table may lack.
inline constexpr int kLoopOps = static_cast<int>(Op::kSetbBit);

// The core a family's code runs on. Machine cycles are what a delay or a
// handler's timing is counted in.
struct Core {
  std::string_view key;  // in the JSON: "12-clock"
  Words text;            // "classic 8051, 12 clocks per machine cycle"
  int clocks;            // oscillator clocks per cycle of the table
  // Where the cycles come from: title, edition, page or table.
  Words source;
  // What the cycles take for granted ("no wait states"); empty for none.
  Words assumes = {};
  std::array<int, static_cast<int>(Op::kCount)> cycles = {};
  // Why no delay is written for it; empty where `cycles` holds a table
  // (0 for an op the table does not give).
  std::string_view refusal = {};
  // How code that needs this core names it in its first comment line
  // where the classic core was not asked for: "an X2 core, 6 clocks per
  // machine cycle".
  Words needs = {};
};

// The MCS-51 instruction set's cycles, in Op's order: LCALL, RET, NOP,
// MOV Rn,#, DJNZ taken, DJNZ out, SJMP, MOV A,dir, ADD A,#, ADDC A,#,
// MOV dir,A, ORL A,dir, JNZ taken, JNZ out, MOV dir,Rn; SETB bit, CLR bit,
// JNB taken, JNB out, MOV dir,#, ANL dir,#, ORL dir,#, MOV A,#, ANL A,#,
// ORL A,#, JZ taken, JZ out, MOV DPTR,#, MOVX.
inline constexpr std::array<int, static_cast<int>(Op::kCount)> kMcs51Cycles = {
    2, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2,
    1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 2, 2, 2, 2};

inline constexpr Words kMcs51Source = {
    "Atmel, 8051 Microcontroller Instruction Set (document 0509), the "
    "instruction tables' oscillator periods, 12 a machine cycle",
    "Atmel《8051 Microcontroller Instruction Set》（文档 "
    "0509），指令表的振荡周期数，每机器周期 12 个"};

inline constexpr std::string_view kNoTimingTable =
    "the maker's instruction-timing table was not found, so its cycles are "
    "unknown";

// A core whose instruction timing is not recorded: no delay is written
// for it.
constexpr Core RefusedCore(std::string_view key, std::string_view text,
                           int clocks,
                           std::string_view refusal = kNoTimingTable) {
  return {.key = key,
          .text = {text},
          .clocks = clocks,
          .source = {"none"},
          .refusal = refusal};
}

inline constexpr Core kClassicCore = {
    .key = "12-clock",
    .text = {"classic 8051, 12 clocks per machine cycle",
             "经典 8051，每机器周期 12 个时钟"},
    .clocks = 12,
    .source = kMcs51Source,
    .cycles = kMcs51Cycles,
    .needs = {"the classic 8051 core, 12 clocks per machine cycle",
              "经典 8051 内核，每机器周期 12 个时钟"},
};

// X2 halves the clocks of each machine cycle and changes nothing else.
inline constexpr Core kX2Core = {
    .key = "6-clock",
    .text = {"X2 core, 6 clocks per machine cycle",
             "X2 内核，每机器周期 6 个时钟"},
    .clocks = 6,
    .source = {"Atmel, 8051 Microcontroller Instruction Set (document 0509), "
               "machine cycles; Atmel AT89C51RD2/ED2 datasheet, X2 feature: 6 "
               "clocks a machine cycle",
               "Atmel《8051 Microcontroller Instruction Set》（文档 "
               "0509），机器周期数；Atmel AT89C51RD2/ED2 数据手册，X2 "
               "特性：每机器周期 6 个时钟"},
    .cycles = kMcs51Cycles,
    .needs = {"an X2 core, 6 clocks per machine cycle",
              "X2 内核，每机器周期 6 个时钟"},
};

inline constexpr Core kSingleCycleCore = {
    .key = "1t",
    .text = {"single-cycle parts in general"},
    .clocks = 1,
    .source = {"none"},
    .refusal =
        "single-cycle cores time their instructions each their own "
        "way: name the family with --chip",
    .needs = {"a single-cycle core (STC12/STC15-style, AUXR's T0x12 and T1x12)",
              "单周期内核（STC12/STC15 类，AUXR 的 T0x12、T1x12）"},
};

// The cycles of `op` on `core`.
//   Cycles(classic, Op::kLcall) -> 2;  Cycles(classic, Op::kNop) -> 1
int Cycles(const Core& core, Op op);

// The core of `family` (--chip's text: a family, an alias, NAME:GENERATOR,
// or "" for none given: the classic core, or X2's) at `clocks` per cycle
// (0: the family's first), or nullptr when the family has no such choice.
//   CoreOf("", 0)       -> classic 12-clock;  CoreOf("", 6) -> X2
//   CoreOf("x2", 0)     -> X2;  CoreOf("8051", 6) -> nullptr
//   CoreOf("stc15", 0)  -> STC15's, refused
const Core* CoreOf(std::string_view family, int clocks);

// The clocks per cycle `family` takes, the first its default.
//   CoreClocks("")  -> {12, 6};  CoreClocks("8052") -> {12}
//   CoreClocks("ds80c320") -> {4}
struct ClockList {
  std::array<int, 2> clocks = {};
  int count = 0;
};
ClockList CoreClocks(std::string_view family);

}  // namespace mcs51
