#pragma once
// Delays exact to the cycle: a time rounded to the core's cycles, and the
// instructions that take exactly that long from the start of the caller's
// LCALL to the first instruction after it, call and return included. The
// loops are counted with the core's own table (cores.h), so the same time
// is different code on different cores.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/hardware/cores.h"
#include "mcs51/settings/ticks.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// One instruction of a delay, or a label before one. Branches name their
// label by number; the writers spell it for each assembler.
//   {.op = Op::kMovRnImm, .text = "mov r2,#0x0a"}
//   {.op = Op::kDjnzTaken, .text = "djnz r2,", .target = 1, .label = 1}
struct Instr {
  Op op;
  std::string text;  // lower case, sdas8051's spelling, without the label
  int target = -1;   // the label a branch goes to
  int label = -1;    // the label on this instruction
  // What an address is: the register's or bit's name and what its write
  // does, in the comment's tongue.
  std::string_view name = {};
  Words note = {};
};

// How a delay keeps its time: by counting the core's cycles, or by a
// timer's overflows, where only the instructions around them are not
// exact.
enum class DelayMethod : std::uint8_t { kCycles, kTimer };

// The method as JSON and chips name it.
//   DelayMethodKey(kCycles) -> "cycles";  DelayMethodKey(kTimer) -> "timer"
constexpr std::string_view DelayMethodKey(DelayMethod method) {
  return method == DelayMethod::kTimer ? "timer" : "cycles";
}

struct DelayAsk {
  double frequency_mhz = 0.0;
  double time_s = 0.0;
  const Core* core = nullptr;
  bool times = false;  // NAME(unsigned int n) lasts n times the time
  bool keil = false;   // the code must also suit Keil C51 (C, not asm)
  // The family whose timer records pace a delay (--chip's text; "" for the
  // 8052, or the X2 parts at 6 clocks), and the timer asked for: a timer
  // delay is written where one is asked for or the core has no table.
  std::string_view chip = {};
  std::optional<int> timer = {};
};

// A timer delay's timer: one tick setting of the family, and its counts
// per overflow and overflows per time (as a tick's counts per interrupt
// and interrupts per period).
struct TimerPace {
  TickOutcome outcome;
  // Whether the bound takes the classic 8051's times for want of the
  // core's own table.
  bool classic_bound = false;
};

struct DelayPlan {
  long long cycles = 0;   // the time in the core's cycles (each n's), or
                          // the timer's counts
  double actual_s = 0.0;  // the cycles' time, or the timer's counts'
  double error_percent = 0.0;
  // A timer delay lasts from actual_s - early_s to actual_s + bound_s
  // (each n's, once): its first count may come up to a count early where
  // the timer's clock divider runs free, and the instructions around the
  // counts take at most bound_s. Both 0 for cycles.
  double bound_s = 0.0;
  double early_s = 0.0;
  std::optional<TimerPace> timer;  // none for cycles
  // From the function's first instruction to its RET, RET included;
  // the caller's LCALL is counted, not listed.
  std::vector<Instr> sdcc;
  std::vector<Instr> keil;  // empty unless asked
};

// How `plan` keeps its time.
inline DelayMethod MethodOf(const DelayPlan& plan) {
  return plan.timer ? DelayMethod::kTimer : DelayMethod::kCycles;
}

struct DelayAnswer {
  std::optional<DelayPlan> plan;
  std::string refusal;  // why not, with the limit, when there is no plan
};

// The delay of `ask`, or why none is written. By cycles: unless the core
// has no table, the time is shorter than the call and return (and, with
// n, the counting), or longer than four nested loops reach. By a timer
// (timer_delay.cpp): unless no timer of the family's records reloads
// itself with a flag code can poll, or the time is out of its reach.
//   PlanDelay({12, 1e-3, classic}).plan->cycles          -> 1000
//   PlanDelay({11.0592, 1e-3, classic}).plan->cycles     -> 922
//   PlanDelay({12, 3e-6, classic}).refusal
//       -> "shorter than the call and return: at least 4 machine cycles
//          (4 us at 12 MHz)"
//   PlanDelay({.frequency_mhz = 12, .time_s = 1e-3, .core = classic,
//              .timer = 0}).plan->timer->outcome
//       -> Timer 0 mode 2, 4 overflows of 250 counts
DelayAnswer PlanDelay(const DelayAsk& ask);

// The timer delay of `ask`, or why none is written (timer_delay.cpp).
DelayAnswer PlanTimerDelay(const DelayAsk& ask);

// How `chip`'s delays on `core` keep time, at whatever time is in reach:
// by cycles where the core has a table, else by a timer where one of the
// family's records can pace it, else not at all.
//   DelayMethodOf(8052, classic)     -> kCycles
//   DelayMethodOf(stc15, its core)   -> kTimer
//   DelayMethodOf(xc886, its core)   -> nothing
std::optional<DelayMethod> DelayMethodOf(const Chip& chip, const Core& core);

// The name a time as typed makes: "delay_" and the text with each
// character not allowed in a C name as "_", "µ" as "u".
//   DelayName("1ms") -> "delay_1ms";  DelayName("2.5ms") -> "delay_2_5ms"
//   DelayName("250µs") -> "delay_250us"
std::string DelayName(std::string_view time_text);

// Whether `name` is a C identifier the code can use (and _NAME in asm).
//   IsCName("delay_1ms") -> true;  IsCName("1ms") -> false
bool IsCName(std::string_view name);

}  // namespace mcs51
