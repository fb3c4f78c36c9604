// The command line's computing, without a process:
//   crystals over the whole crystal table for 6 rates, ranked per clock
//   mode (target: under 1 ms), and the same as the program answers it,
//   from arguments to text; one table of the standard rates; crystals for
//   9600 and 115200 over every chip family (target: under 5 ms); a delay
//   paced by a timer at the edge of the family's reach.
// Run: build/dev/bench/cli/cli_bench
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "cli/run.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"

namespace {

constexpr std::array<double, 6> kSixRates{9600,  19200,  38400,
                                          57600, 115200, 4800};

void BM_RankCrystalsSixRates(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        mcs51::RankCrystals(kSixRates, {}, mcs51::kDefaultTolerancePercent));
  }
}
BENCHMARK(BM_RankCrystalsSixRates)->Unit(benchmark::kMicrosecond);

// Every family's crystals (and internal oscillators) for two rates; target
// under 5 ms.
void BM_RankCrystalsAllChips(benchmark::State& state) {
  constexpr std::array<double, 2> kRates{9600, 115200};
  for (auto _ : state) {
    benchmark::DoNotOptimize(mcs51::RankCrystals(
        kRates, {.chip = "all"}, mcs51::kDefaultTolerancePercent));
  }
}
BENCHMARK(BM_RankCrystalsAllChips)->Unit(benchmark::kMicrosecond);

void BM_CrystalsCommandSixRates(benchmark::State& state) {
  const std::vector<std::string> args{"crystals", "9600",   "19200", "38400",
                                      "57600",    "115200", "4800"};
  for (auto _ : state) benchmark::DoNotOptimize(cli::Run(args, {}));
}
BENCHMARK(BM_CrystalsCommandSixRates)->Unit(benchmark::kMicrosecond);

void BM_TableCommand(benchmark::State& state) {
  const std::vector<std::string> args{"table", "11.0592"};
  for (auto _ : state) benchmark::DoNotOptimize(cli::Run(args, {}));
}
BENCHMARK(BM_TableCommand)->Unit(benchmark::kMicrosecond);

// A timer delay weighs every timer setting of the family; the longest
// time the STC8's reach asks the most overflows of each.
void BM_TimerDelayCommand(benchmark::State& state) {
  const std::vector<std::string> args{"delay", "12", "16s", "--chip", "stc8"};
  for (auto _ : state) benchmark::DoNotOptimize(cli::Run(args, {}));
}
BENCHMARK(BM_TimerDelayCommand)->Unit(benchmark::kMicrosecond);

void BM_TableCommandAllChips(benchmark::State& state) {
  const std::vector<std::string> args{"table", "11.0592", "--chip", "all"};
  for (auto _ : state) benchmark::DoNotOptimize(cli::Run(args, {}));
}
BENCHMARK(BM_TableCommandAllChips)->Unit(benchmark::kMicrosecond);

}  // namespace
