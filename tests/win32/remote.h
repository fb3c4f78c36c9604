#pragma once
// Driving a running baud51.exe from another process, as a user's tools do:
// finding it and its controls, typing, pressing, and reading back texts and
// pixels.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace remote {

inline constexpr char kCleared[] = "?";  // a result no press can show

// Polls `done` until it holds, for at most ten seconds; whether it did.
bool WaitFor(const std::function<bool()>& done);

// A control's text, through WM_GETTEXT, which Windows carries across.
std::string Text(HWND hwnd);
void SetText(HWND hwnd, std::string_view text);
std::string ClassOf(HWND hwnd);

// A running baud51.exe, ended when the test is done with it.
class Program {
 public:
  // Starts `exe` and waits for its window, found by its caption.
  explicit Program(const std::wstring& exe);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HWND Form() const { return form_; }
  HANDLE Process() const { return info_.hProcess; }
  // A control by its name in the description, through its child ID.
  HWND Control(std::string_view name) const;
  // A visible top-level window of this process with `class_name`:
  // "#32770" a message box, "#32768" a menu, "tooltips_class32" a tooltip.
  HWND FindClass(const wchar_t* class_name) const;
  // Where a control is in the window's client area.
  RECT Place(std::string_view name) const;

 private:
  HWND Find(const wchar_t* caption, const wchar_t* class_name) const;
  PROCESS_INFORMATION info_{};
  HWND form_ = nullptr;
};

// The client area as drawn, read from the screen: no other process can ask a
// static control for its colour, and the program carries no test hooks.
// (Wine 8's PrintWindow draws nothing into another process's DC.)
class Picture {
 public:
  explicit Picture(HWND form);
  COLORREF At(int x, int y) const { return pixels_[y * width_ + x]; }
  // Whether any pixel inside `rect` is clearly red-orange, as the warning
  // colour is and neither black text nor the grey background is.
  bool HasWarning(const RECT& rect) const;

 private:
  int width_ = 0;
  std::vector<COLORREF> pixels_;
};

// Types both fields, clears the four results, and presses 计算 with a posted
// click: a sent one would wait forever on a failing press's message box.
// Returns once the results are shown or a message box is up; the box, if
// one is.
HWND Press(const Program& program, std::string_view frequency,
           std::string_view baud);

// The message a message box shows.
std::string BoxText(HWND box);

}  // namespace remote
