#pragma once
// Each core's instruction timing, as its maker's table prints it, for the
// handful of instructions a delay loop is built from. A core without a
// table read carries the reason it is refused instead: a delay that might
// be off by a cycle is worse than none.

#include <array>
#include <cstdint>
#include <string_view>

namespace timers {

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
  kCount,
};

struct Core {
  std::string_view key;   // in the JSON: "12-clock"
  std::string_view text;  // "classic 8051, 12 clocks per machine cycle"
  int clocks;             // oscillator clocks per cycle of the table
  // Where the cycles come from: title, edition, page or table.
  std::string_view source;
  // What the cycles take for granted ("no wait states"); empty for none.
  std::string_view assumes = {};
  std::array<int, static_cast<int>(Op::kCount)> cycles = {};
  // Why no delay is written for it; empty where `cycles` holds a table.
  std::string_view refusal = {};
};

// The cycles of `op` on `core`.
//   Cycles(classic, Op::kLcall) -> 2;  Cycles(classic, Op::kNop) -> 1
int Cycles(const Core& core, Op op);

// The core of `family` (--chip's text: a family, an alias, NAME:GENERATOR,
// or "" for none given)
// at `clocks` per cycle (0: the family's first), or nullptr when the
// family has no such choice.
//   CoreOf("", 0)       -> classic 12-clock;  CoreOf("", 6) -> X2
//   CoreOf("x2", 6)     -> X2;  CoreOf("8051", 6) -> nullptr
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

}  // namespace timers
