#include "timers/catalogue.h"

#include "timers/generators.h"
#include "timers/tick_timers.h"

namespace timers {
namespace {

using namespace records;  // NOLINT(google-build-using-namespace)

constexpr const Generator* k8051[] = {&kClassicT1};
constexpr const Generator* k8052[] = {&kClassicT1, &kClassicT2};
constexpr const Generator* kX2[] = {&kX2T1, &kX2T2};
constexpr const Generator* k1t[] = {&k1tT1};
constexpr const Generator* kStc[] = {&kStcT2, &kStcT1Mode0, &kStcT1Mode2};
constexpr const Generator* kStc12[] = {&kStcT1Mode2, &kStcBrt};
constexpr const Generator* kNuvoton[] = {&kNuvotonT1, &kNuvotonT3,
                                         &kNuvotonT3Uart1};
constexpr const Generator* kEfm8[] = {&kEfm8T1};
constexpr const Generator* kC8051[] = {&kC8051T1};
constexpr const Generator* kWch[] = {&kWchT1, &kWchSbaud1};
constexpr const Generator* kDs80[] = {&kDsT1, &kClassicT2};
constexpr const Generator* kDs89[] = {&kDs89T1, &kClassicT2};
constexpr const Generator* kLp[] = {&kLpT2Gen, &kLpT1Mode2, &kLpT1Mode1};
constexpr const Generator* kXc[] = {&kXcBgGen, &kXcFdGen};
// X1's timers; the X2 parts' are the x2 records.
constexpr const Generator* kAtmelBrg[] = {&kAtmelBrgGen, &kClassicT1,
                                          &kClassicT2};
constexpr const Generator* kLpc[] = {&kLpcBrgGen};
constexpr const Generator* kCc[] = {&kCcUart0};
constexpr const Generator* kFx2[] = {&kDsT1, &kClassicT2};
constexpr const Generator* kC517[] = {&kC517S0rel};
constexpr const Generator* kNrf[] = {&kNrfS0rel};
constexpr const Generator* kAduc[] = {&kAducT3Gen};

constexpr const TickTimer* k8051Timers[] = {&kClassicT0, &kClassicT1Tick};
constexpr const TickTimer* k8052Timers[] = {&kClassicT0, &kClassicT1Tick,
                                            &kClassicT2Tick};
constexpr const TickTimer* kX2Timers[] = {&kX2T0, &kX2T1Tick, &kX2T2Tick};
constexpr const TickTimer* k1tTimers[] = {&k1tT0, &k1tT1Tick};
constexpr const TickTimer* kStcTimers[] = {
    &kStcT0Tick, &kStcT1Tick, &kStcT2Tick, &kStcT3Tick, &kStcT4Tick};
constexpr const TickTimer* kNuvotonTimers[] = {&kNuvotonT0Tick,
                                               &kNuvotonT1Tick};
constexpr const TickTimer* kEfm8Timers[] = {&kEfm8T0Tick, &kEfm8T1Tick};
constexpr const TickTimer* kC8051Timers[] = {&kC8051T0Tick, &kC8051T1Tick};
constexpr const TickTimer* kStc12Timers[] = {&kStc12T0Tick, &kStc12T1Tick};
constexpr const TickTimer* kLpTimers[] = {&kLpT0Tick, &kLpT1Tick, &kLpT2Tick};
// ADuC84x at 1 clock a count, ADuC83x at 12.
constexpr const TickTimer* kAducTimers[] = {&kAducT0Tick,    &kAducT1Tick,
                                            &kAducT2Tick,    &kClassicT0,
                                            &kClassicT1Tick, &kClassicT2Tick};
constexpr const TickTimer* kDallasTimers[] = {&kDallasT0Tick, &kDallasT1Tick,
                                              &kDallasT2Tick};
constexpr const TickTimer* kWchTimers[] = {&kWchT0Tick, &kWchT1Tick,
                                           &kWchT2Tick};
// The AT89C51RD2 and kin run at 12 clocks (X1) or, with X2, at 6.
constexpr const TickTimer* kAtmelTimers[] = {&kClassicT0,     &kClassicT1Tick,
                                             &kClassicT2Tick, &kX2T0,
                                             &kX2T1Tick,      &kX2T2Tick};
constexpr const TickTimer* kLpcTimers[] = {&kLpcT0Tick, &kLpcT1Tick};
constexpr const TickTimer* kNrfTimers[] = {&kNrfT0Tick, &kNrfT1Tick};

// Registers outside <8052.h> and <reg52.h>, at the makers' addresses.
constexpr Sfr kAtmelX2Sfrs[] = {{"CKCON0", 0x8F}};
constexpr Sfr kStcSfrs[] = {{"AUXR", 0x8E}, {"T2H", 0xD6},   {"T2L", 0xD7},
                            {"IE2", 0xAF},  {"T4T3M", 0xD1}, {"T4H", 0xD2},
                            {"T4L", 0xD3},  {"T3H", 0xD4},   {"T3L", 0xD5}};
constexpr Sfr kStc12Sfrs[] = {{"AUXR", 0x8E}, {"BRT", 0x9C}};
constexpr Sfr kNuvotonSfrs[] = {{"CKCON", 0x8E},
                                {"T3CON", 0xC4},
                                {"RL3", 0xC5},
                                {"RH3", 0xC6},
                                {"SCON_1", 0xF8}};
constexpr Sfr kEfm8Sfrs[] = {{"CKCON0", 0x8E}, {"SCON0", 0x98}};
constexpr Sfr kC8051Sfrs[] = {{"CKCON", 0x8E}, {"SCON0", 0x98}};
constexpr Sfr kWchSfrs[] = {{"T2MOD", 0xC9}, {"SCON1", 0xC0}, {"SBAUD1", 0xC2}};
constexpr Sfr kDsSfrs[] = {{"CKCON", 0x8E}, {"CKMOD", 0x96}};
// AT89LP3240/6440: TCONB 0x91, RL0 0x92, RL1 0x93, RH0 0x94, RH1 0x95.
constexpr Sfr kLpSfrs[] = {{"CLKREG", 0x8F}, {"RL1", 0x93}, {"RH1", 0x95}};
constexpr Sfr kXcSfrs[] = {
    {"BCON", 0xBD}, {"BG", 0xBE}, {"FDCON", 0xE9}, {"FDSTEP", 0xEA}};

constexpr Sfr kAtmelBrgSfrs[] = {
    {"CKCON0", 0x8F}, {"BRL", 0x9A}, {"BDRCON", 0x9B}};
constexpr Sfr kLpcSfrs[] = {{"BRGCON", 0xBD}, {"BRGR0", 0xBE}, {"BRGR1", 0xBF}};
constexpr Sfr kCcSfrs[] = {
    {"U0CSR", 0x86}, {"U0BAUD", 0xC2}, {"U0UCR", 0xC4}, {"U0GCR", 0xC5}};
constexpr Sfr kFx2Sfrs[] = {{"CKCON", 0x8E}};
constexpr Sfr kC517Sfrs[] = {
    {"S0RELL", 0xAA}, {"S0RELH", 0xBA}, {"ADCON0", 0xD8}};
constexpr Sfr kNrfSfrs[] = {
    {"S0RELL", 0xAA}, {"S0RELH", 0xBA}, {"ADCON", 0xD8}};
constexpr Sfr kAducSfrs[] = {{"T3FD", 0x9D}, {"T3CON", 0x9E}};

constexpr double kStcIrc[] = {11.0592, 22.1184, 24, 33.1776};
constexpr double kN76Irc[] = {16};
constexpr double kMs51Irc[] = {16, 24};
constexpr double kSilabsIrc[] = {24.5};
constexpr double kWchFsys[] = {6, 12, 16, 24, 32};
constexpr double kXcPclk[] = {24};
// The system clocks these radios and USB parts run their UART from.
constexpr double kCc2530Clocks[] = {16, 32};
constexpr double kCc2510Clocks[] = {13, 26};
constexpr double kFx2Clkout[] = {12, 24, 48};
constexpr double kNrfClock[] = {16};

constexpr std::string_view kAtmelNames[] = {"at89c51rb2", "at89c51rc2",
                                            "at89c51ed2", "at89c51id2",
                                            "at89c51ic2", "at89c5131"};
constexpr std::string_view kCc2530Names[] = {"cc2531", "cc2540", "cc2541"};
constexpr std::string_view kCc2510Names[] = {"cc1110"};
constexpr std::string_view kC517Names[] = {"c509", "c515c"};

// The lines the code explains an extra register with.
constexpr std::string_view kX2Note[] = {
    "Atmel AT89C51RD2/ED2-style parts: CKCON0 bit 0 (X2) runs the core at",
    "6 clocks per machine cycle, and the peripherals whose own CKCON0 bits",
    "stay 0 with it. NXP P89C51RD2/P89V51RD2-style parts choose 6 clocks by",
    "a programming option, set when the chip is programmed: leave CKCON0 out",
    "there."};
constexpr std::string_view k1tNote[] = {
    "STC12/STC15-style single-cycle parts: AUXR bit 6 (T1x12) clocks Timer 1",
    "at the crystal's rate instead of a twelfth of it."};

using E = Evidence;

// Each family's documents and sections: where its formula, register bits
// and printed rates come from. A family cites only documents whose
// registers its code writes.
constexpr Chip kChips[] = {
    {.name = "8051",
     .family = "classic 8051 (12 clocks)",
     .document =
         "Intel MCS-51 User's Manual, Serial Interface: Timer 1 baud rates",
     .evidence = E::kPrintedTable,
     .generators = k8051,
     .core = true,
     .timers = k8051Timers},
    {.name = "8052",
     .family = "classic 8052 (12 clocks)",
     .document =
         "Intel MCS-51 User's Manual; Philips 8XC51FA/FB, Timer 2 baud rates",
     .evidence = E::kPrintedTable,
     .generators = k8052,
     .core = true,
     .timers = k8052Timers},
    {.name = "x2",
     .family = "X2 parts (6 clocks): AT89C51RD2/ED2, P89V51RD2",
     .document = "Atmel AT89C51RD2/ED2 datasheet, X2 feature and CKCON0",
     .evidence = E::kFormulaOnly,
     .generators = kX2,
     .sfrs = kAtmelX2Sfrs,
     .core = true,
     .note = kX2Note,
     .timers = kX2Timers},
    {.name = "1t",
     .family = "single-cycle Timer 1 (T1x12)",
     .document = "STC15 series manual, AUXR (T1x12) and UART1 on Timer 1",
     .evidence = E::kFormulaOnly,
     .generators = k1t,
     .sfrs = kStcSfrs,
     .core = true,
     .note = k1tNote,
     .timers = k1tTimers},
    {.name = "stc8",
     .family = "STC8 (STC8A/8G/8H)",
     .document = "STC8A8K64D4 series manual, UART1 baud-rate formulas; STC's "
                 "UART1 example code",
     .evidence = E::kMakersExample,
     .generators = kStc,
     .sfrs = kStcSfrs,
     .internal_mhz = kStcIrc,
     .timers = kStcTimers},
    {.name = "stc15",
     .family = "STC15 (STC15F2K60S2 and kin)",
     .document = "STC15 series manual, UART1 on Timer 2 / Timer 1, AUXR; "
                 "STC's UART1 example code",
     .evidence = E::kMakersExample,
     .generators = kStc,
     .sfrs = kStcSfrs,
     .internal_mhz = kStcIrc,
     .timers = kStcTimers},
    {.name = "stc12",
     .family = "STC12C5A60S2",
     .document =
         "STC12C5A60S2 series manual, AUXR and the BRT baud-rate generator",
     .evidence = E::kFormulaOnly,
     .generators = kStc12,
     .sfrs = kStc12Sfrs,
     .timers = kStc12Timers},
    {.name = "n76e003",
     .family = "Nuvoton N76E003",
     .document = "N76E003 datasheet, Serial Port: UART0/UART1 baud-rate "
                 "formulas; Nuvoton's N76E003.h and SFR_Macro.h for CKCON and "
                 "T3CON",
     .evidence = E::kFormulaOnly,
     .generators = kNuvoton,
     .sfrs = kNuvotonSfrs,
     .internal_mhz = kN76Irc,
     .timers = kNuvotonTimers},
    {.name = "ms51",
     .family = "Nuvoton MS51",
     .document = "MS51 technical reference manual, UART baud-rate formulas; "
                 "Nuvoton's SFR_Macro.h for CKCON and T3CON",
     .evidence = E::kFormulaOnly,
     .generators = kNuvoton,
     .sfrs = kNuvotonSfrs,
     .internal_mhz = kMs51Irc,
     .timers = kNuvotonTimers},
    {.name = "efm8",
     .family = "Silicon Labs EFM8",
     .document = "EFM8BB1 reference manual, UART0 baud rate and CKCON0; "
                 "Silicon Labs' serial-communication training (57600 baud, "
                 "TH1 0x2B)",
     .evidence = E::kMakersExample,
     .generators = kEfm8,
     .sfrs = kEfm8Sfrs,
     .internal_mhz = kSilabsIrc,
     .timers = kEfm8Timers},
    {.name = "c8051f",
     .family = "Silicon Labs C8051F3xx and later",
     .document = "C8051F33x datasheet, UART0 baud rate; Silicon Labs' register "
                 "header for CKCON (SCA 0x03, T1M 0x08)",
     .evidence = E::kFormulaOnly,
     .generators = kC8051,
     .sfrs = kC8051Sfrs,
     .internal_mhz = kSilabsIrc,
     .timers = kC8051Timers},
    {.name = "ch552",
     .family = "WCH CH552, CH554",
     .document = "CH552/CH554 datasheet, UART0 (T2MOD) and UART1 (SBAUD1); "
                 "WCH's CH552.H",
     .evidence = E::kFormulaOnly,
     .generators = kWch,
     .sfrs = kWchSfrs,
     .internal_mhz = kWchFsys,
     .timers = kWchTimers},
    {.name = "ds80c320",
     .family = "Maxim DS80C320",
     .document = "High-Speed Microcontroller User's Guide, Serial I/O baud "
                 "rates; Cypress EZ-USB TRM, Table C-10 (the same core's "
                 "CKCON.T1M)",
     .evidence = E::kPrintedTable,
     .generators = kDs80,
     .sfrs = kDsSfrs,
     .timers = kDallasTimers},
    {.name = "ds89c4x0",
     .family = "Maxim DS89C430/450",
     .document = "Ultra-High-Speed Flash Microcontroller User's Guide, Serial "
                 "I/O; Keil's DS89C4xx.H for CKMOD (0x96); FREQ is the system "
                 "clock after the crystal multiplier or divider",
     .evidence = E::kFormulaOnly,
     .generators = kDs89,
     .sfrs = kDsSfrs,
     .timers = kDallasTimers},
    {.name = "at89lp",
     .family = "Atmel/Microchip AT89LP3240/6440",
     .document = "AT89LP3240/6440 datasheet 3706C, 16.2 Baud Rates, Tables "
                 "16-2 and 16-3 (p. 88)",
     .evidence = E::kPrintedTable,
     .generators = kLp,
     .sfrs = kLpSfrs,
     .timers = kLpTimers},
    {.name = "xc886",
     .family = "Infineon XC886, XC888",
     .document = "XC886/888 user's manual, UART baud-rate generator and "
                 "fractional divider",
     .evidence = E::kFormulaOnly,
     .generators = kXc,
     .sfrs = kXcSfrs,
     .internal_mhz = kXcPclk},
    {.name = "at89c51rd2",
     .family = "Atmel AT89C51RB2/RC2/RD2/ED2/ID2, AT89C51IC2, AT89C5131",
     .document = "AT89C51RD2/ED2 datasheet 4235K, 14.4.1 Internal Baud Rate "
                 "Generator (BRL, BDRCON, SPD, SMOD1); AT8xC51SND1C datasheet, "
                 "Table 124 (the same generator's rates)",
     .evidence = E::kPrintedTable,
     .generators = kAtmelBrg,
     .sfrs = kAtmelBrgSfrs,
     .aliases = kAtmelNames,
     .timers = kAtmelTimers},
    {.name = "lpc900",
     .family = "NXP P89LPC9xx",
     .document = "P89LPC9xx user manuals' baud-rate generator, CCLK / "
                 "(BRGR1:BRGR0 + 16) with BRGCON",
     .evidence = E::kFormulaOnly,
     .generators = kLpc,
     .sfrs = kLpcSfrs,
     .clock = "CCLK, the CPU clock after DIVM",
     .timers = kLpcTimers},
    {.name = "cc2530",
     .family = "TI CC2530, CC2531, CC2540, CC2541",
     .document = "TI's CC2430/CC2530 USART baud-rate formula (UxBAUD, UxGCR) "
                 "and its table for a 32 MHz system clock",
     .evidence = E::kPrintedTable,
     .generators = kCc,
     .sfrs = kCcSfrs,
     .internal_mhz = kCc2530Clocks,
     .aliases = kCc2530Names,
     .clock = "the system clock CLKCONCMD.OSC selects: the 32 MHz crystal or "
              "the 16 MHz RC oscillator"},
    {.name = "cc2510",
     .family = "TI CC2510, CC1110",
     .document = "the CC2430/CC2530 USART's formula (U0BAUD, U0GCR), the "
                 "same USART as the CC1110/CC2510's",
     .evidence = E::kFormulaOnly,
     .generators = kCc,
     .sfrs = kCcSfrs,
     .internal_mhz = kCc2510Clocks,
     .aliases = kCc2510Names,
     .clock = "the system clock CLKCON selects: the 26 MHz crystal (27 MHz on "
              "some CC1110 boards) or the 13 MHz RC oscillator"},
    {.name = "fx2lp",
     .family = "Cypress EZ-USB FX2LP",
     .document = "Cypress EZ-USB TRM v1.9, Appendix C, Table C-11 (the "
                 "EZ-USB core's Timer 2 rates at 24 MHz)",
     .evidence = E::kPrintedTable,
     .generators = kFx2,
     .sfrs = kFx2Sfrs,
     .internal_mhz = kFx2Clkout,
     .clock = "CLKOUT, the CPU clock CPUCS.CLKSPD selects: 12, 24 or 48 MHz",
     .timers = kDallasTimers},
    {.name = "c517a",
     .family = "Infineon C517A, C509, C515C",
     .document = "C517A user's manual, Serial interface 0 baud-rate generator "
                 "(S0RELH, S0RELL, ADCON0.BD), p. 6-76; C509-L user's manual, "
                 "p. 6-88",
     .evidence = E::kMakersExample,
     .generators = kC517,
     .sfrs = kC517Sfrs,
     .aliases = kC517Names},
    {.name = "nrf24le1",
     .family = "Nordic nRF24LE1",
     .document = "Nordic's nRF24LE1 data sheet, Table 28 (SFR map: "
                 "S0RELL, S0RELH, ADCON); the C517A's formula",
     .evidence = E::kFormulaOnly,
     .generators = kNrf,
     .sfrs = kNrfSfrs,
     .internal_mhz = kNrfClock,
     .timers = kNrfTimers},
    {.name = "aduc84x",
     .family = "Analog Devices ADuC841/842/843, ADuC83x",
     .document = "ADuC841/ADuC842/ADuC843 datasheet Rev. 0, Timer 3 Generated "
                 "Baud Rates (T3CON, T3FD), p. 68",
     .evidence = E::kFormulaOnly,
     .generators = kAduc,
     .sfrs = kAducSfrs,
     .clock = "fCORE, the core clock PLLCON sets (the crystal on the ADuC841)",
     .timers = kAducTimers},
};

void Expand(const Chip& chip, std::vector<Setting>& settings) {
  for (const Generator* generator : chip.generators) {
    const Arithmetic& a = *generator->arithmetic;
    for (std::size_t i = 0; i < a.choices.size(); ++i) {
      const ClockChoice& choice = a.choices[i];
      for (int smod = 0; smod <= (a.smod ? 1 : 0); ++smod) {
        Setting s{generator->timer,
                  a.smod ? smod : -1,
                  choice.clocks,
                  {smod == 1 ? choice.k / 2 : choice.k, a.modulus}};
        s.generator = generator;
        s.chip = &chip;
        s.choice = static_cast<int>(i);
        settings.push_back(s);
      }
    }
  }
}

}  // namespace

std::span<const Chip> Chips() { return kChips; }

const Chip* FindChip(std::string_view name) {
  for (const Chip& chip : kChips) {
    if (chip.name == name) return &chip;
    for (std::string_view alias : chip.aliases) {
      if (alias == name) return &chip;
    }
  }
  return nullptr;
}

const std::vector<Setting>& ChipSettings(const Chip* chip) {
  // Built once; a few hundred settings in all.
  static const std::vector<std::vector<Setting>> per_chip = [] {
    std::vector<std::vector<Setting>> all(std::size(kChips) + 1);
    for (std::size_t i = 0; i < std::size(kChips); ++i) {
      Expand(kChips[i], all[i]);
      all.back().insert(all.back().end(), all[i].begin(), all[i].end());
    }
    return all;
  }();
  if (chip == nullptr) return per_chip.back();
  return per_chip[static_cast<std::size_t>(chip - kChips)];
}

std::span<const Setting> DefaultSettings() {
  static const std::vector<Setting> settings = [] {
    std::vector<Setting> all;
    for (std::string_view name : {"8052", "x2", "1t"}) {
      for (Setting s : ChipSettings(FindChip(name))) {
        s.by_chip = false;
        all.push_back(s);
      }
    }
    return all;
  }();
  return settings;
}

}  // namespace timers
