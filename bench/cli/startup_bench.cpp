// Start-up of the whole process for `baud51-cli table 11.0592` against a C++
// hello world built the same way: the two run alternately, each timed from
// spawn to exit with its output sent to /dev/null; medians, because the
// first runs and stray load skew means. Target: at most 1.5 times.
//   startup_bench [runs]   (default 201 of each)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

constexpr double kTarget = 1.5;
constexpr int kWarmUpRuns = 5;

struct Sample {
  double milliseconds;
  double cpu_milliseconds;
};

bool Measure(char* const argv[], Sample& sample) {
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY,
                                   0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, argv[0], &quiet, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) {
    std::perror(argv[0]);
    return false;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not exit cleanly (status %d)\n", argv[0],
                 status);
    return false;
  }
  sample.milliseconds =
      std::chrono::duration<double, std::milli>(end - start).count();
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 +
           static_cast<double>(t.tv_usec) / 1e3;
  };
  sample.cpu_milliseconds = ms(usage.ru_utime) + ms(usage.ru_stime);
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
  char cli[] = BAUD51_CLI_EXE;
  char table[] = "table";
  char crystal[] = "11.0592";
  char hello[] = HELLO_EXE;
  char* const cli_argv[] = {cli, table, crystal, nullptr};
  char* const hello_argv[] = {hello, nullptr};
  char* const* const programs[2] = {cli_argv, hello_argv};

  std::vector<double> wall[2], cpu[2];
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      const int which = run % 2 == 0 ? p : 1 - p;  // neither always first
      Sample sample{};
      if (!Measure(programs[which], sample)) return 1;
      if (run < 0) continue;
      wall[which].push_back(sample.milliseconds);
      cpu[which].push_back(sample.cpu_milliseconds);
    }
  }
  const double ratio = Median(wall[0]) / Median(wall[1]);
  std::printf("runs each: %d (after %d warm-up), medians\n", runs, kWarmUpRuns);
  std::printf(
      "wall: baud51-cli table 11.0592 %.3f ms, hello world %.3f ms, "
      "ratio %.2f (target <= %.1f) %s\n",
      Median(wall[0]), Median(wall[1]), ratio, kTarget,
      ratio <= kTarget ? "ok" : "OVER");
  std::printf("processor: baud51-cli %.3f ms, hello world %.3f ms\n",
              Median(cpu[0]), Median(cpu[1]));
  return ratio <= kTarget ? 0 : 1;
}
