#pragma once
// The hardware model of the 8051 families, as data. Each physical timer or
// baud generator of a family is one Unit: its clock choices and the bits
// that select them, its interrupt, run bit and flag, and its modes. A baud
// setting (ranking.h) and a tick setting (ticks.h) are two views of a unit:
// one of its BaudModes or TickModes at one clock choice. A family (Chip)
// lists its units, its registers at their addresses and its sources; the
// files of mcs51/hardware/families/ hold the records, the catalogue lists them.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "mcs51/hardware/cores.h"
#include "mcs51/hardware/fields.h"
#include "mcs51/hardware/kinds.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// Where a register lives: the SFR space, or external data memory.
enum class MemorySpace : std::uint8_t { kSfr, kXdata };

// A register outside the compilers' base 8052 headers, at its maker's
// address: {"AUXR", 0x8E}.
struct Register {
  std::string_view name;
  std::uint16_t address;
  MemorySpace space = MemorySpace::kSfr;
};

// What a register write takes its bits from.
enum class Source : std::uint8_t { kFixed, kReloadHigh, kReloadLow, kStep };

// One statement of an init function, in order. Its value is `value`, with
// the reload byte (or STEP) for a reload write, the clock choice's bits for
// a write that takes them, and `smod_bits` when SMOD is 1. A write of fewer
// than all bits keeps the others: REG = (REG & ~mask) | value. Written with
// designated initialisers:
//   {.reg = "TH1", .source = Source::kReloadLow}   -> "TH1 = 0xFD;"
//   {.reg = "TCON", .mask = 0x40, .value = 0x40, .bit = "TR1"}
//                                                  -> "TR1 = 1;"
struct Write {
  std::string_view reg;
  std::uint8_t mask = 0xFF;
  std::uint8_t value = 0;
  Source source = Source::kFixed;
  int choice_slot = -1;  // which of the clock choice's two bit sets, if any
  std::uint8_t smod_bits = 0;
  std::string_view bit = {};  // a bit name to set instead: "TR1 = 1;"
  Words comment = {};
  // C's comment at SMOD 0 and 1 where the value is worth spelling out
  // ("SMOD = 1 doubles the rate"); the assembly keeps `comment`.
  std::array<Words, 2> c_comment_by_smod = {};
};

// The writes of a field: set by its bit's name ("TR1 = 1;"), cleared so
// (TF2 = 0), or all its bits set where the register is not bit-addressable
// (EIE1 |= 0x02), the field named in the comment or not at all.
constexpr Write SetBit(const Field& f) {
  return {.reg = f.reg, .mask = f.mask, .value = f.mask, .bit = f.name};
}
constexpr Write ClearBit(const Field& f) {
  return {.reg = f.reg, .mask = f.mask, .value = 0, .bit = f.name};
}
constexpr Write SetBits(const Field& f) {
  return {.reg = f.reg, .mask = f.mask, .value = f.mask, .comment = {f.name}};
}
constexpr Write SetMask(const Field& f) {
  return {.reg = f.reg, .mask = f.mask, .value = f.mask};
}

// `w` worded for another view: the same bits, another comment.
constexpr Write Commented(Write w, Words comment) {
  w.comment = comment;
  return w;
}

// Whether `w` writes exactly field `f`.
constexpr bool WritesField(const Write& w, const Field& f) {
  return w.reg == f.reg && w.mask == f.mask;
}

// One clock choice of a unit: oscillator clocks per count, and the bits
// that select it in the writes that take them (Write::choice_slot 0, 1).
//   {12}: the classic divide-by-12, nothing to select
//   {1, {0x40}}: STC's T1x12 set
struct Clock {
  int clocks;
  std::array<std::uint8_t, 2> bits = {};
};

// The baud view of a unit: the UART in mode 1 clocked by it. For the
// unit's first k.size() clock choices, baud = f * 2^SMOD / (k * divisor),
// k being the UART's own divider times the clocks per count:
//   the 8051's Timer 1 in mode 2: k {384} (32 x 12), divisor 256 - TH1
//   the 8052's Timer 2: k {32}: it counts at f/2, the UART divides by 16
struct BaudMode {
  std::string_view key;  // in column labels: stc15:t2/1T
  Words text;            // "UART1 on Timer 2, 16-bit auto-reload"
  double modulus;        // R: 64, 256, 1024 or 65536
  const Kind* kind;      // how the register value gives the rate
  bool smod;  // whether SMOD (or the chip's own doubling bit) applies
  std::span<const double> k;
  std::span<const Write> writes;  // uart_init()'s statements
  int offset = 0;  // kinds::kOffset's: the divisor of register value 0
  // What the code's comment calls `step`: "STEP", "BAUD_E".
  std::string_view step_name = "STEP";
  // The UART's receiver enable, in the port's control register.
  Field receiver = core::kREN;
};

// Who loads the count again after an overflow.
enum class Reload : std::uint8_t {
  kHardware,  // an auto-reload mode: the timer copies its reload register
  kSoftware,  // the handler adds the reload to the running count
  kNone,      // counts on from 0 after an overflow: known to reading code
              // back, offered by no tick setting
};

