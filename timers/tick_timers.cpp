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

#define T0_MODES(...)                             \
  [[maybe_unused]] constexpr Write kM0[] = {      \
      TICK_MODE0(0, 0, 0x02, 0x10, __VA_ARGS__)}; \
  [[maybe_unused]] constexpr Write kM1[] = {      \
      TICK_MODE1(0, 0, 0x02, 0x10, __VA_ARGS__)}; \
  constexpr Write kM2[] = {TICK_MODE2(0, 0, 0x02, 0x10, __VA_ARGS__)}
#define T1_MODES(...)                             \
  [[maybe_unused]] constexpr Write kM0[] = {      \
      TICK_MODE0(1, 4, 0x08, 0x40, __VA_ARGS__)}; \
  [[maybe_unused]] constexpr Write kM1[] = {      \
      TICK_MODE1(1, 4, 0x08, 0x40, __VA_ARGS__)}; \
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

// Timer 0 and Timer 1 behind a clock write that takes the choice's bits
// (choice slot 0): STC's T0x12/T1x12, Nuvoton's T0M/T1M, SiLabs' T0M/T1M
// with the shared SCA prescaler.
#define CLOCK_WRITE(NAME, REG, MASK, TEXT)                      \
  constexpr Write NAME {                                        \
    .reg = REG, .mask = MASK, .choice_slot = 0, .comment = TEXT \
  }
CLOCK_WRITE(kStcT0Clock, "AUXR", 0x80, "T0x12");
CLOCK_WRITE(kStcT1Clock, "AUXR", 0x40, "T1x12");
CLOCK_WRITE(kNuvotonT0Clock, "CKCON", 0x08, "T0M");
CLOCK_WRITE(kNuvotonT1Clock, "CKCON", 0x10, "T1M");
CLOCK_WRITE(kEfm8T0Clock, "CKCON0", 0x07, "T0M, SCA (shared)");
CLOCK_WRITE(kEfm8T1Clock, "CKCON0", 0x0B, "T1M, SCA (shared)");
CLOCK_WRITE(kC8051T0Clock, "CKCON", 0x07, "T0M, SCA (shared)");
CLOCK_WRITE(kC8051T1Clock, "CKCON", 0x0B, "T1M, SCA (shared)");
CLOCK_WRITE(kDallasT0Clock, "CKCON", 0x08, "T0M");
CLOCK_WRITE(kDallasT1Clock, "CKCON", 0x10, "T1M");
CLOCK_WRITE(kDallasT2Clock, "CKCON", 0x20, "T2M");
// bTMR_CLK picks Fsys over Fsys/4 for every timer whose own bit is set.
CLOCK_WRITE(kWchT0Clock, "T2MOD", 0x90, "bT0_CLK, bTMR_CLK (shared)");
CLOCK_WRITE(kWchT1Clock, "T2MOD", 0xA0, "bT1_CLK, bTMR_CLK (shared)");
CLOCK_WRITE(kWchT2Clock, "T2MOD", 0xC0, "bT2_CLK, bTMR_CLK (shared)");

// STC15/STC8: TMOD mode 0 of Timer 0 and 1 is a 16-bit auto-reload, TH/TL
// written while stopped setting the reload too.
constexpr std::string_view kStcMode0Text = "mode 0, 16-bit auto-reload";
namespace t0_stc {
constexpr Write kM0[] = {TICK_MODE0(0, 0, 0x02, 0x10, kStcT0Clock, )};
constexpr TickMode kModes[] = {
    {"0", kStcMode0Text, 65536, Reload::kHardware, kM0}};
}  // namespace t0_stc
namespace t1_stc {
constexpr Write kM0[] = {TICK_MODE0(1, 4, 0x08, 0x40, kStcT1Clock, )};
constexpr TickMode kModes[] = {
    {"0", kStcMode0Text, 65536, Reload::kHardware, kM0}};
}  // namespace t1_stc

