#include "timers/tick_timers.h"

#include "timers/record_parts.h"

// The 8051's own Timer 0 and Timer 1 (modes 0, 1 and 2) and the 8052's
// Timer 2 in 16-bit auto-reload, on the classic core, the X2 parts and the
// single-cycle parts.
namespace timers::records {
namespace {

constexpr Write kEa{.reg = "IE", .mask = 0x80, .value = 0x80, .bit = "EA"};

// Timer 0 or Timer 1 (N) in each mode, after whatever picks its clock.
// TMOD's field for the timer is M; the other timer's field is kept.
#define TICK_TMOD(N, SHIFT, MODE, TEXT)                                       \
  {                                                                           \
    .reg = "TMOD", .mask = (0x0F << (SHIFT)) & 0xFF,                          \
    .value = (MODE) << (SHIFT), .comment = "Timer " #N " in mode " #MODE TEXT \
  }
#define TICK_ENABLE(N, IE_MASK, TR_MASK)                                   \
  {.reg = "IE", .mask = IE_MASK, .value = IE_MASK, .bit = "ET" #N}, kEa, { \
    .reg = "TCON", .mask = TR_MASK, .value = TR_MASK, .bit = "TR" #N       \
  }
#define TICK_MODE0(N, SHIFT, IE_MASK, TR_MASK, ...)                 \
  __VA_ARGS__ TICK_TMOD(N, SHIFT, 0, ", Timer " OTHER_##N " kept"), \
      {.reg = "TH" #N, .source = S::kReloadHigh},                   \
      {.reg = "TL" #N, .source = S::kReloadLow},                    \
      TICK_ENABLE(N, IE_MASK, TR_MASK)
#define TICK_MODE1(N, SHIFT, IE_MASK, TR_MASK, ...)                 \
  __VA_ARGS__ TICK_TMOD(N, SHIFT, 1, ", Timer " OTHER_##N " kept"), \
      {.reg = "TH" #N, .source = S::kReloadHigh},                   \
      {.reg = "TL" #N, .source = S::kReloadLow},                    \
      TICK_ENABLE(N, IE_MASK, TR_MASK)
#define TICK_MODE2(N, SHIFT, IE_MASK, TR_MASK, ...)                 \
  __VA_ARGS__ TICK_TMOD(N, SHIFT, 2, ", Timer " OTHER_##N " kept"), \
      {.reg = "TH" #N,                                              \
       .source = S::kReloadLow,                                     \
       .comment = "reloaded from here"},                            \
      {.reg = "TL" #N,                                              \
       .source = S::kReloadLow,                                     \
       .comment = "the first tick as long as the rest"},            \
      TICK_ENABLE(N, IE_MASK, TR_MASK)
#define OTHER_0 "1"
#define OTHER_1 "0"

#define T0_MODES(...)                                                  \
  constexpr Write kM0[] = {TICK_MODE0(0, 0, 0x02, 0x10, __VA_ARGS__)}; \
  constexpr Write kM1[] = {TICK_MODE1(0, 0, 0x02, 0x10, __VA_ARGS__)}; \
  constexpr Write kM2[] = {TICK_MODE2(0, 0, 0x02, 0x10, __VA_ARGS__)}
#define T1_MODES(...)                                                  \
  constexpr Write kM0[] = {TICK_MODE0(1, 4, 0x08, 0x40, __VA_ARGS__)}; \
  constexpr Write kM1[] = {TICK_MODE1(1, 4, 0x08, 0x40, __VA_ARGS__)}; \
  constexpr Write kM2[] = {TICK_MODE2(1, 4, 0x08, 0x40, __VA_ARGS__)}

constexpr std::uint8_t kNoChoiceBits[] = {0, 0};
constexpr int kAt12[] = {12};
constexpr int kAt6[] = {6};
constexpr int kAt1[] = {1};

constexpr Write kX2Bit{
    .reg = "CKCON0", .mask = 0x01, .value = 0x01, .comment = "X2"};
constexpr Write kT0x12{
    .reg = "AUXR", .mask = 0x80, .value = 0x80, .comment = "T0x12"};
constexpr Write kT1x12Bit{
    .reg = "AUXR", .mask = 0x40, .value = 0x40, .comment = "T1x12"};

constexpr std::string_view kMode0Text = "mode 0, 13-bit, reloaded by software";
constexpr std::string_view kMode1Text = "mode 1, 16-bit, reloaded by software";
constexpr std::string_view kMode2Text = "mode 2, 8-bit auto-reload";

// The modes of one of the two timers, each behind `clock` writes.
#define CLASSIC_MODES(NAME, TIMER_MODES, ...)             \
  namespace NAME {                                        \
  TIMER_MODES(__VA_ARGS__);                               \
  [[maybe_unused]] constexpr TickMode kModes[] = {        \
      {"0", kMode0Text, 8192, Reload::kSoftware, kM0, 5}, \
      {"1", kMode1Text, 65536, Reload::kSoftware, kM1},   \
      {"2", kMode2Text, 256, Reload::kHardware, kM2}};    \
  [[maybe_unused]] constexpr TickMode kMode2Only[] = {    \
      {"2", kMode2Text, 256, Reload::kHardware, kM2}};    \
  }

CLASSIC_MODES(t0_12, T0_MODES, )
CLASSIC_MODES(t1_12, T1_MODES, )
CLASSIC_MODES(t0_x2, T0_MODES, kX2Bit, )
CLASSIC_MODES(t1_x2, T1_MODES, kX2Bit, )
CLASSIC_MODES(t0_1t, T0_MODES, kT0x12, )
CLASSIC_MODES(t1_1t, T1_MODES, kT1x12Bit, )

constexpr Write kTr0{.reg = "TCON", .mask = 0x10, .value = 0x10, .bit = "TR0"};
constexpr Write kTr1Tick{
    .reg = "TCON", .mask = 0x40, .value = 0x40, .bit = "TR1"};

// The 8052's Timer 2 in 16-bit auto-reload (T2CON 0x00: CP/RL2 0, no
// baud-rate clocks); TF2 is the handler's to clear.
#define T2_AUTO_RELOAD(NAME, ...)                               \
  constexpr Write NAME[] = {                                    \
      __VA_ARGS__{.reg = "T2CON",                               \
                  .value = 0x00,                                \
                  .comment = "16-bit auto-reload, stopped"},    \
      {.reg = "RCAP2H", .source = S::kReloadHigh},              \
      {.reg = "RCAP2L", .source = S::kReloadLow},               \
      {.reg = "TH2", .source = S::kReloadHigh},                 \
      {.reg = "TL2",                                            \
       .source = S::kReloadLow,                                 \
       .comment = "the first tick as long as the rest"},        \
      {.reg = "IE", .mask = 0x20, .value = 0x20, .bit = "ET2"}, \
      kEa,                                                      \
      {.reg = "T2CON", .mask = 0x04, .value = 0x04, .bit = "TR2"}}
T2_AUTO_RELOAD(kT2Writes, );
T2_AUTO_RELOAD(kT2X2Writes, kX2Bit, );
constexpr std::string_view kT2Text = "16-bit auto-reload";
constexpr TickMode kT2Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kT2Writes}};
constexpr TickMode kT2X2Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kT2X2Writes}};
constexpr Write kTr2{.reg = "T2CON", .mask = 0x04, .value = 0x04, .bit = "TR2"};
constexpr Write kTf2{.reg = "T2CON", .mask = 0x80, .bit = "TF2"};

}  // namespace

#define CLASSIC_TIMER(NAME, N, MODES, CLOCKS, RUN)                     \
  constexpr TickTimer NAME {                                           \
    .key = "t" #N, .number = N, .vector = 1 + 2 * (N), .modes = MODES, \
    .clocks = CLOCKS, .choice_bits = kNoChoiceBits, .run = RUN,        \
    .count_high = "TH" #N, .count_low = "TL" #N                        \
  }

CLASSIC_TIMER(kClassicT0, 0, t0_12::kModes, kAt12, kTr0);
CLASSIC_TIMER(kClassicT1Tick, 1, t1_12::kModes, kAt12, kTr1Tick);
CLASSIC_TIMER(kX2T0, 0, t0_x2::kModes, kAt6, kTr0);
CLASSIC_TIMER(kX2T1Tick, 1, t1_x2::kModes, kAt6, kTr1Tick);
// A single-cycle core runs its instructions in its own clocks, so the
// cycles a software reload stops the timer for are not known here: mode 2
// only.
CLASSIC_TIMER(k1tT0, 0, t0_1t::kMode2Only, kAt1, kTr0);
CLASSIC_TIMER(k1tT1Tick, 1, t1_1t::kMode2Only, kAt1, kTr1Tick);

constexpr TickTimer kClassicT2Tick{.key = "t2",
                                   .number = 2,
                                   .vector = 5,
                                   .modes = kT2Modes,
                                   .clocks = kAt12,
                                   .choice_bits = kNoChoiceBits,
                                   .run = kTr2,
                                   .flag = kTf2};
constexpr TickTimer kX2T2Tick{.key = "t2",
                              .number = 2,
                              .vector = 5,
                              .modes = kT2X2Modes,
                              .clocks = kAt6,
                              .choice_bits = kNoChoiceBits,
                              .run = kTr2,
                              .flag = kTf2};

}  // namespace timers::records
