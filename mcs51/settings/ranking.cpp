#include "mcs51/settings/ranking.h"

#include <algorithm>
#include <cmath>

#include "calc/checked.h"
#include "calc/runtime_error.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/pipeline.h"

namespace mcs51 {
namespace {

void Expand(const Chip& chip, std::vector<Setting>& settings) {
  for (const FittedMode& fitted : BaudModes(chip)) {
    const BaudMode& mode = *fitted.mode;
    for (std::size_t i = 0; i < mode.k.size(); ++i) {
      const double k = mode.k[i];
      for (int smod = 0; smod <= (mode.smod ? 1 : 0); ++smod) {
        Setting s{fitted.unit->number,
                  mode.smod ? smod : -1,
                  fitted.unit->clocks[i].clocks,
                  {smod == 1 ? k / 2 : k, mode.modulus}};
        s.generator = &mode;
        s.unit = fitted.unit;
        s.chip = &chip;
        s.choice = static_cast<int>(i);
        settings.push_back(s);
      }
    }
  }
}

}  // namespace

const std::vector<Setting>& ChipSettings(const Chip* chip) {
  return pipeline::PerChip<Setting, Expand>(chip);
}

std::span<const Setting> DefaultSettings() {
  return pipeline::Defaults<Setting, Expand>();
}

Mark MarkOf(double error_percent, double tolerance_percent) {
  const double magnitude = std::fabs(error_percent);
  if (magnitude < kExactPercent) return Mark::kExact;
  if (magnitude > tolerance_percent) return Mark::kBeyond;
  return magnitude <= kClosePercent ? Mark::kClose : Mark::kWithin;
}

Outcome Evaluate(const Setting& setting, double frequency_mhz, double baud,
                 double tolerance_percent) {
  const Outcome none{&setting, false, 0, 0.0, 0.0, Mark::kOutOfRange};
  const BaudMode& mode = *setting.generator;
  const Reach reach =
      mode.kind->reach(mode, setting.profile, frequency_mhz, baud);
  if (!reach.fits) return none;
  Outcome outcome = none;
  try {
    outcome.error_percent = calc::Multiply(
        calc::Divide(calc::Subtract(reach.actual, baud), baud), 100.0);
  } catch (const calc::RuntimeError&) {
    return none;
  }
  outcome.fits = true;
  outcome.reload = reach.reload;
  outcome.step = reach.step;
  outcome.actual_baud = reach.actual;
  outcome.mark = MarkOf(outcome.error_percent, tolerance_percent);
  return outcome;
}

bool Filter::Matches(const Setting& setting) const {
  return (!timer || *timer == setting.timer) &&
         (!smod || *smod == setting.smod) &&
         (!clocks || *clocks == setting.clocks);
}

std::vector<const Setting*> Matching(const Filter& filter) {
  return pipeline::Select<Setting>(
      filter, DefaultSettings(), ChipSettings,
      [&](const Setting& s, std::string_view key) {
        return (key.empty() || s.generator->key == key) && filter.Matches(s);
      });
}

double ErrorMagnitude(double error_percent) {
  const double magnitude = std::fabs(error_percent);
  return magnitude < kExactPercent ? 0.0 : magnitude;
}

bool RanksBefore(const RankKey& a, const RankKey& b) {
  if (a.fits != b.fits) return a.fits;
  if (a.beyond != b.beyond) return !a.beyond;
  if (!a.beyond) {
    if (a.later_core != b.later_core) return !a.later_core;
    if (a.software != b.software) return !a.software;
    if (a.interrupts != b.interrupts) return a.interrupts < b.interrupts;
    return a.magnitude < b.magnitude;
  }
  if (a.magnitude != b.magnitude) return a.magnitude < b.magnitude;
  if (a.software != b.software) return !a.software;
  return a.interrupts < b.interrupts;
}

RankKey KeyOf(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  return {outcome.fits,
          outcome.mark == Mark::kBeyond,
          pipeline::NeedsLaterCore(*s.chip, s.by_chip),
          false,
          1,
          ErrorMagnitude(outcome.error_percent)};
}

Outcome Best(std::span<const Outcome> outcomes) {
  const Outcome* best = &outcomes.front();
  for (const Outcome& outcome : outcomes) {
    if (RanksBefore(KeyOf(outcome), KeyOf(*best))) best = &outcome;
  }
  return *best;
}

std::vector<Outcome> Rank(std::span<const Setting* const> settings,
                          double frequency_mhz, double baud,
                          double tolerance_percent) {
  std::vector<Outcome> outcomes;
  outcomes.reserve(settings.size());
  for (const Setting* setting : settings) {
    outcomes.push_back(
        Evaluate(*setting, frequency_mhz, baud, tolerance_percent));
  }
  pipeline::SortBest(outcomes);
  return outcomes;
}

namespace {

// Every crystal of `crystals` scored by its worst rate and ranked.
std::vector<CrystalScore> RankGroup(std::span<const Setting* const> settings,
                                    std::span<const double> crystals,
                                    std::span<const double> rates,
                                    double tolerance_percent) {
  std::vector<CrystalScore> scores;
  scores.reserve(crystals.size());
  for (double crystal : crystals) {
    CrystalScore score{crystal, {}, true, 0.0, Mark::kExact};
    score.best.reserve(rates.size());
    const Outcome* worst = nullptr;
    for (double rate : rates) {
      Outcome best =
          Evaluate(*settings.front(), crystal, rate, tolerance_percent);
      for (std::size_t i = 1; i < settings.size(); ++i) {
        const Outcome other =
            Evaluate(*settings[i], crystal, rate, tolerance_percent);
        if (RanksBefore(KeyOf(other), KeyOf(best))) best = other;
      }
      score.best.push_back(best);
    }
    for (const Outcome& best : score.best) {
      if (!best.fits) score.reachable = false;
      if (worst == nullptr || ErrorMagnitude(best.error_percent) >
                                  ErrorMagnitude(worst->error_percent)) {
        worst = &best;
      }
    }
    if (!score.reachable) {
      score.mark = Mark::kOutOfRange;
    } else if (worst != nullptr) {
      score.worst_error_percent = worst->error_percent;
      score.mark = worst->mark;
    }
    scores.push_back(std::move(score));
  }
  std::stable_sort(scores.begin(), scores.end(),
                   [](const CrystalScore& a, const CrystalScore& b) {
                     if (a.reachable != b.reachable) return a.reachable;
                     return ErrorMagnitude(a.worst_error_percent) <
                            ErrorMagnitude(b.worst_error_percent);
                   });
  return scores;
}

// One ranking per family: a crystal is bought for one chip. Its internal
// oscillators join the crystals, in frequency order.
std::vector<ClockModeRanking> RankChipCrystals(std::span<const double> rates,
                                               const Filter& filter,
                                               double tolerance_percent) {
  std::vector<ClockModeRanking> rankings;
  for (const Chip& chip : Chips()) {
    const std::string_view name = ChipName(filter.chip);
    if (name != "all" && FindChip(name) != &chip) continue;
    Filter one = filter;
    if (name == "all") one.chip = chip.name;
    const std::vector<const Setting*> settings = Matching(one);
    if (settings.empty()) continue;
    std::vector<double> crystals(kCrystals.begin(), kCrystals.end());
    for (double mhz : chip.internal_mhz) {
      if (std::find(crystals.begin(), crystals.end(), mhz) == crystals.end()) {
        crystals.push_back(mhz);
      }
    }
    std::sort(crystals.begin(), crystals.end());
    rankings.push_back(
        {0, RankGroup(settings, crystals, rates, tolerance_percent), &chip});
  }
  return rankings;
}

}  // namespace

std::vector<ClockModeRanking> RankCrystals(std::span<const double> rates,
                                           const Filter& filter,
                                           double tolerance_percent) {
  if (!filter.chip.empty()) {
    return RankChipCrystals(rates, filter, tolerance_percent);
  }
  std::vector<ClockModeRanking> rankings;
  for (int clocks : kClockModes) {
    if (filter.clocks && *filter.clocks != clocks) continue;
    Filter mode = filter;
    mode.clocks = clocks;
    const std::vector<const Setting*> settings = Matching(mode);
    if (settings.empty()) continue;  // e.g. Timer 2 has no 1-clock mode
    rankings.push_back(
        {clocks, RankGroup(settings, kCrystals, rates, tolerance_percent)});
  }
  return rankings;
}

}  // namespace mcs51
