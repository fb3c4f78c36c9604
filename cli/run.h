#pragma once
// The whole program as a function of its arguments, so that tests and the
// fuzzer run it without a process: what it would print, and its status.

#include <cstdio>
#include <span>
#include <string>

#include "mcs51/answers/columns.h"

namespace cli {

inline constexpr int kExitAnswered = 0;
inline constexpr int kExitRefused = 1;  // code cannot meet the tolerance
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitWriteFailed = 3;  // by Deliver, never by Run
inline constexpr int kExitInternal = 4;     // a fault of the program's own

struct RunResult {
  int status = kExitAnswered;
  std::string out;  // standard output
  std::string err;  // standard error: one line, or nothing; --check's lines
};

// Runs the arguments after the program's name. Never throws for any input.
//   Run({"11.0592", "9600"}, {}) -> {0, "11.0592 MHz, 9600 baud; ...", ""}
//   Run({"code", "11.0592", "921600"}, {}) -> {1, "", "baud51-cli: no ..."}
//   Run({"12abc", "9600"}, {}) -> {2, "", "baud51-cli: FREQ \"12abc\": ..."}
RunResult Run(std::span<const std::string> args, mcs51::Style style);

// Writes the result to `out` and `err`, each in one write, so a reader
// never sees half a table, and returns the exit status: the result's, or
// kExitWriteFailed, with one line on `err` saying why, when `out` cannot
// take it all.
//   Deliver({0, "12 MHz...", ""}, stdout, stderr) with stdout on /dev/full
//     -> 3, "baud51-cli: cannot write the output: No space left on device"
int Deliver(const RunResult& result, std::FILE* out, std::FILE* err);

}  // namespace cli
