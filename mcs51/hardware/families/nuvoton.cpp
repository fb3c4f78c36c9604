// Nuvoton's N76E003 and MS51: Timer 0 and 1 at Fsys/12 or Fsys (CKCON's
// T0M, T1M), UART0 on Timer 1 or Timer 3, UART1 on Timer 3; Timers 2 and 3
// as 16-bit auto-reload tick timers.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// CKCON: T0M 0x08, T1M 0x10. T3CON: SMOD_1, BRCK, TF3, TR3, T3PS; EIE's
// ET2, EIE1's ET3; SCON_1's REN_1.
constexpr std::uint8_t kT0m = 0x08, kT1m = 0x10;
constexpr Field kSMOD_1{"SMOD_1", "T3CON", 0x80};
constexpr Field kBRCK{"BRCK", "T3CON", 0x20};
constexpr Field kTF3{"TF3", "T3CON", 0x10};
constexpr Field kTR3{"TR3", "T3CON", 0x08};
constexpr Field kT3PS{"T3PS", "T3CON", 0x07};
constexpr Field kET2{"ET2", "EIE", 0x80};
constexpr Field kET3{"ET3", "EIE1", 0x02};
constexpr Field kREN_1{"REN_1", "SCON_1", 0x10};
constexpr Clock kT0Clocks[] = {{12}, {1, {kT0m}}};
constexpr Clock kT1Clocks[] = {{12}, {1, {kT1m}}};
// Timer 3's prescaler, 1 ... 128 by T3PS 0 ... 7.
constexpr Clock kT3Clocks[] = {{1, {0}},  {2, {1}},  {4, {2}},  {8, {3}},
                               {16, {4}}, {32, {5}}, {64, {6}}, {128, {7}}};

constexpr Write kT0Clock = CLOCK_WRITE("CKCON", kT0m, "T0M");
constexpr Write kT1Clock = CLOCK_WRITE("CKCON", kT1m, "T1M");
MODE2_ONLY(t0, 0, kT0Clock)
MODE2_ONLY(t1, 1, kT1Clock)

constexpr Write kBrckOff{
    .reg = kBRCK.reg,
    .mask = kBRCK.mask,
    .value = 0x00,
    .comment = {"BRCK = 0: UART0 on Timer 1", "BRCK = 0：串口 0 用定时器 1"}};
constexpr Write kT1Baud[] = {TIMER1_MODE2(kT1Clock, kBrckOff, )};
constexpr BaudMode kT1Bauds[] = {
    {"t1", kUart0Timer1Text, 256, &kinds::kUp, true, kK384or32, kT1Baud}};

// 2^SMOD/32 * Fsys/prescale/(65536 - RH3:RL3).
constexpr double kT3K[] = {32, 64, 128, 256, 512, 1024, 2048, 4096};
constexpr Write kT3Baud[] = {kScon,
                             {.reg = "RL3", .source = S::kReloadLow},
                             {.reg = "RH3", .source = S::kReloadHigh},
                             {.reg = kTR3.reg,
                              .mask = kBRCK.mask | kTR3.mask | kT3PS.mask,
                              .value = kBRCK.mask | kTR3.mask,
                              .choice_slot = 0,
                              .comment = {"BRCK, TR3, T3PS"}},
                             kSmod};
constexpr Write kT3Uart1Baud[] = {
    {.reg = kREN_1.reg,
     .value = core::kSM1.mask | kREN_1.mask,
     .comment = {"UART1 mode 1, receiver on", "串口 1 方式 1，允许接收"}},
    {.reg = "RL3", .source = S::kReloadLow},
    {.reg = "RH3", .source = S::kReloadHigh},
    {.reg = kTR3.reg,
     .mask = kSMOD_1.mask | kTR3.mask | kT3PS.mask,
     .value = kTR3.mask,
     .choice_slot = 0,
     .smod_bits = kSMOD_1.mask,
     .comment = {"SMOD_1, TR3, T3PS"}}};
constexpr BaudMode kT3Bauds[] = {{"t3",
                                  {"UART0 on Timer 3", "串口 0 用定时器 3"},
                                  65536,
                                  &kinds::kUp,
                                  true,
                                  kT3K,
                                  kT3Baud},
                                 {"u1t3",
                                  {"UART1 on Timer 3", "串口 1 用定时器 3"},
                                  65536,
                                  &kinds::kUp,
                                  true,
                                  kT3K,
                                  kT3Uart1Baud,
                                  0,
                                  "STEP",
                                  kREN_1}};

