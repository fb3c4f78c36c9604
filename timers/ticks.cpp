#include "timers/ticks.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace timers {
namespace {

void Expand(const Chip& chip, std::vector<TickSetting>& settings) {
  for (const TickTimer* timer : chip.timers) {
    for (const TickMode& mode : timer->modes) {
      for (std::size_t i = 0; i < timer->clocks.size(); ++i) {
        settings.push_back(
            {&chip, timer, &mode, static_cast<int>(i), timer->clocks[i]});
      }
    }
  }
}

TickOutcome OutOfRange(const TickSetting& setting) {
  return {&setting, false, 0, 0, 0, 0.0, 0.0, Mark::kOutOfRange};
}

}  // namespace

TickOutcome EvaluateTick(const TickSetting& setting, double frequency_mhz,
                         double period_s, double tolerance_percent) {
  const double per_count = setting.clocks / (frequency_mhz * 1e6);
  const double wanted = period_s / per_count;  // counts in one period
  const double most = setting.mode->modulus - 1;
  const double fewest = kMinTickCounts;
  if (!std::isfinite(wanted) || wanted < fewest ||
      wanted > most * kMaxInterrupts) {
    return OutOfRange(setting);
  }
  // No product of whole numbers comes nearer than the nearest whole count.
  const double floor_miss = std::fabs(wanted - std::nearbyint(wanted));
  double best_miss = INFINITY;
  int best_n = 0;
  double best_c = 0;
  for (int n = std::max(1, static_cast<int>(std::ceil(wanted / most)));
       n <= kMaxInterrupts; ++n) {
    const double c = std::min(most, std::nearbyint(wanted / n));
    if (c < fewest) break;  // more interrupts only shorten it further
    const double miss = std::fabs(c * n - wanted);
    if (miss < best_miss) {
      best_miss = miss;
      best_n = n;
      best_c = c;
    }
    if (best_miss <= floor_miss) break;
  }
  if (best_n == 0) return OutOfRange(setting);
  const double actual = best_c * best_n * per_count;
  const double error = (actual - period_s) / period_s * 100.0;
  const int count = static_cast<int>(best_c);
  return {&setting,
          true,
          static_cast<int>(setting.mode->modulus) - count,
          count,
          best_n,
          actual,
          error,
          MarkOf(error, tolerance_percent)};
}

const std::vector<TickSetting>& ChipTickSettings(const Chip* chip) {
  static const std::vector<std::vector<TickSetting>> per_chip = [] {
    const std::span<const Chip> chips = Chips();
    std::vector<std::vector<TickSetting>> all(chips.size() + 1);
    for (std::size_t i = 0; i < chips.size(); ++i) {
      Expand(chips[i], all[i]);
      all.back().insert(all.back().end(), all[i].begin(), all[i].end());
    }
    return all;
  }();
  if (chip == nullptr) return per_chip.back();
  return per_chip[static_cast<std::size_t>(chip - Chips().data())];
}

std::span<const TickSetting> DefaultTickSettings() {
  static const std::vector<TickSetting> settings = [] {
    std::vector<TickSetting> all;
    for (std::string_view name : {"8052", "x2", "1t"}) {
      for (TickSetting s : ChipTickSettings(FindChip(name))) {
        s.by_chip = false;
        all.push_back(s);
      }
    }
    return all;
  }();
  return settings;
}

std::vector<const TickSetting*> TickMatching(const Filter& filter) {
  std::span<const TickSetting> pool = DefaultTickSettings();
  const std::string_view name = ChipName(filter.chip);
  if (name == "all") {
    pool = ChipTickSettings(nullptr);
  } else if (!name.empty()) {
    const Chip* chip = FindChip(name);
    if (chip == nullptr) return {};
    pool = ChipTickSettings(chip);
  }
  const std::string_view key = GeneratorKey(filter.chip);
  std::vector<const TickSetting*> matching;
  for (const TickSetting& s : pool) {
    if ((filter.timer && s.timer->number != *filter.timer) ||
        (filter.clocks && s.clocks != *filter.clocks) ||
        (filter.mode && s.mode->key != *filter.mode) ||
        (!key.empty() && s.timer->key != key)) {
      continue;
    }
    matching.push_back(&s);
  }
  return matching;
}

std::vector<TickOutcome> RankTicks(std::span<const TickSetting* const> settings,
                                   double frequency_mhz, double period_s,
                                   double tolerance_percent) {
  std::vector<TickOutcome> outcomes;
  outcomes.reserve(settings.size());
  for (const TickSetting* s : settings) {
    outcomes.push_back(
        EvaluateTick(*s, frequency_mhz, period_s, tolerance_percent));
  }
  auto key = [](const TickOutcome& o) {
    return std::tuple(!o.fits, std::fabs(o.error_percent),
                      o.setting->mode->reload != Reload::kHardware,
                      o.interrupts);
  };
  std::stable_sort(outcomes.begin(), outcomes.end(),
                   [&](const TickOutcome& a, const TickOutcome& b) {
                     return key(a) < key(b);
                   });
  return outcomes;
}

}  // namespace timers
