#pragma once
// The answers of FREQ BAUD, table, crystals, tick, chips and explain as
// whole documents: text for a terminal, Markdown, or CSV and JSON for
// machines (numbers as numbers, null where there is none). Every setting
// carries the same fields in CSV and JSON: timer, smod, clocks, reload,
// reload_hex, fits, actual_baud, error_percent, mark; with a chip also
// chip, generator and registers; with a peer also peer, peer_actual_baud,
// mismatch_percent, margin_percent and link.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/answers/columns.h"
#include "mcs51/explain/explain.h"
#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/ticks.h"

namespace mcs51 {

enum class Format { kText, kCsv, kJson, kMarkdown, kSarif };

// The formats' names as --format takes them, in Format's order.
inline constexpr std::string_view kFormatNames[] = {"text", "csv", "json",
                                                    "markdown", "sarif"};

// The answers, each one document.
enum class Document {
  kSettings,
  kTable,
  kCrystals,
  kTick,
  kChips,
  kExplain,
  kDelay
};

// Whether `document` is written in `format`; a front end refuses the
// others. Explain and delay are no tables: text and JSON only, and
// explain's findings SARIF too.
//   Renders(kSettings, kMarkdown) -> true
//   Renders(kDelay, kCsv)         -> false
bool Renders(Document document, Format format);

// The formats `document` is written in, as a list for a refusal.
//   RenderedIn(kExplain) -> "text, json or sarif"
//   RenderedIn(kChips)   -> "text, csv, json or markdown"
std::string RenderedIn(Document document);

// What an answer was asked for: the crystal, the rates (FREQ BAUD's one,
// table's, crystals' BAUDs) or the period, the filters, the tolerance and
// the peer (empty for none) with the frame and the clocks' tolerance.
struct Question {
  double frequency_mhz = 0.0;
  std::vector<double> rates = {};
  double period_s = 0.0;
  Filter filter = {};
  double tolerance_percent = kDefaultTolerancePercent;
  std::string peer = {};
  Frame frame = Frame::k8n1;
  double clock_ppm = kDefaultClockPpm;
};

// With a peer, the link of `outcome` at `baud`; for a setting out of range
// only the peer's rate, its margin and mismatch empty. Without, nothing.
//   LinkOf({.peer = "ft232r"}, T1/1/12 FD at 11.0592, 19200) -> {19200, 0,
//   ~43.6, works}
std::optional<Link> LinkOf(const Question& question, const Outcome& outcome,
                           double baud);

// FREQ BAUD: `ranked` is Rank's answer, best first.
//   text: "11.0592 MHz, 19200 baud; tolerance 2 %", a header, a row each
//   csv:  a header, then timer,smod,clocks,reload,... per setting
//   json: {"frequency_mhz":..,"baud":..,"settings":[{..},..]}
std::string SettingsReport(const Question& question,
                           std::span<const Outcome> ranked, Format format,
                           Style style);

// table: one entry per rate, each with every setting in tie order and the
// best one.
//   text: a row per rate with each setting's reload and mark sign
//   csv:  a row per rate and setting, with a best column
//   json: {"frequency_mhz":..,"rates":[{"baud":..,"best":{..},..}]}
struct TableRow {
  double baud;
  std::vector<Outcome> settings;  // in the order of Matching(filter)
  Outcome best;
};
// Every setting the question's filters leave at each of its rates.
//   TableRows({12 MHz, {9600}}).front().best -> Timer 2, 12 clocks, +0.16 %
std::vector<TableRow> TableRows(const Question& question);
std::string TableReport(const Question& question,
                        std::span<const TableRow> rows, Format format,
                        Style style);

// crystals: RankCrystals' answer.
//   text: per clock mode a ranked list with each rate's best setting
//   csv:  a row per clock mode, crystal and rate
//   json: {"rates":[..],"clock_modes":[{"clocks":12,"crystals":[..]},..]}
std::string CrystalsReport(const Question& question,
                           std::span<const ClockModeRanking> rankings,
                           Format format, Style style);

// tick: `ranked` is RankTicks' answer, best first.
//   text: "12 MHz, period 1.0000 ms; tolerance 2 %", a header, a row each
//   csv:  a header, then timer,mode,clocks,reload,... per setting
//   json: {"frequency_mhz":..,"period_s":..,"settings":[{..},..]}
std::string TickReport(const Question& question,
                       std::span<const TickOutcome> ranked, Format format,
                       Style style);

// chips: the families. text: each family's generators and documents;
// markdown: the README's tables, the baud-rate generators and the
// general-purpose timers; csv, json: a row per family.
//   ChipsReport(kCsv)  -> "chip,family,generators,freq,document,evidence\n.."
//   ChipsReport(kJson) -> {"chips": [{"chip": "8051", ...}, ...]}
std::string ChipsReport(Format format);

// explain: the reading of `family`'s registers (text or JSON).
//   text: a heading, then Serial:, Timers: and Findings: with a line each
//   json: {"frequency_mhz":..,"chip":..,"serial":[..],"timers":[..],
//          "findings":[{"kind":..,"line":..,"text":..}]}
std::string ExplainReport(const Question& question,
                          const explain::Family& family,
                          const Explanation& explanation, Format format);

// explain's findings as SARIF 2.1.0, for code-scanning services: one run,
// the tool and its version, a rule per kind of finding (its description
// in both tongues), and a result per finding at its file's URI (`file`
// where the finding names none), line and column.
//   ExplainSarif(e, "baud51-cli", "1.00", "src/uart.c")
//       -> {"version": "2.1.0", "runs": [{"tool": {"driver": {"name":
//          "baud51-cli", "rules": [{"id": "not-started", ..}, ..]}},
//          "results": [{"ruleId": "not-started", "level": "warning", ..}]}]}
std::string ExplainSarif(const Explanation& e, std::string_view tool,
                         std::string_view version, std::string_view file);

}  // namespace mcs51
