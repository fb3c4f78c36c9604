#include "web/builder.h"

#include "web/dom.h"
#include "web/markup.h"
#include "window/look.h"
#include "window/words.h"

namespace web {
namespace {

void Attach(const window::ControlRecord& record, int index) {
  const std::string_view name = record.name;
  switch (record.kind) {
    case window::ControlKind::kLabel: {
      const window::LabelColors shown =
          LabelColors(record.fore_color.value_or(window::kNormalTextColor),
                      record.back_color);
      // A label without a described background shows the window's.
      baud51_dom_set_colors(
          name.data(), name.size(), shown.text,
          record.back_color ? static_cast<int>(shown.back) : -1);
      return;
    }
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
  const std::string html = WindowMarkup(form, controls);
  baud51_dom_window(html.data(), html.size());
  for (const window::ControlRecord* record : window::InTabOrder(controls)) {
    Attach(*record, static_cast<int>(record - controls.data()));
  }
}

}  // namespace web
