#pragma once
// A planned delay (delay.h) as code: C for SDCC and Keil C51, whose loop
// is inline assembly so that no compiler can change it, or an sdas8051
// module that C calls.

#include <string>
#include <string_view>

#include "mcs51/delays/delay.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// What the code says of itself: the name, the time and crystal as typed
// (well, as read back), and whether it takes n.
struct DelayText {
  std::string name;                  // "delay_1ms"
  double frequency_mhz;              // 12
  double time_s;                     // 1e-3
  bool times = false;                // NAME(unsigned int n)
  Tongue tongue = Tongue::kEnglish;  // the comment's
};

// The C: a comment with the time, cycles, actual time and error, the
// table's source, the registers used; then the function for SDCC
// (__naked, its own RET) and for Keil C51 (#pragma asm).
//   DelayCCode({"delay_1ms", 12, 1e-3}, classic, plan) contains
//       "void delay_1ms(void) __naked" and "#pragma asm"
std::string DelayCCode(const DelayText& text, const Core& core,
                       const DelayPlan& plan);

// The same as an sdas8051 module exporting _NAME, n in DPL/DPH as SDCC
// passes it.
//   DelayAsmCode({"delay_1ms", 12, 1e-3}, classic, plan)
//       contains "\t.globl  _delay_1ms"
std::string DelayAsmCode(const DelayText& text, const Core& core,
                         const DelayPlan& plan);

// The time in the unit that keeps it 1 or more, up to six digits.
//   DelayTimeText(1e-3) -> "1 ms";  DelayTimeText(1.0000833e-3)
//       -> "1.00008 ms"
std::string DelayTimeText(double seconds);

}  // namespace mcs51
