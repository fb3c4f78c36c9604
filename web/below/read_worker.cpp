// The program below as the code reader, started again in a worker of the
// page (read_worker.js) so that reading a long paste never holds up the
// page: it reads the paste it is handed, as the section shows it
// (read_shown.h), and posts that back for the page to draw. Its one entry
// there is its dispatch point: nothing thrown reaches JavaScript; the page
// shows it in its message.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "web/below/read_shown.h"
#include "window/dispatch.h"

extern "C" {
// Texts of the request being read (read.js): its size in UTF-8, then
// that many bytes of it.
std::size_t baud51_reader_size(int which);
void baud51_reader_copy(int which, char* buffer, std::size_t size);
// The answer to it: what the section shows, or why nothing could be read.
void baud51_reader_shown(const char* message, std::size_t message_length,
                         const char* heading, std::size_t heading_length,
                         const char* lists, std::size_t lists_length);
void baud51_reader_failed(const char* text, std::size_t text_length);
}

namespace {

enum Asked { kPaste = 0, kChipFilter = 1 };

std::string AskedText(Asked which) {
  std::string text(baud51_reader_size(which), '\0');
  baud51_reader_copy(which, text.data(), text.size());
  return text;
}

web::CodeReading& Reading() {
  static web::CodeReading reading;
  return reading;
}

}  // namespace

extern "C" {

// `fresh`: the request brings a paste; otherwise the last one is read
// again. `language`: a web::Tongue.
EMSCRIPTEN_KEEPALIVE void baud51_reader_read(int fresh, double frequency_mhz,
                                             double tolerance_percent,
                                             int language) {
  window::Dispatch(
      [=] {
        if (fresh != 0) Reading().Take(AskedText(kPaste));
        const web::ReadShown shown = Reading().Show(
            frequency_mhz, tolerance_percent, AskedText(kChipFilter),
            static_cast<web::Tongue>(language));
        baud51_reader_shown(shown.message.data(), shown.message.size(),
                            shown.heading.data(), shown.heading.size(),
                            shown.lists.data(), shown.lists.size());
      },
      [](std::string_view message) {
        baud51_reader_failed(message.data(), message.size());
      });
}

}  // extern "C"
