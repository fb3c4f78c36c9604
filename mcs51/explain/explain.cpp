#include "mcs51/explain/explain.h"

#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <cmath>

#include "mcs51/explain/explain_checks.h"
#include "mcs51/explain/explain_state.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

using explain::Bits;
using explain::Family;
using explain::FamilySetting;
using explain::RegisterState;
using explain::SettingKind;

// The fewest machine cycles from an overflow to a handler's first write:
// 3 to answer the interrupt (Intel MCS-51 User's Manual, Interrupt
// Response Time) and 2 for the jump at the vector.
constexpr int kFewestHandlerCycles = 5;

std::string SetText(const Bits& run) {
  if (!run.bit.empty()) return fmt::format("{} = 1;", run.bit);
  return fmt::format("{} |= 0x{:02X};", run.name, run.mask);
}

// The overflow flag a run bit is easily mistaken for: TF0 and TF1 sit just
// above TR0 and TR1 in TCON, 0x20 and 0x80 beside 0x10 and 0x40.
const Field* FlagBeside(const Bits& run) {
  for (const auto& [tr, tf] : {std::pair{&core::kTR0, &core::kTF0},
                               std::pair{&core::kTR1, &core::kTF1}}) {
    if (run.name == tr->reg && run.mask == tr->mask) return tf;
  }
  return nullptr;
}

void NotStarted(const RegisterState& state, const FamilySetting& s,
                std::vector<int>& reported, std::vector<Finding>& findings) {
  if (s.run.mask == 0 || IsSet(state, s.run) ||
      (state.UnknownBits(s.run.address) & s.run.mask) != 0 ||
      (state.EverSet(s.run.address) & s.run.mask) == s.run.mask ||
      std::find(reported.begin(), reported.end(), s.timer) != reported.end()) {
    return;
  }
  reported.push_back(s.timer);
  if (const Field* flag = FlagBeside(s.run)) {
    const Bits set{s.run.address, flag->mask, 0, s.run.name};
    if (IsSet(state, set)) {
      findings.push_back(Found(
          FindingKind::kWrongBit, state.LineOf(set.address, set.mask),
          FindingSentence::kWrongBit, flag->name, s.timer, SetText(s.run)));
      return;
    }
  }
  findings.push_back(Found(FindingKind::kNotStarted, LastLine(state, s),
                           FindingSentence::kNotStarted, s.timer,
                           SetText(s.run)));
}

// The nearest standard rate to the use's actual rate, and the error to it.
void Nearest(SerialUse& use) {
  use.nearest_baud = explain::NearestRate(use.actual_baud);
  use.error_percent =
      use.actual_baud > 0.0
          ? explain::PercentOff(use.actual_baud, use.nearest_baud)
          : 0.0;
}

SerialUse Serial(const RegisterState& state, const FamilySetting& s,
                 double frequency_mhz) {
  SerialUse use{.uart = s.receiver.name, .setting = &s};
  use.receives = IsSet(state, s.receiver);
  use.unresolved = Waits(state, s.reload) || Waits(state, s.step);
  if (use.unresolved) return use;
  use.reload = ValueOf(state, s.reload);
  use.step = s.step.empty() ? -1 : ValueOf(state, s.step);
  use.actual_baud = explain::BaudOf(s, frequency_mhz, use.reload, use.step);
  Nearest(use);
  return use;
}

constexpr int kMachineCycle = 12;

