#pragma once
// Form1 as a Win32 top-level window: its controls, the window's host, and
// the window procedure that hands the host the buttons' clicks.

#include <windows.h>

#include <optional>

#include "win32/form_controls.h"
#include "window/host.h"
#include "window/project.h"

namespace win32 {

class FormWindow {
 public:
  // Makes the window, hidden, at the DPI of the monitor it will show on:
  // its client area is exactly the described size and it cannot be resized.
  // Gives the starting results their tooltips. Throws if it or a control
  // cannot be made.
  FormWindow(HINSTANCE instance, const window::ProjectDescriptor& project);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Null once the window is gone.
  HWND Handle() const { return hwnd_; }

  // Raises the window's Load event, if the project connects it.
  void RaiseLoad();

  // Shows the window with the focus on the first control in tab order.
  void Show(int show_command);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam,
                                    LPARAM lparam) noexcept;
  // One message; false leaves it to DefWindowProc. May throw.
  bool Handle(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void OnCommand(HWND child, int notification);
  void OnContextMenu(HWND child, LPARAM where);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Report(std::string_view message) const;

  HWND hwnd_ = nullptr;
  HWND focus_ = nullptr;  // where the focus returns when the window is active
  std::optional<FormControls> controls_;
  std::optional<window::Host> host_;
};

}  // namespace win32
