#include "mcs51/delays/delay.h"

#include <fmt/format.h>

#include <array>
#include <cmath>

#include "mcs51/delays/delay_code.h"
#include "mcs51/delays/delay_parts.h"

namespace mcs51 {
namespace {

// The loops' counters, innermost first.
constexpr std::array<std::string_view, 4> kCounters = {"r2", "r3", "r4", "r5"};
constexpr int kLevels = static_cast<int>(kCounters.size());

// The nested loops share one label: "l: djnz r2,l / djnz r3,l / ...". A
// counter that runs out falls through to the next, which sends it round
// again from 256. So k counters loaded with d + 1 take
//   k MOVs + k DJNZs falling through + sum of d[j] * step[j],
// step[0] a taken DJNZ, step[j] a taken DJNZ and a full pass of the
// counters inside: a number in mixed radix.
struct Steps {
  std::array<long long, kLevels> step{};
  std::array<long long, kLevels> full{};  // the counters inside at 256
};

Steps StepsOf(const Core& core) {
  const long long taken = Cycles(core, Op::kDjnzTaken);
  const long long out = Cycles(core, Op::kDjnzOut);
  Steps s;
  s.step[0] = taken;
  s.full[0] = 255 * taken + out;
  for (int j = 1; j < kLevels; ++j) {
    s.step[j] = taken + s.full[j - 1];
    s.full[j] = s.full[j - 1] + 255 * s.step[j] + out;
  }
  return s;
}

// The most a block reaches.
long long Reach(const Core& core) {
  return kLevels * Cycles(core, Op::kMovRnImm) + StepsOf(core).full.back();
}

struct Builder {
  const Core& core;
  std::vector<Instr> code;
  int labels = 0;

  void Add(Op op, std::string text, int target = -1) {
    code.push_back({op, std::move(text), target, -1});
  }

