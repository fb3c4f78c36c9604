#pragma once
// The window on the page: its markup (markup.h) given its handlers and
// colours.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "window/description.h"
#include "window/look.h"

namespace web {

// The colours a label shows for its described ones in the scheme the page
// is in now: the window's text and background follow the system colours.
window::LabelColors LabelColors(window::Color fore,
                                std::optional<window::Color> back);

// Gives the window its handlers, writing it first unless the page already
// holds it; its labels' colours follow (DomControls::Recolor). A click on a
// button calls baud51_press with its record's index in `controls`.
void BuildWindow(const window::WindowRecord& form,
                 std::span<const window::ControlRecord> controls);

}  // namespace web
