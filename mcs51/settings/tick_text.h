#pragma once
// A tick setting's cells and labels as every table of ticks shows them,
// beside text.h's for baud rates. Never locale-dependent.

#include <string>

#include "mcs51/settings/ticks.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// A period in the largest unit that keeps it 1 or more, four decimals.
//   PeriodText(1e-3)     -> "1.0000 ms"
//   PeriodText(250e-6)   -> "250.0000 us"
//   PeriodText(1.000434) -> "1.0004 s"
std::string PeriodText(double seconds);

// A tick setting in short: timer, mode and clocks; under --chip with the
// family before it.
//   TickChoiceLabel(8052 t0 mode 1 at 12) -> "t0/1/12"
//   TickLabel(the same by chip)           -> "8052:t0/1/12"
//   TickLabel(the same by default)        -> "T0/1/12"
std::string TickChoiceLabel(const TickSetting& setting);
std::string TickLabel(const TickSetting& setting);

// A tick setting in words, in `language`.
//   TickSettingText(8052 t0 mode 1 at 12)
//       -> "Timer 0, mode 1, 16-bit, reloaded by software, 12 clocks"
//   TickSettingText(8052 t0 mode 1 at 12, kChinese)
//       -> "定时器 0，方式 1，16 位，软件重装，每计数 12 个时钟"
std::string TickSettingText(const TickSetting& setting,
                            Tongue language = Tongue::kEnglish);

}  // namespace mcs51
