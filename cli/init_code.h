#pragma once
// Which setting `code` writes for, and the init code in the program's name.

#include <optional>
#include <string>

#include "cli/command_line.h"
#include "timers/catalogue.h"
#include "timers/ranking.h"
#include "timers/text.h"

namespace cli {

// The setting `code` writes for: the best of those the filters leave, if
// it reaches the rate within the tolerance.
struct CodeAnswer {
  std::optional<timers::Outcome> outcome;  // empty when refused
  std::string refusal;                     // one line, when refused
};

//   AnswerCode({11.0592 MHz, 19200})         -> Timer 1, SMOD 1, 12 clocks
//   AnswerCode({11.0592 MHz, 19200, --smod 0 --clock 12})
//       -> "Timer 1, SMOD 0, 12 clocks gives 14400 baud: -25.00 % ..."
//   AnswerCode({11.0592 MHz, 921600, --clock 12}) -> refused, out of range
CodeAnswer AnswerCode(const Request& request);

// timers::InitCode, or with kAsm timers::AsmInitCode, signed
// "baud51-cli 1.00".
//   InitCode(11.0592, 9600, Timer 2/12, kC) contains "RCAP2L = 0xDC;"
std::string InitCode(double frequency_mhz, double baud,
                     const timers::Outcome& outcome, Language language);

}  // namespace cli
