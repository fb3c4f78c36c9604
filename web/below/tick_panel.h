#pragma once
// The timers' section below the baud settings: for the window's crystal,
// the tolerance and the chosen family, every tick setting ranked as
// `baud51-cli tick` ranks them, each row choosable, and the chosen one's
// code as `baud51-cli tick-code` writes the best's (C or assembly). The
// period is read as typed (web/typed.h), then strictly.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/settings/ticks.h"
#include "web/below/page_words.h"

namespace web {

// The tick table as text, as TableText lays out the baud table: a header
// line, then per outcome its mark's key and its cells, tab-separated.
//   TickTableText(8052 at 12 MHz, 1 ms) -> a row "exact\t0\t1\t12\tFC18..."
std::string TickTableText(std::span<const mcs51::TickOutcome> ranked,
                          double tolerance_percent, Tongue language);

// What the section is asked to show: the period as typed, the window's
// crystal, and the setting chosen by its label (empty: the best).
struct TickAsk {
  std::string_view period_text;
  double frequency_mhz = 0, tolerance_percent = 0;
  std::string_view chip_filter, chosen;
  Tongue language = Tongue::kChinese;
  bool assembly = false;
  // false: the table stands as the user just chose in it, focus and all;
  // only the code follows.
  bool table = true;
};

// What it shows: each row's setting, best first, and the row chosen (the
// best where `chosen` is not among them); no rows when the period could
// not be read.
//   ShowTicks({"1ms", 12, 2, "", "T0/1/12"}) -> chosen: T0/1/12's row
//   ShowTicks({"1ms", 12, 2, "", "x"}).chosen -> 0
struct TicksShown {
  std::vector<std::string> labels;
  std::size_t chosen = 0;
};

// Shows the section: the table, the chosen row's code, and in its status
// line why the period could not be read or no code is written.
TicksShown ShowTicks(const TickAsk& ask);

}  // namespace web
