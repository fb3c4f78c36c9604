#pragma once
// What the families share: the 8051 core's registers, its Timers 0, 1 and
// 2 (at 12 clocks, behind X2 at 6, and single-cycle at 1), their writes in
// each mode behind whatever picks a family's clock, and the cores. Inside
// the library only; the files of mcs51/hardware/families/ are made of these.

#include <array>

#include "mcs51/hardware/model.h"

namespace mcs51::families {

using S = Source;

// ---- Registers and bits ----

// The 8052's own registers, at the addresses every maker keeps: what
// <8052.h> and <reg52.h> declare.
inline constexpr Register k8052Registers[] = {
    {"PCON", 0x87},   {"TCON", 0x88}, {"TMOD", 0x89},  {"TL1", 0x8B},
    {"TH1", 0x8D},    {"SCON", 0x98}, {"T2CON", 0xC8}, {"RCAP2L", 0xCA},
    {"RCAP2H", 0xCB}, {"TL2", 0xCC},  {"TH2", 0xCD},   {"TL0", 0x8A},
    {"TH0", 0x8C},    {"IE", 0xA8},
};

// CKCON0's X2 (Atmel's X2 parts), and AUXR's T0x12 and T1x12 (the
// single-cycle parts after STC's): the bits the classic cores' faster
// clocks are chosen by.
inline constexpr std::uint8_t kX2Bit = 0x01;
inline constexpr std::uint8_t kT0x12 = 0x80;
inline constexpr std::uint8_t kT1x12 = 0x40;
inline constexpr Register kCkcon0{"CKCON0", 0x8F};
inline constexpr Register kAuxr{"AUXR", 0x8E};

// ---- The words more than one family's records say ----

inline constexpr Words kTimer1Mode2Text = {"Timer 1 in mode 2",
                                           "定时器 1 方式 2"};
inline constexpr Words kTimer2GeneratorText = {"Timer 2 baud-rate generator",
                                               "定时器 2 波特率发生器"};
inline constexpr Words kFirstTickText = {"the first tick as long as the rest",
                                         "第一个节拍与其余一样长"};
inline constexpr Words kStoppedLoadingText = {"stopped while it is loaded",
                                              "装载时停止"};
inline constexpr Words kGeneratorText = {"the baud-rate generator",
                                         "波特率发生器"};
inline constexpr Words kS0relText = {"the S0REL baud-rate generator",
                                     "S0REL 波特率发生器"};
inline constexpr Words kUart0Timer1Text = {"UART0 on Timer 1 in mode 2",
                                           "串口 0 用定时器 1 方式 2"};
inline constexpr Words kAutoReloadStoppedText = {"16-bit auto-reload, stopped",
                                                 "16 位自动重装，停止"};

// ---- The UART's writes (uart_init) ----

inline constexpr Write kScon{
    .reg = core::kREN.reg,
    .value = core::kSM1.mask | core::kREN.mask,
    .comment = {"mode 1, receiver on", "方式 1，允许接收"}};
// Timer 0 or Timer 1 (N) in mode MODE: its half of TMOD; the other
// timer's half is kept. The rest, EN and ZH, ends its comment in each
// tongue (OTHER_KEPT(N) gives both).
#define TIMER_MODE(N, MODE, ...) TIMER_MODE_WORDS(N, MODE, __VA_ARGS__)
#define TIMER_MODE_WORDS(N, MODE, EN, ZH)                           \
  {                                                                 \
    .reg = core::kT##N##_MASK.reg, .mask = core::kT##N##_MASK.mask, \
    .value = (MODE) << (4 * (N)), .comment = {                      \
      "Timer " #N " in mode " #MODE EN,                             \
      "定时器 " #N " 方式 " #MODE ZH                                \
    }                                                               \
  }
inline constexpr Write kTmodMode2 =
    TIMER_MODE(1, 2, ", Timer 0 kept", "，定时器 0 不变");
inline constexpr Write kTh1{.reg = "TH1", .source = S::kReloadLow};
inline constexpr Write kTl1{
    .reg = "TL1",
    .source = S::kReloadLow,
    .comment = {"the first bit as long as the rest", "第一位与其余各位一样长"}};
inline constexpr Write kSmod{
    .reg = core::kSMOD.reg,
    .mask = core::kSMOD.mask,
    .smod_bits = core::kSMOD.mask,
    .comment = {core::kSMOD.name},
    .c_comment_by_smod = {Words{"SMOD = 0"}, Words{"SMOD = 1 doubles the rate",
                                                   "SMOD = 1 使波特率加倍"}}};
inline constexpr Write kT2Stop{
    .reg = "T2CON", .value = 0x00, .comment = kStoppedLoadingText};
inline constexpr Write kT2Run{
    .reg = core::kTR2.reg,
    .value = core::kRCLK.mask | core::kTCLK.mask | core::kTR2.mask,
    .comment = {"RCLK, TCLK, TR2: Timer 2 clocks both ways",
                "RCLK、TCLK、TR2：定时器 2 作收发时钟"}};
inline constexpr Write kRcap2h{.reg = "RCAP2H", .source = S::kReloadHigh};
inline constexpr Write kRcap2l{.reg = "RCAP2L", .source = S::kReloadLow};
inline constexpr Write kTh2{.reg = "TH2", .source = S::kReloadHigh};
inline constexpr Write kTl2{.reg = "TL2", .source = S::kReloadLow};

// The run, enable and flag bits, for both views.
inline constexpr Write kTr0 = SetBit(core::kTR0);
inline constexpr Write kTr1 = SetBit(core::kTR1);
inline constexpr Write kTr2 = SetBit(core::kTR2);
inline constexpr Write kTf2 = ClearBit(core::kTF2);
inline constexpr Write kEa = SetBit(core::kEA);

// Timer 1 in mode 2 and the 8052's Timer 2 as the UART's clock, after
// whatever picks the timer's clock.
#define TIMER1_MODE2(...) kScon, __VA_ARGS__ kTmodMode2, kTh1, kTl1, kSmod, kTr1
#define TIMER2_8052(...) \
  kScon, __VA_ARGS__ kT2Stop, kRcap2h, kRcap2l, kTh2, kTl2, kT2Run

// baud = 2^SMOD * f / (32 * C * (256 - TH1)): k = 32 * C.
inline constexpr double kK384[] = {384};
inline constexpr double kK192[] = {192};
inline constexpr double kK32[] = {32};
inline constexpr double kK16[] = {16};
inline constexpr double kK384or32[] = {384, 32};

// ---- The timers' writes in each mode (tick_init) ----

// A unit whose interrupt another field enables (Nuvoton's ET2, in EIE).
constexpr Unit EnabledBy(Unit unit, const Field& enable) {
  unit.enable = enable;
  return unit;
}

#define TICK_ENABLE(N) SetBit(core::kET##N), kEa, kTr##N
#define TICK_MODE2(N, ...)                                                  \
  __VA_ARGS__ TIMER_MODE(N, 2, OTHER_KEPT(N)),                              \
      {.reg = "TH" #N,                                                      \
       .source = S::kReloadLow,                                             \
       .comment = {"reloaded from here", "重装值"}},                        \
      {.reg = "TL" #N, .source = S::kReloadLow, .comment = kFirstTickText}, \
      TICK_ENABLE(N)
// The comment's end for the other timer's half, kept, in both tongues.
#define OTHER_KEPT(N) \
  ", Timer " OTHER_##N " kept", "，定时器 " OTHER_##N " 不变"
#define OTHER_0 "1"
#define OTHER_1 "0"

inline constexpr Words kMode0Text = {"mode 0, 13-bit, reloaded by software",
                                     "方式 0，13 位，软件重装"};
inline constexpr Words kMode1Text = {"mode 1, 16-bit, reloaded by software",
                                     "方式 1，16 位，软件重装"};
inline constexpr Words kMode2Text = {"mode 2, 8-bit auto-reload",
                                     "方式 2，8 位自动重装"};
inline constexpr Words kAutoReloadText = {"16-bit auto-reload",
                                          "16 位自动重装"};

// Timer N's modes 0, 1 and 2 (kModes) and mode 2 alone (kMode2Only) in
// namespace NAME, each behind the writes that pick its clock.
#define CLASSIC_MODES(NAME, N, ...)                                            \
  namespace NAME {                                                             \
  inline constexpr Write kM0[] = {__VA_ARGS__ TIMER_MODE(N, 0, OTHER_KEPT(N)), \
                                  {.reg = "TH" #N, .source = S::kReloadHigh},  \
                                  {.reg = "TL" #N, .source = S::kReloadLow},   \
                                  TICK_ENABLE(N)};                             \
  inline constexpr Write kM1[] = {__VA_ARGS__ TIMER_MODE(N, 1, OTHER_KEPT(N)), \
                                  {.reg = "TH" #N, .source = S::kReloadHigh},  \
                                  {.reg = "TL" #N, .source = S::kReloadLow},   \
                                  TICK_ENABLE(N)};                             \
  inline constexpr Write kM2[] = {TICK_MODE2(N, __VA_ARGS__)};                 \
  inline constexpr TickMode kModes[] = {                                       \
      {"0", kMode0Text, 8192, Reload::kSoftware, kM0, 5},                      \
      {"1", kMode1Text, 65536, Reload::kSoftware, kM1},                        \
      {"2", kMode2Text, 256, Reload::kHardware, kM2}};                         \
  inline constexpr TickMode kMode2Only[] = {                                   \
      {"2", kMode2Text, 256, Reload::kHardware, kM2}};                         \
  }

// The 8052's Timer 2 in 16-bit auto-reload (T2CON 0x00: CP/RL2 0, no
// baud-rate clocks), after whatever picks its clock; TF2 is the handler's
// to clear.
#define T2_AUTO_RELOAD(...)                                               \
  __VA_ARGS__{                                                            \
      .reg = "T2CON", .value = 0x00, .comment = kAutoReloadStoppedText},  \
      kRcap2h, kRcap2l, kTh2,                                             \
      {.reg = "TL2", .source = S::kReloadLow, .comment = kFirstTickText}, \
      SetBit(core::kET2), kEa, kTr2

inline constexpr Write kX2Write{
    .reg = "CKCON0", .mask = kX2Bit, .value = kX2Bit, .comment = {"X2"}};
inline constexpr Write kT0x12Write{
    .reg = "AUXR", .mask = kT0x12, .value = kT0x12, .comment = {"T0x12"}};
inline constexpr Write kT1x12Write{
    .reg = "AUXR", .mask = kT1x12, .value = kT1x12, .comment = {"T1x12"}};

CLASSIC_MODES(t0_12, 0, )
CLASSIC_MODES(t1_12, 1, )
CLASSIC_MODES(t0_x2, 0, kX2Write, )
CLASSIC_MODES(t1_x2, 1, kX2Write, )
CLASSIC_MODES(t0_1t, 0, kT0x12Write, )
CLASSIC_MODES(t1_1t, 1, kT1x12Write, )

inline constexpr Write kT2Ticks12[] = {T2_AUTO_RELOAD()};
inline constexpr Write kT2TicksX2[] = {T2_AUTO_RELOAD(kX2Write, )};
inline constexpr TickMode kT2Modes12[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT2Ticks12}};
inline constexpr TickMode kT2ModesX2[] = {
    {"ar", kAutoReloadText, 65536, Reload::kHardware, kT2TicksX2}};

// ---- The classic timers ----

inline constexpr Clock kAt12[] = {{12}};
inline constexpr Clock kAt6[] = {{6}};
inline constexpr Clock kAt2[] = {{2}};
inline constexpr Clock kAt1[] = {{1}};

// Timer 0 or 1 (N) with its modes `ticks` and baud modes `bauds`.
#define TIMER_01(N, CLOCKS, BAUDS, TICKS)                                  \
  {                                                                        \
    .key = "t" #N, .number = N, .clocks = CLOCKS, .bauds = BAUDS,          \
    .ticks = TICKS, .vector = 1 + 2 * (N), .run = kTr##N,                  \
    .count_high = "TH" #N, .count_low = "TL" #N, .overflow = core::kTF##N, \
    .enable = core::kET##N, .mode = core::kT##N##_MASK                     \
  }
// The 8052's Timer 2 (vector 5); TF2 is the handler's to clear.
#define TIMER_2(CLOCKS, BAUDS, TICKS)                           \
  {                                                             \
    .key = "t2", .number = 2, .clocks = CLOCKS, .bauds = BAUDS, \
    .ticks = TICKS, .vector = 5, .run = kTr2, .flag = kTf2,     \
    .enable = core::kET2                                        \
  }

inline constexpr Write kClassicT1Baud[] = {TIMER1_MODE2()};
inline constexpr Write kClassicT2Baud[] = {TIMER2_8052()};
inline constexpr Write kX2T1Baud[] = {TIMER1_MODE2(kX2Write, )};
inline constexpr Write kX2T2Baud[] = {TIMER2_8052(kX2Write, )};
inline constexpr Write k1tT1Baud[] = {TIMER1_MODE2(kT1x12Write, )};
inline constexpr BaudMode kClassicT1Bauds[] = {
    {"t1", kTimer1Mode2Text, 256, &kinds::kUp, true, kK384, kClassicT1Baud}};
inline constexpr BaudMode kClassicT2Bauds[] = {{"t2", kTimer2GeneratorText,
                                                65536, &kinds::kUp, false, kK32,
                                                kClassicT2Baud}};
inline constexpr BaudMode kX2T1Bauds[] = {
    {"t1",
     {"Timer 1 in mode 2, X2", "定时器 1 方式 2，X2"},
     256,
     &kinds::kUp,
     true,
     kK192,
     kX2T1Baud}};
inline constexpr BaudMode kX2T2Bauds[] = {
    {"t2",
     {"Timer 2 baud-rate generator, X2", "定时器 2 波特率发生器，X2"},
     65536,
     &kinds::kUp,
     false,
     kK16,
     kX2T2Baud}};
inline constexpr BaudMode k1tT1Bauds[] = {
    {"t1",
     {"Timer 1 in mode 2, T1x12", "定时器 1 方式 2，T1x12"},
     256,
     &kinds::kUp,
     true,
     kK32,
     k1tT1Baud}};

inline constexpr Unit kClassicT0 = TIMER_01(0, kAt12, {}, t0_12::kModes);
inline constexpr Unit kClassicT1 =
    TIMER_01(1, kAt12, kClassicT1Bauds, t1_12::kModes);
inline constexpr Unit kClassicT2 = TIMER_2(kAt12, kClassicT2Bauds, kT2Modes12);
inline constexpr Unit kX2T0 = TIMER_01(0, kAt6, {}, t0_x2::kModes);
inline constexpr Unit kX2T1 = TIMER_01(1, kAt6, kX2T1Bauds, t1_x2::kModes);
inline constexpr Unit kX2T2 = TIMER_2(kAt6, kX2T2Bauds, kT2ModesX2);
// A single-cycle core runs its instructions in its own clocks, so the
// cycles a software reload stops the timer for are not known here: mode 2
// only.
inline constexpr Unit k1tT0 = TIMER_01(0, kAt1, {}, t0_1t::kMode2Only);
inline constexpr Unit k1tT1 = TIMER_01(1, kAt1, k1tT1Bauds, t1_1t::kMode2Only);

// Timer 0 and 1 in mode 2 only behind a clock write (the faster cores').
#define MODE2_ONLY(NAME, N, CLOCK_WRITE)                  \
  namespace NAME {                                        \
  constexpr Write kM2[] = {TICK_MODE2(N, CLOCK_WRITE, )}; \
  constexpr TickMode kModes[] = {                         \
      {"2", kMode2Text, 256, Reload::kHardware, kM2}};    \
  }

// A clock write that takes the choice's bits (choice slot 0).
#define CLOCK_WRITE(REG, MASK, ...)                                        \
  {                                                                        \
    .reg = REG, .mask = MASK, .choice_slot = 0, .comment = { __VA_ARGS__ } \
  }

// ---- The S0REL generator (Siemens/Infineon's C517A and kin, Nordic's
// nRF24LE1): 2^SMOD * f / (64 * (1024 - S0REL)), a 10-bit timer at f/2;
// BD (bit 7 of ADCON0, ADCON on the nRF24LE1) puts serial port 0 on it.
// S0RELL is written last: it reloads the timer.
inline constexpr Clock kS0relClocks[] = {{2}};
inline constexpr double kS0relK[] = {64};
#define S0REL_WRITES(ADCON)                           \
  kScon, {.reg = "S0RELH", .source = S::kReloadHigh}, \
      {.reg = "S0RELL", .source = S::kReloadLow},     \
      {.reg = ADCON, .mask = 0x80, .value = 0x80, .comment = {"BD"}}, kSmod
#define S0REL_BAUDS(WRITES)                                           \
  {                                                                   \
    { "s0rel", kS0relText, 1024, &kinds::kUp, true, kS0relK, WRITES } \
  }
inline constexpr Register kS0relRegisters[] = {{"S0RELL", 0xAA},
                                               {"S0RELH", 0xBA}};

}  // namespace mcs51::families
