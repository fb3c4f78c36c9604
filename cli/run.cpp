#include "cli/run.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

#include "cli/answer.h"
#include "cli/command_line.h"
#include "mcs51/code/init_code.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/delays/delay.h"
#include "mcs51/delays/delay_code.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

#ifndef BAUD51_VERSION_TEXT
#error "BAUD51_VERSION_TEXT comes from the top-level CMakeLists.txt"
#endif

namespace cli {

// mcs51/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

// The code's signature: "baud51-cli 1.00".
std::string Writer() {
  return fmt::format("{} {}", kProgramName, BAUD51_VERSION_TEXT);
}

// code's and tick-code's refusal of the best setting (`alone`: the only
// one the filters leave), which gives `gives` for `asked`, off by `error`.
RunResult Beyond(bool alone, std::string_view setting, std::string_view gives,
                 std::string_view asked, double error, double tolerance) {
  return Failure(
      kExitRefused,
      fmt::format("{}{} gives {} for {}: {}, beyond the {} % "
                  "tolerance",
                  alone ? "" : "the best setting, ", setting, gives, asked,
                  PercentText(error), ShortestText(tolerance)));
}

// code: the best setting the filters leave, if it reaches the rate within
// the tolerance; else why not, as status 1.
RunResult Code(const Request& request) {
  const double baud = request.rates.front();
  const std::vector<const Setting*> settings = Matching(request.filter);
  const CodeChoice choice = ChooseForCode(settings, request.frequency_mhz, baud,
                                          request.tolerance_percent);
  const Outcome& best = choice.best;
  const std::string rate = fmt::format("{} baud at {} MHz", ShortestText(baud),
                                       ShortestText(request.frequency_mhz));
  switch (choice.refusal) {
    case Refusal::kNone:
      return Answered(
          request.language == CodeLanguage::kAsm
              ? AsmInitCode(request.frequency_mhz, baud, best, Writer())
              : InitCode(request.frequency_mhz, baud, best, Writer()));
    case Refusal::kOutOfRange:
      return Failure(
          kExitRefused,
          settings.size() == 1
              ? fmt::format("{} cannot reach {}: its reload is out of range",
                            SettingText(*best.setting), rate)
              : fmt::format(
                    "no setting reaches {}: every reload is out of range",
                    rate));
    case Refusal::kBeyond:
      break;
  }
  return Beyond(settings.size() == 1, SettingText(*best.setting),
                fmt::format("{:.2f} baud", best.actual_baud), rate,
                best.error_percent, request.tolerance_percent);
}

// tick and tick-code: a period that no setting the filters leave reaches
// is bad input, as a zero or negative one is.
RunResult NoTickReaches(const Request& request) {
  return Failure(kExitBadInput,
                 fmt::format("PERIOD: {} is beyond every timer setting at "
                             "{} MHz",
                             PeriodText(request.period_s),
                             ShortestText(request.frequency_mhz)));
}

// tick-code: as code, for the best tick setting.
RunResult TickCodeAnswer(const Request& request) {
  const std::vector<const TickSetting*> settings = TickMatching(request.filter);
  const TickChoice choice =
      ChooseTick(settings, request.frequency_mhz, request.period_s,
                 request.tolerance_percent);
  const TickOutcome& best = choice.best;
  switch (choice.refusal) {
    case Refusal::kNone:
      return Answered(request.language == CodeLanguage::kAsm
                          ? AsmTickCode(request.frequency_mhz, request.period_s,
                                        best, Writer())
                          : TickCode(request.frequency_mhz, request.period_s,
                                     best, Writer()));
    case Refusal::kOutOfRange:
      return NoTickReaches(request);
    case Refusal::kBeyond:
      break;
  }
  return Beyond(settings.size() == 1, TickSettingText(*best.setting),
                PeriodText(best.actual_period_s),
                fmt::format("{} at {} MHz", PeriodText(request.period_s),
                            ShortestText(request.frequency_mhz)),
                best.error_percent, request.tolerance_percent);
}

// tick: every setting the filters leave, ranked.
RunResult TickAnswer(const Request& request, Style style) {
  const std::vector<TickOutcome> ranked =
      RankTicks(TickMatching(request.filter), request.frequency_mhz,
                request.period_s, request.tolerance_percent);
  if (!ranked.front().fits) return NoTickReaches(request);
  return Answered(TickReport(request, ranked, request.format, style));
}

// delay: the code of a delay on the core --chip and --clock pick, exact
// to the cycle or paced by a timer (or its figures as JSON); a time out of
// reach is bad input.
RunResult Delay(const Request& request) {
  const std::string name =
      request.name.empty() ? DelayName(request.time_text) : request.name;
  if (!IsCName(name)) {
    return Failure(
        kExitBadInput,
        Rejection("TIME", request.time_text,
                  fmt::format("makes no C name ({}); give --name", name)));
  }
  // The parsing took only a family and clocks with a core.
  const Core* core =
      CoreOf(request.filter.chip, request.filter.clocks.value_or(0));
  if (core == nullptr) throw std::logic_error("delay without a core");
  const bool c = request.language == CodeLanguage::kC;
  const DelayAnswer answer = PlanDelay({.frequency_mhz = request.frequency_mhz,
                                        .time_s = request.time_s,
                                        .core = core,
                                        .times = request.times,
                                        .keil = c,
                                        .chip = request.filter.chip,
                                        .timer = request.filter.timer});
  if (!answer.plan) {
    return Failure(kExitBadInput,
                   Rejection("TIME", request.time_text, answer.refusal));
  }
  const DelayText text{name, request.frequency_mhz, request.time_s,
                       request.times};
  const std::string code = c ? DelayCCode(text, *core, *answer.plan)
                             : DelayAsmCode(text, *core, *answer.plan);
  if (request.format != Format::kJson) return Answered(code);
  const DelayRow row{text, request.time_text, *core, *answer.plan, code};
  return Answered(Dump(JsonOf(Fields(DelayColumns(), &row, {}))));
}

RunResult Answer(const Request& request, Style style) {
  const Format format = request.format;
  switch (request.command) {
    case Command::kHelp:
      return Answered(HelpText());
    case Command::kVersion:
      return Answered(VersionText());
    case Command::kChips:
      return Answered(ChipsReport(format));
    case Command::kSettings:
      return Answered(
          SettingsReport(request,
                         Rank(Matching(request.filter), request.frequency_mhz,
                              request.rates.front(), request.tolerance_percent),
                         format, style));
    case Command::kTable:
      return Answered(TableReport(request, TableRows(request), format, style));
    case Command::kCrystals:
      return Answered(CrystalsReport(request,
                                     RankCrystals(request.rates, request.filter,
                                                  request.tolerance_percent),
                                     format, style));
    case Command::kTick:
      return TickAnswer(request, style);
    case Command::kTickCode:
      return TickCodeAnswer(request);
    case Command::kDelay:
      return Delay(request);
    case Command::kExplain:
      return ExplainAnswer(request, BAUD51_VERSION_TEXT);
    case Command::kCode:
      break;
  }
  return Code(request);
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
