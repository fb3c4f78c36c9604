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
#include "timers/catalogue.h"
#include "timers/code_words.h"
#include "timers/peers.h"
#include "timers/ranking.h"
#include "timers/ticks.h"

namespace mcs51 {

// A word in both tongues.
//   Words{"mark", "标记"}.In(Tongue::kChinese) -> "标记"
struct Words {
  std::string_view en, zh;
  std::string_view In(Tongue tongue) const {
    return tongue == Tongue::kChinese ? zh : en;
  }
};

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
std::span<const MarkRow> MarkRows();

// The mark's words with the percent filled in: kClosePercent for kClose,
// the tolerance for kWithin and kBeyond.
//   MarkWords(Mark::kClose, 2, kEnglish)  -> "within 0.2 %"
//   MarkWords(Mark::kBeyond, 1.5, kEnglish) -> "beyond 1.5 %"
//   MarkWords(Mark::kWithin, 2, kChinese) -> "2 % 以内"
std::string MarkWords(Mark mark, double tolerance_percent, Tongue tongue);

// A link's mark, as a mark's.
//   RowOf(LinkMark::kMarginal).sign -> "?";  .words.zh -> "勉强"
struct LinkRow {
  LinkMark mark;
  std::string_view key, sign, color;
  Words words;
};
const LinkRow& RowOf(LinkMark mark);
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

// When a column is shown: always, with --chip, or with --peer.
enum class Part : std::uint8_t { kAlways, kChip, kPeer };

// One column of an answer, named by its key. A column with a header is
// shown to people (text, Markdown, the page) through `text`; one with a
// `value` is given to machines (CSV, JSON) under its key, nothing meaning
// empty or null. A column may be both; "reload" shows "FD" to people and
// 253 to machines.
template <typename Row>
struct Column {
  std::string_view key;
  Words header;
  std::string (*text)(const Row& row);
  std::optional<std::string> (*value)(const Row& row);
  Align align = Align::kRight;
  JsonType type = JsonType::kText;
  Part part = Part::kAlways;
};

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

// The families' two tables: the baud-rate generators, and the
// general-purpose timers of the families that record them; each with the
// documents and what the rows rest on.
//   ChipColumns()[0].header.en -> "--chip";  its text: "`8051`, `8052`"
std::span<const Column<Chip>> ChipColumns();
std::span<const Column<Chip>> TickTimerColumns();

// A family in words: in Chinese where its record has Chinese words, else
// its own (the makers' part names read the same in both).
//   FamilyWords(stc15).In(Tongue::kChinese) -> "STC15（STC15F2K60S2 及同类）"
//   FamilyWords(n76e003).In(Tongue::kChinese) -> "Nuvoton N76E003"
Words FamilyWords(const Chip& chip);

// What a family's rows rest on, in words; a document that prints no table
// says so.
//   EvidenceWords(Evidence::kFormulaOnly).en
//       -> "the formula only; no printed table"
Words EvidenceWords(Evidence evidence);

}  // namespace mcs51
