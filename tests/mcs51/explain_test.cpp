// Reading code back: every family's code, as code and tick-code write it,
// reads back as exactly the setting it was written for; and hand-written
// snippets, one per kind of finding.
#include "mcs51/explain/explain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "mcs51/code/init_code.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/explain/explain_checks.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ticks.h"

namespace mcs51 {
namespace {

constexpr double kMhz[] = {11.0592, 12, 22.1184, 24};
constexpr double kRates[] = {1200, 9600, 19200, 57600, 115200};
constexpr double kPeriods[] = {250e-6, 1e-3, 10e-3};
constexpr double kTolerance = 2;

std::string Where(const Chip& chip, double mhz, double value, bool assembly) {
  return std::string(chip.name) + " at " + std::to_string(mhz) + " MHz, " +
         std::to_string(value) + (assembly ? ", asm" : ", C");
}

// The first of the family's tick settings whose code is the same as that
// of `s`: the ADuC84x's timers and the ADuC83x's are written alike, and
// no code can tell them apart.
bool Same(const std::vector<RegisterValue>& a,
          const std::vector<RegisterValue>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const RegisterValue& x, const RegisterValue& y) {
                      return x.name == y.name && x.value == y.value;
                    });
}

const TickSetting* Twin(const Chip& chip, const TickOutcome& o) {
  for (const TickSetting& t : ChipTickSettings(&chip)) {
    TickOutcome other = o;
    other.setting = &t;
    if (t.timer->number == o.setting->timer->number &&
        t.mode->key == o.setting->mode->key &&
        Same(TickRegisterValues(other), TickRegisterValues(o))) {
      return &t;
    }
  }
  return o.setting;
}

class RoundTrip : public testing::TestWithParam<std::string_view> {
 protected:
  const Chip& chip_ = *FindChip(GetParam());
  const explain::Family& family_ = *explain::FindFamily(GetParam());
};

TEST_P(RoundTrip, BaudCodeReadsBackAsItsSetting) {
  int written = 0;
  for (const Setting& s : ChipSettings(&chip_)) {
    for (double mhz : kMhz) {
      for (double rate : kRates) {
        const Outcome o = Evaluate(s, mhz, rate, kTolerance);
        if (RefusalOf(o) != Refusal::kNone) continue;
        for (bool assembly : {false, true}) {
          const std::string code = assembly ? AsmInitCode(mhz, rate, o, "t")
                                            : InitCode(mhz, rate, o, "t");
          const Explanation e = Explain(code, mhz, family_, kTolerance);
          SCOPED_TRACE(Where(chip_, mhz, rate, assembly) + "\n" + code);
          ++written;
          ASSERT_EQ(e.problem, CodeProblem::kNone);
          ASSERT_EQ(e.serial.size(), 1u);
          const SerialUse& use = e.serial.front();
          ASSERT_NE(use.setting, nullptr);
          EXPECT_EQ(use.setting->baud, &s) << use.setting->label;
          EXPECT_EQ(use.reload, o.reload);
          if (o.step >= 0) {
            EXPECT_EQ(use.step, o.step);
          }
          EXPECT_NEAR(use.actual_baud, o.actual_baud, o.actual_baud * 1e-12);
          EXPECT_EQ(use.nearest_baud, rate);
          EXPECT_TRUE(use.receives);
          EXPECT_TRUE(e.findings.empty()) << e.findings.front().text;
        }
      }
    }
  }
  EXPECT_GT(written, 0);
}

