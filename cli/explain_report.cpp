#include "cli/explain_report.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/columns.h"
#include "cli/words.h"
#include "timers/explain_words.h"
#include "timers/text.h"

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

std::string ProblemText(CodeProblem problem, std::string_view family) {
  return fmt::format(fmt::runtime(ProblemWords(problem).en), family);
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

// A list's heading, with its words for none when it has nothing.
std::string Heading(const Words& name, const Words& none, bool empty) {
  return empty ? fmt::format("{}: {}\n", name.en, none.en)
               : fmt::format("{}:\n", name.en);
}

std::string UseLines(const UseText& text) {
  std::string lines = fmt::format("  {}  {}\n", text.name, text.what);
  if (!text.detail.empty()) lines += fmt::format("        {}\n", text.detail);
  return lines;
}

std::string ExplainText(const Request& request, const explain::Family& family,
                        const Explanation& e) {
  const ExplainReportWords& w = ReportWords();
  std::string out =
      fmt::format(fmt::runtime(w.heading.en),
                  ShortestText(request.frequency_mhz), family.text, family.name,
                  ShortestText(request.tolerance_percent)) +
      "\n";
  out += Heading(w.serial, w.serial_none, e.serial.empty());
  for (const SerialUse& use : e.serial)
    out += UseLines(SerialText(use, Tongue::kEnglish));
  out += Heading(w.timers, w.timers_none, e.timers.empty());
  for (const TimerUse& use : e.timers)
    out += UseLines(TimerText(use, Tongue::kEnglish));
  out += Heading(w.findings, w.findings_none, e.findings.empty());
  for (const Finding& f : e.findings) {
    out += fmt::format("  {}: {}: {}\n",
                       fmt::format(fmt::runtime(w.line.en), f.line),
                       FindingKey(f.kind), f.text);
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