// Timer 2 reloads from RCMP2H:RCMP2L on overflow: T2CON's CM_RL2 (bit 0)
// clear, T2MOD's LDEN (bit 7) set, LDTS (bits 1, 0) 00; T2DIV (bits 6 ... 4)
// divides Fsys by 1, 4, 16 ... 512. CAPCR (bit 3) as Nuvoton's BSP sets it
// for auto-reload. ET2 is EIE's bit 7; TF2 is the handler's to clear.
constexpr Clock kT2Clocks[] = {{1, {0x00}},   {4, {0x10}},  {16, {0x20}},
                               {32, {0x30}},  {64, {0x40}}, {128, {0x50}},
                               {256, {0x60}}, {512, {0x70}}};
constexpr Write kT2Tick[] = {
    {.reg = "T2CON", .value = 0x00, .comment = kAutoReloadStoppedText},
    {.reg = "T2MOD",
     .value = 0x88,
     .choice_slot = 0,
     .comment = {"LDEN, CAPCR, T2DIV: reloaded on overflow",
                 "LDEN、CAPCR、T2DIV：溢出时重装"}},
    {.reg = "RCMP2H", .source = S::kReloadHigh},
    {.reg = "RCMP2L", .source = S::kReloadLow},
    kTh2,
    {.reg = "TL2", .source = S::kReloadLow, .comment = kFirstTickText},
    SetBits(kET2),
    kEa,
    kTr2};
constexpr TickMode kT2Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT2Tick}};

// Timer 3 always reloads from RH3:RL3; T3PS is the clock choice, TF3 (bit
// 4) and TR3 (bit 3) share T3CON with the UARTs' bits, which stay. ET3 is
// EIE1's bit 1.
constexpr Write kT3Run = SetBits(kTR3);
constexpr Write kT3Tick[] = {
    {.reg = kTR3.reg,
     .mask = kTF3.mask | kTR3.mask | kT3PS.mask,
     .choice_slot = 0,
     .comment = {"T3PS; TF3, TR3 clear: stopped", "T3PS；TF3、TR3 清零：停止"}},
    {.reg = "RL3", .source = S::kReloadLow},
    {.reg = "RH3", .source = S::kReloadHigh},
    SetBits(kET3),
    kEa,
    kT3Run};
constexpr TickMode kT3Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT3Tick}};

constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, t0::kModes);
constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, t1::kModes);
constexpr Unit kT2 = EnabledBy(TIMER_2(kT2Clocks, {}, kT2Ticks), kET2);
constexpr Unit kT3{.key = "t3",
                   .number = 3,
                   .clocks = kT3Clocks,
                   .bauds = kT3Bauds,
                   .ticks = kT3Ticks,
                   .vector = 16,
                   .run = kT3Run,
                   .flag = {.reg = kTF3.reg, .mask = kTF3.mask},
                   .enable = kET3};
constexpr Fitted kUnits[] = {{&kT0}, {&kT1}, {&kT2}, {&kT3}};

// T3CON, RL3 and RH3 (and the MS51's RCMP2L, RCMP2H) are on SFR page 0,
// where SFRS stands after reset.
constexpr Register kRegisters[] = {
    {"CKCON", 0x8E},  {"T3CON", 0xC4}, {"RL3", 0xC5},    {"RH3", 0xC6},
    {"SCON_1", 0xF8}, {"T2MOD", 0xC9}, {"RCMP2L", 0xCA}, {"RCMP2H", 0xCB},
    {"EIE", 0x9B},    {"EIE1", 0x9C}};
