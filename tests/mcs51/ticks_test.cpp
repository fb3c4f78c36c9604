// Ticks: the count, interrupts and reload each timer kind gives for a
// clock and period, and the ranking's tie order.
#include <gtest/gtest.h>

#include <string>

#include "mcs51/answers/answers.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"
#include "mcs51/settings/ticks.h"

namespace mcs51 {
namespace {

struct Row {
  const char* name;
  Filter filter;
  double mhz, period_s;
  const char* reload;  // "--" out of range
  int interrupts;
  Mark mark;
};

const Row kRows[] = {
    {"t0_mode1_1ms",
     {.timer = 0, .clocks = 12, .mode = "1"},
     12,
     1e-3,
     "FC18",
     1,
     Mark::kExact},
    {"t0_mode0_1ms_13_bits",
     {.timer = 0, .clocks = 12, .mode = "0"},
     12,
     1e-3,
     "1C18",
     1,
     Mark::kExact},
    {"t1_mode2_250us",
     {.timer = 1, .clocks = 12, .mode = "2"},
     12,
     250e-6,
     "06",
     1,
     Mark::kExact},
    {"t2_auto_reload_10ms",
     {.timer = 2, .clocks = 12},
     12,
     10e-3,
     "D8F0",
     1,
     Mark::kExact},
    // 1 s is 10^6 counts: 16 x 62500 is exact with the fewest interrupts.
    {"t0_mode1_1s_several",
     {.timer = 0, .clocks = 12, .mode = "1"},
     12,
     1,
     "0BDC",
     16,
     Mark::kExact},
    {"t0_mode2_1s_many",
     {.timer = 0, .clocks = 12, .mode = "2"},
     12,
     1,
     "06",
     4000,
     Mark::kExact},
    // 921.6 counts: 922, not truncated to 921.
    {"rounded_not_truncated",
     {.timer = 0, .clocks = 12, .mode = "1"},
     11.0592,
     1e-3,
     "FC66",
     1,
     Mark::kClose},
    {"x2_counts_twice_as_fast",
     {.timer = 2, .clocks = 6},
     12,
     10e-3,
     "B1E0",
     1,
     Mark::kExact},
    // AT89LP3240/6440 datasheet 3706C, 11: the timers count Fosc / (TPS +
    // 1); 11.2: mode 1 reloads 16 bits from RH1:RL1. 3000 counts.
    {"at89lp_tps_mode1_auto_reload",
     {.timer = 1, .clocks = 4, .chip = "at89lp", .mode = "1"},
     12,
     1e-3,
     "F448",
     1,
     Mark::kExact},
    // ADuC841 datasheet Rev. 0, p. 62: no divide-by-12 on the single-cycle
    // core, so 12000 counts.
    {"aduc84x_core_clock",
     {.timer = 2, .clocks = 1, .chip = "aduc84x"},
     12,
     1e-3,
     "D120",
     1,
     Mark::kExact},
    // N76E003, no printed table: Nuvoton's BSP gives Timer 2's period as
    // (65536 - RCMP2) x T2DIV / Fsys; 16 MHz / 16 is 1000 counts a ms.
    {"n76e003_t2_t2div_16",
     {.timer = 2, .clocks = 16, .chip = "n76e003"},
     16,
     1e-3,
     "FC18",
     1,
     Mark::kExact},
    // Timer 3 behind T3PS /128: 16 MHz / 128 / 1000 Hz = 125 counts.
    {"n76e003_t3_t3ps_128",
     {.timer = 3, .clocks = 128, .chip = "n76e003"},
     16,
     1e-3,
     "FF83",
     1,
     Mark::kExact},
    // Silicon Labs' Timers 2 and 3, no printed table: SYSCLK with TnML set
    // (24500 counts a ms at 24.5 MHz), SYSCLK/12 without.
    {"efm8_t3_sysclk",
     {.timer = 3, .clocks = 1, .chip = "efm8"},
     24.5,
     1e-3,
     "A04C",
     1,
     Mark::kExact},
    {"c8051f_t2_sysclk_12",
     {.timer = 2, .clocks = 12, .chip = "c8051f"},
     24.5,
     10e-3,
     "B03F",
     1,
     Mark::kClose},
    // A modulo counter holds the count less one. TI's CC254x example
    // t1_mod.c (2012): 16 MHz from reset, Timer 1 /128 is a 125 kHz tick;
    // half a second is 62500 counts, T1CC0 62499.
    {"cc2530_t1_modulo_count_less_one",
     {.timer = 1, .clocks = 128, .chip = "cc2530"},
     16,
     0.5,
     "F423",
     1,
     Mark::kExact},
    // TI's CCxx10 example t1_mod.c (2008): 13 MHz from reset, /128 is
    // 101.5625 kHz; 16 ms is 1625 counts.
    {"cc2510_t1_modulo_13_mhz",
     {.timer = 1, .clocks = 128, .chip = "cc2510"},
     13,
     16e-3,
     "0658",
     1,
     Mark::kExact},
    // 256 counts fill an 8-bit modulo counter (T3CC0 0xFF) in one
    // interrupt, which an up-counter's reload cannot: 32 MHz / 128.
    {"cc2530_t3_modulo_all_256_counts",
     {.timer = 3, .clocks = 128, .chip = "cc2530"},
     32,
     1.024e-3,
     "FF",
     1,
     Mark::kExact},
    {"shorter_than_a_handler",
     {.timer = 0, .clocks = 12, .mode = "2"},
     12,
     20e-6,
     "--",
     0,
     Mark::kOutOfRange},
    {"beyond_every_count",
     {.timer = 2, .clocks = 12},
     12,
     1e4,
     "--",
     0,
     Mark::kOutOfRange},
};

TEST(Ticks, EachTimerKind) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const auto settings = TickMatching(row.filter);
    ASSERT_EQ(settings.size(), 1u);
    const TickOutcome o = EvaluateTick(*settings[0], row.mhz, row.period_s, 2);
    EXPECT_EQ(CellText(TickColumns(), "reload_hex", TickRow{o}), row.reload);
    EXPECT_EQ(o.interrupts, row.interrupts);
    EXPECT_EQ(o.mark, row.mark);
  }
}

