// Delays paced by a timer: delay.h's PlanTimerDelay. The timer runs in a
// mode that reloads itself, its interrupt off, and the code counts its
// overflows by polling the flag, so the time is the timer's counts, exact,
// and only the instructions before the first count and after the last
// overflow are not: their longest time is the bound.
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "mcs51/code/code_parts.h"
#include "mcs51/delays/delay.h"
#include "mcs51/delays/delay_code.h"
#include "mcs51/delays/delay_parts.h"
#include "mcs51/hardware/catalogue.h"

namespace mcs51 {
namespace {

// Each instruction's longest time in oscillator clocks: the core's table,
// or, where it has none for an instruction a timer delay uses, the
// classic 8051's at 12 clocks a machine cycle for every instruction.
struct Timing {
  const Core& core;
  bool classic;

  long long Clocks(Op op) const {
    const int i = static_cast<int>(op);
    return classic ? 12LL * kMcs51Cycles[i]
                   : static_cast<long long>(core.cycles[i]) * core.clocks;
  }
};

Timing TimingOf(const Core& core) {
  bool whole = core.refusal.empty();
  for (int op = kLoopOps; whole && op < static_cast<int>(Op::kCount); ++op) {
    whole = core.cycles[op] > 0;
  }
  return {core, !whole};
}

// The branch as it falls through.
Op Out(Op op) {
  switch (op) {
    case Op::kJnbTaken:
      return Op::kJnbOut;
    case Op::kJzTaken:
      return Op::kJzOut;
    case Op::kDjnzTaken:
      return Op::kDjnzOut;
    case Op::kJnzTaken:
      return Op::kJnzOut;
    default:
      return op;
  }
}

long long Sum(const std::vector<Instr>& code, const Timing& t, bool out) {
  long long sum = 0;
  for (const Instr& i : code) sum += t.Clocks(out ? Out(i.op) : i.op);
  return sum;
}

// Each branch the longer way.
long long Longest(const std::vector<Instr>& code, const Timing& t) {
  long long sum = 0;
  for (const Instr& i : code)
    sum += std::max(t.Clocks(i.op), t.Clocks(Out(i.op)));
  return sum;
}

// The flag an overflow sets, as the write that clears it, or none.
std::optional<Write> FlagOf(const Unit& unit) {
  if (!unit.flag.reg.empty()) {
    return Write{.reg = unit.flag.reg,
                 .mask = unit.flag.mask,
                 .value = 0,
                 .bit = unit.flag.bit};
  }
  if (unit.overflow.reg.empty()) return std::nullopt;
  return ClearBit(unit.overflow);
}

std::vector<Instr> Steps(const Chip& chip, const Write& write, int value) {
  const Register& target = FindRegister(chip, write.reg);
  std::vector<Instr> code;
  bool first = true;
  for (AsmStep& step : WriteSteps(write, value, target, Spelling::kAddress)) {
    Instr i{step.op, step.mnemonic + " " + step.operands};
    if (first) {
      i.name = write.bit.empty() ? write.reg : write.bit;
      i.note = write.comment;
    }
    code.push_back(std::move(i));
    first = false;
  }
  return code;
}

void Append(std::vector<Instr>& to, const std::vector<Instr>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

constexpr int kRound = 1;  // the label each n's round starts at
constexpr int kPoll = 2;   // the label of the polling loop

// The delay's parts, in order: Keil's moves of n, before the counts, the
// counters' loads, the poll, the flag cleared, the counters, the count of
// n, the stop.
struct Parts {
  std::vector<Instr> moves, before, loads, poll, clear, counters, count, stop;
};

// The parts for `outcome`, or none where its records do not end with the
// write that starts the timer or it has no flag to poll.
std::optional<Parts> PartsOf(const TickOutcome& outcome, bool times,
                             bool keil) {
  const TickSetting& s = *outcome.setting;
  const Unit& unit = *s.timer;
  const std::optional<Write> flag = FlagOf(unit);
  if (!flag) return std::nullopt;
  const Register& flag_reg = FindRegister(*s.chip, flag->reg);
  if (flag_reg.space == MemorySpace::kXdata) return std::nullopt;
  std::vector<const Write*> writes;
  for (const Write& w : s.mode->writes) {
    if (!WritesField(w, unit.enable) && !WritesField(w, core::kEA)) {
      writes.push_back(&w);
    }
  }
  const Write& run = unit.run;
  if (writes.empty() || writes.back()->reg != run.reg ||
      (writes.back()->mask & run.mask) != run.mask) {
    return std::nullopt;
  }
  const WriteInputs inputs = InputsOf(outcome);
  Parts p;
  if (keil && times) {
    for (std::string_view move : delay_parts::kKeilMoves) {
      p.moves.push_back({Op::kMovDirRn, std::string(move)});
    }
  }
  for (const Write* w : writes) {
    if (w == writes.back()) Append(p.before, Steps(*s.chip, *flag, 0));
    Append(p.before, Steps(*s.chip, *w, WriteValue(*w, inputs)));
  }
  const int n = outcome.interrupts;
  p.loads.push_back({Op::kMovRnImm, fmt::format("mov r2,#0x{:02X}", n & 0xFF)});
  if (n > 256) {
    const int high = ((n >> 8) + ((n & 0xFF) != 0 ? 1 : 0)) & 0xFF;
    p.loads.push_back({Op::kMovRnImm, fmt::format("mov r3,#0x{:02X}", high)});
  }
  if (times) p.loads.front().label = kRound;
  if (const int bit = BitOf(*flag, flag_reg.address); bit >= 0) {
    p.poll.push_back({Op::kJnbTaken,
                      fmt::format("jnb 0x{:02X},", flag_reg.address + bit),
                      kPoll, kPoll, flag->bit});
  } else {
    p.poll = {{Op::kMovADir, fmt::format("mov a,0x{:02X}", flag_reg.address),
               -1, kPoll, flag->reg},
              {Op::kAnlAImm, fmt::format("anl a,#0x{:02X}", flag->mask)},
              {Op::kJzTaken, "jz ", kPoll}};
  }
  p.clear = Steps(*s.chip, *flag, 0);
  p.counters.push_back({Op::kDjnzTaken, "djnz r2,", kPoll});
  if (n > 256) p.counters.push_back({Op::kDjnzTaken, "djnz r3,", kPoll});
  if (times) {
    for (std::size_t i = 0; i < delay_parts::kCount.size(); ++i) {
      p.count.push_back({delay_parts::kCount[i],
                         std::string(delay_parts::kCountText[i]),
                         i + 1 == delay_parts::kCount.size() ? kRound : -1});
    }
  }
  p.stop =
      Steps(*s.chip,
            {.reg = run.reg, .mask = run.mask, .value = 0, .bit = run.bit}, 0);
  return p;
}

// The longest the loop takes from one overflow's flag seen to the next
// poll, and polling: the timer must take longer for each overflow, or the
// loop would miss one.
long long KeepUpClocks(const Parts& p, const Timing& t) {
  long long loop =
      2 * Longest(p.poll, t) + Sum(p.clear, t, false) + Longest(p.counters, t);
  if (!p.count.empty()) loop += Longest(p.count, t) + Sum(p.loads, t, false);
  return loop;
}

// The longest the instructions outside the counts take: the call, all
// before the timer starts, the poll that sees the last overflow and the
// one before it, and all after, to the return.
long long BoundClocks(const Parts& p, const Timing& t) {
  return t.Clocks(Op::kLcall) + Sum(p.moves, t, false) +
         Sum(p.before, t, false) + 2 * Longest(p.poll, t) +
         Sum(p.clear, t, false) + Sum(p.counters, t, true) +
         Sum(p.count, t, true) + Sum(p.stop, t, false) + t.Clocks(Op::kRet);
}

std::vector<Instr> Code(const Parts& p, bool keil) {
  std::vector<Instr> code = keil ? p.moves : std::vector<Instr>{};
  for (const auto* part : {&p.before, &p.loads, &p.poll, &p.clear, &p.counters,
                           &p.count, &p.stop}) {
    Append(code, *part);
  }
  code.push_back({Op::kRet, "ret"});
  return code;
}

// The family whose timers pace the delay: --chip's, or the default
// family whose core it is.
const Chip* FamilyOf(const DelayAsk& ask) {
  if (!ask.chip.empty()) return FindChip(ChipName(ask.chip));
  for (const Chip* chip : kDefaultFamilies) {
    for (const Core* core : chip->cores) {
      if (core == ask.core) return FindChip(chip->name);
    }
  }
  return nullptr;
}

// Whether `s` may pace the delay asked for: a timer that reloads itself,
// the one asked for, at the core's clocks where the family has several
// cores (the X2 bit makes both faster).
bool Offered(const TickSetting& s, const DelayAsk& ask, const Chip& chip) {
  const std::string_view key = GeneratorKey(ask.chip);
  return s.mode->reload == Reload::kHardware &&
         (!ask.timer || s.timer->number == *ask.timer) &&
         (key.empty() || s.timer->key == key) &&
         (chip.cores.size() < 2 || s.clocks == ask.core->clocks);
}

struct Candidate {
  TickOutcome outcome;
  Parts parts;
};

// Better: reaching the time, not clocking a UART, nearer, fewer
// overflows, finer counts.
bool Better(const Candidate& a, const Candidate& b) {
  const TickOutcome &x = a.outcome, &y = b.outcome;
  if (x.fits != y.fits) return x.fits;
  const bool xb = !x.setting->timer->bauds.empty();
  const bool yb = !y.setting->timer->bauds.empty();
  if (xb != yb) return !xb;
  const double ex = std::fabs(x.error_percent), ey = std::fabs(y.error_percent);
  if (ex != ey) return ex < ey;
  if (x.interrupts != y.interrupts) return x.interrupts < y.interrupts;
  // A finer count: a free-running divider's first count is less early.
  return x.setting->clocks < y.setting->clocks;
}

std::string NoTimer(const DelayAsk& ask, const Chip* chip) {
  const std::string_view family = chip ? chip->family.en : "family";
  // Where the family has several cores, only the core's clocks count.
  const std::string clocks =
      chip && chip->cores.size() > 1
          ? fmt::format(" at {} clocks a machine cycle", ask.core->clocks)
          : "";
  const std::string why =
      ask.timer ? fmt::format(
                      "Timer {} of the {}{} does not reload itself "
                      "with a flag code can poll",
                      *ask.timer, family, clocks)
                : fmt::format(
                      "no timer of the {}{} reloads itself with a "
                      "flag code can poll",
                      family, clocks);
  if (!ask.timer && !ask.core->refusal.empty()) {
    return fmt::format("no delay for the {}: {}; and {}", ask.core->text.en,
                       ask.core->refusal, why);
  }
  return fmt::format("no timer delay: {}", why);
}

std::string OutOfReach(const DelayAsk& ask, double shortest, double longest) {
  return fmt::format("{} than the timers reach: {} to {} at {} MHz",
                     ask.time_s < shortest ? "shorter" : "longer",
                     DelayTimeText(shortest), DelayTimeText(longest),
                     fmt::format("{:.10g}", ask.frequency_mhz));
}

// An outcome of `s` at its most overflows, whatever the time: the shape
// of its loop.
TickOutcome Probe(const TickSetting& s) {
  return {&s, false, 0, 0, kMaxInterrupts, 0.0, 0.0, Mark::kOutOfRange};
}

}  // namespace

std::optional<DelayMethod> DelayMethodOf(const Chip& chip, const Core& core) {
  if (core.refusal.empty()) return DelayMethod::kCycles;
  const DelayAsk ask{.core = &core, .chip = chip.name};
  for (const TickSetting& s : ChipTickSettings(&chip)) {
    if (Offered(s, ask, chip) && PartsOf(Probe(s), false, false)) {
      return DelayMethod::kTimer;
    }
  }
  return std::nullopt;
}

DelayAnswer PlanTimerDelay(const DelayAsk& ask) {
  const Chip* chip = FamilyOf(ask);
  if (chip == nullptr) return {std::nullopt, NoTimer(ask, chip)};
  const Timing timing = TimingOf(*ask.core);
  const double hz = ask.frequency_mhz * 1e6;
  std::optional<Candidate> best;
  double shortest = INFINITY, longest = 0.0;
  for (const TickSetting& s : ChipTickSettings(chip)) {
    if (!Offered(s, ask, *chip)) continue;
    // The loop is the same for every count; its parts, at the most
    // overflows, say how few counts it keeps up with.
    const TickOutcome probe = Probe(s);
    const std::optional<Parts> shape = PartsOf(probe, ask.times, ask.keil);
    if (!shape) continue;
    const long long fewest = KeepUpClocks(*shape, timing) / s.clocks + 1;
    const double most = s.mode->counting->most_counts(s.mode->modulus);
    shortest = std::min(shortest, static_cast<double>(fewest) * s.clocks / hz);
    longest = std::max(longest, most * kMaxInterrupts * s.clocks / hz);
    const TickOutcome outcome = EvaluateTick(
        s, ask.frequency_mhz, ask.time_s, 100.0, static_cast<double>(fewest));
    Candidate c{outcome,
                *PartsOf(outcome.fits ? outcome : probe, ask.times, ask.keil)};
    if (!best || Better(c, *best)) best = std::move(c);
  }
  if (!best) return {std::nullopt, NoTimer(ask, chip)};
  if (!best->outcome.fits) {
    return {std::nullopt, OutOfReach(ask, shortest, longest)};
  }
  const TickOutcome& o = best->outcome;
  const int clocks = o.setting->clocks;
  DelayPlan plan;
  plan.cycles = static_cast<long long>(o.count) * o.interrupts;
  plan.actual_s = o.actual_period_s;
  plan.error_percent = o.error_percent;
  plan.bound_s = static_cast<double>(BoundClocks(best->parts, timing)) / hz;
  // A count in step with the instructions' cycles comes whole; one of a
  // free-running divider up to a count less one clock early.
  const bool in_step =
      clocks == 1 || (!timing.classic && clocks == ask.core->clocks);
  plan.early_s = in_step ? 0.0 : (clocks - 1) / hz;
  plan.timer = TimerPace{o, timing.classic};
  plan.sdcc = Code(best->parts, false);
  if (ask.keil) plan.keil = Code(best->parts, true);
  return {std::move(plan), {}};
}

}  // namespace mcs51
