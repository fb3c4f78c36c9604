#include "mcs51/settings/ranking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "mcs51/hardware/catalogue.h"

namespace mcs51 {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

const Setting& Find(int timer, int smod, int clocks) {
  for (const Setting& setting : DefaultSettings()) {
    if (setting.timer == timer && setting.smod == smod &&
        setting.clocks == clocks) {
      return setting;
    }
  }
  throw std::logic_error("no such setting");
}

// Rows printed in vendors' manuals. Their crystals are labelled
// "11.059 MHz"; the part is 11.0592 MHz.
struct ManualRow {
  const char* name;
  int timer, smod, clocks;
  double frequency_mhz;
  double baud;
  int reload;
};
void PrintTo(const ManualRow& row, std::ostream* os) { *os << row.name; }

class ManualTest : public testing::TestWithParam<ManualRow> {};

TEST_P(ManualTest, GivesTheReloadTheManualPrints) {
  const ManualRow& row = GetParam();
  const Outcome outcome =
      Evaluate(Find(row.timer, row.smod, row.clocks), row.frequency_mhz,
               row.baud, kDefaultTolerancePercent);
  ASSERT_TRUE(outcome.fits);
  EXPECT_EQ(outcome.reload, row.reload);
}

INSTANTIATE_TEST_SUITE_P(
    Vendors, ManualTest,
    testing::Values(
        // Intel MCS-51 User's Manual, "Timer 1 Generated Commonly Used Baud
        // Rates" (the same rows: Siemens C501 User's Manual, Table 6-7).
        ManualRow{"IntelT1_62500At12", 1, 1, 12, 12, 62500, 0xFF},
        ManualRow{"IntelT1_19200Smod1", 1, 1, 12, 11.0592, 19200, 0xFD},
        ManualRow{"IntelT1_9600", 1, 0, 12, 11.0592, 9600, 0xFD},
        ManualRow{"IntelT1_4800", 1, 0, 12, 11.0592, 4800, 0xFA},
        ManualRow{"IntelT1_2400", 1, 0, 12, 11.0592, 2400, 0xF4},
        ManualRow{"IntelT1_1200", 1, 0, 12, 11.0592, 1200, 0xE8},
        ManualRow{"IntelT1_137At11986", 1, 0, 12, 11.986, 137.5, 0x1D},
        ManualRow{"IntelT1_110At6", 1, 0, 12, 6, 110, 0x72},
        // 57600 from 11.0592 MHz with SMOD 1 and TH1 = FF: the same table's
        // formula at its smallest divisor, the fastest standard rate a
        // classic core's Timer 1 reaches.
        ManualRow{"T1_57600Smod1", 1, 1, 12, 11.0592, 57600, 0xFF},
        // Philips 8XC51FA/FB and Intel 8XC251 user's manuals, "Timer 2
        // Generated Baud Rates" (Intel Table 10-6).
        ManualRow{"PhilipsT2_375kAt12", 2, -1, 12, 12, 375000, 0xFFFF},
        ManualRow{"PhilipsT2_9600At12", 2, -1, 12, 12, 9600, 0xFFD9},
        ManualRow{"PhilipsT2_4800At12", 2, -1, 12, 12, 4800, 0xFFB2},
        ManualRow{"PhilipsT2_2400At12", 2, -1, 12, 12, 2400, 0xFF64},
        ManualRow{"PhilipsT2_1200At12", 2, -1, 12, 12, 1200, 0xFEC8},
        ManualRow{"PhilipsT2_300At12", 2, -1, 12, 12, 300, 0xFB1E},
        ManualRow{"PhilipsT2_110At12", 2, -1, 12, 12, 110, 0xF2AF},
        ManualRow{"PhilipsT2_300At6", 2, -1, 12, 6, 300, 0xFD8F},
        ManualRow{"PhilipsT2_110At6", 2, -1, 12, 6, 110, 0xF957},
        // Single-cycle Timer 1 (Atmel AT89LP3240/6440 datasheet, Table
        // 16-2; Megawin MPC82G516A datasheet, Table 12-1 with T1X12 = 1).
        ManualRow{"AtmelLpT1_62500At12", 1, 1, 1, 12, 62500, 0xF4},
        ManualRow{"AtmelLpT1_38400", 1, 0, 1, 11.0592, 38400, 0xF7},
        ManualRow{"AtmelLpT1_19200Smod1", 1, 1, 1, 11.0592, 19200, 0xDC},
        ManualRow{"AtmelLpT1_9600", 1, 0, 1, 11.0592, 9600, 0xDC},
        ManualRow{"AtmelLpT1_4800", 1, 0, 1, 11.0592, 4800, 0xB8},
        ManualRow{"AtmelLpT1_2400", 1, 0, 1, 11.0592, 2400, 0x70},
        ManualRow{"MegawinT1_115200", 1, 0, 1, 11.0592, 115200, 0xFD},
        ManualRow{"MegawinT1_57600", 1, 0, 1, 11.0592, 57600, 0xFA}),
    RowName<ManualRow>);

// Worked figures: what the rounded reload really gives, and its mark.
struct OutcomeRow {
  const char* name;
  int timer, smod, clocks;
  double frequency_mhz;
  double baud;
  double tolerance_percent;
  bool fits;
  int reload;
  double actual_baud;
  double error_percent;
  Mark mark;
};
void PrintTo(const OutcomeRow& row, std::ostream* os) { *os << row.name; }

class OutcomeTest : public testing::TestWithParam<OutcomeRow> {};

TEST_P(OutcomeTest, RoundsTheReloadAndMeasuresItsError) {
  const OutcomeRow& row = GetParam();
  const Outcome outcome =
      Evaluate(Find(row.timer, row.smod, row.clocks), row.frequency_mhz,
               row.baud, row.tolerance_percent);
  EXPECT_EQ(outcome.fits, row.fits);
  EXPECT_EQ(outcome.reload, row.reload);
  EXPECT_NEAR(outcome.actual_baud, row.actual_baud, 0.005);
  EXPECT_NEAR(outcome.error_percent, row.error_percent, 0.00005);
  EXPECT_EQ(outcome.mark, row.mark);
}

constexpr double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Figures, OutcomeTest,
    testing::Values(
        // The window's " 33." case: the half rounds to even, 254.
        OutcomeRow{"HalfToEvenGivesMinus25", 1, 0, 12, 11.0592, 19200, 2, true,
                   0xFE, 14400, -25, Mark::kBeyond},
        OutcomeRow{"TwelveMegahertz9600T2", 2, -1, 12, 12, 9600, 2, true,
                   0xFFD9, 9615.38, 0.1603, Mark::kClose},
        OutcomeRow{"X2At9600", 1, 0, 6, 11.0592, 9600, 2, true, 0xFA, 9600, 0,
                   Mark::kExact},
        OutcomeRow{"WithinTolerance", 2, -1, 12, 33, 9600, 2, true, 0xFF95,
                   9637.85, 0.3943, Mark::kWithin},
        OutcomeRow{"WithinTwoPercent", 1, 1, 12, 12, 4800, 2, true, 0xF3,
                   4807.69, 0.1603, Mark::kClose},
        OutcomeRow{"BeyondTighterTolerance", 1, 1, 12, 12, 4800, 0.1, true,
                   0xF3, 4807.69, 0.1603, Mark::kBeyond},
        OutcomeRow{"WithinLooserTolerance", 1, 0, 12, 12, 9600, 9, true, 0xFD,
                   10416.67, 8.5069, Mark::kWithin},
        // Divisor 0.5 rounds the reload to 256, which Timer 1 cannot hold.
        OutcomeRow{"HalfRoundsToModulus", 1, 0, 12, 1.8432, 9600, 2, false, 0,
                   0, 0, Mark::kOutOfRange},
        OutcomeRow{"TooSlowForEightBits", 1, 0, 12, 11.0592, 110, 2, false, 0,
                   0, 0, Mark::kOutOfRange},
        OutcomeRow{"TooFast", 1, 0, 12, 11.0592, 921600, 2, false, 0, 0, 0,
                   Mark::kOutOfRange},
        // The multiplication by a million overflows: out of range, not
        // infinity.
        OutcomeRow{"OverflowingCrystal", 2, -1, 12, kMax, 9600, 2, false, 0, 0,
                   0, Mark::kOutOfRange},
        OutcomeRow{"UnderflowingCrystal", 2, -1, 6, 5e-324, 9600, 2, false, 0,
                   0, 0, Mark::kOutOfRange},
        OutcomeRow{"OverflowingDivisor", 2, -1, 12, 12, 1e-310, 2, false, 0, 0,
                   0, Mark::kOutOfRange}),
    RowName<OutcomeRow>);

