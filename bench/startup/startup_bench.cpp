// Start-up time and peak memory of the calculator against a bare Qt Widgets
// program, measured side by side: the two probes run alternately, offscreen,
// and each run is timed from spawn to exit with its peak resident set size
// taken from wait4. Medians, because the first runs and stray load skew means.
//
//   startup_bench [runs]     (default 21 runs of each)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr double kTimeTarget = 1.05;
constexpr double kMemoryTarget = 1.10;
constexpr int kWarmUpRuns = 2;

struct Sample {
  double milliseconds;
  double cpu_milliseconds;  // user and system: steadier than wall time on a busy machine
  long peak_kib;
};

// The environment of this process with the offscreen platform forced.
std::vector<char*> OffscreenEnvironment(std::vector<std::string>& storage) {
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "QT_QPA_PLATFORM=", 16) != 0) storage.emplace_back(*entry);
  }
  storage.emplace_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> pointers;
  for (std::string& entry : storage) pointers.push_back(entry.data());
  pointers.push_back(nullptr);
  return pointers;
}

bool Measure(const char* program, char** environment, Sample& sample) {
  char* argv[] = {const_cast<char*>(program), nullptr};
  // Qt's chatter would drown the figures; a failing probe shows in its status.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &quiet, nullptr, argv, environment);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) {
    std::perror(program);
    return false;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not exit cleanly (status %d)\n", program, status);
    return false;
  }
  sample.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  sample.cpu_milliseconds = ms(usage.ru_utime) + ms(usage.ru_stime);
  sample.peak_kib = usage.ru_maxrss;
  return true;
}

template <class T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  std::vector<std::string> storage;
  std::vector<char*> environment = OffscreenEnvironment(storage);
  const char* const programs[] = {STARTUP_FORM1_PROBE, STARTUP_BARE_PROBE};

  std::vector<double> times[2];
  std::vector<double> cpu_times[2];
  std::vector<long> peaks[2];
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      // Alternate which goes first so neither always follows the other.
      const int which = (run % 2 == 0) ? p : 1 - p;
      Sample sample{};
      if (!Measure(programs[which], environment.data(), sample)) return 1;
      if (run < 0) continue;
      times[which].push_back(sample.milliseconds);
      cpu_times[which].push_back(sample.cpu_milliseconds);
      peaks[which].push_back(sample.peak_kib);
    }
  }

  const double our_time = Median(times[0]);
  const double bare_time = Median(times[1]);
  const long our_peak = Median(peaks[0]);
  const long bare_peak = Median(peaks[1]);
  const double time_ratio = our_time / bare_time;
  const double peak_ratio = static_cast<double>(our_peak) / bare_peak;
  std::printf("runs each: %d (after %d warm-up)\n", runs, kWarmUpRuns);
  std::printf("start-up to window shown, median: baud51 %.1f ms, bare Qt %.1f ms, "
              "ratio %.3f (target <= %.2f) %s\n",
              our_time, bare_time, time_ratio, kTimeTarget,
              time_ratio <= kTimeTarget ? "ok" : "OVER");
  std::printf("processor time, median: baud51 %.1f ms, bare Qt %.1f ms, ratio %.3f\n",
              Median(cpu_times[0]), Median(cpu_times[1]),
              Median(cpu_times[0]) / Median(cpu_times[1]));
  std::printf("peak memory, median: baud51 %ld KiB, bare Qt %ld KiB, "
              "ratio %.3f (target <= %.2f) %s\n",
              our_peak, bare_peak, peak_ratio, kMemoryTarget,
              peak_ratio <= kMemoryTarget ? "ok" : "OVER");
  return 0;
}