// STC's Timers 2, 3 and 4: 16-bit auto-reload only, counting up from the
// reload; the flag is cleared on entering the handler. The clock write
// also clears the timer's C/T (and run) bits: a timer, not a counter.
#define STC_TIMER_WRITES(NAME, CTRL, MASK, LOW, HIGH, IE2_MASK, RUN, TEXT) \
  constexpr Write NAME[] = {                                               \
      {.reg = CTRL, .mask = MASK, .choice_slot = 0, .comment = TEXT},      \
      {.reg = LOW, .source = S::kReloadLow},                               \
      {.reg = HIGH, .source = S::kReloadHigh},                             \
      {.reg = "IE2", .mask = IE2_MASK, .value = IE2_MASK},                 \
      kEa,                                                                 \
      {.reg = CTRL, .mask = RUN, .value = RUN}}
STC_TIMER_WRITES(kStcT2Writes, "AUXR", 0x1C, "T2L", "T2H", 0x04, 0x10,
                 "T2x12, a timer, stopped");
STC_TIMER_WRITES(kStcT3Writes, "T4T3M", 0x0E, "T3L", "T3H", 0x20, 0x08,
                 "T3x12, a timer, stopped");
STC_TIMER_WRITES(kStcT4Writes, "T4T3M", 0xE0, "T4L", "T4H", 0x40, 0x80,
                 "T4x12, a timer, stopped");
constexpr TickMode kStcT2Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kStcT2Writes}};
constexpr TickMode kStcT3Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kStcT3Writes}};
constexpr TickMode kStcT4Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kStcT4Writes}};

constexpr int kAt12Or1[] = {12, 1};
// The choice's bits: 12 clocks, then 1.
constexpr std::uint8_t kStcT0Bits[] = {0x00, 0, 0x80, 0};
constexpr std::uint8_t kStcT1Bits[] = {0x00, 0, 0x40, 0};
constexpr std::uint8_t kStcT2Bits[] = {0x00, 0, 0x04, 0};
constexpr std::uint8_t kStcT3Bits[] = {0x00, 0, 0x02, 0};
constexpr std::uint8_t kStcT4Bits[] = {0x00, 0, 0x20, 0};
constexpr std::uint8_t kNuvotonT0Bits[] = {0x00, 0, 0x08, 0};
constexpr std::uint8_t kNuvotonT1Bits[] = {0x00, 0, 0x10, 0};
// The Dallas high-speed core (and the EZ-USB's): 12 clocks, or 4 with TxM.
constexpr int kAt12Or4[] = {12, 4};
constexpr std::uint8_t kDallasT0Bits[] = {0x00, 0, 0x08, 0};
constexpr std::uint8_t kDallasT1Bits[] = {0x00, 0, 0x10, 0};
constexpr std::uint8_t kDallasT2Bits[] = {0x00, 0, 0x20, 0};
// WCH: Fsys/12, Fsys/4 (bTx_CLK) or Fsys (bTx_CLK and bTMR_CLK).
constexpr int kWchClocks[] = {12, 4, 1};
constexpr std::uint8_t kWchT0Bits[] = {0x00, 0, 0x10, 0, 0x90, 0};
constexpr std::uint8_t kWchT1Bits[] = {0x00, 0, 0x20, 0, 0xA0, 0};
constexpr std::uint8_t kWchT2Bits[] = {0x00, 0, 0x40, 0, 0xC0, 0};
T2_AUTO_RELOAD(kDallasT2Writes, kDallasT2Clock, );
T2_AUTO_RELOAD(kWchT2Writes, kWchT2Clock, );
constexpr TickMode kDallasT2Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kDallasT2Writes}};
constexpr TickMode kWchT2Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kWchT2Writes}};
constexpr int kAt2[] = {2};
// The AT89LP's shared prescaler: Fosc / (TPS + 1), TPS 0 ... 15.
constexpr int kLpClocks[] = {1, 2,  3,  4,  5,  6,  7,  8,
                             9, 10, 11, 12, 13, 14, 15, 16};
T2_AUTO_RELOAD(kLpT2Writes, kTps, );
constexpr TickMode kLpT2Modes[] = {
    {"ar", kT2Text, 65536, Reload::kHardware, kLpT2Writes}};
// Its Timer 1's mode 1 reloads by hardware from RH1:RL1.
constexpr Write kLpT1Mode1[] = {
    kTps,
    TICK_TMOD(1, 4, 1, ", 16-bit auto-reload"),
    {.reg = "RH1", .source = S::kReloadHigh},
    {.reg = "RL1", .source = S::kReloadLow},
    {.reg = "TH1", .source = S::kReloadHigh},
    {.reg = "TL1",
     .source = S::kReloadLow,
     .comment = "the first tick as long as the rest"},
    TICK_ENABLE(1, 0x08, 0x40)};

