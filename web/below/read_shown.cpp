#include "web/below/read_shown.h"

#include <fmt/format.h>

#include <utility>

#include "mcs51/explain/explain_registers.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/reading/code_reader.h"
#include "mcs51/settings/text.h"

namespace web {
namespace {

// A field of a line: a tab or line break in it (none is expected, but a
// name read from the paste may hold anything) reads as a blank.
std::string Field(std::string_view text) {
  std::string field(text);
  for (char& c : field) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return field;
}

std::string Line(std::string_view list, std::string_view head,
                 std::string_view body, std::string_view detail = {}) {
  return fmt::format("{}\t{}\t{}\t{}\n", list, Field(head), Field(body),
                     Field(detail));
}

std::string Lists(const mcs51::Explanation& e, Tongue language) {
  const mcs51::ExplainReportWords& w = mcs51::ReportWords();
  const std::string_view separator = WordsOf(language).read_separator;
  std::string lists;
  for (const mcs51::SerialUse& use : e.serial) {
    const mcs51::UseText t = mcs51::SerialText(use, language);
    lists += Line("serial", t.name, " " + t.what, t.detail);
  }
  if (e.serial.empty()) lists += Line("serial", "", w.serial_none.In(language));
  for (const mcs51::TimerUse& use : e.timers) {
    const mcs51::UseText t = mcs51::TimerText(use, language);
    lists += Line("timers", t.name, " " + t.what, t.detail);
  }
  if (e.timers.empty()) lists += Line("timers", "", w.timers_none.In(language));
  for (const mcs51::Finding& f : e.findings) {
    lists +=
        Line("findings", fmt::format(fmt::runtime(w.line.In(language)), f.line),
             fmt::format("{}{}", separator, f.In(language)));
  }
  if (e.findings.empty()) {
    lists += Line("findings", "", w.findings_none.In(language));
  }
  for (const mcs51::Finding& note : e.notes) {
    lists += Line(
        "findings", fmt::format(fmt::runtime(w.line.In(language)), note.line),
        fmt::format(
            "{}{}", separator,
            fmt::format(fmt::runtime(w.note.In(language)), note.In(language))));
  }
  return lists;
}

ReadShown Refused(mcs51::CodeProblem problem, const mcs51::explain::Family& f,
                  Tongue language) {
  const std::string why = fmt::format(
      fmt::runtime(mcs51::ProblemWords(problem).In(language)), f.text);
  return {fmt::format(fmt::runtime(WordsOf(language).read_problem), why), "",
          ""};
}

// "" and "all" choose no one family: the code's header names it, or the
// command line's own default stands.
const mcs51::explain::Family* FamilyOf(std::string_view chip_filter) {
  return chip_filter.empty() || chip_filter == "all"
             ? nullptr
             : mcs51::explain::FindFamily(chip_filter);
}

ReadShown Shown(const mcs51::Explanation& e, double frequency_mhz,
                double tolerance_percent, Tongue language) {
  const mcs51::explain::Family& family = *e.family;
  if (e.problem != mcs51::CodeProblem::kNone) {
    return Refused(e.problem, family, language);
  }
  const mcs51::ExplainReportWords& w = mcs51::ReportWords();
  std::string heading = fmt::format(
      fmt::runtime(w.heading.In(language)), mcs51::ShortestText(frequency_mhz),
      family.text, family.name, mcs51::ShortestText(tolerance_percent));
  if (e.named_by) {
    heading += "; " + fmt::format(fmt::runtime(w.named_by.In(language)),
                                  e.named_by->chip, e.named_by->header,
                                  e.named_by->line);
  }
  return {"", heading, Lists(e, language)};
}

}  // namespace

ReadShown ReadFor(std::string_view code, double frequency_mhz,
                  double tolerance_percent, std::string_view chip_filter,
                  Tongue language) {
  return Shown(mcs51::Explain(code, frequency_mhz, FamilyOf(chip_filter),
                              tolerance_percent),
               frequency_mhz, tolerance_percent, language);
}

ReadShown RefusedFor(mcs51::CodeProblem problem, std::string_view chip_filter,
                     Tongue language) {
  const mcs51::explain::Family* family = FamilyOf(chip_filter);
  return Refused(problem,
                 family != nullptr ? *family : mcs51::explain::DefaultFamily(),
                 language);
}

void CodeReading::Take(std::string text) {
  text_ = std::move(text);
  read_.reset();
}

ReadShown CodeReading::Show(double frequency_mhz, double tolerance_percent,
                            std::string_view chip_filter, Tongue language) {
  const mcs51::explain::Family* family = FamilyOf(chip_filter);
  if (!read_ || read_->frequency_mhz != frequency_mhz ||
      read_->tolerance_percent != tolerance_percent ||
      read_->family != family) {
    read_ = Reading{
        frequency_mhz, tolerance_percent, family,
        mcs51::Explain(text_, frequency_mhz, family, tolerance_percent)};
  }
  return Shown(read_->explanation, frequency_mhz, tolerance_percent, language);
}

}  // namespace web
