#include "mcs51/settings/ticks.h"

#include <algorithm>
#include <cmath>

#include "mcs51/settings/pipeline.h"

namespace mcs51 {
namespace {

void Expand(const Chip& chip, std::vector<TickSetting>& settings) {
  for (const Unit* unit : TickUnits(chip)) {
    for (const TickMode& mode : unit->ticks) {
      const std::size_t choices = mode.choices > 0
                                      ? static_cast<std::size_t>(mode.choices)
                                      : unit->clocks.size();
      for (std::size_t i = 0; i < choices; ++i) {
        settings.push_back(
            {&chip, unit, &mode, static_cast<int>(i), unit->clocks[i].clocks});
      }
    }
  }
}

TickOutcome OutOfRange(const TickSetting& setting) {
  return {&setting, false, 0, 0, 0, 0.0, 0.0, Mark::kOutOfRange};
}

}  // namespace

TickOutcome EvaluateTick(const TickSetting& setting, double frequency_mhz,
                         double period_s, double tolerance_percent,
                         double fewest) {
  const double per_count = setting.clocks / (frequency_mhz * 1e6);
  const double wanted = period_s / per_count;  // counts in one period
  const TickMode& mode = *setting.mode;
  const double most = mode.counting->most_counts(mode.modulus);
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
          mode.counting->register_of_count(mode.modulus, count),
          count,
          best_n,
          actual,
          error,
          MarkOf(error, tolerance_percent)};
}

const std::vector<TickSetting>& ChipTickSettings(const Chip* chip) {
  return pipeline::PerChip<TickSetting, Expand>(chip);
}

std::span<const TickSetting> DefaultTickSettings() {
  return pipeline::Defaults<TickSetting, Expand>();
}

std::vector<const TickSetting*> TickMatching(const Filter& filter) {
  return pipeline::Select<TickSetting>(
      filter, DefaultTickSettings(), ChipTickSettings,
      [&](const TickSetting& s, std::string_view key) {
        return s.mode->reload != Reload::kNone &&
               (!filter.timer || s.timer->number == *filter.timer) &&
               (!filter.clocks || s.clocks == *filter.clocks) &&
               (!filter.mode || s.mode->key == *filter.mode) &&
               (key.empty() || s.timer->key == key);
      });
}

RankKey KeyOf(const TickOutcome& outcome) {
  const TickSetting& s = *outcome.setting;
  return {outcome.fits,
          outcome.mark == Mark::kBeyond,
          pipeline::NeedsLaterCore(*s.chip, s.by_chip),
          s.mode->reload == Reload::kSoftware,
          outcome.interrupts,
          ErrorMagnitude(outcome.error_percent)};
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
  pipeline::SortBest(outcomes);
  return outcomes;
}

}  // namespace mcs51
