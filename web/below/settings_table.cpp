#include "web/below/settings_table.h"

#include <fmt/format.h>

#include <optional>
#include <span>

#include "mcs51/answers/answers.h"
#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/text.h"

namespace web {
namespace {

// The table's columns of the settings answer, each named once: between
// the setting and its mark, and after it with a peer (then its link).
constexpr std::string_view kCells[] = {
    "timer", "smod", "clocks", "reload_hex", "actual_baud", "error_percent"};
constexpr std::string_view kPeerCells[] = {
    "peer_actual_baud", "mismatch_percent", "margin_percent"};

std::string Fmt(std::string_view format, auto&&... args) {
  return fmt::format(fmt::runtime(format), args...);
}

// A peer as the page names it: the maker's part, or the ideal peer in the
// page's language.
std::string_view PeerName(const mcs51::Peer& peer, const PageWords& w) {
  return peer.name == "exact" ? w.exact_peer : peer.part;
}

void AppendRow(std::string& text, const mcs51::Outcome& outcome,
               const TableView& view) {
  const std::string label = mcs51::SettingLabel(*outcome.setting);
  // The row's classes: its mark's key, and with a peer the link's.
  std::optional<mcs51::Link> link;
  if (view.peer != nullptr) {
    link = mcs51::JudgeLink(*view.peer, view.baud, outcome, mcs51::Frame::k8n1,
                            mcs51::kDefaultClockPpm);
  }
  text.append(mcs51::RowOf(outcome.mark).key);
  if (link) text.append(" linked ").append(mcs51::RowOf(link->mark).key);
  text.append("\t").append(label);
  if (view.chip) text.append("\t").append(label);
  const mcs51::SettingRow row{outcome, link ? &*link : nullptr,
                              view.tolerance_percent};
  const auto cells = [&](std::span<const std::string_view> keys) {
    for (std::string_view key : keys) {
      text.append("\t").append(
          mcs51::CellText(mcs51::SettingColumns(), key, row));
    }
  };
  cells(kCells);
  const Tongue tongue = view.language;
  text.append("\t").append(
      mcs51::MarkWords(outcome.mark, view.tolerance_percent, tongue));
  if (link) {
    cells(kPeerCells);
    text.append("\t").append(mcs51::RowOf(link->mark).words.In(tongue));
  }
  text += '\n';
}

}  // namespace

std::string TableText(std::span<const mcs51::Outcome> ranked,
                      const TableView& view) {
  const PageWords& w = WordsOf(view.language);
  std::string text = std::string(w.choose) + "\t";
  const auto h = [&](std::string_view key) {
    return Heading(key, view.language);
  };
  if (view.chip) text.append(h("setting")).append("\t");
  for (std::string_view key : kCells) text.append(h(key)).append("\t");
  text.append(h("mark"));
  if (view.peer != nullptr) {
    // The peer's rate is headed as the page names the peer.
    text.append("\t").append(w.peer_baud);
    for (std::string_view key : std::span(kPeerCells).subspan(1)) {
      text.append("\t").append(h(key));
    }
    text.append("\t").append(h("link"));
  }
  text += '\n';
  for (const mcs51::Outcome& outcome : ranked) {
    AppendRow(text, outcome, view);
  }
  return text;
}

std::string PeerCaption(const mcs51::Peer* peer, Tongue language) {
  if (peer == nullptr) return "";
  const PageWords& w = WordsOf(language);
  return Fmt(w.peer_caption, PeerName(*peer, w), peer->source,
             mcs51::ShortestText(mcs51::kDefaultClockPpm));
}

std::string Writer(Tongue language) {
  return Fmt(WordsOf(language).writer, BAUD51_VERSION_TEXT);
}

CodeText CodeFor(double frequency_mhz, double baud,
                 const mcs51::Outcome& outcome, double tolerance_percent,
                 Tongue language, bool assembly) {
  const PageWords& w = WordsOf(language);
  switch (mcs51::RefusalOf(outcome)) {
    case mcs51::Refusal::kNone:
      if (assembly) {
        return {mcs51::AsmInitCode(frequency_mhz, baud, outcome,
                                   Writer(language), language),
                true};
      }
      return {mcs51::InitCode(frequency_mhz, baud, outcome, Writer(language),
                              language),
              true};
    case mcs51::Refusal::kOutOfRange:
      return {std::string(w.refused_out_of_range), false};
    case mcs51::Refusal::kBeyond:
      break;
  }
  return {Fmt(w.refused_beyond, mcs51::PercentText(outcome.error_percent),
              mcs51::ShortestText(tolerance_percent)),
          false};
}

std::vector<ChipEntry> ChipEntries(Tongue language) {
  const PageWords& w = WordsOf(language);
  std::vector<ChipEntry> entries{{"", std::string(w.classic)}};
  for (const mcs51::Chip& chip : mcs51::Chips()) {
    entries.push_back(
        {std::string(chip.name), Fmt("{}{}{}", chip.name, w.family_separator,
                                     chip.family.In(language))});
  }
  entries.push_back({"all", std::string(w.all)});
  return entries;
}

std::vector<std::string> PeerLabels(Tongue language) {
  const PageWords& w = WordsOf(language);
  std::vector<std::string> labels{std::string(w.no_peer)};
  for (const mcs51::Peer& peer : mcs51::Peers()) {
    labels.emplace_back(PeerName(peer, w));
  }
  return labels;
}

}  // namespace web
