#include "mcs51/explain/explain_checks.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "mcs51/explain/explain_words.h"
#include "mcs51/settings/text.h"

namespace mcs51::explain {
namespace {

// Whether a port the code sets up is clocked by `timer`.
bool Serving(const Explanation& out, int timer) {
  return std::any_of(out.serial.begin(), out.serial.end(),
                     [&](const SerialUse& u) {
                       return u.setting != nullptr && u.setting->timer == timer;
                     });
}

// The tick setting of a baud setting's timer, for its interrupt enable.
const FamilySetting* TickOf(const Family& family, int timer) {
  for (const FamilySetting& t : family.settings) {
    if (t.kind == SettingKind::kTick && t.timer == timer) return &t;
  }
  return nullptr;
}

// The bits a baud setting fixes in its port's register, receiver on.
int PortValue(const FamilySetting& b, int& mask) {
  int value = 0;
  mask = 0;
  for (const Bits& f : b.fixed) {
    if (f.address != b.receiver.address) continue;
    value |= f.value;
    mask |= f.mask;
  }
  return value | b.receiver.mask;
}

bool MatchesAway(const RegisterState& state, const FamilySetting& b, int away) {
  return std::all_of(b.fixed.begin(), b.fixed.end(), [&](const Bits& f) {
    return f.address == away || ((state.UnknownBits(f.address) & f.mask) == 0 &&
                                 (state.Value(f.address) & f.mask) == f.value);
  });
}

bool InTolerance(double actual, double meant, double tolerance_percent) {
  return meant > 0 && std::fabs(PercentOff(actual, meant)) <= tolerance_percent;
}

int ReloadLine(const RegisterState& state, const FamilySetting& s) {
  int line = 0;
  for (const ReloadPart& p : s.reload) {
    line = std::max(line, state.LineOf(p.address, p.mask));
  }
  return line;
}

// "1/2": the timers that clock a port, in either tongue.
std::string Clocking(const Family& family, int port) {
  std::vector<int> timers;
  for (const FamilySetting& b : family.settings) {
    if (b.kind == SettingKind::kBaud && b.receiver.address == port &&
        b.timer != 0 &&
        std::find(timers.begin(), timers.end(), b.timer) == timers.end()) {
      timers.push_back(b.timer);
    }
  }
  std::string text;
  for (const int t : timers) {
    text += fmt::format("{}{}", text.empty() ? "" : "/", t);
  }
  return text;
}

// A timer in an auto-reload mode, running with its interrupt off, that no
// generator of the port is.
void CannotClock(const Family& family, const RegisterState& state, int port,
                 Explanation& out) {
  const std::string clocking = Clocking(family, port);
  if (clocking.empty() || !state.Written(port)) return;
  for (const FamilySetting& t : family.settings) {
    const bool generator =
        std::any_of(family.settings.begin(), family.settings.end(),
                    [&](const FamilySetting& b) {
                      return b.kind == SettingKind::kBaud &&
                             b.receiver.address == port && b.timer == t.timer;
                    });
    const bool serving = Serving(out, t.timer);
    if (t.kind != SettingKind::kTick || generator || serving ||
        !t.hardware_reload || !Matches(state, t) || !IsSet(state, t.run) ||
        IsSet(state, t.enable)) {
      continue;
    }
    out.findings.push_back(Found(FindingKind::kUartNotSetUp, LastLine(state, t),
                                 FindingSentence::kCannotClock, t.timer,
                                 state.NameAt(port), Clocking(family, port)));
    return;
  }
}

}  // namespace

void UartNotSetUp(const Family& family, const RegisterState& state,
                  double frequency_mhz, double tolerance_percent,
                  Explanation& out) {
  std::vector<int> ports;
  for (const FamilySetting& b : family.settings) {
    const int port = b.receiver.address;
    if (b.kind != SettingKind::kBaud ||
        std::find(ports.begin(), ports.end(), port) != ports.end()) {
      continue;
    }
    int mask = 0;
    const int wanted = PortValue(b, mask);
    const int now = state.Value(port);
    const bool timed = (now & mask) == (wanted & mask);
    if (timed) {
      if (!std::any_of(out.serial.begin(), out.serial.end(),
                       [&](const SerialUse& u) {
                         return u.uart == state.NameAt(port) &&
                                (u.setting != nullptr || u.unresolved ||
                                 u.fixed_mode >= 0);
                       })) {
        CannotClock(family, state, port, out);
      }
      ports.push_back(port);
      continue;
    }
    const bool serving = Serving(out, b.timer);
    const FamilySetting* tick = TickOf(family, b.timer);
    if (b.timer == 0 || serving || (now & mask) != 0 ||
        !MatchesAway(state, b, port) || !IsSet(state, b.run) ||
        (tick != nullptr && IsSet(state, tick->enable)) ||
        Waits(state, b.reload) || Waits(state, b.step)) {
      continue;
    }
    const double baud = BaudOf(b, frequency_mhz, ValueOf(state, b.reload),
                               b.step.empty() ? -1 : ValueOf(state, b.step));
    const double nearest = NearestRate(baud);
    if (!InTolerance(baud, nearest, tolerance_percent)) continue;
    ports.push_back(port);
    out.findings.push_back(
        Found(FindingKind::kUartNotSetUp, ReloadLine(state, b),
              state.Written(port) ? FindingSentence::kPortInModeZero
                                  : FindingSentence::kPortNeverWritten,
              b.timer, ShortestText(nearest), state.NameAt(port), wanted));
  }
}

void NoHandler(const RegisterState& state, const CodeReading& reading,
               Explanation& out) {
  const std::vector<int>& handlers = reading.handlers;
  for (const TimerUse& use : out.timers) {
    const FamilySetting* s = use.setting;
    if (s == nullptr || !use.interrupt || s->hardware_reload ||
        std::find(handlers.begin(), handlers.end(), s->vector) !=
            handlers.end() ||
        std::find(handlers.begin(), handlers.end(), kSomeVector) !=
            handlers.end()) {
      continue;
    }
    out.findings.push_back(
        Found(FindingKind::kNoHandler,
              state.LineOf(s->enable.address, s->enable.mask),
              FindingSentence::kNoHandler, s->timer, s->mode, s->vector,
              8 * s->vector + 3));
  }
}

}  // namespace mcs51::explain
