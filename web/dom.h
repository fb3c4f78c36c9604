#pragma once
// The page's DOM operations (dom.js, combobox.js), as C++ sees them. Texts
// are UTF-8 and sized; elements are found by their record's name.

#include <cstddef>
#include <string>
#include <string_view>

#include "window/description.h"

extern "C" {
// Whether the page holds the window.
int baud51_dom_window_shown();
// Takes the window as it is; writes `markup` in first, if any.
void baud51_dom_window(const char* markup, std::size_t markup_length);
// The combo box named `name` gets its list button, named `open_list`, and
// its list; the button its click.
void baud51_dom_combo(const char* name, std::size_t name_length,
                      const char* open_list, std::size_t open_list_length);
void baud51_dom_button(const char* name, std::size_t name_length, int press);
void baud51_dom_add_item(const char* name, std::size_t name_length,
                         const char* item, std::size_t item_length);
std::size_t baud51_dom_text_size(const char* name, std::size_t name_length);
void baud51_dom_text_copy(const char* name, std::size_t name_length,
                          char* buffer, std::size_t size);
void baud51_dom_set_caption(const char* name, std::size_t name_length,
                            const char* text, std::size_t text_length);
void baud51_dom_set_colors(const char* name, std::size_t name_length,
                           window::Color fore, int back);
window::Color baud51_dom_system_color(int which);
void baud51_dom_set_tooltip(const char* name, std::size_t name_length,
                            const char* text, std::size_t text_length);
void baud51_dom_focus(const char* name, std::size_t name_length);
void baud51_dom_ready();
// Below the window: whether the browser's language is Chinese; a field's
// text set from a link; the link's value for `key`: its length in UTF-8,
// or -1 when the fragment lacks it, then the value itself; the fragment
// read afresh at its next value asked for.
int baud51_dom_browser_chinese();
void baud51_dom_set_value(const char* id, std::size_t id_length,
                          const char* text, std::size_t text_length);
int baud51_dom_link_size(const char* key, std::size_t key_length);
void baud51_dom_link_copy(const char* key, std::size_t key_length, char* buffer,
                          std::size_t size);
void baud51_dom_link_forget();
void baud51_dom_unload();
void baud51_dom_message(const char* text, std::size_t text_length);
// Below the window (settings.js): an element's text, and a table written
// from its text (as TableText lays it out) with its caption.
void baud51_dom_word(const char* id, std::size_t id_length, const char* text,
                     std::size_t text_length);
void baud51_dom_table(const char* id, std::size_t id_length,
                      const char* caption, std::size_t caption_length,
                      const char* table, std::size_t table_length);
}

namespace web {

// The two colours the window's own texts and background have now.
enum class SystemColor { kText = 0, kBackground = 1 };

inline window::Color CurrentColor(SystemColor which) {
  return baud51_dom_system_color(static_cast<int>(which));
}

// The field's text as typed or picked.
inline std::string FieldText(std::string_view name) {
  std::string text(baud51_dom_text_size(name.data(), name.size()), '\0');
  // Room for the terminating zero the copy writes.
  text.resize(text.size() + 1);
  baud51_dom_text_copy(name.data(), name.size(), text.data(), text.size());
  text.pop_back();
  return text;
}

}  // namespace web