TEST(Ticks, RankingPrefersHardwareThenFewerInterrupts) {
  // At 12 MHz, 10 ms is exact on T0/T1 mode 1 (software), T2 (hardware,
  // once) and mode 2 (hardware, 40 times).
  const auto ranked = RankTicks(TickMatching({.clocks = 12}), 12, 10e-3, 2);
  std::string order;
  for (const TickOutcome& o : ranked) order += TickLabel(*o.setting) + " ";
  EXPECT_EQ(order, "T2/ar/12 T0/2/12 T1/2/12 T0/1/12 T1/1/12 T0/0/12 T1/0/12 ");
}

// A single-cycle part with a 16-bit auto-reload timer ticks once a period
// on it, not 96 times on Timer 0 or 1 in mode 2 (24000 counts a ms).
TEST(Ticks, SingleCyclePartPrefersItsSixteenBitReload) {
  const auto ranked = RankTicks(TickMatching({.chip = "n76e003"}), 24, 1e-3, 2);
  const TickOutcome& best = ranked.front();
  EXPECT_EQ(best.interrupts, 1);
  EXPECT_EQ(best.setting->mode->modulus, 65536);
  EXPECT_EQ(best.setting->mode->reload, Reload::kHardware);
  EXPECT_EQ(best.mark, Mark::kExact);
  EXPECT_EQ(TickLabel(*best.setting), "n76e003:t2/ar/1");
}

// The register a timer's clock choice lives in, as tick_init() leaves it
// (untouched bits counted as 0): one row per kind of clock record.
struct ClockRow {
  const char* name;
  Filter filter;
  std::string_view reg;
  int value;
};

const ClockRow kClockRows[] = {
    {"stc_t3_1t", {.timer = 3, .clocks = 1, .chip = "stc15"}, "T4T3M", 0x0A},
    {"nuvoton_t1m",
     {.timer = 1, .clocks = 1, .chip = "n76e003"},
     "CKCON",
     0x10},
    {"silabs_sca_48",
     {.timer = 0, .clocks = 48, .chip = "efm8"},
     "CKCON0",
     0x02},
    {"wch_fsys_shared_bit",
     {.timer = 2, .clocks = 1, .chip = "ch552"},
     "T2MOD",
     0xC0},
    {"dallas_t2m", {.timer = 2, .clocks = 4, .chip = "fx2lp"}, "CKCON", 0x20},
    {"at89lp_tps_3",
     {.timer = 0, .clocks = 4, .chip = "at89lp"},
     "CLKREG",
     0x30},
    // LDEN and CAPCR with T2DIV 010 (/16).
    {"nuvoton_t2div_16",
     {.timer = 2, .clocks = 16, .chip = "n76e003"},
     "T2MOD",
     0xA8},
    // T3PS 111 (/128) and TR3, the UARTs' bits left alone.
    {"nuvoton_t3ps_128",
     {.timer = 3, .clocks = 128, .chip = "ms51"},
     "T3CON",
     0x0F},
    {"silabs_t3ml", {.timer = 3, .clocks = 1, .chip = "efm8"}, "CKCON0", 0x40},
    // DIV 10 (/32) and MODE 10 (modulo).
    {"ti_t1_div_32",
     {.timer = 1, .clocks = 32, .chip = "cc2530"},
     "T1CTL",
     0x0A},
    // DIV 110 (/64), START and MODE 10; OVFIM left 0.
    {"ti_t4_div_64",
     {.timer = 4, .clocks = 64, .chip = "cc2510"},
     "T4CTL",
     0xD2},
};

