#include "web/window/builder.h"

#include "web/dom.h"
#include "web/window/markup.h"
#include "window/look.h"
#include "window/words.h"

namespace web {
namespace {

void Attach(const window::ControlRecord& record, int index) {
  const std::string_view name = record.name;
  switch (record.kind) {
    case window::ControlKind::kLabel:
      // Its colours come with the first frame (baud51_dom_focus).
      return;
    case window::ControlKind::kComboBox:
      baud51_dom_combo(name.data(), name.size(), window::kOpenList,
                       sizeof window::kOpenList - 1);
      return;
    case window::ControlKind::kCommandButton:
      baud51_dom_button(name.data(), name.size(), index);
      return;
  }
}

}  // namespace

window::LabelColors LabelColors(window::Color fore,
                                std::optional<window::Color> back) {
  return window::ShownColors(fore, back, [](int index) {
    return CurrentColor(index == window::kSystemButtonFace
                            ? SystemColor::kBackground
                            : SystemColor::kText);
  });
}

void BuildWindow(const window::WindowRecord& form,
                 std::span<const window::ControlRecord> controls) {
  // Written in the page at build time, the markup is written here only
  // after 退出 took the window away.
  const std::string html =
      baud51_dom_window_shown() ? std::string() : WindowMarkup(form, controls);
  baud51_dom_window(html.data(), html.size());
  for (const window::ControlRecord* record : window::InTabOrder(controls)) {
    Attach(*record, static_cast<int>(record - controls.data()));
  }
}

}  // namespace web
