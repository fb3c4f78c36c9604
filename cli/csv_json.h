#pragma once
// CSV and JSON for scripts, from the answers' columns (timers/answers.h).
// Numbers are written in the shortest form that reads back as the same
// double; what does not exist (the reload of a setting out of range, Timer
// 2's SMOD) is an empty CSV field or JSON null. Every setting carries the
// same fields in both forms: timer, smod, clocks, reload, reload_hex, fits,
// actual_baud, error_percent, mark; with --chip also chip, generator and
// registers; with --peer also peer, peer_actual_baud, mismatch_percent,
// margin_percent and link.

#include <span>
#include <string>

#include "cli/report.h"

namespace cli {

// FREQ BAUD, best first.
//   SettingsCsv(..) -> "timer,smod,clocks,reload,...\n1,1,12,253,FD,..."
//   SettingsJson(..) -> {"frequency_mhz": 11.0592, "baud": 19200.0, ...}
std::string SettingsCsv(const Request& request,
                        std::span<const mcs51::Outcome> ranked);
std::string SettingsJson(const Request& request,
                         std::span<const mcs51::Outcome> ranked);

// table: a CSV row per rate and setting, "best" true on each rate's best.
//   TableCsv(..)  -> "baud,best,timer,smod,...\n110,false,1,0,12,..."
//   TableJson(..) -> {"frequency_mhz": .., "rates": [{"baud": 110.0, ..}]}
std::string TableCsv(const Request& request, std::span<const TableRow> rows);
std::string TableJson(const Request& request, std::span<const TableRow> rows);

// crystals: a CSV row per clock mode, crystal and rate.
//   CrystalsCsv(..)  -> "clocks,rank,frequency_mhz,worst_error_percent,..."
//   CrystalsJson(..) -> {"rates": [..], "clock_modes": [{"clocks": 12, ..}]}
std::string CrystalsCsv(const Request& request,
                        std::span<const mcs51::ClockModeRanking> rankings);
std::string CrystalsJson(const Request& request,
                         std::span<const mcs51::ClockModeRanking> rankings);

// tick, best first: timer, mode, clocks, reload, reload_hex, fits,
// actual_period_s, error_percent, interrupts_per_period, mark; with --chip
// also chip, generator and the registers tick_init() writes.
//   TickCsv(..)  -> "timer,mode,clocks,reload,...\n2,ar,12,64536,FC18,..."
//   TickJson(..) -> {"frequency_mhz": 12.0, "period_s": 0.001, ...}
std::string TickCsv(const Request& request,
                    std::span<const mcs51::TickOutcome> ranked);
std::string TickJson(const Request& request,
                     std::span<const mcs51::TickOutcome> ranked);

// chips: a row per family: chip, family, generators, freq, document and
// evidence.
//   ChipsCsv()  -> "chip,family,generators,freq,document,evidence\n8051,..."
//   ChipsJson() -> {"chips": [{"chip": "8051", ...}, ...]}
std::string ChipsCsv();
std::string ChipsJson();

}  // namespace cli
