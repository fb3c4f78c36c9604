#include "web/tick_panel.h"

#include <fmt/format.h>

#include <vector>

#include "calc/reading.h"
#include "timers/text.h"
#include "timers/tick_code.h"
#include "timers/tick_text.h"
#include "web/dom.h"
#include "web/settings_table.h"

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

void Code(const std::string& text, bool code) {
  baud51_dom_tick_code(text.data(), text.size(), code ? 1 : 0);
}

}  // namespace

std::string TickTableText(std::span<const mcs51::TickOutcome> ranked,
                          double tolerance_percent, Tongue language) {
  std::string text;
  for (std::string_view key :
       {"setting", "timer", "mode", "clocks", "reload_hex", "interrupts",
        "actual_period_s", "error_percent", "mark"}) {
    text.append(text.empty() ? "" : "\t").append(Heading(key, language));
  }
  text += '\n';
  for (const mcs51::TickOutcome& outcome : ranked) {
    const mcs51::TickCells c = mcs51::TickCellsOf(outcome);
    text += fmt::format(
        "{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\t{}\n",
        mcs51::RowOf(outcome.mark).key, mcs51::TickLabel(*outcome.setting),
        c.timer, c.mode, c.clocks, c.reload, c.interrupts, c.actual_period,
        c.error, mcs51::MarkWords(outcome.mark, tolerance_percent, language));
  }
  return text;
}

void ShowTicks(std::string_view period_text, double frequency_mhz,
               double tolerance_percent, const std::string& chip_filter,
               Tongue language, bool assembly) {
  const PageWords& w = WordsOf(language);
  const calc::Reading period = calc::ReadPeriod(period_text);
  if (!period.value) {
    Table(Unread(w.period, period_text, period.problem, w.period_example,
                 calc::ReadPeriod, language),
          "");
    Code("", false);
    return;
  }
  const std::vector<const mcs51::TickSetting*> settings =
      mcs51::TickMatching({.chip = chip_filter});
  const std::vector<mcs51::TickOutcome> ranked = mcs51::RankTicks(
      settings, frequency_mhz, *period.value, tolerance_percent);
  Table(fmt::format(fmt::runtime(w.ticks_caption),
                    mcs51::ShortestText(frequency_mhz),
                    mcs51::PeriodText(*period.value),
                    mcs51::ShortestText(tolerance_percent)),
        TickTableText(ranked, tolerance_percent, language));
  if (settings.empty()) {
    Code(std::string(w.tick_refused), false);
    return;
  }
  const mcs51::TickChoice choice = mcs51::ChooseTick(
      settings, frequency_mhz, *period.value, tolerance_percent);
  if (choice.refusal != mcs51::Refusal::kNone) {
    Code(std::string(w.tick_refused), false);
    return;
  }
  Code(assembly ? mcs51::AsmTickCode(frequency_mhz, *period.value, choice.best,
                                     kWriter, language)
                : mcs51::TickCode(frequency_mhz, *period.value, choice.best,
                                  kWriter, language),
       true);
}

}  // namespace web
