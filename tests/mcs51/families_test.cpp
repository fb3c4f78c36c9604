// The families of mcs51/hardware/families/ against their makers' rows. Each row
// says what it rests on; a family claims in `chips` the strongest source
// its rows show, and no more.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"

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

using E = Evidence;

struct FamilyRow {
  const char* name;
  const char* chip;  // as --chip takes it, an alias as well
  const char* generator;
  int clocks, smod;
  double frequency_mhz, baud;
  int reload;
  int step;              // BAUD_E; -1 where there is none
  double error_percent;  // as printed, unsigned; NAN where none is
  Evidence source;
};
void PrintTo(const FamilyRow& row, std::ostream* os) { *os << row.name; }

constexpr FamilyRow kRows[] = {
    // AT8xC51SND1C datasheet 4109E, Table 124, Internal Baud Rate Generator
    // Value: the AT89C51RD2's BRG (datasheet 4235K, 14.4.1, the same
    // formula and bits). FPER is FOSC/2 in X1 and FOSC in X2; FREQ is
    // FOSC. Errors are printed without their sign.
    {"AtmelX1Spd1_9600", "at89c51rd2", "brg", 2, 1, 16, 9600, 204, -1, 0.16,
     E::kPrintedTable},
    {"AtmelX2Spd1_115200", "at89c51ed2", "brg", 1, 1, 16, 115200, 247, -1, 3.55,
     E::kPrintedTable},
    {"AtmelX2Spd1Smod0_4800", "at89c5131", "brg", 1, 0, 20, 4800, 126, -1, 0.16,
     E::kPrintedTable},
    // P89LPC9xx: CCLK / (BRGR + 16), the formula; no printed table.
    {"Lpc900_9600", "lpc900", "brg", 1, -1, 7.3728, 9600, 0x2F0, -1, 0,
     E::kFormulaOnly},
    {"Lpc900_115200", "lpc900", "brg", 1, -1, 12, 115200, 88, -1, NAN,
     E::kFormulaOnly},
    // TI's table of UxBAUD.BAUD_M and UxGCR.BAUD_E for a 32 MHz system
    // clock (CC2430 datasheet, the same USART); the CC2530 rows it gives (9600:
    // 59/8, 115200: 216/11) are the same.
    {"Cc2530_2400", "cc2530", "u0", 1, -1, 32, 2400, 59, 6, 0.14,
     E::kPrintedTable},
    {"Cc2541_9600", "cc2541", "u0", 1, -1, 32, 9600, 59, 8, 0.14,
     E::kPrintedTable},
    {"Cc2530_115200", "cc2530", "u0", 1, -1, 32, 115200, 216, 11, 0.03,
     E::kPrintedTable},
    // CC2510/CC1110: from the same formula at 26 MHz; no printed table
    // found. A TI forum thread names BAUD_M 34 and BAUD_E 12 for 115200.
    {"Cc1110_115200", "cc1110", "u0", 1, -1, 26, 115200, 34, 12, NAN,
     E::kFormulaOnly},
    {"Cc2510_9600", "cc2510", "u0", 1, -1, 26, 9600, 131, 8, NAN,
     E::kFormulaOnly},
    // Silicon Labs' F560_ADC0_ExternalInput_Mux.c (Release 1.1),
    // UART0_Init at 24 MHz and 115200: SBRL0 = -(24e6 / 115200 / 2),
    // prescaler 1.
    {"C8051f326Brg0_115200", "c8051f326", "brg0", 1, -1, 24, 115200, 0xFF98, -1,
     NAN, E::kMakersExample},
    // Cypress EZ-USB TRM v1.9, Appendix C, Table C-11 (p. C-21): the
    // first EZ-USB's Timer 2 reloads at 24 MHz, errors unsigned. The Timer 1
    // row is the formula's,
    // 2^SMOD/32 * CLKOUT/4/(256 - TH1).
    {"Fx2lpT2_57600", "fx2lp", "t2", 12, -1, 24, 57600, 0xFFF3, -1, 0.16,
     E::kPrintedTable},
    {"Fx2lpT2_38400", "fx2lp", "t2", 12, -1, 24, 38400, 0xFFEC, -1, 2.34,
     E::kPrintedTable},
    {"Fx2lpT1At4_48Mhz57600", "fx2lp", "t1", 4, 1, 48, 57600, 0xF3, -1, NAN,
     E::kFormulaOnly},
    // C517A user's manual p. 6-76 and C509-L's p. 6-88: the reset value
    // 3D9H gives 4800 baud with SMOD 0 and 9600 with SMOD 1 at 12 MHz,
    // 0.16 % off.
    {"C517a_9600", "c517a", "s0rel", 2, 1, 12, 9600, 0x3D9, -1, 0.16,
     E::kMakersExample},
    // The data sheet's Table 10: with BD clear, Timer 1 as on the 8051
    // (Intel's 11.0592 MHz row, TH1 0xFD); serial port 1 in mode B at
    // fOSC / (32 * (1024 - S1REL)), 0x3F4 for 38400 at 14.7456 MHz.
    {"C517aT1_9600", "c517a", "t1", 12, 0, 11.0592, 9600, 0xFD, -1, 0.0,
     E::kFormulaOnly},
    {"C517aS1rel_38400", "c517a", "s1rel", 2, -1, 14.7456, 38400, 0x3F4, -1,
     0.0, E::kFormulaOnly},
    {"C509_4800", "c509", "s0rel", 2, 0, 12, 4800, 0x3D9, -1, 0.16,
     E::kMakersExample},
    // Siemens C515C data sheet 1997-07, p. 39, Table 8: BD = 1 gives
    // 2^SMOD * fOSC / (32 * (1024 - S0REL)), half the C517A's divider; no
    // printed row. The divide-by-64 reload, 0x3DF, gives about 18,940 here.
    {"C515cDividesBy32_9600", "c515c", "s0rel", 1, 1, 10, 9600, 0x3BF, -1, 0.16,
     E::kFormulaOnly},
    // nRF24LE1: the C517A's formula; no printed table.
    {"Nrf24le1_38400", "nrf24le1", "s0rel", 2, 1, 16, 38400, 0x3F3, -1, NAN,
     E::kFormulaOnly},
    // ADuC841/842/843 datasheet, p. 68: DIV = log2(fCORE/(16 * baud))
    // rounded down, T3FD = 2 * fCORE/(2^(DIV - 1) * baud) - 64 rounded.
    {"Aduc84x_115200", "aduc84x", "t3", 4, -1, 11.0592, 115200, 32, -1, 0,
     E::kFormulaOnly},
    {"Aduc84x_9600", "aduc84x", "t3", 8, -1, 2.097152, 9600, 45, -1, NAN,
     E::kFormulaOnly},
    // ADuC831 data sheet Rev. 0, p. 58, Figure 54: DIV = log2(fCORE/(32 *
    // baud)) rounded down, T3FD = 2 * fCORE/(2^DIV * baud) - 64: DIV 5
    // (T3CON 0x85) where the ADuC84x takes DIV 6.
    {"Aduc831Div5_9600", "aduc831", "t3", 32, -1, 11.0592, 9600, 8, -1, 0,
     E::kFormulaOnly},
};