// SiLabs: SYSCLK/12, /4, /48 through SCA (0, 1, 2), or SYSCLK itself.
constexpr int kSilabsClocks[] = {12, 4, 48, 1};
constexpr std::uint8_t kSilabsT0Bits[] = {0x00, 0, 0x01, 0, 0x02, 0, 0x04, 0};
constexpr std::uint8_t kSilabsT1Bits[] = {0x00, 0, 0x01, 0, 0x02, 0, 0x08, 0};

// The single-cycle cores' Timer 0 and 1 in mode 2 (see k1tT0).
#define MODE2_ONLY(NAME, TIMER_MODES, CLOCK)           \
  namespace NAME {                                     \
  TIMER_MODES(CLOCK, );                                \
  constexpr TickMode kModes[] = {                      \
      {"2", kMode2Text, 256, Reload::kHardware, kM2}}; \
  }
MODE2_ONLY(t0_nuvoton, T0_MODES, kNuvotonT0Clock)
MODE2_ONLY(t1_nuvoton, T1_MODES, kNuvotonT1Clock)
MODE2_ONLY(t0_efm8, T0_MODES, kEfm8T0Clock)
MODE2_ONLY(t1_efm8, T1_MODES, kEfm8T1Clock)
MODE2_ONLY(t0_c8051, T0_MODES, kC8051T0Clock)
MODE2_ONLY(t1_c8051, T1_MODES, kC8051T1Clock)
MODE2_ONLY(t0_stc12, T0_MODES, kStcT0Clock)
MODE2_ONLY(t1_stc12, T1_MODES, kStcT1Clock)
MODE2_ONLY(t0_lp, T0_MODES, kTps)
namespace t1_lp {
T1_MODES(kTps, );
constexpr TickMode kModes[] = {
    {"1", "mode 1, 16-bit auto-reload", 65536, Reload::kHardware, kLpT1Mode1},
    {"2", kMode2Text, 256, Reload::kHardware, kM2}};
}  // namespace t1_lp
MODE2_ONLY(t0_dallas, T0_MODES, kDallasT0Clock)
MODE2_ONLY(t1_dallas, T1_MODES, kDallasT1Clock)
MODE2_ONLY(t0_wch, T0_MODES, kWchT0Clock)
MODE2_ONLY(t1_wch, T1_MODES, kWchT1Clock)

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
// The same, for faster cores whose instructions' cycles differ from the
// 8051's: the LPC900's timers count PCLK (CCLK / 2), the nRF24LE1's CCLK
// / 12.
CLASSIC_TIMER(kLpcT0Tick, 0, t0_12::kMode2Only, kAt2, kTr0);
CLASSIC_TIMER(kLpcT1Tick, 1, t1_12::kMode2Only, kAt2, kTr1Tick);
CLASSIC_TIMER(kNrfT0Tick, 0, t0_12::kMode2Only, kAt12, kTr0);
CLASSIC_TIMER(kNrfT1Tick, 1, t1_12::kMode2Only, kAt12, kTr1Tick);
// The ADuC84x's single-cycle core has no divide-by-12 before its timers
// (the ADuC83x's 12-clock core has, and takes the classic records).
CLASSIC_TIMER(kAducT0Tick, 0, t0_12::kMode2Only, kAt1, kTr0);
CLASSIC_TIMER(kAducT1Tick, 1, t1_12::kMode2Only, kAt1, kTr1Tick);
// The 8052's Timer 2 (vector 5), its clock picked by `BITS`; TF2 is the
// handler's to clear.
#define T2_TIMER(NAME, MODES, CLOCKS, BITS)                                  \
  constexpr TickTimer NAME {                                                 \
    .key = "t2", .number = 2, .vector = 5, .modes = MODES, .clocks = CLOCKS, \
    .choice_bits = BITS, .run = kTr2, .flag = kTf2                           \
  }
T2_TIMER(kAducT2Tick, kT2Modes, kAt1, kNoChoiceBits);

