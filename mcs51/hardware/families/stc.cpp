// STC's single-cycle parts: the STC8 and STC15 (Timers 0 to 4, UART1 on
// Timer 2 or Timer 1) and the STC12C5A60S2 (the BRT generator).
#include "mcs51/hardware/families/core_timers.h"

namespace mcs51::families {
namespace {

// AUXR: T0x12, T1x12 (core_timers.h), T2R, T2_C/T, T2x12, S1ST2
// (STC12C5A60S2: BRTR, BRTx12 and S1BRS in the same places).
constexpr std::uint8_t kT2r = 0x10, kT2Ct = 0x08, kT2x12 = 0x04, kS1st2 = 0x01;
// T4T3M: T4R, T4_C/T, T4x12; T3R, T3_C/T, T3x12. IE2: ET2, ET3, ET4.
constexpr std::uint8_t kT4r = 0x80, kT4Ct = 0x40, kT4x12 = 0x20;
constexpr std::uint8_t kT3r = 0x08, kT3Ct = 0x04, kT3x12 = 0x02;

constexpr Clock kT0Clocks[] = {{12}, {1, {kT0x12}}};
constexpr Clock kT1Clocks[] = {{12}, {1, {kT1x12}}};
constexpr Clock kT2Clocks[] = {{12}, {1, {kT2x12}}};
constexpr Clock kT3Clocks[] = {{12}, {1, {kT3x12}}};
constexpr Clock kT4Clocks[] = {{12}, {1, {kT4x12}}};

constexpr Write kT0Clock = CLOCK_WRITE("AUXR", kT0x12, "T0x12");
constexpr Write kT1Clock = CLOCK_WRITE("AUXR", kT1x12, "T1x12");

// STC15/STC8: TMOD mode 0 of Timer 0 and 1 is a 16-bit auto-reload, TH/TL
// written while stopped setting the reload too.
constexpr Words kMode0Text = {"mode 0, 16-bit auto-reload",
                              "方式 0，16 位自动重装"};
// A 16-bit mode of Timer N: its clock, its TMOD field, the reload's two
// bytes, the enables and the run bit.
#define STC_16BIT_TICK(N, MODE)                     \
  kT##N##Clock, TIMER_MODE(N, MODE, OTHER_KEPT(N)), \
      {.reg = "TH" #N, .source = S::kReloadHigh},   \
      {.reg = "TL" #N, .source = S::kReloadLow}, TICK_ENABLE(N)
constexpr Write kT0Mode0[] = {STC_16BIT_TICK(0, 0)};
constexpr Write kT1Mode0[] = {STC_16BIT_TICK(1, 0)};
// Mode 1 is 16-bit with no reload (STC15 series manual, Timer/Counter 0
// and 1 modes): code written for the classic 8051 reads as it.
constexpr Words kMode1Text = {"mode 1, 16-bit, no reload",
                              "方式 1，16 位，不重装"};
constexpr Write kT0Mode1[] = {STC_16BIT_TICK(0, 1)};
constexpr Write kT1Mode1[] = {STC_16BIT_TICK(1, 1)};
#undef STC_16BIT_TICK
constexpr TickMode kT0Ticks[] = {
    {"0", kMode0Text, 65536, Reload::kHardware, kT0Mode0},
    {"1", kMode1Text, 65536, Reload::kNone, kT0Mode1}};
constexpr TickMode kT1Ticks[] = {
    {"0", kMode0Text, 65536, Reload::kHardware, kT1Mode0},
    {"1", kMode1Text, 65536, Reload::kNone, kT1Mode1}};

// UART1 on Timer 1: T1x12 from the clock choice, S1ST2 (S1BRS) cleared.
constexpr Write kT1Uart{
    .reg = "AUXR",
    .mask = kT1x12 | kS1st2,
    .value = 0x00,
    .choice_slot = 0,
    .comment = {"T1x12; UART1 on Timer 1", "T1x12；串口 1 用定时器 1"}};
constexpr Write kT1Mode0Baud[] = {
    kScon,
    kT1Uart,
    TIMER_MODE(1, 0, ", 16-bit auto-reload", "，16 位自动重装"),
    {.reg = "TL1", .source = S::kReloadLow},
    {.reg = "TH1", .source = S::kReloadHigh},
    kTr1};
constexpr Write kT1Mode2Baud[] = {TIMER1_MODE2(kT1Uart, )};
// The 16-bit auto-reload generators, SYSclk/C/(4 * (65536 - R)).
constexpr double kK48or4[] = {48, 4};
constexpr BaudMode kT1Bauds[] = {
    {"t1m0",
     {"UART1 on Timer 1 in mode 0, 16-bit auto-reload",
      "串口 1 用定时器 1 方式 0，16 位自动重装"},
     65536,
     &kinds::kUp,
     false,
     kK48or4,
     kT1Mode0Baud},
    {"t1",
     {"UART1 on Timer 1 in mode 2", "串口 1 用定时器 1 方式 2"},
     256,
     &kinds::kUp,
     true,
     kK384or32,
     kT1Mode2Baud}};

constexpr Write kT2Baud[] = {kScon,
                             {.reg = "T2L", .source = S::kReloadLow},
                             {.reg = "T2H", .source = S::kReloadHigh},
                             {.reg = "AUXR",
                              .mask = kT2r | kT2Ct | kT2x12 | kS1st2,
                              .value = kT2r | kS1st2,
                              .choice_slot = 0,
                              .comment = {"T2R, S1ST2: UART1 on Timer 2",
                                          "T2R、S1ST2：串口 1 用定时器 2"}}};
constexpr BaudMode kT2Bauds[] = {{"t2",
                                  {"UART1 on Timer 2, 16-bit auto-reload",
                                   "串口 1 用定时器 2，16 位自动重装"},
                                  65536,
                                  &kinds::kUp,
                                  false,
                                  kK48or4,
                                  kT2Baud}};

// Timers 2, 3 and 4: 16-bit auto-reload only, counting up from the
// reload. The clock write also clears the timer's C/T (and run) bits: a
// timer, not a counter. The STC15 has no flag register for them (no
// AUXINTIF); the STC8's handler clears its flag below.
// Their run bits and interrupt enables (IE2: ET2 0x04, ET3 0x20, ET4 0x40).
constexpr Field kT2R{"T2R", "AUXR", kT2r};
constexpr Field kT3R{"T3R", "T4T3M", kT3r};
constexpr Field kT4R{"T4R", "T4T3M", kT4r};
constexpr Field kET2{"ET2", "IE2", 0x04};
constexpr Field kET3{"ET3", "IE2", 0x20};
constexpr Field kET4{"ET4", "IE2", 0x40};
#define STC_TIMER_WRITES(NAME, MASK, LOW, HIGH, ENABLE, RUN, ...)    \
  constexpr Write NAME[] = {{.reg = RUN.reg,                         \
                             .mask = MASK,                           \
                             .choice_slot = 0,                       \
                             .comment = {__VA_ARGS__}},              \
                            {.reg = LOW, .source = S::kReloadLow},   \
                            {.reg = HIGH, .source = S::kReloadHigh}, \
                            SetMask(ENABLE),                         \
                            kEa,                                     \
                            SetMask(RUN)}
STC_TIMER_WRITES(kT2Tick, kT2r | kT2Ct | kT2x12, "T2L", "T2H", kET2, kT2R,
                 "T2x12, a timer, stopped", "T2x12，定时方式，停止");
STC_TIMER_WRITES(kT3Tick, kT3r | kT3Ct | kT3x12, "T3L", "T3H", kET3, kT3R,
                 "T3x12, a timer, stopped", "T3x12，定时方式，停止");
STC_TIMER_WRITES(kT4Tick, kT4r | kT4Ct | kT4x12, "T4L", "T4H", kET4, kT4R,
                 "T4x12, a timer, stopped", "T4x12，定时方式，停止");
#undef STC_TIMER_WRITES
constexpr TickMode kT2Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT2Tick}};
constexpr TickMode kT3Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT3Tick}};
constexpr TickMode kT4Ticks[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT4Tick}};

