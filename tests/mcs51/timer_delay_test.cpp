// Delays paced by a timer: which timer, its counts, and the bound counted
// from the instructions around them. That the time lies within the bound
// on a real core is the s51 run's to show.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>

#include "mcs51/delays/delay.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"

namespace mcs51 {
namespace {

struct Paced {
  const char* name;
  const char* chip;
  double mhz;
  double time_s;
  std::optional<int> timer;
  bool times;
  bool keil;
  int timer_number;
  int overflows;
  int counts;            // per overflow
  double bound_us;       // at the crystal
  bool classic_bound;    // the classic 8051's times, for want of a table
  const char* code_has;  // an instruction the SDCC code holds
};

class TimerDelays : public testing::TestWithParam<Paced> {};

TEST_P(TimerDelays, PickTheTimerAndBoundTheRest) {
  const Paced& row = GetParam();
  const DelayAnswer answer = PlanDelay({.frequency_mhz = row.mhz,
                                        .time_s = row.time_s,
                                        .core = CoreOf(row.chip, 0),
                                        .times = row.times,
                                        .keil = row.keil,
                                        .chip = row.chip,
                                        .timer = row.timer});
  ASSERT_TRUE(answer.plan) << answer.refusal;
  const DelayPlan& plan = *answer.plan;
  ASSERT_EQ(MethodOf(plan), DelayMethod::kTimer);
  const TickOutcome& o = plan.timer->outcome;
  EXPECT_EQ(o.setting->timer->number, row.timer_number);
  EXPECT_EQ(o.interrupts, row.overflows);
  EXPECT_EQ(o.count, row.counts);
  EXPECT_NEAR(plan.bound_s * 1e6, row.bound_us, 1e-9);
  EXPECT_EQ(plan.timer->classic_bound, row.classic_bound);
  const auto has = [&](const std::vector<Instr>& code) {
    return std::any_of(code.begin(), code.end(),
                       [&](const Instr& i) { return i.text == row.code_has; });
  };
  EXPECT_TRUE(has(plan.sdcc)) << row.code_has;
  EXPECT_EQ(plan.keil.empty(), !row.keil);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TimerDelays,
    testing::Values(
        // LCALL 2, TMOD through A 4, TH0 2, TL0 2, CLR TF0 1, SETB TR0 1;
        // two JNBs 4, CLR TF0 1, DJNZ 2, CLR TR0 1, RET 2: 22 cycles.
        Paced{"classic_t0_mode2", "", 12, 1e-3, 0, false, false, 0, 4, 250, 22,
              false, "jnb 0x8D,"},
        // T2CON, RCAP2H, RCAP2L, TH2, TL2 at 2 each instead: 24.
        Paced{"classic_t2_one_overflow", "", 12, 1e-3, 2, false, false, 2, 1,
              1000, 24, false, "clr 0xCF"},
        // 100000 counts: 400 overflows, counted by R2 and R3, the second
        // DJNZ falling through adds 2.
        Paced{"two_counters", "", 12, 0.1, 0, false, false, 0, 400, 250, 24,
              false, "djnz r3,"},
        // Keil's moves of n add 4 cycles, the count's way out 9.
        Paced{"keil_times", "", 12, 1e-3, 0, true, true, 0, 4, 250, 35, false,
              "mov a,dpl"},
        // No table: the timer is chosen, its clock the finest, the bound the
        // classic core's at 12 clocks a cycle: 22 cycles (AUXR's ORL and
        // TMOD's ANL 2 each), 264 clocks.
        Paced{"stc15_chosen",
              "stc15",
              24,
              1e-3,
              {},
              false,
              false,
              0,
              1,
              24000,
              11,
              true,
              "orl 0x8E,#0x80"},
        // A flag in a register that is not bit-addressable is polled
        // through A (MOV, ANL, JZ: 4 cycles) and cleared by ANL: 30 cycles.
        Paced{"stc8_timer3", "stc8", 24, 1e-3, 3, false, false, 3, 1, 24000, 15,
              true, "anl a,#0x02"},
        // The DS80C320's table lacks SETB and JNB: the classic bound, with
        // CKCON's ANL 2 cycles more than the 8052's.
        Paced{"table_without_the_timers_ops", "ds80c320", 12, 1e-3, 0, false,
              false, 0, 4, 250, 24, true, "setb 0x8C"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every family gives a delay at 1 ms, by cycles where its core has a table
// and by a timer elsewhere, or says why not: only the families whose
// records hold no timer that reloads itself are refused, and chips says
// what their records leave out.
TEST(DelayEveryFamily, ByAMethodOrANamedRefusal) {
  const std::set<std::string> refused = {"xc886", "c517a", "c515c"};
  for (const Chip& chip : Chips()) {
    for (const Core* core : chip.cores) {
      SCOPED_TRACE(std::string(chip.name) + " " + std::string(core->key));
      const DelayAnswer answer = PlanDelay({.frequency_mhz = 24,
                                            .time_s = 1e-3,
                                            .core = core,
                                            .chip = chip.name});
      if (refused.contains(std::string(chip.name))) {
        EXPECT_FALSE(answer.plan);
        EXPECT_NE(answer.refusal.find(core->text.en), std::string::npos);
        EXPECT_NE(answer.refusal.find("no timer"), std::string::npos);
        EXPECT_FALSE(chip.not_modelled.empty()) << "chips says why";
        continue;
      }
      ASSERT_TRUE(answer.plan) << answer.refusal;
      EXPECT_EQ(MethodOf(*answer.plan), core->refusal.empty()
                                            ? DelayMethod::kCycles
                                            : DelayMethod::kTimer);
    }
  }
}

}  // namespace
}  // namespace mcs51
