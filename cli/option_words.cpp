// The words the option rows are shown and refused in: help lines, value
// names, and every rejection's one form.
#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/words.h"
#include "timers/cores.h"
#include "timers/peers.h"

namespace cli {

using namespace mcs51;  // NOLINT(google-build-using-namespace)

std::string JoinedOr(std::span<const std::string> words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
    text += words[i];
  }
  return text;
}

std::string JoinedAnd(std::span<const std::string> words) {
  std::string text = JoinedOr(words);
  const std::size_t last = text.rfind(" or ");
  return last == text.npos ? text : text.replace(last, 4, " and ");
}

std::string MetavarText(const OptionRow& option) {
  if (!option.metavar.empty()) return std::string(option.metavar);
  std::string text;
  for (const std::string& word : ValueWords(option, {})) {
    text += (text.empty() ? "" : "|") + word;
  }
  return text;
}

// The peers as --peer's help names them, each alias beside its peer:
// "..., cp2102 (also as cp210x), cp2104, ...".
std::string PeerChoices() {
  std::vector<std::string> words;
  for (const Peer& each : Peers()) {
    words.emplace_back(each.name);
    if (!each.aliases.empty()) {
      words.back() += fmt::format(
          " (also as {})",
          fmt::join(each.aliases.begin(), each.aliases.end(), ", "));
    }
  }
  return JoinedOr(words);
}

std::string HelpLine(const OptionRow& option) {
  std::string line(option.help);
  const std::size_t slot = line.find("{}");
  if (slot == line.npos) return line;
  return line.replace(slot, 2,
                      option.values == Values::kPeer
                          ? PeerChoices()
                          : JoinedOr(ValueWords(option, {})));
}

namespace {

std::vector<std::string> CoreClockWords(std::string_view chip) {
  const ClockList list = CoreClocks(chip);
  std::vector<std::string> words;
  for (int i = 0; i < list.count; ++i) {
    words.push_back(std::to_string(list.clocks[i]));
  }
  return words;
}

}  // namespace

std::optional<std::string> NeedsCoreClock(const OptionRow& option,
                                          std::string_view chip) {
  const std::vector<std::string> words = CoreClockWords(chip);
  if (words.empty()) return std::nullopt;
  return Rejection(option.name,
                   fmt::format("needs a value ({})", JoinedOr(words)));
}

std::optional<std::string> CheckCoreClock(const OptionRow& option,
                                          std::string_view text,
                                          std::string_view chip) {
  const std::vector<std::string> words = CoreClockWords(chip);
  if (words.empty() ||
      std::find(words.begin(), words.end(), text) != words.end()) {
    return std::nullopt;
  }
  return Rejection(option.name, text, fmt::format("not {}", JoinedOr(words)));
}

std::string Misplaced(const OptionRow& option, Command given) {
  for (const Elsewhere& why : option.elsewhere) {
    if ((why.commands & Bit(given)) != 0)
      return Rejection(option.name, why.text);
  }
  std::vector<std::string> commands;
  for (const CommandRow& command : CommandRows()) {
    if ((option.commands & Bit(command.command)) != 0) {
      commands.push_back(command.name.empty() ? std::string(command.arguments)
                                              : std::string(command.name));
    }
  }
  return Rejection(option.name,
                   fmt::format("only with {}", JoinedAnd(commands)));
}

std::string Rejection(std::string_view name, std::string_view problem) {
  return fmt::format("{}: {}", name, problem);
}

std::string Rejection(std::string_view name, std::string_view text,
                      std::string_view problem) {
  if (name.empty()) return fmt::format("{}: {}", Quoted(text), problem);
  return fmt::format("{} {}: {}", name, Quoted(text), problem);
}

}  // namespace cli
