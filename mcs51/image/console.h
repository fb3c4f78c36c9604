#pragma once
// A program's console on pipes: a command line written, its reply read up
// to the NUL prompt s51's -P gives, every wait bounded by one guard for
// the whole conversation. The program is killed at the end, or at the
// guard, so that nothing outlives the answer.

#include <chrono>
#include <string>
#include <vector>

namespace mcs51 {

enum class ConsoleStatus { kOk, kEnded, kTimedOut };

class Console {
 public:
  // Starts argv[0], found on PATH unless it names a directory.
  Console(const std::vector<std::string>& argv,
          std::chrono::duration<double> guard);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  bool Started() const { return pid_ > 0; }
  // Why it did not start: "not found: s51".
  const std::string& Error() const { return error_; }

  // Writes `commands`, each ending in a newline, and reads `count`
  // replies, each up to its prompt (kept without it): s51 answers a batch
  // at once, where each command alone waits for its next look at its
  // input, a tenth of a second. A reply is at most 1 MiB: more is an end.
  ConsoleStatus Ask(const std::string& commands, std::size_t count,
                    std::vector<std::string>& replies);

 private:
  int pid_ = -1;
  int in_ = -1;   // its standard input
  int out_ = -1;  // its standard output and error
  std::string error_;
  std::string pending_;  // read past the last prompt
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace mcs51
