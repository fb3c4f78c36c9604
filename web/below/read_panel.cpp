#include "web/below/read_panel.h"

#include <cstddef>
#include <initializer_list>
#include <utility>

#include "mcs51/explain/explain_words.h"
#include "web/below/read_shown.h"
#include "web/dom.h"

extern "C" {
// The text area's paste, taken for the reader when its UTF-8 is at most
// `most` bytes: its size, or more than `most` when it is longer.
std::size_t baud51_dom_read_take(std::size_t most);
// The paste last taken, read in the reader's worker and then drawn as
// baud51_dom_read draws, unless something newer is asked for or drawn
// first.
void baud51_dom_read_code(const char* chip_filter,
                          std::size_t chip_filter_length, double frequency_mhz,
                          double tolerance_percent, int language);
// Drawn now; a reading under way is given up.
void baud51_dom_read(const char* message, std::size_t message_length,
                     const char* heading, std::size_t heading_length,
                     const char* lists, std::size_t lists_length);
}

namespace web {
namespace {

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
  refused_ = baud51_dom_read_take(mcs51::kMaxCodeBytes) > mcs51::kMaxCodeBytes
                 ? mcs51::CodeProblem::kTooLarge
                 : mcs51::CodeProblem::kNone;
}

void PastedCode::Show(double frequency_mhz, double tolerance_percent,
                      std::string_view chip_filter, Tongue language) {
  Titles(language);
  if (refused_ != mcs51::CodeProblem::kNone) {
    Draw(RefusedFor(refused_, chip_filter, language));
    return;
  }
  baud51_dom_read_code(chip_filter.data(), chip_filter.size(), frequency_mhz,
                       tolerance_percent, static_cast<int>(language));
}

void PastedCode::Unread(Tongue language) const {
  Titles(language);
  Draw({std::string(WordsOf(language).read_no_crystal), "", ""});
}

}  // namespace web
