#pragma once
// The code-reading section below the delay: pasted init code read back for
// the window's crystal and the chosen family, as `baud51-cli explain FREQ
// FILE [--chip NAME]` reads it, in Chinese or English. The paste is a
// stranger's text: it and all read from it reach the page only as text.

#include <string>
#include <string_view>

#include "web/below/page_words.h"
#include "web/below/read_shown.h"

namespace web {

// The text area's paste, taken as it changes and shown read back; one of
// over 1 MiB is refused without being copied out of the page.
class PastedCode {
 public:
  void Take();
  void Show(double frequency_mhz, double tolerance_percent,
            std::string_view chip_filter, Tongue language);
  // Why there is nothing to read it at: the crystal field does not read.
  void Unread(Tongue language) const;

 private:
  bool too_large_ = false;
  CodeReading reading_;
};

}  // namespace web