// The BSPs' macros, from Nuvoton's headers: set_NAME and clr_NAME under
// the legacy names, which the current BSPs keep beside their set_REG_BIT
// ones, and the mode macros. SCON's bit 7 has no set_SM0, only set_FE, the
// same bit. The current BSPs' T3CON macros first write SFRS 0 through TA,
// which no reading needs: SFRS is 0 after reset.
constexpr HeaderPair kLegacyPairs[] = {
    {"SMOD", "PCON |= 0x80", "PCON &= ~0x80"},
    {"SMOD0", "PCON |= 0x40", "PCON &= ~0x40"},
    {"TR0", "TR0 = 1", "TR0 = 0"},
    {"TR1", "TR1 = 1", "TR1 = 0"},
    {"TF0", "TF0 = 1", "TF0 = 0"},
    {"TF1", "TF1 = 1", "TF1 = 0"},
    {"GATE_T1", "TMOD |= 0x80", "TMOD &= ~0x80"},
    {"CT_T1", "TMOD |= 0x40", "TMOD &= ~0x40"},
    {"M1_T1", "TMOD |= 0x20", "TMOD &= ~0x20"},
    {"M0_T1", "TMOD |= 0x10", "TMOD &= ~0x10"},
    {"GATE_T0", "TMOD |= 0x08", "TMOD &= ~0x08"},
    {"CT_T0", "TMOD |= 0x04", "TMOD &= ~0x04"},
    {"M1_T0", "TMOD |= 0x02", "TMOD &= ~0x02"},
    {"M0_T0", "TMOD |= 0x01", "TMOD &= ~0x01"},
    {"T1M", "CKCON |= 0x10", "CKCON &= ~0x10"},
    {"T0M", "CKCON |= 0x08", "CKCON &= ~0x08"},
    {"FE", "SM0 = 1", "SM0 = 0"},
    {"SM1", "SM1 = 1", "SM1 = 0"},
    {"SM2", "SM2 = 1", "SM2 = 0"},
    {"REN", "REN = 1", "REN = 0"},
    {"TI", "TI = 1", "TI = 0"},
    {"RI", "RI = 1", "RI = 0"},
    {"FE_1", "SCON_1 |= 0x80", "SCON_1 &= ~0x80"},
    {"SM1_1", "SCON_1 |= 0x40", "SCON_1 &= ~0x40"},
    {"REN_1", "SCON_1 |= 0x10", "SCON_1 &= ~0x10"},
    {"EA", "EA = 1", "EA = 0"},
    {"ES", "ES = 1", "ES = 0"},
    {"ET0", "ET0 = 1", "ET0 = 0"},
    {"ET1", "ET1 = 1", "ET1 = 0"},
    {"ET2", "EIE |= 0x80", "EIE &= ~0x80"},
    {"ET3", "EIE1 |= 0x02", "EIE1 &= ~0x02"},
    {"ES_1", "EIE1 |= 0x01", "EIE1 &= ~0x01"},
    {"SMOD_1", "T3CON |= 0x80", "T3CON &= ~0x80"},
    {"SMOD0_1", "T3CON |= 0x40", "T3CON &= ~0x40"},
    {"BRCK", "T3CON |= 0x20", "T3CON &= ~0x20"},
    {"TF3", "T3CON |= 0x10", "T3CON &= ~0x10"},
    {"TR3", "T3CON |= 0x08", "T3CON &= ~0x08"},
    {"TR2", "TR2 = 1", "TR2 = 0"},
};
constexpr HeaderPair kRegisterBitPairs[] = {
    {"PCON_SMOD", "PCON |= 0x80", "PCON &= 0x7F"},
    {"PCON_SMOD0", "PCON |= 0x40", "PCON &= 0xBF"},
    {"TCON_TR0", "TR0 = 1", "TR0 = 0"},
    {"TCON_TR1", "TR1 = 1", "TR1 = 0"},
    {"TCON_TF0", "TF0 = 1", "TF0 = 0"},
    {"TCON_TF1", "TF1 = 1", "TF1 = 0"},
    {"TMOD_GATE_T1", "TMOD |= 0x80", "TMOD &= 0x7F"},
    {"TMOD_CT_T1", "TMOD |= 0x40", "TMOD &= 0xBF"},
    {"TMOD_M1_T1", "TMOD |= 0x20", "TMOD &= 0xDF"},
    {"TMOD_M0_T1", "TMOD |= 0x10", "TMOD &= 0xEF"},
    {"TMOD_GATE_T0", "TMOD |= 0x08", "TMOD &= 0xF7"},
    {"TMOD_CT_T0", "TMOD |= 0x04", "TMOD &= 0xFB"},
    {"TMOD_M1_T0", "TMOD |= 0x02", "TMOD &= 0xFD"},
    {"TMOD_M0_T0", "TMOD |= 0x01", "TMOD &= 0xFE"},
    {"CKCON_T1M", "CKCON |= 0x10", "CKCON &= 0xEF"},
    {"CKCON_T0M", "CKCON |= 0x08", "CKCON &= 0xF7"},
    {"SCON_FE", "SM0 = 1", "SM0 = 0"},
    {"SCON_SM1", "SM1 = 1", "SM1 = 0"},
    {"SCON_SM2", "SM2 = 1", "SM2 = 0"},
    {"SCON_REN", "REN = 1", "REN = 0"},
    {"SCON_TI", "TI = 1", "TI = 0"},
    {"SCON_RI", "RI = 1", "RI = 0"},
    {"SCON_1_REN_1", "SCON_1 |= 0x10", "SCON_1 &= 0xEF"},
    {"IE_EA", "EA = 1", "EA = 0"},
    {"IE_ES", "ES = 1", "ES = 0"},
    {"IE_ET0", "ET0 = 1", "ET0 = 0"},
    {"IE_ET1", "ET1 = 1", "ET1 = 0"},
    {"EIE_ET2", "EIE |= 0x80", "EIE &= 0x7F"},
    {"EIE1_ET3", "EIE1 |= 0x02", "EIE1 &= 0xFD"},
    {"EIE1_ES_1", "EIE1 |= 0x01", "EIE1 &= 0xFE"},
    {"T3CON_SMOD_1", "T3CON |= 0x80", "T3CON &= 0x7F"},
    {"T3CON_SMOD0_1", "T3CON |= 0x40", "T3CON &= 0xBF"},
    {"T3CON_BRCK", "T3CON |= 0x20", "T3CON &= 0xDF"},
    {"T3CON_TF3", "T3CON |= 0x10", "T3CON &= 0xEF"},
    {"T3CON_TR3", "T3CON |= 0x08", "T3CON &= 0xF7"},
    {"T2CON_TR2", "TR2 = 1", "TR2 = 0"},
};
constexpr HeaderMacro kLegacyModes[] = {
    {"TIMER0_MODE0_ENABLE", "TMOD &= 0xF0"},
    {"TIMER0_MODE1_ENABLE", "TMOD &= 0xF0; TMOD |= 0x01"},
    {"TIMER0_MODE2_ENABLE", "TMOD &= 0xF0; TMOD |= 0x02"},
    {"TIMER0_MODE3_ENABLE", "TMOD &= 0xF0; TMOD |= 0x03"},
    {"TIMER1_MODE0_ENABLE", "TMOD &= 0x0F"},
    {"TIMER1_MODE1_ENABLE", "TMOD &= 0x0F; TMOD |= 0x10"},
    {"TIMER1_MODE2_ENABLE", "TMOD &= 0x0F; TMOD |= 0x20"},
    {"TIMER1_MODE3_ENABLE", "TMOD &= 0x0F; TMOD |= 0x30"},
};
// The current function_define's own: the modes' other names (aliases, as
// the header has them), the clocks,
// the enables, and Timer 3's prescaler, which clears TR3, T3PS2 and T3PS1
// but keeps T3PS0.
constexpr HeaderMacro kCurrentMacros[] = {
    {"ENABLE_TIMER0_MODE0", "TIMER0_MODE0_ENABLE"},
    {"ENABLE_TIMER0_MODE1", "TIMER0_MODE1_ENABLE"},
    {"ENABLE_TIMER0_MODE2", "TIMER0_MODE2_ENABLE"},
    {"ENABLE_TIMER0_MODE3", "TIMER0_MODE3_ENABLE"},
    {"ENABLE_TIMER1_MODE0", "TIMER1_MODE0_ENABLE"},
    {"ENABLE_TIMER1_MODE1", "TIMER1_MODE1_ENABLE"},
    {"ENABLE_TIMER1_MODE2", "TIMER1_MODE2_ENABLE"},
    {"ENABLE_TIMER1_MODE3", "TIMER1_MODE3_ENABLE"},
    {"TIMER0_FSYS", "CKCON |= 0x08"},
    {"TIMER0_FSYS_DIV12", "CKCON &= 0xF7"},
    {"TIMER1_FSYS", "CKCON |= 0x10"},
    {"TIMER1_FSYS_DIV12", "CKCON &= 0xEF"},
    {"ENABLE_GLOBAL_INTERRUPT", "EA = 1"},
    {"ENABLE_UART0_INTERRUPT", "ES = 1"},
    {"ENABLE_TIMER0_INTERRUPT", "ET0 = 1"},
    {"ENABLE_TIMER1_INTERRUPT", "ET1 = 1"},
    {"ENABLE_TIMER2_INTERRUPT", "EIE |= 0x80"},
    {"ENABLE_TIMER3_INTERRUPT", "EIE1 |= 0x02"},
    {"ENABLE_UART1_INTERRUPT", "EIE1 |= 0x01"},
    {"TIMER3_DIV_2", "T3CON &= 0xF1; T3CON |= 0x01"},
    {"TIMER3_DIV_4", "T3CON &= 0xF1; T3CON |= 0x02"},
    {"TIMER3_DIV_8", "T3CON &= 0xF1; T3CON |= 0x03"},
    {"TIMER3_DIV_16", "T3CON &= 0xF1; T3CON |= 0x04"},
    {"TIMER3_DIV_32", "T3CON &= 0xF1; T3CON |= 0x05"},
    {"TIMER3_DIV_64", "T3CON &= 0xF1; T3CON |= 0x06"},
    {"TIMER3_DIV_128", "T3CON &= 0xF1; T3CON |= 0x07"},
};
constexpr HeaderMacros kLegacyMacroSets[] = {kLegacyModes};
constexpr HeaderPairs kLegacyPairSets[] = {kLegacyPairs};
constexpr HeaderMacros kCurrentMacroSets[] = {kLegacyModes, kCurrentMacros};
constexpr HeaderPairs kCurrentPairSets[] = {kLegacyPairs, kRegisterBitPairs};

