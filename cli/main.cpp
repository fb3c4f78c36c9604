// baud51-cli: the command-line companion of the baud51 window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/run.h"
#include "cli/terminal.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const cli::RunResult result = cli::Run(args, {cli::ColorWanted()});
  return cli::Deliver(result, stdout, stderr);
}
