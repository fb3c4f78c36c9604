#include "cli/command_line.h"

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/reading.h"
#include "cli/words.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace timers;  // NOLINT(google-build-using-namespace)
namespace {

// Every rejection has one form: what is wrong, a colon, why. What is wrong
// is a name, an argument in quotes, or both.
//   Rejection("--timer", "needs a value (1 or 2)")
//                           -> "--timer: needs a value (1 or 2)"
//   Rejection("FREQ", "abc", "not a number") -> "FREQ \"abc\": not a number"
//   Rejection("", "--bogus", "unknown option") -> "\"--bogus\": unknown option"
std::string Rejection(std::string_view name, std::string_view problem) {
  return fmt::format("{}: {}", name, problem);
}

std::string Rejection(std::string_view name, std::string_view text,
                      std::string_view problem) {
  if (name.empty()) return fmt::format("{}: {}", Quoted(text), problem);
  return fmt::format("{} {}: {}", name, Quoted(text), problem);
}

// A rejection, or nothing when the arguments read so far are good.
using Problem = std::optional<std::string>;

// An option that takes a value, and what the value may be.
struct ValueOption {
  std::string_view name;
  std::vector<std::string_view> choices;  // the only values, if any
  std::string_view values;                // otherwise, what it takes
};

const ValueOption kTimer{"--timer", {"1", "2"}, {}};
const ValueOption kSmod{"--smod", {"0", "1"}, {}};
const ValueOption kClock{"--clock", {"12", "6", "1"}, {}};
const ValueOption kFormat{"--format", {"text", "csv", "json"}, {}};
const ValueOption kTolerance{"--tolerance", {}, "a percentage, 0 or more"};
const ValueOption kBaud{"--baud", {}, "rates separated by commas"};
const ValueOption kChip{"--chip", {}, "a family, see chips"};
const ValueOption kLang{"--lang", {"c", "asm"}, {}};
// With --chip, the family's timers and clocks per count.
const ValueOption kChipTimer{"--timer", {"0", "1", "2", "3"}, {}};
const ValueOption kChipClock{
    "--clock",
    {"1", "2", "4", "6", "8", "12", "16", "32", "48", "64", "128"},
    {}};
const ValueOption* const kValueOptions[] = {
    &kTimer, &kSmod, &kClock, &kFormat, &kTolerance, &kBaud, &kChip, &kLang};

// "1 or 2", "12, 6 or 1", or what the option takes.
std::string ValuesText(const ValueOption& option) {
  if (option.choices.empty()) return std::string(option.values);
  std::string text;
  for (std::size_t i = 0; i < option.choices.size(); ++i) {
    if (i > 0) text += i + 1 == option.choices.size() ? " or " : ", ";
    text += option.choices[i];
  }
  return text;
}

// "-h"/"--help" or "--version" anywhere before "--" win over everything
// else, bad input included.
std::optional<Command> HelpOrVersion(std::span<const std::string> args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "-h" || arg == "--help") return Command::kHelp;
    if (arg == "--version") return Command::kVersion;
  }
  return std::nullopt;
}

// The option that takes a value named `arg`, or nothing.
const ValueOption* Named(std::string_view arg) {
  for (const ValueOption* option : kValueOptions) {
    if (arg == option->name) return option;
  }
  return nullptr;
}

// An option whose value is missing: last, followed by another option, or
// given as "--timer=". Read here because CLI11 would take the next option
// as the value, or word the mistake in its own English.
Problem MissingValue(std::span<const std::string> args) {
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    std::string_view arg = args[i];
    const bool empty_after_equals = arg.ends_with('=');
    if (empty_after_equals) arg.remove_suffix(1);
    const ValueOption* option = Named(arg);
    if (option == nullptr) continue;
    if (empty_after_equals || i + 1 == args.size() ||
        args[i + 1].starts_with("--")) {
      return Rejection(option->name,
                       fmt::format("needs a value ({})", ValuesText(*option)));
    }
    ++i;  // the value, checked with the others
  }
  return std::nullopt;
}

