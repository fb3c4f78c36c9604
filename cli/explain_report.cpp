#include "cli/explain_report.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/columns.h"
#include "cli/words.h"
#include "timers/text.h"
#include "timers/tick_text.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

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

std::string Hex(int reload, double modulus) {
  return ReloadHex(reload, modulus);
}

std::string ExplainJson(const Request& request, const explain::Family& family,
                        const Explanation& e) {
  Json json;
  json["frequency_mhz"] = request.frequency_mhz;
  json["chip"] = family.name;
  json["serial"] = JsonRows<SerialUse>(SerialColumns(), e.serial, {});
  json["timers"] = JsonRows<TimerUse>(TimerColumns(), e.timers, {});
  json["findings"] = Json::array();
  for (const Finding& f : e.findings) {
    json["findings"].push_back(
        {{"kind", FindingKey(f.kind)}, {"line", f.line}, {"text", f.text}});
  }
  return Dump(json);
}

std::string SerialLine(const SerialUse& use) {
  const explain::FamilySetting* s = use.setting;
  const std::string receiver = use.receives ? "receiver on" : "receiver off";
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
        fmt::format("{}: {}", name,
                    fmt::format(fmt::runtime(CodeProblemWords(e.problem).en),
                                family->text)));
  }
  return {kExitAnswered, ExplainReport(request, *family, e), {}};
}

}  // namespace cli
