#include "cli/report.h"

#include <fmt/format.h>

#include <algorithm>
#include <string_view>

#include "cli/machine.h"
#include "cli/words.h"
#include "timers/tick_text.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace timers;  // NOLINT(google-build-using-namespace)
namespace {

// One cell of a text table; `mark` colours it on a terminal.
struct Cell {
  std::string text;
  const Mark* mark = nullptr;
};

std::string_view ColorOf(Mark mark) {
  switch (mark) {
    case Mark::kExact:
    case Mark::kClose:
      return "\x1b[32m";  // green
    case Mark::kWithin:
      return "\x1b[33m";  // yellow
    case Mark::kBeyond:
    case Mark::kOutOfRange:
      break;
  }
  return "\x1b[31m";  // red
}

// Columns padded to their widest cell; `right` lists the numeric columns.
// The last column is not padded, so lines carry no trailing blanks.
std::string Layout(const std::vector<std::vector<Cell>>& rows,
                   const std::vector<bool>& right, Style style) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t i = 0; i < row.size(); ++i) {
      widths[i] = std::max(widths[i], row[i].text.size());
    }
  }
  std::size_t line_width = 0;
  for (std::size_t width : widths) line_width += width + 2;
  std::string out;
  out.reserve(rows.size() * line_width);
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Cell& cell = row[i];
      const bool last = i + 1 == row.size();
      const std::size_t pad = widths[i] - cell.text.size();
      if (i > 0) out += "  ";
      const bool right_aligned = i < right.size() && right[i];
      if (right_aligned) out.append(pad, ' ');
      if (style.color && cell.mark != nullptr) {
        out.append(ColorOf(*cell.mark)).append(cell.text).append("\x1b[0m");
      } else {
        out += cell.text;
      }
      if (!right_aligned && !last) out.append(pad, ' ');
    }
    out += '\n';
  }
  return out;
}

// A one-character mark, for the cells of the wide tables.
char MarkSign(Mark mark) {
  switch (mark) {
    case Mark::kExact:
      return '=';
    case Mark::kClose:
      return '~';
    case Mark::kWithin:
      return '+';
    case Mark::kBeyond:
      return '!';
    case Mark::kOutOfRange:
      break;
  }
  return ' ';
}

std::string SignLegend(double tolerance_percent) {
  const std::string tolerance = ShortestText(tolerance_percent);
  return fmt::format(
      "Marks: = exact, ~ within {} %, + within {} %, ! beyond {} %, -- out of "
      "range.",
      ShortestText(kClosePercent), tolerance, tolerance);
}

char LinkSign(LinkMark mark) {
  switch (mark) {
    case LinkMark::kWorks:
      return '*';
    case LinkMark::kMarginal:
      return '?';
    case LinkMark::kFails:
      break;
  }
  return 'x';
}

// The peer, its rate when `baud` is one rate, and where its rates come
// from.
std::string PeerLine(const Request& request, std::optional<double> baud) {
  const Peer& peer = *FindPeer(request.peer);
  std::string rate;
  if (baud) {
    const std::optional<double> actual = peer.actual(*baud);
    rate = actual ? fmt::format(": {:.2f} baud", *actual)
                  : fmt::format(": cannot make {} baud", ShortestText(*baud));
  }
  return fmt::format("Peer {}, {}{}\n  ({}).\n", peer.name, peer.part, rate,
                     peer.source);
}

std::string LinkTerms(const Request& request) {
  return fmt::format("frame {}, each clock within {} ppm, the worse direction",
                     kFrameKeys[static_cast<std::size_t>(request.frame)],
                     ShortestText(request.clock_ppm));
}

std::string PeerLines(const Request& request, double baud) {
  return PeerLine(request, baud) +
         fmt::format("Link: {}.\n", LinkTerms(request));
}

// The table's link signs, and where the peer's rates come from.
std::string LinkLegend(const Request& request) {
  return PeerLine(request, std::nullopt) +
         fmt::format("Links: {}; * works, ? marginal, x fails.\n",
                     LinkTerms(request));
}

std::string ReloadCell(const Outcome& outcome) {
  if (!outcome.fits) return "--";
  return ReloadHex(outcome.reload, outcome.setting->profile.modulus) +
         MarkSign(outcome.mark);
}

std::string RatesText(std::span<const double> rates) {
  std::string text;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    if (i > 0) text += i + 1 == rates.size() ? " and " : ", ";
    text += ShortestText(rates[i]);
  }
  return text;
}

