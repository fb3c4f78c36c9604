#include "web/below/tick_panel.h"

#include <fmt/format.h>

#include <vector>

#include "calc/reading.h"
#include "mcs51/answers/answers.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"
#include "web/below/sections.h"
#include "web/below/settings_table.h"
#include "web/below/typed.h"
#include "web/dom.h"

extern "C" {
void baud51_dom_tick_code(const char* text, std::size_t text_length, int code);
}

namespace web {
namespace {

void Table(const std::string& caption, const std::string& table) {
  constexpr std::string_view kId = "ticks";
  baud51_dom_table(kId.data(), kId.size(), caption.data(), caption.size(),
                   table.data(), table.size());
}

// The section's status line, which also describes the period field.
constexpr std::string_view kStatus = "ticks-message";

void Code(const std::string& text, bool code) {
  baud51_dom_tick_code(text.data(), text.size(), code ? 1 : 0);
}

}  // namespace

// The table's columns between the setting and its mark, each a column of
// the tick answer.
constexpr std::string_view kTickCells[] = {
    "timer",           "mode",         "clocks", "reload_hex", "interrupts",
    "actual_period_s", "error_percent"};

std::string TickTableText(std::span<const mcs51::TickOutcome> ranked,
                          double tolerance_percent, Tongue language) {
  std::string text(Heading("setting", language));
  for (std::string_view key : kTickCells) {
    text.append("\t").append(Heading(key, language));
  }
  text.append("\t").append(Heading("mark", language)).append("\n");
  for (const mcs51::TickOutcome& outcome : ranked) {
    const mcs51::TickRow row{outcome, tolerance_percent};
    text.append(mcs51::RowOf(outcome.mark).key)
        .append("\t")
        .append(mcs51::TickLabel(*outcome.setting));
    for (std::string_view key : kTickCells) {
      text.append("\t").append(mcs51::CellText(mcs51::TickColumns(), key, row));
    }
    text.append("\t")
        .append(mcs51::MarkWords(outcome.mark, tolerance_percent, language))
        .append("\n");
  }
  return text;
}

TicksShown ShowTicks(const TickAsk& ask) {
  const PageWords& w = WordsOf(ask.language);
  const calc::Reading period = ReadTypedPeriod(ask.period_text);
  Invalid("period", kStatus, !period.value);
  if (!period.value) {
    Table("", "");
    Status(kStatus, Unread(w.period, ask.period_text, period.problem,
                           w.period_example, calc::ReadPeriod, ask.language));
    Code("", false);
    return {};
  }
  const std::vector<const mcs51::TickSetting*> settings =
      mcs51::TickMatching({.chip = std::string(ask.chip_filter)});
  const std::vector<mcs51::TickOutcome> ranked = mcs51::RankTicks(
      settings, ask.frequency_mhz, *period.value, ask.tolerance_percent);
  TicksShown shown;
  for (const mcs51::TickOutcome& outcome : ranked) {
    shown.labels.push_back(mcs51::TickLabel(*outcome.setting));
    if (shown.labels.back() == ask.chosen) {
      shown.chosen = shown.labels.size() - 1;
    }
  }
  if (ask.table) {
    Table(fmt::format(fmt::runtime(w.ticks_caption),
                      mcs51::ShortestText(ask.frequency_mhz),
                      mcs51::PeriodText(*period.value),
                      mcs51::ShortestText(ask.tolerance_percent)),
          TickTableText(ranked, ask.tolerance_percent, ask.language));
    Chooser("ticks", "tick", w.choose, shown.chosen);
  }
  // The best row refused: none is within the tolerance.
  if (ranked.empty() ||
      mcs51::RefusalOf(ranked[shown.chosen]) != mcs51::Refusal::kNone) {
    Status(kStatus, shown.chosen == 0 ? w.tick_refused : w.tick_row_refused);
    Code("", false);
    return shown;
  }
  Status(kStatus, "");
  const mcs51::TickOutcome& chosen = ranked[shown.chosen];
  const std::string writer = Writer(ask.language);
  Code(ask.assembly ? mcs51::AsmTickCode(ask.frequency_mhz, *period.value,
                                         chosen, writer, ask.language)
                    : mcs51::TickCode(ask.frequency_mhz, *period.value, chosen,
                                      writer, ask.language),
       true);
  return shown;
}

}  // namespace web