constexpr Unit kT0 = TIMER_01(0, kT0Clocks, {}, kT0Ticks);
constexpr Unit kT1 = TIMER_01(1, kT1Clocks, kT1Bauds, kT1Ticks);
constexpr Unit kT2{.key = "t2",
                   .number = 2,
                   .clocks = kT2Clocks,
                   .bauds = kT2Bauds,
                   .ticks = kT2Ticks,
                   .vector = 12,
                   .run = SetMask(kT2R),
                   .enable = kET2};
constexpr Unit kT3{.key = "t3",
                   .number = 3,
                   .clocks = kT3Clocks,
                   .ticks = kT3Ticks,
                   .vector = 19,
                   .run = SetMask(kT3R),
                   .enable = kET3};
constexpr Unit kT4{.key = "t4",
                   .number = 4,
                   .clocks = kT4Clocks,
                   .ticks = kT4Ticks,
                   .vector = 20,
                   .run = SetMask(kT4R),
                   .enable = kET4};

// The STC8's Timer 2, 3 and 4 flags: AUXINTIF (0xEF) T2IF 0x01, T3IF 0x02,
// T4IF 0x04, not bit-addressable. STC's STC8 timer examples clear them in
// the handler ("AUXINTIF &= ~T2IF;"; the bits as STC's STC8.H names them).
constexpr Unit WithFlag(Unit unit, std::uint8_t mask) {
  unit.flag = {.reg = "AUXINTIF", .mask = mask};
  return unit;
}
constexpr Unit kStc8T2 = WithFlag(kT2, 0x01);
constexpr Unit kStc8T3 = WithFlag(kT3, 0x02);
constexpr Unit kStc8T4 = WithFlag(kT4, 0x04);

