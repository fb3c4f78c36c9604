#include "mcs51/hardware/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "mcs51/code/init_code.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

const Setting& Find(std::string_view chip, std::string_view generator,
                    int clocks, int smod) {
  for (const Setting& s : ChipSettings(FindChip(chip))) {
    if (s.generator->key == generator && s.clocks == clocks && s.smod == smod) {
      return s;
    }
  }
  throw std::logic_error("no such setting");
}

// Rows printed in the makers' manuals or shown in their examples, with the
// register value they give; where neither was found, the row is from the
// maker's formula and its comment says so.
struct VendorRow {
  const char* name;
  const char* chip;
  const char* generator;
  int clocks, smod;
  double frequency_mhz;
  double baud;
  int reload;
  double error_percent;  // as printed, to two decimals; NAN where none is
};
void PrintTo(const VendorRow& row, std::ostream* os) { *os << row.name; }

class VendorTest : public testing::TestWithParam<VendorRow> {};

TEST_P(VendorTest, GivesTheValueTheMakerPrints) {
  const VendorRow& row = GetParam();
  const Outcome outcome =
      Evaluate(Find(row.chip, row.generator, row.clocks, row.smod),
               row.frequency_mhz, row.baud, 2);
  ASSERT_TRUE(outcome.fits);
  EXPECT_EQ(outcome.reload, row.reload);
  if (!std::isnan(row.error_percent)) {
    EXPECT_NEAR(outcome.error_percent, row.error_percent, 0.01);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Makers, VendorTest,
    testing::Values(
        // AT89LP3240/6440 datasheet 3706C-MICRO-2/11, p. 88: Table 16-3
        // (Timer 2, TPS = 0000B) and Table 16-2 (Timer 1); "11.059" is
        // 11.0592 MHz. No error column is printed.
        VendorRow{"At89lpT2_19200", "at89lp", "t2", 1, -1, 11.0592, 19200,
                  0xFFDC, NAN},
        VendorRow{"At89lpT1_19200Smod1", "at89lp", "t1", 1, 1, 11.0592, 19200,
                  0xDC, NAN},
        VendorRow{"At89lpT1Mode1_1200", "at89lp", "t1m1", 1, 0, 11.0592, 1200,
                  0xFEE0, NAN},
        // STC15, STC8: STC's UART1 example code, T2L/T2H = 65536 -
        // FOSC/4/BAUD with AUXR = 0x14 then |= 0x01 (FOSC 11059200, BAUD
        // 115200); no printed table. The 12T row is from the same
        // formula, times 12.
        VendorRow{"Stc15T2_115200", "stc15", "t2", 1, -1, 11.0592, 115200,
                  0xFFE8, 0},
        VendorRow{"Stc8T2At12T_9600", "stc8", "t2", 12, -1, 11.0592, 9600,
                  0xFFE8, 0},
        // STC12C5A60S2: from the BRT formula, SYSclk/32/(256 - BRT) at 1T;
        // no printed table.
        VendorRow{"Stc12Brt1T_115200", "stc12", "brt", 1, 0, 11.0592, 115200,
                  0xFD, 0},
        // WCH prints no table. The formulas are those in the comments of
        // WCH's CH552.H: Timer 1 at Fsys with bTMR_CLK and bT1_CLK;
        // SBAUD1 = 256 - Fsys/16/baud with bU1SMOD.
        VendorRow{"Ch552T1Smod1", "ch552", "t1", 1, 1, 12, 9600, 0xB2, NAN},
        VendorRow{"Ch552Sbaud1", "ch552", "sbaud1", 1, 1, 24, 115200, 0xF3,
                  NAN},
        // Silicon Labs' serial-communication training (slide 17): 57600
        // baud, Timer 1 on SYSCLK (24.5 MHz), TH1 = 0x2B. The C8051F row
        // is from the formula, SYSCLK/12/(2 * (256 - TH1)).
        VendorRow{"Efm8_57600", "efm8", "t1", 1, -1, 24.5, 57600, 0x2B, NAN},
        VendorRow{"C8051f_9600", "c8051f", "t1", 12, -1, 24.5, 9600, 0x96, NAN},
        // N76E003, MS51: from the formula, 2^SMOD/32 * Fsys/(65536 -
        // RH3:RL3), T3PS = 0; no printed table. Nuvoton's sample code
        // (InitialUART0_Timer3) subtracts a further 1, FF97 at 9600 baud and
        // 16 MHz; the formula gives FF98.
        VendorRow{"N76e003T3_115200", "n76e003", "t3", 1, 1, 16, 115200, 0xFFF7,
                  NAN},
        VendorRow{"Ms51T3_9600", "ms51", "t3", 1, 1, 16, 9600, 0xFF98, NAN},
        // XC886/888: from the formula, fPCLK/(16 * (BR_VALUE + 1)) with
        // BRPRE = 0; no printed table.
        VendorRow{"Xc886Bg_19200", "xc886", "bg", 1, -1, 24, 19200, 77, NAN},
        VendorRow{"Xc886Bg_9600", "xc886", "bg", 1, -1, 24, 9600, 155, NAN},
        // DS80C320's Timer 1 at 4 clocks (CKCON.T1M): no Maxim table found;
        // Cypress's EZ-USB TRM v1.9, Appendix C, Table C-10, prints it for
        // the same core at 24 MHz, SMOD 1, T1M 1 (p. C-20).
        VendorRow{"Ds80c320T1At4_9600", "ds80c320", "t1", 4, 1, 24, 9600, 0xD9,
                  0.16},
        VendorRow{"Ds80c320T1At4_19200", "ds80c320", "t1", 4, 1, 24, 19200,
                  0xEC, -2.34},
        // DS89C4x0 at 1 clock: from the formula, 2^SMOD/32 * f/C/(256 - TH1);
        // no printed table.
        VendorRow{"Ds89c4x0T1At1", "ds89c4x0", "t1", 1, 1, 11.0592, 115200,
                  0xFA, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Fractional, FindsTheStepThatBeatsTheIntegerDivider) {
  // At 24 MHz 230400 baud is -7 % away with the plain generator's best
  // divisor (7); the fractional divider brings it under 0.05 %.
  const Outcome plain = Evaluate(Find("xc886", "bg", 1, -1), 24, 230400, 2);
  const Outcome fine = Evaluate(Find("xc886", "bgfd", 1, -1), 24, 230400, 2);
  ASSERT_TRUE(fine.fits);
  EXPECT_GT(std::fabs(plain.error_percent), 2);
  EXPECT_LT(std::fabs(fine.error_percent), 0.05);
  EXPECT_GE(fine.step, 1);
  EXPECT_LE(fine.step, 255);
}

// The registers the code writes, against the makers' own examples.
struct RegisterRow {
  const char* name;
  const char* chip;
  const char* generator;
  int clocks, smod;
  double frequency_mhz, baud;
  std::vector<std::pair<std::string, int>> registers;
};
void PrintTo(const RegisterRow& row, std::ostream* os) { *os << row.name; }

class RegisterTest : public testing::TestWithParam<RegisterRow> {};

TEST_P(RegisterTest, WritesTheMakersBits) {
  const RegisterRow& row = GetParam();
  const Outcome outcome =
      Evaluate(Find(row.chip, row.generator, row.clocks, row.smod),
               row.frequency_mhz, row.baud, 2);
  std::vector<std::pair<std::string, int>> registers;
  for (const RegisterValue& r : RegisterValues(outcome)) {
    registers.emplace_back(std::string(r.name), r.value);
  }
  EXPECT_EQ(registers, row.registers);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, RegisterTest,
    testing::Values(
        // STC's UART1 example: AUXR = 0x14 (T2R, T2x12), then |= 0x01
        // (S1ST2).
        RegisterRow{
            "Stc15T2",
            "stc15",
            "t2",
            1,
            -1,
            11.0592,
            115200,
            {{"SCON", 0x50}, {"T2L", 0xE8}, {"T2H", 0xFF}, {"AUXR", 0x15}}},
        // WCH's CH552.H: T2MOD's bTMR_CLK 0x80 and bT1_CLK 0x20 clock
        // Timer 1 at Fsys; PCON's SMOD, TMOD 0x20.
        RegisterRow{"Ch552T1",
                    "ch552",
                    "t1",
                    1,
                    1,
                    12,
                    9600,
                    {{"SCON", 0x50},
                     {"T2MOD", 0xA0},
                     {"TMOD", 0x20},
                     {"TH1", 0xB2},
                     {"TL1", 0xB2},
                     {"PCON", 0x80},
                     {"TCON", 0x40}}},
        // Nuvoton's SFR_Macro.h: T3CON (C4H) SMOD_1 bit 7, BRCK bit 5,
        // TR3 bit 3, T3PS bits 2-0.
        RegisterRow{
            "N76e003Uart1",
            "n76e003",
            "u1t3",
            1,
            1,
            16,
            115200,
            {{"SCON_1", 0x50}, {"RL3", 0xF7}, {"RH3", 0xFF}, {"T3CON", 0x88}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The settings without --chip are the 8052's, x2's and 1t's records: the
// same code in both languages, whichever way they were asked for.
TEST(DefaultSettings, WriteTheCodeOfTheirFamilies) {
  for (const Setting& plain : DefaultSettings()) {
    const Setting& named =
        Find(plain.chip->name, plain.generator->key, plain.clocks, plain.smod);
    const Outcome a = Evaluate(plain, 11.0592, 9600, 2);
    const Outcome b = Evaluate(named, 11.0592, 9600, 2);
    EXPECT_EQ(InitCode(11.0592, 9600, a, "w"), InitCode(11.0592, 9600, b, "w"))
        << SettingLabel(plain);
    EXPECT_EQ(AsmInitCode(11.0592, 9600, a, "w"),
              AsmInitCode(11.0592, 9600, b, "w"))
        << SettingLabel(plain);
  }
}

// A header is found by its path's last part, whatever its case; each
// header names one family only.
TEST(Catalogue, FindsTheMakersHeaders) {
  EXPECT_EQ(FindHeader("../inc/n76e003.H").chip->name, "n76e003");
  EXPECT_EQ(FindHeader("C:\\Keil\\C51\\INC\\reg52.h").chip->name, "8052");
  EXPECT_EQ(FindHeader("stdio.h").chip, nullptr);
  std::vector<std::string> files;
  for (const Chip& chip : Chips()) {
    for (const Header& header : chip.headers) {
      EXPECT_FALSE(header.document.empty()) << chip.name;
      for (std::string_view file : header.files) {
        std::string lower(file);
        for (char& c : lower) c = static_cast<char>(std::tolower(c));
        EXPECT_EQ(std::count(files.begin(), files.end(), lower), 0) << file;
        files.push_back(lower);
      }
    }
  }
}

}  // namespace
}  // namespace mcs51