// The 12-clock core's serial port in mode 0 or 2, whose rate no generator
// sets: FREQ/12, or FREQ/64 halved by SMOD. Another core's fixed modes
// run at its own maker's divisors, which no record here holds.
void FixedRate(const Family& family, const RegisterState& state,
               const FamilySetting& port, double frequency_mhz,
               double tolerance_percent, Explanation& out) {
  const Chip* chip = FindChip(family.name);
  if (chip == nullptr || !chip->classic || chip->cores.empty() ||
      chip->cores.front()->clocks != kMachineCycle ||
      port.receiver.name != core::kREN.reg) {
    return;
  }
  const int scon = state.Value(port.receiver.address);
  const int mode = ((scon & core::kSM0.mask) != 0 ? 2 : 0) |
                   ((scon & core::kSM1.mask) != 0 ? 1 : 0);
  if (mode != 0 && mode != 2) return;
  SerialUse use{.uart = port.receiver.name, .fixed_mode = mode};
  if (mode == 0) {
    use.fixed_divisor = kMachineCycle;
  } else {
    const int pcon = FindRegister(*chip, core::kSMOD.reg).address;
    use.fixed_smod = (state.Value(pcon) & core::kSMOD.mask) != 0 ? 1 : 0;
    use.fixed_divisor = use.fixed_smod == 1 ? 32 : 64;
  }
  use.actual_baud = frequency_mhz * 1e6 / use.fixed_divisor;
  use.receives = IsSet(state, port.receiver);
  Nearest(use);
  out.serial.push_back(use);
  // Mode 0 clocks a shift register, not a UART: no rate to match.
  if (mode == 2 && std::fabs(use.error_percent) > tolerance_percent) {
    out.findings.push_back(
        Found(FindingKind::kNoStandardRate, state.LineOf(port.receiver.address),
              FindingSentence::kFixedRate, use.fixed_divisor, use.actual_baud,
              PercentText(use.error_percent), ShortestText(use.nearest_baud),
              ShortestText(tolerance_percent)));
  }
}

// A port whose mode a generator's UART bits allow, with none of the
// generators set up: a baud timer in a mode that does not reload.
void NoGenerator(const Family& family, const RegisterState& state,
                 const FamilySetting& port, Explanation& out) {
  out.serial.push_back(
      {.uart = port.receiver.name, .receives = IsSet(state, port.receiver)});
  for (const FamilySetting& b : family.settings) {
    if (b.kind != SettingKind::kBaud ||
        b.receiver.address != port.receiver.address || b.timer == 0) {
      continue;
    }
    const FamilySetting* tick =
        Best(family, state, SettingKind::kTick, [&](const FamilySetting& t) {
          return t.timer == b.timer && !t.hardware_reload;
        });
    if (tick == nullptr) continue;
    const int line =
        tick->mode_field.mask != 0
            ? state.LineOf(tick->mode_field.address, tick->mode_field.mask)
            : LastLine(state, *tick);
    if (line == 0) continue;  // the mode after reset: nothing set it up
    out.findings.push_back(Found(FindingKind::kNotAutoReload, line,
                                 FindingSentence::kNotAutoReload, b.timer,
                                 tick->mode, LabelOf(b)));
    return;
  }
}

void SerialPorts(const Family& family, const RegisterState& state,
                 double frequency_mhz, double tolerance_percent,
                 std::vector<int>& reported, Explanation& out) {
  std::vector<int> ports;
  for (const FamilySetting& s : family.settings) {
    if (s.kind != SettingKind::kBaud || !state.Written(s.receiver.address) ||
        std::find(ports.begin(), ports.end(), s.receiver.address) !=
            ports.end()) {
      continue;
    }
    ports.push_back(s.receiver.address);
    const int address = s.receiver.address;
    const FamilySetting* best = Best(
        family, state, SettingKind::kBaud,
        [&](const FamilySetting& b) { return b.receiver.address == address; });
    if (best == nullptr &&
        std::any_of(family.settings.begin(), family.settings.end(),
                    [&](const FamilySetting& b) {
                      return b.kind == SettingKind::kBaud &&
                             b.receiver.address == address &&
                             Matches(state, b, true);
                    }) &&
        std::any_of(family.settings.begin(), family.settings.end(),
                    [&](const FamilySetting& b) {
                      return b.receiver.address == address &&
                             Waits(state, b.fixed);
                    })) {
      // Which generator it is waits on what the code does not give.
      out.serial.push_back({.uart = s.receiver.name,
                            .receives = IsSet(state, s.receiver),
                            .unresolved = true});
      continue;
    }
    if (best == nullptr) {
      // The port's own mode bits, as any generator of it wants them.
      const bool timed = std::any_of(
          family.settings.begin(), family.settings.end(),
          [&](const FamilySetting& b) {
            return b.receiver.address == address &&
                   std::all_of(
                       b.fixed.begin(), b.fixed.end(), [&](const Bits& f) {
                         return f.address != address ||
                                (state.Value(address) & f.mask) == f.value;
                       });
          });
      if (timed) {
        NoGenerator(family, state, s, out);
      } else {
        FixedRate(family, state, s, frequency_mhz, tolerance_percent, out);
      }
      continue;
    }
    const SerialUse use = Serial(state, *best, frequency_mhz);
    out.serial.push_back(use);
    NotStarted(state, *best, reported, out.findings);
    if (!use.receives) {
      out.findings.push_back(
          Found(FindingKind::kReceiverOff, state.LineOf(address),
                FindingSentence::kReceiverOff, use.uart, best->receiver.mask));
    }
    if (!use.unresolved && std::fabs(use.error_percent) > tolerance_percent) {
      out.findings.push_back(
          Found(FindingKind::kNoStandardRate, LastLine(state, *best),
                FindingSentence::kNoStandardRate, use.actual_baud,
                PercentText(use.error_percent), ShortestText(use.nearest_baud),
                ShortestText(tolerance_percent), ShortestText(frequency_mhz)));
    }
  }
}

