#pragma once
// Inside the library: the findings that look at more than one setting, at
// the handlers the code has, or at its comments, for explain.cpp.

#include "mcs51/explain/explain.h"
#include "mcs51/explain/explain_state.h"

namespace mcs51::explain {

// A timer set up as a baud generator (running, its interrupt off, a
// reload near a standard rate) while its port stays in mode 0, written
// or not; or a timer in an auto-reload mode for a port whose generators
// it is none of.
void UartNotSetUp(const Family& family, const RegisterState& state,
                  double frequency_mhz, double tolerance_percent,
                  Explanation& out);

// A timer whose mode does not reload, its interrupt on, with no handler
// for it in the code.
void NoHandler(const RegisterState& state, const CodeReading& reading,
               Explanation& out);

// A comment on a reload's line, or just above it, that names a rate or a
// period the values do not give within the tolerance, at the crystal the
// comment names or else at the one given.
//   "TH1 = 0xFD; // 9600 baud"            at 11.0592 MHz -> none
//   "TH1 = 0xFF; // 115200bps@11.0592MHz" at 11.0592 MHz -> 57600 baud
//   "TH0 = 0xFC; // 1 ms"                 with TL0 0x18 at 12 MHz -> none
void CommentSays(const RegisterState& state, const CodeReading& reading,
                 double frequency_mhz, double tolerance_percent,
                 Explanation& out);

// The code's clock constants (a #define, or the build's -D) and the
// comments beside a reload that name a crystal other than FREQ.
//   "#define FOSC 12000000L" at 11.0592 MHz -> FOSC is 12 MHz
//   "TH1 = 0xFD; // 9600 @ 11.0592MHz" at 11.0592 MHz -> none
void CrystalDiffers(const RegisterState& state, const CodeReading& reading,
                    double frequency_mhz, Explanation& out);

// What a comment says in numbers: rates ("9600", "9600bps", "115200
// baud", "9600波特"), crystals ("11.0592MHz", "12M") and periods ("1ms",
// "250 us", "10毫秒"); a number in a name or in hex is none.
//   "115200bps@11.0592MHz" -> {kBaud 115200}, {kMhz 11.0592}
//   "T1 mode 2, 0xFD"      -> {}
struct Stated {
  enum class Unit { kBaud, kMhz, kSeconds } unit;
  double value;
};
std::vector<Stated> NumbersStated(std::string_view comment);

}  // namespace mcs51::explain
