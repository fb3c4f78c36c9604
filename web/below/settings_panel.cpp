#include "web/below/settings_panel.h"

#include <fmt/format.h>

#include <utility>

#include "calc/reading.h"
#include "mcs51/answers/answers.h"
#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/working.h"
#include "web/below/crystal_panel.h"
#include "web/below/delay_panel.h"
#include "web/below/sections.h"
#include "web/below/tick_panel.h"
#include "web/below/typed.h"
#include "web/dom.h"

extern "C" {
void baud51_dom_options(const char* id, std::size_t id_length,
                        const char* labels, std::size_t labels_length);
void baud51_dom_select(const char* id, std::size_t id_length, int index);
void baud51_dom_below_lang(const char* tag, std::size_t tag_length);
void baud51_dom_settings(const char* caption, std::size_t caption_length,
                         const char* table, std::size_t table_length,
                         int chosen);
void baud51_dom_refusal(const char* text, std::size_t text_length);
void baud51_dom_working(const char* text, std::size_t text_length);
void baud51_dom_code(const char* text, std::size_t text_length, int code);
void baud51_dom_link(const char* pairs, std::size_t pairs_length);
}

namespace web {
namespace {

using mcs51::ShortestText;

void Word(std::string_view id, std::string_view text) {
  baud51_dom_word(id.data(), id.size(), text.data(), text.size());
}

void Select(std::string_view id, std::size_t index) {
  baud51_dom_select(id.data(), id.size(), static_cast<int>(index));
}

// A chooser's options, one label a line.
void Options(std::string_view id, std::span<const std::string> labels) {
  std::string lines;
  for (const std::string& label : labels) lines += label + '\n';
  baud51_dom_options(id.data(), id.size(), lines.data(), lines.size());
}

void Table(std::string_view id, const std::string& caption,
           const std::string& table) {
  baud51_dom_table(id.data(), id.size(), caption.data(), caption.size(),
                   table.data(), table.size());
}

std::string Fmt(std::string_view format, auto&&... args) {
  return fmt::format(fmt::runtime(format), args...);
}

// A value as one line of the link's pairs: a tab or line break, which the
// page's fields can hold only when a link put it there, reads as a blank.
std::string Pair(std::string_view key, std::string_view value) {
  std::string line = Fmt("{}\t{}\n", key, value);
  for (std::size_t i = key.size() + 1; i + 1 < line.size(); ++i) {
    if (line[i] == '\t' || line[i] == '\n' || line[i] == '\r') line[i] = ' ';
  }
  return line;
}

}  // namespace

SettingsView::SettingsView(Tongue language) : language_(language) { Words(); }

void SettingsView::Words() {
  const PageWords& w = WordsOf(language_);
  for (const ElementWord& element : w.elements) Word(element.id, element.text);
  chips_ = ChipEntries(language_);
  std::vector<std::string> labels;
  for (const ChipEntry& entry : chips_) labels.push_back(entry.label);
  Options("chip", labels);
  Select("chip", chip_);
  Options("peer", PeerLabels(language_));
  Select("peer", peer_ == nullptr ? 0 : peer_ - mcs51::Peers().data() + 1);
  Select("lang", language_ == Tongue::kEnglish ? 1 : 0);
  Select("code-lang", assembly_ ? 1 : 0);
  const std::string_view tag = WordsOf(language_).tag;
  baud51_dom_below_lang(tag.data(), tag.size());
  baud51_dom_set_value("period", 6, period_.data(), period_.size());
  baud51_dom_set_value("delay", 5, delay_.data(), delay_.size());
  baud51_dom_set_value("tolerance", 9, tolerance_text_.data(),
                       tolerance_text_.size());
}

void SettingsView::Apply(const LinkChoices& link) {
  if (link.fresh) {
    assembly_ = false;
    chip_ = 0;
    peer_ = nullptr;
    period_ = kFirstPeriod;
    delay_ = kFirstPeriod;
    tolerance_text_ = kFirstTolerance;
    linked_setting_.clear();
    tick_.clear();
  }
  if (link.language == "en" || link.language == "zh") {
    language_ = *link.language == "en" ? Tongue::kEnglish : Tongue::kChinese;
  }
  if (link.code == "c" || link.code == "asm") assembly_ = *link.code == "asm";
  if (link.chip) {
    for (std::size_t i = 1; i < chips_.size(); ++i) {
      if (chips_[i].filter == *link.chip) chip_ = i;
    }
  }
  if (link.setting) linked_setting_ = *link.setting;
  if (link.peer) {
    if (const mcs51::Peer* peer = mcs51::FindPeer(*link.peer)) peer_ = peer;
  }
  if (link.period) period_ = *link.period;
  if (link.delay) delay_ = *link.delay;
  if (link.tick) {
    tick_ = *link.tick;
    tick_linked_ = true;
  }
  if (link.tolerance && ReadTypedPercent(*link.tolerance).value) {
    tolerance_text_ = *link.tolerance;
  }
  // The link is written once the window's fields are read.
  Words();
}

void SettingsView::Show(std::string frequency_text, std::string baud_text,
                        bool held) {
  link_held_ = held;
  frequency_text_ = std::move(frequency_text);
  baud_text_ = std::move(baud_text);
  // A new crystal or rate starts on the best tick row, but a link's.
  if (!std::exchange(tick_linked_, false)) tick_.clear();
  Render(false);
}

std::optional<SettingsView::Read> SettingsView::ReadFields() {
  const PageWords& w = WordsOf(language_);
  struct Field {
    std::string_view id;  // the element the text was typed into
    std::string_view name;
    const std::string& text;
    calc::Reading (*read)(std::string_view);
    std::string_view example;
    double Read::*value;
  };
  Read read;
  std::string refusal;
  for (const Field& field :
       {Field{"Combo1", w.frequency, frequency_text_, calc::ReadFrequency,
              w.frequency_example, &Read::frequency_mhz},
        Field{"Combo2", w.baud, baud_text_, calc::ReadBaud, w.baud_example,
              &Read::baud},
        Field{"tolerance", w.tolerance, tolerance_text_, ReadTypedPercent,
              w.tolerance_example, &Read::tolerance}}) {
    const calc::Reading reading = field.read(field.text);
    // The first field not read is the one the refusal is about, though the
    // window read it; each of the others is marked as it now reads.
    Invalid(field.id, "refusal", !reading.value && refusal.empty());
    if (reading.value) {
      read.*field.value = *reading.value;
    } else if (refusal.empty()) {
      refusal = Unread(field.name, field.text, reading.problem, field.example,
                       field.read, language_);
    }
  }
  if (!refusal.empty()) {
    baud51_dom_refusal(refusal.data(), refusal.size());
    return std::nullopt;
  }
  return read;
}

void SettingsView::Render(bool keep) {
  read_ = ReadFields();
  ranked_.clear();
  if (!read_) {
    ReadCode();
    WriteLink();
    return;
  }
  const PageWords& w = WordsOf(language_);
  const mcs51::Filter filter{.chip = chips_[chip_].filter};
  const std::vector<const mcs51::Setting*> settings = mcs51::Matching(filter);
  ranked_ = mcs51::Rank(settings, read_->frequency_mhz, read_->baud,
                        read_->tolerance);
  const std::string wanted = !linked_setting_.empty() ? linked_setting_
                             : keep                   ? setting_
                                                      : std::string();
  row_ = 0;
  for (std::size_t i = 0; i < ranked_.size(); ++i) {
    if (mcs51::SettingLabel(*ranked_[i].setting) == wanted) {
      row_ = i;
      linked_setting_.clear();
    }
  }
  const std::string caption =
      Fmt(w.caption, ShortestText(read_->frequency_mhz),
          ShortestText(read_->baud), ShortestText(read_->tolerance)) +
      PeerCaption(peer_, language_);
  const std::string table =
      TableText(ranked_, {.chip = !filter.chip.empty(),
                          .peer = peer_,
                          .baud = read_->baud,
                          .tolerance_percent = read_->tolerance,
                          .language = language_});
  baud51_dom_settings(caption.data(), caption.size(), table.data(),
                      table.size(), static_cast<int>(row_));
  ShowRow();
  Ticks();
  Delay();
  ReadCode();
  if (rates_open_) ShowRates(*read_);
}

void SettingsView::Ticks(bool table) {
  if (!read_) return;
  const TicksShown shown = ShowTicks({.period_text = period_,
                                      .frequency_mhz = read_->frequency_mhz,
                                      .tolerance_percent = read_->tolerance,
                                      .chip_filter = chips_[chip_].filter,
                                      .chosen = tick_,
                                      .language = language_,
                                      .assembly = assembly_,
                                      .table = table});
  // A choice the new table lacks is gone: the link says what is shown.
  if (!shown.labels.empty()) {
    tick_labels_ = shown.labels;
    if (tick_labels_[shown.chosen] != tick_) tick_.clear();
  }
}

void SettingsView::ChooseTick(int index) {
  link_held_ = false;
  if (index < 0 || static_cast<std::size_t>(index) >= tick_labels_.size()) {
    return;
  }
  tick_ = tick_labels_[static_cast<std::size_t>(index)];
  Ticks(false);
  WriteLink();
}

void SettingsView::SetPeriod(std::string text) {
  link_held_ = false;
  period_ = std::move(text);
  tick_.clear();
  Ticks();
  WriteLink();
}

void SettingsView::Delay() const {
  if (!read_) return;
  ShowDelay(delay_, read_->frequency_mhz, chips_[chip_].filter, language_,
            assembly_);
}

void SettingsView::SetDelay(std::string text) {
  link_held_ = false;
  delay_ = std::move(text);
  Delay();
  WriteLink();
}

// The paste is read at the crystal the window last calculated with, which
// a link does not hold: it may be long.
void SettingsView::ReadCode() {
  if (!read_) {
    pasted_.Unread(language_);
    return;
  }
  pasted_.Show(read_->frequency_mhz, read_->tolerance, chips_[chip_].filter,
               language_);
}

void SettingsView::SetCode() {
  pasted_.Take();
  ReadCode();
}

void SettingsView::OpenRates() {
  rates_open_ = true;
  if (read_) ShowRates(*read_);
}

void SettingsView::ShowRow() {
  if (!read_ || row_ >= ranked_.size()) {
    baud51_dom_code("", 0, 0);
    baud51_dom_working("", 0);
    WriteLink();
    return;
  }
  const mcs51::Outcome& outcome = ranked_[row_];
  setting_ = mcs51::SettingLabel(*outcome.setting);
  const CodeText shown = CodeFor(read_->frequency_mhz, read_->baud, outcome,
                                 read_->tolerance, language_, assembly_);
  baud51_dom_code(shown.text.data(), shown.text.size(), shown.code);
  std::string working;
  if (outcome.fits) {
    const PageWords& w = WordsOf(language_);
    const mcs51::Working lines =
        mcs51::WorkingOf(outcome, read_->frequency_mhz, read_->baud);
    working = Fmt("{}\n{} = {}\n{} = {}", lines.reload, w.actual_label,
                  lines.actual, w.error_label, lines.error);
  }
  baud51_dom_working(working.data(), working.size());
  WriteLink();
}

void SettingsView::ShowRates(const Read& read) {
  const PageWords& w = WordsOf(language_);
  const mcs51::Filter filter{.chip = chips_[chip_].filter};
  const std::vector<const mcs51::Setting*> settings = mcs51::Matching(filter);
  std::string table =
      Fmt("{}\t{}\t{}\t{}\t{}\t{}\n", w.rate, w.best,
          Heading("reload_hex", language_), Heading("actual_baud", language_),
          Heading("error_percent", language_), Heading("mark", language_));
  for (const double rate : mcs51::kStandardRates) {
    const mcs51::Outcome best =
        mcs51::Rank(settings, read.frequency_mhz, rate, read.tolerance).front();
    const mcs51::SettingRow row{best};
    const auto cell = [&](std::string_view key) {
      return mcs51::CellText(mcs51::SettingColumns(), key, row);
    };
    table += Fmt(
        "{}\t{}\t{}\t{}\t{}\t{}\t{}\n", mcs51::MarkKey(best.mark),
        ShortestText(rate),
        best.fits ? mcs51::SettingLabel(*best.setting) : std::string(w.none),
        cell("reload_hex"), cell("actual_baud"), cell("error_percent"),
        mcs51::MarkWords(best.mark, read.tolerance, language_));
  }
  Table("rates",
        Fmt(w.rates_caption, ShortestText(read.frequency_mhz),
            ShortestText(read.tolerance)),
        table);
}

void SettingsView::FindCrystals(std::string rates_text) {
  crystal_rates_ = std::move(rates_text);
  ShowCrystals(crystal_rates_, tolerance_text_, chips_[chip_].filter,
               language_);
}

void SettingsView::ChooseChip(int index) {
  link_held_ = false;
  if (index < 0 || static_cast<std::size_t>(index) >= chips_.size()) return;
  chip_ = static_cast<std::size_t>(index);
  Render(true);
  if (!crystal_rates_.empty()) FindCrystals(crystal_rates_);
}

void SettingsView::ChooseRow(int index) {
  link_held_ = false;
  if (index < 0 || static_cast<std::size_t>(index) >= ranked_.size()) return;
  row_ = static_cast<std::size_t>(index);
  ShowRow();
}

void SettingsView::ChooseLanguage(int index) {
  link_held_ = false;
  language_ = index == 1 ? Tongue::kEnglish : Tongue::kChinese;
  Words();
  Render(true);
  if (!crystal_rates_.empty()) FindCrystals(crystal_rates_);
}

void SettingsView::ChooseCode(int index) {
  link_held_ = false;
  assembly_ = index == 1;
  ShowRow();
  Ticks();
  Delay();
}

void SettingsView::ChoosePeer(int index) {
  const std::span<const mcs51::Peer> peers = mcs51::Peers();
  if (index < 0 || static_cast<std::size_t>(index) > peers.size()) return;
  link_held_ = false;
  peer_ = index == 0 ? nullptr : &peers[static_cast<std::size_t>(index) - 1];
  Render(true);
}

void SettingsView::SetTolerance(std::string text) {
  link_held_ = false;
  tolerance_text_ = std::move(text);
  Render(true);
  if (!crystal_rates_.empty()) FindCrystals(crystal_rates_);
}

void SettingsView::WriteLink() const {
  if (link_held_) return;
  // key TAB value per line; the page encodes them.
  std::string pairs = Pair("freq", frequency_text_) + Pair("baud", baud_text_);
  if (chip_ != 0) pairs += Pair("chip", chips_[chip_].filter);
  if (peer_ != nullptr) pairs += Pair("peer", peer_->name);
  if (period_ != kFirstPeriod) pairs += Pair("period", period_);
  if (delay_ != kFirstPeriod) pairs += Pair("delay", delay_);
  if (!setting_.empty()) pairs += Pair("setting", setting_);
  if (!tick_.empty()) pairs += Pair("tick", tick_);
  if (tolerance_text_ != kFirstTolerance) pairs += Pair("tol", tolerance_text_);
  pairs += Pair("lang", TongueKey(language_)) +
           Pair("code", assembly_ ? "asm" : "c");
  baud51_dom_link(pairs.data(), pairs.size());
}

}  // namespace web
