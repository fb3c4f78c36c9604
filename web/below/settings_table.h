#pragma once
// The baud settings' table, code area and choosers below the window as
// text for settings.js: what the area shows, apart from when it shows it.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "web/below/page_words.h"

#ifndef BAUD51_VERSION_TEXT
#error "BAUD51_VERSION_TEXT comes from the top-level CMakeLists.txt"
#endif

namespace web {

// Who the page's code says wrote it: the page, at the program's version;
// otherwise the code is the command line's, byte for byte.
//   Writer(kEnglish) -> "the baud51 page 1.00"
//   Writer(kChinese) -> "baud51 网页 1.00"
std::string Writer(Tongue language);

// What a table row shows beside the setting itself.
struct TableView {
  bool chip = false;  // the setting's label as a column of its own
  // The other end of the line, judged at `baud` with 8N1 and each clock off
  // by mcs51::kDefaultClockPpm; nullptr for none.
  const mcs51::Peer* peer = nullptr;
  double baud = 0;
  double tolerance_percent = 0;
  Tongue language = Tongue::kChinese;
};

// The table as text: a header line, then one line per outcome that starts
// with its mark's key (for its colour) and the setting's label (the row's
// name for a reader), then its cells; fields are separated by tabs. With a
// peer, four more cells: its rate, the mismatch, the margin and the link.
//   TableText(T1/1/12 FD at 11.0592, {.peer = ch340, .baud = 9600, en})
//       -> a row ending "9600\t+0.00 %\t43.6... %\tworks"
std::string TableText(std::span<const mcs51::Outcome> ranked,
                      const TableView& view);

// The caption's tail for a peer: which bridge, where its rates come from,
// and what the link is judged with; empty for none.
std::string PeerCaption(const mcs51::Peer* peer, Tongue language);

// What the code area shows for `outcome`: the init code `baud51-cli code`
// writes for it (`assembly`: `code --lang asm`), or, where the command line
// refuses, why, with no code.
struct CodeText {
  std::string text;
  bool code;
};
CodeText CodeFor(double frequency_mhz, double baud,
                 const mcs51::Outcome& outcome, double tolerance_percent,
                 Tongue language, bool assembly);

// The chooser's entries: the classic settings, each family, all families.
struct ChipEntry {
  std::string filter;  // as --chip takes it; empty for the classic settings
  std::string label;
};
std::vector<ChipEntry> ChipEntries(Tongue language);

// The other end's chooser: none first, then mcs51::Peers() in order, each
// by its maker's part name.
//   PeerLabels(en) -> {"not judged", "FTDI FT232R", ..., "an ideal peer"}
std::vector<std::string> PeerLabels(Tongue language);

}  // namespace web
