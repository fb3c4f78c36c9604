#include "timers/generators.h"

#include "timers/record_parts.h"

// The classic core, X2 and single-cycle parts, STC, Nuvoton and Silicon
// Labs; generators_2.cpp has the rest.
namespace timers::records {

// The classic core, and the X2 and single-cycle parts.
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

#undef SILABS_T1

}  // namespace timers::records
