// baud51-cli: the command-line companion of the baud51 window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/run.h"
#include "cli/terminal.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const cli::RunResult result = cli::Run(args, {cli::ColorWanted()});
  // Whole answers in one write each, so a reader never sees half a table.
  std::fwrite(result.out.data(), 1, result.out.size(), stdout);
  std::fwrite(result.err.data(), 1, result.err.size(), stderr);
  return std::fflush(stdout) == 0 ? result.status : cli::kExitBadInput;
}
