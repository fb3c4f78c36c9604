#include "web/settings_panel.h"

#include <fmt/format.h>

#include "timers/catalogue.h"
#include "timers/init_code.h"
#include "timers/text.h"

#ifndef BAUD51_VERSION_TEXT
#error "BAUD51_VERSION_TEXT comes from the top-level CMakeLists.txt"
#endif

extern "C" {
void baud51_dom_chip_option(const char* label, std::size_t label_length);
void baud51_dom_settings(const char* caption, std::size_t caption_length,
                         const char* table, std::size_t table_length);
void baud51_dom_code(const char* text, std::size_t text_length, int code);
}

namespace web {
namespace {

using timers::Mark;
using timers::ShortestText;

// The command line's signature, so that the code is the one it writes.
constexpr std::string_view kWriter = "baud51-cli " BAUD51_VERSION_TEXT;

void AppendRow(std::string& text, const timers::Outcome& outcome, bool chip,
               double tolerance_percent) {
  const timers::Setting& s = *outcome.setting;
  const std::string label = timers::SettingLabel(s);
  text.append(timers::MarkKey(outcome.mark)).append("\t").append(label);
  if (chip) text.append("\t").append(label);
  const timers::RowCells c = timers::CellsOf(outcome);
  for (const std::string* cell :
       {&c.timer, &c.smod, &c.clocks, &c.reload, &c.actual_baud, &c.error}) {
    text.append("\t").append(*cell);
  }
  text.append("\t").append(MarkWords(outcome.mark, tolerance_percent));
  text += '\n';
}

}  // namespace

std::string MarkWords(Mark mark, double tolerance_percent) {
  switch (mark) {
    case Mark::kExact:
      return "精确";
    case Mark::kClose:
      return ShortestText(timers::kClosePercent) + " % 以内";
    case Mark::kWithin:
      return ShortestText(tolerance_percent) + " % 以内";
    case Mark::kBeyond:
      return "超出 " + ShortestText(tolerance_percent) + " %";
    case Mark::kOutOfRange:
      break;
  }
  return "超出范围";
}

std::string TableText(std::span<const timers::Outcome> ranked, bool chip,
                      double tolerance_percent) {
  std::string text = chip ? "设置\t" : "";
  text += "定时器\tSMOD\t时钟数\t重装值\t实际波特率\t误差\t标记\n";
  for (const timers::Outcome& outcome : ranked) {
    AppendRow(text, outcome, chip, tolerance_percent);
  }
  return text;
}

CodeText CodeFor(double frequency_mhz, double baud,
                 const timers::Outcome& outcome, double tolerance_percent) {
  switch (timers::RefusalOf(outcome)) {
    case timers::Refusal::kNone:
      return {timers::InitCode(frequency_mhz, baud, outcome, kWriter), true};
    case timers::Refusal::kOutOfRange:
      return {"重装值超出范围：这个设置得不到这个波特率。", false};
    case timers::Refusal::kBeyond:
      break;
  }
  return {"误差 " + timers::PercentText(outcome.error_percent) + " 超出 " +
              ShortestText(tolerance_percent) +
              " % 的容差：baud51-cli code 不为它写代码。",
          false};
}

std::vector<ChipEntry> ChipEntries() {
  std::vector<ChipEntry> entries{{"", "通用 8051 设置（不限芯片）"}};
  for (const timers::Chip& chip : timers::Chips()) {
    entries.push_back({std::string(chip.name),
                       fmt::format("{}：{}", chip.name, chip.family)});
  }
  entries.push_back({"all", "全部芯片系列"});
  return entries;
}

SettingsView::SettingsView() : chips_(ChipEntries()) {
  for (const ChipEntry& entry : chips_) {
    baud51_dom_chip_option(entry.label.data(), entry.label.size());
  }
}

void SettingsView::Show(double frequency_mhz, double baud) {
  frequency_mhz_ = frequency_mhz;
  baud_ = baud;
  const timers::Filter filter{.chip = chips_[chip_].filter};
  const std::vector<const timers::Setting*> settings = timers::Matching(filter);
  ranked_ = timers::Rank(settings, frequency_mhz, baud,
                         timers::kDefaultTolerancePercent);
  const std::string caption = fmt::format(
      "{} MHz，{} 波特；容差 {} %，最好的在前", ShortestText(frequency_mhz),
      ShortestText(baud), ShortestText(timers::kDefaultTolerancePercent));
  const std::string table = TableText(ranked_, !filter.chip.empty(),
                                      timers::kDefaultTolerancePercent);
  baud51_dom_settings(caption.data(), caption.size(), table.data(),
                      table.size());
  ChooseRow(0);
}

void SettingsView::ChooseChip(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= chips_.size()) return;
  chip_ = static_cast<std::size_t>(index);
  if (frequency_mhz_) Show(*frequency_mhz_, baud_);
}

void SettingsView::ChooseRow(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ranked_.size()) {
    baud51_dom_code("", 0, 0);
    return;
  }
  const CodeText shown =
      CodeFor(*frequency_mhz_, baud_, ranked_[static_cast<std::size_t>(index)],
              timers::kDefaultTolerancePercent);
  baud51_dom_code(shown.text.data(), shown.text.size(), shown.code);
}

}  // namespace web
