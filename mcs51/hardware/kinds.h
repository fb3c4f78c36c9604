#pragma once
// The kinds of baud-rate generator, one record each: how a register value
// and a clock give a rate, the register value a rate asks for (which the
// ranking and the code reader both use), the working as formulas with the
// numbers filled in, and the limits of the registers. A unit's BaudMode and
// TickMode point at their kind; nothing else tells kinds apart.
//
// With K the clocks per count times the UART's divider (over 2^SMOD), R the
// modulus and f the clock in hertz:
//   kUp:               baud = f / (K * (R - reload))     Timer 1, Timer 2
//   kDivisorMinusOne:  baud = f / (K * (BG + 1))         XC886's BG
//   kFractional:       baud = f * STEP / 256 / (K * (BG + 1))
//   kOffset:           baud = f / (K * (BRGR + offset))  LPC900, ADuC84x
//   kMantissaExponent: baud = f * (256 + M) * 2^E / 2^28 CC2530's USART0

#include <string>
#include <string_view>

#include "calc/reload.h"

namespace mcs51 {

struct BaudMode;

// The register values that reach a rate, and the rate they give.
struct Reach {
  bool fits = false;  // some value within the limits reaches it
  int reload = 0;     // the register (BG, BRGR, BAUD_M, TH1)
  int step = -1;      // STEP or BAUD_E; -1 for a kind without one
  double actual = 0.0;
};

// What the working's formulas are written from: the numbers as text, and
// the ones the kind computes with.
struct Terms {
  std::string reg;    // "TH1", "RCAP2", "RH3:RL3"
  std::string f;      // the clock in hertz: "11059200"
  std::string b;      // the rate asked for: "9600"
  std::string k;      // K, or the UART's divider × clocks: "32 × 12"
  std::string twice;  // " × 2^1" where SMOD acts, else ""
  std::string r;      // R: "256"
  std::string hex;    // the register value in hex: "FD"
  double divisor;     // f × 2^SMOD / (K × baud), unrounded
  double modulus;
  int offset;
  std::string_view step_name;  // "STEP", "BAUD_E"
  int reload;
  int step;
  double actual;
};

struct Formulas {
  std::string reload;  // how the register value is found
  std::string actual;  // the rate the value gives
};

struct Kind {
  std::string_view name;  // "up", "divisor-1", "fractional", ...
  // The register values nearest `baud` for `mode` clocked as `profile`
  // (K includes SMOD), the reload rounded half to even as the window rounds
  // it. Never throws: arithmetic that overflows reaches nothing.
  //   kUp, Timer 1 K 384 R 256, 11.0592 MHz, 9600  -> {true, 0xFD, -1, 9600}
  //   kUp, the same at 921600                      -> {false}
  Reach (*reach)(const BaudMode& mode, const calc::TimerProfile& profile,
                 double frequency_mhz, double baud);
  // The rate the values give, or 0 where they give none.
  //   kUp, Timer 1 K 384 R 256, 11059200 Hz, 0xFD -> 9600
  //   kMantissaExponent, 32000000 Hz, M 59, E 8   -> 9613.04 (+0.14 %)
  double (*rate)(const BaudMode& mode, const calc::TimerProfile& profile,
                 double hertz, int reload, int step);
  Formulas (*working)(const Terms& terms);
  // A timer period's count and its register, for the two kinds a tick
  // counts by: up from the reload to R, or 0 ... the register (a modulo or
  // down-counter):
  //   kUp.register_of_count(65536, 1000)             -> 0xFC18
  //   kDivisorMinusOne.register_of_count(65536, 1000) -> 999
  //   kDivisorMinusOne.count_of_register(256, 0xFF)   -> 256
  int (*register_of_count)(double modulus, int count);
  int (*count_of_register)(double modulus, int value);
  // The most counts a period takes: an up-counter's reload 0 would hold R
  // in a register of R - 1.
  double (*most_counts)(double modulus);
  // The step's range, where the kind has one.
  int step_low = -1;
  int step_high = -1;
};

namespace kinds {
extern const Kind kUp;
extern const Kind kDivisorMinusOne;
extern const Kind kFractional;
extern const Kind kOffset;
extern const Kind kMantissaExponent;
}  // namespace kinds

}  // namespace mcs51