TEST(Ticks, EachClockChoiceSetsItsBits) {
  for (const ClockRow& row : kClockRows) {
    SCOPED_TRACE(row.name);
    const auto settings = TickMatching(row.filter);
    ASSERT_EQ(settings.size(), 1u);
    const TickOutcome o = EvaluateTick(*settings[0], 12, 1e-3, 2);
    ASSERT_TRUE(o.fits);
    int value = -1;
    for (const RegisterValue& r : TickRegisterValues(o)) {
      if (r.name == row.reg) value = r.value;
    }
    EXPECT_EQ(value, row.value);
  }
}

// The flag the handler clears, where entering it does not, declared
// where no compiler header has it: one row per kind of flag record.
struct FlagRow {
  const char* name;
  Filter filter;
  double mhz, period_s;
  const char* reload;
  std::string_view declared, c, assembly;
};

const FlagRow kFlagRows[] = {
    // STC's STC8 Timer 2 example: 65536 - 11.0592 MHz / 12 / 1000 = FC66,
    // its handler "AUXINTIF &= ~T2IF;" (AUXINTIF 0xEF, T2IF 0x01).
    {"stc8_t2if_in_auxintif",
     {.timer = 2, .clocks = 12, .chip = "stc8"},
     11.0592,
     1e-3,
     "FC66",
     "__sfr __at(0xEF) AUXINTIF;",
     "    AUXINTIF &= 0xFE;\n",
     "\tanl   AUXINTIF,#0xFE\n"},
    // The CC2530 keeps Timer 1's CH0IF in T1STAT (0xAF), the CC2510 in
    // T1CTL (bit 5); Timers 3 and 4 in TIMIF. IRCON's clears itself.
    {"cc2530_ch0if_in_t1stat",
     {.timer = 1, .clocks = 8, .chip = "cc2530"},
     32,
     1e-3,
     "0F9F",
     "__sfr __at(0xAF) T1STAT;",
     "    T1STAT &= 0xFE;\n",
     "\tanl   T1STAT,#0xFE\n"},
    {"cc2510_ch0if_in_t1ctl",
     {.timer = 1, .clocks = 8, .chip = "cc2510"},
     26,
     1e-3,
     "0CB1",
     "__sfr __at(0xE4) T1CTL;",
     "    T1CTL &= 0xDF;\n",
     "\tanl   T1CTL,#0xDF\n"},
    {"cc2530_t4ch0if_in_timif",
     {.timer = 4, .clocks = 128, .chip = "cc2530"},
     32,
     1e-3,
     "F9",
     "__sfr __at(0xD8) TIMIF;",
     "    TIMIF &= 0xEF;\n",
     "\tanl   TIMIF,#0xEF\n"},
};

TEST(Ticks, HandlersClearTheirFlags) {
  for (const FlagRow& row : kFlagRows) {
    SCOPED_TRACE(row.name);
    const auto settings = TickMatching(row.filter);
    ASSERT_EQ(settings.size(), 1u);
    const TickOutcome o = EvaluateTick(*settings[0], row.mhz, row.period_s, 2);
    ASSERT_TRUE(o.fits);
    EXPECT_EQ(CellText(TickColumns(), "reload_hex", TickRow{o}), row.reload);
    const std::string c = TickCode(row.mhz, row.period_s, o, "w");
    EXPECT_NE(c.find(row.declared), std::string::npos) << c;
    EXPECT_NE(c.find(row.c), std::string::npos) << c;
    const std::string assembly = AsmTickCode(row.mhz, row.period_s, o, "w");
    EXPECT_NE(assembly.find(row.assembly), std::string::npos) << assembly;
  }
}

}  // namespace
}  // namespace mcs51
