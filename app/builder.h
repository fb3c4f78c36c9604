#pragma once
// Turns the window description into Qt widgets.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <memory>
#include <span>
#include <string_view>

#include "window/description.h"

class QLabel;
class QWidget;

namespace app {

QString Utf8(std::string_view text);

// Twips to logical pixels; Qt's own high-DPI scaling does the rest.
int Px(int twips);

// An explicit &H00BBGGRR colour, or the palette's colour for a system one.
QColor DecodeColor(window::Color color, const QPalette& palette);

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

// The top-level window with one child per control record; objectName is the
// control's name. The window is not shown.
std::unique_ptr<QWidget> BuildWindow(
    const window::WindowRecord& form,
    std::span<const window::ControlRecord> controls);

}  // namespace app
