#pragma once
// Below the window: every setting for the window's crystal and rate, ranked
// by mcs51/ as the command line ranks them, in Chinese or English; the
// chosen row's working and its init code (C byte for byte as `baud51-cli
// code` writes it, or assembly); the standard rates and the crystal
// chooser. The window's fields are read strictly, as the command line
// reads them; the sections' own as typed (web/typed.h), then strictly.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "web/below/page_words.h"
#include "web/below/read_panel.h"
#include "web/below/settings_table.h"

namespace web {

// What a link may set below the window; each is ignored when absent or
// not one of the values it takes. A fresh link (the address's fragment
// changed) puts back the page's first choices where it is silent, but the
// language.
struct LinkChoices {
  std::optional<std::string> language, code, chip, setting, peer, period, delay;
  std::optional<std::string> tick, tolerance;
  bool fresh = false;
};

// The area below the window, kept until the next calculation. Changes the
// page through settings.js; every change writes the link.
class SettingsView {
 public:
  explicit SettingsView(Tongue language);

  void Apply(const LinkChoices& link);
  // The window's field texts as last calculated; read strictly here.
  // `held`: the address keeps the link the window refused, until the next
  // choice.
  void Show(std::string frequency_text, std::string baud_text,
            bool held = false);
  void ChooseChip(int index);
  void ChooseRow(int index);
  void ChooseTick(int index);      // a row of the tick table
  void ChooseLanguage(int index);  // 0 Chinese, 1 English
  void ChooseCode(int index);      // 0 C, 1 assembly
  void ChoosePeer(int index);      // 0 none, then mcs51::Peers() in order
  void SetTolerance(std::string text);
  // The timers' section's period, as typed ("1ms", "250us", "50Hz").
  void SetPeriod(std::string text);
  // The delay section's time, as typed ("1ms", "2.5ms", "250us").
  void SetDelay(std::string text);
  // The code-reading section's text area, as it is now.
  void SetCode();
  // The standard rates, from now on with every table: ranking them all
  // would slow every update that nobody looks at.
  void OpenRates();
  void FindCrystals(std::string rates_text);

 private:
  struct Read {
    double frequency_mhz = 0, baud = 0, tolerance = 0;
  };
  void Words();
  // `keep`: the chosen row stays chosen where the new table has it.
  void Render(bool keep);
  std::optional<Read> ReadFields();
  void ShowRow();
  void ShowRates(const Read& read);
  void WriteLink() const;

  Tongue language_;
  bool assembly_ = false;
  std::size_t chip_ = 0;
  std::vector<ChipEntry> chips_;
  // The tolerance the page starts with, which the link then omits.
  static constexpr std::string_view kFirstTolerance = "2";
  std::string frequency_text_, baud_text_, tolerance_text_{kFirstTolerance};
  std::string crystal_rates_;
  bool rates_open_ = false;
  std::optional<Read> read_;
  std::vector<mcs51::Outcome> ranked_;
  std::size_t row_ = 0;
  std::string setting_;  // the chosen row's label
  // A link's setting, chosen in the first table that has it; every other
  // table starts on its best row.
  std::string linked_setting_;
  // The period the timers' section and the time the delay section start
  // with, which the link then omits.
  static constexpr std::string_view kFirstPeriod = "1ms";
  const mcs51::Peer* peer_ = nullptr;
  std::string period_{kFirstPeriod};
  // The chosen tick row's label (empty: the best); a link's is kept
  // through the press the link makes.
  std::string tick_;
  bool tick_linked_ = false;
  std::vector<std::string> tick_labels_;
  std::string delay_{kFirstPeriod};
  // The address as a refused link left it, kept until the next choice.
  bool link_held_ = false;
  void Ticks(bool table = true);
  void Delay() const;
  PastedCode pasted_;
  void ReadCode();
};

}  // namespace web
