// Each option's values: the words it takes, and the value read from its
// text or why it is refused.
#include <fmt/format.h>

#include <algorithm>
#include <charconv>

#include "cli/command_line.h"
#include "cli/options.h"
#include "mcs51/delays/delay.h"
#include "mcs51/explain/explain.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/settings/choices.h"
#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/ticks.h"

namespace cli {

using namespace mcs51;  // NOLINT(google-build-using-namespace)

std::vector<std::string> ValueWords(const OptionRow& option,
                                    std::string_view chip, Command command) {
  // delay's timers are the tick timers, which it paces itself by.
  const bool ticks = IsTick(command) || command == Command::kDelay;
  switch (option.values) {
    case Values::kChoices:
      return {option.choices.begin(), option.choices.end()};
    case Values::kPeer:
      return PeerWords();
    case Values::kChip:
      return ChipWords();
    case Values::kModes:
      return ModeWords(chip);
    case Values::kTimers:
      return TimerWords(chip, ticks);
    case Values::kClocks:
      if (command == Command::kDelay) return CoreClockWords(chip);
      return ClockWords(chip, ticks);
    case Values::kKinds: {
      std::vector<std::string> keys;
      for (const FindingKind kind : FindingKinds()) {
        keys.emplace_back(FindingKey(kind));
      }
      return keys;
    }
    default:
      return {};
  }
}

std::string NeedsValue(const OptionRow& option, std::string_view chip,
                       Command command) {
  if (option.values == Values::kTimers || option.values == Values::kClocks ||
      option.values == Values::kModes) {
    if (auto problem = ChipProblem(chip, command)) return *problem;
  }
  const std::string takes = option.takes.empty()
                                ? JoinedOr(ValueWords(option, chip, command))
                                : std::string(option.takes);
  return Rejection(option.name, fmt::format("needs a value ({})", takes));
}

namespace {

// Each kind between commas, by its place in FindingKinds().
std::optional<std::string> Kinds(const OptionRow& option, std::string_view text,
                                 Value& value) {
  const std::vector<std::string> keys = ValueWords(option, "", {});
  for (std::string_view rest = text;;) {
    const std::string_view item = rest.substr(0, rest.find(','));
    const auto key = std::find(keys.begin(), keys.end(), item);
    if (key == keys.end()) {
      return Rejection(option.name, item,
                       fmt::format("not {}", JoinedOr(keys)));
    }
    value.numbers.push_back(static_cast<double>(key - keys.begin()));
    if (item.size() == rest.size()) return std::nullopt;
    rest.remove_prefix(item.size() + 1);
  }
}

// The value read, or the rejection.
std::optional<std::string> Read(const OptionRow& option, std::string_view text,
                                std::string_view chip, Command command,
                                Value& value) {
  value.text = text;
  switch (option.values) {
    case Values::kFlag:
    case Values::kSwitch:
      return std::nullopt;
    case Values::kName:
      if (IsCName(text)) return std::nullopt;
      return Rejection(option.name, text,
                       "not a C name: letters, digits and _, not first a "
                       "digit");
    case Values::kChip:
      return ChipProblem(text, command);
    case Values::kTimers:
    case Values::kClocks:
    case Values::kModes:
      if (auto problem = ChipProblem(chip, command)) return problem;
      [[fallthrough]];
    case Values::kChoices:
    case Values::kPeer: {
      const std::vector<std::string> words = ValueWords(option, chip, command);
      const auto word = std::find(words.begin(), words.end(), text);
      if (word == words.end()) {
        return Rejection(option.name, text,
                         fmt::format("not {}", JoinedOr(words)));
      }
      value.index = static_cast<std::size_t>(word - words.begin());
      std::from_chars(text.data(), text.data() + text.size(), value.number);
      return std::nullopt;
    }
    case Values::kNumber: {
      const calc::Reading reading = option.read(text);
      if (!reading.value) return Rejection(option.name, text, reading.problem);
      if (option.below != 0.0 && *reading.value >= option.below) {
        return Rejection(option.name, text,
                         fmt::format("must be below {:.0f}", option.below));
      }
      value.number = *reading.value;
      return std::nullopt;
    }
    case Values::kPath:
      if (!text.empty()) return std::nullopt;
      return Rejection(option.name, text, "needs a name");
    case Values::kDefine: {
      const std::string_view name = text.substr(0, text.find_first_of("=("));
      if (IsCName(name)) return std::nullopt;
      return Rejection(option.name, text,
                       "not NAME or NAME=VALUE with NAME a C name");
    }
    case Values::kKinds:
      return Kinds(option, text, value);
    case Values::kList:
      break;
  }
  // Each item between commas, empty ones too.
  for (std::string_view rest = text;;) {
    const std::string_view item = rest.substr(0, rest.find(','));
    const calc::Reading reading = option.read(item);
    if (!reading.value) return Rejection(option.item, item, reading.problem);
    value.numbers.push_back(*reading.value);
    if (item.size() == rest.size()) return std::nullopt;
    rest.remove_prefix(item.size() + 1);
  }
}

}  // namespace

std::optional<std::string> Take(const OptionRow& option, std::string_view text,
                                std::string_view chip, Command command,
                                Request* request) {
  Value value;
  std::optional<std::string> problem = Read(option, text, chip, command, value);
  if (!problem && request != nullptr) option.store(value, *request);
  return problem;
}

}  // namespace cli
