#pragma once
// The serial-timer settings of the 8051 family, as data, and how each one
// meets a crystal and a baud rate: the rounded reload, the rate it really
// gives, and how far that is from the one asked for. Numbers and ranks
// only: no arguments, no output formats. Every setting is one of the
// catalogue's records (catalogue.h), the classic ones included.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/reload.h"

namespace mcs51 {

struct BaudMode;
struct Unit;
struct Chip;

// One way to clock the UART in mode 1: baud = f / (K * (R - reload)).
// Timer 1: baud = 2^SMOD * f / (32 * C * (256 - TH1)), so K = 32 * C / 2^SMOD.
// Timer 2: baud = f / (K * (65536 - RCAP2)), K = 32 at 12 clocks, 16 at 6.
struct Setting {
  int timer;   // 1: Timer 1 in mode 2; 2: the 8052's Timer 2 baud generator;
               // a catalogue generator's timer (3 on Nuvoton's parts), or 0
               // for a dedicated generator that is no timer (BRT, SBAUD1, BG)
  int smod;    // PCON.SMOD (or the chip's own doubling bit), 0 or 1; -1 for
               // a generator it does not act on
  int clocks;  // oscillator clocks per count of the timer: 12, 6 or 1 here,
               // a prescaler's divisor in the catalogue (4, 16, 48, ...)
  calc::TimerProfile profile;
  const BaudMode* generator = nullptr;  // the unit's baud mode
  const Unit* unit = nullptr;
  const Chip* chip = nullptr;  // the family
  // Asked for by --chip: outputs name the family and the generator. The
  // default settings are the same records without it.
  bool by_chip = true;
  int choice = 0;  // the unit's clock choice this setting takes
};

inline constexpr std::array<double, 17> kStandardRates{
    110,   300,   600,   1200,  2400,   4800,   9600,   14400, 19200,
    28800, 38400, 57600, 76800, 115200, 230400, 460800, 921600};

// Crystals in MHz, as sold for UART work.
inline constexpr std::array<double, 28> kCrystals{
    1.8432,  2,      3.579545, 3.6864,  4,       4.9152, 6,
    7.3728,  8,      9.8304,   10,      11.0592, 12,     14.7456,
    16,      18.432, 20,       22.1184, 24,      25,     27,
    29.4912, 30,     32,       33,      33.1776, 36.864, 40};

inline constexpr double kDefaultTolerancePercent = 2.0;
inline constexpr double kClosePercent = 0.2;
// Below this an error is what double rounding leaves of an exact division.
inline constexpr double kExactPercent = 1e-9;

enum class Mark {
  kExact,       // no error beyond rounding noise
  kClose,       // within 0.2 % (and within the tolerance)
  kWithin,      // within the tolerance
  kBeyond,      // outside the tolerance
  kOutOfRange,  // no reload 0 ... R-1 gives the rate, or the arithmetic
                // overflowed
};

// The mark of a reachable rate's error.
//   MarkOf(0, 2)     -> kExact
//   MarkOf(-0.16, 2) -> kClose
//   MarkOf(0.16, 0.1) -> kBeyond
Mark MarkOf(double error_percent, double tolerance_percent);

// One setting's answer for one crystal and rate.
struct Outcome {
  const Setting* setting;
  bool fits;             // the rounded reload is 0 ... R-1
  int reload;            // TH1 or RCAP2H:RCAP2L; 0 when it does not fit
  double actual_baud;    // 0 when it does not fit
  double error_percent;  // signed, (actual - asked) / asked; 0 when it
                         // does not fit
  Mark mark;
  int step = -1;  // a fractional divider's STEP (0 ... 255), or the exponent
                  // of a mantissa-exponent generator; -1 without either
};

// The reload of `setting` rounded half to even, as the window rounds, and
// what it gives. Never throws: overflowing arithmetic is out of range.
//   Evaluate(Timer 1/SMOD 1/12, 11.0592, 19200, 2) -> {FD, 19200, 0, exact}
//   Evaluate(Timer 1/SMOD 0/12, 11.0592, 19200, 2) -> {FE, 14400, -25, beyond}
//   Evaluate(Timer 1/SMOD 0/12, 11.0592, 921600, 2) -> out of range
Outcome Evaluate(const Setting& setting, double frequency_mhz, double baud,
                 double tolerance_percent);

// --timer, --smod and --clock: each narrows the settings when given;
// `chip` picks a catalogue family's settings instead of the default ones
// ("all": every family's, in catalogue order), or one generator's ("stc15:t2").
struct Filter {
  std::optional<int> timer = std::nullopt;
  std::optional<int> smod = std::nullopt;
  std::optional<int> clocks = std::nullopt;
  std::string chip = {};
  // A timer's counting mode, for ticks only (TickMode::key): "1", "ar".
  std::optional<std::string> mode = std::nullopt;

