// The Win32 layer's own rules, run inside this process under Wine: text in
// global memory, the layout and the window at another DPI, which Wine 8
// never switches to by itself, and a start that fails.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "tests/win32/check.h"
#include "win32/form_controls.h"
#include "win32/form_window.h"
#include "win32/look.h"
#include "win32/start.h"
#include "win32/text.h"
#include "window/project.h"

namespace {

RECT PlaceOf(HWND parent, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  return font.lfHeight;
}

// Width of a label's caption in the label's own font.
LONG CaptionWidth(HWND label) {
  wchar_t caption[64] = {};
  const int length = GetWindowTextW(label, caption, 64);
  HDC dc = GetDC(label);
  SelectObject(dc,
               reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption, length, &extent);
  ReleaseDC(label, dc);
  return extent.cx;
}

// The controls laid out at 144 dpi, then back at 96, as on moving the window
// between monitors.
void CheckLayout(check::Suite& suite) {
  suite.Group("layout by dpi");
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
  win32::FormControls controls(parent, window::kForm1Controls);
  struct Row {
    const char* name;
    UINT dpi;
    RECT command1;  // a button: every side scales
    LONG combo_left, combo_width, window_font, title_font;
  };
  for (const Row& row :
       {Row{"144 dpi", 144, {120, 276, 206, 306}, 120, 98, -18, -24},
        Row{"back at 96 dpi", 96, {80, 184, 137, 204}, 80, 65, -12, -16}}) {
    controls.Layout(row.dpi);
    const std::string name = row.name;
    const RECT button = PlaceOf(parent, controls.Handle("Command1"));
    suite.Expect(EqualRect(&button, &row.command1), name + " Command1");
    const RECT combo = PlaceOf(parent, controls.Handle("Combo1"));
    suite.Equal(combo.left, row.combo_left, name + " Combo1 left");
    suite.Equal(combo.right - combo.left, row.combo_width,
                name + " Combo1 width");
    suite.Equal(FontHeight(controls.Handle("Label1")), row.window_font,
                name + " window font");
    suite.Equal(FontHeight(controls.Handle("Label5")), row.title_font,
                name + " title font");
    for (const char* label : {"Label1", "Label5", "Label6"}) {
      const RECT place = PlaceOf(parent, controls.Handle(label));
      suite.Equal(place.right - place.left,
                  CaptionWidth(controls.Handle(label)),
                  name + " " + label + " fits its caption");
    }
  }
  // A new caption is measured again.
  controls.SetCaption("Label12", "<-误差%%->");
  const RECT grown = PlaceOf(parent, controls.Handle("Label12"));
  suite.Equal(grown.right - grown.left,
              CaptionWidth(controls.Handle("Label12")), "new caption measured");
  DestroyWindow(parent);
}

void CheckGlobalText(check::Suite& suite) {
  suite.Group("text in global memory");
  const std::wstring text = L"实际波特率 10416.67";
  struct Row {
    const char* name;
    bool discard;  // a discarded block has no memory to lock
    bool copies;
  };
  for (const Row& row :
       {Row{"fits", false, true}, Row{"discarded", true, false}}) {
    HGLOBAL memory =
        GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (row.discard) memory = GlobalDiscard(memory);
    bool copied = false;
    try {
      win32::CopyInto(memory, text);
      copied = true;
    } catch (const std::exception&) {
    }
    suite.Equal(copied, row.copies, row.name);
    if (copied) {
      suite.Expect(static_cast<const wchar_t*>(GlobalLock(memory)) == text,
                   std::string(row.name) + " text");
      GlobalUnlock(memory);
    }
    GlobalFree(memory);
  }
}

// A window destroyed on the way posts WM_QUIT; this one is not the test's.
void DropQuit() {
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// WM_DPICHANGED and WM_GETDPISCALEDSIZE as Windows sends them when the
// window moves to a monitor of another DPI: the window goes where Windows
// suggests, its client area keeps exactly the described size.
void CheckDpiChange(check::Suite& suite) {
  suite.Group("window at another dpi");
  {
    win32::FormWindow form(GetModuleHandleW(nullptr), window::kBaud51Project);
    HWND hwnd = form.Handle();
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    struct Row {
      const char* name;
      UINT dpi;
      SIZE client;
    };
    for (const Row& row :
         {Row{"144 dpi", 144, {513, 366}}, Row{"120 dpi", 120, {428, 305}},
          Row{"back at 96 dpi", 96, {342, 244}}}) {
      const std::string name = row.name;
      SIZE asked{};
      const LRESULT answered = SendMessageW(hwnd, WM_GETDPISCALEDSIZE, row.dpi,
                                            reinterpret_cast<LPARAM>(&asked));
      suite.Expect(answered != FALSE, name + " size answered");
      RECT frame{};
      AdjustWindowRectExForDpi(&frame, style, FALSE, 0, row.dpi);
      suite.Equal(asked.cx - (frame.right - frame.left), row.client.cx,
                  name + " client width asked");
      suite.Equal(asked.cy - (frame.bottom - frame.top), row.client.cy,
                  name + " client height asked");
      // Windows' suggestion, scaled linearly, is a pixel or two off.
      RECT suggested{200 + static_cast<LONG>(row.dpi), 100, 0, 0};
      suggested.right = suggested.left + asked.cx + 2;
      suggested.bottom = suggested.top + asked.cy - 1;
      SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(row.dpi, row.dpi),
                   reinterpret_cast<LPARAM>(&suggested));
      RECT placed{};
      GetWindowRect(hwnd, &placed);
      suite.Equal(placed.left, suggested.left, name + " left as suggested");
      suite.Equal(placed.top, suggested.top, name + " top as suggested");
      suite.Equal(placed.right - placed.left, asked.cx, name + " width");
      suite.Equal(placed.bottom - placed.top, asked.cy, name + " height");
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    suite.Equal(client.right, LONG{342}, "client width at 96 dpi");
    suite.Equal(client.bottom, LONG{244}, "client height at 96 dpi");
  }
  DropQuit();
}

// What the message box of a failed start shows, found while it is up.
struct SeenBox {
  bool up = false;
  std::wstring text;
};
SeenBox seen_box;

void CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(hwnd)) {
          return TRUE;
        }
        seen_box.up = true;
        wchar_t text[128] = {};
        for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
          if (GetWindowTextW(child, text, 128) > 0 &&
              std::wstring_view(text).starts_with(L"cannot")) {
            seen_box.text = text;
          }
        }
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return FALSE;
      },
      0);
}

