#pragma once
// CLI11 set up from the table of options (options.h): what it reads and
// checks, and every refusal in our words. The reading of a Request and
// --help both start from it.

#include <CLI/CLI.hpp>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/options.h"

namespace cli {

class Parser {
 public:
  Parser();
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  // Reads the arguments after the program's name, checking each value,
  // where each option is given, and the words beside each command; the
  // first rejection, or nothing. Options may stand anywhere before "--".
  //   Parse({"table", "--baud", "9600", "12"})  -> nothing; table, FREQ 12
  //   Parse({"table", "12", "--baud", "9600", "19200"})
  //     -> "\"19200\": unexpected after table FREQ; --baud takes rates
  //         separated by commas"
  //   Parse({"--chip", "stc15", "--timer"})
  //     -> "--timer: needs a value (1 or 2)", stc15's timers
  std::optional<std::string> Parse(std::span<const std::string> args);

  // After Parse: the command given, FREQ BAUD when none.
  const CommandRow& Given() const;

  // After Parse: the command's arguments in order (FREQ BAUD's words as
  // given, however many).
  std::vector<std::string> Arguments() const;

  // After Parse: the texts given to `option` (one unless it is repeatable).
  const std::vector<std::string>& Texts(const OptionRow& option) const;

  // The program as CLI11 describes it, for --help.
  CLI::App& App() { return app_; }

 private:
  // Sets chip_; the first option given without its value, or nullptr.
  const OptionRow* Prescan(std::span<const std::string> args);
  CLI::Option* Of(const OptionRow& option) const;
  std::string Explain(const CLI::ParseError& error) const;
  std::optional<std::string> Misplaced() const;
  std::optional<std::string> Stray() const;

  CLI::App app_;
  std::string chip_;     // the --chip given, which timers and clocks follow
  bool delay_ = false;   // delay given: --clock is the core's
  bool ticks_ = false;   // a tick command given: its timers, clocks, modes
  std::string refused_;  // the first value a check refused, in our words
  std::vector<CLI::Option*> options_;  // per OptionRows() row
  std::vector<CLI::App*> commands_;    // per CommandRows() row
  std::vector<CLI::Option*> extra_;    // per row: words after its own
  std::vector<std::vector<CLI::Option*>> arguments_;  // per row
};

}  // namespace cli
