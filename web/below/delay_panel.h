#pragma once
// The delay section below the timers: for the window's crystal and the
// chosen family's core, the code `baud51-cli delay FREQ TIME [--chip
// NAME] [--lang asm]` writes, byte for byte, or why none is written. The
// time is read as typed (web/typed.h), then strictly, as the command line
// reads TIME.

#include <string>
#include <string_view>

#include "web/below/page_words.h"

namespace web {

// What the section shows: a message (beside code, its method and bound)
// and the code.
//   DelayShown("1ms", 11.0592, "", en, false).code
//       -> "/* delay_1ms(): 1 ms at 11.0592 MHz on the classic 8051, ..."
//   DelayShown("1ms", 12, "stc15", en, false).message
//       -> "Method: paced by Timer 0; the instructions around its counts
//          add at most 22 us."
//   DelayShown("10", 12, "", en, false).message
//       -> "Time: could not read “10” (needs a unit: s, ms, us or µs). ..."
//   DelayShown("1ms", 12, "xc886", en, false).message
//       -> "The page writes no code for it: no delay for the Infineon
//          XC800 core: ..."
struct DelayShown {
  std::string message;
  std::string code;
};
DelayShown DelayFor(std::string_view time_text, double frequency_mhz,
                    std::string_view chip_filter, Tongue language,
                    bool assembly);

// Shows DelayFor's answer in the section.
void ShowDelay(std::string_view time_text, double frequency_mhz,
               std::string_view chip_filter, Tongue language, bool assembly);

}  // namespace web
