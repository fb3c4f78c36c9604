#pragma once
// C init code for UART mode 1, for SDCC and Keil C51 alike: the 8052
// register names both <8052.h> and <reg52.h> declare, and the few
// registers they lack declared for each compiler.

#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/settings.h"

namespace cli {

// The setting `code` writes for: the best of those the filters leave, if
// it reaches the rate within the tolerance.
struct CodeChoice {
  std::optional<Outcome> outcome;  // empty when refused
  std::string refusal;             // one line, when refused
};

//   ChooseForCode({11.0592 MHz, 19200})         -> Timer 1, SMOD 1, 12 clocks
//   ChooseForCode({11.0592 MHz, 19200, --smod 0 --clock 12})
//       -> "Timer 1, SMOD 0, 12 clocks gives 14400 baud: -25.00 % ..."
//   ChooseForCode({11.0592 MHz, 921600, --clock 12}) -> refused, out of range
CodeChoice ChooseForCode(const Request& request);

// The init code for `outcome` (which fits) at `frequency_mhz` and `baud`:
// a comment with crystal, rate, setting, actual baud and error, the
// headers, any extra register, and `void uart_init(void)`.
//   InitCode(11.0592, 9600, Timer 2/12) contains "RCAP2L = 0xDC;"
//   InitCode(11.0592, 19200, Timer 1/SMOD 1/12) contains "PCON |= 0x80;"
//   InitCode(11.0592, 9600, Timer 1/SMOD 0/1) contains "AUXR |= 0x40;"
std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome);

}  // namespace cli
