#include "web/below/read_panel.h"

#include <cstddef>
#include <initializer_list>
#include <utility>

#include "mcs51/reading/code_reader.h"
#include "mcs51/reading/explain_words.h"
#include "web/dom.h"

extern "C" {
void baud51_dom_read(const char* message, std::size_t message_length,
                     const char* heading, std::size_t heading_length,
                     const char* lists, std::size_t lists_length);
}

namespace web {
namespace {

constexpr std::string_view kArea = "read-code";

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

}  // namespace

void PastedCode::Take() {
  const std::size_t size = baud51_dom_text_size(kArea.data(), kArea.size());
  too_large_ = size > mcs51::kMaxCodeBytes;
  std::string text;
  if (!too_large_) {
    text.resize(size + 1);  // with the terminating zero the copy writes
    baud51_dom_text_copy(kArea.data(), kArea.size(), text.data(), text.size());
    text.pop_back();
  }
  reading_.Take(std::move(text));
}

void PastedCode::Show(double frequency_mhz, double tolerance_percent,
                      std::string_view chip_filter, Tongue language) {
  Titles(language);
  Draw(too_large_
           ? RefusedFor(mcs51::CodeProblem::kTooLarge, chip_filter, language)
           : reading_.Show(frequency_mhz, tolerance_percent, chip_filter,
                           language));
}

void PastedCode::Unread(Tongue language) const {
  Titles(language);
  Draw({std::string(WordsOf(language).read_no_crystal), "", ""});
}

}  // namespace web
