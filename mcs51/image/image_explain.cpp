#include "mcs51/image/image_explain.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <set>

#include "mcs51/explain/explain_registers.h"
#include "mcs51/explain/explain_state.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/image/intel_hex.h"
#include "mcs51/image/simulator.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51 {
namespace {

using explain::Bits;
using explain::Family;
using explain::FamilySetting;

// The families s51 has a model of, by its -t names (s51 -H).
struct OwnType {
  std::string_view family, type;
};
constexpr std::array kOwnTypes{OwnType{"8051", "8051"}, OwnType{"8052", "8052"},
                               OwnType{"ds80c320", "DS320"},
                               OwnType{"c517a", "C517"},
                               OwnType{"xc886", "XC88X"}};

constexpr int kClassicClocks = 12;
constexpr int kVectors = 16;  // 0x0003 ... 0x007B, every family's within

int VectorAddress(int vector) { return 3 + 8 * vector; }

// The opcodes a vector's handler starts with (Intel MCS-51 User's Manual,
// Instruction Set): AJMP is 0x01 in its low five bits.
constexpr int kLjmp = 0x02, kSjmp = 0x80, kReti = 0x32, kAjmp = 0x01;

// The SFRs and bits a setting's code writes: what the run watches.
struct Watched {
  std::set<int> bytes, bits, counts;
  void Add(const Bits& b) {
    if (b.mask == 0 || b.address < 0x80 || b.address > 0xFF) return;
    bytes.insert(b.address);
    if (b.address % 8 != 0) return;
    for (int bit = 0; bit < 8; ++bit)
      if ((b.mask >> bit & 1) != 0) bits.insert(b.address + bit);
  }
  void Add(const std::vector<explain::ReloadPart>& parts) {
    for (const auto& p : parts)
      if (p.address >= 0x80 && p.address <= 0xFF) bytes.insert(p.address);
  }
};

Watched WatchedOf(const Family& family) {
  Watched w;
  for (const FamilySetting& s : family.settings) {
    for (const Bits& b : s.fixed) w.Add(b);
    for (const Bits* b :
         {&s.run, &s.enable, &s.all, &s.receiver, &s.mode_field})
      w.Add(*b);
    w.Add(s.reload);
    w.Add(s.step);
    for (const int a : s.count) {
      if (a < 0x80 || a > 0xFF) continue;
      w.bytes.insert(a);
      w.counts.insert(a);
    }
  }
  return w;
}

// A handler's write of a count that is no constant moved in (TL0 += ...,
// the count carried on) is no constant reload.
bool Constant(const SimWrite& w, const std::set<int>& counts) {
  return w.known && (w.vector < 0 || !counts.contains(w.address) ||
                     ImmediateOf(w.instruction) >= 0);
}

// The writes as a reading's effects, the n-th write on line n.
CodeReading ReadingOf(const SimRun& run, const HexImage& image,
                      const std::set<int>& counts) {
  CodeReading reading;
  reading.dialect = CodeDialect::kAssembly;
  int line = 0;
  for (const SimWrite& w : run.writes) {
    Effect e;
    e.line = ++line;
    e.vector = w.vector;
    e.target.address = w.address;
    e.target.space = w.bit ? Space::kBit : Space::kByte;
    if (w.bit) {
      e.op = w.value != 0 ? EffectOp::kSetBit : EffectOp::kClearBit;
    } else if (Constant(w, counts)) {
      e.value = w.value;
    } else {
      e.op = EffectOp::kUnknown;
      e.depends = w.instruction;
    }
    reading.effects.push_back(std::move(e));
  }
  // A handler is one that ran, or a jump or RETI at its vector.
  for (int v = 0; v < kVectors; ++v) {
    const auto at = static_cast<std::uint32_t>(VectorAddress(v));
    const int op = image.Holds(at) ? image.code[at] : -1;
    const bool ran = std::any_of(
        run.entries.begin(), run.entries.end(),
        [&](const SimEntry& e) { return e.address == static_cast<int>(at); });
    if (ran || op == kLjmp || op == kSjmp || op == kReti ||
        (op >= 0 && (op & 0x1F) == kAjmp)) {
      reading.handlers.push_back(v);
    }
  }
  return reading;
}

// The mean time between the first and last timed entries at `address`.
double MeasuredPeriod(const SimRun& run, int address, double frequency_mhz) {
  std::int64_t first = -1, last = -1;
  int entries = 0;
  for (const SimEntry& e : run.entries) {
    if (e.address != address) continue;
    if (first < 0) first = e.clock;
    last = e.clock;
    ++entries;
  }
  if (entries < 2) return 0.0;
  return static_cast<double>(last - first) / (entries - 1) /
         (frequency_mhz * 1e6);
}

// A finding's line n is the n-th write: its source line, or its address.
void PlaceFinding(Finding& f, const SimRun& run, const Listing& listing) {
  if (f.line < 1 || f.line > static_cast<int>(run.writes.size())) return;
  const int pc = run.writes[static_cast<std::size_t>(f.line - 1)].pc;
  if (const auto where = LineAt(listing, pc)) {
    f.file = where->file;
    f.line = where->line;
  } else {
    f.line = 0;
    f.address = pc;
  }
}

// A timer its handler reloads runs, after its first period, at the
// reload the handler writes, not the one its set-up left: the handler's
// last constant writes to each part of its reload.
void HandlerReload(Explanation& e, const SimRun& run, double frequency_mhz) {
  for (TimerUse& use : e.timers) {
    const FamilySetting* s = use.setting;
    if (s == nullptr || use.reloaded_by != ReloadedBy::kHandler ||
        use.unresolved) {
      continue;
    }
    int reload = 0;
    bool whole = true;
    for (const explain::ReloadPart& part : s->reload) {
      const auto last = std::find_if(
          run.writes.rbegin(), run.writes.rend(), [&](const SimWrite& w) {
            return !w.bit && w.vector == s->vector && w.address == part.address;
          });
      whole = whole && last != run.writes.rend() &&
              ImmediateOf(last->instruction) >= 0;
      if (whole) reload |= (last->value & part.mask) << part.shift;
    }
    if (!whole || reload == use.reload) continue;
    use.first_period_s = use.period_s;
    use.reload = reload;
    use.period_s = explain::PeriodOf(*s, frequency_mhz, reload);
  }
}

// Each reloading handler's finding gains its measured drift.
void Measured(Explanation& e, const SimRun& run, const SimulatorFit& fit,
              double frequency_mhz) {
  if (!fit.timed) return;
  for (TimerUse& use : e.timers) {
    if (use.setting == nullptr || use.setting->vector < 0) continue;
    use.measured_period_s =
        MeasuredPeriod(run, VectorAddress(use.setting->vector), frequency_mhz);
    if (use.measured_period_s <= 0.0 || use.period_s <= 0.0) continue;
    for (Finding& f : e.findings) {
      if (f.kind != FindingKind::kReloadInHandler || f.line < 1 ||
          run.writes[static_cast<std::size_t>(f.line - 1)].vector !=
              use.setting->vector) {
        continue;
      }
      const Said said = MeasuredText(use);
      f.text += "; " + said.en;
      f.chinese += "；" + said.zh;
    }
  }
}

// Where a run that set nothing up was at its end, and why it ended.
std::string WhereItWas(const SimRun& run, double seconds) {
  if (!run.stopped.empty()) {
    return fmt::format("it stopped at 0x{:04X} after {}: {}", run.pc,
                       PeriodText(seconds), run.stopped);
  }
  if (run.settled) {
    return fmt::format("after {} it waits in a loop at 0x{:04X}",
                       PeriodText(seconds), run.pc);
  }
  return fmt::format("in {} of simulated time (--sim-time)",
                     PeriodText(seconds));
}

Finding Note(const Said& said) {
  return {FindingKind::kUnresolved, 0, said.en, said.zh, {}, 0};
}

}  // namespace

