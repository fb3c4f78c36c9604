// Start-up of the whole process for `baud51-cli table 11.0592` against a C++
// hello world built the same way: the two run alternately, each timed from
// spawn to exit with its output sent to /dev/null; medians, because the
// first runs and stray load skew means. Target: at most 1.5 times.
//   startup_bench [runs [ARG...]]   (default 201 of each; ARGs follow the
//                                    table's, e.g. --chip all)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/support/time_run.h"

extern char** environ;

namespace {

constexpr double kTarget = 1.5;
constexpr int kWarmUpRuns = 5;

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
  char cli[] = BAUD51_CLI_EXE;
  char table[] = "table";
  char crystal[] = "11.0592";
  char hello[] = HELLO_EXE;
  std::vector<char*> cli_argv{cli, table, crystal};
  for (int i = 2; i < argc; ++i) cli_argv.push_back(argv[i]);
  cli_argv.push_back(nullptr);
  char* const hello_argv[] = {hello, nullptr};
  char* const* const programs[2] = {cli_argv.data(), hello_argv};

  std::vector<bench::Sample> samples[2];
  if (!bench::Alternate(programs, environ, runs, kWarmUpRuns, samples)) {
    return 1;
  }
  std::vector<double> wall[2], cpu[2];
  for (int p = 0; p < 2; ++p) {
    for (const bench::Sample& s : samples[p]) {
      wall[p].push_back(s.milliseconds);
      cpu[p].push_back(s.cpu_milliseconds);
    }
  }
  const double ratio = bench::Median(wall[0]) / bench::Median(wall[1]);
  std::printf("runs each: %d (after %d warm-up), medians\n", runs, kWarmUpRuns);
  std::printf(
      "wall: baud51-cli table 11.0592 %.3f ms, hello world %.3f ms, "
      "ratio %.2f (target <= %.1f) %s\n",
      bench::Median(wall[0]), bench::Median(wall[1]), ratio, kTarget,
      ratio <= kTarget ? "ok" : "OVER");
  std::printf("processor: baud51-cli %.3f ms, hello world %.3f ms\n",
              bench::Median(cpu[0]), bench::Median(cpu[1]));
  return ratio <= kTarget ? 0 : 1;
}
