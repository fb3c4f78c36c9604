// The generator kinds: what the ranking finds for a rate, the code reader
// gives back from the same registers. The makers' figures are the
// families' rows.
#include <gtest/gtest.h>

#include <array>

#include "mcs51/hardware/kinds.h"
#include "mcs51/hardware/model.h"
#include "mcs51/settings/ranking.h"

namespace mcs51 {
namespace {

// Every family's every setting, at crystals and rates that reach each kind
// (the CC2530's 32 MHz, the XC886's 24, the LPC900's 7.3728).
TEST(Kinds, GiveBackTheRateTheirReachFound) {
  constexpr std::array kMhz{7.3728, 11.0592, 24.0, 32.0};
  constexpr std::array kBauds{1200.0, 9600.0, 115200.0};
  for (const Setting* s : Matching({.chip = "all"})) {
    const BaudMode& mode = *s->generator;
    for (double mhz : kMhz) {
      for (double baud : kBauds) {
        const Outcome o = Evaluate(*s, mhz, baud, kDefaultTolerancePercent);
        if (!o.fits) continue;
        EXPECT_DOUBLE_EQ(
            mode.kind->rate(mode, s->profile, mhz * 1e6, o.reload, o.step),
            o.actual_baud)
            << s->chip->name << ":" << mode.key << " (" << mode.kind->name
            << ") at " << mhz << " MHz, " << baud;
      }
    }
  }
}

// A step outside the hardware's field gives no rate, whatever the register.
TEST(Kinds, GiveNoRateForAStepBeyondTheirLimits) {
  const BaudMode none{};
  EXPECT_EQ(kinds::kFractional.rate(none, {16, 256}, 24e6, 155, 0), 0.0);
  EXPECT_EQ(kinds::kMantissaExponent.rate(none, {1, 256}, 32e6, 59, 32), 0.0);
}

// A tick's count and its register round-trip, and the most counts fit the
// register: R - 1 counting up (reload 1), R counting modulo (R - 1).
TEST(Kinds, CountAPeriodInTheirRegister) {
  for (const Kind* kind : {&kinds::kUp, &kinds::kDivisorMinusOne}) {
    for (int count : {1, 1000, 65535}) {
      EXPECT_EQ(
          kind->count_of_register(65536, kind->register_of_count(65536, count)),
          count)
          << kind->name;
    }
  }
  EXPECT_EQ(kinds::kUp.register_of_count(256, kinds::kUp.most_counts(256)), 1);
  EXPECT_EQ(kinds::kDivisorMinusOne.register_of_count(
                256, kinds::kDivisorMinusOne.most_counts(256)),
            255);
}

}  // namespace
}  // namespace mcs51
