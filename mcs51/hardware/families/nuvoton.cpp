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
    .cores = kNuvotonCores};

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
    .cores = kNuvotonCores};

}  // namespace mcs51::families
