#pragma once
// Inside the command line: an answer, and a refusal with its status.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "cli/command_line.h"
#include "cli/run.h"
#include "mcs51/explain/explain.h"
#include "mcs51/explain/explain_registers.h"

namespace cli {

inline RunResult Failure(int status, const std::string& message) {
  return {status, {}, std::string(kProgramName) + ": " + message + "\n"};
}

inline RunResult Answered(std::string out) {
  return {kExitAnswered, std::move(out), {}};
}

// "standard input" for "-", else FILE "NAME": how a message names a file.
std::string FileWords(std::string_view name);

// Reads the file `name` ("-": standard input) into `text`, up to one byte
// past the code reader's limit; nothing, or why it cannot be read.
std::optional<std::string> ReadFile(const std::string& name, std::string& text);

// explain: the files read as one program (cli/explain_answer.cpp).
RunResult ExplainAnswer(const Request& request, std::string_view writer);

// Whether explain's FILE is a built image: named .ihx or .hex, or Intel
// HEX by its content (cli/image_answer.cpp).
bool IsImage(const std::string& name, std::string_view text);

// A built image run on the simulator into `out`, or why it could not be.
std::optional<RunResult> ExplainImage(const Request& request,
                                      const std::string& name,
                                      std::string_view text,
                                      const mcs51::explain::Family& family,
                                      mcs51::Explanation& out);

}  // namespace cli