T2_TIMER(kClassicT2Tick, kT2Modes, kAt12, kNoChoiceBits);
T2_TIMER(kX2T2Tick, kT2X2Modes, kAt6, kNoChoiceBits);

#define CHOICE_TIMER(NAME, KEY, N, VECTOR, MODES, CLOCKS, BITS, RUN) \
  constexpr TickTimer NAME {                                         \
    .key = KEY, .number = N, .vector = VECTOR, .modes = MODES,       \
    .clocks = CLOCKS, .choice_bits = BITS, .run = RUN                \
  }
CHOICE_TIMER(kStcT0Tick, "t0", 0, 1, t0_stc::kModes, kAt12Or1, kStcT0Bits,
             kTr0);
CHOICE_TIMER(kStcT1Tick, "t1", 1, 3, t1_stc::kModes, kAt12Or1, kStcT1Bits,
             kTr1Tick);
CHOICE_TIMER(kStcT2Tick, "t2", 2, 12, kStcT2Modes, kAt12Or1, kStcT2Bits,
             kStcT2Writes[5]);
CHOICE_TIMER(kStcT3Tick, "t3", 3, 19, kStcT3Modes, kAt12Or1, kStcT3Bits,
             kStcT3Writes[5]);
CHOICE_TIMER(kStcT4Tick, "t4", 4, 20, kStcT4Modes, kAt12Or1, kStcT4Bits,
             kStcT4Writes[5]);
CHOICE_TIMER(kNuvotonT0Tick, "t0", 0, 1, t0_nuvoton::kModes, kAt12Or1,
             kNuvotonT0Bits, kTr0);
CHOICE_TIMER(kNuvotonT1Tick, "t1", 1, 3, t1_nuvoton::kModes, kAt12Or1,
             kNuvotonT1Bits, kTr1Tick);
CHOICE_TIMER(kEfm8T0Tick, "t0", 0, 1, t0_efm8::kModes, kSilabsClocks,
             kSilabsT0Bits, kTr0);
CHOICE_TIMER(kEfm8T1Tick, "t1", 1, 3, t1_efm8::kModes, kSilabsClocks,
             kSilabsT1Bits, kTr1Tick);
CHOICE_TIMER(kC8051T0Tick, "t0", 0, 1, t0_c8051::kModes, kSilabsClocks,
             kSilabsT0Bits, kTr0);
CHOICE_TIMER(kC8051T1Tick, "t1", 1, 3, t1_c8051::kModes, kSilabsClocks,
             kSilabsT1Bits, kTr1Tick);

// The STC12's Timers 0 and 1 keep the 8051's modes, mode 0 13-bit.
CHOICE_TIMER(kStc12T0Tick, "t0", 0, 1, t0_stc12::kModes, kAt12Or1, kStcT0Bits,
             kTr0);
CHOICE_TIMER(kStc12T1Tick, "t1", 1, 3, t1_stc12::kModes, kAt12Or1, kStcT1Bits,
             kTr1Tick);
CHOICE_TIMER(kLpT0Tick, "t0", 0, 1, t0_lp::kModes, kLpClocks, kLpBits, kTr0);
CHOICE_TIMER(kLpT1Tick, "t1", 1, 3, t1_lp::kModes, kLpClocks, kLpBits,
             kTr1Tick);
T2_TIMER(kLpT2Tick, kLpT2Modes, kLpClocks, kLpBits);
CHOICE_TIMER(kDallasT0Tick, "t0", 0, 1, t0_dallas::kModes, kAt12Or4,
             kDallasT0Bits, kTr0);
CHOICE_TIMER(kDallasT1Tick, "t1", 1, 3, t1_dallas::kModes, kAt12Or4,
             kDallasT1Bits, kTr1Tick);
CHOICE_TIMER(kWchT0Tick, "t0", 0, 1, t0_wch::kModes, kWchClocks, kWchT0Bits,
             kTr0);
CHOICE_TIMER(kWchT1Tick, "t1", 1, 3, t1_wch::kModes, kWchClocks, kWchT1Bits,
             kTr1Tick);
T2_TIMER(kDallasT2Tick, kDallasT2Modes, kAt12Or4, kDallasT2Bits);
T2_TIMER(kWchT2Tick, kWchT2Modes, kWchClocks, kWchT2Bits);

}  // namespace timers::records