constexpr std::string_view kN76LegacyFiles[] = {"N76E003.h", "SFR_Macro.h",
                                                "Function_define.h"};
constexpr std::string_view kN76CurrentFiles[] = {
    "n76e003_keil.h", "n76e003_sdcc.h", "sfr_macro_n76e003.h",
    "function_define_n76e003.h"};
// The current BSP's files, and the Keil BSP's MS51_16K.h; the Keil BSP's
// SFR_Macro_MS51_16K.h and Function_Define_MS51_16K.h are the current
// names but for case, with the same macros.
constexpr std::string_view kMs51Files[] = {
    "ms51_16k_keil.h", "ms51_16k_sdcc.h", "sfr_macro_ms51_16k.h",
    "function_define_ms51_16k.h", "MS51_16K.h"};

constexpr Header kN76Headers[] = {
    {kN76LegacyFiles,
     "Nuvoton N76E003 BSP (OpenNuvoton/N76E003-BSP, 2020-06-02): N76E003.h "
     "and SFR_Macro.h (no version line), Function_Define.h V1.02",
     kLegacyMacroSets, kLegacyPairSets},
    {kN76CurrentFiles,
     "Nuvoton N76E003 BSP (OpenNuvoton/N76E003_BSP, Copyright 2023, no "
     "version line): n76e003_keil.h, sfr_macro_n76e003.h, "
     "function_define_n76e003.h",
     kCurrentMacroSets, kCurrentPairSets},
};
constexpr Header kMs51Headers[] = {
    {kMs51Files,
     "Nuvoton MS51 BSP V2.0 (OpenNuvoton/MS51_BSP, Copyright 2024): "
     "ms51_16k_keil.h, sfr_macro_ms51_16k.h, function_define_ms51_16k.h; "
     "the MS51 BSP for Keil (OpenNuvoton/MS51BSP_KEIL, Copyright 2020): "
     "MS51_16K.h, SFR_Macro_MS51_16K.h, Function_Define_MS51_16K.h",
     kCurrentMacroSets, kCurrentPairSets}};

