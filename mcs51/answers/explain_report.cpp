// explain's report: the reading of a family's registers as text or JSON.
#include <fmt/format.h>

#include "mcs51/answers/reports.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51 {
namespace {

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

// "line 3" in a paste, "uart.c:3" in a file.
std::string WhereText(const Finding& f) {
  if (f.file.empty() && f.address >= 0)
    return fmt::format(fmt::runtime(ImageWords().address.en), f.address);
  return f.file.empty()
             ? fmt::format(fmt::runtime(ReportWords().line.en), f.line)
             : fmt::format("{}:{}", f.file, f.line);
}

std::string ExplainText(const Question& question, const explain::Family& family,
                        const Explanation& e) {
  const ExplainReportWords& w = ReportWords();
  std::string out =
      fmt::format(fmt::runtime(w.heading.en),
                  ShortestText(question.frequency_mhz), family.text,
                  family.name, ShortestText(question.tolerance_percent)) +
      "\n";
  if (e.simulated) {
    out += fmt::format(fmt::runtime(ImageWords().simulated.en),
                       e.simulated->type, PeriodText(e.simulated->seconds)) +
           "\n";
  }
  if (e.named_by) {
    out += fmt::format(fmt::runtime(w.named_by.en), e.named_by->chip,
                       e.named_by->header, e.named_by->line) +
           "\n";
  }
  out += Heading(w.serial, w.serial_none, e.serial.empty());
  for (const SerialUse& use : e.serial)
    out += UseLines(SerialText(use, Tongue::kEnglish));
  out += Heading(w.timers, w.timers_none, e.timers.empty());
  for (const TimerUse& use : e.timers) {
    UseText text = TimerText(use, Tongue::kEnglish);
    text.detail = MeasuredText(use).en;
    out += UseLines(text);
  }
  out += Heading(w.findings, w.findings_none, e.findings.empty());
  for (const Finding& f : e.findings) {
    out +=
        fmt::format("  {}: {}: {}\n", WhereText(f), FindingKey(f.kind), f.text);
  }
  if (!e.notes.empty()) out += fmt::format("{}:\n", w.notes.en);
  for (const Finding& note : e.notes) {
    // A note on the whole run, as a built image's, has no place.
    if (note.line == 0 && note.address < 0 && note.file.empty()) {
      out += fmt::format("  {}\n", note.text);
    } else {
      out += fmt::format("  {}: {}\n", WhereText(note), note.text);
    }
  }
  return out;
}

std::string ExplainJson(const Question& question, const explain::Family& family,
                        const Explanation& e) {
  Json json;
  json["frequency_mhz"] = question.frequency_mhz;
  json["chip"] = family.name;
  json["chip_from"] = e.named_by ? Json(e.named_by->header) : Json(nullptr);
  json["encoding"] = EncodingKey(e.encoding);
  if (e.simulated) {
    json["simulated"] = {{"type", e.simulated->type},
                         {"seconds", e.simulated->seconds},
                         {"timed", e.simulated->timed}};
  } else {
    json["simulated"] = nullptr;
  }
  json["serial"] = JsonRows<SerialUse>(SerialColumns(), e.serial, {});
  json["timers"] = JsonRows<TimerUse>(TimerColumns(), e.timers, {});
  json["findings"] = JsonRows<Finding>(FindingColumns(), e.findings, {});
  json["notes"] = JsonRows<Finding>(FindingColumns(), e.notes, {});
  return Dump(json);
}

}  // namespace

std::string ExplainReport(const Question& question,
                          const explain::Family& family,
                          const Explanation& explanation, Format format) {
  if (format == Format::kJson)
    return ExplainJson(question, family, explanation);
  return ExplainText(question, family, explanation);
}

}  // namespace mcs51
