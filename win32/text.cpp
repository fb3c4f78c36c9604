#include "win32/text.h"

#include <windows.h>

#include <cstring>
#include <limits>
#include <stdexcept>

namespace win32 {
namespace {

int Length(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw std::length_error("text too long");
  }
  return static_cast<int>(size);
}

}  // namespace

// Without MB_ERR_INVALID_CHARS both conversions replace what is invalid
// instead of failing, as the window's own decoder does.
std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = Length(utf8.size());
  const int needed =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), needed);
  return wide;
}

std::string Utf8(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = Length(utf16.size());
  const int needed = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size,
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), needed,
                      nullptr, nullptr);
  return text;
}

void CopyInto(HGLOBAL memory, std::wstring_view text) {
  auto* to = static_cast<wchar_t*>(GlobalLock(memory));
  if (to == nullptr) throw std::runtime_error("cannot lock the memory");
  std::memcpy(to, text.data(), text.size() * sizeof(wchar_t));
  to[text.size()] = L'\0';
  GlobalUnlock(memory);
}

}  // namespace win32
