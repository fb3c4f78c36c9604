#pragma once
// Init code for UART mode 1. In C for SDCC and Keil C51 alike: the 8052
// register names both <8052.h> and <reg52.h> declare, and the registers
// they lack declared for each compiler at the maker's address. In
// assembly for SDCC's sdas8051, every register at its address.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/settings/ranking.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// Why no init code is written for a setting.
enum class Refusal : std::uint8_t {
  kNone,        // the code is written
  kOutOfRange,  // no reload reaches the rate
  kBeyond,      // it reaches the rate only beyond the tolerance
};

// Whether code is written for `outcome`: only for a rate it reaches within
// the tolerance it was evaluated with.
//   RefusalOf(Timer 2/12 at 12 MHz, 9600: +0.16 %)        -> kNone
//   RefusalOf(Timer 1/SMOD 0/12 at 11.0592, 19200: -25 %) -> kBeyond
//   RefusalOf(Timer 1/SMOD 0/12 at 11.0592, 921600)       -> kOutOfRange
template <typename O>  // Outcome or TickOutcome
Refusal RefusalOf(const O& outcome) {
  if (!outcome.fits) return Refusal::kOutOfRange;
  return outcome.mark == Mark::kBeyond ? Refusal::kBeyond : Refusal::kNone;
}

// The setting the code is written for: the best of `settings` (not empty)
// as Rank orders them, and why it is refused, if it is.
//   ChooseForCode(Matching({}), 11.0592, 19200, 2)
//       -> {Timer 1/SMOD 1/12, kNone}
//   ChooseForCode(Matching({.smod = 0, .clocks = 12}), 11.0592, 19200, 2)
//       -> {Timer 1/SMOD 0/12 at -25 %, kBeyond}
struct CodeChoice {
  Outcome best;
  Refusal refusal;
};
CodeChoice ChooseForCode(std::span<const Setting* const> settings,
                         double frequency_mhz, double baud,
                         double tolerance_percent);

// The init code for `outcome` (which fits) at `frequency_mhz` and `baud`:
// a comment with crystal, rate, setting, actual baud and error, and
// `writer` (the program and version); the headers, any extra register, and
// `void uart_init(void)`, which writes the generator's registers with the
// maker's names. Outside the 8051's own timers the comment names the
// family and its documents. The comments are in `language`; the code is
// the same in both.
//   InitCode(11.0592, 9600, Timer 2/12, w) contains "RCAP2L = 0xDC;"
//   InitCode(11.0592, 19200, Timer 1/SMOD 1/12, w) contains "PCON |= 0x80;"
//   InitCode(11.0592, 115200, stc15 t2 at 1T, w) contains "T2L = 0xE8;"
std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome,
                     std::string_view writer,
                     Tongue language = Tongue::kEnglish);

// The same initialisation as InitCode, as an ASxxxx module for SDCC's
// assembler sdas8051: the same comment, the registers it writes declared
// at their addresses, and the global _uart_init, which C calls as
// uart_init(). It uses the accumulator only, which SDCC's callers do not
// expect kept.
//   AsmInitCode(11.0592, 19200, Timer 1/SMOD 1/12, w)
//       contains "\tmov   TH1,#0xFD" and "_uart_init:"
std::string AsmInitCode(double frequency_mhz, double baud,
                        const Outcome& outcome, std::string_view writer,
                        Tongue language = Tongue::kEnglish);

// Each register a setting's code writes, in the order first
// written, and its value after uart_init() counting the bits the code
// leaves alone as 0.
//   RegisterValues(stc15 t2 at 1T, 11.0592 MHz, 115200)
//       -> SCON 0x50, T2L 0xE8, T2H 0xFF, AUXR 0x15
//   RegisterValues(8052 t2 at 12 MHz, 9600) -> SCON 0x50, T2CON 0x34,
//       RCAP2H 0xFF, RCAP2L 0xD9, TH2 0xFF, TL2 0xD9
struct RegisterValue {
  std::string_view name;
  int value;
};
std::vector<RegisterValue> RegisterValues(const Outcome& outcome);

}  // namespace mcs51
