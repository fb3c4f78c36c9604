#pragma once
// What the code-reading section shows for a paste, as `baud51-cli explain
// FREQ FILE [--chip NAME]` reads it, in Chinese or English. Worked out in
// a worker of the page (read_worker.cpp), where reading a long paste holds
// up nothing; the page only draws it (read_panel.h).

#include <optional>
#include <string>
#include <string_view>

#include "mcs51/explain/explain.h"
#include "web/below/page_words.h"

namespace web {

// Why nothing was read (`message`), or the reading's heading and its
// three lists as lines of tab-separated fields: the list ("serial",
// "timers", "findings"), a head, a body that follows it (after a blank,
// or the language's colon for a finding) and a detail below, for a port.
// A list with nothing in it has one line with an empty head and its words
// for none.
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

// Why a paste never handed to the worker is not read: over 1 MiB, or
// nothing pasted yet (which reads as empty).
ReadShown RefusedFor(mcs51::CodeProblem problem, std::string_view chip_filter,
                     Tongue language);

// A paste and its reading. Reading a long paste takes a moment: its
// reading is kept for the next crystal and family alike (a press of 计算,
// a change of language).
class CodeReading {
 public:
  void Take(std::string text);
  ReadShown Show(double frequency_mhz, double tolerance_percent,
                 std::string_view chip_filter, Tongue language);

 private:
  std::string text_;
  struct Reading {
    double frequency_mhz, tolerance_percent;
    const mcs51::explain::Family* family;
    mcs51::Explanation explanation;
  };
  std::optional<Reading> read_;
};

}  // namespace web
