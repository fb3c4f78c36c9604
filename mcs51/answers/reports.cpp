#include "mcs51/answers/reports.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <string_view>

#include "mcs51/answers/documents.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51 {

namespace {

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
std::string PeerLine(const Question& question, std::optional<double> baud) {
  const Peer& peer = *FindPeer(question.peer);
  std::string rate;
  if (baud) {
    const std::optional<double> actual = peer.actual(*baud);
    rate = actual ? fmt::format(": {:.2f} baud", *actual)
                  : fmt::format(": cannot make {} baud", ShortestText(*baud));
  }
  return fmt::format("Peer {}, {}{}\n  ({}).\n", peer.name, peer.part, rate,
                     peer.source);
}

std::string LinkTerms(const Question& question) {
  return fmt::format("frame {}, each clock within {} ppm, the worse direction",
                     kFrameKeys[static_cast<std::size_t>(question.frame)],
                     ShortestText(question.clock_ppm));
}

std::string PeerLines(const Question& question, double baud) {
  return PeerLine(question, baud) +
         fmt::format("Link: {}.\n", LinkTerms(question));
}

// The table's link signs, and where the peer's rates come from.
std::string LinkLegend(const Question& question) {
  return PeerLine(question, std::nullopt) +
         fmt::format("Links: {}; {}.\n", LinkTerms(question),
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

Sheet SettingsSheet(const Question& question, std::span<const Outcome> ranked) {
  const double baud = question.rates.front();
  std::deque<std::optional<Link>> links;
  const std::vector<SettingRow> rows =
      SettingRows(question, ranked, baud, links);
  const Grid grid = PeopleGrid<SettingRow>(SettingColumns(), rows,
                                           PartsOf(question), ColorOf);
  return {fmt::format("{} MHz, {} baud; tolerance {} %\n",
                      ShortestText(question.frequency_mhz), ShortestText(baud),
                      ShortestText(question.tolerance_percent)) +
              (question.peer.empty() ? "" : PeerLines(question, baud)),
          {{"", grid}}};
}

// A setting's cell in a rate's row: reload, mark sign, and the link's.
Cell RateCell(const Question& question, const Outcome& outcome, double baud) {
  std::string cell = ReloadCell(outcome);
  if (!question.peer.empty() && outcome.fits) {
    cell += RowOf(LinkOf(question, outcome, baud)->mark).sign;
  }
  return {std::move(cell), RowOf(outcome.mark).color};
}

// The table's grid: the rate's columns around a column per setting.
Grid TableGrid(const Question& question, std::span<const TableRow> rows) {
  std::vector<std::optional<Link>> links;
  std::vector<RateRow> rates;
  links.reserve(rows.size());
  for (const TableRow& row : rows) {
    const auto& link = links.emplace_back(LinkOf(question, row.best, row.baud));
    rates.push_back({row.baud, row.best, link ? &*link : nullptr});
  }
  Grid grid = PeopleGrid<RateRow>(
      RateColumns(), rates, PartsOf(question),
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
        cells.push_back(RateCell(question, outcome, rows[r - 1].baud));
      }
    }
    grid.rows[r].insert(grid.rows[r].begin() + 1, cells.begin(), cells.end());
  }
  return grid;
}

Sheet TableSheet(const Question& question, std::span<const TableRow> rows) {
  return {fmt::format("{} MHz; tolerance {} %. Columns: {}.\n{}\n",
                      ShortestText(question.frequency_mhz),
                      ShortestText(question.tolerance_percent),
                      question.filter.chip.empty()
                          ? "T<timer>/<SMOD>/<clocks>"
                          : "<chip>:<generator>/<clocks>[s<SMOD>]",
                      SignLegend(question.tolerance_percent)) +
              (question.peer.empty() ? "" : LinkLegend(question)),
          {{"", TableGrid(question, rows)}}};
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
Grid CrystalGrid(const Question& question, const ClockModeRanking& ranking) {
  std::vector<CrystalRow> crystals;
  for (const CrystalScore& crystal : ranking.crystals) {
    crystals.push_back({crystal, static_cast<int>(crystals.size()) + 1,
                        question.tolerance_percent});
  }
  Grid grid = PeopleGrid<CrystalRow>(
      CrystalColumns(), crystals, {},
      [](const CrystalRow& r) { return RowOf(r.crystal.mark).color; },
      "crystal_mark");
  for (double rate : question.rates) {
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

Sheet CrystalsSheet(const Question& question,
                    std::span<const ClockModeRanking> rankings) {
  const bool chip = !question.filter.chip.empty();
  Sheet sheet{
      fmt::format("Crystals for {} baud; tolerance {} %. Ranked per {} by\n"
                  "the worst error of each rate's best setting ({} and "
                  "reload).\n{}\n",
                  RatesText(question.rates),
                  ShortestText(question.tolerance_percent),
                  chip ? "chip family" : "clock mode",
                  chip ? "<generator>/<clocks>[s<SMOD>]" : "T<timer>/<SMOD>",
                  SignLegend(question.tolerance_percent)),
      {}};
  for (const ClockModeRanking& ranking : rankings) {
    sheet.parts.push_back(
        {ranking.chip != nullptr
             ? fmt::format("\n{} ({}):\n", ranking.chip->family.en,
                           ranking.chip->name)
             : fmt::format("\n{} clock{} per machine cycle:\n", ranking.clocks,
                           ranking.clocks == 1 ? "" : "s"),
         CrystalGrid(question, ranking)});
  }
  return sheet;
}

Sheet TickSheet(const Question& question, std::span<const TickOutcome> ranked) {
  const std::vector<TickRow> rows = TickRows(question, ranked);
  const Grid grid =
      PeopleGrid<TickRow>(TickColumns(), rows, PartsOf(question), ColorOf);
  return {fmt::format("{} MHz, period {}; tolerance {} %\n",
                      ShortestText(question.frequency_mhz),
                      PeriodText(question.period_s),
                      ShortestText(question.tolerance_percent)),
          {{"", grid}}};
}

// The README's tables of the families: the baud-rate generators, then the
// general-purpose timers of the families that record them.
std::string ChipsMarkdown() {
  std::vector<Chip> timed;
  for (const Chip& chip : Chips()) {
    if (!TickUnits(chip).empty()) timed.push_back(chip);
  }
  return RenderedMarkdown(
      {"",
       {{"Baud-rate generators:\n",
         PeopleGrid<Chip>(ChipColumns(), Chips(), {})},
        {"\nGeneral-purpose timers (tick, tick-code):\n",
         PeopleGrid<Chip>(TickTimerColumns(), timed, {})}}});
}

// The answer in the format asked: CSV, JSON, or people's sheet as text or
// Markdown.
template <typename Answer>
std::string Formatted(const Question& question, Answer answer, Format format,
                      Style style, std::string (*csv)(const Question&, Answer),
                      std::string (*json)(const Question&, Answer),
                      Sheet (*sheet)(const Question&, Answer)) {
  if (format == Format::kCsv) return csv(question, answer);
  if (format == Format::kJson) return json(question, answer);
  if (format == Format::kMarkdown)
    return RenderedMarkdown(sheet(question, answer));
  return RenderedText(sheet(question, answer), style);
}

// Format's bits each document is written in.
constexpr unsigned kTables = 0b1111;
constexpr unsigned kTextAndJson = 1u << static_cast<int>(Format::kText) |
                                  1u << static_cast<int>(Format::kJson);
constexpr unsigned kFindings =
    kTextAndJson | 1u << static_cast<int>(Format::kSarif);
constexpr unsigned kRendered[] = {kTables, kTables,   kTables,     kTables,
                                  kTables, kFindings, kTextAndJson};

}  // namespace

bool Renders(Document document, Format format) {
  return (kRendered[static_cast<int>(document)] >> static_cast<int>(format) &
          1u) != 0;
}

std::string RenderedIn(Document document) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < std::size(kFormatNames); ++i) {
    if (Renders(document, static_cast<Format>(i))) {
      names.emplace_back(kFormatNames[i]);
    }
  }
  return JoinedOr(names);
}

std::optional<Link> LinkOf(const Question& question, const Outcome& outcome,
                           double baud) {
  const Peer* peer = FindPeer(question.peer);
  if (peer == nullptr) return std::nullopt;
  return JudgeLink(*peer, baud, outcome, question.frame, question.clock_ppm);
}

Parts PartsOf(const Question& question) {
  return {!question.filter.chip.empty(), !question.peer.empty()};
}

std::vector<SettingRow> SettingRows(const Question& question,
                                    std::span<const Outcome> outcomes,
                                    double baud,
                                    std::deque<std::optional<Link>>& links) {
  std::vector<SettingRow> rows;
  rows.reserve(outcomes.size());
  for (const Outcome& outcome : outcomes) {
    const auto& link = links.emplace_back(LinkOf(question, outcome, baud));
    rows.push_back({outcome, link ? &*link : nullptr,
                    question.tolerance_percent, question.peer});
  }
  return rows;
}

std::vector<TickRow> TickRows(const Question& question,
                              std::span<const TickOutcome> ranked) {
  std::vector<TickRow> rows;
  rows.reserve(ranked.size());
  for (const TickOutcome& outcome : ranked) {
    rows.push_back({outcome, question.tolerance_percent});
  }
  return rows;
}

std::vector<TableRow> TableRows(const Question& question) {
  const std::vector<const Setting*> settings = Matching(question.filter);
  std::vector<TableRow> rows;
  rows.reserve(question.rates.size());
  for (double baud : question.rates) {
    TableRow row{baud, {}, {}};
    for (const Setting* setting : settings) {
      row.settings.push_back(Evaluate(*setting, question.frequency_mhz, baud,
                                      question.tolerance_percent));
    }
    row.best = Best(row.settings);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string ChipsReport(Format format) {
  switch (format) {
    case Format::kCsv:
      return ChipsCsv();
    case Format::kJson:
      return ChipsJson();
    case Format::kMarkdown:
      return ChipsMarkdown();
    case Format::kText:
    case Format::kSarif:  // not chips' (Renders)
      break;
  }
  return CardsOf<Chip>(ChipCard(), Chips());
}

std::string TickReport(const Question& question,
                       std::span<const TickOutcome> ranked, Format format,
                       Style style) {
  return Formatted(question, ranked, format, style, TickCsv, TickJson,
                   TickSheet);
}

std::string SettingsReport(const Question& question,
                           std::span<const Outcome> ranked, Format format,
                           Style style) {
  return Formatted(question, ranked, format, style, SettingsCsv, SettingsJson,
                   SettingsSheet);
}

std::string TableReport(const Question& question,
                        std::span<const TableRow> rows, Format format,
                        Style style) {
  return Formatted(question, rows, format, style, TableCsv, TableJson,
                   TableSheet);
}

std::string CrystalsReport(const Question& question,
                           std::span<const ClockModeRanking> rankings,
                           Format format, Style style) {
  return Formatted(question, rankings, format, style, CrystalsCsv, CrystalsJson,
                   CrystalsSheet);
}

}  // namespace mcs51
