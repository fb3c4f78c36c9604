#pragma once
// A built image run from reset on SDCC's simulator, s51 (Debian's
// sdcc-ucsim), driven through its console: every write the program makes
// to the registers watched, and every entry of the code addresses timed,
// each with the oscillator clocks since reset. Nothing here knows a
// family: what to watch is the caller's.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mcs51 {

enum class SimFault : std::uint8_t {
  kNone,
  kMissing,    // the program is not installed, or not where it was named
  kEnded,      // it ended, or said what its console should not
  kWallClock,  // it took longer than the guard: stopped
};

// A handler's entry, timed once its interrupt's enable bit is set.
struct SimTimed {
  int address = 0;  // the vector: 0x000B
  int enable = 0;   // the SFR of its enable: IE, 0xA8
  int mask = 0;     // the enable's bit and the enable of all: 0x82
};

struct SimAsk {
  std::string program = "s51";  // a name on PATH, or a path
  std::string type = "8052";    // s51's -t
  double frequency_mhz = 12.0;
  double sim_time_s = 1.0;  // simulated time from reset
  double wall_s = 10.0;     // the guard on the host's time
  std::vector<int> bytes;   // SFR addresses whose writes are watched
  std::vector<int> bits;    // bit addresses whose writes are watched
  std::vector<int> counts;  // of `bytes`, those a running timer counts in
  std::vector<SimTimed> timed;
};

struct SimWrite {
  std::int64_t clock = 0;  // oscillator clocks since reset
  int pc = 0;              // the writing instruction's address
  int address = 0;         // the SFR, or the bit
  bool bit = false;
  int value = 0;            // the byte as written, or the bit 0 or 1
  bool known = true;        // false: a count written from what s51 does not say
  int vector = -1;          // the interrupt whose handler wrote it, else -1
  std::string instruction;  // as s51 disassembles it: "MOV 0x8a,#0x66"
};

struct SimEntry {
  int address = 0;
  std::int64_t clock = 0;
};

struct SimRun {
  SimFault fault = SimFault::kNone;
  std::string detail;  // what the program said, for a fault
  std::vector<SimWrite> writes;
  std::vector<SimEntry> entries;
  std::int64_t clocks = 0;  // simulated in all
  std::string stopped;      // a stop that was not asked for: "Invalid ..."
  bool settled = false;     // it jumped to itself with no interrupt on
  int pc = 0;               // where the program was at the end
};

// Runs `image` (an Intel HEX file) as `ask` says. Each watched write
// stops the run; once one instruction has written a register four times
// (a loop, a handler), that register is no longer watched. A timed
// address is timed for its first 12 entries after its enable is seen.
// A program that jumps to itself with no interrupt enabled has settled:
// the run ends there.
//   Simulate("tick.ihx", {.timed = {0x0B}, ...}).entries
//       -> {0x0B, 20832}, {0x0B, 32100}, ... (SDCC's handler, 11.0592 MHz)
//   Simulate("x.ihx", {.program = "/no/s51"}).fault -> kMissing
SimRun Simulate(const std::string& image, const SimAsk& ask);

// What one reply of s51's console says of a stop.
struct SimStop {
  int reason = -1;          // s51's number: 104 breakpoint, 109 stepped,
                            // 112 event
  int pc = 0;               // where it stopped
  std::string space;        // an event's: "sfr", "bits"
  int address = -1;         // an event's
  int writer = -1;          // an event's instruction's address
  std::string instruction;  // an event's, disassembled
  std::string text;         // the reason's words
};
//   ReadStop("Stop at 0x0000a5: (112) Event break\nEvent `write' at "
//            "sfr[0x8a]: 0xa2 0x00a2    75 8a 66 MOV    0x8a <TL0>,#0x66\n"
//            "F 0x0000a5")
//       -> {112, 0xA5, "sfr", 0x8A, 0xA2, "MOV    0x8a <TL0>,#0x66"}
SimStop ReadStop(std::string_view reply);

// The value "get sfr A" gives, or -1.
//   ReadSfr("0x8a TL0:   0b01100110 0x66 'f' 102") -> 0x66
int ReadSfr(std::string_view reply);

// Each address and value "get sfr A B ..." gives, a line each, named by
// s51's type or not.
//   ReadSfrs("0x98 SCON: 0b01010000 0x50 'P' 80\n0xc4      28 (")
//       -> {0x98: 0x50, 0xC4: 0x28}
std::map<int, int> ReadSfrs(std::string_view reply);

// The handler under way, innermost, from "info hardware irq": its
// address, or -1.
int ActiveHandler(std::string_view reply);

// A MOV's immediate source: the byte written, or -1.
//   ImmediateOf("MOV    0x8a <TL0>,#0x66") -> 0x66
//   ImmediateOf("MOV    0x8a <TL0>,A") -> -1
int ImmediateOf(std::string_view instruction);

}  // namespace mcs51
