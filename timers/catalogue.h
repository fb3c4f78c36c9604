#pragma once
// The makers' baud-rate generators, as data: a record per generator, the
// families that have it, and the registers its init code writes. Families
// that divide alike share one Arithmetic; every setting is one generator
// with one clock choice and one SMOD value, expanded from these records.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "timers/ranking.h"

namespace timers {

// How the register value follows from the divisor the rate asks for.
enum class Counting : std::uint8_t {
  kUp,               // a timer counting up to R: reload = R - divisor
  kDivisorMinusOne,  // a down-counter: register = divisor - 1 (XC886's BG)
  kFractional,       // the same behind a fractional divider whose STEP is
                     // searched: baud = f * STEP / 256 / (K * divisor)
};

// One clock choice: baud = f * 2^SMOD / (k * divisor), k = the UART's own
// divider (32 classic, 16, 4 or 2) times the clocks per count.
struct ClockChoice {
  int clocks;
  double k;
};

struct Arithmetic {
  double modulus;  // R: 256 or 65536
  Counting counting;
  bool smod;  // whether SMOD (or the chip's own doubling bit) applies
  std::span<const ClockChoice> choices;
};

// What a register write takes its bits from.
enum class Source : std::uint8_t { kFixed, kReloadHigh, kReloadLow, kStep };

// One statement of uart_init(), in order. Its value is `value`, with the
// reload byte (or STEP) for a reload write, the clock choice's bits for a
// write that takes them, and `smod_bits` when SMOD is 1. A write of fewer
// than all bits keeps the others: REG = (REG & ~mask) | value.
struct Write {
  std::string_view reg;
  std::uint8_t mask = 0xFF;
  std::uint8_t value = 0;
  Source source = Source::kFixed;
  int choice_slot = -1;  // which of the choice's two bit sets, if any
  std::uint8_t smod_bits = 0;
  std::string_view bit = {};  // a bit name to set instead: "TR1 = 1;"
  std::string_view comment = {};
};

// A register the compilers' base headers lack, declared by the code.
struct Sfr {
  std::string_view name;
  std::uint8_t address;
};

struct Generator {
  std::string_view key;   // in column labels: stc15:t2/1T
  std::string_view text;  // "UART1 on Timer 2, 16-bit auto-reload"
  int timer;              // as Setting::timer
  const Arithmetic* arithmetic;
  std::span<const std::uint8_t> choice_bits;  // two bytes per clock choice
  std::span<const Write> writes;
};

struct Chip {
  std::string_view name;      // as --chip takes it
  std::string_view family;    // "STC15 (STC15F2K60S2 ...)"
  std::string_view document;  // the manual every generator is checked against
  std::span<const Generator* const> generators;
  std::span<const Sfr> sfrs;             // declared where its code uses them
  std::span<const double> internal_mhz;  // nominal internal oscillators
};

// Every family, in catalogue order (today's records first).
//   Chips().front().name -> "8051"
std::span<const Chip> Chips();

// The family called `name`, or nullptr.
//   FindChip("ch552")->family -> "WCH CH552, CH554"
//   FindChip("z80")           -> nullptr
const Chip* FindChip(std::string_view name);

// Every setting of `chip`, each generator's choices in order, SMOD 0 before
// 1; nullptr: every family's, in catalogue order.
//   ChipSettings(FindChip("8052")).size() -> 3
const std::vector<Setting>& ChipSettings(const Chip* chip);

}  // namespace timers
