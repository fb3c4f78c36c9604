#pragma once
// The answers of FREQ BAUD, table, crystals, tick and chips as text for a
// terminal, as Markdown, or as CSV and JSON for machines (numbers as
// numbers, null where there is none).

#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/columns.h"
#include "cli/command_line.h"
#include "timers/catalogue.h"
#include "timers/ranking.h"
#include "timers/text.h"
#include "timers/ticks.h"

namespace cli {

// With --peer, the link of `outcome` at `baud`; for a setting out of range
// only the peer's rate, its margin and mismatch empty. Without, nothing.
//   LinkOf({.peer = "ft232r"}, T1/1/12 FD at 11.0592, 19200) -> {19200, 0,
//   ~43.6, works}
std::optional<mcs51::Link> LinkOf(const Request& request,
                                  const mcs51::Outcome& outcome, double baud);

// The optional columns a request shows: --chip's, --peer's.
Parts PartsOf(const Request& request);

// FREQ BAUD's rows of `outcomes` at `baud`, each with its link to the peer
// named; `links` keeps the links the rows point at.
std::vector<mcs51::SettingRow> SettingRows(
    const Request& request, std::span<const mcs51::Outcome> outcomes,
    double baud, std::deque<std::optional<mcs51::Link>>& links);

// tick's rows of `ranked`, judged by the request's tolerance.
std::vector<mcs51::TickRow> TickRows(
    const Request& request, std::span<const mcs51::TickOutcome> ranked);

// FREQ BAUD: `ranked` is Rank's answer, best first.
//   text: a heading line, a column header, one row per setting
//   csv:  a header, then timer,smod,clocks,reload,... per setting
//   json: {"frequency_mhz":..,"baud":..,"settings":[{..},..]}
std::string SettingsReport(const Request& request,
                           std::span<const mcs51::Outcome> ranked, Style style);

// table: one entry per rate, each with every setting in tie order and the
// best one.
struct TableRow {
  double baud;
  std::vector<mcs51::Outcome> settings;  // in the order of Matching(filter)
  mcs51::Outcome best;
};

//   text: a row per rate with each setting's reload and mark sign
//   csv:  a row per rate and setting, with a best column
//   json: {"frequency_mhz":..,"rates":[{"baud":..,"best":{..},..}]}
std::string TableReport(const Request& request, std::span<const TableRow> rows,
                        Style style);

// crystals: RankCrystals' answer.
//   text: per clock mode a ranked list with each rate's best setting
//   csv:  a row per clock mode, crystal and rate
//   json: {"rates":[..],"clock_modes":[{"clocks":12,"crystals":[..]},..]}
std::string CrystalsReport(const Request& request,
                           std::span<const mcs51::ClockModeRanking> rankings,
                           Style style);

// chips: the families. text: each family's generators and documents;
// markdown: the README's tables, the baud-rate generators and the
// general-purpose timers; csv, json: a row per family (csv_json.h).
std::string ChipsReport(const Request& request);

// tick: `ranked` is RankTicks' answer, best first.
//   text: a heading line, a column header, one row per setting
//   csv:  a header, then timer,mode,clocks,reload,... per setting
//   json: {"frequency_mhz":..,"period_s":..,"settings":[{..},..]}
std::string TickReport(const Request& request,
                       std::span<const mcs51::TickOutcome> ranked, Style style);

}  // namespace cli
