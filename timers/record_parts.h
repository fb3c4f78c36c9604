#pragma once
// What the generator records share: the arithmetic of families that divide
// alike and the register writes of the 8051's own timers. Inside the
// library only; generators.cpp and generators_2.cpp are made of these.

#include <array>

#include "timers/catalogue.h"

namespace timers::records {

using S = Source;

// ---- Arithmetic, shared by every family that divides alike ----

// The 8051's UART mode 1 on Timer 1 in mode 2: 2^SMOD/32 * f/C/(256 - TH1).
inline constexpr ClockChoice k12[] = {{12, 384}};
inline constexpr ClockChoice k6[] = {{6, 192}};
inline constexpr ClockChoice k1[] = {{1, 32}};
inline constexpr ClockChoice k12or1[] = {{12, 384}, {1, 32}};
inline constexpr ClockChoice k12or4[] = {{12, 384}, {4, 128}};
inline constexpr ClockChoice k12or4or1[] = {{12, 384}, {4, 128}, {1, 32}};
inline constexpr Arithmetic kT1At12{256, Counting::kUp, true, k12};
inline constexpr Arithmetic kT1At6{256, Counting::kUp, true, k6};
inline constexpr Arithmetic kT1At1{256, Counting::kUp, true, k1};
inline constexpr Arithmetic kT1At12or1{256, Counting::kUp, true, k12or1};
inline constexpr Arithmetic kT1At12or4{256, Counting::kUp, true, k12or4};
inline constexpr Arithmetic kT1At12or4or1{256, Counting::kUp, true, k12or4or1};

// The 8052's Timer 2 baud generator, f/(K * (65536 - RCAP2)): the timer
// counts at f/2 and the UART divides by 16.
inline constexpr ClockChoice kT2Classic[] = {{12, 32}};
inline constexpr ClockChoice kT2X2[] = {{6, 16}};
inline constexpr Arithmetic kT2At12{65536, Counting::kUp, false, kT2Classic};
inline constexpr Arithmetic kT2At6{65536, Counting::kUp, false, kT2X2};

// STC's 16-bit auto-reload generators, SYSclk/C/(4 * (65536 - R)).
inline constexpr ClockChoice kStc16[] = {{12, 48}, {1, 4}};
inline constexpr Arithmetic kStc16Bit{65536, Counting::kUp, false, kStc16};

// Nuvoton's Timer 3, 2^SMOD/32 * Fsys/prescale/(65536 - RH3:RL3).
inline constexpr ClockChoice kT3[] = {{1, 32},    {2, 64},    {4, 128},
                                      {8, 256},   {16, 512},  {32, 1024},
                                      {64, 2048}, {128, 4096}};
inline constexpr Arithmetic kT3Prescaled{65536, Counting::kUp, true, kT3};

// Silicon Labs: the UART halves Timer 1's overflow, T1CLK/(2 * (256 - TH1)).
inline constexpr ClockChoice kSilabs[] = {{1, 2}, {4, 8}, {12, 24}, {48, 96}};
inline constexpr Arithmetic kSilabsT1{256, Counting::kUp, false, kSilabs};

// WCH: Timer 1 at Fsys, Fsys/4 or Fsys/12; UART1's SBAUD1 at Fsys.
inline constexpr ClockChoice kWchT1Clocks[] = {{12, 384}, {4, 128}, {1, 32}};
inline constexpr Arithmetic kWchTimer1{256, Counting::kUp, true, kWchT1Clocks};

// AT89LP: every timer counts at Fosc/(TPS + 1), TPS 0 ... 15.
constexpr auto Prescaled(double uart) {
  std::array<ClockChoice, 16> choices{};
  for (int tps = 0; tps < 16; ++tps) {
    choices[tps] = {tps + 1, uart * (tps + 1)};
  }
  return choices;
}
inline constexpr auto kLpT1 = Prescaled(32);
inline constexpr auto kLpT2 = Prescaled(16);
inline constexpr Arithmetic kLpTimer1Mode2{256, Counting::kUp, true, kLpT1};
inline constexpr Arithmetic kLpTimer1Mode1{65536, Counting::kUp, true, kLpT1};
inline constexpr Arithmetic kLpTimer2{65536, Counting::kUp, false, kLpT2};
// CLKREG's TPS in bits 7 ... 4, two bytes a choice, TPS 0 first.
constexpr auto LpBits() {
  std::array<std::uint8_t, 32> bits{};
  for (int tps = 0; tps < 16; ++tps) bits[2 * tps] = tps << 4;
  return bits;
}
inline constexpr auto kLpBits = LpBits();
inline constexpr Write kTps{.reg = "CLKREG",
                            .mask = 0xF0,
                            .value = 0x00,
                            .choice_slot = 0,
                            .comment = "TPS"};

// XC886: fPCLK/(16 * 2^BRPRE * (BR_VALUE + 1)), BRPRE 0 ... 5.
inline constexpr ClockChoice kBrpre[] = {{1, 16},  {2, 32},   {4, 64},
                                         {8, 128}, {16, 256}, {32, 512}};
inline constexpr Arithmetic kXcBg{256, Counting::kDivisorMinusOne, false,
                                  kBrpre};
inline constexpr Arithmetic kXcFractional{256, Counting::kFractional, false,
                                          kBrpre};

// ---- Register writes ----

inline constexpr Write kScon{
    .reg = "SCON", .value = 0x50, .comment = "mode 1, receiver on"};
inline constexpr Write kTmodMode2{.reg = "TMOD",
                                  .mask = 0xF0,
                                  .value = 0x20,
                                  .comment = "Timer 1 in mode 2, Timer 0 kept"};
inline constexpr Write kTh1{.reg = "TH1", .source = S::kReloadLow};
inline constexpr Write kTl1{.reg = "TL1",
                            .source = S::kReloadLow,
                            .comment = "the first bit as long as the rest"};
inline constexpr Write kSmod{
    .reg = "PCON",
    .mask = 0x80,
    .smod_bits = 0x80,
    .comment = "SMOD",
    .c_comment_by_smod = {"SMOD = 0", "SMOD = 1 doubles the rate"}};
inline constexpr Write kTr1{
    .reg = "TCON", .mask = 0x40, .value = 0x40, .bit = "TR1"};
inline constexpr Write kT2Stop{
    .reg = "T2CON", .value = 0x00, .comment = "stopped while it is loaded"};
inline constexpr Write kT2Run{
    .reg = "T2CON",
    .value = 0x34,
    .comment = "RCLK, TCLK, TR2: Timer 2 clocks both ways"};
inline constexpr Write kRcap2h{.reg = "RCAP2H", .source = S::kReloadHigh};
inline constexpr Write kRcap2l{.reg = "RCAP2L", .source = S::kReloadLow};
inline constexpr Write kTh2{.reg = "TH2", .source = S::kReloadHigh};
inline constexpr Write kTl2{.reg = "TL2", .source = S::kReloadLow};

// Timer 1 in mode 2, after whatever picks its clock.
#define TIMER1_MODE2(...) kScon, __VA_ARGS__ kTmodMode2, kTh1, kTl1, kSmod, kTr1
#define TIMER2_8052(...) \
  kScon, __VA_ARGS__ kT2Stop, kRcap2h, kRcap2l, kTh2, kTl2, kT2Run

inline constexpr std::uint8_t kNoBits[] = {0, 0};

}  // namespace timers::records
