// The families' tables of mcs51/answers/answers.h: the baud-rate generators and
// the general-purpose timers, with the documents behind them.
#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "mcs51/answers/answers.h"
#include "mcs51/delays/delay.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

// A family's names as --chip takes them: "`at89c51rd2` (also
// `at89c51rb2`, ...)".
std::string ChipNames(const Chip& chip) {
  std::string text = fmt::format("`{}`", chip.name);
  for (std::size_t i = 0; i < chip.aliases.size(); ++i) {
    text += fmt::format("{}`{}`", i == 0 ? " (also " : ", ", chip.aliases[i]);
  }
  return chip.aliases.empty() ? text : text + ")";
}

// "12, 6 or 1 clocks per count";  "1 clock per count".
std::string PerCount(const std::vector<int>& clocks) {
  std::vector<std::string> words;
  for (int each : clocks) words.push_back(fmt::format("{}", each));
  const std::string text = JoinedOr(words);
  const bool one = clocks.size() == 1 && clocks.front() == 1;
  return text + (one ? " clock per count" : " clocks per count");
}

// "`t1` Timer 1 mode 2 (12 clocks per count; SMOD)".
std::string GeneratorsText(const Chip& chip) {
  std::string text;
  for (const FittedMode& fitted : BaudModes(chip)) {
    const BaudMode& g = *fitted.mode;
    std::vector<int> clocks;
    for (std::size_t i = 0; i < g.k.size(); ++i) {
      clocks.push_back(fitted.unit->clocks[i].clocks);
    }
    text += fmt::format("{}`{}` {} ({}{})", text.empty() ? "" : "; ", g.key,
                        g.text.en, PerCount(clocks), g.smod ? "; SMOD" : "");
  }
  return text;
}

// "`t0` Timer 0 (modes 0, 1, 2; 12 clocks per count)".
std::string TimersText(const Chip& chip) {
  std::string text;
  for (const Unit* t : TickUnits(chip)) {
    std::string modes;
    int offered = 0;
    for (const TickMode& mode : t->ticks) {
      if (mode.reload == Reload::kNone) continue;  // read back, not offered
      modes += fmt::format("{}{}", modes.empty() ? "" : ", ", mode.key);
      ++offered;
    }
    // The clock choices its tick modes take, which may be fewer than the
    // unit's own (the DS89C4x0's Timer 1 ticks at 12 or 4 only).
    std::size_t taken = 0;
    for (const TickMode& mode : t->ticks) {
      taken = std::max(taken, mode.choices == 0
                                  ? t->clocks.size()
                                  : static_cast<std::size_t>(mode.choices));
    }
    std::vector<int> clocks;
    for (std::size_t i = 0; i < taken; ++i) {
      clocks.push_back(t->clocks[i].clocks);
    }
    text += fmt::format("{}`{}` Timer {} (mode{} {}; {})",
                        text.empty() ? "" : "; ", t->key, t->number,
                        offered == 1 ? "" : "s", modes, PerCount(clocks));
  }
  return text;
}

using C = Chip;
constexpr Column<C> kChipNames = {
    .key = "names",
    .header = {"`--chip`", "`--chip`"},
    .cell = [](const C& c) { return Value(ChipNames(c)); },
    .align = Align::kLeft,
    .for_machines = false};
constexpr Column<C> kChip = {.key = "chip",
                             .cell = [](const C& c) { return Value(c.name); },
                             .align = Align::kLeft};
constexpr Column<C> kFamily = {
    .key = "family",
    .header = {"Family", "芯片系列"},
    .cell = [](const C& c) { return Value(c.family.en); },
    .align = Align::kLeft};
constexpr Words kCheckedAgainst = {"Checked against", "依据的文件"};
constexpr Column<C> kDocument = {
    .key = "document",
    .header = kCheckedAgainst,
    .cell = [](const C& c) { return Value(c.document); },
    .align = Align::kLeft};
constexpr Words kRowsFrom = {"Rows from", "测试行的依据"};
constexpr Column<C> kEvidence = {
    .key = "evidence",
    .header = kRowsFrom,
    .cell = [](const C& c) { return Value(EvidenceWords(c.evidence).en); },
    .align = Align::kLeft};

// The tick table's: the documents its timer records rest on.
constexpr Column<C> kTimerDocument = {
    .key = "document",
    .header = kCheckedAgainst,
    .cell = [](const C& c) { return Value(TimerDocument(c)); },
    .align = Align::kLeft};

constexpr Column<C> kTimerEvidence = {
    .key = "evidence",
    .header = kRowsFrom,
    .cell =
        [](const C& c) { return Value(EvidenceWords(TimerEvidence(c)).en); },
    .align = Align::kLeft};

