// The --help and --version texts. help2man builds the manual page from
// them, so the layout follows its conventions: a "Usage:" line, sections
// that end in a colon, options indented with their text beside them.
#include <fmt/format.h>

#include <bit>
#include <string>
#include <string_view>

#include "cli/command_line.h"
#include "cli/options.h"

#ifndef BAUD51_VERSION_TEXT
#error "BAUD51_VERSION_TEXT comes from the top-level CMakeLists.txt"
#endif

namespace cli {

namespace {

// Help's layout: a name column of 23, text wrapped to 76 columns in all.
constexpr std::size_t kNameColumn = 23;
constexpr std::size_t kWidth = 76;

// `text` broken at spaces into lines of at most `width`.
std::string Wrapped(std::string_view text, std::size_t width) {
  std::string lines;
  std::size_t line = 0;
  for (std::size_t space; !text.empty();
       text.remove_prefix(space == text.npos ? text.size() : space + 1)) {
    space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    if (line > 0 && line + 1 + word.size() > width) {
      lines += '\n';
      line = 0;
    } else if (line > 0) {
      lines += ' ';
      ++line;
    }
    lines += word;
    line += word.size();
  }
  return lines;
}

// A name and its text, the text beside the name in a column of its own,
// or below it when the name is wider.
std::string Entry(std::string_view name, std::string_view text) {
  std::string entry = fmt::format("  {:<{}}", name, kNameColumn - 2);
  if (name.size() + 2 >= kNameColumn && !text.empty()) {
    entry += '\n' + std::string(kNameColumn, ' ');
  }
  for (char c : Wrapped(text, kWidth - kNameColumn)) {
    entry += c;
    if (c == '\n') entry.append(kNameColumn, ' ');
  }
  return entry + '\n';
}

// A line per command, the options only it takes beside it.
std::string Usage() {
  std::string usage;
  for (const CommandRow& command : CommandRows()) {
    usage += fmt::format("{} {} [OPTIONS] {}",
                         usage.empty() ? "Usage:" : "\n  or: ", kProgramName,
                         UsageText(command));
    for (const OptionRow& option : OptionRows()) {
      // An option of a few commands only, such as --baud or --lang.
      if ((option.commands & Bit(command.command)) != 0 &&
          std::popcount(option.commands) <= 3) {
        const std::string value = MetavarText(option);
        usage += value.empty() ? fmt::format(" [{}]", option.name)
                               : fmt::format(" [{} {}]", option.name, value);
      }
    }
  }
  return usage + '\n';
}

}  // namespace

std::string HelpText() {
  std::string commands;
  for (const CommandRow& command : CommandRows()) {
    commands += Entry(UsageText(command), command.help);
  }
  std::string options;
  for (const OptionRow& option : OptionRows()) {
    std::string name(option.name);
    if (!option.short_name.empty()) {
      name = fmt::format("{}, {}", option.short_name, name);
    }
    if (option.values != Values::kFlag) name += " " + MetavarText(option);
    options += Entry(name, HelpLine(option));
  }
  return Usage() +
         fmt::format(
             R"(The serial baud-rate timers of 8051 microcontrollers: every setting's reload
for a crystal and rate, tables of the standard rates, crystals ranked for a
set of rates, and init code for UART mode 1 in C or assembly.

Commands:
{1}
Options:
{2}
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

Link (--peer):
  Each direction is judged as a classic UART receives: 16 ticks a bit, the
  majority of ticks 7, 8 and 9, the start edge seen up to one tick late.
  The margin is the worst distance of a middle sample to an edge of its
  bit over the frame, in percent of a bit, with both clocks off by
  --clock-ppm, each in its worse direction. works: 1/16 bit or more to
  spare; marginal: inside with less; fails: on or beyond an edge. The
  link shows the worse of the two directions.

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
  {0} 11.0592 115200 --peer ch340
                       every setting, and its link with a CH340 cable
  {0} crystals 9600 115200 --clock 12
                       crystals for both rates on a classic core
  {0} code 11.0592 9600 --timer 2
                       init code with Timer 2 as baud-rate generator
  {0} code 11.0592 19200 --lang asm
                       init code as an assembly module for sdas8051
)",
             kProgramName, commands, options);
}

std::string VersionText() {
  return fmt::format("{} {}\n", kProgramName, BAUD51_VERSION_TEXT);
}

}  // namespace cli
