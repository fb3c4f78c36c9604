#pragma once
// Which setting `code` writes for, and the init code in the program's name.

#include <optional>
#include <string>

#include "cli/command_line.h"
#include "timers/catalogue.h"
#include "timers/ranking.h"
#include "timers/text.h"
#include "timers/ticks.h"

namespace cli {

// The setting `code` writes for: the best of those the filters leave, if
// it reaches the rate within the tolerance.
struct CodeAnswer {
  std::optional<mcs51::Outcome> outcome;  // empty when refused
  std::string refusal;                    // one line, when refused
};

//   AnswerCode({11.0592 MHz, 19200})         -> Timer 1, SMOD 1, 12 clocks
//   AnswerCode({11.0592 MHz, 19200, --smod 0 --clock 12})
//       -> "Timer 1, SMOD 0, 12 clocks gives 14400 baud: -25.00 % ..."
//   AnswerCode({11.0592 MHz, 921600, --clock 12}) -> refused, out of range
CodeAnswer AnswerCode(const Request& request);

// mcs51::InitCode, or with kAsm mcs51::AsmInitCode, signed
// "baud51-cli 1.00".
//   InitCode(11.0592, 9600, Timer 2/12, kC) contains "RCAP2L = 0xDC;"
std::string InitCode(double frequency_mhz, double baud,
                     const mcs51::Outcome& outcome, CodeLanguage language);

// tick-code: the best tick setting the filters leave, if it comes within
// the tolerance; one that no setting reaches is refused by Run as bad
// input before.
//   AnswerTickCode({12 MHz, 1 ms}) -> Timer 2, 12 clocks, FC18
//   AnswerTickCode({11.0592 MHz, 1 ms, --tolerance 0.01})
//       -> "the best setting, ... gives 1.0004 ms for 1 ms at 11.0592 MHz:
//          +0.04 %, beyond the 0.01 % tolerance"
struct TickCodeAnswer {
  std::optional<mcs51::TickOutcome> outcome;  // empty when refused
  std::string refusal;
};
TickCodeAnswer AnswerTickCode(const Request& request);

// mcs51::TickCode, or with kAsm mcs51::AsmTickCode, signed as InitCode.
std::string TickCodeText(const Request& request,
                         const mcs51::TickOutcome& outcome);

}  // namespace cli