// Refuses the form's combo boxes, as Windows may refuse any window.
LRESULT CALLBACK RefuseComboBoxes(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTW& create =
        *reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
    if (!IS_INTRESOURCE(create.lpszClass) &&
        std::wstring_view(create.lpszClass) == L"ComboBox") {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// A start that fails: the box that tells why stays up until it is closed,
// here by a timer that only the box's own message loop can run, even when
// a half-built window, destroyed on the way, has already posted WM_QUIT.
void CheckStartFailure(check::Suite& suite) {
  suite.Group("start failure");
  struct Row {
    const char* name;
    int (*start)();
    const wchar_t* message;
  };
  for (const Row& row : {
           Row{"a control refused",
               [] {
                 HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseComboBoxes,
                                                nullptr, GetCurrentThreadId());
                 const int status = win32::Run(GetModuleHandleW(nullptr),
                                               window::kBaud51Project, SW_HIDE);
                 UnhookWindowsHookEx(hook);
                 return status;
               },
               L"cannot create Combo"},
           Row{"quit already posted",
               [] {
                 PostQuitMessage(0);
                 win32::ReportStartFailure("cannot create the window");
                 return win32::kStartFailed;
               },
               L"cannot create the window"},
       }) {
    const std::string name = row.name;
    seen_box = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, LookForBox);
    const int status = row.start();
    KillTimer(nullptr, timer);
    DropQuit();
    suite.Expect(seen_box.up, name + " box stays until closed");
    suite.Expect(seen_box.text.starts_with(row.message),
                 name + " box tells why", win32::Utf8(seen_box.text));
    suite.Equal(status, win32::kStartFailed, name + " exit status");
  }
}

}  // namespace

int wmain() {
  check::Suite suite;
  CheckGlobalText(suite);
  CheckLayout(suite);
  CheckDpiChange(suite);
  CheckStartFailure(suite);
  return suite.Finish();
}