std::string SettingsText(const Request& request,
                         std::span<const Outcome> ranked, Style style) {
  std::vector<std::vector<Cell>> rows;
  rows.push_back({{"timer"},
                  {"SMOD"},
                  {"clocks"},
                  {"reload"},
                  {"actual baud"},
                  {"error"},
                  {"mark"}});
  const bool chip = !request.filter.chip.empty();
  if (chip) rows.front().insert(rows.front().begin(), {"setting"});
  const bool linked = !request.peer.empty();
  if (linked) {
    rows.front().insert(rows.front().end(),
                        {{"mismatch"}, {"margin"}, {"link"}});
  }
  for (const Outcome& outcome : ranked) {
    const Setting& s = *outcome.setting;
    const RowCells c = CellsOf(outcome);
    std::vector<Cell> row{{c.timer},  {c.smod},        {c.clocks},
                          {c.reload}, {c.actual_baud}, {c.error}};
    row.push_back(
        {MarkText(outcome.mark, request.tolerance_percent), &outcome.mark});
    if (chip) row.insert(row.begin(), {SettingLabel(s)});
    if (linked) {
      const LinkCells link =
          LinkCellsOf(*LinkOf(request, outcome, request.rates.front()));
      row.insert(
          row.end(),
          {{link.mismatch}, {link.margin}, {outcome.fits ? link.link : "--"}});
    }
    rows.push_back(std::move(row));
  }
  std::vector<bool> right{true, true, true, true, true, true, false};
  if (chip) right.insert(right.begin(), false);
  if (linked) right.insert(right.end(), {true, true, false});
  return fmt::format("{} MHz, {} baud; tolerance {} %\n",
                     ShortestText(request.frequency_mhz),
                     ShortestText(request.rates.front()),
                     ShortestText(request.tolerance_percent)) +
         (linked ? PeerLines(request, request.rates.front()) : "") +
         Layout(rows, right, style);
}

std::string TableText(const Request& request, std::span<const TableRow> rows,
                      Style style) {
  std::vector<std::vector<Cell>> cells;
  std::vector<Cell> header{{"baud"}};
  if (!rows.empty()) {
    for (const Outcome& outcome : rows.front().settings) {
      header.push_back({SettingLabel(*outcome.setting)});
    }
  }
  const bool linked = !request.peer.empty();
  if (linked) header.push_back({"peer"});
  header.push_back({"best"});
  cells.push_back(std::move(header));
  for (const TableRow& row : rows) {
    std::vector<Cell> line{{ShortestText(row.baud)}};
    for (const Outcome& outcome : row.settings) {
      std::string cell = ReloadCell(outcome);
      if (linked && outcome.fits) {
        cell += LinkSign(LinkOf(request, outcome, row.baud)->mark);
      }
      line.push_back({std::move(cell), &outcome.mark});
    }
    if (linked) {
      line.push_back(
          {LinkCellsOf(*LinkOf(request, row.best, row.baud)).peer_baud});
    }
    if (row.best.fits) {
      std::string best = fmt::format(
          "{} {} {}", SettingLabel(*row.best.setting),
          ReloadHex(row.best.reload, row.best.setting->profile.modulus),
          PercentText(row.best.error_percent));
      if (linked) {
        best += fmt::format(", {}",
                            LinkKey(LinkOf(request, row.best, row.baud)->mark));
      }
      line.push_back({std::move(best), &row.best.mark});
    } else {
      line.push_back({"none in range", &row.best.mark});
    }
    cells.push_back(std::move(line));
  }
  return fmt::format("{} MHz; tolerance {} %. Columns: {}.\n{}\n",
                     ShortestText(request.frequency_mhz),
                     ShortestText(request.tolerance_percent),
                     request.filter.chip.empty()
                         ? "T<timer>/<SMOD>/<clocks>"
                         : "<chip>:<generator>/<clocks>[s<SMOD>]",
                     SignLegend(request.tolerance_percent)) +
         (linked ? LinkLegend(request) : "") + Layout(cells, {true}, style);
}

