// The words the option rows are shown and refused in: help lines, value
// names, and every rejection's one form.
#include <fmt/format.h>
#include <fmt/ranges.h>

#include <string>
#include <vector>

#include "cli/options.h"
#include "mcs51/answers/answers.h"
#include "mcs51/settings/choices.h"
#include "mcs51/settings/text.h"

namespace cli {

using namespace mcs51;  // NOLINT(google-build-using-namespace)

std::string MetavarText(const OptionRow& option) {
  if (!option.metavar.empty()) return std::string(option.metavar);
  return fmt::format("{}", fmt::join(ValueWords(option, {}), "|"));
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
std::string Rejection(std::string_view name, std::string_view text,
                      calc::ReadProblem problem) {
  return Rejection(name, text, RowOf(problem).words.en);
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += fmt::format("\\x{:02x}", byte);
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

}  // namespace cli
