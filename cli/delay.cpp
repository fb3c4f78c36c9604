#include "cli/delay.h"

#include <fmt/format.h>

#include "cli/columns.h"
#include "cli/options.h"
#include "timers/cores.h"
#include "timers/delay.h"
#include "timers/delay_code.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
DelayOutput DelayReport(const Request& request) {
  if (request.format == Format::kCsv) {
    return {false, Rejection("--format", "csv", "delay writes text or json")};
  }
  const std::string name =
      request.name.empty() ? DelayName(request.time_text) : request.name;
  if (!IsCName(name)) {
    return {false,
            Rejection("TIME", request.time_text,
                      fmt::format("makes no C name ({}); give --name", name))};
  }
  const Core* core =
      CoreOf(request.filter.chip, request.filter.clocks.value_or(0));
  if (core == nullptr) {
    return {false, Rejection("--chip", request.filter.chip,
                             "not a family of the catalogue")};
  }
  const bool c = request.language == CodeLanguage::kC;
  const DelayAnswer answer = PlanDelay(
      {request.frequency_mhz, request.time_s, core, request.times, c});
  if (!answer.plan) {
    return {false, Rejection("TIME", request.time_text, answer.refusal)};
  }
  const DelayText text{name, request.frequency_mhz, request.time_s,
                       request.times};
  const std::string code = c ? DelayCCode(text, *core, *answer.plan)
                             : DelayAsmCode(text, *core, *answer.plan);
  if (request.format == Format::kJson) {
    const DelayRow row{text, request.time_text, *core, *answer.plan, code};
    return {true, Dump(JsonOf(Fields(DelayColumns(), &row, {})))};
  }
  return {true, code};
}

}  // namespace cli
