#include "cli/report.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <string_view>

#include "cli/csv_json.h"
#include "cli/words.h"
#include "timers/tick_text.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

// The grids as the format lays them out: padded text, or a Markdown table
// after a blank line, below the same caption lines.
struct Out {
  Format format;
  Style style;
  std::string operator()(const Grid& grid) const {
    if (format == Format::kMarkdown) return "\n" + MarkdownOf(grid);
    return TextOf(grid, style);
  }
  // A caption; Markdown would take "<timer>" for an HTML tag.
  std::string operator()(std::string caption) const {
    if (format != Format::kMarkdown) return caption;
    for (std::size_t at = 0; (at = caption.find('<', at)) != caption.npos;
         at += 2) {
      caption.insert(at, 1, '\\');
    }
    return caption;
  }
};

std::string_view ColorOf(const SettingRow& row) {
  return RowOf(row.outcome.mark).color;
}
std::string_view ColorOf(const TickRow& row) {
  return RowOf(row.outcome.mark).color;
}

// "Marks: = exact, ~ within 0.2 %, ..., -- out of range.", from the rows.
std::string SignLegend(double tolerance_percent) {
  std::string legend = "Marks:";
  for (const MarkRow& row : MarkRows()) {
    legend +=
        fmt::format("{} {} {}", legend.size() > 6 ? "," : "", row.sign,
                    MarkWords(row.mark, tolerance_percent, Tongue::kEnglish));
  }
  return legend + ".";
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

// "* works, ? marginal, x fails", from the rows.
std::string LinkSigns() {
  std::string signs;
  for (const LinkRow& row : LinkRows()) {
    signs += fmt::format("{}{} {}", signs.empty() ? "" : ", ", row.sign,
                         row.words.en);
  }
  return signs;
}

// The table's link signs, and where the peer's rates come from.
std::string LinkLegend(const Request& request) {
  return PeerLine(request, std::nullopt) +
         fmt::format("Links: {}; {}.\n", LinkTerms(request), LinkSigns());
}

std::string ReloadCell(const Outcome& outcome) {
  if (!outcome.fits) return "--";
  return ReloadHex(outcome.reload, outcome.setting->profile.modulus) +
         std::string(RowOf(outcome.mark).sign);
}

std::string RatesText(std::span<const double> rates) {
  std::string text;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    if (i > 0) text += i + 1 == rates.size() ? " and " : ", ";
    text += ShortestText(rates[i]);
  }
  return text;
}

Parts PartsOf(const Request& request) {
  return {!request.filter.chip.empty(), !request.peer.empty()};
}

std::string SettingsText(const Request& request,
                         std::span<const Outcome> ranked, Out out) {
  const double baud = request.rates.front();
  std::vector<std::optional<Link>> links;
  links.reserve(ranked.size());
  std::vector<SettingRow> rows;
  rows.reserve(ranked.size());
  for (const Outcome& outcome : ranked) {
    const auto& link = links.emplace_back(LinkOf(request, outcome, baud));
    rows.push_back({outcome, link ? &*link : nullptr, request.tolerance_percent,
                    request.peer});
  }
  const Grid grid =
      PeopleGrid<SettingRow>(SettingColumns(), rows, PartsOf(request), ColorOf);
  return fmt::format("{} MHz, {} baud; tolerance {} %\n",
                     ShortestText(request.frequency_mhz), ShortestText(baud),
                     ShortestText(request.tolerance_percent)) +
         (request.peer.empty() ? "" : PeerLines(request, baud)) + out(grid);
}

// The best setting of a rate: its label, reload and error, with the link.
Cell BestCell(const Request& request, const TableRow& row) {
  const std::string_view color = RowOf(row.best.mark).color;
  if (!row.best.fits) return {"none in range", color};
  std::string best =
      fmt::format("{} {} {}", SettingLabel(*row.best.setting),
                  ReloadHex(row.best.reload, row.best.setting->profile.modulus),
                  PercentText(row.best.error_percent));
  if (!request.peer.empty()) {
    best += fmt::format(", {}",
                        RowOf(LinkOf(request, row.best, row.baud)->mark).key);
  }
  return {std::move(best), color};
}

