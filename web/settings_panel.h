#pragma once
// Below the window: every setting for the window's crystal and rate, ranked
// by timers/ as the command line ranks them, in Chinese, and the init code
// of the chosen row byte for byte as `baud51-cli code` writes it.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "timers/ranking.h"

namespace web {

// The mark in the page's words, with the tolerance in force.
//   MarkWords(kClose, 2)  -> "0.2 % 以内"
//   MarkWords(kBeyond, 2) -> "超出 2 %"
std::string MarkWords(timers::Mark mark, double tolerance_percent);

// The table as text: a header line, then one line per outcome that starts
// with its mark's key (for its colour) and the setting's label (the row's
// name for a reader), then its cells; fields are separated by tabs. `chip`
// also shows the label, as the first column.
std::string TableText(std::span<const timers::Outcome> ranked, bool chip,
                      double tolerance_percent);

// What the code area shows for `outcome`: the init code `baud51-cli code`
// writes for it, or, where the command line refuses, why, with no code.
struct CodeText {
  std::string text;
  bool code;
};
CodeText CodeFor(double frequency_mhz, double baud,
                 const timers::Outcome& outcome, double tolerance_percent);

// The chooser's entries: the classic settings, each family, all families.
struct ChipEntry {
  std::string filter;  // as --chip takes it; empty for the classic settings
  std::string label;
};
std::vector<ChipEntry> ChipEntries();

// The table and code below the window, kept until the next successful
// calculation. Changes the page through settings.js.
class SettingsView {
 public:
  // Fills the chooser; the table waits for the first Show.
  SettingsView();

  // Ranks every setting of the chosen family for this crystal and rate,
  // shows them and the best one's code.
  void Show(double frequency_mhz, double baud);
  // The chooser's entry `index`; the table follows for the last crystal
  // and rate shown.
  void ChooseChip(int index);
  // Shows the code of row `index` of the table.
  void ChooseRow(int index);

 private:
  std::vector<ChipEntry> chips_;
  std::size_t chip_ = 0;
  std::optional<double> frequency_mhz_;
  double baud_ = 0;
  std::vector<timers::Outcome> ranked_;
};

}  // namespace web
