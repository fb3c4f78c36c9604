// The yardstick for the Windows program's start-up: a bare Win32 window with
// one STATIC label, built and linked as baud51.exe is.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam,
                           LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = Procedure;
  form.hInstance = instance;
  form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form.lpszClassName = L"bare";
  RegisterClassExW(&form);
  HWND hwnd = CreateWindowExW(0, L"bare", L"bare", WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, 342, 244, nullptr,
                              nullptr, instance, nullptr);
  CreateWindowExW(0, L"STATIC", L"晶振频率(MHz)", WS_CHILD | WS_VISIBLE, 72, 56,
                  78, 13, hwnd, nullptr, instance, nullptr);
  ShowWindow(hwnd, show_command);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
