#include "mcs51/settings/choices.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cstdlib>

#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/ticks.h"

namespace mcs51 {
namespace {

// Timers from the lowest, clocks from the most, as the classic core's 12,
// 6 and 1 are listed.
std::vector<std::string> NumberWords(std::string_view chip, bool ticks,
                                     bool timers) {
  std::vector<int> values;
  const Filter filter{.chip = std::string(chip)};
  if (ticks) {
    for (const TickSetting* s : TickMatching(filter)) {
      values.push_back(timers ? s->timer->number : -s->clocks);
    }
  } else {
    for (const Setting* s : Matching(filter)) {
      values.push_back(timers ? s->timer : -s->clocks);
    }
  }
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  std::vector<std::string> words;
  for (int value : values) words.push_back(std::to_string(std::abs(value)));
  return words;
}

}  // namespace

std::vector<std::string> TimerWords(std::string_view chip, bool ticks) {
  return NumberWords(chip, ticks, true);
}

std::vector<std::string> ClockWords(std::string_view chip, bool ticks) {
  return NumberWords(chip, ticks, false);
}

std::vector<std::string> ModeWords(std::string_view chip) {
  std::vector<std::string> words;
  for (const TickSetting* s : TickMatching({.chip = std::string(chip)})) {
    if (std::find(words.begin(), words.end(), s->mode->key) == words.end()) {
      words.emplace_back(s->mode->key);
    }
  }
  return words;
}

std::vector<std::string> ChipWords() {
  std::vector<std::string> words;
  for (const Chip& each : Chips()) {
    words.emplace_back(each.name);
    words.insert(words.end(), each.aliases.begin(), each.aliases.end());
  }
  words.emplace_back("all");
  return words;
}

std::vector<std::string> PeerWords() {
  std::vector<std::string> words;
  for (const Peer& each : Peers()) {
    words.emplace_back(each.name);
    words.insert(words.end(), each.aliases.begin(), each.aliases.end());
  }
  return words;
}

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

std::vector<std::string> CoreClockWords(std::string_view chip) {
  const ClockList list = CoreClocks(chip);
  std::vector<std::string> words;
  for (int i = 0; i < list.count; ++i) {
    words.push_back(std::to_string(list.clocks[i]));
  }
  return words;
}

bool IsGenerator(std::string_view chip, bool ticks) {
  const Filter named{.chip = std::string(chip)};
  return FindChip(ChipName(chip)) != nullptr && !GeneratorKey(chip).empty() &&
         (ticks ? !TickMatching(named).empty() : !Matching(named).empty());
}

}  // namespace mcs51
