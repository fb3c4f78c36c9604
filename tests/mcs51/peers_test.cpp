#include "mcs51/settings/peers.h"
#include "mcs51/answers/answers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace mcs51 {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// Each row says what it rests on.
struct PeerRow {
  const char* name;
  const char* peer;
  double baud;
  std::optional<double> actual;
};

class PeerRate : public testing::TestWithParam<PeerRow> {};

TEST_P(PeerRate, IsTheBridgesOwn) {
  const PeerRow& row = GetParam();
  const Peer* peer = FindPeer(row.peer);
  ASSERT_NE(peer, nullptr);
  const std::optional<double> actual = peer->actual(row.baud);
  ASSERT_EQ(actual.has_value(), row.actual.has_value());
  if (actual) {
    EXPECT_NEAR(*actual, *row.actual, 0.01);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bridges, PeerRate,
    testing::Values(
        // FTDI AN232B-05's divisor list: 312.5 gives 9600 exactly.
        PeerRow{"ft232r_9600_divisor_312_5", "ft232r", 9600, 9600.0},
        // AN232B-05's example: 490000 needs 6.122, the nearest is 6.125.
        PeerRow{"ft232bm_490000_divisor_6_125", "ft232bm", 490000, 489795.92},
        // AN232B-05: divisor 1 (1.5 as n + k/8) gives 2 MBaud.
        PeerRow{"ft232bm_2000000_divisor_1_5", "ft232bm", 2e6, 2e6},
        // 24 MHz / 2.5 MBaud is 9.6 eighths, 1.25: a sub-integer divisor
        // below 2, which AN232B-05 does not allow.
        PeerRow{"ft232bm_2500000_divisor_1_25_unknown", "ft232bm", 2.5e6,
                std::nullopt},
        // Below 183.1 baud the 14-bit divisor runs out.
        PeerRow{"ft232r_110_unreachable", "ft232r", 110, std::nullopt},
        // ch341.c: 48 MHz / 4 / 13 (prescaler 3, fact 1).
        PeerRow{"ch340_921600_divisor_13", "ch340", 921600, 923076.92},
        // ch341.c's slowest rate, CH341_MIN_BPS: CH341_CLKRATE 48 MHz /
        // (4096 * 255).
        PeerRow{"ch340_46_is_48_mhz_by_4096_by_255", "ch340", 46, 45.96},
        // AN205 Table 1 maps 115200 to itself.
        PeerRow{"cp2102_115200_is_the_table_rate", "cp2102", 115200, 115200.0},
        // cp210x.c caps a CP2102 at 1000000, which AN205 maps to 921600.
        PeerRow{"cp2102_1500000_capped_to_921600", "cp2102", 1.5e6, 921600.0},
        // The older name is the CP2102's.
        PeerRow{"cp210x_is_cp2102", "cp210x", 7207, 7200.0},
        // CP2104 data sheet 6.1: 48 MHz / (2 * 208).
        PeerRow{"cp2104_115200_48_mhz_by_416", "cp2104", 115200, 115384.62},
        // cp210x.c caps a CP2104 at 2000000: 48 MHz / (2 * 12).
        PeerRow{"cp2104_3000000_capped_at_2000000", "cp2104", 3e6, 2e6},
        // cp210x.c clamps the CP2105's SCI port to 2400 ... 921600 and
        // sends the AN205 rate: 74880 makes 76800, 1200 makes 2400.
        PeerRow{"cp2105_sci_74880_is_76800", "cp2105-sci", 74880, 76800.0},
        PeerRow{"cp2105_sci_1200_clamped_to_2400", "cp2105-sci", 1200, 2400.0},
        PeerRow{"cp2105_sci_1000000_clamped_to_921600", "cp2105-sci", 1e6,
                921600.0},
        // Its ECI port reckons as the CP2104.
        PeerRow{"cp2105_eci_3000000_capped_at_2000000", "cp2105-eci", 3e6, 2e6},
        // The CP2108: AN205 below 1 MBaud, the request itself above.
        PeerRow{"cp2108_74880_is_76800", "cp2108", 74880, 76800.0},
        PeerRow{"cp2108_1500000_is_itself", "cp2108", 1.5e6, 1.5e6},
        PeerRow{"cp2108_3000000_capped_at_2000000", "cp2108", 3e6, 2e6},
        // The CP2102N reaches 3 MBaud: 48 MHz / (2 * 8).
        PeerRow{"cp2102n_4000000_capped_at_3000000", "cp2102n", 4e6, 3e6},
        // pl2303.c sends an HXN any rate as itself, up to 12 MBaud.
        PeerRow{"pl2303hxn_74880_sent_as_itself", "pl2303hxn", 74880, 74880.0},
        PeerRow{"pl2303hxn_20000000_capped_at_12000000", "pl2303hxn", 2e7,
                1.2e7},
        // pl2303.c sends 115200, one of its standard rates, as itself.
        PeerRow{"pl2303_115200_sent_as_itself", "pl2303", 115200, 115200.0},
        // pl2303.c's divisor: 384e6 / (312 * 4^2).
        PeerRow{"pl2303_76800_divisor_312_by_16", "pl2303", 76800, 76923.08},
        // pl2303.c caps an HX at 6000000, a standard rate.
        PeerRow{"pl2303_8000000_capped_at_6000000", "pl2303", 8e6, 6e6},
        // A request that is no number has no whole rate to send.
        PeerRow{"cp2104_nan_makes_nothing", "cp2104",
                std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        // pl2303.c's TA divisor: 384e6 / (1250 * 2^2).
        PeerRow{"pl2303ta_76800_divisor_1250_by_4", "pl2303ta", 76800,
                76800.0}),
    RowName<PeerRow>);

// Sends frames bit by bit at `transmitter` baud and samples them as the
// receiver at `receiver` baud does: 16 ticks a bit, the majority of ticks 7,
// 8 and 9 after the one that saw the start edge, for every phase of that
// tick and corner of the clocks' tolerance. Two frames are sent, their
// data bits alternating in opposite phase, back to back with the next
// start bit, so that a sample in a neighbouring bit reads wrong in one.
struct Sampled {
  double margin_percent = std::numeric_limits<double>::infinity();
  bool read_back = true;
};

Sampled SampleByBit(double transmitter, double receiver, int bits,
                    double clock_ppm) {
  Sampled sampled;
  const double p = clock_ppm * 1e-6;
  for (int pattern = 0; pattern < 2; ++pattern) {
    // Idle before the first frame; frames back to back after it.
    const auto level = [&](long bit) -> int {
      if (bit < 0) return 1;
      bit %= bits;
      if (bit == 0) return 0;
      if (bit == bits - 1) return 1;
      return static_cast<int>((bit + pattern) % 2);
    };
    for (double tx_off : {-p, 0.0, p}) {
      for (double rx_off : {-p, 0.0, p}) {
        const double tx = transmitter * (1 + tx_off);
        const double tick = 1 / (16 * receiver * (1 + rx_off));
        for (int phase = 0; phase <= 64; ++phase) {
          const double seen = tick * phase / 64;
          for (int n = 0; n < bits; ++n) {
            int ones = 0;
            for (int k : {7, 8, 9}) {
              const double t = seen + (16 * n + k) * tick;
              ones += level(static_cast<long>(std::floor(t * tx)));
            }
            if ((ones >= 2) != (level(n) == 1)) sampled.read_back = false;
            const double middle = (seen + (16 * n + 8) * tick) * tx;
            sampled.margin_percent =
                std::min(sampled.margin_percent,
                         100 * std::min(middle - n, (n + 1) - middle));
          }
        }
      }
    }
  }
  return sampled;
}

struct VerdictRow {
  const char* name;
  double mismatch_percent;  // the peer's rate against the 8051's
  Frame frame;
  double clock_ppm;
  LinkMark mark;
};

class Verdict : public testing::TestWithParam<VerdictRow> {};

TEST_P(Verdict, AgreesWithTheSampler) {
  const VerdictRow& row = GetParam();
  const double ours = 9600;
  const double theirs = ours * (1 + row.mismatch_percent / 100);
  const Link link =
      JudgeLink(*FindPeer("exact"), theirs, ours, row.frame, row.clock_ppm);
  EXPECT_EQ(LinkKey(link.mark), LinkKey(row.mark));
  ASSERT_TRUE(link.mismatch_percent.has_value());
  EXPECT_NEAR(*link.mismatch_percent, row.mismatch_percent, 1e-9);
  for (const auto& [tx, rx] : {std::pair{ours, theirs}, {theirs, ours}}) {
    const double closed = SampleMarginPercent(tx, rx, row.frame, row.clock_ppm);
    const Sampled sampled =
        SampleByBit(tx, rx, FrameBits(row.frame), row.clock_ppm);
    EXPECT_NEAR(sampled.margin_percent, std::max(closed, -100.0), 1e-9);
    EXPECT_EQ(sampled.read_back, closed > 0) << tx << " to " << rx;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Mismatches, Verdict,
    testing::Values(
        VerdictRow{"plus_0_16_well_inside", 0.16, Frame::k8n1, 100,
                   LinkMark::kWorks},
        // Faster peer: its stop bit ends at 10 / 9.5625 of ours, +4.575 %.
        VerdictRow{"plus_4_5_inside_the_edge", 4.5, Frame::k8n1, 0,
                   LinkMark::kMarginal},
        VerdictRow{"plus_4_65_beyond_the_edge", 4.65, Frame::k8n1, 0,
                   LinkMark::kFails},
        // Slower peer: our stop bit read by it, edge at -4.375 %.
        VerdictRow{"minus_4_3_inside_the_edge", -4.3, Frame::k8n1, 0,
                   LinkMark::kMarginal},
        VerdictRow{"minus_4_45_beyond_the_edge", -4.45, Frame::k8n1, 0,
                   LinkMark::kFails},
        VerdictRow{"plus_8_51_well_outside", 8.51, Frame::k8n1, 100,
                   LinkMark::kFails},
        // An eleventh bit moves the edge in to +4.142 %.
        VerdictRow{"plus_4_3_fails_with_nine_bits", 4.3, Frame::k9n1, 0,
                   LinkMark::kFails},
        // The clocks' tolerance tips a marginal link over.
        VerdictRow{"plus_4_55_marginal_at_0_ppm", 4.55, Frame::k8n1, 0,
                   LinkMark::kMarginal},
        VerdictRow{"plus_4_55_fails_at_200_ppm", 4.55, Frame::k8n1, 200,
                   LinkMark::kFails}),
    RowName<VerdictRow>);

TEST(Verdict, MatchedClocksLeaveSevenSixteenthsOfABit) {
  EXPECT_DOUBLE_EQ(SampleMarginPercent(9600, 9600, Frame::k8n1, 0), 43.75);
}

}  // namespace
}  // namespace mcs51
