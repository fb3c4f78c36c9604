#pragma once
// The sections' own state below the window (sections.js): a table's rows
// made choosable, each section's status line, and which field it refuses.

#include <cstddef>
#include <string_view>

extern "C" {
void baud51_dom_chooser(const char* id, std::size_t id_length, const char* name,
                        std::size_t name_length, const char* head,
                        std::size_t head_length, int chosen);
void baud51_dom_status(const char* id, std::size_t id_length, const char* text,
                       std::size_t text_length);
void baud51_dom_invalid(const char* field, std::size_t field_length,
                        const char* line, std::size_t line_length, int invalid);
}

namespace web {

// The table `id`, as just written, gets a first column headed `head` of
// radio buttons named `name`, row `chosen` checked.
inline void Chooser(std::string_view id, std::string_view name,
                    std::string_view head, std::size_t chosen) {
  baud51_dom_chooser(id.data(), id.size(), name.data(), name.size(),
                     head.data(), head.size(), static_cast<int>(chosen));
}

// The status line `id` says `text`; empty, it says nothing.
inline void Status(std::string_view id, std::string_view text) {
  baud51_dom_status(id.data(), id.size(), text.data(), text.size());
}

// The field `field` marked as refused, described by the line `line`, or
// not.
inline void Invalid(std::string_view field, std::string_view line,
                    bool invalid) {
  baud51_dom_invalid(field.data(), field.size(), line.data(), line.size(),
                     invalid ? 1 : 0);
}

}  // namespace web
