#pragma once
// The start routine: from the project descriptor to a running window, and
// back when the window is gone.

#include <windows.h>

#include <string_view>

#include "window/project.h"

namespace win32 {

// Exit status when the window could not be made; the user has been told why.
inline constexpr int kStartFailed = 1;

// Builds Form1, raises Load, shows the window with `show_command` and runs
// the message loop until the window is gone; returns the exit status, 0 on a
// normal close. Every failure is reported in a message box, never thrown.
int Run(HINSTANCE instance, const window::ProjectDescriptor& project,
        int show_command) noexcept;

// Shows why the window could not be made, on its own, until the user closes
// it, even when the half-built window has already asked the program to end.
void ReportStartFailure(std::string_view message);

}  // namespace win32