constexpr double kN76Irc[] = {16};
constexpr double kMs51Irc[] = {16, 24};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kNuvotonCore = RefusedCore("nuvoton", "Nuvoton 1T core", 1);
constexpr const Core* kNuvotonCores[] = {&kNuvotonCore};

extern const Chip kN76e003;
constexpr Chip kN76e003{
    .name = "n76e003",
    .family = {"Nuvoton N76E003"},
    .document =
        "N76E003 datasheet, Serial Port: UART0/UART1 baud-rate "
        "formulas; Nuvoton's N76E003.h, SFR_Macro.h and "
        "Function_define.h (BSP) for CKCON, T2MOD, RCMP2, T3CON, EIE, "
        "EIE1 and the Timer 2 and 3 vectors",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kN76Irc,
    .cores = kNuvotonCores,
    .headers = kN76Headers};

extern const Chip kMs51;
constexpr Chip kMs51{
    .name = "ms51",
    .family = {"Nuvoton MS51"},
    .document =
        "MS51 technical reference manual, UART baud-rate formulas; "
        "Nuvoton's MS51 BSP headers (SFR_Macro.h, Function_define.h) "
        "for CKCON, T2MOD, RCMP2, T3CON, EIE, EIE1 and the Timer 2 and "
        "3 vectors",
    .evidence = Evidence::kFormulaOnly,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kMs51Irc,
    .cores = kNuvotonCores,
    .headers = kMs51Headers};

}  // namespace mcs51::families
