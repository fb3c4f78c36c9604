// The delays' instructions run by a small interpreter of their own, which
// counts each instruction's cycles from the maker's table as printed, not
// from the generator's arithmetic: the cycles it counts must be the ones
// the plan claims, for every time, crystal and n.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "mcs51/delays/delay.h"
#include "mcs51/delays/delay_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/words/words.h"

namespace mcs51 {
namespace {

// The cycles of each instruction form, as its maker's table prints them:
// Atmel, 8051 Microcontroller Instruction Set, oscillator periods / 12 (the
// X2 core runs the same machine cycles at 6 clocks each); Maxim's
// DS80C320 data sheet, oscillator cycles / 4. On both a branch takes as
// long whether it jumps or not.
int TableCycles(const Core& core, const std::string& mnemonic) {
  static const std::map<std::string, int> kClassic = {
      {"lcall", 2},        {"ret", 2},          {"nop", 1},
      {"mov rn,#", 1},     {"djnz", 2},         {"sjmp", 2},
      {"mov a,direct", 1}, {"add a,#", 1},      {"addc a,#", 1},
      {"mov direct,a", 1}, {"orl a,direct", 1}, {"jnz", 2},
      {"mov direct,rn", 2}};
  static const std::map<std::string, int> kDs80c320 = {
      {"lcall", 16},       {"ret", 16},         {"nop", 4},
      {"mov rn,#", 8},     {"djnz", 12},        {"sjmp", 12},
      {"mov a,direct", 8}, {"add a,#", 8},      {"addc a,#", 8},
      {"mov direct,a", 8}, {"orl a,direct", 8}, {"jnz", 12},
      {"mov direct,rn", 8}};
  if (core.key == "dallas-4-clock") return kDs80c320.at(mnemonic) / 4;
  return kClassic.at(mnemonic);
}

struct Machine {
  std::map<std::string, int> reg;  // r0-r7, a, dpl, dph
  bool carry = false;
};

// The table's name for an instruction's form.
std::string Form(const std::string& text) {
  const std::string op = text.substr(0, text.find(' '));
  if (op != "mov" && op != "add" && op != "addc" && op != "orl") return op;
  const std::string args = text.substr(op.size() + 1);
  const std::string dst = args.substr(0, args.find(','));
  const std::string src = args.substr(args.find(',') + 1);
  auto kind = [](const std::string& x) -> std::string {
    if (x == "a") return "a";
    if (x[0] == '#') return "#";
    if (x[0] == 'r') return "rn";
    return "direct";
  };
  return op + " " + kind(dst) + "," + kind(src);
}

int Value(const Machine& m, const std::string& x) {
  if (x[0] == '#')
    return static_cast<int>(std::strtol(x.c_str() + 1, nullptr, 0));
  return m.reg.at(x);
}

// Runs `code` from its first instruction to its RET, with n loaded as the
// caller would; the cycles include the caller's LCALL.
long long Execute(const Core& core, const std::vector<Instr>& code, bool keil,
                  unsigned n) {
  Machine m;
  for (const char* r :
       {"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "a", "dpl", "dph"}) {
    m.reg[r] = 0x5A;  // whatever the caller left
  }
  (keil ? m.reg["r7"] : m.reg["dpl"]) = static_cast<int>(n & 0xFF);
  (keil ? m.reg["r6"] : m.reg["dph"]) = static_cast<int>(n >> 8);
  long long cycles = TableCycles(core, "lcall");
  auto find = [&](int label) {
    for (std::size_t i = 0; i < code.size(); ++i) {
      if (code[i].label == label) return i;
    }
    ADD_FAILURE() << "no label " << label;
    return code.size();
  };
  for (std::size_t pc = 0; pc < code.size();) {
    const std::string& text = code[pc].text;
    const std::string form = Form(text);
    const std::string args = text.substr(text.find(' ') + 1);
    const std::string dst = args.substr(0, args.find(','));
    const std::string src = args.substr(args.find(',') + 1);
    std::size_t next = pc + 1;
    bool taken = false;
    if (form == "ret") {
      return cycles + TableCycles(core, "ret");
    } else if (form == "djnz") {
      m.reg[dst] = (m.reg[dst] + 255) & 0xFF;
      taken = m.reg[dst] != 0;
    } else if (form == "jnz") {
      taken = m.reg["a"] != 0;
    } else if (form == "sjmp") {
      taken = true;
    } else if (form == "add a,#" || form == "addc a,#") {
      const int sum =
          m.reg["a"] + Value(m, src) + (form == "addc a,#" && m.carry ? 1 : 0);
      m.carry = sum > 0xFF;
      m.reg["a"] = sum & 0xFF;
    } else if (form == "orl a,direct") {
      m.reg["a"] |= Value(m, src);
    } else if (form.starts_with("mov ")) {
      m.reg[dst] = Value(m, src);
    } else if (form != "nop") {
      ADD_FAILURE() << "unknown instruction " << text;
      return -1;
    }
    cycles += TableCycles(core, form);
    if (taken) next = find(code[pc].target);
    pc = next;
  }
  ADD_FAILURE() << "ran past the end";
  return -1;
}

struct Row {
  const char* name;
  const char* chip;  // --chip's family, "" for the classic core or X2
  double mhz;
  double time_s;
  int clocks;
  long long cycles;  // by hand: time * f / clocks, rounded
};

class DelayCycles : public testing::TestWithParam<Row> {};

TEST_P(DelayCycles, InterpreterCountsWhatThePlanClaims) {
  const Row& row = GetParam();
  const Core* core = CoreOf(row.chip, row.clocks);
  ASSERT_NE(core, nullptr);
  for (bool times : {false, true}) {
    const DelayAnswer answer =
        PlanDelay({row.mhz, row.time_s, core, times, true});
    ASSERT_TRUE(answer.plan) << answer.refusal;
    EXPECT_EQ(answer.plan->cycles, row.cycles);
    if (!times) {
      EXPECT_EQ(Execute(*core, answer.plan->sdcc, false, 0), row.cycles);
      EXPECT_EQ(Execute(*core, answer.plan->keil, true, 0), row.cycles);
      continue;
    }
    // The interpreter's steps kept to a few million a row.
    for (unsigned n : {1u, 2u, 3u, 255u, 256u, 257u, 1000u}) {
      if (row.cycles * n > 3'000'000) break;
      EXPECT_EQ(Execute(*core, answer.plan->sdcc, false, n), row.cycles * n)
          << n;
      EXPECT_EQ(Execute(*core, answer.plan->keil, true, n), row.cycles * n)
          << n;
    }
    if (row.cycles <= 40) {
      EXPECT_EQ(Execute(*core, answer.plan->sdcc, false, 0),
                row.cycles * 65536);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Grid, DelayCycles,
    testing::Values(Row{"ms_at_12", "", 12, 1e-3, 12, 1000},
                    Row{"ms_at_11_0592", "", 11.0592, 1e-3, 12, 922},
                    Row{"us250_at_12", "", 12, 250e-6, 12, 250},
                    Row{"us19_shortest_keil_n", "", 12, 19e-6, 12, 19},
                    Row{"us20", "", 12, 20e-6, 12, 20},
                    Row{"us21", "", 12, 21e-6, 12, 21},
                    Row{"us22", "", 12, 22e-6, 12, 22},
                    Row{"us33_3_at_16", "", 16, 33.3e-6, 12, 44},
                    Row{"ms300_at_12_three_counters", "", 12, 0.3, 12, 300000},
                    Row{"ms50_at_24", "", 24, 50e-3, 12, 100000},
                    Row{"ms1_x2_at_12", "", 12, 1e-3, 6, 2000},
                    Row{"ms2_5_x2_at_22_1184", "", 22.1184, 2.5e-3, 6, 9216},
                    Row{"ds_ms_at_12", "ds80c320", 12, 1e-3, 4, 3000},
                    Row{"ds_ms300_at_33", "ds80c320", 33, 0.3, 4, 2475000}),
    [](const auto& info) { return std::string(info.param.name); });

// Every count from the shortest up, where the padding and the nesting
// change: each must come out exact. A clock of a MHz a cycle's clocks
// makes a time in us the count.
struct Span {
  const char* name;
  const char* chip;
  double mhz;
  long long shortest;    // the call and return
  long long shortest_n;  // and the counting of n
};

class DelaySpans : public testing::TestWithParam<Span> {};

TEST_P(DelaySpans, EveryShortCountIsExact) {
  const Span& row = GetParam();
  const Core* core = CoreOf(row.chip, 0);
  for (long long cycles = row.shortest - 1; cycles < 1200; ++cycles) {
    const DelayAnswer answer = PlanDelay(
        {row.mhz, static_cast<double>(cycles) * 1e-6, core, false, false});
    ASSERT_EQ(answer.plan.has_value(), cycles >= row.shortest) << cycles;
    if (!answer.plan) continue;
    EXPECT_EQ(Execute(*core, answer.plan->sdcc, false, 0), cycles) << cycles;
  }
  for (long long cycles = row.shortest_n - 1; cycles < 600; ++cycles) {
    const DelayAnswer answer = PlanDelay(
        {row.mhz, static_cast<double>(cycles) * 1e-6, core, true, false});
    ASSERT_EQ(answer.plan.has_value(), cycles >= row.shortest_n) << cycles;
    if (!answer.plan) continue;
    EXPECT_EQ(Execute(*core, answer.plan->sdcc, false, 5), 5 * cycles)
        << cycles;
  }
}

// The DS80C320's call and return take 8 cycles, n's count 17 and the
// first round's 28.
INSTANTIATE_TEST_SUITE_P(
    Cores, DelaySpans,
    testing::Values(Span{"classic", "", 12, 4, 15},
                    Span{"ds80c320", "ds80c320", 4, 8, 28}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refusal {
  const char* name;
  const char* family;
  double time_s;
  bool times;
  bool keil;
  const char* says;
  std::optional<int> timer = {};
};

class DelayRefusals : public testing::TestWithParam<Refusal> {};

TEST_P(DelayRefusals, SayWhyWithTheLimit) {
  const Refusal& row = GetParam();
  const DelayAnswer answer = PlanDelay({.frequency_mhz = 12,
                                        .time_s = row.time_s,
                                        .core = CoreOf(row.family, 0),
                                        .times = row.times,
                                        .keil = row.keil,
                                        .chip = row.family,
                                        .timer = row.timer});
  EXPECT_FALSE(answer.plan);
  EXPECT_NE(answer.refusal.find(row.says), std::string::npos) << answer.refusal;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, DelayRefusals,
    testing::Values(
        Refusal{"below_call_and_return", "", 3e-6, false, false,
                "shorter than the call and return: at least 4 cycles of 12 "
                "clocks (4 us at 12 MHz)"},
        Refusal{"rounds_below", "", 3.49e-6, false, false, "at least 4"},
        Refusal{"n_counting_sdcc", "", 14e-6, true, false, "at least 15"},
        Refusal{"n_counting_keil", "", 18e-6, true, true, "at least 19"},
        Refusal{"beyond_four_counters", "", 1e4, false, false,
                "longer than the loops reach: at most"},
        Refusal{"no_table_and_no_timer", "c517a", 1e-3, false, false,
                "table was not found, so its cycles are unknown; and no timer "
                "of the Infineon C517A"},
        Refusal{"timer_without_flag", "stc15", 1e-3, false, false,
                "Timer 3 of the STC15", 3},
        // Mode 2's 255 counts 65535 times; the loop keeps up with no fewer
        // than 10 counts (9 cycles: two polls, the clear, two DJNZs), and
        // with n's count and the counters' loads 21.
        Refusal{"beyond_the_timer", "8051", 17, false, false,
                "longer than the timers reach: 10 us to 16.7114 s", 0},
        Refusal{"below_the_loop", "8051", 10e-6, true, false,
                "shorter than the timers reach: 21 us", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DelayName, MadeFromTheTimeAsTyped) {
  EXPECT_EQ(DelayName("1ms"), "delay_1ms");
  EXPECT_EQ(DelayName("2.5ms"), "delay_2_5ms");
  EXPECT_EQ(DelayName("250\xC2\xB5s"), "delay_250us");
  EXPECT_TRUE(IsCName("delay_1ms"));
  EXPECT_FALSE(IsCName("1ms"));
  EXPECT_FALSE(IsCName("a-b"));
  EXPECT_FALSE(IsCName(""));
}

// A core with a table must have every instruction the loops use (a missing
// one would count as free, and a free DJNZ divides by zero), and one-cycle
// NOPs, which make up the last few cycles; a refused core has none.
TEST(CoreTables, EachWholeOrRefused) {
  std::vector<const Core*> cores = {CoreOf("", 12), CoreOf("", 6)};
  for (const Chip& chip : Chips()) {
    cores.insert(cores.end(), chip.cores.begin(), chip.cores.end());
  }
  for (const Core* core : cores) {
    SCOPED_TRACE(std::string(core->key));
    const bool refused = !core->refusal.empty();
    EXPECT_EQ(core->source.en == "none", refused);
    // A table may lack the ops only a timer delay uses, which then takes
    // the classic core's as its bound.
    for (int op = 0; op < static_cast<int>(Op::kCount); ++op) {
      if (refused) {
        EXPECT_EQ(core->cycles[op], 0) << op;
      } else if (op < kLoopOps || core->clocks == 12 || core->clocks == 6) {
        EXPECT_GE(core->cycles[op], 1) << op;
      }
    }
    if (!refused) {
      EXPECT_EQ(Cycles(*core, Op::kNop), 1);
    }
  }
}

TEST(CoreOf, FamiliesAndClocks) {
  EXPECT_EQ(CoreOf("", 0)->clocks, 12);
  EXPECT_EQ(CoreOf("", 6)->clocks, 6);
  EXPECT_EQ(CoreOf("8051", 6), nullptr);
  EXPECT_EQ(CoreOf("at89c51rb2", 6)->clocks, 6);  // an alias of at89c51rd2
  EXPECT_EQ(CoreOf("z80", 0), nullptr);
  EXPECT_EQ(CoreClocks("x2").count, 2);
}

// In Chinese only the comment changes: the same instructions, and none
// of the English comment's lines.
TEST(DelayCode, SaysItsCommentInChinese) {
  auto split = [](const std::string& code, std::string& comment) {
    std::string rest;
    std::istringstream in(code);
    for (std::string line; std::getline(in, line);) {
      const bool said = line.starts_with("/* ") || line.starts_with(" * ") ||
                        line.starts_with("; ");
      (said ? comment : rest) += line + "\n";
    }
    return rest;
  };
  for (const Core* core : {&kClassicCore, &kX2Core, CoreOf("ds80c320", 0)}) {
    for (const bool times : {false, true}) {
      for (const bool c : {false, true}) {
        const DelayPlan plan = *PlanDelay({12, 1e-3, core, times, c}).plan;
        DelayText text{"delay_1ms", 12, 1e-3, times};
        const auto code = [&] {
          return c ? DelayCCode(text, *core, plan)
                   : DelayAsmCode(text, *core, plan);
        };
        std::string english, chinese;
        const std::string statements = split(code(), english);
        text.tongue = Tongue::kChinese;
        EXPECT_EQ(split(code(), chinese), statements);
        std::istringstream lines(english);
        for (std::string line; std::getline(lines, line);) {
          if (HasWords(line)) {
            EXPECT_EQ(chinese.find(line.substr(3)), chinese.npos)
                << core->key << (c ? " C: " : " asm: ") << line;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace mcs51
