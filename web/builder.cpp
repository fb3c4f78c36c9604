#include "web/builder.h"

#include "web/dom.h"
#include "window/words.h"

namespace web {
namespace {

// The described Chinese faces by the names Windows and macOS also give
// them, then what Linux and phones have.
constexpr std::string_view kChineseFallbacks =
    "\"AR PL UMing CN\", \"Noto Serif CJK SC\", \"Songti SC\", "
    "\"WenQuanYi Micro Hei\", \"Noto Sans CJK SC\", \"PingFang SC\", serif";

std::string_view AlsoKnownAs(std::string_view family) {
  if (family == "宋体") return "SimSun";
  if (family == "隶书") return "LiSu";
  return {};
}

// A family for CSS, then its other name, each with the comma that follows.
std::string Named(std::string_view family) {
  std::string css = "\"" + std::string(family) + "\", ";
  if (const std::string_view alias = AlsoKnownAs(family); !alias.empty()) {
    css.append(alias).append(", ");
  }
  return css;
}

void SetFont(std::string_view name, const window::FontRecord& font) {
  const std::string families = FontFamilies(font.family);
  baud51_dom_font(name.data(), name.size(), families.data(), families.size(),
                  font.point_size, font.weight, font.italic, font.underline,
                  font.strikeout);
}

void MakeLabel(const window::ControlRecord& record) {
  // A result is named by what it shows, its accessible description, and
  // tells a screen reader when its number changes.
  const std::string_view result = record.accessible_description;
  baud51_dom_label(record.name.data(), record.name.size(), record.text.data(),
                   record.text.size(), window::Pixels(record.left),
                   window::Pixels(record.top), window::Pixels(record.width),
                   window::Pixels(record.height), record.auto_size,
                   result.data(), result.size());
  if (record.font) SetFont(record.name, *record.font);
  const window::LabelColors shown = LabelColors(
      record.fore_color.value_or(window::kNormalTextColor), record.back_color);
  // A label without a described background shows the window's through it.
  baud51_dom_set_colors(record.name.data(), record.name.size(), shown.text,
                        record.back_color ? static_cast<int>(shown.back) : -1);
}

void MakeControl(const window::ControlRecord& record, int index) {
  switch (record.kind) {
    case window::ControlKind::kLabel:
      MakeLabel(record);
      return;
    case window::ControlKind::kComboBox:
      baud51_dom_combo(record.name.data(), record.name.size(),
                       record.text.data(), record.text.size(),
                       window::Pixels(record.left), window::Pixels(record.top),
                       window::Pixels(record.width),
                       window::Pixels(record.height), record.heading.data(),
                       record.heading.size(), window::kOpenList,
                       sizeof window::kOpenList - 1);
      return;
    case window::ControlKind::kCommandButton:
      baud51_dom_button(record.name.data(), record.name.size(),
                        record.text.data(), record.text.size(),
                        window::Pixels(record.left), window::Pixels(record.top),
                        window::Pixels(record.width),
                        window::Pixels(record.height), index);
      return;
  }
}

}  // namespace

std::string FontFamilies(std::string_view family) {
  std::string css = Named(family);
  // Before any other face, a record's own falls back to the window's.
  const std::string_view window_family = window::kForm1.font.family;
  if (family != window_family) css.append(Named(window_family));
  return css.append(kChineseFallbacks);
}

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
  baud51_dom_window(form.name.data(), form.name.size(), form.caption.data(),
                    form.caption.size(), window::Pixels(form.client_width),
                    window::Pixels(form.client_height));
  SetFont(form.name, form.font);
  for (const window::ControlRecord* record : window::InTabOrder(controls)) {
    MakeControl(*record, static_cast<int>(record - controls.data()));
  }
}

}  // namespace web