// What CLI11 reads: the arguments' texts in their places, checked for
// choices and counts. Its checks refuse in its words; Explain gives ours.
struct CommandLine {
  explicit CommandLine(bool chip_given);
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // CLI11's refusal in our words, found from what it had read.
  std::string Explain(const CLI::ParseError& error) const;

  CLI::App app{"", kProgramName};
  std::vector<std::string> words;  // FREQ BAUD of the default form
  std::string timer, smod, clock, format, tolerance, chip, lang;
  std::vector<CLI::Option*> once;  // the options that may be given once

  CLI::App* table = nullptr;
  std::string table_frequency;
  std::vector<std::string> table_rates;  // as given, commas and all

  CLI::App* crystals = nullptr;
  std::vector<std::string> crystal_rates;

  CLI::App* code = nullptr;
  std::string code_frequency, code_baud;

  CLI::App* chips = nullptr;

  std::string refused;  // the first value a check refused, in our words

 private:
  // An option given at most once; CLI11 checks its choices, if any.
  void AddOnce(const ValueOption& option, std::string& text);
};

void CommandLine::AddOnce(const ValueOption& option, std::string& text) {
  CLI::Option* added = app.add_option(std::string(option.name), text);
  if (!option.choices.empty()) {
    added->check(CLI::Validator(
        [this, &option](std::string& value) -> std::string {
          if (std::find(option.choices.begin(), option.choices.end(), value) !=
              option.choices.end()) {
            return {};
          }
          if (refused.empty()) {
            refused = Rejection(option.name, value,
                                fmt::format("not {}", ValuesText(option)));
          }
          return refused;
        },
        ValuesText(option)));
  }
  once.push_back(added);
}

CommandLine::CommandLine(bool chip_given) {
  app.set_help_flag();  // answered before, in our words
  app.require_subcommand(0, 1);
  app.allow_extras();  // unknown options, worded by UnknownOption
  app.add_option("words", words);
  AddOnce(chip_given ? kChipTimer : kTimer, timer);
  AddOnce(kSmod, smod);
  AddOnce(chip_given ? kChipClock : kClock, clock);
  AddOnce(kChip, chip);
  AddOnce(kFormat, format);
  AddOnce(kTolerance, tolerance);
  AddOnce(kLang, lang);

  table = app.add_subcommand("table");
  table->add_option("FREQ", table_frequency)->required();
  // Split by ReadTable rather than by CLI11, which drops empty items unseen.
  table->add_option(std::string(kBaud.name), table_rates)
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

  crystals = app.add_subcommand("crystals");
  crystals->add_option("BAUD", crystal_rates)->required();

  code = app.add_subcommand("code");
  code->add_option("FREQ", code_frequency)->required();
  code->add_option("BAUD", code_baud)->required();

  chips = app.add_subcommand("chips");

  // The filters and --format may stand before or after the command; words
  // after a command's own go to `words`, and are refused there.
  for (CLI::App* command : {table, crystals, code, chips}) {
    command->set_help_flag();
    command->fallthrough();
  }
}

// A command's form, as its "missing" names it.
std::string_view Usage(const CLI::App* command, const CommandLine& line) {
  if (command == line.table) return "table FREQ";
  if (command == line.crystals) return "crystals BAUD...";
  return "code FREQ BAUD";
}

std::string CommandLine::Explain(const CLI::ParseError& error) const {
  if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr &&
      !refused.empty()) {
    return refused;
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    for (const CLI::Option* option : once) {
      if (option->count() > 1) {
        return Rejection(option->get_name(), "given more than once");
      }
    }
  }
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    for (const CLI::App* command : app.get_subcommands()) {
      for (const CLI::Option* option : command->get_options()) {
        if (option->get_required() && option->count() == 0) {
          return Rejection(option->get_name(),
                           fmt::format("missing ({})", Usage(command, *this)));
        }
      }
    }
  }
  // No other refusal is expected: the missing values are found before.
  return Rejection("arguments", "not understood (see --help)");
}