std::string CrystalsText(const Request& request,
                         std::span<const ClockModeRanking> rankings,
                         Style style) {
  const bool chip = !request.filter.chip.empty();
  std::string out = fmt::format(
      "Crystals for {} baud; tolerance {} %. Ranked per {} by\n"
      "the worst error of each rate's best setting ({} and "
      "reload).\n{}\n",
      RatesText(request.rates), ShortestText(request.tolerance_percent),
      chip ? "chip family" : "clock mode",
      chip ? "<generator>/<clocks>[s<SMOD>]" : "T<timer>/<SMOD>",
      SignLegend(request.tolerance_percent));
  for (const ClockModeRanking& ranking : rankings) {
    std::vector<std::vector<Cell>> rows;
    std::vector<Cell> header{{"rank"}, {"MHz"}, {"worst"}, {"mark"}};
    for (double rate : request.rates) header.push_back({ShortestText(rate)});
    rows.push_back(std::move(header));
    int rank = 0;
    for (const CrystalScore& crystal : ranking.crystals) {
      std::vector<Cell> row{
          {fmt::format("{}", ++rank)},
          {ShortestText(crystal.frequency_mhz)},
          {crystal.reachable ? PercentText(crystal.worst_error_percent) : "--"},
          {MarkText(crystal.mark, request.tolerance_percent), &crystal.mark}};
      for (const Outcome& best : crystal.best) {
        if (!best.fits) {
          row.push_back({"--", &best.mark});
          continue;
        }
        const Setting& s = *best.setting;
        const std::string label = s.by_chip ? ChoiceLabel(s)
                                  : s.smod < 0
                                      ? fmt::format("T{}", s.timer)
                                      : fmt::format("T{}/{}", s.timer, s.smod);
        row.push_back({fmt::format("{} {}{}", label,
                                   ReloadHex(best.reload, s.profile.modulus),
                                   MarkSign(best.mark)),
                       &best.mark});
      }
      rows.push_back(std::move(row));
    }
    if (ranking.chip != nullptr) {
      out +=
          fmt::format("\n{} ({}):\n", ranking.chip->family, ranking.chip->name);
    } else {
      out += fmt::format("\n{} clock{} per machine cycle:\n", ranking.clocks,
                         ranking.clocks == 1 ? "" : "s");
    }
    out += Layout(rows, {true, true, true, false}, style);
  }
  return out;
}

std::string TickText(const Request& request,
                     std::span<const TickOutcome> ranked, Style style) {
  std::vector<std::vector<Cell>> rows;
  rows.push_back({{"timer"},
                  {"mode"},
                  {"clocks"},
                  {"reload"},
                  {"interrupts"},
                  {"actual period"},
                  {"error"},
                  {"mark"}});
  const bool chip = !request.filter.chip.empty();
  if (chip) rows.front().insert(rows.front().begin(), {"setting"});
  for (const TickOutcome& outcome : ranked) {
    const TickCells c = TickCellsOf(outcome);
    std::vector<Cell> row{{c.timer},  {c.mode},       {c.clocks},
                          {c.reload}, {c.interrupts}, {c.actual_period},
                          {c.error}};
    row.push_back(
        {MarkText(outcome.mark, request.tolerance_percent), &outcome.mark});
    if (chip) row.insert(row.begin(), {TickLabel(*outcome.setting)});
    rows.push_back(std::move(row));
  }
  std::vector<bool> right(rows.front().size(), true);
  right.back() = false;
  if (chip) right.front() = false;
  return fmt::format("{} MHz, period {}; tolerance {} %\n",
                     ShortestText(request.frequency_mhz),
                     PeriodText(request.period_s),
                     ShortestText(request.tolerance_percent)) +
         Layout(rows, right, style);
}

}  // namespace

std::optional<Link> LinkOf(const Request& request, const Outcome& outcome,
                           double baud) {
  const Peer* peer = FindPeer(request.peer);
  if (peer == nullptr) return std::nullopt;
  return JudgeLink(*peer, baud, outcome, request.frame, request.clock_ppm);
}

std::string TickReport(const Request& request,
                       std::span<const TickOutcome> ranked, Style style) {
  switch (request.format) {
    case Format::kCsv:
      return TickCsv(request, ranked);
    case Format::kJson:
      return TickJson(request, ranked);
    case Format::kText:
      break;
  }
  return TickText(request, ranked, style);
}

std::string SettingsReport(const Request& request,
                           std::span<const Outcome> ranked, Style style) {
  switch (request.format) {
    case Format::kCsv:
      return SettingsCsv(request, ranked);
    case Format::kJson:
      return SettingsJson(request, ranked);
    case Format::kText:
      break;
  }
  return SettingsText(request, ranked, style);
}

std::string TableReport(const Request& request, std::span<const TableRow> rows,
                        Style style) {
  switch (request.format) {
    case Format::kCsv:
      return TableCsv(request, rows);
    case Format::kJson:
      return TableJson(request, rows);
    case Format::kText:
      break;
  }
  return TableText(request, rows, style);
}

std::string CrystalsReport(const Request& request,
                           std::span<const ClockModeRanking> rankings,
                           Style style) {
  switch (request.format) {
    case Format::kCsv:
      return CrystalsCsv(request, rankings);
    case Format::kJson:
      return CrystalsJson(request, rankings);
    case Format::kText:
      break;
  }
  return CrystalsText(request, rankings, style);
}

}  // namespace cli
