#include "cli/command_line.h"

#include <fmt/format.h>

#include <optional>
#include <string_view>

#include "cli/parser.h"
#include "cli/reading.h"
#include "cli/words.h"
#include "timers/ticks.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace timers;  // NOLINT(google-build-using-namespace)
namespace {

// A rejection, or nothing when the arguments read so far are good.
using Problem = std::optional<std::string>;

// A flag anywhere before "--" (-h/--help, --version) wins over everything
// else, bad input included.
bool AnswerFlag(std::span<const std::string> args, Request& request) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    const OptionRow* option = FindOption(arg);
    if (option != nullptr && option->values == Values::kFlag) {
      option->store(arg, request);
      return true;
    }
  }
  return false;
}

Problem ReadNumber(std::string_view name, const std::string& text,
                   Reading (*read)(std::string_view), double& value) {
  const Reading reading = read(text);
  if (!reading.value) return Rejection(name, text, reading.problem);
  value = *reading.value;
  return std::nullopt;
}

std::string FilterText(const Filter& filter) {
  std::string text;
  if (filter.timer) text += fmt::format(" --timer {}", *filter.timer);
  if (filter.smod) text += fmt::format(" --smod {}", *filter.smod);
  if (filter.clocks) text += fmt::format(" --clock {}", *filter.clocks);
  if (filter.mode) text += fmt::format(" --mode {}", *filter.mode);
  if (!filter.chip.empty()) text += fmt::format(" --chip {}", filter.chip);
  return text.substr(1);
}

// The filters, whose values the parser has checked, must leave a setting.
Problem CheckFilter(const Filter& filter, bool ticks) {
  if (ticks ? !TickMatching(filter).empty() : !Matching(filter).empty()) {
    return std::nullopt;
  }
  if (ticks) {
    return Rejection(FilterText(filter),
                     fmt::format("no timer setting matches (see {} chips "
                                 "and --help)",
                                 kProgramName));
  }
  if (!filter.chip.empty()) {
    return Rejection(FilterText(filter),
                     fmt::format("no setting of that chip matches (see {} "
                                 "chips)",
                                 kProgramName));
  }
  return Rejection(FilterText(filter),
                   "no setting matches; SMOD is Timer 1's, and Timer 2 has "
                   "12 and 6 clocks only");
}

bool StartsWithLetter(std::string_view text) {
  return !text.empty() && ((text[0] >= 'a' && text[0] <= 'z') ||
                           (text[0] >= 'A' && text[0] <= 'Z'));
}

// "table, crystals, code and chips".
std::string CommandNames() {
  std::vector<std::string> names;
  for (const CommandRow& command : CommandRows()) {
    if (!command.name.empty()) names.emplace_back(command.name);
  }
  std::string text = JoinedOr(names);
  const std::size_t last = text.rfind(" or ");
  return last == text.npos ? text : text.replace(last, 4, " and ");
}

// A command's arguments: FREQ first where it takes one, then each BAUD;
// table without --baud takes the standard rates.
Problem ReadArguments(const CommandRow& command,
                      const std::vector<std::string>& texts, Request& request) {
  std::size_t next = 0;
  if (command.arguments.starts_with("FREQ") && !texts.empty()) {
    if (Problem problem = ReadNumber("FREQ", texts[next++], ReadFrequency,
                                     request.frequency_mhz)) {
      return problem;
    }
  }
  if (command.command == Command::kExplain) {
    if (next < texts.size()) request.file = texts[next];
    return std::nullopt;
  }
  if (IsTick(command.command)) {
    return ReadNumber("PERIOD", texts.at(next), ReadPeriod, request.period_s);
  }
  if (command.command == Command::kDelay) {
    request.time_text = texts.at(next);
    return ReadNumber("TIME", texts.at(next), ReadTime, request.time_s);
  }
  for (; next < texts.size(); ++next) {
    double baud = 0.0;
    if (Problem problem = ReadNumber("BAUD", texts[next], ReadBaud, baud)) {
      return problem;
    }
    request.rates.push_back(baud);
  }
  if (command.command == Command::kTable && request.rates.empty()) {
    request.rates.assign(kStandardRates.begin(), kStandardRates.end());
  }
  return std::nullopt;
}

// FREQ BAUD, the default: two words, the first not a command's name.
Problem ReadSettings(const std::vector<std::string>& words, Request& request) {
  if (words.empty()) {
    return Rejection("FREQ BAUD", "missing, or give a command (see --help)");
  }
  const Reading frequency = ReadFrequency(words[0]);
  if (!frequency.value && frequency.problem == kNotANumber &&
      StartsWithLetter(words[0])) {
    return Rejection("", words[0],
                     fmt::format("unknown command; the commands are {}, or "
                                 "give FREQ BAUD",
                                 CommandNames()));
  }
  if (Problem problem =
          ReadNumber("FREQ", words[0], ReadFrequency, request.frequency_mhz)) {
    return problem;
  }
  if (words.size() < 2) {
    return Rejection("BAUD",
                     fmt::format("missing after FREQ {}", Quoted(words[0])));
  }
  if (words.size() > 2) {
    return Rejection("", words[2], "unexpected after FREQ BAUD");
  }
  double baud = 0.0;
  if (Problem problem = ReadNumber("BAUD", words[1], ReadBaud, baud)) {
    return problem;
  }
  request.rates.push_back(baud);
  return std::nullopt;
}

Problem Read(std::span<const std::string> args, Request& request) {
  Parser parser;
  if (Problem problem = parser.Parse(args)) return problem;
  for (const OptionRow& option : OptionRows()) {
    if (option.needs.empty() || parser.Texts(option).empty()) continue;
    const OptionRow* needed = FindOption(option.needs);
    if (needed != nullptr && parser.Texts(*needed).empty()) {
      return Rejection(option.name, fmt::format("only with {}", option.needs));
    }
  }
  // Each option's value, in the table's order.
  for (const OptionRow& option : OptionRows()) {
    if (option.store == nullptr) continue;
    for (const std::string& text : parser.Texts(option)) {
      option.store(text, request);
    }
  }
  const CommandRow& command = parser.Given();
  // delay's --chip and --clock pick a core, not a setting (timers/cores.h).
  if (Problem problem =
          command.command == Command::kDelay
              ? std::nullopt
              : CheckFilter(request.filter, IsTick(command.command))) {
    return problem;
  }
  request.command = command.command;
  if (command.command == Command::kSettings) {
    return ReadSettings(parser.Arguments(), request);
  }
  return ReadArguments(command, parser.Arguments(), request);
}

}  // namespace

ParseResult ParseArguments(std::span<const std::string> args) {
  ParseResult result;
  if (AnswerFlag(args, result.request)) {
    result.ok = true;
    return result;
  }
  if (Problem problem = Read(args, result.request)) {
    result.error = std::move(*problem);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace cli