// An option CLI11 did not know, or --baud away from table. CLI11 keeps the
// "--" that ends the options among them; it is no mistake.
Problem UnknownOption(const CommandLine& line) {
  for (const std::string& arg : line.app.remaining()) {
    if (arg == "--") continue;
    if (arg == kBaud.name || arg.starts_with(fmt::format("{}=", kBaud.name))) {
      return Rejection(kBaud.name, "only with table");
    }
    return Rejection("", arg, "unknown option");
  }
  return std::nullopt;
}

Problem ReadNumber(std::string_view name, const std::string& text,
                   Reading (*read)(std::string_view), double& value) {
  const Reading reading = read(text);
  if (!reading.value) return Rejection(name, text, reading.problem);
  value = *reading.value;
  return std::nullopt;
}

Problem ReadRates(const std::vector<std::string>& texts,
                  std::vector<double>& rates) {
  for (const std::string& text : texts) {
    double baud = 0.0;
    if (Problem problem = ReadNumber("BAUD", text, ReadBaud, baud)) {
      return problem;
    }
    rates.push_back(baud);
  }
  return std::nullopt;
}

std::string FilterText(const Filter& filter) {
  std::string text;
  if (filter.timer) text += fmt::format(" --timer {}", *filter.timer);
  if (filter.smod) text += fmt::format(" --smod {}", *filter.smod);
  if (filter.clocks) text += fmt::format(" --clock {}", *filter.clocks);
  if (!filter.chip.empty()) text += fmt::format(" --chip {}", filter.chip);
  return text.substr(1);
}

// --chip NAME or NAME:GENERATOR, an existing one.
Problem ReadChip(const std::string& chip, Filter& filter) {
  const std::string_view name = ChipName(chip);
  const Chip* found = FindChip(name);
  std::string names;
  for (const Chip& each : Chips()) names += fmt::format("{}, ", each.name);
  if (name != "all" && found == nullptr) {
    return Rejection(kChip.name, chip, fmt::format("not {}or all", names));
  }
  const std::string_view key = GeneratorKey(chip);
  if (chip.find(':') != chip.npos &&
      (found == nullptr ||
       std::none_of(found->generators.begin(), found->generators.end(),
                    [&](const Generator* g) { return g->key == key; }))) {
    return Rejection(
        kChip.name, chip,
        fmt::format("no such generator (see {} chips)", kProgramName));
  }
  filter.chip = chip;
  return std::nullopt;
}

