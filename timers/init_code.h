#pragma once
// Init code for UART mode 1. In C for SDCC and Keil C51 alike: the 8052
// register names both <8052.h> and <reg52.h> declare, and the registers
// they lack declared for each compiler at the maker's address. In
// assembly for SDCC's sdas8051, every register at its address.

#include <string>
#include <string_view>
#include <vector>

#include "timers/ranking.h"

namespace timers {

// The init code for `outcome` (which fits) at `frequency_mhz` and `baud`:
// a comment with crystal, rate, setting, actual baud and error, and
// `writer` (the program and version); the headers, any extra register, and
// `void uart_init(void)`. A catalogue setting writes its generator's
// registers, with the maker's names, and names its family and document.
//   InitCode(11.0592, 9600, Timer 2/12, w) contains "RCAP2L = 0xDC;"
//   InitCode(11.0592, 19200, Timer 1/SMOD 1/12, w) contains "PCON |= 0x80;"
//   InitCode(11.0592, 115200, stc15 t2 at 1T, w) contains "T2L = 0xE8;"
std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome,
                     std::string_view writer);

// The same initialisation as InitCode, as an ASxxxx module for SDCC's
// assembler sdas8051: the same comment, the registers it writes declared
// at their addresses, and the global _uart_init, which C calls as
// uart_init(). It uses the accumulator only, which SDCC's callers do not
// expect kept. A setting of kSettings writes as its twin in the catalogue
// (8052, x2 or 1t) does.
//   AsmInitCode(11.0592, 19200, Timer 1/SMOD 1/12, w)
//       contains "\tmov   TH1,#0xFD" and "_uart_init:"
std::string AsmInitCode(double frequency_mhz, double baud,
                        const Outcome& outcome, std::string_view writer);

// A catalogue setting's code; InitCode calls it.
std::string ChipInitCode(double frequency_mhz, double baud,
                         const Outcome& outcome, std::string_view writer);

// Each register a catalogue setting's code writes, in the order first
// written, and its value after uart_init() counting the bits the code
// leaves alone as 0.
//   RegisterValues(stc15 t2 at 1T, 11.0592 MHz, 115200)
//       -> SCON 0x50, T2L 0xE8, T2H 0xFF, AUXR 0x15
//   RegisterValues(a setting of kSettings) -> {}
struct RegisterValue {
  std::string_view name;
  int value;
};
std::vector<RegisterValue> RegisterValues(const Outcome& outcome);

}  // namespace timers