std::string TableText(const Request& request, std::span<const TableRow> rows,
                      Out out) {
  Grid grid{{{{"baud"}}}, {Align::kRight}};
  if (!rows.empty()) {
    for (const Outcome& outcome : rows.front().settings) {
      grid.rows.front().push_back({SettingLabel(*outcome.setting)});
      grid.align.push_back(Align::kLeft);
    }
  }
  const bool linked = !request.peer.empty();
  if (linked) grid.rows.front().push_back({"peer"});
  grid.rows.front().push_back({"best"});
  grid.align.insert(grid.align.end(), linked ? 2 : 1, Align::kLeft);
  for (const TableRow& row : rows) {
    std::vector<Cell>& line = grid.rows.emplace_back();
    line.push_back({ShortestText(row.baud)});
    for (const Outcome& outcome : row.settings) {
      std::string cell = ReloadCell(outcome);
      if (linked && outcome.fits) {
        cell += RowOf(LinkOf(request, outcome, row.baud)->mark).sign;
      }
      line.push_back({std::move(cell), RowOf(outcome.mark).color});
    }
    if (linked) {
      line.push_back(
          {LinkCellsOf(*LinkOf(request, row.best, row.baud)).peer_baud});
    }
    line.push_back(BestCell(request, row));
  }
  return out(fmt::format("{} MHz; tolerance {} %. Columns: {}.\n{}\n",
                         ShortestText(request.frequency_mhz),
                         ShortestText(request.tolerance_percent),
                         request.filter.chip.empty()
                             ? "T<timer>/<SMOD>/<clocks>"
                             : "<chip>:<generator>/<clocks>[s<SMOD>]",
                         SignLegend(request.tolerance_percent))) +
         (linked ? LinkLegend(request) : "") + out(grid);
}

// A crystal's best setting for one rate: label, reload and sign.
Cell BestCell(const Outcome& best) {
  if (!best.fits) return {"--", RowOf(best.mark).color};
  const Setting& s = *best.setting;
  const std::string label = s.by_chip ? ChoiceLabel(s)
                            : s.smod < 0
                                ? fmt::format("T{}", s.timer)
                                : fmt::format("T{}/{}", s.timer, s.smod);
  return {fmt::format("{} {}", label, ReloadCell(best)),
          RowOf(best.mark).color};
}

std::string CrystalsText(const Request& request,
                         std::span<const ClockModeRanking> rankings, Out out) {
  const bool chip = !request.filter.chip.empty();
  std::string text = out(fmt::format(
      "Crystals for {} baud; tolerance {} %. Ranked per {} by\n"
      "the worst error of each rate's best setting ({} and "
      "reload).\n{}\n",
      RatesText(request.rates), ShortestText(request.tolerance_percent),
      chip ? "chip family" : "clock mode",
      chip ? "<generator>/<clocks>[s<SMOD>]" : "T<timer>/<SMOD>",
      SignLegend(request.tolerance_percent)));
  for (const ClockModeRanking& ranking : rankings) {
    Grid grid{{{{"rank"}, {"MHz"}, {"worst"}, {"mark"}}},
              {Align::kRight, Align::kRight, Align::kRight, Align::kLeft}};
    for (double rate : request.rates) {
      grid.rows.front().push_back({ShortestText(rate)});
      grid.align.push_back(Align::kLeft);
    }
    int rank = 0;
    for (const CrystalScore& crystal : ranking.crystals) {
      std::vector<Cell>& row = grid.rows.emplace_back();
      row.push_back({fmt::format("{}", ++rank)});
      row.push_back({ShortestText(crystal.frequency_mhz)});
      row.push_back({crystal.reachable
                         ? PercentText(crystal.worst_error_percent)
                         : "--"});
      row.push_back(
          {MarkWords(crystal.mark, request.tolerance_percent, Tongue::kEnglish),
           RowOf(crystal.mark).color});
      for (const Outcome& best : crystal.best) row.push_back(BestCell(best));
    }
    if (ranking.chip != nullptr) {
      text +=
          fmt::format("\n{} ({}):\n", ranking.chip->family, ranking.chip->name);
    } else {
      text += fmt::format("\n{} clock{} per machine cycle:\n", ranking.clocks,
                          ranking.clocks == 1 ? "" : "s");
    }
    text += out(grid);
  }
  return text;
}

std::string TickText(const Request& request,
                     std::span<const TickOutcome> ranked, Out out) {
  std::vector<TickRow> rows;
  rows.reserve(ranked.size());
  for (const TickOutcome& outcome : ranked) {
    rows.push_back({outcome, request.tolerance_percent});
  }
  const Grid grid =
      PeopleGrid<TickRow>(TickColumns(), rows, PartsOf(request), ColorOf);
  return fmt::format("{} MHz, period {}; tolerance {} %\n",
                     ShortestText(request.frequency_mhz),
                     PeriodText(request.period_s),
                     ShortestText(request.tolerance_percent)) +
         out(grid);
}