struct RankRow {
  const char* name;
  double frequency_mhz;
  double baud;
  Filter filter;
  std::vector<std::string> order;  // "timer/smod/clocks", best first
};
void PrintTo(const RankRow& row, std::ostream* os) { *os << row.name; }

class RankTest : public testing::TestWithParam<RankRow> {};

TEST_P(RankTest, PutsTheBestFirstAndBreaksTiesByTheChip) {
  const RankRow& row = GetParam();
  const std::vector<const Setting*> settings = Matching(row.filter);
  std::vector<std::string> order;
  for (const Outcome& outcome :
       Rank(settings, row.frequency_mhz, row.baud, kDefaultTolerancePercent)) {
    const Setting& s = *outcome.setting;
    order.push_back(std::to_string(s.timer) + "/" + std::to_string(s.smod) +
                    "/" + std::to_string(s.clocks));
  }
  EXPECT_EQ(order, row.order);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, RankTest,
    testing::Values(
        // All exact but one: 12 clocks first, Timer 1 first, SMOD 0 first;
        // the -25 % setting last.
        RankRow{"ExactTiesByClockTimerSmod",
                11.0592,
                19200,
                {},
                {"1/1/12", "2/-1/12", "1/0/6", "1/1/6", "2/-1/6", "1/0/1",
                 "1/1/1", "1/0/12"}},
        // Out of range after every reachable one, however large the error.
        RankRow{"OutOfRangeLast",
                11.0592,
                921600,
                {.clocks = 6},
                {"2/-1/6", "1/0/6", "1/1/6"}},
        RankRow{"SmallerErrorBeatsTieOrder",
                12,
                9600,
                {.clocks = 12},
                {"2/-1/12", "1/1/12", "1/0/12"}},
        RankRow{"SmodLeavesTimerOne",
                11.0592,
                9600,
                {.smod = 1},
                {"1/1/12", "1/1/6", "1/1/1"}},
        RankRow{"TimerTwoHasNoOneClock",
                11.0592,
                9600,
                {.timer = 2},
                {"2/-1/12", "2/-1/6"}},
        RankRow{
            "NothingMatches", 11.0592, 9600, {.timer = 2, .clocks = 1}, {}}),
    RowName<RankRow>);

