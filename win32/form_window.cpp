#include "win32/form_window.h"

#include <windowsx.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "win32/error_report.h"
#include "win32/text.h"
#include "window/description.h"
#include "window/dispatch.h"

namespace win32 {
namespace {

constexpr wchar_t kClassName[] = L"baud51.Form1";
constexpr wchar_t kIconName[] = L"BAUD51";
// A fixed border, a close box and a minimise box: nothing in the layout
// follows a resize.
constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;
constexpr UINT_PTR kCopyCommand = 1;
constexpr LPARAM kFromKeyboard = -1;  // WM_CONTEXTMENU's place for Shift+F10
constexpr char kCopyCaption[] = "复制";
constexpr char kClipboardBusy[] = "剪贴板正被其他程序使用，未能复制";

struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

void Register(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kClassName, &existing)) return;
  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = procedure;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // The window's colour is the button face, as the labels' default
  // background is.
  form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form.hIcon = LoadIconW(instance, kIconName);
  form.hIconSm = static_cast<HICON>(
      LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  form.lpszClassName = kClassName;
  if (RegisterClassExW(&form) == 0) {
    throw std::runtime_error("cannot register the window class");
  }
}

void CopyToClipboard(HWND owner, std::string_view text) {
  const std::wstring wide = Wide(text);
  HGLOBAL memory =
      GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (memory == nullptr) throw std::bad_alloc();
  try {
    CopyInto(memory, wide);
  } catch (...) {
    GlobalFree(memory);
    throw;
  }
  // Another program may hold the clipboard for a moment; the user can try
  // again.
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    throw std::runtime_error(kClipboardBusy);
  }
  EmptyClipboard();
  const bool handed_over = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!handed_over) {
    GlobalFree(memory);
    throw std::runtime_error(kClipboardBusy);
  }
}

// The window's frame around a client area of the described size at `dpi`,
// relative to the client's top-left corner.
RECT FrameAround(UINT dpi) {
  RECT frame{0, 0, window::Pixels(window::kForm1.client_width, dpi),
             window::Pixels(window::kForm1.client_height, dpi)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
  return frame;
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance,
                       const window::ProjectDescriptor& project) {
  Register(instance, &FormWindow::Procedure);
  // Made where the description places it at 96 dpi, then sized for the DPI
  // of the monitor that turns out to hold it.
  const int left = window::Pixels(window::kForm1.client_left, kBaseDpi);
  const int top = window::Pixels(window::kForm1.client_top, kBaseDpi);
  if (CreateWindowExW(kExStyle, kClassName,
                      Wide(window::kForm1.caption).c_str(), kStyle, left, top,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                      this) == nullptr) {
    throw std::runtime_error("cannot create the window");
  }
  try {
    const UINT dpi = GetDpiForWindow(hwnd_);
    controls_.emplace(hwnd_, window::kForm1Controls);
    const RECT frame = FrameAround(dpi);
    SetWindowPos(hwnd_, nullptr,
                 window::Pixels(window::kForm1.client_left, dpi) + frame.left,
                 window::Pixels(window::kForm1.client_top, dpi) + frame.top,
                 frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    host_.emplace(project, *controls_,
                  [this](std::string_view message) { Report(message); });
    focus_ = controls_->FirstTabStop();
  } catch (...) {
    DestroyWindow(hwnd_);
    throw;
  }
}

FormWindow::~FormWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void FormWindow::RaiseLoad() { host_->RaiseLoad(); }

void FormWindow::Show(int show_command) {
  ShowWindow(hwnd_, show_command);
  if (focus_ != nullptr) SetFocus(focus_);
  UpdateWindow(hwnd_);
}

void FormWindow::Report(std::string_view message) const {
  ShowErrorMessageBox(hwnd_, message);
}

LRESULT CALLBACK FormWindow::Procedure(HWND hwnd, UINT message, WPARAM wparam,
                                       LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<FormWindow*>(
        reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
    created->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self =
      reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  // One pointer is all the work captures, so no allocation can fail here.
  struct Call {
    FormWindow* self;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    LRESULT result = 0;
    bool handled = false;
  } call{self, message, wparam, lparam};
  window::Dispatch(
      [&call] {
        call.handled = call.self->Handle(call.message, call.wparam, call.lparam,
                                         call.result);
      },
      [hwnd](std::string_view text) { ShowErrorMessageBox(hwnd, text); });
  return call.handled ? call.result
                      : DefWindowProcW(hwnd, message, wparam, lparam);
}

bool FormWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam,
                        LRESULT& result) {
  result = 0;
  // Until the controls exist, Windows' defaults do.
  if (!controls_) return false;
  switch (message) {
    case WM_COMMAND:
      if (lparam != 0) {
        OnCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      }
      return true;
    case WM_CTLCOLORSTATIC: {
      HBRUSH brush = controls_->Paint(reinterpret_cast<HWND>(lparam),
                                      reinterpret_cast<HDC>(wparam));
      result = reinterpret_cast<LRESULT>(brush);
      return brush != nullptr;
    }
    case WM_SETCURSOR:
      controls_->Hovered();
      return false;  // the cursor is still Windows' to set
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wparam), lparam);
      return true;
    case WM_ACTIVATE:
      // The focus stays with the window's controls across switching away
      // and back; a minimised window takes none.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) focus_ = focus;
      } else if (HIWORD(wparam) == 0 && focus_ != nullptr) {
        SetFocus(focus_);
      }
      return true;
    case WM_GETDPISCALEDSIZE: {
      // The frame around the exact client area, not Windows' linear scaling
      // of the whole window, so the suggested rectangle fits it.
      const RECT frame = FrameAround(static_cast<UINT>(wparam));
      *reinterpret_cast<SIZE*>(lparam) = {frame.right - frame.left,
                                          frame.bottom - frame.top};
      result = TRUE;
      return true;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return true;
    case WM_SYSCOLORCHANGE:
      // The labels' colours follow the new system colours when repainted.
      InvalidateRect(hwnd_, nullptr, TRUE);
      return true;
    case WM_DESTROY:
      PostQuitMessage(0);
      return true;
    default:
      return false;
  }
}

void FormWindow::OnCommand(HWND child, int notification) {
  const window::ControlRecord* record = controls_->RecordOf(child);
  if (host_ && record != nullptr &&
      record->kind == window::ControlKind::kCommandButton &&
      notification == BN_CLICKED) {
    host_->Click(record->name);
  }
}

void FormWindow::OnContextMenu(HWND child, LPARAM where) {
  if (!controls_->CopyableCaption(child)) return;
  POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  if (where == kFromKeyboard) {
    RECT label{};
    GetWindowRect(child, &label);
    at = {label.left, label.bottom};
  }
  Menu menu(CreatePopupMenu());
  if (!menu || !AppendMenuW(menu.get(), MF_STRING, kCopyCommand,
                            Wide(kCopyCaption).c_str())) {
    throw std::runtime_error("cannot create the menu");
  }
  const BOOL chosen =
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                     at.x, at.y, 0, hwnd_, nullptr);
  // The caption as it is when chosen, not when the menu opened.
  if (chosen == static_cast<BOOL>(kCopyCommand)) {
    CopyToClipboard(hwnd_, controls_->CopyableCaption(child).value_or(""));
  }
}

void FormWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  controls_->Layout(dpi);
  const RECT frame = FrameAround(dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
               frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win32
