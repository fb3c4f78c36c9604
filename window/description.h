#pragma once
// Form1 as data: the window's own settings, then one record per control in
// the order the window description lists them. Positions and sizes are in
// twips relative to the client area; colours are &H00BBGGRR, or &H800000nn for
// system colour nn. A record holds only what differs from its kind's defaults.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace window {

using Color = std::uint32_t;

inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

inline constexpr Color kSystemColorFlag = 0x80000000;
inline constexpr Color kSystemButtonText = 0x12;
inline constexpr Color kNormalTextColor = kSystemColorFlag | kSystemButtonText;
inline constexpr Color kWarningColor = 0x000040C0;     // red 192, green 64
inline constexpr Color kResultBackColor = 0x00E0E0E0;  // light grey
inline constexpr Color kMakerColor = 0x00FF0000;       // blue

inline constexpr int kNormalWeight = 400;
inline constexpr int kGb2312Charset = 134;

enum class ControlKind { kLabel, kComboBox, kCommandButton };

struct FontRecord {
  std::string_view family;
  int point_size;
  int weight = kNormalWeight;
  int charset = kGb2312Charset;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

struct ControlRecord {
  std::string_view name;
  ControlKind kind;
  std::string_view text;  // Caption of a label or button, Text of a combo box
  int left;
  int top;
  int width;
  int height;
  int tab_index;
  // Unset means the kind's default: kNormalTextColor for label text, the
  // window's own colour for label backgrounds.
  std::optional<Color> fore_color = std::nullopt;
  std::optional<Color> back_color = std::nullopt;
  bool auto_size = false;  // the size follows the text; the stored one fits it
  std::optional<FontRecord> font = std::nullopt;  // unset: the window's font
  // For screen readers: the label whose caption names a combo box, and
  // what a result label shows, since its caption is only a number.
  std::string_view heading = {};
  std::string_view accessible_description = {};
  // The caption can be selected with the mouse and copied; the label still
  // never takes the focus.
  bool selectable = false;
};

struct WindowRecord {
  std::string_view name;
  std::string_view caption;
  int client_width;
  int client_height;
  int client_left;  // stored position of the client area on the screen
  int client_top;
  FontRecord font;  // of every control whose record names none
};

inline constexpr WindowRecord kForm1{
    .name = "Form1",
    .caption = "小工具1",
    .client_width = 5130,
    .client_height = 3660,
    .client_left = 4035,
    .client_top = 2985,
    .font = {.family = "宋体", .point_size = 9},
};

using enum ControlKind;

inline constexpr FontRecord kTitleFont{.family = "隶书", .point_size = 12};

// clang-format off
inline constexpr std::array<ControlRecord, 16> kForm1Controls{{
    {.name = "Combo2", .kind = kComboBox, .text = "9600",
     .left = 3120, .top = 1080, .width = 975, .height = 300, .tab_index = 15,
     .heading = "Label2"},
    {.name = "Combo1", .kind = kComboBox, .text = "11.0592",
     .left = 1200, .top = 1080, .width = 975, .height = 300, .tab_index = 14,
     .heading = "Label1"},
    {.name = "Command2", .kind = kCommandButton, .text = "退出",
     .left = 3120, .top = 2760, .width = 855, .height = 300, .tab_index = 8},
    {.name = "Command1", .kind = kCommandButton, .text = "计算",
     .left = 1200, .top = 2760, .width = 855, .height = 300, .tab_index = 5},
    {.name = "Label12", .kind = kLabel, .text = "<-误差%->",
     .left = 2160, .top = 2280, .width = 810, .height = 180, .tab_index = 13,
     .auto_size = true},
    {.name = "Label11", .kind = kLabel, .text = "0",
     .left = 3120, .top = 2280, .width = 855, .height = 255, .tab_index = 12,
     .back_color = kResultBackColor,
     .accessible_description = "T2误差%", .selectable = true},
    {.name = "Label10", .kind = kLabel, .text = "0",
     .left = 1200, .top = 2280, .width = 855, .height = 255, .tab_index = 11,
     .back_color = kResultBackColor,
     .accessible_description = "T1误差%", .selectable = true},
    {.name = "Label9", .kind = kLabel, .text = "FFDC",
     .left = 3120, .top = 1800, .width = 855, .height = 255, .tab_index = 10,
     .back_color = kResultBackColor,
     .accessible_description = "T2常数(Hex)", .selectable = true},
    {.name = "Label8", .kind = kLabel, .text = "FD",
     .left = 1200, .top = 1800, .width = 855, .height = 255, .tab_index = 9,
     .back_color = kResultBackColor,
     .accessible_description = "T1常数(Hex)", .selectable = true},
    {.name = "Label7", .kind = kLabel, .text = "Kestrune",
     .left = 840, .top = 3240, .width = 1350, .height = 180, .tab_index = 7,
     .fore_color = kMakerColor, .auto_size = true},
    // A reserved address that points at nobody, and exactly the stored width.
    {.name = "Label6", .kind = kLabel, .text = "http://www.example.com",
     .left = 2400, .top = 3240, .width = 1980, .height = 180, .tab_index = 6,
     .fore_color = kMakerColor, .auto_size = true},
    {.name = "Label5", .kind = kLabel, .text = "TivorelV2.0",
     .left = 1080, .top = 240, .width = 2880, .height = 240, .tab_index = 4,
     .fore_color = kWarningColor, .auto_size = true, .font = kTitleFont},
    {.name = "Label4", .kind = kLabel, .text = "T2常数(Hex)",
     .left = 3120, .top = 1560, .width = 990, .height = 180, .tab_index = 3,
     .auto_size = true},
    {.name = "Label3", .kind = kLabel, .text = "T1常数(Hex)",
     .left = 1200, .top = 1560, .width = 990, .height = 180, .tab_index = 2,
     .auto_size = true},
    {.name = "Label2", .kind = kLabel, .text = "波特率",
     .left = 3240, .top = 840, .width = 540, .height = 180, .tab_index = 1,
     .auto_size = true},
    {.name = "Label1", .kind = kLabel, .text = "晶振频率(MHz)",
     .left = 1080, .top = 840, .width = 1170, .height = 180, .tab_index = 0,
     .auto_size = true},
}};
// clang-format on

// Only buttons and combo boxes take the keyboard focus; labels never do.
constexpr bool TakesFocus(const ControlRecord& control) {
  return control.kind != ControlKind::kLabel;
}

constexpr bool IsSystemColor(Color color) {
  return (color & kSystemColorFlag) != 0;
}
constexpr int SystemColorIndex(Color color) {
  return static_cast<int>(color & 0xFF);
}
constexpr int Red(Color color) { return static_cast<int>(color & 0xFF); }
constexpr int Green(Color color) {
  return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int Blue(Color color) {
  return static_cast<int>((color >> 16) & 0xFF);
}

}  // namespace window
