#pragma once
// The code-reading section below the delay: the text area's paste, read
// back for the window's crystal and the chosen family (read_shown.h) in a
// worker of the page (read.js), so that a long paste never holds up the
// page. The paste is a stranger's text: it and all read from it reach the
// page only as text.

#include <string_view>

#include "mcs51/reading/code_reader.h"
#include "web/below/page_words.h"

namespace web {

// The text area's paste, taken as it changes and shown read back; one of
// over 1 MiB is refused without being handed to the reader. Whatever is
// asked for while a paste is read (another paste, crystal, family or
// language) replaces that reading: only the last one asked for is drawn.
class PastedCode {
 public:
  void Take();
  void Show(double frequency_mhz, double tolerance_percent,
            std::string_view chip_filter, Tongue language);
  // Why there is nothing to read it at: the crystal field does not read.
  void Unread(Tongue language) const;

 private:
  // Nothing taken yet reads as empty, with no worker started for it.
  mcs51::CodeProblem refused_ = mcs51::CodeProblem::kEmpty;
};

}  // namespace web
