#pragma once
// Sizes, colours and fonts of the description as Win32 draws them.

#include <windows.h>

#include <memory>
#include <string_view>
#include <type_traits>

#include "window/description.h"
#include "window/look.h"

namespace win32 {

// The DPI at which 15 twips are a pixel, as Windows' functions take it.
inline constexpr UINT kBaseDpi = window::kBaseDpi;

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The font a record asks for at `dpi`: 9 pt at 96 dpi is 12 pixels high.
// Throws if Windows cannot make it.
Font MakeFont(const window::FontRecord& record, UINT dpi);

}  // namespace win32