// --timer, --smod, --clock and --chip, whose values CLI11 has checked.
Problem ReadFilter(const CommandLine& line, Filter& filter) {
  if (line.app.count(std::string(kChip.name)) > 0) {
    if (Problem problem = ReadChip(line.chip, filter)) return problem;
  }
  if (line.app.count(std::string(kTimer.name)) > 0) {
    filter.timer = std::stoi(line.timer);
  }
  if (line.app.count(std::string(kSmod.name)) > 0) {
    filter.smod = std::stoi(line.smod);
  }
  if (line.app.count(std::string(kClock.name)) > 0) {
    filter.clocks = std::stoi(line.clock);
  }
  if (!Matching(filter).empty()) return std::nullopt;
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

// --format, whose value CLI11 has checked, and --tolerance.
Problem ReadOutput(const CommandLine& line, Request& request) {
  if (line.format == "csv") request.format = Format::kCsv;
  if (line.format == "json") request.format = Format::kJson;
  if (line.app.count(std::string(kTolerance.name)) == 0) return std::nullopt;
  return ReadNumber(kTolerance.name, line.tolerance, ReadPercent,
                    request.tolerance_percent);
}

bool StartsWithLetter(std::string_view text) {
  return !text.empty() && ((text[0] >= 'a' && text[0] <= 'z') ||
                           (text[0] >= 'A' && text[0] <= 'Z'));
}

// FREQ BAUD, the default: two words, the first not a command's name.
Problem ReadSettings(const std::vector<std::string>& words, Request& request) {
  request.command = Command::kSettings;
  if (words.empty()) {
    return Rejection("FREQ BAUD", "missing, or give a command (see --help)");
  }
  const Reading frequency = ReadFrequency(words[0]);
  if (!frequency.value && frequency.problem == kNotANumber &&
      StartsWithLetter(words[0])) {
    return Rejection("", words[0],
                     "unknown command; the commands are table, crystals, "
                     "code and chips, or give FREQ BAUD");
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
  return ReadRates({words[1]}, request.rates);
}

// table FREQ [--baud LIST]: the standard rates unless a list is given.
Problem ReadTable(const CommandLine& line, Request& request) {
  request.command = Command::kTable;
  if (Problem problem = ReadNumber("FREQ", line.table_frequency, ReadFrequency,
                                   request.frequency_mhz)) {
    return problem;
  }
  if (line.table_rates.empty()) {
    request.rates.assign(kStandardRates.begin(), kStandardRates.end());
    return std::nullopt;
  }
  std::vector<std::string> items;
  for (const std::string& list : line.table_rates) {
    std::size_t start = 0;
    for (std::size_t comma; (comma = list.find(',', start)) != list.npos;
         start = comma + 1) {
      items.push_back(list.substr(start, comma - start));
    }
    items.push_back(list.substr(start));
  }
  return ReadRates(items, request.rates);
}

// crystals BAUD...
Problem ReadCrystals(const CommandLine& line, Request& request) {
  request.command = Command::kCrystals;
  return ReadRates(line.crystal_rates, request.rates);
}

// code FREQ BAUD [--lang c|asm], which writes code and so takes no
// --format.
Problem ReadCode(const CommandLine& line, Request& request) {
  request.command = Command::kCode;
  if (line.app.count(std::string(kFormat.name)) > 0) {
    return Rejection(kFormat.name, "not for code, which writes C or assembly");
  }
  if (line.lang == "asm") request.language = Language::kAsm;
  if (Problem problem = ReadNumber("FREQ", line.code_frequency, ReadFrequency,
                                   request.frequency_mhz)) {
    return problem;
  }
  return ReadRates({line.code_baud}, request.rates);
}

Problem Read(std::span<const std::string> args, Request& request) {
  if (Problem problem = MissingValue(args)) return problem;
  CommandLine line(
      std::find(args.begin(), args.end(), "--chip") != args.end() ||
      std::any_of(args.begin(), args.end(),
                  [](const auto& arg) { return arg.starts_with("--chip="); }));
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    line.app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return line.Explain(error);
  }
  if (Problem problem = UnknownOption(line)) return problem;

  const std::vector<CLI::App*> commands = line.app.get_subcommands();
  const CLI::App* command = commands.empty() ? nullptr : commands.front();
  if (command != nullptr && !line.words.empty()) {
    return Rejection("", line.words.front(),
                     fmt::format("unexpected beside the command {}; give "
                                 "FREQ BAUD or one command, not both",
                                 command->get_name()));
  }
  if (Problem problem = ReadFilter(line, request.filter)) return problem;
  if (Problem problem = ReadOutput(line, request)) return problem;
  if (command != line.code && line.app.count(std::string(kLang.name)) > 0) {
    return Rejection(kLang.name, "only with code");
  }

  if (command == line.table) return ReadTable(line, request);
  if (command == line.crystals) return ReadCrystals(line, request);
  if (command == line.code) return ReadCode(line, request);
  if (command == line.chips) {
    request.command = Command::kChips;
    return std::nullopt;
  }
  return ReadSettings(line.words, request);
}

}  // namespace

ParseResult ParseArguments(std::span<const std::string> args) {
  ParseResult result;
  if (const std::optional<Command> answer = HelpOrVersion(args)) {
    result.ok = true;
    result.request.command = *answer;
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
