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
#include "window/look.h"

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

// The system colours as `palette` gives them: the button face is the
// window's background, and button text is the one other system colour the
// description uses.
window::SystemColors PaletteColors(const QPalette& palette);

// A label's text (and, when the record sets one, background) colour in
// `palette`, by window::ShownColors.
void SetLabelColors(QPalette& palette, window::Color fore,
                    std::optional<window::Color> back);

// Whether `family` is installed, by its exact name.
bool IsInstalled(const QString& family);

// An installed family with Simplified Chinese glyphs, WenQuanYi Micro Hei if
// it is there; empty if there is none.
QString ChineseFamily();

// The font a record asks for, the window's own included, falling back to
// ChineseFamily() when its family is not installed, so Chinese never shows
// as boxes.
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
