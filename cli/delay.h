#pragma once
// delay FREQ TIME: the code of a delay exact to the cycle on the core
// --chip and --clock pick, or its figures as JSON.

#include <string>

#include "cli/command_line.h"

namespace cli {

struct DelayOutput {
  bool ok = false;
  std::string text;  // the answer, or the refusal without the program name
};

// The C (or, with --lang asm, the sdas8051 module), or with --format json
// one object: name, time, crystal, core, clocks per cycle, cycles, actual
// time, error, the core's source and assumptions, and the code. Refused:
// a core without a table, a time shorter than the call and return or
// longer than the loops reach, a name that is no C name, --format csv.
//   DelayReport({12 MHz, "1ms"}) -> ok, "void delay_1ms(void) __naked ..."
//   DelayReport({12 MHz, "3us"}) -> "TIME \"3us\": shorter than the call
//       and return: at least 4 cycles of 12 clocks (4 us at 12 MHz)"
DelayOutput DelayReport(const Request& request);

}  // namespace cli
