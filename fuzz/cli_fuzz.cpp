// Feeds arbitrary command lines to baud51-cli's whole run, without a
// process: each line of the input is one argument (so an argument can hold
// anything but a line feed). What must hold for every command line:
//   - the status is 0 (an answer), 1 (code refused) or 2 (bad input); never
//     3, which only a failed write gives, and never 4, an internal error:
//     no exception reaches the top;
//   - an answer goes to standard output with nothing on standard error;
//   - a refusal or rejection is exactly one line on standard error,
//     "baud51-cli: ...", with nothing on standard output; a rejection
//     names what is wrong before a colon: "baud51-cli: FREQ \"abc\": ...";
//   - the same arguments give the same result, and colour changes only
//     escape sequences;
//   - JSON output parses.
// Any broken invariant aborts with a message; libFuzzer saves the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/run.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "cli_fuzz: %s%s%.*s\n", what, detail.empty() ? "" : ": ",
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

void Check(bool holds, const char* what, std::string_view detail = {}) {
  if (!holds) Fail(what, detail);
}

std::string WithoutEscapes(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\x1b') {
      while (i < text.size() && text[i] != 'm') ++i;
      continue;
    }
    plain += text[i];
  }
  return plain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  std::size_t start = 0;
  while (start <= input.size() && !input.empty()) {
    const std::size_t end = input.find('\n', start);
    args.emplace_back(input.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }

  // explain reads standard input when given no file: an empty one, so that
  // a run never waits for the terminal and every run reads the same.
#ifdef _WIN32
  constexpr const char* kEmpty = "NUL";
#else
  constexpr const char* kEmpty = "/dev/null";
#endif
  if (std::freopen(kEmpty, "rb", stdin) == nullptr) std::abort();
  const cli::RunResult plain = cli::Run(args, {false});
  const int status = plain.status;
  Check(status != cli::kExitInternal, "an exception escaped", plain.err);
  Check(status == cli::kExitAnswered || status == cli::kExitRefused ||
            status == cli::kExitBadInput,
        "unknown exit status");
  if (status == cli::kExitAnswered) {
    Check(!plain.out.empty(), "an answer with no output");
    Check(plain.err.empty(), "an answer with an error message", plain.err);
    Check(plain.out.find('\x1b') == std::string::npos,
          "colour without a terminal");
    if (plain.out.front() == '{') {
      Check(nlohmann::json::accept(plain.out), "JSON that does not parse");
    }
  } else {
    Check(plain.out.empty(), "output beside an error", plain.out);
    Check(plain.err.starts_with("baud51-cli: "), "unnamed error", plain.err);
    Check(plain.err.find('\n') == plain.err.size() - 1,
          "an error message that is not one line", plain.err);
    constexpr std::string_view kName = "baud51-cli: ";
    Check(status != cli::kExitBadInput ||
              plain.err.find(": ", kName.size()) != std::string::npos,
          "a rejection that does not say what is wrong", plain.err);
  }

  const cli::RunResult again = cli::Run(args, {false});
  Check(again.status == plain.status && again.out == plain.out &&
            again.err == plain.err,
        "the same arguments gave another result");
  const cli::RunResult colored = cli::Run(args, {true});
  Check(colored.status == plain.status && colored.err == plain.err &&
            WithoutEscapes(colored.out) == plain.out,
        "colour changed more than the colours");
  return 0;
}
