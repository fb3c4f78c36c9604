#pragma once
// The window's texts are UTF-8; Win32's wide functions take UTF-16.

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// UTF-16 of UTF-8 text; each invalid byte becomes U+FFFD.
//   Wide("计算") -> L"计算"
//   Wide("")     -> L""
std::wstring Wide(std::string_view utf8);

// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
//   Utf8(L"波特率") -> "波特率"
std::string Utf8(std::wstring_view utf16);

// Copies `text` and its terminating null to the start of `memory`, global
// memory as the clipboard takes it, of at least that size. Throws if the
// block cannot be locked, as a discarded one cannot.
void CopyInto(HGLOBAL memory, std::wstring_view text);

}  // namespace win32
