// What surrounds the window: its results' menu and tooltips, the version
// record and icon the .exe carries, and how the program ends.
#include <windows.h>

#include <string>

#include "tests/win32/check.h"
#include "tests/win32/remote.h"
#include "win32/text.h"

namespace {

using remote::Program;

std::string Clipboard() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = win32::Utf8(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void CheckResultMenu(check::Suite& suite, const Program& program) {
  suite.Group("results");
  remote::Press(program, "12", "9600");
  HWND label = program.Control("Label11");
  // The menu a right-click opens, driven by the keyboard as a user may.
  RECT at{};
  GetWindowRect(label, &at);
  PostMessageW(program.Form(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(label),
               MAKELPARAM(at.left, at.top));
  HWND menu = nullptr;
  if (suite.Expect(remote::WaitFor([&] {
                     return (menu = program.FindClass(L"#32768")) != nullptr;
                   }),
                   "复制 menu opens")) {
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    remote::WaitFor([] { return !Clipboard().empty(); });
    suite.Equal(Clipboard(), " .16", "复制 copies the result");
  }
  // The tooltip of a result, shown while the pointer rests on it.
  GetWindowRect(program.Control("Label8"), &at);
  SetCursorPos((at.left + at.right) / 2, (at.top + at.bottom) / 2);
  HWND tip = nullptr;
  remote::WaitFor([&] {
    tip = program.FindClass(L"tooltips_class32");
    return tip != nullptr && !remote::Text(tip).empty();
  });
  suite.Equal(tip ? remote::Text(tip) : "", "实际波特率 10416.67，误差 +8.51%",
              "constant's tooltip");
}

std::string VersionString(const std::string& record, const wchar_t* name) {
  void* value = nullptr;
  UINT size = 0;
  const std::wstring path =
      std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  if (!VerQueryValueW(record.data(), path.c_str(), &value, &size)) return {};
  return win32::Utf8(static_cast<const wchar_t*>(value));
}

void CheckVersionAndIcon(check::Suite& suite, const std::wstring& exe) {
  suite.Group("version record");
  std::string record(GetFileVersionInfoSizeW(exe.c_str(), nullptr), '\0');
  GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(record.size()),
                      record.data());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (suite.Expect(VerQueryValueW(record.data(), L"\\",
                                  reinterpret_cast<void**>(&fixed), &size),
                   "fixed part")) {
    suite.Equal(fixed->dwFileVersionMS, DWORD{0x00010000}, "file version 1.0");
    suite.Equal(fixed->dwFileVersionLS, DWORD{0}, "file version .0.0");
    suite.Equal(fixed->dwProductVersionMS, DWORD{0x00010000},
                "product version");
  }
  WORD* translation = nullptr;
  if (suite.Expect(
          VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                         reinterpret_cast<void**>(&translation), &size),
          "translation")) {
    suite.Equal(translation[0], WORD{0x0804}, "language 0x0804");
    suite.Equal(translation[1], WORD{0x04B0}, "code page 0x04B0");
  }
  suite.Equal(VersionString(record, L"FileVersion"), "1.00", "FileVersion");
  suite.Equal(VersionString(record, L"ProductVersion"), "1.00",
              "ProductVersion");
  suite.Equal(VersionString(record, L"OriginalFilename"), "baud51.exe",
              "OriginalFilename");
  suite.Expect(!VersionString(record, L"CompanyName").empty(), "CompanyName");
  suite.Expect(!VersionString(record, L"ProductName").empty(), "ProductName");

  suite.Group("icon");
  HMODULE module =
      LoadLibraryExW(exe.c_str(), nullptr,
                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC group =
      module ? FindResourceW(module, L"BAUD51", RT_GROUP_ICON) : nullptr;
  if (suite.Expect(group != nullptr, "compiled in")) {
    // GRPICONDIR: three WORDs, then 14-byte entries (width, height, colours,
    // reserved, planes, bits per pixel, ...).
    const auto* bytes =
        static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    constexpr int kEntry = 6;
    suite.Equal(int{bytes[4]}, 1, "one image");
    suite.Equal(int{bytes[kEntry]}, 32, "32 wide");
    suite.Equal(int{bytes[kEntry + 1]}, 32, "32 high");
    suite.Equal(int{bytes[kEntry + 2]}, 16, "16 colours");
  }
  if (module) FreeLibrary(module);
}

void CheckEnding(check::Suite& suite, const std::wstring& exe) {
  suite.Group("ending");
  for (const bool by_button : {true, false}) {
    const Program program(exe);
    const char* row = by_button ? "退出" : "close box";
    if (by_button) {
      PostMessageW(program.Control("Command2"), BM_CLICK, 0, 0);
    } else {
      PostMessageW(program.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    DWORD status = STILL_ACTIVE;
    remote::WaitFor([&] {
      GetExitCodeProcess(program.Process(), &status);
      return status != STILL_ACTIVE;
    });
    suite.Equal(status, DWORD{0}, std::string(row) + " ends the process");
  }
}

}  // namespace

void CheckShell(check::Suite& suite, const Program& program,
                const std::wstring& exe) {
  CheckResultMenu(suite, program);
  CheckVersionAndIcon(suite, exe);
  CheckEnding(suite, exe);
}
