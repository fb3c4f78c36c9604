#pragma once
// Inside the command line: an answer, and a refusal with its status.

#include <string>
#include <utility>

#include "cli/command_line.h"
#include "cli/run.h"

namespace cli {

inline RunResult Failure(int status, const std::string& message) {
  return {status, {}, std::string(kProgramName) + ": " + message + "\n"};
}

inline RunResult Answered(std::string out) {
  return {kExitAnswered, std::move(out), {}};
}

// explain: the files read as one program (cli/explain_answer.cpp).
RunResult ExplainAnswer(const Request& request, std::string_view writer);

}  // namespace cli
