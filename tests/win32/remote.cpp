#include "tests/win32/remote.h"

#include <algorithm>

#include "tests/support/press_cases.h"
#include "win32/control_id.h"
#include "win32/text.h"
#include "window/description.h"

namespace remote {
namespace {

using win32::Utf8;
using win32::Wide;

constexpr DWORD kPollMs = 10;
constexpr ULONGLONG kPatienceMs = 10000;
constexpr int kClassNameSize = 64;

const window::ControlRecord& Record(std::string_view name) {
  return *std::find_if(window::kForm1Controls.begin(),
                       window::kForm1Controls.end(),
                       [name](const auto& r) { return r.name == name; });
}

}  // namespace

bool WaitFor(const std::function<bool()>& done) {
  const ULONGLONG end = GetTickCount64() + kPatienceMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::string Text(HWND hwnd) {
  constexpr std::size_t kLongest = 256;  // longer than any text of the window
  std::wstring text(kLongest, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(),
                      reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      kPatienceMs, &copied);
  text.resize(copied);
  return Utf8(text);
}

void SetText(HWND hwnd, std::string_view text) {
  const std::wstring wide = Wide(text);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(wide.c_str()), SMTO_ABORTIFHUNG,
                      kPatienceMs, &ignored);
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[kClassNameSize] = {};
  GetClassNameW(hwnd, name, kClassNameSize);
  return Utf8(name);
}

Program::Program(const std::wstring& exe) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &info_)) {
    return;
  }
  WaitForInputIdle(info_.hProcess, kPatienceMs);
  const std::wstring caption = Wide(window::kForm1.caption);
  WaitFor([&] { return (form_ = Find(caption.c_str(), nullptr)) != nullptr; });
}

Program::~Program() {
  if (info_.hProcess == nullptr) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, kPatienceMs);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

HWND Program::Control(std::string_view name) const {
  return GetDlgItem(form_, win32::ControlId(Record(name)));
}

HWND Program::FindClass(const wchar_t* class_name) const {
  return Find(nullptr, class_name);
}

HWND Program::Find(const wchar_t* caption, const wchar_t* class_name) const {
  struct Query {
    DWORD process;
    const wchar_t* caption;
    const wchar_t* class_name;
    HWND found = nullptr;
  } query{info_.dwProcessId, caption, class_name};
  EnumWindows(
      [](HWND hwnd, LPARAM lparam) -> BOOL {
        auto& q = *reinterpret_cast<Query*>(lparam);
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        wchar_t text[kClassNameSize] = {};
        if (q.caption != nullptr) GetWindowTextW(hwnd, text, kClassNameSize);
        if (q.class_name != nullptr) {
          GetClassNameW(hwnd, text, kClassNameSize);
        }
        const wchar_t* wanted = q.caption ? q.caption : q.class_name;
        if (process == q.process && IsWindowVisible(hwnd) &&
            std::wstring_view(text) == wanted) {
          q.found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

RECT Program::Place(std::string_view name) const {
  RECT rect{};
  GetWindowRect(Control(name), &rect);
  MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

Picture::Picture(HWND form) {
  RECT client{};
  GetClientRect(form, &client);
  width_ = client.right;
  // Whatever waits to be painted is painted first, in the program itself.
  RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, client.bottom);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, client.bottom, screen, origin.x, origin.y,
         SRCCOPY);
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < width_; ++x) pixels_.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

bool Picture::HasWarning(const RECT& rect) const {
  constexpr int kClearly = 0x40;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF c = At(x, y);
      if (GetRValue(c) - GetGValue(c) > kClearly &&
          GetRValue(c) - GetBValue(c) > kClearly) {
        return true;
      }
    }
  }
  return false;
}

HWND Press(const Program& program, std::string_view frequency,
           std::string_view baud) {
  SetText(program.Control("Combo1"), frequency);
  SetText(program.Control("Combo2"), baud);
  for (std::string_view label : test_support::kResultLabels) {
    SetText(program.Control(label), kCleared);
  }
  PostMessageW(program.Control("Command1"), BM_CLICK, 0, 0);
  HWND box = nullptr;
  WaitFor([&] {
    box = program.FindClass(L"#32770");
    return box != nullptr || Text(program.Control("Label11")) != kCleared;
  });
  return box;
}

std::string BoxText(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) != SS_ICON &&
        !Text(child).empty()) {
      return Text(child);
    }
  }
  return {};
}

}  // namespace remote
