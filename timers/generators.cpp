#include "timers/generators.h"

#include <array>

namespace timers::records {

using S = Source;

// ---- Arithmetic, shared by every family that divides alike ----

// The 8051's UART mode 1 on Timer 1 in mode 2: 2^SMOD/32 * f/C/(256 - TH1).
constexpr ClockChoice k12[] = {{12, 384}};
constexpr ClockChoice k6[] = {{6, 192}};
constexpr ClockChoice k1[] = {{1, 32}};
constexpr ClockChoice k12or1[] = {{12, 384}, {1, 32}};
constexpr ClockChoice k12or4[] = {{12, 384}, {4, 128}};
constexpr ClockChoice k12or4or1[] = {{12, 384}, {4, 128}, {1, 32}};
constexpr Arithmetic kT1At12{256, Counting::kUp, true, k12};
constexpr Arithmetic kT1At6{256, Counting::kUp, true, k6};
constexpr Arithmetic kT1At1{256, Counting::kUp, true, k1};
constexpr Arithmetic kT1At12or1{256, Counting::kUp, true, k12or1};
constexpr Arithmetic kT1At12or4{256, Counting::kUp, true, k12or4};
constexpr Arithmetic kT1At12or4or1{256, Counting::kUp, true, k12or4or1};

// The 8052's Timer 2 baud generator, f/(K * (65536 - RCAP2)): the timer
// counts at f/2 and the UART divides by 16.
constexpr ClockChoice kT2Classic[] = {{12, 32}};
constexpr ClockChoice kT2X2[] = {{6, 16}};
constexpr Arithmetic kT2At12{65536, Counting::kUp, false, kT2Classic};
constexpr Arithmetic kT2At6{65536, Counting::kUp, false, kT2X2};

// STC's 16-bit auto-reload generators, SYSclk/C/(4 * (65536 - R)).
constexpr ClockChoice kStc16[] = {{12, 48}, {1, 4}};
constexpr Arithmetic kStc16Bit{65536, Counting::kUp, false, kStc16};

// Nuvoton's Timer 3, 2^SMOD/32 * Fsys/prescale/(65536 - RH3:RL3).
constexpr ClockChoice kT3[] = {{1, 32},   {2, 64},    {4, 128},   {8, 256},
                               {16, 512}, {32, 1024}, {64, 2048}, {128, 4096}};
constexpr Arithmetic kT3Prescaled{65536, Counting::kUp, true, kT3};

// Silicon Labs: the UART halves Timer 1's overflow, T1CLK/(2 * (256 - TH1)).
constexpr ClockChoice kSilabs[] = {{1, 2}, {4, 8}, {12, 24}, {48, 96}};
constexpr Arithmetic kSilabsT1{256, Counting::kUp, false, kSilabs};

// WCH: Timer 1 at Fsys, Fsys/4 or Fsys/12; UART1's SBAUD1 at Fsys.
constexpr ClockChoice kWchT1Clocks[] = {{12, 384}, {4, 128}, {1, 32}};
constexpr Arithmetic kWchTimer1{256, Counting::kUp, true, kWchT1Clocks};

// AT89LP: every timer counts at Fosc/(TPS + 1), TPS 0 ... 15.
constexpr auto Prescaled(double uart) {
  std::array<ClockChoice, 16> choices{};
  for (int tps = 0; tps < 16; ++tps) {
    choices[tps] = {tps + 1, uart * (tps + 1)};
  }
  return choices;
}
constexpr auto kLpT1 = Prescaled(32);
constexpr auto kLpT2 = Prescaled(16);
constexpr Arithmetic kLpTimer1Mode2{256, Counting::kUp, true, kLpT1};
constexpr Arithmetic kLpTimer1Mode1{65536, Counting::kUp, true, kLpT1};
constexpr Arithmetic kLpTimer2{65536, Counting::kUp, false, kLpT2};

// XC886: fPCLK/(16 * 2^BRPRE * (BR_VALUE + 1)), BRPRE 0 ... 5.
constexpr ClockChoice kBrpre[] = {{1, 16},  {2, 32},   {4, 64},
                                  {8, 128}, {16, 256}, {32, 512}};
constexpr Arithmetic kXcBg{256, Counting::kDivisorMinusOne, false, kBrpre};
constexpr Arithmetic kXcFractional{256, Counting::kFractional, false, kBrpre};

// ---- Register writes ----

constexpr Write kScon{
    .reg = "SCON", .value = 0x50, .comment = "mode 1, receiver on"};
constexpr Write kTmodMode2{.reg = "TMOD",
                           .mask = 0xF0,
                           .value = 0x20,
                           .comment = "Timer 1 in mode 2, Timer 0 kept"};
constexpr Write kTh1{.reg = "TH1", .source = S::kReloadLow};
constexpr Write kTl1{.reg = "TL1",
                     .source = S::kReloadLow,
                     .comment = "the first bit as long as the rest"};
constexpr Write kSmod{
    .reg = "PCON",
    .mask = 0x80,
    .smod_bits = 0x80,
    .comment = "SMOD",
    .c_comment_by_smod = {"SMOD = 0", "SMOD = 1 doubles the rate"}};
constexpr Write kTr1{.reg = "TCON", .mask = 0x40, .value = 0x40, .bit = "TR1"};
constexpr Write kT2Stop{
    .reg = "T2CON", .value = 0x00, .comment = "stopped while it is loaded"};
constexpr Write kT2Run{.reg = "T2CON",
                       .value = 0x34,
                       .comment = "RCLK, TCLK, TR2: Timer 2 clocks both ways"};
constexpr Write kRcap2h{.reg = "RCAP2H", .source = S::kReloadHigh};
constexpr Write kRcap2l{.reg = "RCAP2L", .source = S::kReloadLow};
constexpr Write kTh2{.reg = "TH2", .source = S::kReloadHigh};
constexpr Write kTl2{.reg = "TL2", .source = S::kReloadLow};

// Timer 1 in mode 2, after whatever picks its clock.
#define TIMER1_MODE2(...) kScon, __VA_ARGS__ kTmodMode2, kTh1, kTl1, kSmod, kTr1
#define TIMER2_8052(...) \
  kScon, __VA_ARGS__ kT2Stop, kRcap2h, kRcap2l, kTh2, kTl2, kT2Run

constexpr std::uint8_t kNoBits[] = {0, 0};

// Today's records.
constexpr Write kClassicT1Writes[] = {TIMER1_MODE2()};
constexpr Write kClassicT2Writes[] = {TIMER2_8052()};
constexpr Write kX2{
    .reg = "CKCON0", .mask = 0x01, .value = 0x01, .comment = "X2"};
constexpr Write kX2T1Writes[] = {TIMER1_MODE2(kX2, )};
constexpr Write kX2T2Writes[] = {TIMER2_8052(kX2, )};
constexpr Write kT1x12{
    .reg = "AUXR", .mask = 0x40, .value = 0x40, .comment = "T1x12"};
constexpr Write k1tWrites[] = {TIMER1_MODE2(kT1x12, )};
constexpr Generator kClassicT1{.key = "t1",
                               .text = "Timer 1 in mode 2",
                               .timer = 1,
                               .arithmetic = &kT1At12,
                               .choice_bits = kNoBits,
                               .writes = kClassicT1Writes};
constexpr Generator kClassicT2{.key = "t2",
                               .text = "Timer 2 baud-rate generator",
                               .timer = 2,
                               .arithmetic = &kT2At12,
                               .choice_bits = kNoBits,
                               .writes = kClassicT2Writes};
constexpr Generator kX2T1{.key = "t1",
                          .text = "Timer 1 in mode 2, X2",
                          .timer = 1,
                          .arithmetic = &kT1At6,
                          .choice_bits = kNoBits,
                          .writes = kX2T1Writes};
constexpr Generator kX2T2{.key = "t2",
                          .text = "Timer 2 baud-rate generator, X2",
                          .timer = 2,
                          .arithmetic = &kT2At6,
                          .choice_bits = kNoBits,
                          .writes = kX2T2Writes};
constexpr Generator k1tT1{.key = "t1",
                          .text = "Timer 1 in mode 2, T1x12",
                          .timer = 1,
                          .arithmetic = &kT1At1,
                          .choice_bits = kNoBits,
                          .writes = k1tWrites};

// STC8, STC15: AUXR's T2R 0x10, T2x12 0x04, S1ST2 0x01 and T1x12 0x40
// (STC12C5A60S2: S1BRS in the place of S1ST2).
constexpr std::uint8_t kStcT2Bits[] = {0x00, 0, 0x04, 0};
constexpr std::uint8_t kStcT1Bits[] = {0x00, 0, 0x40, 0};
constexpr Write kStcT2Writes[] = {kScon,
                                  {.reg = "T2L", .source = S::kReloadLow},
                                  {.reg = "T2H", .source = S::kReloadHigh},
                                  {.reg = "AUXR",
                                   .mask = 0x1D,
                                   .value = 0x11,
                                   .choice_slot = 0,
                                   .comment = "T2R, S1ST2: UART1 on Timer 2"}};
constexpr Write kStcT1Clock{.reg = "AUXR",
                            .mask = 0x41,
                            .value = 0x00,
                            .choice_slot = 0,
                            .comment = "T1x12; UART1 on Timer 1"};
constexpr Write kTmodMode0{.reg = "TMOD",
                           .mask = 0xF0,
                           .value = 0x00,
                           .comment = "Timer 1 in mode 0, 16-bit auto-reload"};
constexpr Write kStcT1Mode0Writes[] = {kScon,
                                       kStcT1Clock,
                                       kTmodMode0,
                                       {.reg = "TL1", .source = S::kReloadLow},
                                       {.reg = "TH1", .source = S::kReloadHigh},
                                       kTr1};
constexpr Write kStcT1Mode2Writes[] = {TIMER1_MODE2(kStcT1Clock, )};
constexpr Generator kStcT2{.key = "t2",
                           .text = "UART1 on Timer 2, 16-bit auto-reload",
                           .timer = 2,
                           .arithmetic = &kStc16Bit,
                           .choice_bits = kStcT2Bits,
                           .writes = kStcT2Writes};
constexpr Generator kStcT1Mode0{
    .key = "t1m0",
    .text = "UART1 on Timer 1 in mode 0, 16-bit auto-reload",
    .timer = 1,
    .arithmetic = &kStc16Bit,
    .choice_bits = kStcT1Bits,
    .writes = kStcT1Mode0Writes};
constexpr Generator kStcT1Mode2{.key = "t1",
                                .text = "UART1 on Timer 1 in mode 2",
                                .timer = 1,
                                .arithmetic = &kT1At12or1,
                                .choice_bits = kStcT1Bits,
                                .writes = kStcT1Mode2Writes};
constexpr std::uint8_t kBrtBits[] = {0x00, 0, 0x04, 0};
constexpr Write kBrtWrites[] = {kScon,
                                {.reg = "BRT", .source = S::kReloadLow},
                                {.reg = "AUXR",
                                 .mask = 0x15,
                                 .value = 0x11,
                                 .choice_slot = 0,
                                 .comment = "BRTR, BRTx12, S1BRS"},
                                kSmod};
constexpr Generator kStcBrt{.key = "brt",
                            .text = "UART1 on the BRT generator",
                            .timer = 0,
                            .arithmetic = &kT1At12or1,
                            .choice_bits = kBrtBits,
                            .writes = kBrtWrites};

// N76E003, MS51: CKCON.T1M 0x10; T3CON: SMOD_1 0x80, BRCK 0x20, TR3 0x08,
// T3PS 0x07.
constexpr std::uint8_t kNuvotonT1Bits[] = {0x00, 0, 0x10, 0};
constexpr std::uint8_t kT3Bits[] = {0, 0, 1, 0, 2, 0, 3, 0,
                                    4, 0, 5, 0, 6, 0, 7, 0};
constexpr Write kNuvotonT1Clock{.reg = "CKCON",
                                .mask = 0x10,
                                .value = 0x00,
                                .choice_slot = 0,
                                .comment = "T1M"};
constexpr Write kBrckOff{.reg = "T3CON",
                         .mask = 0x20,
                         .value = 0x00,
                         .comment = "BRCK = 0: UART0 on Timer 1"};
constexpr Write kNuvotonT1Writes[] = {
    TIMER1_MODE2(kNuvotonT1Clock, kBrckOff, )};
constexpr Write kNuvotonT3Writes[] = {kScon,
                                      {.reg = "RL3", .source = S::kReloadLow},
                                      {.reg = "RH3", .source = S::kReloadHigh},
                                      {.reg = "T3CON",
                                       .mask = 0x2F,
                                       .value = 0x28,
                                       .choice_slot = 0,
                                       .comment = "BRCK, TR3, T3PS"},
                                      kSmod};
constexpr Write kNuvotonT3Uart1Writes[] = {
    {.reg = "SCON_1", .value = 0x50, .comment = "UART1 mode 1, receiver on"},
    {.reg = "RL3", .source = S::kReloadLow},
    {.reg = "RH3", .source = S::kReloadHigh},
    {.reg = "T3CON",
     .mask = 0x8F,
     .value = 0x08,
     .choice_slot = 0,
     .smod_bits = 0x80,
     .comment = "SMOD_1, TR3, T3PS"}};
constexpr Generator kNuvotonT1{.key = "t1",
                               .text = "UART0 on Timer 1 in mode 2",
                               .timer = 1,
                               .arithmetic = &kT1At12or1,
                               .choice_bits = kNuvotonT1Bits,
                               .writes = kNuvotonT1Writes};
constexpr Generator kNuvotonT3{.key = "t3",
                               .text = "UART0 on Timer 3",
                               .timer = 3,
                               .arithmetic = &kT3Prescaled,
                               .choice_bits = kT3Bits,
                               .writes = kNuvotonT3Writes};
constexpr Generator kNuvotonT3Uart1{.key = "u1t3",
                                    .text = "UART1 on Timer 3",
                                    .timer = 3,
                                    .arithmetic = &kT3Prescaled,
                                    .choice_bits = kT3Bits,
                                    .writes = kNuvotonT3Uart1Writes};

// EFM8 (CKCON0) and C8051F3xx (CKCON): T1M 0x08, SCA 0x03 (0 /12, 1 /4,
// 2 /48).
constexpr std::uint8_t kSilabsBits[] = {0x08, 0, 0x01, 0, 0x00, 0, 0x02, 0};
#define SILABS_T1(ckcon)                                                 \
  {.reg = "SCON0", .value = 0x10, .comment = "8-bit UART, receiver on"}, \
      {.reg = ckcon,                                                     \
       .mask = 0x0B,                                                     \
       .value = 0x00,                                                    \
       .choice_slot = 0,                                                 \
       .comment = "T1M, SCA: Timer 1's clock"},                          \
      kTmodMode2, kTh1, kTl1, kTr1
constexpr Write kEfm8Writes[] = {SILABS_T1("CKCON0")};
constexpr Write kC8051Writes[] = {SILABS_T1("CKCON")};
constexpr Generator kEfm8T1{.key = "t1",
                            .text = "UART0 on Timer 1 in mode 2",
                            .timer = 1,
                            .arithmetic = &kSilabsT1,
                            .choice_bits = kSilabsBits,
                            .writes = kEfm8Writes};
constexpr Generator kC8051T1{.key = "t1",
                             .text = "UART0 on Timer 1 in mode 2",
                             .timer = 1,
                             .arithmetic = &kSilabsT1,
                             .choice_bits = kSilabsBits,
                             .writes = kC8051Writes};

// CH552, CH554: T2MOD's bTMR_CLK 0x80 and bT1_CLK 0x20; SCON1's U1SMOD 0x20.
constexpr std::uint8_t kWchBits[] = {0x00, 0, 0x20, 0, 0xA0, 0};
constexpr Write kWchClock{.reg = "T2MOD",
                          .mask = 0xA0,
                          .value = 0x00,
                          .choice_slot = 0,
                          .comment = "bTMR_CLK, bT1_CLK"};
constexpr Write kWchT1Writes[] = {TIMER1_MODE2(kWchClock, )};
constexpr Write kWchUart1Writes[] = {
    {.reg = "SCON1",
     .value = 0x10,
     .smod_bits = 0x20,
     .comment = "8-bit, U1REN, U1SMOD"},
    {.reg = "SBAUD1", .source = S::kReloadLow}};
constexpr ClockChoice kWchSbaud[] = {{1, 32}};
constexpr Arithmetic kWchUart1{256, Counting::kUp, true, kWchSbaud};
constexpr Generator kWchT1{.key = "t1",
                           .text = "UART0 on Timer 1 in mode 2",
                           .timer = 1,
                           .arithmetic = &kWchTimer1,
                           .choice_bits = kWchBits,
                           .writes = kWchT1Writes};
constexpr Generator kWchSbaud1{.key = "sbaud1",
                               .text = "UART1 on its own SBAUD1",
                               .timer = 0,
                               .arithmetic = &kWchUart1,
                               .choice_bits = kNoBits,
                               .writes = kWchUart1Writes};

// DS80C320: CKCON.T1M 0x10; DS89C4x0 also CKMOD.T1MH 0x10.
constexpr std::uint8_t kDsBits[] = {0x00, 0, 0x10, 0};
constexpr std::uint8_t kDs89Bits[] = {0x00, 0x00, 0x10, 0x00, 0x10, 0x10};
constexpr Write kDsClock{.reg = "CKCON",
                         .mask = 0x10,
                         .value = 0x00,
                         .choice_slot = 0,
                         .comment = "T1M"};
constexpr Write kDsFast{.reg = "CKMOD",
                        .mask = 0x10,
                        .value = 0x00,
                        .choice_slot = 1,
                        .comment = "T1MH"};
constexpr Write kDsT1Writes[] = {TIMER1_MODE2(kDsClock, )};
constexpr Write kDs89T1Writes[] = {TIMER1_MODE2(kDsClock, kDsFast, )};
constexpr Generator kDsT1{.key = "t1",
                          .text = "Timer 1 in mode 2",
                          .timer = 1,
                          .arithmetic = &kT1At12or4,
                          .choice_bits = kDsBits,
                          .writes = kDsT1Writes};
constexpr Generator kDs89T1{.key = "t1",
                            .text = "Timer 1 in mode 2",
                            .timer = 1,
                            .arithmetic = &kT1At12or4or1,
                            .choice_bits = kDs89Bits,
                            .writes = kDs89T1Writes};

// AT89LP3240/6440: CLKREG's TPS in bits 7 ... 4.
constexpr auto LpBits() {
  std::array<std::uint8_t, 32> bits{};
  for (int tps = 0; tps < 16; ++tps) bits[2 * tps] = tps << 4;
  return bits;
}
constexpr auto kLpBits = LpBits();
constexpr Write kTps{.reg = "CLKREG",
                     .mask = 0xF0,
                     .value = 0x00,
                     .choice_slot = 0,
                     .comment = "TPS"};
constexpr Write kLpT2Writes[] = {TIMER2_8052(kTps, )};
constexpr Write kLpT1Mode2Writes[] = {TIMER1_MODE2(kTps, )};
constexpr Write kTmodMode1{.reg = "TMOD",
                           .mask = 0xF0,
                           .value = 0x10,
                           .comment = "Timer 1 in mode 1, 16-bit auto-reload"};
constexpr Write kLpT1Mode1Writes[] = {kScon,
                                      kTps,
                                      kTmodMode1,
                                      {.reg = "RH1", .source = S::kReloadHigh},
                                      {.reg = "RL1", .source = S::kReloadLow},
                                      {.reg = "TH1", .source = S::kReloadHigh},
                                      {.reg = "TL1", .source = S::kReloadLow},
                                      kSmod,
                                      kTr1};
constexpr Generator kLpT2Gen{.key = "t2",
                             .text = "Timer 2 baud-rate generator",
                             .timer = 2,
                             .arithmetic = &kLpTimer2,
                             .choice_bits = kLpBits,
                             .writes = kLpT2Writes};
constexpr Generator kLpT1Mode2{.key = "t1",
                               .text = "Timer 1 in mode 2",
                               .timer = 1,
                               .arithmetic = &kLpTimer1Mode2,
                               .choice_bits = kLpBits,
                               .writes = kLpT1Mode2Writes};
constexpr Generator kLpT1Mode1{.key = "t1m1",
                               .text = "Timer 1 in mode 1, 16-bit auto-reload",
                               .timer = 1,
                               .arithmetic = &kLpTimer1Mode1,
                               .choice_bits = kLpBits,
                               .writes = kLpT1Mode1Writes};

// XC886, XC888: BCON's BRPRE in bits 3 ... 1 and R (run) bit 0; FDCON's
// FDEN bit 0 with FDM bit 1 = 0, the fractional mode.
constexpr std::uint8_t kBrpreBits[] = {0x01, 0, 0x03, 0, 0x05, 0,
                                       0x07, 0, 0x09, 0, 0x0B, 0};
constexpr Write kBconStop{
    .reg = "BCON", .value = 0x00, .comment = "stopped while it is loaded"};
constexpr Write kBg{
    .reg = "BG", .source = S::kReloadLow, .comment = "BR_VALUE"};
constexpr Write kBconRun{
    .reg = "BCON", .value = 0x00, .choice_slot = 0, .comment = "BRPRE, R"};
constexpr Write kXcBgWrites[] = {kScon,
                                 kBconStop,
                                 kBg,
                                 {.reg = "FDCON",
                                  .mask = 0x01,
                                  .value = 0x00,
                                  .comment = "no fractional divider"},
                                 kBconRun};
constexpr Write kXcFdWrites[] = {
    kScon,
    kBconStop,
    kBg,
    {.reg = "FDSTEP", .source = S::kStep, .comment = "STEP"},
    {.reg = "FDCON",
     .mask = 0x03,
     .value = 0x01,
     .comment = "FDEN, fractional mode"},
    kBconRun};
constexpr Generator kXcBgGen{.key = "bg",
                             .text = "the baud-rate generator",
                             .timer = 0,
                             .arithmetic = &kXcBg,
                             .choice_bits = kBrpreBits,
                             .writes = kXcBgWrites};
constexpr Generator kXcFdGen{
    .key = "bgfd",
    .text = "the baud-rate generator behind the fractional divider",
    .timer = 0,
    .arithmetic = &kXcFractional,
    .choice_bits = kBrpreBits,
    .writes = kXcFdWrites};

#undef TIMER1_MODE2
#undef TIMER2_8052
#undef SILABS_T1

}  // namespace timers::records