  // Exactly `cycles` of loops and NOPs; false where they do not reach.
  bool Block(long long cycles) {
    const long long pair =
        Cycles(core, Op::kMovRnImm) + Cycles(core, Op::kDjnzOut);
    const Steps s = StepsOf(core);
    int levels = 0;
    for (int k = 1; k <= kLevels && levels == 0; ++k) {
      if (cycles - k * pair < 0) break;
      if ((cycles - k * pair) / s.step[k - 1] <= 255) levels = k;
    }
    if (levels == 0 && cycles >= pair) return false;
    long long rest = cycles - levels * pair;
    std::array<long long, kLevels> digits{};
    for (int j = levels - 1; j >= 0; --j) {
      digits[j] = std::min<long long>(255, rest / s.step[j]);
      rest -= digits[j] * s.step[j];
    }
    for (int j = levels - 1; j >= 0; --j) {
      Add(Op::kMovRnImm, fmt::format("mov {},#0x{:02X}", kCounters[j],
                                     (digits[j] + 1) & 0xFF));
    }
    if (levels > 0) {
      const int loop = ++labels;
      for (int j = 0; j < levels; ++j) {
        Add(Op::kDjnzTaken, fmt::format("djnz {},", kCounters[j]), loop);
      }
      code[code.size() - levels].label = loop;
    }
    for (; rest > 0; rest -= Cycles(core, Op::kNop)) Add(Op::kNop, "nop");
    return true;
  }
};

using delay_parts::kCount;
using delay_parts::kCountText;

long long CountCycles(const Core& core, bool taken) {
  long long sum = 0;
  for (Op op : kCount) sum += Cycles(core, op);
  return taken ? sum
               : sum - Cycles(core, Op::kJnzTaken) + Cycles(core, Op::kJnzOut);
}

// The cycles besides the first round's block: call, Keil's move of n,
// the jump to the count, the last count and the return.
long long FirstRoundCost(const Core& core, bool keil) {
  return Cycles(core, Op::kLcall) +
         (keil ? 2 * Cycles(core, Op::kMovDirRn) : 0) +
         Cycles(core, Op::kSjmp) + CountCycles(core, false) +
         Cycles(core, Op::kRet);
}

long long Shortest(const Core& core, bool times, bool keil) {
  const long long once = Cycles(core, Op::kLcall) + Cycles(core, Op::kRet);
  if (!times) return once;
  return std::max(CountCycles(core, true), FirstRoundCost(core, keil));
}

long long Longest(const Core& core, bool times, bool keil) {
  const long long once = Cycles(core, Op::kLcall) + Cycles(core, Op::kRet);
  if (!times) return once + Reach(core);
  return Reach(core) +
         std::min(CountCycles(core, true), FirstRoundCost(core, keil));
}

std::vector<Instr> Build(const Core& core, long long cycles, bool times,
                         bool keil) {
  Builder b{core, {}, 0};
  if (!times) {
    b.Block(cycles - Cycles(core, Op::kLcall) - Cycles(core, Op::kRet));
    b.Add(Op::kRet, "ret");
    return b.code;
  }
  if (keil) {
    for (std::string_view move : delay_parts::kKeilMoves) {
      b.Add(Op::kMovDirRn, std::string(move));
    }
  }
  b.Block(cycles - FirstRoundCost(core, keil));
  const int count = ++b.labels;
  b.Add(Op::kSjmp, "sjmp ", count);
  const std::size_t start = b.code.size();
  b.Block(cycles - CountCycles(core, true));
  int round = count;
  if (b.code.size() > start) {
    round = ++b.labels;
    b.code[start].label = round;
  }
  for (std::size_t i = 0; i < kCount.size(); ++i) {
    b.Add(kCount[i], std::string(kCountText[i]),
          i + 1 == kCount.size() ? round : -1);
  }
  b.code[b.code.size() - kCount.size()].label = count;
  b.Add(Op::kRet, "ret");
  return b.code;
}

std::string CyclesText(const Core& core, long long cycles, double mhz) {
  return fmt::format(
      "{} cycles of {} clocks ({} at {} MHz)", cycles, core.clocks,
      DelayTimeText(static_cast<double>(cycles) * core.clocks / (mhz * 1e6)),
      fmt::format("{:.10g}", mhz));
}

}  // namespace

DelayAnswer PlanDelay(const DelayAsk& ask) {
  const Core& core = *ask.core;
  if (ask.timer || !core.refusal.empty()) return PlanTimerDelay(ask);
  const double exact = ask.time_s * ask.frequency_mhz * 1e6 / core.clocks;
  const long long shortest = Shortest(core, ask.times, ask.keil);
  const long long longest = Longest(core, ask.times, ask.keil);
  if (!(std::isfinite(exact) && exact < 0.5 + static_cast<double>(longest))) {
    return {std::nullopt,
            fmt::format("longer than the loops reach: at most {}",
                        CyclesText(core, longest, ask.frequency_mhz))};
  }
  const long long cycles = std::llround(exact);
  if (cycles < shortest) {
    return {std::nullopt,
            fmt::format("shorter than the call and return{}: at least {}",
                        ask.times ? " and the counting of n" : "",
                        CyclesText(core, shortest, ask.frequency_mhz))};
  }
  DelayPlan plan;
  plan.cycles = cycles;
  plan.actual_s =
      static_cast<double>(cycles) * core.clocks / (ask.frequency_mhz * 1e6);
  plan.error_percent = (plan.actual_s - ask.time_s) / ask.time_s * 100.0;
  plan.sdcc = Build(core, cycles, ask.times, false);
  if (ask.keil) plan.keil = Build(core, cycles, ask.times, true);
  return {std::move(plan), {}};
}

std::string DelayName(std::string_view time_text) {
  std::string name = "delay_";
  for (std::size_t i = 0; i < time_text.size(); ++i) {
    const char c = time_text[i];
    if (time_text.substr(i, 2) == "\xC2\xB5") {  // µ
      name += 'u';
      ++i;
    } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               (c >= '0' && c <= '9') || c == '_') {
      name += c;
    } else {
      name += '_';
    }
  }
  return name;
}

bool IsCName(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
          (c >= '0' && c <= '9') || c == '_')) {
      return false;
    }
  }
  return true;
}

}  // namespace mcs51
