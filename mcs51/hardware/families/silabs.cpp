// Silicon Labs' EFM8 (CKCON0) and C8051F3xx and later (CKCON): Timer 0
// and 1 at SYSCLK through T0M/T1M, or through the shared SCA prescaler;
// Timers 2 and 3, 16-bit auto-reload, at SYSCLK/12 or SYSCLK.
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// CKCON0 / CKCON: T1M 0x08, T0M 0x04, SCA 0x03 (0 /12, 1 /4, 2 /48).
constexpr std::uint8_t kT1m = 0x08, kT0m = 0x04, kSca4 = 0x01, kSca48 = 0x02;
#define SILABS_CLOCKS(TXM)                 \
  {                                        \
    {1, {TXM}}, {4, {kSca4}}, {12, {0}}, { \
      48, { kSca48 }                       \
    }                                      \
  }
constexpr Clock kT0Clocks[] = SILABS_CLOCKS(kT0m);
constexpr Clock kT1Clocks[] = SILABS_CLOCKS(kT1m);
#undef SILABS_CLOCKS

// Timers 2 and 3 reload from TMRnRLH:TMRnRLL. With CKCON's TnML clear
// they count what TMRnCN's TnXCLK picks: 0, SYSCLK/12 (the external clock
// / 8 is not FREQ's, so not offered); with TnML set, SYSCLK.
constexpr std::uint8_t kT2ml = 0x10, kT3ml = 0x40;
constexpr Clock kT2Clocks[] = {{12}, {1, {kT2ml}}};
constexpr Clock kT3Clocks[] = {{12}, {1, {kT3ml}}};

// The UART halves Timer 1's overflow: T1CLK/(2 * (256 - TH1)).
constexpr double kT1K[] = {2, 8, 24, 96};

// SCON0's receiver enable; EIE1's ET3 (Timer 2's is the core's ET2).
constexpr Field kREN0{"REN0", "SCON0", 0x10};
constexpr Field kET3{"ET3", "EIE1", 0x80};

#define SILABS_UNITS(CKCON)                                                   \
  constexpr Write kT0Clock = CLOCK_WRITE(                                     \
      CKCON, kT0m | kSca4 | kSca48, "T0M, SCA (shared)", "T0M、SCA（共用）"); \
  constexpr Write kT1Clock = CLOCK_WRITE(                                     \
      CKCON, kT1m | kSca4 | kSca48, "T1M, SCA (shared)", "T1M、SCA（共用）"); \
  MODE2_ONLY(t0, 0, kT0Clock)                                                 \
  MODE2_ONLY(t1, 1, kT1Clock)                                                 \
  constexpr Write kT1Baud[] = {                                               \
      {.reg = kREN0.reg,                                                      \
       .value = kREN0.mask,                                                   \
       .comment = {"8-bit UART, receiver on", "8 位 UART，允许接收"}},        \
      Commented(kT1Clock,                                                     \
                {"T1M, SCA: Timer 1's clock", "T1M、SCA：定时器 1 的时钟"}),  \
      kTmodMode2,                                                             \
      kTh1,                                                                   \
      kTl1,                                                                   \
      kTr1};                                                                  \
  constexpr BaudMode kT1Bauds[] = {{"t1", kUart0Timer1Text, 256, &kinds::kUp, \
                                    false, kT1K, kT1Baud, 0, "STEP", kREN0}}; \
  constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, t0::kModes);                \
  constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, t1::kModes);

