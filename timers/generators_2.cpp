#include "timers/generators.h"

#include "timers/record_parts.h"

// WCH, Maxim, Atmel's AT89LP and Infineon; generators.cpp has the rest.
namespace timers::records {

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

}  // namespace timers::records
