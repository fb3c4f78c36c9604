#include "cli/command_line.h"

#include <fmt/format.h>

#include <optional>
#include <string_view>
#include <utility>

#include "mcs51/settings/text.h"
#include "mcs51/settings/ticks.h"

namespace cli {

// mcs51/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
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
      option->store({}, request);
      return true;
    }
  }
  return false;
}

Problem ReadNumber(std::string_view name, const std::string& text,
                   calc::Reading (*read)(std::string_view), double& value) {
  const calc::Reading reading = read(text);
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

// The filters, whose values are checked, must leave a setting.
Problem CheckFilter(const Filter& filter, bool ticks) {
  if (ticks ? !TickMatching(filter).empty() : !Matching(filter).empty()) {
    return std::nullopt;
  }
  return Rejection(
      FilterText(filter),
      ticks ? fmt::format("no timer setting matches (see {} chips and --help)",
                          kProgramName)
      : !filter.chip.empty()
          ? fmt::format("no setting of that chip matches (see {} chips)",
                        kProgramName)
          : "no setting matches; SMOD is Timer 1's, and Timer 2 has 12 and 6 "
            "clocks only");
}

bool StartsWithLetter(std::string_view text) {
  return !text.empty() && ((text[0] >= 'a' && text[0] <= 'z') ||
                           (text[0] >= 'A' && text[0] <= 'Z'));
}

// A command's arguments: FREQ first where it takes one, then each BAUD;
// table without --baud takes the standard rates.
Problem ReadArguments(const CommandRow& command,
                      const std::vector<std::string>& texts, Request& request) {
  std::size_t next = 0;
  if (command.arguments.starts_with("FREQ") && !texts.empty()) {
    if (Problem problem = ReadNumber("FREQ", texts[next++], calc::ReadFrequency,
                                     request.frequency_mhz)) {
      return problem;
    }
  }
  if (command.command == Command::kExplain) {
    request.files.assign(texts.begin() + static_cast<std::ptrdiff_t>(next),
                         texts.end());
    if (request.files.empty()) request.files.emplace_back("-");
    return std::nullopt;
  }
  if (IsTick(command.command)) {
    return ReadNumber("PERIOD", texts.at(next), calc::ReadPeriod,
                      request.period_s);
  }
  if (command.command == Command::kDelay) {
    request.time_text = texts.at(next);
    return ReadNumber("TIME", texts.at(next), calc::ReadTime, request.time_s);
  }
  for (; next < texts.size(); ++next) {
    double baud = 0.0;
    if (Problem problem =
            ReadNumber("BAUD", texts[next], calc::ReadBaud, baud)) {
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
  const calc::Reading frequency = calc::ReadFrequency(words[0]);
  if (frequency.problem == calc::ReadProblem::kNotANumber &&
      StartsWithLetter(words[0])) {
    return Rejection("", words[0],
                     fmt::format("unknown command; the commands are {}, or "
                                 "give FREQ BAUD",
                                 JoinedAnd(CommandNames())));
  }
  if (!frequency.value) return Rejection("FREQ", words[0], frequency.problem);
  if (words.size() < 2) {
    return Rejection("BAUD",
                     fmt::format("missing after FREQ {}", Quoted(words[0])));
  }
  if (words.size() > 2) {
    return Rejection("", words[2], "unexpected after FREQ BAUD");
  }
  return ReadArguments(CommandRows().front(), words, request);
}

// The arguments in their places: each option's texts by row, the command,
// the words before it (FREQ BAUD's) and after it, and unknown options.
struct Sorted {
  std::vector<std::vector<std::string>> texts =
      std::vector<std::vector<std::string>>(OptionRows().size());
  const CommandRow* command = nullptr;
  std::vector<std::string> before, after, unknown;
  std::string chip;  // the first --chip given, which timers and clocks follow
  // The values of the rows taken in order, in the order given.
  std::vector<std::pair<std::size_t, std::string>> in_order;
};

const CommandRow* FindCommand(std::string_view word) {
  for (const CommandRow& command : CommandRows()) {
    if (!command.name.empty() && command.name == word) return &command;
  }
  return nullptr;
}

// An option's name, or nothing for a word: a lone "-" and a negative
// number ("-9600") are words.
bool IsOption(std::string_view arg) {
  return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

// The first option given without its value: last, followed by another
// option, or "--timer=".
const OptionRow* Sort(std::span<const std::string> args, Sorted& sorted) {
  const OptionRow* missing = nullptr;
  bool words_only = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!words_only && arg == "--") {
      words_only = true;
    } else if (!words_only && IsOption(arg)) {
      const std::size_t equals =
          arg.starts_with("--") ? arg.find('=') : arg.npos;
      const OptionRow* option = FindOption(arg.substr(0, equals));
      std::string_view attached;  // -Iinc, -DNAME=1, as compilers take them
      if (option == nullptr && !arg.starts_with("--") && arg.size() > 2) {
        option = FindOption(arg.substr(0, 2));
        if (option != nullptr && (option->values == Values::kFlag ||
                                  option->values == Values::kSwitch)) {
          option = nullptr;
        }
        attached = arg.substr(2);
      }
      if (option == nullptr) {
        sorted.unknown.emplace_back(arg);
        continue;
      }
      if (option->values == Values::kFlag) continue;
      if (option->values == Values::kSwitch) {
        sorted.texts[option - OptionRows().data()].emplace_back();
        continue;
      }
      std::string_view value = attached;
      if (!attached.empty()) {
      } else if (equals != arg.npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
        value = args[++i];
      }
      if (value.empty() && missing == nullptr) missing = option;
      if (option->values == Values::kChip && sorted.chip.empty()) {
        sorted.chip = value;
      }
      const std::size_t row =
          static_cast<std::size_t>(option - OptionRows().data());
      sorted.texts[row].emplace_back(value);
      if (option->in_order) sorted.in_order.emplace_back(row, value);
    } else if (sorted.command == nullptr && !words_only &&
               FindCommand(arg) != nullptr) {
      sorted.command = FindCommand(arg);
    } else {
      (sorted.command == nullptr ? sorted.before : sorted.after)
          .emplace_back(arg);
    }
  }
  return missing;
}

// An option given with a command it does not apply to, the first in the
// rows' order.
Problem MisplacedOption(const Sorted& sorted, Command command) {
  for (std::size_t row = 0; row < OptionRows().size(); ++row) {
    const OptionRow& option = OptionRows()[row];
    if (!sorted.texts[row].empty() && (option.commands & Bit(command)) == 0) {
      return Misplaced(option, command);
    }
  }
  return std::nullopt;
}

// A command's arguments, each needed: the first missing.
Problem Arguments(const CommandRow& command, const Sorted& sorted) {
  if (command.name.empty()) return std::nullopt;
  const std::vector<std::string> names = ArgumentNames(command);
  if (sorted.after.size() >= names.size()) return std::nullopt;
  std::string name = names[sorted.after.size()];
  if (name.starts_with('[')) return std::nullopt;  // "[FILE]", optional
  if (name.ends_with("...")) name.resize(name.size() - 3);
  return Rejection(name, fmt::format("missing ({})", UsageText(command)));
}

// Words beside a command: before it (FREQ BAUD and a command both), or
// after its own arguments, as a second value after an option would be.
Problem Stray(const CommandRow& command, const Sorted& sorted) {
  if (command.name.empty()) return std::nullopt;
  if (!sorted.before.empty()) {
    return Rejection("", sorted.before.front(),
                     fmt::format("unexpected beside the command {}; give "
                                 "FREQ BAUD or one command, not both",
                                 command.name));
  }
  const std::vector<std::string> names = ArgumentNames(command);
  if (sorted.after.size() <= names.size() ||
      (!names.empty() &&
       (names.back().ends_with("...") || names.back().ends_with("...]")))) {
    return std::nullopt;
  }
  std::string problem = fmt::format("unexpected after {}", UsageText(command));
  for (std::size_t row = 0; row < OptionRows().size(); ++row) {
    const OptionRow& option = OptionRows()[row];
    if (option.values == Values::kList && !sorted.texts[row].empty()) {
      problem += fmt::format("; {} takes {}", option.name, option.takes);
    }
  }
  return Rejection("", sorted.after[names.size()], problem);
}

// Each value read into `request` in the rows' order; a misplaced option
// says more than its value's rejection.
Problem TakeValues(const Sorted& sorted, Command command, Request& request) {
  auto take = [&](const OptionRow& option, const std::string& text) {
    Problem problem = Take(option, text, sorted.chip, command, &request);
    return problem ? MisplacedOption(sorted, command).value_or(*problem)
                   : problem;
  };
  for (const auto& [row, text] : sorted.in_order) {
    if (Problem problem = take(OptionRows()[row], text)) return problem;
  }
  for (std::size_t row = 0; row < OptionRows().size(); ++row) {
    const OptionRow& option = OptionRows()[row];
    for (const std::string& text : sorted.texts[row]) {
      if (option.in_order) continue;
      if (Problem problem = take(option, text)) return problem;
    }
    if (sorted.texts[row].size() > 1 && !option.repeatable) {
      return Rejection(option.name, "given more than once");
    }
  }
  return std::nullopt;
}

// A format the command's document is not written in.
Problem FormatProblem(const CommandRow& command, mcs51::Format format) {
  if (!command.document || mcs51::Renders(*command.document, format)) {
    return std::nullopt;
  }
  return Rejection("--format",
                   mcs51::kFormatNames[static_cast<std::size_t>(format)],
                   fmt::format("{} writes {}", command.name,
                               mcs51::RenderedIn(*command.document)));
}

Problem Read(std::span<const std::string> args, Request& request) {
  Sorted sorted;
  const OptionRow* missing = Sort(args, sorted);
  const CommandRow& command =
      sorted.command != nullptr ? *sorted.command : CommandRows().front();
  if (missing != nullptr) {
    return NeedsValue(*missing, sorted.chip, command.command);
  }
  if (Problem problem = TakeValues(sorted, command.command, request)) {
    return problem;
  }
  if (Problem problem = Arguments(command, sorted)) return problem;
  if (!sorted.unknown.empty()) {
    return Rejection("", sorted.unknown.front(), "unknown option");
  }
  if (Problem problem = MisplacedOption(sorted, command.command))
    return problem;
  if (Problem problem = Stray(command, sorted)) return problem;
  for (std::size_t row = 0; row < OptionRows().size(); ++row) {
    const OptionRow& option = OptionRows()[row];
    if (option.needs.empty() || sorted.texts[row].empty()) continue;
    const OptionRow* needed = FindOption(option.needs);
    if (sorted.texts[needed - OptionRows().data()].empty()) {
      return Rejection(option.name, fmt::format("only with {}", option.needs));
    }
  }
  // delay's --chip and --clock pick a core, not a setting
  // (mcs51/hardware/cores.h).
  if (Problem problem =
          command.command == Command::kDelay
              ? ChipProblem(request.filter.chip, command.command)
              : CheckFilter(request.filter, IsTick(command.command))) {
    return problem;
  }
  request.command = command.command;
  if (Problem problem = command.command == Command::kSettings
                            ? ReadSettings(sorted.before, request)
                            : ReadArguments(command, sorted.after, request)) {
    return problem;
  }
  return FormatProblem(command, request.format);
}

}  // namespace

ParseResult ParseArguments(std::span<const std::string> args) {
  ParseResult result;
  const Problem problem = AnswerFlag(args, result.request)
                              ? std::nullopt
                              : Read(args, result.request);
  result.ok = !problem;
  result.error = problem.value_or("");
  return result;
}

}  // namespace cli