// chips: each family as --chip names it, its generators with their clock
// choices, what FREQ is, and the documents its rows rest on.
std::string ChipsText() {
  std::string text;
  for (const Chip& chip : Chips()) {
    text += fmt::format("{:<9} {}\n", chip.name, chip.family);
    if (!chip.aliases.empty()) {
      text += fmt::format(
          "          also as {}\n",
          fmt::join(chip.aliases.begin(), chip.aliases.end(), ", "));
    }
    for (const auto& [unit, generator] : BaudModes(chip)) {
      std::string clocks;
      for (std::size_t i = 0; i < generator->k.size(); ++i) {
        clocks += fmt::format("{}{}", clocks.empty() ? "" : ", ",
                              unit->clocks[i].clocks);
      }
      text += fmt::format("          {:<7} {}; clocks per count {}{}\n",
                          generator->key, generator->text, clocks,
                          generator->smod ? "; SMOD 0, 1" : "");
    }
    if (!chip.clock.empty()) {
      text += fmt::format("          FREQ is {}\n", chip.clock);
    }
    text += fmt::format("          checked against: {}\n", chip.document);
    text += fmt::format("          rows from: {}\n",
                        EvidenceWords(chip.evidence).en);
    if (chip.timer_sources != nullptr) {
      text += fmt::format("          FREQ is {}\n", TimerClock(chip));
      text += fmt::format("          timers checked against: {}\n",
                          TimerDocument(chip));
      text += fmt::format("          timers' rows from: {}\n",
                          EvidenceWords(TimerEvidence(chip)).en);
    }
  }
  return text;
}

// The README's tables of the families: the baud-rate generators, then the
// general-purpose timers of the families that record them.
std::string ChipsMarkdown() {
  std::vector<Chip> timed;
  for (const Chip& chip : Chips()) {
    if (!TickUnits(chip).empty()) timed.push_back(chip);
  }
  return "Baud-rate generators:\n\n" +
         MarkdownOf(PeopleGrid<Chip>(ChipColumns(), Chips(), {})) +
         "\nGeneral-purpose timers (tick, tick-code):\n\n" +
         MarkdownOf(PeopleGrid<Chip>(TickTimerColumns(), timed, {}));
}

}  // namespace

std::optional<Link> LinkOf(const Request& request, const Outcome& outcome,
                           double baud) {
  const Peer* peer = FindPeer(request.peer);
  if (peer == nullptr) return std::nullopt;
  return JudgeLink(*peer, baud, outcome, request.frame, request.clock_ppm);
}

std::string ChipsReport(const Request& request) {
  switch (request.format) {
    case Format::kCsv:
      return ChipsCsv();
    case Format::kJson:
      return ChipsJson();
    case Format::kMarkdown:
      return ChipsMarkdown();
    case Format::kText:
      break;
  }
  return ChipsText();
}

std::string TickReport(const Request& request,
                       std::span<const TickOutcome> ranked, Style style) {
  switch (request.format) {
    case Format::kCsv:
      return TickCsv(request, ranked);
    case Format::kJson:
      return TickJson(request, ranked);
    case Format::kText:
    case Format::kMarkdown:
      break;
  }
  return TickText(request, ranked, {request.format, style});
}

std::string SettingsReport(const Request& request,
                           std::span<const Outcome> ranked, Style style) {
  switch (request.format) {
    case Format::kCsv:
      return SettingsCsv(request, ranked);
    case Format::kJson:
      return SettingsJson(request, ranked);
    case Format::kText:
    case Format::kMarkdown:
      break;
  }
  return SettingsText(request, ranked, {request.format, style});
}

std::string TableReport(const Request& request, std::span<const TableRow> rows,
                        Style style) {
  switch (request.format) {
    case Format::kCsv:
      return TableCsv(request, rows);
    case Format::kJson:
      return TableJson(request, rows);
    case Format::kText:
    case Format::kMarkdown:
      break;
  }
  return TableText(request, rows, {request.format, style});
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
    case Format::kMarkdown:
      break;
  }
  return CrystalsText(request, rankings, {request.format, style});
}

}  // namespace cli