// UART1 on Timer 2 first: STC's own examples use it.
// clang-format off
#define STC_UNITS(T2, T3, T4)                                              \
  {{&T2, View::kBaud}, {&kT1, View::kBaud}, {&kT0}, {&kT1, View::kTick},   \
   {&T2, View::kTick}, {&T3}, {&T4}}
// clang-format on
constexpr Fitted kUnits[] = STC_UNITS(kT2, kT3, kT4);
constexpr Fitted kStc8Units[] = STC_UNITS(kStc8T2, kStc8T3, kStc8T4);
#undef STC_UNITS

// The STC12's Timers 0 and 1 keep the 8051's modes (mode 2 here, with a
// single-cycle core); its BRT generator has the same bits as Timer 2.
MODE2_ONLY(t0_stc12, 0, kT0Clock)
MODE2_ONLY(t1_stc12, 1, kT1Clock)
constexpr Unit kStc12T0 = TIMER_01(0, kT0Clocks, {}, t0_stc12::kModes);
constexpr Unit kStc12T1 =
    TIMER_01(1, kT1Clocks, std::span(kT1Bauds).subspan<1>(), t1_stc12::kModes);
constexpr Write kBrtBaud[] = {kScon,
                              {.reg = "BRT", .source = S::kReloadLow},
                              {.reg = "AUXR",
                               .mask = kT2r | kT2x12 | kS1st2,
                               .value = kT2r | kS1st2,
                               .choice_slot = 0,
                               .comment = {"BRTR, BRTx12, S1BRS"}},
                              kSmod};
constexpr BaudMode kBrtBauds[] = {
    {"brt",
     {"UART1 on the BRT generator", "串口 1 用 BRT 发生器"},
     256,
     &kinds::kUp,
     true,
     kK384or32,
     kBrtBaud}};