TEST_P(RoundTrip, TickCodeReadsBackAsItsSetting) {
  for (const TickSetting& s : ChipTickSettings(&chip_)) {
    if (s.mode->reload == Reload::kNone) continue;  // written by no one
    for (double mhz : kMhz) {
      for (double period : kPeriods) {
        const TickOutcome o = EvaluateTick(s, mhz, period, kTolerance);
        if (!o.fits || o.mark == Mark::kBeyond) continue;
        for (bool assembly : {false, true}) {
          const std::string code = assembly ? AsmTickCode(mhz, period, o, "t")
                                            : TickCode(mhz, period, o, "t");
          const Explanation e = Explain(code, mhz, family_, kTolerance);
          SCOPED_TRACE(Where(chip_, mhz, period, assembly) + "\n" + code);
          ASSERT_EQ(e.problem, CodeProblem::kNone);
          ASSERT_EQ(e.timers.size(), 1u);
          const TimerUse& use = e.timers.front();
          ASSERT_NE(use.setting, nullptr);
          EXPECT_EQ(use.setting->tick, Twin(chip_, o))
              << use.setting->label << " mode " << use.setting->mode << " at "
              << use.setting->clocks;
          EXPECT_EQ(use.reload, o.reload);
          EXPECT_TRUE(use.running);
          EXPECT_TRUE(use.interrupt);
          EXPECT_EQ(use.reloaded_by, s.mode->reload == Reload::kHardware
                                         ? ReloadedBy::kHardware
                                         : ReloadedBy::kHandler);
          if (use.setting->tick == &s) {
            EXPECT_NEAR(use.period_s * o.interrupts, o.actual_period_s,
                        o.actual_period_s * 1e-12);
          }
          EXPECT_TRUE(e.serial.empty());
          EXPECT_TRUE(e.findings.empty()) << e.findings.front().text;
        }
      }
    }
  }
}

std::vector<std::string_view> FamilyNames() {
  std::vector<std::string_view> names;
  for (const Chip& chip : Chips()) names.push_back(chip.name);
  return names;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, RoundTrip, testing::ValuesIn(FamilyNames()),
                         [](const auto& info) {
                           std::string name(info.param);
                           for (char& c : name) {
                             if (std::isalnum(static_cast<unsigned char>(c)) ==
                                 0)
                               c = '_';
                           }
                           return name;
                         });

// One snippet per kind of finding, on the classic 8052 at 12 MHz.
struct FindingRow {
  const char* name;
  const char* source;
  FindingKind kind;
  int line;
};

class Findings : public testing::TestWithParam<FindingRow> {};

TEST_P(Findings, PointsAtTheLine) {
  const FindingRow& row = GetParam();
  const Explanation e =
      Explain(row.source, 12, *explain::FindFamily("8052"), 2);
  ASSERT_EQ(e.problem, CodeProblem::kNone);
  ASSERT_EQ(e.findings.size(), 1u);
  EXPECT_EQ(e.findings.front().kind, row.kind) << e.findings.front().text;
  EXPECT_EQ(e.findings.front().line, row.line);
}

