#pragma once
// A register's named fields, by their makers' names, and the 8051 core's
// own: the bits of TCON, SCON, IE and the 8052's T2CON, and PCON's SMOD
// (Intel MCS-51 User's Manual, 1994: TCON, SCON, IE, PCON; T2CON from the
// 8052's). A family's records write a field; the code reader names and
// finds bits by the same fields.

#include <cstdint>
#include <span>
#include <string_view>

namespace mcs51 {

// One field of one register: a bit, or several that act as one.
//   {"TR1", "TCON", 0x40}:  Timer 1's run bit
//   {"T3PS", "T3CON", 0x07}: Timer 3's prescaler
struct Field {
  std::string_view name;
  std::string_view reg;
  std::uint8_t mask = 0;
};

namespace core {
// TCON
inline constexpr Field kIT0{"IT0", "TCON", 0x01};
inline constexpr Field kIE0{"IE0", "TCON", 0x02};
inline constexpr Field kIT1{"IT1", "TCON", 0x04};
inline constexpr Field kIE1{"IE1", "TCON", 0x08};
inline constexpr Field kTR0{"TR0", "TCON", 0x10};
inline constexpr Field kTF0{"TF0", "TCON", 0x20};
inline constexpr Field kTR1{"TR1", "TCON", 0x40};
inline constexpr Field kTF1{"TF1", "TCON", 0x80};
// SCON: SM0 and SM1 pick the mode (SCON >> 6)
inline constexpr Field kRI{"RI", "SCON", 0x01};
inline constexpr Field kTI{"TI", "SCON", 0x02};
inline constexpr Field kRB8{"RB8", "SCON", 0x04};
inline constexpr Field kTB8{"TB8", "SCON", 0x08};
inline constexpr Field kREN{"REN", "SCON", 0x10};
inline constexpr Field kSM2{"SM2", "SCON", 0x20};
inline constexpr Field kSM1{"SM1", "SCON", 0x40};
inline constexpr Field kSM0{"SM0", "SCON", 0x80};
// IE (bit 6 is unused)
inline constexpr Field kEX0{"EX0", "IE", 0x01};
inline constexpr Field kET0{"ET0", "IE", 0x02};
inline constexpr Field kEX1{"EX1", "IE", 0x04};
inline constexpr Field kET1{"ET1", "IE", 0x08};
inline constexpr Field kES{"ES", "IE", 0x10};
inline constexpr Field kET2{"ET2", "IE", 0x20};
inline constexpr Field kEA{"EA", "IE", 0x80};
// The 8052's T2CON
inline constexpr Field kCP_RL2{"CP_RL2", "T2CON", 0x01};
inline constexpr Field kC_T2{"C_T2", "T2CON", 0x02};
inline constexpr Field kTR2{"TR2", "T2CON", 0x04};
inline constexpr Field kEXEN2{"EXEN2", "T2CON", 0x08};
inline constexpr Field kTCLK{"TCLK", "T2CON", 0x10};
inline constexpr Field kRCLK{"RCLK", "T2CON", 0x20};
inline constexpr Field kEXF2{"EXF2", "T2CON", 0x40};
inline constexpr Field kTF2{"TF2", "T2CON", 0x80};
// TMOD, not bit-addressable: each timer's GATE, C/T, M1 and M0 (SDCC's
// 8051.h names the halves so)
inline constexpr Field kT0_MASK{"T0_MASK", "TMOD", 0x0F};
inline constexpr Field kT1_MASK{"T1_MASK", "TMOD", 0xF0};
// PCON: SMOD doubles the rate of Timer 1's UART modes
inline constexpr Field kSMOD{"SMOD", "PCON", 0x80};

// The bits of the bit-addressable core registers above, which C and
// assembly may name: every field of TCON, SCON, IE and T2CON.
inline constexpr Field kBits[] = {
    kIT0, kIE0,    kIT1,  kIE1, kTR0,   kTF0,  kTR1,  kTF1,  kRI,  kTI, kRB8,
    kTB8, kREN,    kSM2,  kSM1, kSM0,   kEX0,  kET0,  kEX1,  kET1, kES, kET2,
    kEA,  kCP_RL2, kC_T2, kTR2, kEXEN2, kTCLK, kRCLK, kEXF2, kTF2};
}  // namespace core

}  // namespace mcs51
