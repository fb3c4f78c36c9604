#pragma once
// The timers' section below the baud settings: for the window's crystal,
// the tolerance and the chosen family, every tick setting ranked as
// `baud51-cli tick` ranks them, and the best one's code as `baud51-cli
// tick-code` writes it (C or assembly). The period is read strictly.

#include <span>
#include <string>
#include <string_view>

#include "timers/ticks.h"
#include "web/page_words.h"

namespace web {

// The tick table as text, as TableText lays out the baud table: a header
// line, then per outcome its mark's key and its cells, tab-separated.
//   TickTableText(8052 at 12 MHz, 1 ms) -> a row "exact\t0\t1\t12\tFC18..."
std::string TickTableText(std::span<const mcs51::TickOutcome> ranked,
                          double tolerance_percent, Tongue language);

// Shows the section: the table and the best row's code, or why the period
// could not be read or no code is written, in the table's caption.
void ShowTicks(std::string_view period_text, double frequency_mhz,
               double tolerance_percent, const std::string& chip_filter,
               Tongue language, bool assembly);

}  // namespace web