constexpr Unit kBrt{
    .key = "brt", .number = 0, .clocks = kT2Clocks, .bauds = kBrtBauds};
constexpr Fitted kStc12Units[] = {{&kStc12T0}, {&kStc12T1}, {&kBrt}};

// The STC8's, and the STC15's without AUXINTIF.
constexpr Register kStc8Registers[] = {
    kAuxr,           {"T2H", 0xD6},     {"T2L", 0xD7}, {"IE2", 0xAF},
    {"T4T3M", 0xD1}, {"T4H", 0xD2},     {"T4L", 0xD3}, {"T3H", 0xD4},
    {"T3L", 0xD5},   {"AUXINTIF", 0xEF}};
constexpr auto kRegisters = std::span(kStc8Registers).first<9>();
constexpr Register kStc12Registers[] = {kAuxr, {"BRT", 0x9C}};
constexpr double kIrc[] = {11.0592, 22.1184, 24, 33.1776};

}  // namespace

namespace {

// STC's headers. STC8.H (STC8F; no version, date or copyright line) gives
// the bits as masks, AUXR's among them; STC8H.h gives none. STC15.H and
// STC15Fxxxx.H give no masks either; STC15Fxxxx.H's function-like macros
// are as its later revision has them (S1_8bit clears SM0 there).
constexpr HeaderMacro kStc8Masks[] = {
    {"T0x12", "0x80"},  {"T1x12", "0x40"},   {"UART_M0x6", "0x20"},
    {"T2R", "0x10"},    {"T2_CT", "0x08"},   {"T2x12", "0x04"},
    {"EXTRAM", "0x02"}, {"S1ST2", "0x01"},   {"SMOD", "0x80"},
    {"SMOD0", "0x40"},  {"T1_GATE", "0x80"}, {"T1_CT", "0x40"},
    {"T1_M1", "0x20"},  {"T1_M0", "0x10"},   {"T0_GATE", "0x08"},
    {"T0_CT", "0x04"},  {"T0_M1", "0x02"},   {"T0_M0", "0x01"},
    {"ET4", "0x40"},    {"ET3", "0x20"},     {"ES4", "0x10"},
    {"ES3", "0x08"},    {"ET2", "0x04"},     {"ES2", "0x01"},
    {"T4R", "0x80"},    {"T4_CT", "0x40"},   {"T4x12", "0x20"},
    {"T3R", "0x08"},    {"T3_CT", "0x04"},   {"T3x12", "0x02"},
    {"S2SM0", "0x80"},  {"S2REN", "0x10"},
};
constexpr HeaderMacro kStc15Macros[] = {
    {"S1_DoubleRate()", "PCON |= 0x80"},
    {"S1_SHIFT()", "SCON &= 0x3F"},
    {"S1_8bit()", "SCON = (SCON & 0x3F) | 0x40"},
    {"S1_9bit()", "SCON = (SCON & 0x3F) | 0xC0"},
    {"S1_RX_Enable()", "SCON |= 0x10"},
    {"S1_BRT_UseTimer2()", "AUXR |= 1"},
    {"S1_BRT_UseTimer1()", "AUXR &= ~1"},
    {"S2_8bit()", "S2CON &= ~0x80"},
    {"S2_9bit()", "S2CON |= 0x80"},
    {"S2_RX_Enable()", "S2CON |= 0x10"},
    {"Timer0_16bitAutoReload()", "TMOD &= ~0x03"},
    {"Timer0_16bit()", "TMOD = (TMOD & ~0x03) | 0x01"},
    {"Timer0_8bitAutoReload()", "TMOD = (TMOD & ~0x03) | 0x02"},
    {"Timer1_16bitAutoReload()", "TMOD &= ~0x30"},
    {"Timer1_16bit()", "TMOD = (TMOD & ~0x30) | 0x10"},
    {"Timer1_8bitAutoReload()", "TMOD = (TMOD & ~0x30) | 0x20"},
    {"Timer0_1T()", "AUXR |= 0x80"},
    {"Timer0_12T()", "AUXR &= ~0x80"},
    {"Timer1_1T()", "AUXR |= 0x40"},
    {"Timer1_12T()", "AUXR &= ~0x40"},
    {"Timer2_Run()", "AUXR |= 0x10"},
    {"Timer2_Stop()", "AUXR &= ~0x10"},
    {"Timer2_AsTimer()", "AUXR &= ~0x08"},
    {"Timer2_1T()", "AUXR |= 0x04"},
    {"Timer2_12T()", "AUXR &= ~0x04"},
    {"Timer2_InterruptEnable()", "IE2 |= 0x04"},
};
constexpr HeaderMacros kStc8MacroSets[] = {kStc8Masks};
constexpr HeaderMacros kStc15MacroSets[] = {kStc15Macros};
constexpr std::string_view kStc8MaskFiles[] = {"STC8.H"};
constexpr std::string_view kStc8PlainFiles[] = {"STC8H.H"};
constexpr std::string_view kStc15PlainFiles[] = {"STC15.H", "STC15F2K60S2.H"};
constexpr std::string_view kStc15MacroFiles[] = {"STC15Fxxxx.H"};
constexpr Header kStc8Headers[] = {
    {kStc8MaskFiles, "STC's STC8.H (STC8F), no version line", kStc8MacroSets},
    {kStc8PlainFiles, "STC's STC8H.h, no version line"}};
constexpr Header kStc15Headers[] = {
    {kStc15PlainFiles, "STC's STC15.H (STC15F2K60S2), no version line"},
    {kStc15MacroFiles,
     "STC's library header STC15Fxxxx.H (its later revision), no version "
     "line",
     kStc15MacroSets}};

}  // namespace

