#pragma once
// Every answer as data: per answer one list of columns, per mark one row.
// The front ends render these (text, CSV, JSON, Markdown, the page) and
// word nothing of their own; a header, a key or a mark's word is written
// here once, in Chinese and in English.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "calc/reading.h"
#include "mcs51/delays/delay.h"
#include "mcs51/delays/delay_code.h"
#include "mcs51/explain/explain.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/ticks.h"
#include "mcs51/words/words.h"

namespace mcs51 {

// ---- The enums' rows ----

// A mark: its key (CSV, JSON, the page's classes), the sign after a reload
// in the wide tables, its terminal colour (an SGR number) and its words,
// "{}" standing for the percent it is judged by.
struct MarkRow {
  Mark mark;
  std::string_view key, sign, color;
  Words words;
};

//   RowOf(Mark::kOutOfRange).key -> "out-of-range";  .sign -> "--"
//   RowOf(Mark::kClose).words.en -> "within {} %"
const MarkRow& RowOf(Mark mark);

// The mark as a stable key, as CSV, JSON and the page give it: its row's.
//   MarkKey(Mark::kExact)      -> "exact"
//   MarkKey(Mark::kOutOfRange) -> "out-of-range"
std::string_view MarkKey(Mark mark);
std::span<const MarkRow> MarkRows();

// The mark's words with the percent filled in: kClosePercent for kClose,
// the tolerance for kWithin and kBeyond.
//   MarkWords(Mark::kClose, 2, kEnglish)  -> "within 0.2 %"
//   MarkWords(Mark::kBeyond, 1.5, kEnglish) -> "beyond 1.5 %"
//   MarkWords(Mark::kWithin, 2, kChinese) -> "2 % 以内"
std::string MarkWords(Mark mark, double tolerance_percent, Tongue tongue);

// The wide tables' signs, each with its words, from the rows.
//   MarkSigns(2, kEnglish) -> "= exact, ~ within 0.2 %, + within 2 %,
//                              ! beyond 2 %, -- out of range"
//   LinkSigns(kEnglish)    -> "* works, ? marginal, x fails"
//   LinkSigns(kChinese)    -> "* 可用, ? 勉强, x 不通"
std::string MarkSigns(double tolerance_percent, Tongue tongue);
std::string LinkSigns(Tongue tongue);

// A link's mark, as a mark's.
//   RowOf(LinkMark::kMarginal).sign -> "?";  .words.zh -> "勉强"
struct LinkRow {
  LinkMark mark;
  std::string_view key, sign, color;
  Words words;
};
const LinkRow& RowOf(LinkMark mark);

// The link's mark as a stable key: "works", "marginal", "fails".
std::string_view LinkKey(LinkMark mark);
std::span<const LinkRow> LinkRows();

// Why a number could not be read.
//   RowOf(calc::ReadProblem::kNegative).words.en -> "must not be negative"
struct ProblemRow {
  calc::ReadProblem problem;
  std::string_view key;
  Words words;
};
const ProblemRow& RowOf(calc::ReadProblem problem);

// ---- The answers' columns ----

enum class Align : std::uint8_t { kLeft, kRight };

// How JSON writes a machine value (CSV writes it as it is): kObject reads
// "NAME=value;..." pairs into an object of whole numbers.
enum class JsonType : std::uint8_t { kInteger, kNumber, kText, kBool, kObject };

// How people read a value: as it is; a number with two decimals; a
// signed percent (PercentText); a percent with two decimals; a period
// (PeriodText); a mark's key as the mark's words.
enum class Shown : std::uint8_t {
  kAsIs,
  kFixed,
  kSignedPercent,
  kPercent,
  kPeriod,
  kMark,
};

// When a column is shown: always, with --chip, or with --peer.
enum class Part : std::uint8_t { kAlways, kChip, kPeer };

// A cell's one value, as machines take it: nothing is empty or null.
using Value = std::optional<std::string>;

// One column of an answer, named by its key, with one cell function. A
// column with a header is shown to people (text, Markdown, the page), its
// value as `shown` words it, `none` for nothing; one `for_machines` is
// given to machines (CSV, JSON) under its key. "reload_hex" is people's
// "reload": "FD", where machines also get "reload", 253.
template <typename Row>
struct Column {
  std::string_view key;
  Words header = {};
  Value (*cell)(const Row& row);
  JsonType type = JsonType::kText;
  Shown shown = Shown::kAsIs;
  Align align = Align::kRight;
  Part part = Part::kAlways;
  bool for_machines = true;
  std::string_view none = "--";  // people's text for no value
};

// A value's number read back from its shortest text.
//   NumberOf("11.0592") -> 11.0592;  NumberOf("-25") -> -25
double NumberOf(const std::string& text);

// People's text of a value: `shown` applied, `none` for nothing;
// `tolerance_percent` is the one a mark is judged by.
//   ShownText(kSignedPercent, "0.16276", "--", 2) -> "+0.16 %"
//   ShownText(kMark, "within", "--", 1.5)          -> "within 1.5 %"
//   ShownText(kFixed, nothing, "--", 2)            -> "--"
std::string ShownText(Shown shown, const Value& value, std::string_view none,
                      double tolerance_percent);

// A column's cell for people: its value as the column shows it.
//   PeopleText(reload_hex, T1/1/12 at 11.0592 19200) -> "FD"
//   PeopleText(timer, a generator that is no timer)   -> "-"
template <typename Row>
std::string PeopleText(const Column<Row>& column, const Row& row) {
  double tolerance = kDefaultTolerancePercent;
  if constexpr (requires { row.tolerance_percent; }) {
    tolerance = row.tolerance_percent;
  }
  return ShownText(column.shown, column.cell(row), column.none, tolerance);
}

// The people's cell of the column `key` names; "" where the answer has no
// such column.
//   CellText(SettingColumns(), "reload_hex", T1/1/12 at 11.0592 19200)
//       -> "FD"
//   CellText(SettingColumns(), "peer_actual_baud", a link) -> "9615.38"
template <typename Row>
std::string CellText(std::span<const Column<Row>> columns, std::string_view key,
                     const Row& row) {
  for (const Column<Row>& column : columns) {
    if (column.key == key) return PeopleText(column, row);
  }
  return {};
}

// One setting of FREQ BAUD, a table or a crystal, with its link to the
// peer named (`link` null without one).
struct SettingRow {
  const Outcome& outcome;
  const Link* link = nullptr;
  double tolerance_percent = kDefaultTolerancePercent;
  std::string_view peer = {};
};

// FREQ BAUD's columns, people's: [setting] timer SMOD clocks reload
// "actual baud" error mark [mismatch margin link]; machines': timer, smod,
// clocks, reload, reload_hex, fits, actual_baud, error_percent, mark,
// [chip, generator, registers], [peer, peer_actual_baud,
// mismatch_percent, margin_percent, link].
//   SettingColumns()[1].header.en -> "timer"
std::span<const Column<SettingRow>> SettingColumns();

// One tick setting.
struct TickRow {
  const TickOutcome& outcome;
  double tolerance_percent = kDefaultTolerancePercent;
};

// tick's columns: [setting] timer mode clocks reload interrupts "actual
// period" error mark; machines': timer, mode, clocks, reload, reload_hex,
// fits, actual_period_s, error_percent, interrupts_per_period, mark,
// [chip, generator, registers].
std::span<const Column<TickRow>> TickColumns();

// One rate of table: its best setting and, with a peer, the best one's
// link (null without).
struct RateRow {
  double baud;
  const Outcome& best;
  const Link* link = nullptr;
};

// table's own columns, around a column per setting: "baud" before them;
// "peer" (the peer's rate) and "best" after them, for people.
//   best: "T1/1/12 FD 0.00 %", with a peer "..., works"; "none in range"
std::span<const Column<RateRow>> RateColumns();

// One crystal of crystals' ranking.
struct CrystalRow {
  const CrystalScore& crystal;
  int rank;
  double tolerance_percent = kDefaultTolerancePercent;
};

// crystals' columns, before each rate's best setting: people's rank MHz
// worst mark; machines' rank, frequency_mhz, worst_error_percent,
// crystal_mark, the same keys in CSV and JSON.
//   CrystalColumns()[1].header.en -> "MHz"
std::span<const Column<CrystalRow>> CrystalColumns();

// The families' two tables: the baud-rate generators, and the
// general-purpose timers of the families that record them; each with the
// documents and what the rows rest on.
//   ChipColumns()[0].header.en -> "`--chip`";  its people's text:
//   "`at89c51rd2` (also `at89c51rb2`, ...)"; machines' "chip": "at89c51rd2"
std::span<const Column<Chip>> ChipColumns();
std::span<const Column<Chip>> TickTimerColumns();
// chips' text: a card per family, its name and family, then the names
// --chip also takes, each generator with its clock choices, what FREQ is,
// and the documents its rows and its timers' rows rest on.
std::span<const Column<Chip>> ChipCard();

// explain's answer for machines: a row per serial port in a timer-driven
// mode, and per timer running or interrupting; null where no setting of
// the family was found.
//   SerialColumns() keys: uart, generator, clocks, smod, reload,
//   reload_hex, actual_baud, nearest_baud, error_percent, receives
//   TimerColumns() keys: timer, mode, clocks, reload, reload_hex, running,
//   interrupt, reloaded_by, actual_period_s
//   FindingColumns() keys: kind, line, text
std::span<const Column<SerialUse>> SerialColumns();
std::span<const Column<TimerUse>> TimerColumns();
std::span<const Column<Finding>> FindingColumns();

// A delay written: its name and time, as typed and read, the core, the
// plan and the code.
struct DelayRow {
  const DelayText& text;
  std::string_view time;  // as typed: "2.5ms"
  const Core& core;
  const DelayPlan& plan;
  const std::string& code;
};

// delay's figures for machines: name, time, time_s, frequency_mhz, times,
// core, core_text, clocks_per_cycle, cycles (a timer's: its counts),
// method ("cycles" or "timer"), bound_s, early_s, and the timer's timer,
// timer_mode, clocks_per_count, reload, reload_hex and overflows (null
// for cycles), actual_s, error_percent, source, assumes, code.
//   DelayColumns()[8].cell(12 MHz, 1 ms, classic) -> "1000"
std::span<const Column<DelayRow>> DelayColumns();

// What a family's rows rest on, in words; a document that prints no table
// says so.
//   EvidenceWords(Evidence::kFormulaOnly).en
//       -> "the formula only; no printed table"
Words EvidenceWords(Evidence evidence);

}  // namespace mcs51
