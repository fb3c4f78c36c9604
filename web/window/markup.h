#pragma once
// The window as HTML, written from its records: at build time into the
// page, so that it shows before the program is compiled, and again by the
// program when the user starts it anew after 退出. No DOM, no browser.

#include <span>
#include <string>
#include <string_view>

#include "window/description.h"

namespace web {

// The CSS font families for a described family: its own name, the name the
// browser may know it by, then the Chinese faces a system may have.
//   FontFamilies("宋体") -> "\"宋体\", SimSun, ..., serif"
std::string FontFamilies(std::string_view family);

// The window and its controls from the records as HTML, the controls in
// tab order, so the keyboard and a screen reader meet them in that order:
//   WindowMarkup(kForm1, kForm1Controls)
//       -> "<section id=\"Form1\" class=\"form\" ...>...</section>"
// Nothing in it runs; the page writes it in as it is built, so the window
// shows before the program is compiled.
std::string WindowMarkup(const window::WindowRecord& form,
                         std::span<const window::ControlRecord> controls);

}  // namespace web