TEST(RankCrystals, RanksByTheWorstRateAndPutsUnreachableLast) {
  const std::vector<double> rates{9600, 115200};
  const std::vector<ClockModeRanking> rankings =
      RankCrystals(rates, {.clocks = 12}, kDefaultTolerancePercent);
  ASSERT_EQ(rankings.size(), 1u);
  const std::vector<CrystalScore>& crystals = rankings[0].crystals;
  ASSERT_EQ(crystals.size(), kCrystals.size());
  // Exact crystals first, in the order of the list.
  EXPECT_EQ(crystals[0].frequency_mhz, 3.6864);
  EXPECT_EQ(crystals[0].mark, Mark::kExact);
  EXPECT_EQ(crystals[2].frequency_mhz, 11.0592);
  // 1.8432 MHz reaches 9600 exactly but cannot reach 115200 at all.
  const CrystalScore& last = crystals.back();
  EXPECT_FALSE(last.reachable);
  EXPECT_EQ(last.mark, Mark::kOutOfRange);
  for (std::size_t i = 1; i < crystals.size(); ++i) {
    SCOPED_TRACE(crystals[i].frequency_mhz);
    if (!crystals[i].reachable) continue;
    ASSERT_TRUE(crystals[i - 1].reachable);
    EXPECT_LE(std::fabs(crystals[i - 1].worst_error_percent),
              std::fabs(crystals[i].worst_error_percent) + kExactPercent);
  }
}

TEST(RankCrystals, TheWorstErrorIsTheLargestOfTheBestSettings) {
  // At 12 MHz and 12 clocks 9600 is best at +0.16 % (Timer 2), but 19200
  // only at -2.34 % (Timer 2 again): that is the crystal's score.
  const std::vector<double> rates{9600, 19200};
  const std::vector<ClockModeRanking> rankings =
      RankCrystals(rates, {.clocks = 12}, kDefaultTolerancePercent);
  const auto& crystals = rankings.at(0).crystals;
  const auto twelve =
      std::find_if(crystals.begin(), crystals.end(),
                   [](const CrystalScore& c) { return c.frequency_mhz == 12; });
  ASSERT_NE(twelve, crystals.end());
  ASSERT_EQ(twelve->best.size(), 2u);
  EXPECT_NEAR(twelve->best[0].error_percent, 0.1603, 0.0001);
  EXPECT_EQ(twelve->best[1].error_percent, -2.34375);
  EXPECT_EQ(twelve->worst_error_percent, -2.34375);
  EXPECT_EQ(twelve->mark, Mark::kBeyond);
}

TEST(RankCrystals, ListsOnlyTheClockModesTheFilterLeaves) {
  const std::vector<double> rates{9600};
  std::vector<int> modes;
  for (const auto& ranking :
       RankCrystals(rates, {.timer = 2}, kDefaultTolerancePercent)) {
    modes.push_back(ranking.clocks);
  }
  EXPECT_EQ(modes, (std::vector<int>{12, 6}));
}

}  // namespace
}  // namespace mcs51