class FamilyTest : public testing::TestWithParam<FamilyRow> {};

TEST_P(FamilyTest, GivesTheMakersValue) {
  const FamilyRow& row = GetParam();
  const Outcome outcome =
      Evaluate(Find(row.chip, row.generator, row.clocks, row.smod),
               row.frequency_mhz, row.baud, 2);
  ASSERT_TRUE(outcome.fits);
  EXPECT_EQ(outcome.reload, row.reload);
  EXPECT_EQ(outcome.step, row.step);
  if (!std::isnan(row.error_percent)) {
    EXPECT_NEAR(std::fabs(outcome.error_percent), row.error_percent, 0.01);
  }
}

INSTANTIATE_TEST_SUITE_P(Makers, FamilyTest, testing::ValuesIn(kRows),
                         [](const auto& info) {
                           return std::string(info.param.name);
                         });

// `chips` says what a family's rows rest on: the strongest of them.
TEST(Families, ClaimTheStrongestSourceTheirRowsShow) {
  std::map<const Chip*, Evidence> strongest;
  for (const FamilyRow& row : kRows) {
    const Chip* chip = FindChip(row.chip);
    auto [it, added] = strongest.emplace(chip, row.source);
    if (!added && row.source < it->second) it->second = row.source;
  }
  for (const auto& [chip, evidence] : strongest) {
    EXPECT_EQ(chip->evidence, evidence) << chip->name;
  }
}

