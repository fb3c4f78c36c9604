#include "cli/explain_report.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/words.h"
#include "timers/text.h"
#include "timers/tick_text.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

using Json = nlohmann::ordered_json;

// Up to one byte past the reader's limit, so that it can refuse the rest.
bool Slurp(std::FILE* file, std::string& text) {
  char buffer[65536];
  while (text.size() <= kMaxCodeBytes) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    text.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  return std::ferror(file) == 0;
}

std::string ProblemText(CodeProblem problem, const std::string& family) {
  switch (problem) {
    case CodeProblem::kEmpty:
      return "empty: no code to read";
    case CodeProblem::kTooLarge:
      return "more than 1 MiB: not init code";
    case CodeProblem::kBinary:
      return "binary data, not C or assembly";
    case CodeProblem::kNoWrites:
    case CodeProblem::kNone:
      break;
  }
  return fmt::format(
      "no register write of the {} read: not 8051 init code in C or assembly",
      family);
}

std::string Hex(int reload, double modulus) {
  return ReloadHex(reload, modulus);
}

Json SerialJson(const SerialUse& use) {
  Json json;
  json["uart"] = use.uart;
  const explain::FamilySetting* s = use.setting;
  const bool fixed = use.fixed_mode >= 0;
  json["generator"] = s != nullptr ? Json(s->label)
                      : fixed      ? Json("fixed")
                                   : Json(nullptr);
  json["clocks"] = s != nullptr ? Json(s->clocks) : Json(nullptr);
  const int smod = s != nullptr ? s->smod : use.fixed_smod;
  json["smod"] = smod >= 0 ? Json(smod) : Json(nullptr);
  json["reload"] = s != nullptr ? Json(use.reload) : Json(nullptr);
  json["reload_hex"] =
      s != nullptr ? Json(Hex(use.reload, s->modulus)) : Json(nullptr);
  const bool rate = (s != nullptr || fixed) && use.actual_baud > 0.0;
  json["actual_baud"] = rate ? Json(use.actual_baud) : Json(nullptr);
  json["nearest_baud"] = rate ? Json(use.nearest_baud) : Json(nullptr);
  json["error_percent"] = rate ? Json(use.error_percent) : Json(nullptr);
  json["receives"] = use.receives;
  return json;
}

Json TimerJson(const TimerUse& use) {
  Json json;
  const explain::FamilySetting* s = use.setting;
  json["timer"] = use.timer;
  json["mode"] = s != nullptr ? Json(s->mode) : Json(nullptr);
  json["clocks"] = s != nullptr ? Json(s->clocks) : Json(nullptr);
  json["reload"] = s != nullptr ? Json(use.reload) : Json(nullptr);
  json["reload_hex"] =
      s != nullptr ? Json(Hex(use.reload, s->modulus)) : Json(nullptr);
  json["running"] = use.running;
  json["interrupt"] = use.interrupt;
  json["reloaded_by"] = ReloadedByKey(use.reloaded_by);
  json["actual_period_s"] =
      use.period_s > 0.0 ? Json(use.period_s) : Json(nullptr);
  return json;
}

std::string ExplainJson(const Request& request, const explain::Family& family,
                        const Explanation& e) {
  Json json;
  json["frequency_mhz"] = request.frequency_mhz;
  json["chip"] = family.name;
  json["serial"] = Json::array();
  for (const SerialUse& use : e.serial)
    json["serial"].push_back(SerialJson(use));
  json["timers"] = Json::array();
  for (const TimerUse& use : e.timers) json["timers"].push_back(TimerJson(use));
  json["findings"] = Json::array();
  for (const Finding& f : e.findings) {
    json["findings"].push_back(
        {{"kind", FindingKey(f.kind)}, {"line", f.line}, {"text", f.text}});
  }
  return json.dump(2) + "\n";
}

