#include "cli/delay.h"

#include <fmt/format.h>

#include <nlohmann/json.hpp>

#include "cli/options.h"
#include "timers/cores.h"
#include "timers/delay.h"
#include "timers/delay_code.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

using Json = nlohmann::ordered_json;

std::string Figures(const Request& request, const Core& core,
                    const DelayPlan& plan, const std::string& name,
                    const std::string& code) {
  Json json;
  json["name"] = name;
  json["time"] = request.time_text;
  json["time_s"] = request.time_s;
  json["frequency_mhz"] = request.frequency_mhz;
  json["times"] = request.times;
  json["core"] = core.key;
  json["core_text"] = core.text;
  json["clocks_per_cycle"] = core.clocks;
  json["cycles"] = plan.cycles;
  json["actual_s"] = plan.actual_s;
  json["error_percent"] = plan.error_percent;
  json["source"] = core.source;
  json["assumes"] = core.assumes;
  json["code"] = code;
  return json.dump(2) + "\n";
}

}  // namespace

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
    return {true, Figures(request, *core, *answer.plan, name, code)};
  }
  return {true, code};
}

}  // namespace cli
