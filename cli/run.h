#pragma once
// The whole program as a function of its arguments, so that tests and the
// fuzzer run it without a process: what it would print, and its status.

#include <span>
#include <string>

#include "cli/report.h"

namespace cli {

inline constexpr int kExitAnswered = 0;
inline constexpr int kExitRefused = 1;  // code cannot meet the tolerance
inline constexpr int kExitBadInput = 2;

struct RunResult {
  int status = kExitAnswered;
  std::string out;  // standard output
  std::string err;  // standard error: one line, or nothing
};

// Runs the arguments after the program's name. Never throws for any input.
//   Run({"11.0592", "9600"}, {}) -> {0, "11.0592 MHz, 9600 baud; ...", ""}
//   Run({"code", "11.0592", "921600"}, {}) -> {1, "", "baud51-cli: no ..."}
//   Run({"12abc", "9600"}, {}) -> {2, "", "baud51-cli: FREQ '12abc' is ..."}
RunResult Run(std::span<const std::string> args, Style style);

}  // namespace cli
