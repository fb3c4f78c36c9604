#include "cli/settings.h"

#include <algorithm>
#include <cmath>

#include "calc/runtime_error.h"

namespace cli {
namespace {

// Exact errors compare equal, so rounding noise never reorders them.
double Magnitude(const Outcome& outcome) {
  const double magnitude = std::fabs(outcome.error_percent);
  return magnitude < kExactPercent ? 0.0 : magnitude;
}

// Fitting first, then the smaller error; equal keys keep their order.
bool Better(const Outcome& a, const Outcome& b) {
  if (a.fits != b.fits) return a.fits;
  return Magnitude(a) < Magnitude(b);
}

}  // namespace

Mark MarkOf(double error_percent, double tolerance_percent) {
  const double magnitude = std::fabs(error_percent);
  if (magnitude < kExactPercent) return Mark::kExact;
  if (magnitude > tolerance_percent) return Mark::kBeyond;
  return magnitude <= kClosePercent ? Mark::kClose : Mark::kWithin;
}

Outcome Evaluate(const Setting& setting, double frequency_mhz, double baud,
                 double tolerance_percent) {
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
  std::vector<const Setting*> settings;
  for (const Setting& setting : kSettings) {
    if (filter.Matches(setting)) settings.push_back(&setting);
  }
  return settings;
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
  std::stable_sort(outcomes.begin(), outcomes.end(), Better);
  return outcomes;
}

std::vector<ClockModeRanking> RankCrystals(std::span<const double> rates,
                                           const Filter& filter,
                                           double tolerance_percent) {
  std::vector<ClockModeRanking> rankings;
  for (int clocks : kClockModes) {
    if (filter.clocks && *filter.clocks != clocks) continue;
    Filter mode = filter;
    mode.clocks = clocks;
    const std::vector<const Setting*> settings = Matching(mode);
    if (settings.empty()) continue;  // e.g. Timer 2 has no 1-clock mode

    ClockModeRanking ranking{clocks, {}};
    ranking.crystals.reserve(kCrystals.size());
    for (double crystal : kCrystals) {
      CrystalScore score{crystal, {}, true, 0.0, Mark::kExact};
      score.best.reserve(rates.size());
      const Outcome* worst = nullptr;
      for (double rate : rates) {
        Outcome best =
            Evaluate(*settings.front(), crystal, rate, tolerance_percent);
        for (std::size_t i = 1; i < settings.size(); ++i) {
          const Outcome other =
              Evaluate(*settings[i], crystal, rate, tolerance_percent);
          if (Better(other, best)) best = other;
        }
        score.best.push_back(best);
      }
      for (const Outcome& best : score.best) {
        if (!best.fits) score.reachable = false;
        if (worst == nullptr || Magnitude(best) > Magnitude(*worst)) {
          worst = &best;
        }
      }
      if (!score.reachable) {
        score.mark = Mark::kOutOfRange;
      } else if (worst != nullptr) {
        score.worst_error_percent = worst->error_percent;
        score.mark = worst->mark;
      }
      ranking.crystals.push_back(std::move(score));
    }
    std::stable_sort(ranking.crystals.begin(), ranking.crystals.end(),
                     [](const CrystalScore& a, const CrystalScore& b) {
                       if (a.reachable != b.reachable) return a.reachable;
                       const double ea = std::fabs(a.worst_error_percent);
                       const double eb = std::fabs(b.worst_error_percent);
                       return (ea < kExactPercent ? 0.0 : ea) <
                              (eb < kExactPercent ? 0.0 : eb);
                     });
    rankings.push_back(std::move(ranking));
  }
  return rankings;
}

}  // namespace cli
