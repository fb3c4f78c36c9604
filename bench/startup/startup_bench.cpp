// Start-up time and peak memory, measured side by side: two candidates run
// alternately, each run timed from spawn to exit with its peak resident set
// size taken from wait4. Medians, because the first runs and stray load skew
// means.
//
//   startup_bench [runs]         the calculator against a bare Qt Widgets
//                                program, offscreen (default 21 runs of each)
//   startup_bench --a11y [runs]  the calculator with the accessibility bridge
//                                on against off, on a real X display and
//                                D-Bus session whose accessibility bus is
//                                already up, e.g. bench/startup/a11y
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "bench/support/time_run.h"

extern char** environ;

namespace {

constexpr double kTimeTarget = 1.05;
constexpr double kMemoryTarget = 1.10;
constexpr int kWarmUpRuns = 2;

constexpr char kPlatform[] = "QT_QPA_PLATFORM=";
constexpr char kBridgeOn[] = "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=";

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// One program and the environment it runs in.
struct Candidate {
  const char* name;
  const char* program;
  std::vector<std::string> environment;

  // This process's environment, its Qt platform and accessibility bridge
  // settings replaced by `settings`.
  Candidate(const char* name_, const char* program_,
            std::initializer_list<const char*> settings)
      : name(name_), program(program_) {
    for (char** entry = environ; *entry != nullptr; ++entry) {
      if (!StartsWith(*entry, kPlatform) && !StartsWith(*entry, kBridgeOn)) {
        environment.emplace_back(*entry);
      }
    }
    environment.insert(environment.end(), settings.begin(), settings.end());
  }
  std::vector<char*> Pointers() {
    std::vector<char*> pointers;
    for (std::string& entry : environment) pointers.push_back(entry.data());
    pointers.push_back(nullptr);
    return pointers;
  }
};

struct Medians {
  double milliseconds;
  double cpu_milliseconds;
  long peak_kib;
};

// Runs both candidates alternately, so neither always follows the other.
bool Compare(Candidate (&candidates)[2], int runs, Medians (&medians)[2]) {
  std::vector<char*> environments[2] = {candidates[0].Pointers(),
                                        candidates[1].Pointers()};
  std::vector<double> times[2];
  std::vector<double> cpu_times[2];
  std::vector<long> peaks[2];
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      const int which = (run % 2 == 0) ? p : 1 - p;
      bench::Sample sample{};
      char* argv[] = {const_cast<char*>(candidates[which].program), nullptr};
      // Qt's chatter would drown the figures; a failing probe shows in its
      // status.
      if (!bench::TimeRun(argv, environments[which].data(), STDERR_FILENO,
                          sample)) {
        std::fprintf(stderr, "(%s)\n", candidates[which].name);
        return false;
      }
      if (run < 0) continue;
      times[which].push_back(sample.milliseconds);
      cpu_times[which].push_back(sample.cpu_milliseconds);
      peaks[which].push_back(sample.peak_kib);
    }
  }
  for (int p = 0; p < 2; ++p) {
    medians[p] = {bench::Median(times[p]), bench::Median(cpu_times[p]),
                  bench::Median(peaks[p])};
  }
  return true;
}

void Report(const char* what, const char* unit, int decimals, double a,
            double b, const Candidate (&candidates)[2], double target) {
  std::printf("%s, median: %s %.*f %s, %s %.*f %s, ratio %.3f", what,
              candidates[0].name, decimals, a, unit, candidates[1].name,
              decimals, b, unit, a / b);
  if (target > 0) {
    std::printf(" (target <= %.2f) %s", target,
                a / b <= target ? "ok" : "OVER");
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bool a11y = argc > 1 && std::strcmp(argv[1], "--a11y") == 0;
  const int runs_arg = a11y ? 2 : 1;
  const int runs =
      argc > runs_arg ? std::max(1, std::atoi(argv[runs_arg])) : 21;
  if (a11y && (std::getenv("DISPLAY") == nullptr ||
               std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)) {
    std::fprintf(stderr,
                 "--a11y needs an X display and a D-Bus session with "
                 "the accessibility bus; see the top of startup_bench.cpp\n");
    return 2;
  }
  // The bridge's cost is measured on the platform that has one; offscreen
  // has none.
  const Candidate ours{
      "baud51", STARTUP_FORM1_PROBE, {"QT_QPA_PLATFORM=offscreen"}};
  const Candidate bare{
      "bare Qt", STARTUP_BARE_PROBE, {"QT_QPA_PLATFORM=offscreen"}};
  const Candidate on{
      "bridge on",
      STARTUP_FORM1_PROBE,
      {"QT_QPA_PLATFORM=xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"}};
  const Candidate off{
      "bridge off", STARTUP_FORM1_PROBE, {"QT_QPA_PLATFORM=xcb"}};
  Candidate candidates[2] = {a11y ? on : ours, a11y ? off : bare};
  Medians medians[2];
  if (!Compare(candidates, runs, medians)) return 1;

  std::printf("runs each: %d (after %d warm-up)\n", runs, kWarmUpRuns);
  Report("start-up to window shown", "ms", 1, medians[0].milliseconds,
         medians[1].milliseconds, candidates, a11y ? 0 : kTimeTarget);
  Report("processor time", "ms", 1, medians[0].cpu_milliseconds,
         medians[1].cpu_milliseconds, candidates, 0);
  Report("peak memory", "KiB", 0, static_cast<double>(medians[0].peak_kib),
         static_cast<double>(medians[1].peak_kib), candidates,
         a11y ? 0 : kMemoryTarget);
  return 0;
}