INSTANTIATE_TEST_SUITE_P(
    Snippets, Findings,
    testing::Values(
        FindingRow{"NotStarted",
                   "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xF3;\nTL1 = 0xF3;\n",
                   FindingKind::kNotStarted, 3},
        FindingRow{"TickNotStarted",
                   "TMOD = 0x02;\nTH0 = 6;\nTL0 = 6;\nIE = 0x82;\n",
                   FindingKind::kNotStarted, 2},
        FindingRow{"TmodOverwrites",
                   "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nET0 = 1;\n"
                   "EA = 1;\nTR0 = 1;\nTMOD = 0x20;\n"
                   "void t0(void) __interrupt(1) {}\n",
                   FindingKind::kTmodOverwrites, 7},
        FindingRow{"ReceiverOff",
                   "SCON = 0x40;\nTMOD = 0x20;\nTH1 = 0xF3;\nTR1 = 1;\n",
                   FindingKind::kReceiverOff, 1},
        FindingRow{
            "ReloadInHandler",
            "void t0(void) __interrupt(1)\n{\n  TH0 = 0xFC;\n"
            "  TL0 = 0x18;\n}\nvoid init(void)\n{\n  TMOD = 0x01;\n"
            "  TH0 = 0xFC;\n  TL0 = 0x18;\n  IE = 0x82;\n  TR0 = 1;\n}\n",
            FindingKind::kReloadInHandler, 3},
        FindingRow{"NotAutoReload",
                   "SCON = 0x50;\nTMOD = 0x10;\nTH1 = 0xFF;\nTL1 = 0xF3;\n"
                   "TR1 = 1;\n",
                   FindingKind::kNotAutoReload, 2},
        FindingRow{"UnknownRegister", "SCON = 0x50;\nAUXR = 0x15;\n",
                   FindingKind::kUnknownRegister, 2},
        FindingRow{"UnknownAddress", "mov 0D7H,#0E8H\nmov SCON,#50H\n",
                   FindingKind::kUnknownRegister, 1},
        // Mode 2 at 12 MHz: 187500 baud, no standard rate near it.
        FindingRow{"FixedRateNoStandardRate", "SCON = 0x90;\n",
                   FindingKind::kNoStandardRate, 1},
        FindingRow{"NoStandardRate",
                   "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xF0;\nTL1 = 0xF0;\n"
                   "TR1 = 1;\n",
                   FindingKind::kNoStandardRate, 3},
        // TF1 is the bit above TR1: 0x80 for 0x40.
        FindingRow{"WrongBit",
                   "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xF3;\nTCON |= 0x80;\n",
                   FindingKind::kWrongBit, 4},
        // The port's set-up hangs on a name the build may define.
        FindingRow{"Unresolved",
                   "SCON = 0x50;\n#ifndef MONITOR51\nTMOD = 0x20;\n"
                   "TH1 = 0xFD;\nTR1 = 1;\n#endif\n",
                   FindingKind::kUnresolved, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// The classic port's fixed-rate modes 0 and 2, which no generator sets:
// Intel MCS-51 User's Manual, Serial Interface, "Timer 1 Generated
// Commonly Used Baud Rates": mode 0 at most 1 MHz and mode 2 at most 375K
// at 12 MHz. Another core's fixed modes are its maker's: not reported.
struct FixedRow {
  const char* name;
  const char* chip;
  double mhz;
  const char* source;
  int mode;  // -1: no port reported
  int smod;
  double baud, nearest;
  bool receives;
  std::size_t findings;
};

const FixedRow kFixedRows[] = {
    {"mode0_1_mhz_at_12", "8052", 12, "SCON = 0x10;", 0, -1, 1e6, 921600, true,
     0},
    {"mode2_smod1_375k_at_12", "8051", 12, "PCON = 0x80;\nSCON = 0x80;", 2, 1,
     375000, 460800, false, 1},
    {"mode2_standard_at_14_7456", "8052", 14.7456, "SCON = 0x90;", 2, 0, 230400,
     230400, true, 0},
    {"x2_core_not_reported", "x2", 12, "SCON = 0x90;", -1, -1, 0, 0, false, 0},
    {"timer_mode_not_fixed", "8052", 12, "SCON = 0xD0;", -1, -1, 0, 0, false,
     0},
};

TEST(Explain, FixedRateModes) {
  for (const FixedRow& row : kFixedRows) {
    SCOPED_TRACE(row.name);
    const Explanation e =
        Explain(row.source, row.mhz, *explain::FindFamily(row.chip), 2);
    ASSERT_EQ(e.problem, CodeProblem::kNone);
    EXPECT_EQ(e.findings.size(), row.findings);
    const auto fixed =
        std::find_if(e.serial.begin(), e.serial.end(),
                     [](const SerialUse& u) { return u.fixed_mode >= 0; });
    if (row.mode < 0) {
      EXPECT_EQ(fixed, e.serial.end());
      continue;
    }
    ASSERT_NE(fixed, e.serial.end());
    EXPECT_EQ(fixed->uart, "SCON");
    EXPECT_EQ(fixed->setting, nullptr);
    EXPECT_EQ(fixed->fixed_mode, row.mode);
    EXPECT_EQ(fixed->fixed_smod, row.smod);
    EXPECT_DOUBLE_EQ(fixed->actual_baud, row.baud);
    EXPECT_EQ(fixed->nearest_baud, row.nearest);
    EXPECT_EQ(fixed->receives, row.receives);
  }
}

// What a value waits on is said, never guessed; what the paste gives is
// followed: calls with constants, #define, A and R0-R7, SDCC's names.
// Each rate is worked by hand at 11.0592 MHz on the classic 8052:
// 11059200 / 12 / 32 / (256 - TH1), doubled with SMOD (Intel MCS-51 User's
// Manual, Serial Interface, Timer 1 baud rates).
struct ValueRow {
  const char* name;
  const char* source;
  double baud;           // 0: no rate, the reload unresolved
  const char* findings;  // "kind:line ..."
};

const ValueRow kValueRows[] = {
    {"parameter_followed_from_a_call",
     "void uart_init(unsigned char th) {\n SCON = 0x50;\n TMOD = 0x20;\n"
     " TH1 = th;\n TR1 = 1;\n}\nvoid main(void) { uart_init(0xFA); }\n",
     4800, ""},
    {"parameter_through_two_calls",
     "void set(unsigned char v) { TH1 = v; }\nvoid init(unsigned char r) {\n"
     " SCON = 0x50; TMOD = 0x20; set(r); TR1 = 1;\n}\n"
     "void main(void) { init(0xFD); }\n",
     9600, ""},
    {"parameter_never_given",
     "void uart_init(unsigned char th) {\n SCON = 0x50;\n TMOD = 0x20;\n"
     " TH1 = th;\n TR1 = 1;\n}\n",
     0, "unresolved:4"},
    {"name_defined_nowhere",
     "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 256 - UART_CLOCK / 12 / 32 / 9600;\n"
     "TR1 = 1;\n",
     0, "unresolved:3"},
    {"name_defined",
     "#define FOSC 11059200L\nSCON = 0x50;\nTMOD = 0x20;\n"
     "TH1 = 256 - FOSC / 12 / 32 / 9600;\nTR1 = 1;\n",
     9600, ""},
    {"run_bit_from_a_variable_is_no_not_started",
     "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFD;\nTR1 = on;\n", 9600,
     "unresolved:4"},
    {"literal_no_compiler_reads",
     "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0b_1111_1101;\nTR1 = 1;\n", 0,
     "unresolved:3"},
    {"reload_read_from_a_port",
     "SCON = 0x50;\nTMOD = 0x20;\nTH1 = P1;\nTR1 = 1;\n", 0, "unresolved:3"},
    {"asm_copy_from_ram",
     "MOV SCON,#50H\nMOV TMOD,#20H\nMOV TH1,30H\nSETB TR1\n", 0,
     "unresolved:3"},
    {"asm_parameter_in_r7",
     "MOV SCON,#50H\nMOV TMOD,#20H\nMOV TH1,R7\nSETB TR1\n", 0, "unresolved:3"},
    {"asm_smod_through_a",
     "MOV SCON,#50H\nMOV TMOD,#20H\nMOV TH1,#0FDH\nMOV A,PCON\nSETB ACC.7\n"
     "MOV PCON,A\nSETB TR1\n",
     19200, ""},
    {"asm_constant_through_r0",
     "MOV R0,#0FDH\nMOV SCON,#50H\nMOV TMOD,#20H\nMOV TH1,R0\nSETB TR1\n", 9600,
     ""},
    // The headers' 16-bit name over RCAP2L and RCAP2H: 11059200 / 32 / 36.
    {"sixteen_bit_name_writes_both_halves",
     "SCON = 0x50;\nRCAP2 = 0xFFDC;\nT2CON = 0x34;\n", 9600, ""},
    {"sdcc_underscore_names",
     "\t.area CSEG (CODE)\n\t.globl _uart_init\n_uart_init:\n"
     "\tmov _SCON,#0x50\n\tmov _TMOD,#0x20\n\tmov _TH1,#0xfd\n\tsetb _TR1\n"
     "\tret\n",
     9600, ""},
};

std::string FindingsText(const Explanation& e) {
  std::string text;
  for (const Finding& f : e.findings) {
    if (!text.empty()) text += ' ';
    text += std::string(FindingKey(f.kind)) + ":" + std::to_string(f.line);
  }
  return text;
}

TEST(Explain, ValuesTheCodeGives) {
  for (const ValueRow& row : kValueRows) {
    SCOPED_TRACE(row.name);
    const Explanation e =
        Explain(row.source, 11.0592, *explain::FindFamily("8052"), 2);
    ASSERT_EQ(e.problem, CodeProblem::kNone);
    ASSERT_EQ(e.serial.size(), 1u);
    EXPECT_NE(e.serial[0].setting, nullptr);
    EXPECT_EQ(e.serial[0].unresolved, row.baud == 0);
    EXPECT_NEAR(e.serial[0].actual_baud, row.baud, 1e-9);
    EXPECT_EQ(FindingsText(e), row.findings);
  }
}

// The findings that look past one setting: each once, and once where it
// does not apply. Rates at 12 MHz: 12e6 / 384 / 13 = 2403.8 baud (TH1 F3);
// at 11.0592 MHz: 11059200 / 384 / 1 = 28800 (TH1 FF). Periods at 12 MHz,
// mode 2: 256 - 6 = 250 counts of 1 us.
struct CheckRow {
  const char* name;
  double mhz;
  const char* source;
  const char* findings;
};

const CheckRow kCheckRows[] = {
    {"port_never_written", 12, "TMOD = 0x20;\nTH1 = 0xF3;\nTR1 = 1;\n",
     "uart-not-set-up:2"},
    {"port_left_in_mode_0", 12,
     "SCON = 0x10;\nTMOD = 0x20;\nTH1 = 0xF3;\nTR1 = 1;\n",
     "uart-not-set-up:3"},
    {"timer_1_ticking_is_no_generator", 12,
     "TMOD = 0x20;\nTH1 = 0x06;\nIE = 0x88;\nTR1 = 1;\n"
     "void t1(void) __interrupt(3) { ticks++; }\n",
     ""},
    {"timer_0_cannot_clock_the_port", 12,
     "SCON = 0x50;\nTMOD = 0x02;\nTH0 = 0xF3;\nTR0 = 1;\n",
     "not-auto-reload:2 uart-not-set-up:3"},
    {"no_handler", 12,
     "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nIE = 0x82;\nTR0 = 1;\n",
     "no-handler:4"},
    {"handler_present", 12,
     "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nIE = 0x82;\nTR0 = 1;\n"
     "void t0(void) __interrupt(1) { ticks++; }\n",
     ""},
    {"handler_only_in_a_comment", 12,
     "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nIE = 0x82;\nTR0 = 1;\n"
     "/* void t0(void) __interrupt(1) { ticks++; } */\n",
     "no-handler:4"},
    // Timer 2 clocks the port; Timer 1 set up beside it is not a port's
    // generator left unused.
    {"timer_2_clocks_the_port", 12,
     "SCON = 0x50;\nT2CON = 0x34;\nRCAP2H = 0xFF;\nRCAP2L = 0xD9;\n"
     "TMOD = 0x20;\nTH1 = 0xF3;\nTR1 = 1;\n",
     ""},
    {"comment_rate_the_values_miss", 11.0592,
     "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFF; // 115200bps@11.0592MHz\n"
     "TR1 = 1;\n",
     "comment-says:3"},
    {"comment_rate_the_values_give", 11.0592,
     "SCON = 0x50;\nTMOD = 0x20;\n// 9600 baud\nTH1 = 0xFD;\nTR1 = 1;\n", ""},
    {"comment_period_the_values_miss", 12,
     "TMOD = 0x02;\nTH0 = 0x06; // 100us\nIE = 0x82;\nTR0 = 1;\n"
     "void t0(void) __interrupt(1) { ticks++; }\n",
     "comment-says:2"},
    {"comment_period_counted_in_overflows", 12,
     "TMOD = 0x02;\nTH0 = 0x06; // 1 ms\nIE = 0x82;\nTR0 = 1;\n"
     "void t0(void) __interrupt(1) { ticks++; }\n",
     ""},
};

TEST(Explain, ChecksPastOneSetting) {
  for (const CheckRow& row : kCheckRows) {
    SCOPED_TRACE(row.name);
    const Explanation e =
        Explain(row.source, row.mhz, *explain::FindFamily("8052"), 2);
    ASSERT_EQ(e.problem, CodeProblem::kNone);
    EXPECT_EQ(FindingsText(e), row.findings);
  }
}

// A mode the code takes from a variable leaves the generator itself
// unresolved: the port and the timer are listed, with no setting and no
// numbers, and nothing says the timer was never started.
TEST(Explain, ModeFromAVariable) {
  const Explanation e =
      Explain("SCON = 0x50;\nTMOD = mode;\nTH1 = 0xFD;\nTR1 = 1;\n", 11.0592,
              *explain::FindFamily("8052"), 2);
  ASSERT_EQ(e.serial.size(), 1u);
  EXPECT_TRUE(e.serial[0].unresolved);
  EXPECT_EQ(e.serial[0].setting, nullptr);
  ASSERT_EQ(e.timers.size(), 1u);
  EXPECT_TRUE(e.timers[0].unresolved);
  EXPECT_EQ(FindingsText(e), "unresolved:2");
}

// The nearest standard rate is nearest by relative error, for the rate a
// port gives and the rate a timer looks set up for alike.
TEST(Explain, NearestRateIsRelative) {
  EXPECT_EQ(explain::NearestRate(9615.38), 9600);
  EXPECT_EQ(explain::NearestRate(1700), 2400);  // 29 % off, not 42 %
}

// What a comment says in numbers, and what is no number of a unit.
TEST(Explain, NumbersAComment) {
  using Unit = explain::Stated::Unit;
  const struct {
    const char* text;
    std::vector<std::pair<Unit, double>> said;
  } rows[] = {
      {"115200bps@11.0592MHz", {{Unit::kBaud, 115200}, {Unit::kMhz, 11.0592}}},
      {"9600", {{Unit::kBaud, 9600}}},
      {"波特率 4800波特, 12M", {{Unit::kBaud, 4800}, {Unit::kMhz, 12}}},
      {"250 us, 10毫秒", {{Unit::kSeconds, 250e-6}, {Unit::kSeconds, 10e-3}}},
      {"T1 mode 2, 0x9600, 253, P1_2400", {}},
      {"19.2kbps, 100\xC2\xB5s",
       {{Unit::kBaud, 19200}, {Unit::kSeconds, 100e-6}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const std::vector<explain::Stated> said = explain::NumbersStated(row.text);
    ASSERT_EQ(said.size(), row.said.size());
    for (std::size_t i = 0; i < said.size(); ++i) {
      EXPECT_EQ(said[i].unit, row.said[i].first);
      EXPECT_DOUBLE_EQ(said[i].value, row.said[i].second);
    }
  }
}

// Code written with the makers' headers, as people write it; the header
// names the family. Rates by hand from the makers' formulas: N76E003,
// Timer 3 with SMOD 1: Fsys / 16 / (65536 - RH3:RL3); CH552, Timer 1 at
// Fsys (bTMR_CLK, bT1_CLK) with SMOD: Fsys / 16 / (256 - TH1); STC15,
// Timer 2 at 1T: Fsys / 4 / (65536 - T2H:T2L).
struct HeaderRow {
  const char* name;
  const char* chosen;  // --chip, or nullptr
  double mhz;
  const char* source;
  const char* chip;  // the family read for
  double baud;
};

const HeaderRow kHeaderRows[] = {
    {"n76e003_bsp_macros", nullptr, 16,
     "#include \"N76E003.h\"\n#include \"SFR_Macro.h\"\n"
     "#include \"Function_define.h\"\nvoid uart0_on_timer3(void) {\n"
     "  SCON = 0x50;\n  set_SMOD;\n  T3CON &= 0xF8;\n  set_BRCK;\n"
     "  RH3 = 0xFF;\n  RL3 = 0xF7;\n  set_TR3;\n  set_TI;\n}\n",
     "n76e003", 16e6 / 16 / 9},
    {"n76e003_current_bsp_names", nullptr, 16,
     "#include \"n76e003_sdcc.h\"\nvoid main(void) {\n  SCON = 0x50;\n"
     "  ENABLE_TIMER1_MODE2;\n  set_PCON_SMOD;\n  TIMER1_FSYS;\n"
     "  clr_T3CON_BRCK;\n  TH1 = 256 - 16000000 / 16 / 9600;\n"
     "  set_TCON_TR1;\n}\n",
     "n76e003", 16e6 / 16 / 104},
    {"ch552_wch_bit_names", nullptr, 24,
     "#include \"CH552.H\"\nvoid uart0_init(void) {\n  SM0 = 0; SM1 = 1;\n"
     "  PCON |= SMOD;\n"
     "  TMOD = TMOD & ~bT1_GATE & ~bT1_CT & ~MASK_T1_MOD | bT1_M1;\n"
     "  T2MOD = T2MOD | bTMR_CLK | bT1_CLK;\n  TH1 = 0 - 156;\n"
     "  TR1 = 1; REN = 1;\n}\n",
     "ch552", 24e6 / 16 / 156},
    {"stc15_library_macros", nullptr, 11.0592,
     "#include \"STC15Fxxxx.H\"\nvoid uart1(void) {\n  S1_8bit();\n"
     "  S1_RX_Enable();\n  S1_BRT_UseTimer2();\n  Timer2_1T();\n"
     "  T2L = 0xE0;\n  T2H = 0xFE;\n  Timer2_Run();\n}\n",
     "stc15", 11059200.0 / 4 / 288},
    // AT89C51RD2/ED2 datasheet: 2 * 6 * 16 * (256 - BRL) at Fosc / 2.
    {"at89c51ed2_sdcc_masks", nullptr, 11.0592,
     "#include <at89c51ed2.h>\nSCON = 0x50;\nBRL = 0xFD;\n"
     "BDRCON = BRR | TBCK | RBCK;\n",
     "at89c51rd2", 11059200.0 / 2 / (2 * 6 * 16 * 3)},
    {"chip_chosen_over_the_header", "8052", 11.0592,
     "#include <N76E003.h>\nSCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFD;\n"
     "TR1 = 1;\n",
     "8052", 9600},
    {"header_of_no_family", nullptr, 11.0592,
     "#include <stdio.h>\nSCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFD;\n"
     "TR1 = 1;\n",
     "8052", 9600},
};

TEST(Explain, ReadsTheMakersHeaders) {
  for (const HeaderRow& row : kHeaderRows) {
    SCOPED_TRACE(row.name);
    const Explanation e = Explain(
        row.source, row.mhz,
        row.chosen != nullptr ? explain::FindFamily(row.chosen) : nullptr, 2);
    ASSERT_EQ(e.problem, CodeProblem::kNone);
    EXPECT_EQ(e.family->name, row.chip);
    EXPECT_EQ(e.named_by.has_value(),
              row.chosen == nullptr && row.chip != std::string("8052"));
    ASSERT_EQ(e.serial.size(), 1u);
    EXPECT_NEAR(e.serial[0].actual_baud, row.baud, 1e-6);
  }
}

// A timer started and stopped again is a one-shot, timed to its one
// overflow; one that never reloads runs its whole count after the first.
// At 12 MHz, 12 clocks a count: 0xFC18 is 1000 counts, 1 ms; mode 1's
// whole count 65536, 65.536 ms; mode 0's 8192, 8.192 ms.
TEST(Explain, TimersThatDoNotReload) {
  const struct {
    const char* name;
    const char* source;
    bool one_shot;
    double period_s, first_period_s;
    const char* chip = "8052";
  } rows[] = {
      // STC15 series manual: mode 1 is 16-bit with no reload, as the 8051's.
      {"stc15_mode_1", "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nTR0 = 1;\n",
       false, 65.536e-3, 1e-3, "stc15"},
      {"polled_one_shot",
       "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nTR0 = 1;\nwhile (!TF0);\n"
       "TR0 = 0;\n",
       true, 1e-3, 0},
      {"mode_1_never_reloaded",
       "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nTR0 = 1;\n", false, 65.536e-3,
       1e-3},
      {"timer_1_mode_0_steady", "TMOD = 0x00;\nTH1 = 0xE0;\nTR1 = 1;\n", false,
       8.192e-3, 1.024e-3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const Explanation e =
        Explain(row.source, 12, *explain::FindFamily(row.chip), 2);
    ASSERT_EQ(e.timers.size(), 1u);
    ASSERT_NE(e.timers[0].setting, nullptr);
    EXPECT_EQ(e.timers[0].one_shot, row.one_shot);
    EXPECT_NEAR(e.timers[0].period_s, row.period_s, 1e-12);
    EXPECT_NEAR(e.timers[0].first_period_s, row.first_period_s, 1e-12);
    EXPECT_EQ(FindingsText(e), "");
  }
}

// What is no code, or nothing of a register, is a problem, not a reading.
TEST(Explain, RefusesWhatIsNoInitCode) {
  const explain::Family& f = *explain::FindFamily("8052");
  EXPECT_EQ(Explain("", 12, f, 2).problem, CodeProblem::kEmpty);
  EXPECT_EQ(Explain("The rate = 9600 baud;", 12, f, 2).problem,
            CodeProblem::kNoWrites);
  EXPECT_EQ(Explain(std::string("TMOD\0= 1;", 10), 12, f, 2).problem,
            CodeProblem::kBinary);
  EXPECT_EQ(Explain(std::string(kMaxCodeBytes + 1, ' '), 12, f, 2).problem,
            CodeProblem::kTooLarge);
}

// A variable in the paste is no register, and no finding.
TEST(Explain, LeavesVariablesAlone) {
  const Explanation e = Explain("count = 3;\nTMOD = 0x20;\n", 12,
                                *explain::FindFamily("8052"), 2);
  EXPECT_EQ(e.problem, CodeProblem::kNone);
  EXPECT_TRUE(e.findings.empty());
}

// The families without Timer 2 lack its registers; a family's own
// registers name where else they are.
TEST(Explain, KnowsWhichFamiliesHaveARegister) {
  const explain::Family& f8051 = *explain::FindFamily("8051");
  EXPECT_TRUE(std::none_of(f8051.registers.begin(), f8051.registers.end(),
                           [](const auto& r) { return r.name == "T2CON"; }));
  EXPECT_EQ(explain::FamiliesWith("BRL"),
            std::vector<std::string>{"at89c51rd2"});
}

}  // namespace
}  // namespace mcs51