// Timer N (2 or 3) in 16-bit auto-reload: TMRnCN cleared (no split, SYSCLK/12
// unless TnML, stopped), then TnML, the reload, the count, the enable (IE's
// ET2, EIE1's ET3) and TRn (bit 2). TFnH (bit 7) is the handler's to clear.
#define SILABS_TIMER(N, CKCON, CN, TNML, ENABLE, SET, VECTOR)          \
  constexpr Write kT##N##Run{                                          \
      .reg = CN, .mask = 0x04, .value = 0x04, .comment = {"TR" #N}};   \
  constexpr Write kT##N##Tick[] = {                                    \
      {.reg = CN, .value = 0x00, .comment = kAutoReloadStoppedText},   \
      CLOCK_WRITE(CKCON, TNML, "T" #N "ML"),                           \
      {.reg = "TMR" #N "RLH", .source = S::kReloadHigh},               \
      {.reg = "TMR" #N "RLL", .source = S::kReloadLow},                \
      {.reg = "TMR" #N "H", .source = S::kReloadHigh},                 \
      {.reg = "TMR" #N "L",                                            \
       .source = S::kReloadLow,                                        \
       .comment = kFirstTickText},                                     \
      SET(ENABLE),                                                     \
      kEa,                                                             \
      kT##N##Run};                                                     \
  constexpr TickMode kT##N##Ticks[] = {                                \
      {"ar", kAutoReloadText, 65536, Reload::kHardware, kT##N##Tick}}; \
  constexpr Unit kT##N{.key = "t" #N,                                  \
                       .number = N,                                    \
                       .clocks = kT##N##Clocks,                        \
                       .ticks = kT##N##Ticks,                          \
                       .vector = VECTOR,                               \
                       .run = kT##N##Run,                              \
                       .flag = {.reg = CN, .mask = 0x80},              \
                       .enable = ENABLE};

#define SILABS_TIMERS_23(CKCON, TMR2CN, TMR3CN)                \
  SILABS_TIMER(2, CKCON, TMR2CN, kT2ml, core::kET2, SetBit, 5) \
  SILABS_TIMER(3, CKCON, TMR3CN, kT3ml, kET3, SetBits, 14)     \
  constexpr Fitted kUnits[] = {{&kT0}, {&kT1}, {&kT2}, {&kT3}};

// Timers 2 and 3's registers, TMRnCN named as each family names it.
// clang-format off
#define SILABS_REGISTERS(CKCON, TMR2CN, TMR3CN)                              \
  {CKCON, 0x8E},      {"SCON0", 0x98},    {TMR2CN, 0xC8},   {"TMR2RLL", 0xCA}, \
  {"TMR2RLH", 0xCB},  {"TMR2L", 0xCC},    {"TMR2H", 0xCD},  {TMR3CN, 0x91},    \
  {"TMR3RLL", 0x92},  {"TMR3RLH", 0x93},  {"TMR3L", 0x94},  {"TMR3H", 0x95},   \
  {"EIE1", 0xE6}
// clang-format on

namespace efm8 {
SILABS_UNITS("CKCON0")
SILABS_TIMERS_23("CKCON0", "TMR2CN0", "TMR3CN0")
constexpr Register kRegisters[] = {
    SILABS_REGISTERS("CKCON0", "TMR2CN0", "TMR3CN0")};
}  // namespace efm8
namespace c8051 {
SILABS_UNITS("CKCON")
SILABS_TIMERS_23("CKCON", "TMR2CN", "TMR3CN")
constexpr Register kRegisters[] = {
    SILABS_REGISTERS("CKCON", "TMR2CN", "TMR3CN")};
}  // namespace c8051
namespace c8051f326 {
SILABS_UNITS("CKCON")
}  // namespace c8051f326
#undef SILABS_UNITS
#undef SILABS_TIMERS_23
#undef SILABS_TIMER
#undef SILABS_REGISTERS

constexpr double kIrc[] = {24.5};

// ---- C8051F326/7: UART0 on a baud-rate generator of its own ----

// SYSCLK / (2 * prescale * (65536 - SBRL0)). SBCON0: SB0RUN 0x40, SB0PS
// (bits 1..0) 3 /1, 1 /4, 0 /12, 2 /48. The parts have no Timer 2 or 3,
// and UART0 takes no clock from Timer 1.
namespace c8051f326 {
constexpr std::uint8_t kSb0run = 0x40;
constexpr Clock kBrgClocks[] = {
    {1, {0x03}}, {4, {0x01}}, {12, {0}}, {48, {0x02}}};
constexpr double kBrgK[] = {2, 8, 24, 96};
constexpr Write kBrgBaud[] = {
    {.reg = kREN0.reg,
     .value = kREN0.mask,
     .comment = {"8-bit UART, receiver on", "8 位 UART，允许接收"}},
    {.reg = "SBCON0", .value = 0x00, .comment = kStoppedLoadingText},
    {.reg = "SBRLH0", .source = S::kReloadHigh},
    {.reg = "SBRLL0", .source = S::kReloadLow},
    {.reg = "SBCON0",
     .value = kSb0run,
     .choice_slot = 0,
     .comment = {"SB0RUN, SB0PS: the generator on, its prescaler",
                 "SB0RUN、SB0PS：启动发生器，选分频"}}};
constexpr BaudMode kBrgBauds[] = {
    {"brg0",
     {"UART0's own baud-rate generator", "UART0 自带的波特率发生器"},
     65536,
     &kinds::kUp,
     false,
     kBrgK,
     kBrgBaud,
     0,
     "STEP",
     kREN0}};
constexpr Unit kBrg{
    .key = "brg0", .number = 0, .clocks = kBrgClocks, .bauds = kBrgBauds};
constexpr Fitted kUnits[] = {{&kBrg}, {&kT0, View::kTick}, {&kT1, View::kTick}};
constexpr Register kRegisters[] = {{"CKCON", 0x8E},  {"SCON0", 0x98},
                                   {"SBCON0", 0x91}, {"SBRLL0", 0x93},
                                   {"SBRLH0", 0x94}, {"SMOD0", 0x9A}};
}  // namespace c8051f326

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kCip51Core = RefusedCore("cip-51", "Silicon Labs CIP-51", 1);
constexpr const Core* kCip51Cores[] = {&kCip51Core};

// Silicon Labs' SI_EFM8UB1_Defs.h and SI_EFM8UB1_Register_Enums.h
// (Copyright 2014, no version line): bits named with their register
// (TCON_TR1), and the fields' values as masks (TMOD_T1M__MODE2).
constexpr HeaderMacro kEfm8Names[] = {
    {"TCON_TR0", "TR0"},
    {"TCON_TF0", "TF0"},
    {"TCON_TR1", "TR1"},
    {"TCON_TF1", "TF1"},
    {"SCON0_REN", "REN0"},
    {"IE_EA", "EA"},
    {"IE_ES0", "ES"},
    {"IE_ET0", "ET0"},
    {"IE_ET1", "ET1"},
    {"IE_ET2", "ET2"},
    {"TMOD_T0M__MODE0", "0x00"},
    {"TMOD_T0M__MODE1", "0x01"},
    {"TMOD_T0M__MODE2", "0x02"},
    {"TMOD_T0M__MODE3", "0x03"},
    {"TMOD_T0M__FMASK", "0x03"},
    {"TMOD_CT0__TIMER", "0x00"},
    {"TMOD_GATE0__DISABLED", "0x00"},
    {"TMOD_T1M__MODE0", "0x00"},
    {"TMOD_T1M__MODE1", "0x10"},
    {"TMOD_T1M__MODE2", "0x20"},
    {"TMOD_T1M__MODE3", "0x30"},
    {"TMOD_T1M__FMASK", "0x30"},
    {"TMOD_CT1__TIMER", "0x00"},
    {"TMOD_GATE1__DISABLED", "0x00"},
    {"CKCON0_SCA__FMASK", "0x03"},
    {"CKCON0_SCA__SYSCLK_DIV_12", "0x00"},
    {"CKCON0_SCA__SYSCLK_DIV_4", "0x01"},
    {"CKCON0_SCA__SYSCLK_DIV_48", "0x02"},
    {"CKCON0_SCA__EXTOSC_DIV_8", "0x03"},
    {"CKCON0_T0M__PRESCALE", "0x00"},
    {"CKCON0_T0M__SYSCLK", "0x04"},
    {"CKCON0_T1M__PRESCALE", "0x00"},
    {"CKCON0_T1M__SYSCLK", "0x08"},
    {"TCON_TR0__RUN", "0x10"},
    {"TCON_TR1__RUN", "0x40"},
    {"SCON0_REN__RECEIVE_ENABLED", "0x10"},
    {"SCON0_SMODE__8_BIT", "0x00"},
    {"SCON0_SMODE__9_BIT", "0x80"},
    {"IE_ET0__ENABLED", "0x02"},
    {"IE_ET1__ENABLED", "0x08"},
    {"IE_ES0__ENABLED", "0x10"},
    {"IE_ET2__ENABLED", "0x20"},
    {"IE_EA__ENABLED", "0x80"},
};
constexpr HeaderMacros kEfm8MacroSets[] = {kEfm8Names};
constexpr std::string_view kEfm8Files[] = {"SI_EFM8UB1_Defs.h",
                                           "SI_EFM8UB1_Register_Enums.h"};
constexpr Header kEfm8Headers[] = {
    {kEfm8Files,
     "Silicon Labs SI_EFM8UB1_Defs.h and SI_EFM8UB1_Register_Enums.h "
     "(Copyright 2014), no version line",
     kEfm8MacroSets}};

extern const Chip kEfm8;
constexpr Chip kEfm8{
    .name = "efm8",
    .family = {"Silicon Labs EFM8"},
    .document =
        "EFM8BB1 reference manual, UART0 baud rate and CKCON0; "
        "Silicon Labs' serial-communication training (57600 baud, "
        "TH1 0x2B); Silicon Labs' SI_EFM8UB2_Defs.h (2014) and EFM8 "
        "register-enum headers for TMR2CN0, TMR3CN0, TMRnRL, CKCON0's "
        "T2ML/T3ML, EIE1's ET3 and vectors 5 and 14",
    .evidence = Evidence::kMakersExample,
    .units = efm8::kUnits,
    .registers = efm8::kRegisters,
    .internal_mhz = kIrc,
    .cores = kCip51Cores,
    .headers = kEfm8Headers,
    .not_modelled =
        "UART1's own generator (SBRL1) on the EFM8 parts that have one: not "
        "yet recorded. Silicon Labs' EFM8 peripheral drivers give it: "
        "uart_1.c, with SI_EFM8UB2_Register_Enums.h (prescalers 1, 4, 12 and "
        "48 on the EFM8UB2; eight on the parts that page their SFRs), the "
        "reload 65536 - SYSCLK / (2 x baud x prescaler) and SBCON1's codes"};

extern const Chip kC8051f;
constexpr Chip kC8051f{
    .name = "c8051f",
    .family = {"Silicon Labs C8051F3xx and later",
               "Silicon Labs C8051F3xx 及以后"},
    .document =
        "C8051F33x datasheet, UART0 baud rate; Silicon Labs' register "
        "headers (C8051F330.h rev. 1.0, C8051F320_defs.h release 2.5, "
        "2012) for CKCON (SCA 0x03, T1M 0x08, T2ML, T3ML), TMR2CN, "
        "TMR3CN, TMRnRL, EIE1 and vectors 5 and 14",
    .evidence = Evidence::kFormulaOnly,
    .units = c8051::kUnits,
    .registers = c8051::kRegisters,
    .internal_mhz = kIrc,
    .cores = kCip51Cores};

extern const Chip kC8051f326;
constexpr Chip kC8051f326{
    .name = "c8051f326",
    .family = {"Silicon Labs C8051F326/7"},
    .document =
        "Silicon Labs' F560_ADC0_ExternalInput_Mux.c (Release 1.1, 2010), "
        "UART0_Init: SYSCLK / (65536 - SBRL0) / 2 / prescaler and SBCON0's "
        "codes; SDCC's C8051F326.h for SBCON0 (0x91), SBRLL0, SBRLH0 and "
        "the parts' two timers",
    .evidence = Evidence::kMakersExample,
    .units = c8051f326::kUnits,
    .registers = c8051f326::kRegisters,
    .cores = kCip51Cores};

}  // namespace mcs51::families