ReloadedBy ReloadOf(const RegisterState& state, const FamilySetting& s,
                    std::vector<Finding>& findings) {
  if (s.hardware_reload) return ReloadedBy::kHardware;
  ReloadedBy by = ReloadedBy::kNone;
  for (const explain::HandlerWrite& w : state.Handlers()) {
    if ((w.vector != s.vector && w.vector != kSomeVector) ||
        std::find(s.count.begin(), s.count.end(), w.address) == s.count.end()) {
      continue;
    }
    if (w.constant && by == ReloadedBy::kNone) {
      findings.push_back(Found(FindingKind::kReloadInHandler, w.line,
                               FindingSentence::kReloadInHandler, s.timer,
                               s.mode, kFewestHandlerCycles));
    }
    by = ReloadedBy::kHandler;
  }
  return by;
}

void Timers(const Family& family, const RegisterState& state,
            double frequency_mhz, std::vector<int>& reported,
            Explanation& out) {
  std::vector<int> numbers;
  for (const FamilySetting& s : family.settings) {
    if (s.kind != SettingKind::kTick ||
        std::find(numbers.begin(), numbers.end(), s.timer) != numbers.end()) {
      continue;
    }
    numbers.push_back(s.timer);
    const bool running = IsSet(state, s.run);
    const bool one_shot =
        !running && s.run.mask != 0 &&
        (state.EverSet(s.run.address) & s.run.mask) == s.run.mask;
    if (!running && !one_shot && !IsSet(state, s.enable)) continue;
    const int number = s.timer;
    const FamilySetting* best =
        Best(family, state, SettingKind::kTick,
             [&](const FamilySetting& t) { return t.timer == number; });
    TimerUse use{.timer = s.label,
                 .setting = best,
                 .running = running,
                 .one_shot = one_shot};
    use.interrupt = IsSet(state, s.enable) && IsSet(state, s.all);
    use.unresolved =
        best != nullptr
            ? Waits(state, best->reload)
            : std::any_of(family.settings.begin(), family.settings.end(),
                          [&](const FamilySetting& t) {
                            return t.timer == number && Waits(state, t.fixed) &&
                                   Matches(state, t, true);
                          });
    if (best != nullptr) use.reloaded_by = ReloadOf(state, *best, out.findings);
    if (best != nullptr && !use.unresolved) {
      use.reload = ValueOf(state, best->reload);
      use.period_s = explain::PeriodOf(*best, frequency_mhz, use.reload);
      const double steady = explain::PeriodOf(*best, frequency_mhz, 0);
      if (!best->hardware_reload && use.reloaded_by == ReloadedBy::kNone &&
          !one_shot && steady != use.period_s) {
        use.first_period_s = use.period_s;
        use.period_s = steady;
      }
    }
    out.timers.push_back(use);
    if (use.interrupt)
      NotStarted(state, best != nullptr ? *best : s, reported, out.findings);
  }
}

}  // namespace

std::string_view ReloadedByKey(ReloadedBy reloaded_by) {
  switch (reloaded_by) {
    case ReloadedBy::kHardware:
      return "hardware";
    case ReloadedBy::kHandler:
      return "handler";
    case ReloadedBy::kNone:
      break;
  }
  return "none";
}

