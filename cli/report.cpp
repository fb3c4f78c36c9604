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

// "Marks: = exact, ~ within 0.2 %, ..., -- out of range."
std::string SignLegend(double tolerance_percent) {
  return fmt::format("Marks: {}.",
                     MarkSigns(tolerance_percent, Tongue::kEnglish));
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
         fmt::format("Links: {}; {}.\n", LinkTerms(request),
                     LinkSigns(Tongue::kEnglish));
}

std::string ReloadCell(const Outcome& outcome) {
  if (!outcome.fits) return "--";
  return ReloadHex(outcome.reload, outcome.setting->profile.modulus) +
         std::string(RowOf(outcome.mark).sign);
}

std::string RatesText(std::span<const double> rates) {
  std::vector<std::string> words;
  for (double rate : rates) words.push_back(ShortestText(rate));
  return JoinedAnd(words);
}

std::string SettingsText(const Request& request,
                         std::span<const Outcome> ranked, Out out) {
  const double baud = request.rates.front();
  std::deque<std::optional<Link>> links;
  const std::vector<SettingRow> rows =
      SettingRows(request, ranked, baud, links);
  const Grid grid =
      PeopleGrid<SettingRow>(SettingColumns(), rows, PartsOf(request), ColorOf);
  return fmt::format("{} MHz, {} baud; tolerance {} %\n",
                     ShortestText(request.frequency_mhz), ShortestText(baud),
                     ShortestText(request.tolerance_percent)) +
         (request.peer.empty() ? "" : PeerLines(request, baud)) + out(grid);
}

// A setting's cell in a rate's row: reload, mark sign, and the link's.
Cell RateCell(const Request& request, const Outcome& outcome, double baud) {
  std::string cell = ReloadCell(outcome);
  if (!request.peer.empty() && outcome.fits) {
    cell += RowOf(LinkOf(request, outcome, baud)->mark).sign;
  }
  return {std::move(cell), RowOf(outcome.mark).color};
}

// The table's grid: the rate's columns around a column per setting.
Grid TableGrid(const Request& request, std::span<const TableRow> rows) {
  std::vector<std::optional<Link>> links;
  std::vector<RateRow> rates;
  links.reserve(rows.size());
  for (const TableRow& row : rows) {
    const auto& link = links.emplace_back(LinkOf(request, row.best, row.baud));
    rates.push_back({row.baud, row.best, link ? &*link : nullptr});
  }
  Grid grid = PeopleGrid<RateRow>(
      RateColumns(), rates, PartsOf(request),
      [](const RateRow& r) { return RowOf(r.best.mark).color; }, "best");
  std::vector<Cell> labels;
  if (!rows.empty()) {
    for (const Outcome& outcome : rows.front().settings) {
      labels.push_back({SettingLabel(*outcome.setting)});
    }
  }
  grid.align.insert(grid.align.begin() + 1, labels.size(), Align::kLeft);
  for (std::size_t r = 0; r < grid.rows.size(); ++r) {
    std::vector<Cell> cells = labels;
    if (r > 0) {
      cells.clear();
      for (const Outcome& outcome : rows[r - 1].settings) {
        cells.push_back(RateCell(request, outcome, rows[r - 1].baud));
      }
    }
    grid.rows[r].insert(grid.rows[r].begin() + 1, cells.begin(), cells.end());
  }
  return grid;
}

