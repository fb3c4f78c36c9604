#include "web/window/markup.h"

#include <fmt/compile.h>

#include "window/look.h"

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

// Text as HTML reads it back, in an element or a quoted attribute.
std::string Escaped(std::string_view text) {
  std::string html;
  for (const char c : text) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      default:
        html += c;
    }
  }
  return html;
}

std::string Font(const window::FontRecord& font) {
  const std::string decoration =
      fmt::format(FMT_COMPILE("{}{}"), font.underline ? "underline " : "",
                  font.strikeout ? "line-through" : "");
  return fmt::format(
      FMT_COMPILE("font-family:{};font-size:{}pt;font-weight:{};font-style:{};"
                  "text-decoration:{};"),
      FontFamilies(font.family), font.point_size, font.weight,
      font.italic ? "italic" : "normal",
      decoration.empty() ? "none" : decoration);
}

// The control's place in pixels; an auto-sized label takes its text's
// size from the browser's own layout.
std::string Place(const window::ControlRecord& record, bool sized = true) {
  std::string css =
      fmt::format(FMT_COMPILE("left:{}px;top:{}px;"),
                  window::Pixels(record.left), window::Pixels(record.top));
  if (sized) {
    css += fmt::format(FMT_COMPILE("width:{}px;height:{}px;"),
                       window::Pixels(record.width),
                       window::Pixels(record.height));
  }
  return css;
}

// A result is an <output>, a polite live region named by what it shows
// ("T1常数(Hex)"); its number is its content.
std::string Label(const window::ControlRecord& record) {
  const std::string_view result = record.accessible_description;
  const std::string_view tag = result.empty() ? "div" : "output";
  std::string style = Place(record, !record.auto_size);
  if (record.font) style += Font(*record.font);
  return fmt::format(
      FMT_COMPILE(
          "<{0} id=\"{1}\" class=\"label{2}{3}\"{4} style=\"{5}\">{6}</{0}>"),
      tag, record.name, record.auto_size ? " auto" : "",
      result.empty() ? "" : " result",
      result.empty() ? "" : " aria-label=\"" + Escaped(result) + "\"",
      Escaped(style), Escaped(record.text));
}

std::string Control(const window::ControlRecord& record) {
  switch (record.kind) {
    case window::ControlKind::kLabel:
      return Label(record);
    case window::ControlKind::kComboBox:
      // Numbers only: a phone brings up its number pad.
      return fmt::format(
          FMT_COMPILE(
              "<div class=\"combo\" style=\"{}\"><input id=\"{}\" value=\"{}\" "
              "aria-labelledby=\"{}\" inputmode=\"decimal\"></div>"),
          Place(record), record.name, Escaped(record.text), record.heading);
    case window::ControlKind::kCommandButton:
      return fmt::format(
          FMT_COMPILE("<button type=\"button\" id=\"{}\" class=\"command\" "
                      "style=\"{}\">{}</button>"),
          record.name, Place(record), Escaped(record.text));
  }
  return {};
}

}  // namespace

std::string FontFamilies(std::string_view family) {
  std::string css = Named(family);
  // Before any other face, a record's own falls back to the window's.
  const std::string_view window_family = window::kForm1.font.family;
  if (family != window_family) css.append(Named(window_family));
  return css.append(kChineseFallbacks);
}

std::string WindowMarkup(const window::WindowRecord& form,
                         std::span<const window::ControlRecord> controls) {
  std::string html = fmt::format(
      FMT_COMPILE(
          "<section id=\"{0}\" class=\"form\" aria-labelledby=\"{0}-caption\" "
          "style=\"{1}\"><div id=\"{0}-caption\" class=\"caption\">{2}</div>"
          "<div class=\"client\" style=\"left:0px;top:0px;width:{3}px;"
          "height:{4}px;\">"),
      form.name, Escaped(Font(form.font)), Escaped(form.caption),
      window::Pixels(form.client_width), window::Pixels(form.client_height));
  for (const window::ControlRecord* record : window::InTabOrder(controls)) {
    html += Control(*record);
  }
  return html + "</div></section>";
}

}  // namespace web