double WallGuard(double sim_time_s) { return 3.0 + 10.0 * sim_time_s; }

SimulatorFit SimulatorFor(const Family& family) {
  for (const OwnType& own : kOwnTypes)
    if (own.family == family.name) return {own.type, true, true};
  const Chip* chip = FindChip(family.name);
  // The 8052's timing is every 12-clock classic part's.
  const bool classic = chip != nullptr && chip->classic &&
                       !chip->cores.empty() &&
                       chip->cores.front()->clocks == kClassicClocks;
  return {"8052", false, classic};
}

ImageAnswer ExplainImage(const std::string& path, std::string_view text,
                         const ImageAsk& ask) {
  ImageAnswer answer;
  const HexImage image = ReadIntelHex(text);
  if (image.problem != HexProblem::kNone) {
    answer.fault = ImageFault::kHex;
    answer.detail = HexProblemText(image);
    return answer;
  }
  const Family& family = *ask.family;
  const SimulatorFit fit = SimulatorFor(family);
  const Watched watched = WatchedOf(family);
  SimAsk sim{.program = ask.simulator,
             .type = std::string(fit.type),
             .frequency_mhz = ask.frequency_mhz,
             .sim_time_s = ask.sim_time_s,
             .wall_s = WallGuard(ask.sim_time_s),
             .bytes = {watched.bytes.begin(), watched.bytes.end()},
             .bits = {watched.bits.begin(), watched.bits.end()},
             .counts = {watched.counts.begin(), watched.counts.end()},
             .timed = {}};
  for (const FamilySetting& s : family.settings) {
    if (s.kind != explain::SettingKind::kTick || s.vector < 0 ||
        s.enable.mask == 0 || s.enable.address < 0x80) {
      continue;
    }
    const int all = s.all.address == s.enable.address ? s.all.mask : 0;
    const SimTimed timed{VectorAddress(s.vector), s.enable.address,
                         s.enable.mask | all};
    if (std::none_of(
            sim.timed.begin(), sim.timed.end(),
            [&](const SimTimed& t) { return t.address == timed.address; }))
      sim.timed.push_back(timed);
  }
  const SimRun run = Simulate(path, sim);
  if (run.fault != SimFault::kNone) {
    answer.fault = run.fault == SimFault::kMissing     ? ImageFault::kMissing
                   : run.fault == SimFault::kWallClock ? ImageFault::kWallClock
                                                       : ImageFault::kEnded;
    answer.detail = run.detail;
    return answer;
  }
  const double seconds =
      static_cast<double>(run.clocks) / (ask.frequency_mhz * 1e6);
  Explanation& e = answer.explanation;
  if (!run.writes.empty()) {
    e = ExplainReading(ReadingOf(run, image, watched.counts), ask.frequency_mhz,
                       family, ask.tolerance_percent);
  }
  // Writes that set up no port and no timer (PCON's idle bit alone) are
  // a program that stopped before its set-up, or never had one.
  if (run.writes.empty() || (e.serial.empty() && e.timers.empty())) {
    answer.fault = ImageFault::kNothingSetUp;
    answer.detail = WhereItWas(run, seconds);
    return answer;
  }
  e.simulated = Simulated{std::string(fit.type), seconds, fit.timed};
  HandlerReload(e, run, ask.frequency_mhz);
  Measured(e, run, fit, ask.frequency_mhz);
  for (Finding& f : e.findings) PlaceFinding(f, run, ask.listing);
  for (Finding& f : e.notes) PlaceFinding(f, run, ask.listing);
  const ImageReportWords& words = ImageWords();
  if (!fit.own) e.notes.push_back(Note(Say(words.simulated_other, fit.type)));
  if (ask.listing.empty() && !e.findings.empty())
    e.notes.push_back(Note(Say(words.no_listing)));
  if (!run.stopped.empty())
    e.notes.push_back(Note(Say(words.stopped, run.pc, run.stopped)));
  return answer;
}

}  // namespace mcs51