std::string TableText(const Request& request, std::span<const TableRow> rows,
                      Out out) {
  return out(fmt::format("{} MHz; tolerance {} %. Columns: {}.\n{}\n",
                         ShortestText(request.frequency_mhz),
                         ShortestText(request.tolerance_percent),
                         request.filter.chip.empty()
                             ? "T<timer>/<SMOD>/<clocks>"
                             : "<chip>:<generator>/<clocks>[s<SMOD>]",
                         SignLegend(request.tolerance_percent))) +
         (request.peer.empty() ? "" : LinkLegend(request)) +
         out(TableGrid(request, rows));
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

// A ranking's grid: the crystal's columns, then a column per rate.
Grid CrystalGrid(const Request& request, const ClockModeRanking& ranking) {
  std::vector<CrystalRow> crystals;
  for (const CrystalScore& crystal : ranking.crystals) {
    crystals.push_back({crystal, static_cast<int>(crystals.size()) + 1,
                        ranking.clocks, request.tolerance_percent});
  }
  Grid grid = PeopleGrid<CrystalRow>(
      CrystalColumns(), crystals, {},
      [](const CrystalRow& r) { return RowOf(r.crystal.mark).color; },
      "crystal_mark");
  for (double rate : request.rates) {
    grid.rows.front().push_back({ShortestText(rate)});
    grid.align.push_back(Align::kLeft);
  }
  for (std::size_t i = 0; i < crystals.size(); ++i) {
    for (const Outcome& best : crystals[i].crystal.best) {
      grid.rows[i + 1].push_back(BestCell(best));
    }
  }
  return grid;
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
    if (ranking.chip != nullptr) {
      text +=
          fmt::format("\n{} ({}):\n", ranking.chip->family, ranking.chip->name);
    } else {
      text += fmt::format("\n{} clock{} per machine cycle:\n", ranking.clocks,
                          ranking.clocks == 1 ? "" : "s");
    }
    text += out(CrystalGrid(request, ranking));
  }
  return text;
}

std::string TickText(const Request& request,
                     std::span<const TickOutcome> ranked, Out out) {
  const std::vector<TickRow> rows = TickRows(request, ranked);
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

// The answer in the format asked: CSV, JSON, or people's text (Markdown
// too).
template <typename Answer>
std::string Formatted(const Request& request, Answer answer, Style style,
                      std::string (*csv)(const Request&, Answer),
                      std::string (*json)(const Request&, Answer),
                      std::string (*text)(const Request&, Answer, Out)) {
  if (request.format == Format::kCsv) return csv(request, answer);
  if (request.format == Format::kJson) return json(request, answer);
  return text(request, answer, {request.format, style});
}

}  // namespace

std::optional<Link> LinkOf(const Request& request, const Outcome& outcome,
                           double baud) {
  const Peer* peer = FindPeer(request.peer);
  if (peer == nullptr) return std::nullopt;
  return JudgeLink(*peer, baud, outcome, request.frame, request.clock_ppm);
}

Parts PartsOf(const Request& request) {
  return {!request.filter.chip.empty(), !request.peer.empty()};
}

std::vector<SettingRow> SettingRows(const Request& request,
                                    std::span<const Outcome> outcomes,
                                    double baud,
                                    std::deque<std::optional<Link>>& links) {
  std::vector<SettingRow> rows;
  rows.reserve(outcomes.size());
  for (const Outcome& outcome : outcomes) {
    const auto& link = links.emplace_back(LinkOf(request, outcome, baud));
    rows.push_back({outcome, link ? &*link : nullptr, request.tolerance_percent,
                    request.peer});
  }
  return rows;
}

std::vector<TickRow> TickRows(const Request& request,
                              std::span<const TickOutcome> ranked) {
  std::vector<TickRow> rows;
  rows.reserve(ranked.size());
  for (const TickOutcome& outcome : ranked) {
    rows.push_back({outcome, request.tolerance_percent});
  }
  return rows;
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
  return Formatted(request, ranked, style, TickCsv, TickJson, TickText);
}

std::string SettingsReport(const Request& request,
                           std::span<const Outcome> ranked, Style style) {
  return Formatted(request, ranked, style, SettingsCsv, SettingsJson,
                   SettingsText);
}

std::string TableReport(const Request& request, std::span<const TableRow> rows,
                        Style style) {
  return Formatted(request, rows, style, TableCsv, TableJson, TableText);
}

std::string CrystalsReport(const Request& request,
                           std::span<const ClockModeRanking> rankings,
                           Style style) {
  return Formatted(request, rankings, style, CrystalsCsv, CrystalsJson,
                   CrystalsText);
}

}  // namespace cli