  bool Matches(const Setting& setting) const;
};

// The settings without --chip: those families' settings with by_chip
// false, Timer 1 before Timer 2, SMOD 0 before 1.
//   DefaultSettings().size()        -> 8
//   DefaultSettings()[2].timer      -> 2 (the 8052's Timer 2 at 12 clocks)
//   DefaultSettings()[7].chip->name -> "1t"
std::span<const Setting> DefaultSettings();

// The clock modes of DefaultSettings, in the order they are listed.
inline constexpr std::array<int, 3> kClockModes{12, 6, 1};

// Every baud setting of `chip`, its units' baud modes in the family's
// order, each mode's clock choices in order, SMOD 0 before 1; nullptr:
// every family's, in catalogue order.
//   ChipSettings(FindChip("8052")).size() -> 3
const std::vector<Setting>& ChipSettings(const Chip* chip);

// The settings `filter` leaves, in tie order.
//   Matching({.smod = 1})   -> the three Timer 1 SMOD 1 settings
//   Matching({.clocks = 6}) -> Timer 1 SMOD 0, SMOD 1, Timer 2, at 6 clocks
//   Matching({.timer = 2, .clocks = 1}) -> none
//   Matching({.chip = "stc15", .timer = 2}) -> STC15 Timer 2 at 12T and 1T
std::vector<const Setting*> Matching(const Filter& filter);

// The one rule both views rank by: those that fit first, then those
// within the tolerance. Among those within it the default settings that
// need no more than the classic 12-clock core come first (a setting every
// 8051 has beats one that needs an X2 or single-cycle part), then hardware
// reload before software, then fewer interrupts per period, then the
// smaller error; beyond it the smaller error, then hardware reload, then
// fewer interrupts. Errors below kExactPercent count as none, so rounding
// noise never reorders exact answers.
//   {fits, within, classic, 0.16 %} before {fits, within, 1T, 0 %}
//   {fits, within, hardware, 4 interrupts, 0.1 %}
//       before {fits, within, software, 1 interrupt, 0 %}
//   {fits, beyond, 3 %} before {fits, beyond, 5 %}
struct RankKey {
  bool fits;
  bool beyond;       // outside the tolerance
  bool later_core;   // a default setting that needs more than the 8051's
  bool software;     // reloaded by software
  int interrupts;    // per period; 1 for a baud rate
  double magnitude;  // the error's, without rounding noise (ErrorMagnitude)
};
bool RanksBefore(const RankKey& a, const RankKey& b);

// An error's magnitude as ranking compares it: below kExactPercent, none.
//   ErrorMagnitude(-0.16) -> 0.16;  ErrorMagnitude(1e-12) -> 0
double ErrorMagnitude(double error_percent);

// A baud outcome's place under that rule.
RankKey KeyOf(const Outcome& outcome);

// Every setting of `settings` for one crystal and rate, best first by
// RankKey, ties in the order given.
std::vector<Outcome> Rank(std::span<const Setting* const> settings,
                          double frequency_mhz, double baud,
                          double tolerance_percent);

// The first best of `outcomes` as Rank orders them, without evaluating
// them again; `outcomes` is not empty.
//   Best(Evaluate of each setting at 11.0592, 19200) -> Timer 1, SMOD 1, 12
Outcome Best(std::span<const Outcome> outcomes);

// How one crystal serves every requested rate in one clock mode.
struct CrystalScore {
  double frequency_mhz;
  std::vector<Outcome> best;   // each rate's best setting, in request order
  bool reachable;              // every rate's best setting fits
  double worst_error_percent;  // the signed error of largest magnitude
  Mark mark;                   // of the worst error; kOutOfRange if any
                               // rate is out of reach
};

struct ClockModeRanking {
  int clocks;                          // 0 for a chip's ranking
  std::vector<CrystalScore> crystals;  // best first
  const Chip* chip = nullptr;          // with a chip in the filter
};

// For each clock mode that `filter` leaves (with a chip: for each family,
// whose clock modes are its own choices), every crystal of kCrystals, and a
// chip's nominal internal frequencies, ranked by its worst error over
// `rates` (the lowest first; crystals that cannot reach a rate last; ties
// by frequency).
//   RankCrystals({9600}, {}, 2)[0].crystals[0].frequency_mhz -> 1.8432
//   RankCrystals({115200}, {.chip = "efm8"}, 2)[0].crystals has 24.5 MHz
std::vector<ClockModeRanking> RankCrystals(std::span<const double> rates,
                                           const Filter& filter,
                                           double tolerance_percent);

}  // namespace mcs51
