#pragma once
// The machines' halves of reports.h, CSV and JSON, and the rows both
// halves build. Inside the library only.

#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mcs51/answers/reports.h"

namespace mcs51 {

// The optional columns a question shows: a chip's, a peer's.
Parts PartsOf(const Question& question);

// FREQ BAUD's rows of `outcomes` at `baud`, each with its link to the peer
// named; `links` keeps the links the rows point at.
std::vector<SettingRow> SettingRows(const Question& question,
                                    std::span<const Outcome> outcomes,
                                    double baud,
                                    std::deque<std::optional<Link>>& links);

// tick's rows of `ranked`, judged by the question's tolerance.
std::vector<TickRow> TickRows(const Question& question,
                              std::span<const TickOutcome> ranked);

//   SettingsCsv(..)  -> "timer,smod,clocks,reload,...\n1,1,12,253,FD,..."
//   TableCsv(..)     -> "baud,best,timer,smod,...\n110,false,1,0,12,..."
//   CrystalsCsv(..)  -> "clocks,rank,frequency_mhz,worst_error_percent,..."
//   TickCsv(..)      -> "timer,mode,clocks,reload,...\n2,ar,12,64536,..."
std::string SettingsCsv(const Question& question,
                        std::span<const Outcome> ranked);
std::string SettingsJson(const Question& question,
                         std::span<const Outcome> ranked);
std::string TableCsv(const Question& question, std::span<const TableRow> rows);
std::string TableJson(const Question& question, std::span<const TableRow> rows);
std::string CrystalsCsv(const Question& question,
                        std::span<const ClockModeRanking> rankings);
std::string CrystalsJson(const Question& question,
                         std::span<const ClockModeRanking> rankings);
std::string TickCsv(const Question& question,
                    std::span<const TickOutcome> ranked);
std::string TickJson(const Question& question,
                     std::span<const TickOutcome> ranked);
std::string ChipsCsv();
std::string ChipsJson();

}  // namespace mcs51
