#include "timers/ranking.h"

#include <algorithm>
#include <cmath>

#include "calc/checked.h"
#include "calc/runtime_error.h"
#include "timers/catalogue.h"
#include "timers/pipeline.h"

namespace mcs51 {
namespace {

// baud = f * STEP / (256 * K * n), n = BR_VALUE + 1 in 1 ... R, STEP in
// 1 ... 255: for each n the nearest STEP, and of those the one whose
// STEP / n is relatively nearest the ideal (ties to the larger n, whose
// STEP is finest); its rate is then worked out like every other.
Outcome EvaluateFractional(const Setting& setting, double frequency_mhz,
                           double baud, double tolerance_percent) {
  Outcome outcome{&setting, false, 0, 0.0, 0.0, Mark::kOutOfRange};
  const double modulus = setting.profile.modulus;
  const double k = calc::Multiply(256.0, setting.profile.clock_divisor);
  try {
    const double hertz = calc::Multiply(frequency_mhz, 1e6);
    const double ratio = calc::Divide(calc::Multiply(k, baud), hertz);
    // Above 255.5 / ratio every STEP is beyond 255.
    const double top = std::min(modulus, std::floor(255.5 / ratio));
    double best_n = 0.0, best_step = 0.0, best_miss = 0.0;
    for (double n = top; n >= 1.0; n -= 1.0) {
      const double ideal = calc::Multiply(ratio, n);
      const double step = std::nearbyint(ideal);
      if (step < 1.0) break;  // smaller n only lower it
      const double miss = std::fabs(step - ideal) / ideal;
      if (best_n == 0.0 || miss < best_miss) {
        best_n = n, best_step = step, best_miss = miss;
      }
    }
    if (best_n == 0.0) return outcome;
    const double actual = calc::Divide(calc::Multiply(hertz, best_step),
                                       calc::Multiply(k, best_n));
    outcome.error_percent =
        calc::Multiply(calc::Divide(calc::Subtract(actual, baud), baud), 100.0);
    outcome.actual_baud = actual;
    outcome.reload = static_cast<int>(best_n) - 1;
    outcome.step = static_cast<int>(best_step);
    outcome.fits = true;
    outcome.mark = MarkOf(outcome.error_percent, tolerance_percent);
  } catch (const calc::RuntimeError&) {
    return {&setting, false, 0, 0.0, 0.0, Mark::kOutOfRange};
  }
  return outcome;
}

// `outcome` reaching `actual` with register value `reload` (and `step`).
Outcome Reached(Outcome outcome, double actual, double baud, double reload,
                int step, double tolerance_percent) {
  outcome.error_percent =
      calc::Multiply(calc::Divide(calc::Subtract(actual, baud), baud), 100.0);
  outcome.actual_baud = actual;
  outcome.reload = static_cast<int>(reload);
  outcome.step = step;
  outcome.fits = true;
  outcome.mark = MarkOf(outcome.error_percent, tolerance_percent);
  return outcome;
}

// baud = f / (K * n), the register holding n - offset: the ideal n rounded
// half to even, as a reload is.
Outcome EvaluateOffset(const Setting& setting, double frequency_mhz,
                       double baud, double tolerance_percent) {
  const Outcome none{&setting, false, 0, 0.0, 0.0, Mark::kOutOfRange};
  try {
    const double hertz = calc::Multiply(frequency_mhz, 1e6);
    const double k = setting.profile.clock_divisor;
    const double n =
        std::nearbyint(calc::Divide(hertz, calc::Multiply(k, baud)));
    const double reload = n - setting.generator->offset;
    if (n < 1.0 || reload < 0.0 || reload > setting.profile.modulus - 1.0) {
      return none;
    }
    const double actual = calc::Divide(hertz, calc::Multiply(k, n));
    return Reached(none, actual, baud, reload, -1, tolerance_percent);
  } catch (const calc::RuntimeError&) {
    return none;
  }
}

// baud = f * m * 2^E / 2^28 with m = 256 + M: the smallest E whose rounded
// m stays below 512, so that M is finest. The UART takes no more than f/16
// (m * 2^E up to 2^24).
Outcome EvaluateMantissaExponent(const Setting& setting, double frequency_mhz,
                                 double baud, double tolerance_percent) {
  const Outcome none{&setting, false, 0, 0.0, 0.0, Mark::kOutOfRange};
  constexpr double kScale = 268435456.0;   // 2^28
  constexpr double kFastest = 16777216.0;  // 2^24: f/16
  try {
    const double hertz = calc::Multiply(frequency_mhz, 1e6);
    const double x = calc::Divide(calc::Multiply(baud, kScale), hertz);
    double power = 1.0, m = std::nearbyint(x);
    int exponent = 0;
    for (; m >= 512.0; ++exponent) {
      power *= 2.0;
      m = std::nearbyint(x / power);
    }
    if (m < 256.0 || m * power > kFastest) return none;
    const double actual =
        calc::Divide(calc::Multiply(hertz, calc::Multiply(m, power)), kScale);
    return Reached(none, actual, baud, m - 256.0, exponent, tolerance_percent);
  } catch (const calc::RuntimeError&) {
    return none;
  }
}

}  // namespace

std::string_view ChipName(std::string_view chip) {
  return chip.substr(0, chip.find(':'));
}

std::string_view GeneratorKey(std::string_view chip) {
  const std::size_t colon = chip.find(':');
  return colon == chip.npos ? std::string_view() : chip.substr(colon + 1);
}

Mark MarkOf(double error_percent, double tolerance_percent) {
  const double magnitude = std::fabs(error_percent);
  if (magnitude < kExactPercent) return Mark::kExact;
  if (magnitude > tolerance_percent) return Mark::kBeyond;
  return magnitude <= kClosePercent ? Mark::kClose : Mark::kWithin;
}

Outcome Evaluate(const Setting& setting, double frequency_mhz, double baud,
                 double tolerance_percent) {
  const Counting counting = setting.generator->counting;
  if (counting == Counting::kFractional) {
    return EvaluateFractional(setting, frequency_mhz, baud, tolerance_percent);
  }
  if (counting == Counting::kOffset) {
    return EvaluateOffset(setting, frequency_mhz, baud, tolerance_percent);
  }
  if (counting == Counting::kMantissaExponent) {
    return EvaluateMantissaExponent(setting, frequency_mhz, baud,
                                    tolerance_percent);
  }
  Outcome outcome{&setting, false, 0, 0.0, 0.0, Mark::kOutOfRange};
  double reload = 0.0;
  try {
    reload =
        calc::ComputeTimerReload(frequency_mhz, baud, setting.profile).Reload;
  } catch (const calc::RuntimeError&) {
    return outcome;  // a rate the arithmetic cannot carry is out of reach
  }
  const calc::ActualRate rate =
      calc::ActualRateOf(frequency_mhz, baud, setting.profile, reload);
  if (!rate.fits) return outcome;
  outcome.fits = true;
  outcome.reload = static_cast<int>(rate.constant);
  if (counting == Counting::kDivisorMinusOne) {
    outcome.reload =
        RegisterOfCount(counting, setting.profile.modulus,
                        CountOfRegister(Counting::kUp, setting.profile.modulus,
                                        outcome.reload));
  }
  outcome.actual_baud = rate.baud;
  outcome.error_percent = rate.error_percent;
  outcome.mark = MarkOf(rate.error_percent, tolerance_percent);
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
