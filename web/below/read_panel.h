#pragma once
// The code-reading section below the delay: pasted init code read back for
// the window's crystal and the chosen family, as `baud51-cli explain FREQ
// FILE [--chip NAME]` reads it, in Chinese or English. The paste is a
// stranger's text: it and all read from it reach the page only as text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "mcs51/reading/explain.h"
#include "web/below/page_words.h"

namespace web {

// What the section shows: why nothing was read (`message`), or the
// reading's heading and its three lists as lines of tab-separated fields:
// the list ("serial", "timers", "findings"), a head, a body that follows
// it (after a blank, or the language's colon for a finding) and a detail
// below, for a port. A list with nothing in it has one line with an empty
// head and its words for none.
//   ReadFor("SCON = 0x40;\nTMOD = 0x20;\nTH1 = 0xFD;\n", 11.0592, 2, "", en)
//       -> {"", "11.0592 MHz, classic 8052 ..., chip 8052; tolerance 2 %",
//           "serial\tSCON\t t1: Timer 1 in mode 2\t12 clocks per count, ...\n"
//           "timers\t\tnone running or interrupting\t\n"
//           "findings\tline 1\t: the receiver is off ...\t\n"
//           "findings\tline 3\t: Timer 1 is set up but never started ...\t\n"}
//   ReadFor("  ", 12, 2, "", en).message
//       -> "The paste: empty: no code to read."
//   ReadFor(.., "all", ..) reads as the classic 8052, as "" does.
struct ReadShown {
  std::string message;
  std::string heading;
  std::string lists;
};
ReadShown ReadFor(std::string_view code, double frequency_mhz,
                  double tolerance_percent, std::string_view chip_filter,
                  Tongue language);

// The text area's paste, taken as it changes and shown read back; one of
// over 1 MiB is refused without being copied out of the page. Reading a
// long paste takes a moment: its reading is kept for the next crystal
// and family alike (a press of 计算, a change of language).
class PastedCode {
 public:
  void Take();
  void Show(double frequency_mhz, double tolerance_percent,
            std::string_view chip_filter, Tongue language);
  // Why there is nothing to read it at: the crystal field does not read.
  void Unread(Tongue language) const;

 private:
  std::string text_;
  bool too_large_ = false;
  struct Reading {
    double frequency_mhz, tolerance_percent;
    const mcs51::explain::Family* family;
    mcs51::Explanation explanation;
  };
  std::optional<Reading> read_;
};

}  // namespace web
