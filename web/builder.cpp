#include "web/builder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "web/dom.h"
#include "window/contrast.h"

namespace web {
namespace {

constexpr int kWindowPointSize = 9;
constexpr std::string_view kWindowFamily = "宋体";

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

void SetFont(std::string_view name, const window::FontRecord& font) {
  const std::string families = FontFamilies(font.family);
  baud51_dom_font(name.data(), name.size(), families.data(), families.size(),
                  font.point_size, font.weight, font.italic, font.underline,
                  font.strikeout);
}

void MakeLabel(const window::ControlRecord& record) {
  // A result says what it shows through its accessible description and
  // tells a screen reader when it changes.
  const bool result = !record.accessible_description.empty();
  baud51_dom_label(record.name.data(), record.name.size(), record.text.data(),
                   record.text.size(), Px(record.left), Px(record.top),
                   Px(record.width), Px(record.height), record.auto_size,
                   result);
  if (record.font) SetFont(record.name, *record.font);
  const window::Color fore = LabelTextColor(
      record.fore_color.value_or(window::kNormalTextColor), record.back_color);
  const int back =
      record.back_color ? static_cast<int>(*record.back_color) : -1;
  baud51_dom_set_colors(record.name.data(), record.name.size(), fore, back);
}

void MakeControl(const window::ControlRecord& record, PressIndex press_of) {
  switch (record.kind) {
    case window::ControlKind::kLabel:
      MakeLabel(record);
      return;
    case window::ControlKind::kComboBox:
      baud51_dom_combo(record.name.data(), record.name.size(),
                       record.text.data(), record.text.size(), Px(record.left),
                       Px(record.top), Px(record.width), Px(record.height),
                       record.heading.data(), record.heading.size());
      return;
    case window::ControlKind::kCommandButton:
      baud51_dom_button(record.name.data(), record.name.size(),
                        record.text.data(), record.text.size(), Px(record.left),
                        Px(record.top), Px(record.width), Px(record.height),
                        press_of(record.name));
      return;
  }
}

}  // namespace

int Px(int twips) {
  return static_cast<int>(
      std::lround(static_cast<double>(twips) / window::kTwipsPerPixel));
}

std::string FontFamilies(std::string_view family) {
  std::string css = "\"" + std::string(family) + "\", ";
  if (const std::string_view alias = AlsoKnownAs(family); !alias.empty()) {
    css.append(alias).append(", ");
  }
  if (family != kWindowFamily) {
    css.append("\"").append(kWindowFamily).append("\", SimSun, ");
  }
  return css.append(kChineseFallbacks);
}

window::Color LabelTextColor(window::Color fore,
                             std::optional<window::Color> back) {
  const window::Color drawn_on =
      back ? *back : CurrentColor(SystemColor::kBackground);
  const window::Color described =
      window::IsSystemColor(fore) ? CurrentColor(SystemColor::kText) : fore;
  return window::ReadableOn(described, drawn_on,
                            window::RequiredContrast(fore, back));
}

void BuildWindow(const window::WindowRecord& form,
                 std::span<const window::ControlRecord> controls,
                 PressIndex press_of) {
  baud51_dom_window(form.name.data(), form.name.size(), form.caption.data(),
                    form.caption.size(), Px(form.client_width),
                    Px(form.client_height));
  SetFont(form.name, {.family = kWindowFamily, .point_size = kWindowPointSize});
  std::vector<const window::ControlRecord*> in_tab_order;
  for (const window::ControlRecord& record : controls) {
    in_tab_order.push_back(&record);
  }
  std::sort(
      in_tab_order.begin(), in_tab_order.end(),
      [](const auto* a, const auto* b) { return a->tab_index < b->tab_index; });
  for (const window::ControlRecord* record : in_tab_order) {
    MakeControl(*record, press_of);
  }
}

}  // namespace web
