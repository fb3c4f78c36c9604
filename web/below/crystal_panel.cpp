#include "web/below/crystal_panel.h"

#include <fmt/format.h>

#include <vector>

#include "calc/reading.h"
#include "mcs51/answers/answers.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"
#include "web/below/sections.h"
#include "web/below/typed.h"
#include "web/dom.h"

namespace web {
namespace {

using mcs51::ShortestText;

std::string Fmt(std::string_view format, auto&&... args) {
  return fmt::format(fmt::runtime(format), args...);
}

void Table(std::string_view id, const std::string& caption,
           const std::string& table) {
  baud51_dom_table(id.data(), id.size(), caption.data(), caption.size(),
                   table.data(), table.size());
}

// The table: per clock mode (or family) a heading row, then its five best
// crystals with each rate's best setting.
std::string CrystalTable(const std::vector<double>& rates,
                         std::string_view chip_filter, double tolerance,
                         Tongue language) {
  const PageWords& w = WordsOf(language);
  std::string table =
      Fmt("{}\t{}\t{}\t{}", w.rank, w.mhz, w.worst, Heading("mark", language));
  for (const double rate : rates) table += "\t" + ShortestText(rate);
  table += '\n';
  const mcs51::Filter filter{.chip = std::string(chip_filter)};
  for (const mcs51::ClockModeRanking& mode :
       mcs51::RankCrystals(rates, filter, tolerance)) {
    // A group's heading row, then its five best crystals.
    table +=
        Fmt("group\t{}\n", mode.chip != nullptr
                               ? std::string(mode.chip->family.In(language))
                               : Fmt(w.clock_mode, mode.clocks));
    for (std::size_t i = 0; i < mode.crystals.size() && i < 5; ++i) {
      const mcs51::CrystalScore& score = mode.crystals[i];
      const mcs51::CrystalRow row{score, static_cast<int>(i) + 1, tolerance};
      table += mcs51::MarkKey(score.mark);
      for (std::string_view key :
           {"rank", "frequency_mhz", "worst_error_percent"}) {
        table.append("\t").append(
            mcs51::CellText(mcs51::CrystalColumns(), key, row));
      }
      table += "\t" + mcs51::MarkWords(score.mark, tolerance, language);
      for (const mcs51::Outcome& best : score.best) {
        table +=
            "\t" + (best.fits ? mcs51::SettingLabel(*best.setting) + " " +
                                    mcs51::CellText(mcs51::SettingColumns(),
                                                    "reload_hex",
                                                    mcs51::SettingRow{best})
                              : std::string("--"));
      }
      table += '\n';
    }
  }
  return table;
}

}  // namespace

void ShowCrystals(std::string_view rates_text, std::string_view tolerance_text,
                  std::string_view chip_filter, Tongue language) {
  const PageWords& w = WordsOf(language);
  const calc::Reading tolerance = ReadTypedPercent(tolerance_text);
  std::vector<double> rates;
  std::string refusal, read_rates;
  for (const std::string& item : RateItems(rates_text)) {
    const calc::Reading rate = calc::ReadBaud(item);
    if (!rate.value) {
      refusal = Unread(w.rates, item, rate.problem, w.baud_example,
                       calc::ReadBaud, language);
      break;
    }
    rates.push_back(*rate.value);
    read_rates += (read_rates.empty() ? "" : " ") + ShortestText(*rate.value);
  }
  const bool rates_refused = !refusal.empty() || rates.empty();
  if (rates.empty() && refusal.empty()) {
    refusal = Unread(w.rates, rates_text, calc::ReadProblem::kNotANumber,
                     w.baud_example, calc::ReadBaud, language);
  }
  if (!tolerance.value) {
    refusal = Unread(w.tolerance, tolerance_text, tolerance.problem,
                     w.tolerance_example, calc::ReadPercent, language);
  }
  Invalid("crystal-rates", "crystals-message", rates_refused);
  Status("crystals-message", refusal);
  if (!refusal.empty()) {
    Table("crystals", "", "");
    return;
  }
  Table("crystals",
        Fmt(w.crystals_caption, read_rates, ShortestText(*tolerance.value)),
        CrystalTable(rates, chip_filter, *tolerance.value, language));
}

}  // namespace web