namespace {

// The family the code names by a maker's header, or the default.
const Family& Named(const CodeReading& reading,
                    std::optional<Included>& named_by) {
  for (const Included& included : reading.included) {
    if (const Family* f = explain::FindFamily(included.chip)) {
      named_by = included;
      return *f;
    }
  }
  return explain::DefaultFamily();
}

// A finding's line, from the reading's numbering to its file's.
// Only several files name theirs: one file's reading reads as a paste's.
void InFile(const CodeReading& reading, Finding& f) {
  const Where where = At(reading.files, f.line);
  if (reading.files.size() > 1 || f.line == 0) f.file = where.file;
  f.line = where.line;
}

void Notes(const CodeReading& reading, Explanation& out) {
  const ExplainReportWords& w = ReportWords();
  for (const CodeClock& c : reading.clocks) {
    if (!c.assumed) continue;
    const Said said = Say(w.assumed, c.name, fmt::format("{:.0f}", c.hz));
    out.notes.push_back(
        {FindingKind::kUnresolved, c.line, said.en, said.zh, {}, 0});
  }
  for (const Included& missing : reading.missing) {
    const Said said = Say(w.missing, missing.header);
    out.notes.push_back(
        {FindingKind::kUnresolved, missing.line, said.en, said.zh, {}, 0});
  }
  std::stable_sort(
      out.notes.begin(), out.notes.end(),
      [](const Finding& a, const Finding& b) { return a.line < b.line; });
  for (Finding& note : out.notes) InFile(reading, note);
}

}  // namespace

Explanation Explain(std::string_view source, double frequency_mhz,
                    const Family* chosen, double tolerance_percent,
                    Compiler compiler) {
  const SourceFile paste{"", std::string(source)};
  return Explain({&paste, 1}, {compiler, {}, {}, 0.0}, frequency_mhz, chosen,
                 tolerance_percent);
}

Explanation Explain(std::span<const SourceFile> files, const Build& given,
                    double frequency_mhz, const Family* chosen,
                    double tolerance_percent) {
  Explanation out;
  Build build = given;
  build.clock_hz = frequency_mhz * 1e6;
  const CodeReading reading = ReadFiles(files, build);
  std::optional<Included> named_by;
  const Family& family = chosen != nullptr ? *chosen : Named(reading, named_by);
  if (reading.problem != CodeProblem::kNone) {
    out.family = &family;
    out.named_by = named_by;
    out.problem = reading.problem;
    out.problem_file = reading.problem_file;
    out.encoding = reading.encoding;
    return out;
  }
  out = ExplainReading(reading, frequency_mhz, family, tolerance_percent);
  out.named_by = named_by;
  if (out.named_by)
    out.named_by->line = At(reading.files, out.named_by->line).line;
  return out;
}

Explanation ExplainReading(const CodeReading& reading, double frequency_mhz,
                           const Family& family, double tolerance_percent) {
  Explanation out;
  out.family = &family;
  out.encoding = reading.encoding;
  RegisterState state(family);
  state.Follow(reading);
  for (const Unresolved& u : reading.unresolved) {
    out.findings.push_back(
        u.name.empty() ? Found(FindingKind::kUnresolved, u.line,
                               FindingSentence::kNoCondition)
                       : Found(FindingKind::kUnresolved, u.line,
                               FindingSentence::kUndefinedName, u.name));
  }
  if (state.Recognised() == 0 && reading.unresolved.empty()) {
    out.problem = CodeProblem::kNoWrites;
    return out;
  }
  std::vector<int> reported;  // timers already found not started
  SerialPorts(family, state, frequency_mhz, tolerance_percent, reported, out);
  Timers(family, state, frequency_mhz, reported, out);
  explain::UartNotSetUp(family, state, frequency_mhz, tolerance_percent, out);
  explain::NoHandler(state, reading, out);
  explain::CommentSays(state, reading, frequency_mhz, tolerance_percent, out);
  explain::CrystalDiffers(state, reading, frequency_mhz, out);
  std::vector<Finding>& own = state.Findings();
  out.findings.insert(out.findings.end(), own.begin(), own.end());
  std::stable_sort(
      out.findings.begin(), out.findings.end(),
      [](const Finding& a, const Finding& b) { return a.line < b.line; });
  Notes(reading, out);
  for (Finding& f : out.findings) InFile(reading, f);
  return out;
}

}  // namespace mcs51
