#pragma once
// How a setting's numbers follow from its record's arithmetic, as formulas
// with the numbers filled in: the reload, the rate it gives and the error.
// Symbols and numbers only; the front ends add their words.

#include <string>

#include "mcs51/settings/ranking.h"

namespace mcs51 {

struct Working {
  std::string reload;  // how the register value is found
  std::string actual;  // the rate the rounded value gives
  std::string error;   // its signed error against the rate asked for
};

// The working of `outcome` (which fits) at `frequency_mhz` and `baud`. A
// count up from the reload, K written as the UART's divider × clocks per
// count where it is their product:
//   WorkingOf(Timer 1/SMOD 0/12 at 11.0592, 9600).reload
//       -> "TH1 = 256 − 11059200 × 2^0 / (32 × 12 × 9600) = 253 = 0xFD"
//   WorkingOf(Timer 1/SMOD 0/12 at 12, 9600).reload
//       -> "TH1 = 256 − 12000000 × 2^0 / (32 × 12 × 9600) = 252.74… → 253
//           = 0xFD"
//   .actual -> "12000000 × 2^0 / (32 × 12 × (256 − 253)) = 10416.67"
//   .error  -> "(10416.67 − 9600) / 9600 = +8.51 %"
// A down-counter holds the divisor less one ("BG = … − 1"); a fractional
// divider names the STEP and divisor its search found.
Working WorkingOf(const Outcome& outcome, double frequency_mhz, double baud);

}  // namespace mcs51