TEST(Families, AnswerToTheirOtherNames) {
  EXPECT_EQ(FindChip("cc2541"), FindChip("cc2530"));
  EXPECT_EQ(FindChip("at89c51ic2"), FindChip("at89c51rd2"));
  EXPECT_EQ(FindChip("c509")->name, "c517a");
  EXPECT_EQ(FindChip("aduc836")->name, "aduc831");
}

// The UART takes no more than f/16 and no less than BAUD_M 0 at BAUD_E 0.
TEST(MantissaExponent, StaysWithinTheGenerator) {
  const Setting& u0 = Find("cc2530", "u0", 1, -1);
  EXPECT_TRUE(Evaluate(u0, 32, 2000000, 2).fits);
  EXPECT_FALSE(Evaluate(u0, 32, 2100000, 2).fits);
  EXPECT_FALSE(Evaluate(u0, 32, 20, 2).fits);
}

// Where the second field goes: BAUD_E into U0GCR, SPD and X2 into BDRCON
// and CKCON0.
TEST(Families, WriteTheirFieldsIntoTheirRegisters) {
  auto values = [](const Setting& s, double mhz, double baud) {
    std::vector<std::pair<std::string, int>> out;
    for (const RegisterValue& r : RegisterValues(Evaluate(s, mhz, baud, 2))) {
      out.emplace_back(std::string(r.name), r.value);
    }
    return out;
  };
  using V = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(values(Find("cc2530", "u0", 1, -1), 32, 115200),
            (V{{"PERCFG", 0x00},
               {"P0SEL", 0x0C},
               {"U0CSR", 0xC0},
               {"U0UCR", 0x02},
               {"U0GCR", 11},
               {"U0BAUD", 216}}));
  EXPECT_EQ(values(Find("at89c51rd2", "brg", 1, 1), 16, 115200),
            (V{{"SCON", 0x50},
               {"BDRCON", 0x1E},
               {"BRL", 247},
               {"PCON", 0x80},
               {"CKCON0", 0x01}}));
}

// The pins a UART's init code routes to it, as the registers are left
// (untouched bits counted as 0): one row per location.
struct PinRow {
  const char* name;
  const char* chip;
  const char* generator;
  std::vector<std::pair<std::string, int>> routing;
};

const PinRow kPinRows[] = {
    // TI's ioCCxx10_bitdef.h: PERCFG.U0CFG (0x01) 1 is location 2, P1.4
    // RX and P1.5 TX (P1SEL 0x30).
    {"Cc2510Location2",
     "cc2510",
     "u0alt2",
     {{"PERCFG", 0x01}, {"P1SEL", 0x30}}},
};

TEST(Families, RouteTheirUartPins) {
  for (const PinRow& row : kPinRows) {
    SCOPED_TRACE(row.name);
    const auto registers = RegisterValues(
        Evaluate(Find(row.chip, row.generator, 1, -1), 26, 115200, 2));
    ASSERT_GE(registers.size(), row.routing.size());
    for (std::size_t i = 0; i < row.routing.size(); ++i) {
      EXPECT_EQ(registers[i].name, row.routing[i].first);
      EXPECT_EQ(registers[i].value, row.routing[i].second);
    }
  }
}

}  // namespace
}  // namespace mcs51