// The tick view of a unit: one counting mode. Its writes are tick_init()'s
// statements in order, with the reload split into its low register's
// `low_bits` and the rest (mode 0 keeps 5 bits in TL0):
//   {.key = "1", .modulus = 65536, .reload = Reload::kSoftware, ...}
//   {.key = "2", .modulus = 256, .reload = Reload::kHardware, ...}
// A modulo counter (counting kinds::kDivisorMinusOne) counts 0 ... its register
// and starts again: the register holds the count less one, and R is the
// most counts it takes.
struct TickMode {
  std::string_view key;  // as --mode takes it: "0", "1", "2", "ar"
  Words text;            // "mode 1, 16-bit, reloaded by software"
  double modulus;        // 8192, 65536 or 256 counts to an overflow
  Reload reload;
  std::span<const Write> writes;
  int low_bits = 8;
  int choices = 0;  // the unit's first N clock choices; 0: all of them
  // kinds::kUp or kinds::kDivisorMinusOne
  const Kind* counting = &kinds::kUp;
};

// One physical timer or baud generator. Software reload is recorded only
// where the timer counts the core's machine cycles, so that the cycles the
// handler stops it for are whole counts.
struct Unit {
  std::string_view key;  // in tick labels and --chip NAME:KEY: "t0"
  int number;  // as --timer takes it: 0 for Timer 0, and for a generator
               // that is no timer (BRT, SBAUD1, BG), which has no ticks
  std::span<const Clock> clocks;
  std::span<const BaudMode> bauds = {};
  std::span<const TickMode> ticks = {};
  int vector = 0;  // the interrupt number: 1 for Timer 0
  Write run = {};  // the run bit, which a software reload clears and sets
  std::string_view count_high = {};  // the running count a software
  std::string_view count_low = {};   // reload adds to
  Write flag = {};      // the flag the handler clears; none (reg empty) where
                        // entering the handler clears it
  Field overflow = {};  // where `flag` is none, the flag an overflow sets,
                        // which a delay polls; none where code cannot read it
  Field enable = {};    // its interrupt's enable, which its tick modes set
  Field mode = {};      // the field its tick modes write their mode in
};

// Which views of a unit a family offers.
enum class View : std::uint8_t { kBoth, kBaud, kTick };

// A unit as a family lists it: the list's order is each view's order.
struct Fitted {
  const Unit* unit;
  View view = View::kBoth;
};

// What stands behind a family's rows in the tests: the strongest source
// for its arithmetic and registers.
enum class Evidence : std::uint8_t {
  kPrintedTable,   // a maker's printed table of rates and reloads
  kMakersExample,  // a maker's example code or worked figure
  kFormulaOnly,    // the maker's formula only: no printed table
};

// What a family's timer records rest on where it differs from its baud
// records': the documents and the strongest of them, what FREQ is, and the
// lines the tick code explains it with.
//   {"TI's CC253x/4x User's Guide ...", kMakersExample, "the timer tick"}
struct TimerSources {
  std::string_view document;
  Evidence evidence;
  std::string_view clock;
  Words note;  // in lines ('\n') in each tongue
};

// A maker's header as code includes it, for reading code back: the macros
// it defines that write the family's registers or name their bits, each
// body in C with the header's own names for the family's registers.
//   {"set_SMOD", "PCON |= 0x80"}           an object-like macro
//   {"S1_8bit()", "SCON = (SCON & 0x3F) | 0x40"}  function-like, no
//                                          arguments
//   {"bT1_M1", "0x20"}                     a bit mask
//   {"TCON_TR1", "TR1"}                    a bit by the family's name
struct HeaderMacro {
  std::string_view name, body;
};
// set_NAME and clr_NAME, as Nuvoton's headers pair them.
//   {"SMOD", "PCON |= 0x80", "PCON &= 0x7F"}
struct HeaderPair {
  std::string_view name, set, clear;
};
using HeaderMacros = std::span<const HeaderMacro>;
using HeaderPairs = std::span<const HeaderPair>;
struct Header {
  std::span<const std::string_view> files;  // matched without case
  std::string_view document;  // the header's name, version and source
  std::span<const HeaderMacros> macros = {};  // sets a header shares
  std::span<const HeaderPairs> pairs = {};
};

struct Chip {
  std::string_view name;  // as --chip takes it
  // "STC15 (STC15F2K60S2 ...)", in Chinese where it has words beyond the
  // makers' part names, which read the same in both tongues.
  Words family;
  std::string_view document;  // the documents whose registers it writes
  Evidence evidence;
  std::span<const Fitted> units;
  std::span<const Register> registers = {};   // beyond the 8052's
  std::span<const double> internal_mhz = {};  // nominal internal oscillators
  // The 8051's own timers, whose code reads as the settings without --chip
  // do: per machine cycle, with no family or document named.
  bool classic = false;
  // Lines ('\n') the code explains the family's extra register with.
  Words note = {};
  // Other names --chip takes for the same family: "at89c51rb2".
  std::span<const std::string_view> aliases = {};
  // What FREQ is where the generator's clock is not the crystal: "the
  // system clock CLKCONCMD selects (32 MHz crystal, 16 MHz RC)".
  std::string_view clock = {};
  // The cores its parts run: the first its own, the rest what --clock
  // picks instead (the AT89C51RD2's X1 and X2).
  std::span<const Core* const> cores = {};
  // Its timers' own, where they are not the above (catalogue.h's
  // TimerDocument, TimerClock, TimerNote read it).
  const TimerSources* timer_sources = nullptr;
  // The makers' headers whose #include names the family.
  std::span<const Header> headers = {};
  // What its parts have that the records leave out, and why: "UART230
  // ...: no document found gives ...".
  std::string_view not_modelled = {};
};

}  // namespace mcs51
