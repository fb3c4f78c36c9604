#include "cli/completion.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/options.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"

namespace cli {

// mcs51/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

std::string Joined(const std::vector<std::string>& words,
                   std::string_view between = " ") {
  return fmt::format("{}", fmt::join(words, between));
}

template <typename Numbers>
std::string NumbersText(const Numbers& numbers) {
  std::vector<std::string> words;
  for (double number : numbers) words.push_back(ShortestText(number));
  return Joined(words);
}

std::string Offer(std::string_view words) {
  return fmt::format("COMPREPLY=($(compgen -W \"{}\" -- \"$cur\"))", words);
}

// The words an argument named FREQ, BAUD or PERIOD takes.
std::string_view ArgumentWords(std::string_view argument) {
  if (argument.starts_with("PERIOD")) return "1ms 10ms 250us 1s 50Hz";
  if (argument.starts_with("[FILE")) return "";  // the shell's own
  return argument.starts_with("FREQ") ? "$crystals" : "$rates";
}

// An option's words for the baud commands, then those only the tick
// commands add (Timer 0), in the same order.
std::vector<std::string> BothWords(const OptionRow& option,
                                   std::string_view chip) {
  std::vector<std::string> words = ValueWords(option, chip);
  for (const std::string& word : ValueWords(option, chip, Command::kTick)) {
    if (std::find(words.begin(), words.end(), word) == words.end()) {
      words.push_back(word);
    }
  }
  std::stable_sort(words.begin(), words.end(),
                   [&](const auto& a, const auto& b) {
                     if (option.values == Values::kTimers)
                       return std::stoi(a) < std::stoi(b);
                     if (option.values == Values::kClocks)
                       return std::stoi(a) > std::stoi(b);
                     return false;
                   });
  return words;
}

// The values of an option after it, as a case arm of $prev; a family's
// timers and clocks by the family --chip named, families alike together.
std::string ValuesArm(const OptionRow& option) {
  if (option.values == Values::kFlag) return {};
  std::string words = Joined(BothWords(option, {}));
  if (option.values == Values::kNumber) words = option.suggestions;
  if (option.values == Values::kList) words = ArgumentWords(option.item);
  if (option.values != Values::kTimers && option.values != Values::kClocks) {
    return fmt::format("    {}) {}; return ;;\n", option.name, Offer(words));
  }
  // Patterns by their words, in catalogue order; "all" last.
  std::vector<std::string> chips;
  for (const OptionRow& each : OptionRows()) {
    if (each.values == Values::kChip) chips = ValueWords(each, {});
  }
  std::vector<std::pair<std::string, std::string>> arms_by_words;
  for (const std::string& name : chips) {
    const std::string values = Joined(BothWords(option, name));
    auto arm =
        std::find_if(arms_by_words.begin(), arms_by_words.end(),
                     [&](const auto& each) { return each.first == values; });
    if (arm == arms_by_words.end()) {
      arms_by_words.emplace_back(values, name);
    } else {
      arm->second += " | " + name;
    }
  }
  std::string arms;
  for (const auto& [values, pattern] : arms_by_words) {
    arms += fmt::format("        {}) {} ;;\n", pattern, Offer(values));
  }
  return fmt::format(
      "    {})\n      case ${{chip%%:*}} in\n{}        *) {} ;;\n      "
      "esac\n      return ;;\n",
      option.name, arms, Offer(words));
}

// The options a command takes, long names only.
std::string OptionsOf(Commands commands) {
  std::vector<std::string> names;
  for (const OptionRow& option : OptionRows()) {
    if ((option.commands & commands) != 0) names.emplace_back(option.name);
  }
  return Joined(names);
}

// What goes where a command's arguments stand: "$command:$words" arms.
std::string ArgumentArms() {
  const std::string commands = Joined(CommandNames());
  std::string arms;
  for (const CommandRow& command : CommandRows()) {
    const std::vector<std::string> arguments = ArgumentNames(command);
    for (std::size_t index = 0; index < arguments.size(); ++index) {
      const std::string& argument = arguments[index];
      std::string words(ArgumentWords(argument));
      if (command.name.empty() && index == 0) {
        words = fmt::format("{} {}", commands, words);
      }
      const std::string place =
          argument.ends_with("...") ? std::string("*") : std::to_string(index);
      arms +=
          fmt::format("    {}:{}) {} ;;\n", command.name, place, Offer(words));
    }
  }
  return arms;
}

// {0} the program, {1} the crystals, {2} the rates, {3} the options that
// take a value, {4} the commands, {5} the values' arms, {6} the commands'
// options, {7} FREQ BAUD's, {8} all, {9} the arguments' arms.
constexpr char kScript[] =
    R"(# bash completion for {0}                           -*- shell-script -*-
# Written when {0} is built, from its tables of commands and options
# and its catalogue of chips: commands, option values (after --chip NAME
# that family's timers and clocks), and the standard crystals (MHz) and
# baud rates where a FREQ or BAUD goes.

_baud51_cli() {{
  local cur prev
  cur=${{COMP_WORDS[COMP_CWORD]}}
  prev=${{COMP_WORDS[COMP_CWORD - 1]}}
  local crystals="{1}"
  local rates="{2}"

  # The command, if any, how many plain words stand before this one, and
  # the family --chip names. Bash splits "stc15:t2" at the colon.
  local command="" words=0 chip="" i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${{COMP_WORDS[i]}}
    case $word in
      --chip) chip=${{COMP_WORDS[i + 1]}} && ((i++)) ;;
      {3}) ((i++)) ;;
      -* | :) ;;
      {4}) [ -z "$command" ] && [ "$words" -eq 0 ] &&
        command=$word || ((words++)) ;;
      *) [ "${{COMP_WORDS[i - 1]}}" = : ] || ((words++)) ;;
    esac
  done

  case $prev in
{5}  esac

  if [[ $cur == -* ]]; then
    local options
    case $command in
{6}      *) ((words > 0)) && options="{7}" || options="{8}" ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  case $command:$words in
{9}    *) COMPREPLY=() ;;
  esac
}}
complete -F _baud51_cli {0}
)";

}  // namespace

std::string CompletionScript() {
  std::string values;
  std::vector<std::string> skipped;
  for (const OptionRow& option : OptionRows()) {
    values += ValuesArm(option);
    if (option.values != Values::kFlag && option.values != Values::kChip) {
      skipped.emplace_back(option.name);
    }
  }
  std::string command_arms;
  Commands all = 0;
  for (const CommandRow& command : CommandRows()) {
    all |= Bit(command.command);
    if (command.name.empty()) continue;
    command_arms += fmt::format("      {}) options=\"{}\" ;;\n", command.name,
                                OptionsOf(Bit(command.command)));
  }
  return fmt::format(kScript, kProgramName, NumbersText(kCrystals),
                     NumbersText(kStandardRates), Joined(skipped, " | "),
                     Joined(CommandNames(), " | "), values, command_arms,
                     OptionsOf(Bit(Command::kSettings)), OptionsOf(all),
                     ArgumentArms());
}

}  // namespace cli
