#pragma once
// One run of a program timed from spawn to exit, for the start-up
// benchmarks: wall time, processor time and peak memory, from wait4.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

struct Sample {
  double milliseconds;
  double cpu_milliseconds;  // user and system: steadier than wall time on a
                            // busy machine
  long peak_kib;
};

// Runs argv[0] with `argv` and `envp`, the stream `quiet` (STDOUT_FILENO or
// STDERR_FILENO) sent to /dev/null. False, said on stderr, when the program
// cannot be started or does not exit with status 0.
inline bool TimeRun(char* const argv[], char* const envp[], int quiet,
                    Sample& sample) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, quiet, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp);
  posix_spawn_file_actions_destroy(&actions);
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
  sample.peak_kib = usage.ru_maxrss;
  return true;
}

// Two programs run alternately, neither always first, `runs` times each
// after `warm_up` runs that are not kept; their samples in `samples`.
// False when one cannot be run.
inline bool Alternate(char* const* const programs[2], char* const envp[],
                      int runs, int warm_up, std::vector<Sample> samples[2]) {
  for (int run = -warm_up; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      const int which = run % 2 == 0 ? p : 1 - p;
      Sample sample{};
      if (!TimeRun(programs[which], envp, STDOUT_FILENO, sample)) return false;
      if (run >= 0) samples[which].push_back(sample);
    }
  }
  return true;
}

template <class T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
