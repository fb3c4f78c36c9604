#include "web/below/read_panel.h"

#include <fmt/format.h>

#include <initializer_list>
#include <utility>

#include "mcs51/reading/code_reader.h"
#include "mcs51/reading/explain.h"
#include "mcs51/reading/explain_registers.h"
#include "mcs51/reading/explain_words.h"
#include "mcs51/settings/text.h"
#include "web/dom.h"

extern "C" {
void baud51_dom_read(const char* message, std::size_t message_length,
                     const char* heading, std::size_t heading_length,
                     const char* lists, std::size_t lists_length);
}

namespace web {
namespace {

constexpr std::string_view kArea = "read-code";

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
  return lists;
}

void Draw(const ReadShown& shown) {
  baud51_dom_read(shown.message.data(), shown.message.size(),
                  shown.heading.data(), shown.heading.size(),
                  shown.lists.data(), shown.lists.size());
}

// The lists' names, from the command line's words.
void Titles(Tongue language) {
  const mcs51::ExplainReportWords& w = mcs51::ReportWords();
  for (const auto& [id, words] :
       {std::pair{std::string_view("read-serial-title"), w.serial},
        std::pair{std::string_view("read-timers-title"), w.timers},
        std::pair{std::string_view("read-findings-title"), w.findings}}) {
    const std::string_view text = words.In(language);
    baud51_dom_word(id.data(), id.size(), text.data(), text.size());
  }
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

void PastedCode::Take() {
  read_.reset();
  const std::size_t size = baud51_dom_text_size(kArea.data(), kArea.size());
  too_large_ = size > mcs51::kMaxCodeBytes;
  text_.clear();
  if (too_large_) return;
  text_.resize(size + 1);  // with the terminating zero the copy writes
  baud51_dom_text_copy(kArea.data(), kArea.size(), text_.data(), text_.size());
  text_.pop_back();
}

void PastedCode::Show(double frequency_mhz, double tolerance_percent,
                      std::string_view chip_filter, Tongue language) {
  Titles(language);
  const mcs51::explain::Family* family = FamilyOf(chip_filter);
  if (too_large_) {
    Draw(Refused(mcs51::CodeProblem::kTooLarge,
                 family != nullptr ? *family : mcs51::explain::DefaultFamily(),
                 language));
    return;
  }
  if (!read_ || read_->frequency_mhz != frequency_mhz ||
      read_->tolerance_percent != tolerance_percent ||
      read_->family != family) {
    read_ = Reading{
        frequency_mhz, tolerance_percent, family,
        mcs51::Explain(text_, frequency_mhz, family, tolerance_percent)};
  }
  Draw(Shown(read_->explanation, frequency_mhz, tolerance_percent, language));
}

void PastedCode::Unread(Tongue language) const {
  Titles(language);
  Draw({std::string(WordsOf(language).read_no_crystal), "", ""});
}

}  // namespace web
