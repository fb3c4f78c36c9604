#include "cli/code_answer.h"

#include <fmt/format.h>

#include <vector>

#include "cli/words.h"
#include "timers/init_code.h"
#include "timers/tick_code.h"
#include "timers/tick_text.h"

#ifndef BAUD51_VERSION_TEXT
#error "BAUD51_VERSION_TEXT comes from the top-level CMakeLists.txt"
#endif

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)

CodeAnswer AnswerCode(const Request& request) {
  const double baud = request.rates.front();
  const std::vector<const Setting*> settings = Matching(request.filter);
  const mcs51::CodeChoice choice = mcs51::ChooseForCode(
      settings, request.frequency_mhz, baud, request.tolerance_percent);
  const Outcome& best = choice.best;
  const std::string rate = fmt::format("{} baud at {} MHz", ShortestText(baud),
                                       ShortestText(request.frequency_mhz));
  switch (choice.refusal) {
    case Refusal::kNone:
      return {best, {}};
    case Refusal::kOutOfRange:
      if (settings.size() == 1) {
        return {std::nullopt,
                fmt::format("{} cannot reach {}: its reload is out of range",
                            SettingText(*best.setting), rate)};
      }
      return {std::nullopt,
              fmt::format("no setting reaches {}: every reload is out of range",
                          rate)};
    case Refusal::kBeyond:
      break;
  }
  return {std::nullopt,
          fmt::format("{}{} gives {:.2f} baud for {}: {}, beyond the {} % "
                      "tolerance",
                      settings.size() == 1 ? "" : "the best setting, ",
                      SettingText(*best.setting), best.actual_baud, rate,
                      PercentText(best.error_percent),
                      ShortestText(request.tolerance_percent))};
}

std::string InitCode(double frequency_mhz, double baud, const Outcome& outcome,
                     CodeLanguage language) {
  const std::string writer =
      fmt::format("{} {}", kProgramName, BAUD51_VERSION_TEXT);
  if (language == CodeLanguage::kAsm) {
    return mcs51::AsmInitCode(frequency_mhz, baud, outcome, writer);
  }
  return mcs51::InitCode(frequency_mhz, baud, outcome, writer);
}

TickCodeAnswer AnswerTickCode(const Request& request) {
  const std::vector<const TickSetting*> settings = TickMatching(request.filter);
  const TickChoice choice =
      ChooseTick(settings, request.frequency_mhz, request.period_s,
                 request.tolerance_percent);
  const TickOutcome& best = choice.best;
  if (choice.refusal == Refusal::kNone) return {best, {}};
  const std::string asked =
      fmt::format("{} at {} MHz", PeriodText(request.period_s),
                  ShortestText(request.frequency_mhz));
  if (choice.refusal == Refusal::kOutOfRange) {
    return {std::nullopt, fmt::format("no timer setting reaches {}", asked)};
  }
  return {std::nullopt,
          fmt::format("{}{} gives {} for {}: {}, beyond the {} % tolerance",
                      settings.size() == 1 ? "" : "the best setting, ",
                      TickSettingText(*best.setting),
                      PeriodText(best.actual_period_s), asked,
                      PercentText(best.error_percent),
                      ShortestText(request.tolerance_percent))};
}

std::string TickCodeText(const Request& request, const TickOutcome& outcome) {
  const std::string writer =
      fmt::format("{} {}", kProgramName, BAUD51_VERSION_TEXT);
  if (request.language == CodeLanguage::kAsm) {
    return AsmTickCode(request.frequency_mhz, request.period_s, outcome,
                       writer);
  }
  return TickCode(request.frequency_mhz, request.period_s, outcome, writer);
}

}  // namespace cli