// What FREQ is where it is not the crystal.
constexpr Column<C> kFreq = {.key = "freq",
                             .header = {"FREQ", "FREQ"},
                             .cell =
                                 [](const C& c) {
                                   return c.clock.empty() ? std::nullopt
                                                          : Value(c.clock);
                                 },
                             .align = Align::kLeft,
                             .none = ""};

// Each generator on a line: "t1      Timer 1 in mode 2; clocks per count
// 12; SMOD 0, 1".
std::string GeneratorLines(const Chip& chip) {
  std::string text;
  for (const auto& [unit, generator] : BaudModes(chip)) {
    std::string clocks;
    for (std::size_t i = 0; i < generator->k.size(); ++i) {
      clocks += fmt::format("{}{}", clocks.empty() ? "" : ", ",
                            unit->clocks[i].clocks);
    }
    text += fmt::format("{}{:<7} {}; clocks per count {}{}",
                        text.empty() ? "" : "\n", generator->key,
                        generator->text.en, clocks,
                        generator->smod ? "; SMOD 0, 1" : "");
  }
  return text;
}

// A cell of the timers' own sources, where the family has them.
Value OwnTimers(const C& c, const Column<C>& column) {
  return c.timer_sources == nullptr ? std::nullopt : column.cell(c);
}

// How the family's delays keep time, each core's way once: "cycles",
// "timer", "none".
std::string DelayMethods(const Chip& chip) {
  std::vector<std::string_view> ways;
  for (const Core* core : chip.cores) {
    const std::optional<DelayMethod> method = DelayMethodOf(chip, *core);
    const std::string_view way = method ? DelayMethodKey(*method) : "none";
    if (std::find(ways.begin(), ways.end(), way) == ways.end()) {
      ways.push_back(way);
    }
  }
  return fmt::format("{}", fmt::join(ways, ", "));
}

constexpr Column<C> kDelay = {
    .key = "delay",
    .header = {"Delay", "延时"},
    .cell = [](const C& c) { return Value(DelayMethods(c)); },
    .align = Align::kLeft};

const Column<C> kChipCard[] = {
    kChip,
    kFamily,
    {.key = "aliases",
     .header = {"also as"},
     .cell =
         [](const C& c) {
           if (c.aliases.empty()) return Value();
           return Value(fmt::format(
               "{}", fmt::join(c.aliases.begin(), c.aliases.end(), ", ")));
         }},
    {.key = "generators",
     .cell = [](const C& c) { return Value(GeneratorLines(c)); }},
    {.key = "freq", .header = {"FREQ is"}, .cell = kFreq.cell},
    {.key = "document", .header = {"checked against:"}, .cell = kDocument.cell},
    {.key = "evidence", .header = {"rows from:"}, .cell = kEvidence.cell},
    {.key = "delay", .header = {"delays by:"}, .cell = kDelay.cell},
    {.key = "not_modelled",
     .header = {"not modelled:"},
     .cell =
         [](const C& c) {
           return c.not_modelled.empty() ? Value() : Value(c.not_modelled);
         }},
    {.key = "timer_freq",
     .header = {"FREQ is"},
     .cell =
         [](const C& c) {
           return c.timer_sources == nullptr ? Value() : Value(TimerClock(c));
         }},
    {.key = "timer_document",
     .header = {"timers checked against:"},
     .cell = [](const C& c) { return OwnTimers(c, kTimerDocument); }},
    {.key = "timer_evidence",
     .header = {"timers' rows from:"},
     .cell = [](const C& c) { return OwnTimers(c, kTimerEvidence); }},
};

const Column<C> kChipColumns[] = {
    kChipNames,
    kChip,
    kFamily,
    {.key = "generators",
     .header = {"Generators", "波特率发生器"},
     .cell = [](const C& c) { return Value(GeneratorsText(c)); },
     .align = Align::kLeft},
    kFreq,
    kDocument,
    kEvidence,
    kDelay,
};

const Column<C> kTickTimerColumns[] = {
    kChipNames,
    kChip,
    kFamily,
    {.key = "timers",
     .header = {"Timers", "定时器"},
     .cell = [](const C& c) { return Value(TimersText(c)); },
     .align = Align::kLeft},
    kTimerDocument,
    kTimerEvidence,
};

}  // namespace

std::span<const Column<Chip>> ChipColumns() { return kChipColumns; }
std::span<const Column<Chip>> TickTimerColumns() { return kTickTimerColumns; }
std::span<const Column<Chip>> ChipCard() { return kChipCard; }

Words EvidenceWords(Evidence evidence) {
  switch (evidence) {
    case Evidence::kPrintedTable:
      return {"a printed table", "印出的表"};
    case Evidence::kMakersExample:
      return {"a maker's example; no printed table", "厂家的例子；无印出的表"};
    case Evidence::kFormulaOnly:
      break;
  }
  return {"the formula only; no printed table", "只有公式；无印出的表"};
}

}  // namespace mcs51
