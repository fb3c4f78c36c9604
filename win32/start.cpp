#include "win32/start.h"

#include <commctrl.h>

#include <stdexcept>

#include "win32/error_report.h"
#include "win32/form_window.h"
#include "window/dispatch.h"

namespace win32 {
namespace {

// Tab and Shift+Tab move through the controls as in a dialog.
int MessageLoop(const FormWindow& form) {
  MSG message{};
  while (true) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) throw std::runtime_error("the message queue failed");
    HWND handle = form.Handle();
    if (handle != nullptr && IsDialogMessageW(handle, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

void ReportStartFailure(std::string_view message) {
  // A window destroyed half-built has posted WM_QUIT, and a pending quit
  // ends the box's own message loop before the user has seen it.
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  ShowErrorMessageBox(nullptr, message);
}

int Run(HINSTANCE instance, const window::ProjectDescriptor& project,
        int show_command) noexcept {
  // The tooltips are the common controls'; version 6 comes with the
  // manifest.
  const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX),
                                    ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  struct Start {
    HINSTANCE instance;
    const window::ProjectDescriptor* project;
    int show_command;
    int status = kStartFailed;
  } start{instance, &project, show_command};
  window::Dispatch(
      [&start] {
        FormWindow form(start.instance, *start.project);
        form.RaiseLoad();
        form.Show(start.show_command);
        start.status = MessageLoop(form);
      },
      [](std::string_view message) { ReportStartFailure(message); });
  return start.status;
}

}  // namespace win32
