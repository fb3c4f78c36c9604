#include "timers/catalogue.h"

#include "timers/generators.h"

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

// Registers outside <8052.h> and <reg52.h>, at the makers' addresses.
constexpr Sfr kAtmelX2Sfrs[] = {{"CKCON0", 0x8F}};
constexpr Sfr kStcSfrs[] = {{"AUXR", 0x8E}, {"T2H", 0xD6}, {"T2L", 0xD7}};
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

constexpr double kStcIrc[] = {11.0592, 22.1184, 24, 33.1776};
constexpr double kN76Irc[] = {16};
constexpr double kMs51Irc[] = {16, 24};
constexpr double kSilabsIrc[] = {24.5};
constexpr double kWchFsys[] = {6, 12, 16, 24, 32};
constexpr double kXcPclk[] = {24};

// Each family's document and section: where its formula, register bits
// and printed rates come from.
constexpr Chip kChips[] = {
    {"8051",
     "classic 8051 (12 clocks)",
     "Intel MCS-51 User's Manual, Serial Interface: Timer 1 baud rates",
     k8051,
     {},
     {}},
    {"8052",
     "classic 8052 (12 clocks)",
     "Intel MCS-51 User's Manual; Philips 8XC51FA/FB, Timer 2 baud rates",
     k8052,
     {},
     {}},
    {"x2",
     "X2 parts (6 clocks): AT89C51RD2/ED2, P89V51RD2",
     "Atmel AT89C51RD2/ED2 datasheet, X2 feature and CKCON0",
     kX2,
     kAtmelX2Sfrs,
     {}},
    {"1t",
     "single-cycle Timer 1 (T1x12)",
     "Atmel AT89LP3240/6440 datasheet 3706C, Table 16-2",
     k1t,
     kStcSfrs,
     {}},
    {"stc8", "STC8 (STC8A/8G/8H)",
     "STC8A8K64D4 series manual, UART1 baud-rate formulas; STC's UART1 "
     "example code",
     kStc, kStcSfrs, kStcIrc},
    {"stc15", "STC15 (STC15F2K60S2 and kin)",
     "STC15 series manual, UART1 on Timer 2 / Timer 1, AUXR; STC's UART1 "
     "example code",
     kStc, kStcSfrs, kStcIrc},
    {"stc12",
     "STC12C5A60S2",
     "STC12C5A60S2 series manual, AUXR and the BRT baud-rate generator",
     kStc12,
     kStc12Sfrs,
     {}},
    {"n76e003", "Nuvoton N76E003",
     "N76E003 datasheet, Serial Port: UART0/UART1 baud-rate formulas; "
     "Nuvoton's N76E003.h and SFR_Macro.h for CKCON and T3CON",
     kNuvoton, kNuvotonSfrs, kN76Irc},
    {"ms51", "Nuvoton MS51",
     "MS51 technical reference manual, UART baud-rate formulas; Nuvoton's "
     "SFR_Macro.h for CKCON and T3CON",
     kNuvoton, kNuvotonSfrs, kMs51Irc},
    {"efm8", "Silicon Labs EFM8",
     "EFM8BB1 reference manual, UART0 baud rate and CKCON0; Silicon Labs' "
     "serial-communication training (57600 baud, TH1 0x2B)",
     kEfm8, kEfm8Sfrs, kSilabsIrc},
    {"c8051f", "Silicon Labs C8051F3xx and later",
     "C8051F33x datasheet, UART0 baud rate; Silicon Labs' register header "
     "for CKCON (SCA 0x03, T1M 0x08)",
     kC8051, kC8051Sfrs, kSilabsIrc},
    {"ch552", "WCH CH552, CH554",
     "CH552/CH554 datasheet, UART0 (T2MOD) and UART1 (SBAUD1); WCH's "
     "CH552.H",
     kWch, kWchSfrs, kWchFsys},
    {"ds80c320",
     "Maxim DS80C320",
     "High-Speed Microcontroller User's Guide, Serial I/O baud rates",
     kDs80,
     kDsSfrs,
     {}},
    {"ds89c4x0",
     "Maxim DS89C430/450",
     "Ultra-High-Speed Flash Microcontroller User's Guide, Serial I/O; Keil's "
     "DS89C4xx.H for CKMOD (0x96); FREQ is the system clock after the "
     "crystal multiplier or divider",
     kDs89,
     kDsSfrs,
     {}},
    {"at89lp",
     "Atmel/Microchip AT89LP3240/6440",
     "AT89LP3240/6440 datasheet 3706C, 16.2 Baud Rates, Tables 16-2 and "
     "16-3 (p. 88)",
     kLp,
     kLpSfrs,
     {}},
    {"xc886", "Infineon XC886, XC888",
     "XC886/888 user's manual, UART baud-rate generator and fractional "
     "divider",
     kXc, kXcSfrs, kXcPclk},
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

}  // namespace timers
