#pragma once
// Sizes, colours and fonts of the description as Win32 draws them.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

#include "window/description.h"

namespace win32 {

inline constexpr UINT kBaseDpi = 96;  // the DPI at which 15 twips are a pixel

// Twips to pixels at `dpi`, to the nearest pixel.
//   Px(1080, 96) -> 72
//   Px(1080, 144) -> 108
//   Px(975, 120) -> 81 (81.25)
int Px(int twips, UINT dpi);

// The window's font, as the description's fonts are written.
inline constexpr window::FontRecord kWindowFont{.family = "宋体",
                                                .point_size = 9};

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The font a record asks for at `dpi`: 9 pt at 96 dpi is 12 pixels high.
// Throws if Windows cannot make it.
Font MakeFont(const window::FontRecord& record, UINT dpi);

// A system colour by its index, as GetSysColor gives it.
using SystemColors = std::function<COLORREF(int index)>;

// An explicit &H00BBGGRR colour as it is (COLORREF has the same layout), or
// the current value of a system one.
//   Resolve(0x000040C0, ..) -> 0x000040C0
//   Resolve(0x80000012, GetSysColor) -> GetSysColor(COLOR_BTNTEXT)
window::Color Resolve(window::Color color, const SystemColors& system);

struct LabelColors {
  window::Color text;
  window::Color back;
  friend bool operator==(const LabelColors&, const LabelColors&) = default;
};

// What a label shows for its described text colour `fore` and background
// `back` (unset: the window's, COLOR_BTNFACE): both resolved, the text then
// made readable on the background by window::ReadableOn. Under the default
// light colours the described colours stay as they are.
//   ShownColors(kWarningColor, kResultBackColor, light) -> {0x0040C0, 0xE0E0E0}
//   ShownColors(kMakerColor, nullopt, dark)             -> {a lighter blue, ..}
LabelColors ShownColors(window::Color fore, std::optional<window::Color> back,
                        const SystemColors& system);

}  // namespace win32