std::string SerialLine(const SerialUse& use) {
  const explain::FamilySetting* s = use.setting;
  const std::string receiver = use.receives ? "receiver on" : "receiver off";
  if (use.fixed_mode >= 0) {
    const std::string smod =
        use.fixed_smod >= 0 ? fmt::format(" (SMOD {})", use.fixed_smod) : "";
    return fmt::format(
        "  {}  mode {}, fixed rate\n        FREQ/{}{}: {:.2f} baud, {} from "
        "{}; {}\n",
        use.uart, use.fixed_mode, use.fixed_divisor, smod, use.actual_baud,
        PercentText(use.error_percent), ShortestText(use.nearest_baud),
        receiver);
  }
  if (s == nullptr) {
    return fmt::format("  {}  timer-driven mode, no generator set up; {}\n",
                       use.uart, receiver);
  }
  const std::string smod =
      s->smod >= 0 ? fmt::format(", SMOD {}", s->smod) : "";
  std::string step;
  if (use.step >= 0) step = fmt::format(", step {}", use.step);
  return fmt::format(
      "  {}  {}\n        {} clock{} per count{}, reload {}{}: {:.2f} baud, "
      "{} from {}; {}\n",
      use.uart, s->label, s->clocks, s->clocks == 1 ? "" : "s", smod,
      Hex(use.reload, s->modulus), step, use.actual_baud,
      PercentText(use.error_percent), ShortestText(use.nearest_baud), receiver);
}

std::string TimerLine(const TimerUse& use) {
  const explain::FamilySetting* s = use.setting;
  const std::string state =
      fmt::format("{}, {}", use.running ? "running" : "not running",
                  use.interrupt ? "interrupt on" : "no interrupt");
  if (s == nullptr) {
    return fmt::format("  {}  a mode none of the family's records has; {}\n",
                       use.timer, state);
  }
  return fmt::format(
      "  {}  mode {}, {} clock{} per count, reload {}: {} per overflow; {}; "
      "reloaded by {}\n",
      use.timer, s->mode, s->clocks, s->clocks == 1 ? "" : "s",
      Hex(use.reload, s->modulus), PeriodText(use.period_s), state,
      ReloadedByKey(use.reloaded_by));
}

std::string ExplainText(const Request& request, const explain::Family& family,
                        const Explanation& e) {
  std::string out =
      fmt::format("{} MHz, {}, chip {}; tolerance {} %\n",
                  ShortestText(request.frequency_mhz), family.text, family.name,
                  ShortestText(request.tolerance_percent));
  out +=
      e.serial.empty() ? "Serial: none in a timer-driven mode\n" : "Serial:\n";
  for (const SerialUse& use : e.serial) out += SerialLine(use);
  out +=
      e.timers.empty() ? "Timers: none running or interrupting\n" : "Timers:\n";
  for (const TimerUse& use : e.timers) out += TimerLine(use);
  out += e.findings.empty() ? "Findings: none\n" : "Findings:\n";
  for (const Finding& f : e.findings) {
    out +=
        fmt::format("  line {}: {}: {}\n", f.line, FindingKey(f.kind), f.text);
  }
  return out;
}

RunResult Refused(const std::string& message) {
  return {kExitBadInput, {}, std::string(kProgramName) + ": " + message + "\n"};
}

}  // namespace

std::string ExplainReport(const Request& request, const explain::Family& family,
                          const Explanation& explanation) {
  if (request.format == Format::kJson) {
    return ExplainJson(request, family, explanation);
  }
  return ExplainText(request, family, explanation);
}

RunResult ExplainAnswer(const Request& request, Style /*style*/) {
  const std::string_view chip = ChipName(request.filter.chip);
  const explain::Family* family =
      explain::FindFamily(chip.empty() ? explain::kDefaultFamily : chip);
  if (family == nullptr) {
    return Refused(Rejection("--chip", request.filter.chip,
                             "explain reads one family's registers"));
  }
  if (request.format == Format::kCsv) {
    return Refused(Rejection("--format", "csv", "explain writes text or json"));
  }
  const bool standard = request.file == "-";
  const std::string name = standard
                               ? "standard input"
                               : fmt::format("FILE {}", Quoted(request.file));
  std::string text;
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      standard ? stdin : std::fopen(request.file.c_str(), "rb"),
      standard ? [](std::FILE*) { return 0; } : std::fclose);
  if (file == nullptr || !Slurp(file.get(), text)) {
    return Refused(fmt::format("{}: cannot be read: {}", name,
                               std::strerror(errno != 0 ? errno : EIO)));
  }
  const Explanation e =
      Explain(text, request.frequency_mhz, *family, request.tolerance_percent);
  if (e.problem != CodeProblem::kNone) {
    return Refused(
        fmt::format("{}: {}", name, ProblemText(e.problem, family->text)));
  }
  return {kExitAnswered, ExplainReport(request, *family, e), {}};
}

}  // namespace cli
