#include "cli/run.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <vector>

#include "cli/code_answer.h"
#include "cli/command_line.h"
#include "cli/delay.h"
#include "cli/explain_report.h"
#include "timers/catalogue.h"
#include "timers/ranking.h"
#include "timers/text.h"
#include "timers/tick_text.h"
#include "timers/ticks.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

RunResult Failure(int status, const std::string& message) {
  return {status, {}, std::string(kProgramName) + ": " + message + "\n"};
}

// tick and tick-code. A period that no setting the filters leave reaches
// is bad input, as a zero or negative one is.
RunResult Ticks(const Request& request, Style style) {
  const std::vector<TickOutcome> ranked =
      RankTicks(TickMatching(request.filter), request.frequency_mhz,
                request.period_s, request.tolerance_percent);
  if (!ranked.front().fits) {
    return Failure(kExitBadInput,
                   fmt::format("PERIOD: {} is beyond every timer setting at "
                               "{} MHz",
                               PeriodText(request.period_s),
                               ShortestText(request.frequency_mhz)));
  }
  if (request.command == Command::kTick) {
    return {kExitAnswered, TickReport(request, ranked, style), {}};
  }
  const TickCodeAnswer choice = AnswerTickCode(request);
  if (!choice.outcome) return Failure(kExitRefused, choice.refusal);
  return {kExitAnswered, TickCodeText(request, *choice.outcome), {}};
}

RunResult Answer(const Request& request, Style style) {
  const std::vector<const Setting*> settings = Matching(request.filter);
  switch (request.command) {
    case Command::kHelp:
      return {kExitAnswered, HelpText(), {}};
    case Command::kVersion:
      return {kExitAnswered, VersionText(), {}};
    case Command::kChips:
      return {kExitAnswered, ChipsReport(request), {}};
    case Command::kSettings: {
      const std::vector<Outcome> ranked =
          Rank(settings, request.frequency_mhz, request.rates.front(),
               request.tolerance_percent);
      return {kExitAnswered, SettingsReport(request, ranked, style), {}};
    }
    case Command::kTable: {
      std::vector<TableRow> rows;
      rows.reserve(request.rates.size());
      for (double baud : request.rates) {
        TableRow row{baud, {}, {}};
        for (const Setting* setting : settings) {
          row.settings.push_back(Evaluate(*setting, request.frequency_mhz, baud,
                                          request.tolerance_percent));
        }
        row.best = Best(row.settings);
        rows.push_back(std::move(row));
      }
      return {kExitAnswered, TableReport(request, rows, style), {}};
    }
    case Command::kCrystals: {
      const std::vector<ClockModeRanking> rankings = RankCrystals(
          request.rates, request.filter, request.tolerance_percent);
      return {kExitAnswered, CrystalsReport(request, rankings, style), {}};
    }
    case Command::kTick:
    case Command::kTickCode:
      return Ticks(request, style);
    case Command::kDelay: {
      const DelayOutput delay = DelayReport(request);
      if (!delay.ok) return Failure(kExitBadInput, delay.text);
      return {kExitAnswered, delay.text, {}};
    }
    case Command::kExplain:
      return ExplainAnswer(request, style);
    case Command::kCode:
      break;
  }
  const CodeAnswer choice = AnswerCode(request);
  if (!choice.outcome) return Failure(kExitRefused, choice.refusal);
  return {kExitAnswered,
          InitCode(request.frequency_mhz, request.rates.front(),
                   *choice.outcome, request.language),
          {}};
}

}  // namespace

RunResult Run(std::span<const std::string> args, Style style) {
  try {
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.ok) return Failure(kExitBadInput, parsed.error);
    return Answer(parsed.request, style);
  } catch (const std::exception& error) {
    // Nothing above is meant to throw; if a library does, say so in one
    // line rather than end with an uncaught exception.
    return Failure(kExitInternal,
                   std::string("internal error: ") + error.what());
  } catch (...) {
    return Failure(kExitInternal, "internal error: an unknown exception");
  }
}

int Deliver(const RunResult& result, std::FILE* out, std::FILE* err) {
  errno = 0;
  const bool written = std::fwrite(result.out.data(), 1, result.out.size(),
                                   out) == result.out.size() &&
                       std::fflush(out) == 0;
  const int error = errno;
  std::fwrite(result.err.data(), 1, result.err.size(), err);
  if (written) return result.status;
  // A stream can fail without an errno of its own: say that much.
  const std::string why =
      error != 0 ? std::strerror(error) : "the stream failed";
  const std::string line =
      std::string(kProgramName) + ": cannot write the output: " + why + "\n";
  std::fwrite(line.data(), 1, line.size(), err);
  std::fflush(err);
  return kExitWriteFailed;
}

}  // namespace cli