// The cores its parts run, for delays and the code's named core.
constexpr Core kStc8Core = RefusedCore("stc8", "STC8 single-cycle core", 1);
constexpr Core kStc15Core = RefusedCore("stc15", "STC15 single-cycle core", 1);
constexpr Core kStc12Core = RefusedCore("stc12", "STC12 single-cycle core", 1);
constexpr const Core* kStc8Cores[] = {&kStc8Core};
constexpr const Core* kStc15Cores[] = {&kStc15Core};
constexpr const Core* kStc12Cores[] = {&kStc12Core};

extern const Chip kStc8;
constexpr Chip kStc8{
    .name = "stc8",
    .family = {"STC8 (STC8A/8G/8H)"},
    .document =
        "STC8A8K64D4 series manual, UART1 baud-rate formulas; STC's "
        "UART1 and timer example code (AUXINTIF)",
    .evidence = Evidence::kMakersExample,
    .units = kStc8Units,
    .registers = kStc8Registers,
    .internal_mhz = kIrc,
    .cores = kStc8Cores,
    .headers = kStc8Headers};

extern const Chip kStc15;
constexpr Chip kStc15{
    .name = "stc15",
    .family = {"STC15 (STC15F2K60S2 and kin)", "STC15（STC15F2K60S2 及同类）"},
    .document =
        "STC15 series manual, UART1 on Timer 2 / Timer 1, AUXR; "
        "STC's UART1 example code",
    .evidence = Evidence::kMakersExample,
    .units = kUnits,
    .registers = kRegisters,
    .internal_mhz = kIrc,
    .cores = kStc15Cores,
    .headers = kStc15Headers};

extern const Chip kStc12;
constexpr Chip kStc12{
    .name = "stc12",
    .family = {"STC12C5A60S2"},
    .document =
        "STC12C5A60S2 series manual, AUXR and the BRT baud-rate generator",
    .evidence = Evidence::kFormulaOnly,
    .units = kStc12Units,
    .registers = kStc12Registers,
    .cores = kStc12Cores};

}  // namespace mcs51::families
