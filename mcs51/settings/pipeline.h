#pragma once
// The one pipeline both views of the catalogue go through: a family's
// settings, the default ones, the filter and the ranking, for a view's
// setting type S (Setting or TickSetting) and its expansion of a family.
// Inside the library only.

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "mcs51/hardware/catalogue.h"

namespace mcs51::pipeline {

// Adds every setting of `chip` in this view, in order.
template <typename S>
using Expand = void (*)(const Chip& chip, std::vector<S>& settings);

// Every family's settings, built once; nullptr: every family's in
// catalogue order.
template <typename S, Expand<S> expand>
const std::vector<S>& PerChip(const Chip* chip) {
  static const std::vector<std::vector<S>> per_chip = [] {
    const std::span<const Chip> chips = Chips();
    std::vector<std::vector<S>> all(chips.size() + 1);
    for (std::size_t i = 0; i < chips.size(); ++i) {
      expand(chips[i], all[i]);
      all.back().insert(all.back().end(), all[i].begin(), all[i].end());
    }
    return all;
  }();
  if (chip == nullptr) return per_chip.back();
  return per_chip[static_cast<std::size_t>(chip - Chips().data())];
}

// The settings without --chip: kDefaultFamilies', by_chip false.
template <typename S, Expand<S> expand>
std::span<const S> Defaults() {
  static const std::vector<S> settings = [] {
    std::vector<S> all;
    for (const Chip* chip : kDefaultFamilies) {
      for (S s : PerChip<S, expand>(FindChip(chip->name))) {
        s.by_chip = false;
        all.push_back(s);
      }
    }
    return all;
  }();
  return settings;
}

// The settings Filter::chip names (the default ones, "all", a family or
// one of its units' keys) that `keep(setting, key)` keeps, in tie order;
// `per_chip` is the view's PerChip.
template <typename S, typename Keep>
std::vector<const S*> Select(const Filter& filter, std::span<const S> defaults,
                             const std::vector<S>& (*per_chip)(const Chip*),
                             Keep keep) {
  std::span<const S> pool = defaults;
  const std::string_view name = ChipName(filter.chip);
  if (name == "all") {
    pool = per_chip(nullptr);
  } else if (!name.empty()) {
    const Chip* chip = FindChip(name);
    if (chip == nullptr) return {};
    pool = per_chip(chip);
  }
  const std::string_view key = GeneratorKey(filter.chip);
  std::vector<const S*> selected;
  for (const S& s : pool) {
    if (keep(s, key)) selected.push_back(&s);
  }
  return selected;
}

// `outcomes` best first by RankKey, ties in the order given.
template <typename O>
void SortBest(std::vector<O>& outcomes) {
  std::stable_sort(
      outcomes.begin(), outcomes.end(),
      [](const O& a, const O& b) { return RanksBefore(KeyOf(a), KeyOf(b)); });
}

// Whether a default setting needs more than the classic 12-clock core.
inline bool NeedsLaterCore(const Chip& chip, bool by_chip) {
  return !by_chip && !chip.cores.empty() && chip.cores.front()->clocks != 12;
}

}  // namespace mcs51::pipeline
