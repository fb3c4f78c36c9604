#pragma once
// A program's console on pipes: commands written a batch at a time, their
// replies read up to the marks they print, every wait bounded by one
// guard for the whole conversation. The program is killed at the end, or at the
// guard, so that nothing outlives the answer.

#include <chrono>
#include <span>
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

  // Writes `commands`, each ending in a newline, and reads a reply for
  // each of `marks`: what comes before the mark, after the last one. The
  // marks are what the commands print to say where their answers end
  // (s51 prints a command's answer, and the commands it reads, as it
  // goes). A reply is at most 1 MiB: more is an end.
  ConsoleStatus Ask(const std::string& commands,
                    std::span<const std::string> marks,
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
