#pragma once
// What the command line asks for, read strictly. Every rejection is one
// line that names the argument; nothing here prints or exits.

#include <span>
#include <string>
#include <vector>

#include "cli/options.h"
#include "mcs51/answers/reports.h"
#include "mcs51/explain/explain.h"
#include "mcs51/reading/sources.h"

namespace cli {

inline constexpr char kProgramName[] = "baud51-cli";

// What code writes: C, or assembly for SDCC's sdas8051. (The tongue of
// its comments is mcs51::Tongue.)
enum class CodeLanguage { kC, kAsm };

// The question the answer is for, and how to answer it.
struct Request : mcs51::Question {
  Command command = Command::kSettings;
  mcs51::Format format = mcs51::Format::kText;
  CodeLanguage language = CodeLanguage::kC;  // code and tick-code
  // delay: TIME as typed and read, the function's name, and --times.
  std::string time_text;
  double time_s = 0.0;
  std::string name;
  bool times = false;
  // explain: FILE..., "-" for standard input; -I, -D and -U; --check and
  // the kinds --ignore drops.
  std::vector<std::string> files;
  mcs51::Compiler compiler = mcs51::Compiler::kKeil;
  std::vector<std::string> include_dirs;
  std::vector<mcs51::Define> defines;
  bool check = false;
  std::vector<mcs51::FindingKind> ignore;
  // explain of a built image: the time run from reset, and the simulator.
  double sim_time_s = 1.0;
  std::string simulator = "s51";
};

struct ParseResult {
  bool ok = false;
  Request request;
  std::string error;  // one line, without the program's name, when !ok
};

// Reads the arguments after the program's name, options anywhere before
// "--". "-h"/"--help" or "--version" anywhere before "--" win over
// everything else.
//   {"11.0592", "9600"}          -> settings, 11.0592 MHz, {9600}
//   {"--baud", "9600,19.2k", "table", "12"} -> table, 12 MHz, {9600, 19200}
//   {"foo"}                      -> "\"foo\": unknown command; ..."
ParseResult ParseArguments(std::span<const std::string> args);

// The --help text, from the tables of commands and options: usage,
// commands, options, what numbers are read, the settings covered and not,
// marks and exit statuses.
//   HelpText().starts_with("Usage: baud51-cli") -> true
std::string HelpText();

// "baud51-cli 1.00": the name and the window's version.
//   VersionText() -> "baud51-cli 1.00\n"
std::string VersionText();

}  // namespace cli
