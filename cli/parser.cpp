#include "cli/parser.h"

#include <fmt/format.h>

#include <string_view>

#include "cli/command_line.h"

namespace cli {
namespace {

// Any number of words, none needed: FREQ BAUD's, read strictly later, and
// those after a command's own, refused.
CLI::Option* AddWords(CLI::App& command, const std::string& name) {
  return command.add_option(name)->expected(0, -1)->allow_extra_args();
}

}  // namespace

Parser::Parser() : app_("", kProgramName) {
  app_.set_help_flag();  // answered before, in our words
  app_.require_subcommand(0, 1);
  app_.allow_extras();  // unknown options, worded by Parse

  // Every option on the program itself: a command's words then fall
  // through to it, so it may stand before the command or after.
  for (const OptionRow& row : OptionRows()) {
    std::string names(row.name);
    if (!row.short_name.empty())
      names = fmt::format("{},{}", row.short_name, names);
    const bool flag =
        row.values == Values::kFlag || row.values == Values::kSwitch;
    CLI::Option* option = flag ? app_.add_flag(names) : app_.add_option(names);
    option->description(HelpLine(row));
    if (!flag) {
      // One value each time: a second word is an argument, never a value.
      option->option_text(MetavarText(row))->allow_extra_args(false);
      if (row.repeatable) {
        option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
      }
      option->check(CLI::Validator(
          [this, &row](std::string& value) -> std::string {
            std::optional<std::string> problem =
                delay_ && row.values == Values::kClocks
                    ? CheckCoreClock(row, value, chip_)
                    : CheckValue(row, value, chip_, ticks_);
            if (!problem) return {};
            if (refused_.empty()) refused_ = *problem;
            return *problem;
          },
          MetavarText(row)));
    }
    options_.push_back(option);
  }

  for (const CommandRow& row : CommandRows()) {
    std::vector<CLI::Option*> arguments;
    if (row.name.empty()) {
      commands_.push_back(&app_);
      arguments.push_back(AddWords(app_, "words"));
      extra_.push_back(nullptr);
      arguments_.push_back(arguments);
      continue;
    }
    CLI::App* command = app_.add_subcommand(std::string(row.name));
    command->set_help_flag();
    command->fallthrough();
    for (std::string name : ArgumentNames(row)) {
      const bool more = name.ends_with("...");
      if (more) name.resize(name.size() - 3);
      const bool optional = name.starts_with('[');  // "[FILE]"
      if (optional) name = name.substr(1, name.size() - 2);
      CLI::Option* argument = command->add_option(name)->required(!optional);
      if (more) argument->expected(1, -1)->allow_extra_args();
      arguments.push_back(argument);
    }
    commands_.push_back(command);
    extra_.push_back(AddWords(*command, "extra"));
    arguments_.push_back(arguments);
  }
}

// The --chip given, and an option whose value is missing: last, followed
// by another option, or "--timer=". Read here because CLI11 would take the
// next argument as the value, or word the mistake in its own English.
const OptionRow* Parser::Prescan(std::span<const std::string> args) {
  chip_.clear();
  ticks_ = false;
  delay_ = false;
  const OptionRow* missing = nullptr;
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    const std::string_view arg = args[i];
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : arg.npos;
    const OptionRow* option = FindOption(arg.substr(0, equals));
    for (const CommandRow& command : CommandRows()) {
      if (option == nullptr && arg == command.name && IsTick(command.command)) {
        ticks_ = true;
      }
      if (option == nullptr && arg == command.name &&
          command.command == Command::kDelay) {
        delay_ = true;
      }
    }
    if (option == nullptr || option->values == Values::kFlag ||
        option->values == Values::kSwitch) {
      continue;
    }
    std::string_view value;
    bool given = true;
    if (equals != arg.npos) {
      value = arg.substr(equals + 1);
      given = !value.empty();
    } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
      value = args[++i];
    } else {
      given = false;
    }
    if (!given && missing == nullptr) missing = option;
    if (given && option->values == Values::kChip && chip_.empty()) {
      chip_ = value;
    }
  }
  return missing;
}

