#pragma once
// The makers' baud-rate generators, as data: a record per generator, the
// families that have it, and the registers its init code writes. Families
// that divide alike share one Arithmetic; every setting is one generator
// with one clock choice and one SMOD value, expanded from these records.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "timers/ranking.h"

namespace timers {

// How the register value follows from the divisor the rate asks for.
enum class Counting : std::uint8_t {
  kUp,                // a timer counting up to R: reload = R - divisor
  kDivisorMinusOne,   // a down-counter: register = divisor - 1 (XC886's BG)
  kFractional,        // the same behind a fractional divider whose STEP is
                      // searched: baud = f * STEP / 256 / (K * divisor)
  kOffset,            // register = divisor - offset, 0 ... R - 1 (LPC900's
                      // BRGR = f/baud - 16; ADuC84x's T3FD + 64)
  kMantissaExponent,  // baud = f * (256 + M) * 2^E / 2^28, M 0 ... 255 in
                      // the reload, E in `step` (CC2530's BAUD_M, BAUD_E)
};

// One clock choice: baud = f * 2^SMOD / (k * divisor), k = the UART's own
// divider (32 classic, 16, 4 or 2) times the clocks per count.
struct ClockChoice {
  int clocks;
  double k;
};

struct Arithmetic {
  double modulus;  // R: 256, 1024 or 65536
  Counting counting;
  bool smod;  // whether SMOD (or the chip's own doubling bit) applies
  std::span<const ClockChoice> choices;
  int offset = 0;  // kOffset's: the divisor of register value 0
  // What the code's comment calls `step`: "STEP", "BAUD_E".
  std::string_view step_name = "STEP";
};

// What a register write takes its bits from.
enum class Source : std::uint8_t { kFixed, kReloadHigh, kReloadLow, kStep };

// One statement of uart_init(), in order. Its value is `value`, with the
// reload byte (or STEP) for a reload write, the clock choice's bits for a
// write that takes them, and `smod_bits` when SMOD is 1. A write of fewer
// than all bits keeps the others: REG = (REG & ~mask) | value. Written
// with designated initialisers:
//   {.reg = "TH1", .source = Source::kReloadLow}   -> "TH1 = 0xFD;"
//   {.reg = "TCON", .mask = 0x40, .value = 0x40, .bit = "TR1"}
//                                                  -> "TR1 = 1;"
struct Write {
  std::string_view reg;
  std::uint8_t mask = 0xFF;
  std::uint8_t value = 0;
  Source source = Source::kFixed;
  int choice_slot = -1;  // which of the choice's two bit sets, if any
  std::uint8_t smod_bits = 0;
  std::string_view bit = {};  // a bit name to set instead: "TR1 = 1;"
  std::string_view comment = {};
  // C's comment at SMOD 0 and 1 where the value is worth spelling out
  // ("SMOD = 1 doubles the rate"); the assembly keeps `comment`.
  std::array<std::string_view, 2> c_comment_by_smod = {};
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

// ---- General-purpose timers: a tick every period ----

// Who loads the count again after an overflow.
enum class Reload : std::uint8_t {
  kHardware,  // an auto-reload mode: the timer copies its reload register
  kSoftware,  // the handler adds the reload to the running count
};

// One counting mode of a timer. Its writes are tick_init()'s statements in
// order, with the reload split into its low register's `low_bits` and the
// rest (mode 0 keeps 5 bits in TL0):
//   {.key = "1", .modulus = 65536, .reload = Reload::kSoftware, ...}
//   {.key = "2", .modulus = 256, .reload = Reload::kHardware, ...}
struct TickMode {
  std::string_view key;   // as --mode takes it: "0", "1", "2", "ar"
  std::string_view text;  // "mode 1, 16-bit, reloaded by software"
  double modulus;         // 8192, 65536 or 256 counts to an overflow
  Reload reload;
  std::span<const Write> writes;
  int low_bits = 8;
};

// A general-purpose timer. Software reload is recorded only where the
// timer counts the core's machine cycles, so that the cycles the handler
// stops it for are whole counts.
struct TickTimer {
  std::string_view key;  // in labels: 8052:t0/1/12
  int number;            // as --timer takes it: 0 for Timer 0
  int vector;            // the interrupt number: 1 for Timer 0
  std::span<const TickMode> modes;
  std::span<const int> clocks;                // clocks per count, each choice
  std::span<const std::uint8_t> choice_bits;  // two bytes per clock choice
  Write run;  // the run bit, which a software reload clears and sets
  std::string_view count_high = {};  // the running count a software
  std::string_view count_low = {};   // reload adds to
  Write flag = {};  // the flag the handler clears; none (reg empty) where
                    // entering the handler clears it
};

// What stands behind a family's rows in the tests: the strongest source
// found for its arithmetic and registers.
enum class Evidence : std::uint8_t {
  kPrintedTable,   // a maker's printed table of rates and reloads
  kMakersExample,  // a maker's example code or worked figure
  kFormulaOnly,    // the maker's formula only: no printed table was found
};

struct Chip {
  std::string_view name;      // as --chip takes it
  std::string_view family;    // "STC15 (STC15F2K60S2 ...)"
  std::string_view document;  // the documents whose registers it writes
  Evidence evidence;
  std::span<const Generator* const> generators;
  std::span<const Sfr> sfrs = {};  // declared where its code uses them
  std::span<const double> internal_mhz = {};  // nominal internal oscillators
  // The 8051's own timers, whose code reads as the settings without --chip
  // do: per machine cycle, with no family or document named.
  bool core = false;
  // Lines the code explains the family's extra register with.
  std::span<const std::string_view> note = {};
  // Other names --chip takes for the same family: "at89c51rb2".
  std::span<const std::string_view> aliases = {};
  // What FREQ is where the generator's clock is not the crystal: "the
  // system clock CLKCONCMD selects (32 MHz crystal, 16 MHz RC)".
  std::string_view clock = {};
  std::span<const TickTimer* const> timers = {};  // general-purpose timers
};

// Every family, in catalogue order (the classic core's records first).
//   Chips().front().name -> "8051"
std::span<const Chip> Chips();

// The settings without --chip, in tie order: the 8052's, then the X2
// parts', then the single-cycle parts' (the records of 8052, x2 and 1t).
// The clock mode comes first because it is the chip, not a choice: a
// setting every classic 8051 has beats an equally good one that needs an
// X2 or single-cycle part. Then Timer 1 before Timer 2, SMOD 0 before 1.
// They are those families' settings with by_chip false.
//   DefaultSettings().size()        -> 8
//   DefaultSettings()[2].timer      -> 2 (the 8052's Timer 2 at 12 clocks)
//   DefaultSettings()[7].chip->name -> "1t"
std::span<const Setting> DefaultSettings();

// The clock modes of DefaultSettings, in the order they are listed.
inline constexpr std::array<int, 3> kClockModes{12, 6, 1};

// The family called `name`, by its name or one of its aliases, or nullptr.
//   FindChip("ch552")->family -> "WCH CH552, CH554"
//   FindChip("cc2541")->name  -> "cc2530"
//   FindChip("z80")           -> nullptr
const Chip* FindChip(std::string_view name);

// Every setting of `chip`, each generator's choices in order, SMOD 0 before
// 1; nullptr: every family's, in catalogue order.
//   ChipSettings(FindChip("8052")).size() -> 3
const std::vector<Setting>& ChipSettings(const Chip* chip);

}  // namespace timers
