#pragma once
// explain: the code FILE (or standard input) holds, read back for one
// family, as text for a terminal or as JSON.

#include <string>

#include "cli/command_line.h"
#include "cli/report.h"
#include "cli/run.h"
#include "timers/explain.h"

namespace cli {

// Reads `request.file` ("-": standard input) and explains it. Code with
// no register write recognised, an empty or binary file, one over 1 MiB
// or one that cannot be read is bad input (status 2), said on standard
// error.
//   ExplainAnswer({explain, 11.0592, file with "TMOD = 0x20; ..."}, {})
//       -> {0, "11.0592 MHz, classic 8052 ...", ""}
//   ExplainAnswer({.., file with "hello"}, {})
//       -> {2, "", "baud51-cli: FILE \"..\": no register write ..."}
RunResult ExplainAnswer(const Request& request, Style style);

// The report of an explanation that has one.
//   text: a heading, then Serial:, Timers: and Findings: with a line each
//   json: {"frequency_mhz":..,"chip":..,"serial":[..],"timers":[..],
//          "findings":[{"kind":..,"line":..,"text":..}]}
std::string ExplainReport(const Request& request,
                          const mcs51::explain::Family& family,
                          const mcs51::Explanation& explanation);

}  // namespace cli
