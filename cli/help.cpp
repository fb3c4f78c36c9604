// The --help and --version texts. help2man builds the manual page from
// them, so the layout follows its conventions: a "Usage:" line, sections
// that end in a colon, options indented with their text beside them.
#include <fmt/format.h>

#include <string>

#include "cli/command_line.h"
#include "timers/catalogue.h"
#include "timers/ranking.h"
#include "timers/text.h"

#ifndef BAUD51_VERSION_TEXT
#error "BAUD51_VERSION_TEXT comes from the top-level CMakeLists.txt"
#endif

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace timers;  // NOLINT(google-build-using-namespace)

std::string HelpText() {
  return fmt::format(R"(Usage: {0} [OPTIONS] FREQ BAUD
  or:  {0} [OPTIONS] table FREQ [--baud LIST]
  or:  {0} [OPTIONS] crystals BAUD...
  or:  {0} [OPTIONS] code FREQ BAUD [--lang c|asm]
The serial baud-rate timers of 8051 microcontrollers: every setting's reload
for a crystal and rate, tables of the standard rates, crystals ranked for a
set of rates, and init code for UART mode 1 in C or assembly.

Commands:
  FREQ BAUD            every setting for one crystal and rate, best first:
                       reload, actual baud, signed error and mark
  table FREQ           the standard rates against every setting, with the
                       best setting per rate
  crystals BAUD...     the standard crystals ranked per clock mode by the
                       worst error of each rate's best setting
  code FREQ BAUD       init code for the best setting within the
                       tolerance, or for the one the filters pick
  chips                the chip families --chip takes, their baud-rate
                       generators and the manuals they are checked against

Options:
  --timer 1|2          only Timer 1 (mode 2) or only Timer 2 (8052)
  --smod 0|1           only Timer 1 with SMOD 0, or with SMOD 1
  --clock 12|6|1       only the settings at 12, 6 or 1 clocks per machine
                       cycle
  --chip NAME          only that family's generators, with their registers:
                       8051, 8052, x2, 1t, stc8, stc15, stc12, n76e003,
                       ms51, efm8, c8051f, ch552 (also CH554), ds80c320,
                       ds89c4x0, at89lp, xc886 (also XC888), or all;
                       NAME:GENERATOR (stc15:t2) for one generator;
                       --timer and --clock then take the family's values
  --tolerance PERCENT  the error allowed, in percent (default 2)
  --format text|csv|json
                       the output of FREQ BAUD, table and crystals
                       (default text)
  --baud LIST          table: these rates, separated by commas, instead of
                       the standard ones
  --lang c|asm         code: C for SDCC and Keil C51 (default), or an
                       assembly module for SDCC's sdas8051 that C calls as
                       uart_init()
  -h, --help           show this help and exit
  --version            show the version and exit

Numbers:
  FREQ is in MHz, optionally followed by MHz, kHz or Hz in any case:
  11.0592, 11059.2kHz and 11059200Hz are one crystal. BAUD is a number,
  optionally followed by k for thousands: 115.2k. Decimal numbers only,
  with an optional exponent (1.2e6Hz); both must be greater than zero and
  finite. Anything else is rejected.

Settings:
  Timer 1 in mode 2 (8-bit auto-reload) with SMOD 0 or 1, at 12 clocks per
  machine cycle (the classic core), 6 (the X2 mode of Atmel AT89C51RD2/ED2
  and NXP P89C51RD2/P89V51RD2-style parts) or 1 (single-cycle parts of the
  STC12/STC15 kind, with AUXR.T1x12); Timer 2 of the 8052 at 12 or 6
  clocks.
  The reload is rounded half to even; the error is that of the rounded
  reload. Those are all without --chip; the makers' other generators
  (16-bit reloads, UARTs that divide Timer 1 by 2, 4-clock cores,
  prescalers, dedicated and fractional generators) are under --chip.

Marks:
  exact; within 0.2 %; within the tolerance; beyond the tolerance; out of
  range (no reload the timer holds gives the rate). In colour only on a
  terminal, and never when NO_COLOR is set.

Exit status:
  0    the answer is printed
  1    code refuses: the setting cannot reach the rate within the tolerance
  2    bad input: one line on standard error says which argument
  3    the output cannot be written: one line on standard error says why
  4    internal error: one line on standard error; a fault to report

Examples:
  {0} 11.0592 19200
                       every setting for 19200 baud, best first
  {0} table 22.1184MHz --format csv
                       the standard rates for 22.1184 MHz, as CSV
  {0} crystals 9600 115200 --clock 12
                       crystals for both rates on a classic core
  {0} code 11.0592 9600 --timer 2
                       init code with Timer 2 as baud-rate generator
  {0} code 11.0592 19200 --lang asm
                       init code as an assembly module for sdas8051
)",
                     kProgramName);
}

std::string VersionText() {
  return fmt::format("{} {}\n", kProgramName, BAUD51_VERSION_TEXT);
}

std::string ChipsText() {
  std::string text;
  for (const Chip& chip : Chips()) {
    text += fmt::format("{:<9} {}\n", chip.name, chip.family);
    for (const Generator* generator : chip.generators) {
      std::string clocks;
      for (const ClockChoice& choice : generator->arithmetic->choices) {
        clocks +=
            fmt::format("{}{}", clocks.empty() ? "" : ", ", choice.clocks);
      }
      text += fmt::format("          {:<7} {}; clocks per count {}{}\n",
                          generator->key, generator->text, clocks,
                          generator->arithmetic->smod ? "; SMOD 0, 1" : "");
    }
    text += fmt::format("          checked against: {}\n", chip.document);
  }
  return text;
}

}  // namespace cli
