#pragma once
// Turns the window description into DOM elements.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "window/description.h"
#include "window/look.h"

namespace web {

// The CSS font families for a described family: its own name, the name the
// browser may know it by, then the Chinese faces a system may have.
//   FontFamilies("宋体") -> "\"宋体\", SimSun, ..., serif"
std::string FontFamilies(std::string_view family);

// The colours a label shows for its described ones in the scheme the page
// is in now: the window's text and background follow the system colours.
window::LabelColors LabelColors(window::Color fore,
                                std::optional<window::Color> back);

// Builds the window and its controls from the records. Controls come in tab
// order, so the keyboard and a screen reader meet them in that order. A
// click on a button calls baud51_press with its record's index in
// `controls`.
void BuildWindow(const window::WindowRecord& form,
                 std::span<const window::ControlRecord> controls);

}  // namespace web