std::optional<std::string> Parser::Parse(std::span<const std::string> args) {
  const OptionRow* missing = Prescan(args);
  if (missing != nullptr && delay_ && missing->values == Values::kClocks) {
    if (auto problem = NeedsCoreClock(*missing, chip_)) return problem;
  }
  if (missing != nullptr) return NeedsValue(*missing, chip_, ticks_);

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app_.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return Explain(error);
  }
  // CLI11 keeps the "--" that ends the options among the unknown ones; it
  // is no mistake.
  for (const std::string& arg : app_.remaining()) {
    if (arg != "--") return Rejection("", arg, "unknown option");
  }
  if (std::optional<std::string> problem = Misplaced()) return problem;
  return Stray();
}

// An option given with a command it does not apply to.
std::optional<std::string> Parser::Misplaced() const {
  const CommandRow& command = Given();
  for (std::size_t i = 0; i < options_.size(); ++i) {
    const OptionRow& row = OptionRows()[i];
    if (options_[i]->count() > 0 &&
        (row.commands & Bit(command.command)) == 0) {
      return Rejection(row.name, row.elsewhere);
    }
  }
  return std::nullopt;
}

const CommandRow& Parser::Given() const {
  for (std::size_t i = 1; i < commands_.size(); ++i) {
    if (commands_[i]->parsed()) return CommandRows()[i];
  }
  return CommandRows().front();
}

std::vector<std::string> Parser::Arguments() const {
  const std::size_t row = &Given() - CommandRows().data();
  std::vector<std::string> texts;
  for (const CLI::Option* argument : arguments_[row]) {
    texts.insert(texts.end(), argument->results().begin(),
                 argument->results().end());
  }
  return texts;
}

const std::vector<std::string>& Parser::Texts(const OptionRow& option) const {
  return Of(option)->results();
}

CLI::Option* Parser::Of(const OptionRow& option) const {
  return options_[&option - OptionRows().data()];
}

std::string Parser::Explain(const CLI::ParseError& error) const {
  // The values are checked once every argument is read: a misplaced
  // option says more than its value's check.
  if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr &&
      !refused_.empty()) {
    return Misplaced().value_or(refused_);
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    for (std::size_t i = 0; i < options_.size(); ++i) {
      if (options_[i]->count() > 1) {
        return Rejection(OptionRows()[i].name, "given more than once");
      }
    }
  }
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
    for (std::size_t row = 0; row < commands_.size(); ++row) {
      if (!commands_[row]->parsed() || commands_[row] == &app_) continue;
      for (const CLI::Option* argument : arguments_[row]) {
        if (argument->count() > 0) continue;
        return Rejection(
            argument->get_name(),
            fmt::format("missing ({})", UsageText(CommandRows()[row])));
      }
    }
  }
  // No other refusal is expected: the missing values are found before.
  return Rejection("arguments", "not understood (see --help)");
}

// Words beside a command: before it (FREQ BAUD and a command both), or
// after its own arguments, as a second value after an option would be.
std::optional<std::string> Parser::Stray() const {
  const CommandRow& command = Given();
  if (command.command == Command::kSettings) return std::nullopt;
  const std::vector<std::string>& before =
      arguments_.front().front()->results();
  if (!before.empty()) {
    return Rejection("", before.front(),
                     fmt::format("unexpected beside the command {}; give "
                                 "FREQ BAUD or one command, not both",
                                 command.name));
  }
  const std::size_t row = &command - CommandRows().data();
  const std::vector<std::string>& after = extra_[row]->results();
  if (after.empty()) return std::nullopt;
  std::string problem = fmt::format("unexpected after {}", UsageText(command));
  for (const OptionRow& row : OptionRows()) {
    if (row.values == Values::kList && Of(row)->count() > 0) {
      problem += fmt::format("; {} takes {}", row.name, row.takes);
    }
  }
  return Rejection("", after.front(), problem);
}

}  // namespace cli
