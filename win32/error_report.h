#pragma once
// How the Windows program shows an error to its user.

#include <windows.h>

#include <string_view>

namespace win32 {

// A modal message box over `owner` (none: on its own), captioned with the
// window's caption "小工具1", with the error icon and one OK button; returns
// once the user closes it.
void ShowErrorMessageBox(HWND owner, std::string_view message);

}  // namespace win32
