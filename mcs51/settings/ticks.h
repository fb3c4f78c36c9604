#pragma once
// A tick every period: each general-purpose timer setting of the catalogue
// (model.h, TickMode) for one clock and period, how near it comes, and
// the ranking. Numbers and ranks only, as ranking.h is for baud rates.

#include <span>
#include <string>
#include <vector>

#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ranking.h"

namespace mcs51 {

// One timer in one mode at one clock choice.
struct TickSetting {
  const Chip* chip;
  const Unit* timer;
  const TickMode* mode;
  int choice;  // index into timer->clocks
  int clocks;  // oscillator clocks per count
  // Asked for by --chip: outputs name the family; the default settings
  // are the same records without it.
  bool by_chip = true;
};

// The fewest counts between two interrupts offered: the handler needs some
// thirty of the core's cycles, and a timer counts no slower than those.
inline constexpr double kMinTickCounts = 64;
// Interrupts per period are counted in an unsigned int.
inline constexpr int kMaxInterrupts = 65535;

// One setting's answer for one clock and period.
struct TickOutcome {
  const TickSetting* setting;
  bool fits;               // a count 1 ... R-1 per interrupt reaches it
  int reload;              // R - count, or count - 1 counting modulo (the
                           // kind's register_of_count); 0 when it does not fit
  int count;               // counts per interrupt; 0 when it does not fit
  int interrupts;          // per period, 1 or more; 0 when it does not fit
  double actual_period_s;  // 0 when it does not fit
  double error_percent;    // signed; 0 when it does not fit
  Mark mark;
};

// The interrupts per period n and counts per interrupt c (1 ... R - 1, no
// interval shorter than kMinTickCounts) whose product comes nearest the
// period's counts, the fewest interrupts among equals; c rounded half to
// even for each n.
//   EvaluateTick(8052 t0 mode 1 at 12, 12, 1e-3, 2)  -> FC18, 1 ms, exact
//   EvaluateTick(8052 t0 mode 1 at 12, 12, 1, 2)     -> 16 x 62500 counts
//   EvaluateTick(8052 t0 mode 2 at 12, 12, 250e-6, 2) -> 06, 1 interrupt
//   EvaluateTick(8052 t0 mode 2 at 12, 12, 2e-5, 2)  -> out of range
// `fewest` counts between overflows where another minimum holds (a loop
// polling the timer's flag must keep up with it).
TickOutcome EvaluateTick(const TickSetting& setting, double frequency_mhz,
                         double period_s, double tolerance_percent,
                         double fewest = kMinTickCounts);

// Every setting of `chip` (nullptr: every family's), each timer's modes
// and clock choices in order; DefaultTickSettings: those of
// kDefaultFamilies, by_chip false, in that order (the 8051's own timers
// first, as for baud).
//   ChipTickSettings(FindChip("8052")).size() -> 7
const std::vector<TickSetting>& ChipTickSettings(const Chip* chip);
std::span<const TickSetting> DefaultTickSettings();

// The tick settings `filter` leaves (timer number, mode key, clocks,
// chip), in tie order; SMOD does not apply. A mode that does not reload
// is none: nothing would keep its period.
//   TickMatching({.timer = 2}) -> Timer 2 at 12 and at 6 clocks
//   TickMatching({.chip = "8051", .mode = "2"}) -> Timer 0 and 1 in mode 2
std::vector<const TickSetting*> TickMatching(const Filter& filter);

// A tick outcome's place under ranking.h's one rule.
RankKey KeyOf(const TickOutcome& outcome);

// Best first by RankKey, ties in the order given.
//   RankTicks(all, 12, 10e-3, 2).front() -> Timer 2, 12 clocks, D8F0
//   RankTicks(all, 11.0592, 1e-3, 2).front()
//       -> Timer 2, 12 clocks, FC66 (not a single-cycle timer's 70 parts)
std::vector<TickOutcome> RankTicks(std::span<const TickSetting* const> settings,
                                   double frequency_mhz, double period_s,
                                   double tolerance_percent);

}  // namespace mcs51
