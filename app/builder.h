#pragma once
// Turns the window description into Qt widgets.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "window/description.h"

class QLabel;
class QWidget;

namespace app {

QString Utf8(std::string_view text);

// Whether `text`, one of Qt's own texts, came out of a translation: Qt's
// English ones are plain ASCII.
//   IsTranslated("&Copy") -> false
//   IsTranslated("复制(&C)") -> true
bool IsTranslated(const QString& text);

// Twips to logical pixels; Qt's own high-DPI scaling does the rest.
int Px(int twips);

// An explicit &H00BBGGRR colour, or the palette's colour for a system one.
QColor DecodeColor(window::Color color, const QPalette& palette);

// The colour a label's text is drawn in: `fore` as described, unless on the
// background it is drawn on (`back`, or the window colour) under this
// palette it would fall short of the window's contrast rule; then the same
// hue, lighter or darker. Under the default light palette it is `fore`.
QColor LabelTextColor(window::Color fore, std::optional<window::Color> back,
                      const QPalette& palette);

// Whether `family` is installed, by its exact name.
bool IsInstalled(const QString& family);

// An installed family with Simplified Chinese glyphs, WenQuanYi Micro Hei if
// it is there; empty if there is none.
QString ChineseFamily();

// The window's default font: 9 point, with Chinese glyphs.
QFont WindowFont();

// The font a record asks for, falling back to ChineseFamily() when its
// family is not installed, so Chinese never shows as boxes.
QFont RecordFont(const window::FontRecord& record);

// Sizes an auto-sized label to `text` in the label's own font, using the
// font's real line height so that nothing is clipped.
void ApplyAutoSize(QLabel& label, std::string_view text);

// The window and its controls, in the order of the records they were made
// from.
struct BuiltWindow {
  std::unique_ptr<QWidget> form;
  std::vector<QWidget*> controls;  // owned by `form`
};

// The top-level window with one child per control record; objectName is the
// control's name. The window is not shown.
BuiltWindow BuildWindow(const window::WindowRecord& form,
                        std::span<const window::ControlRecord> controls);

}  // namespace app
