// The entry point reads nothing of its own: it hands the project to the start
// routine and returns when the window is gone.
#include <windows.h>

#include "win32/start.h"
#include "window/project.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/,
                    PWSTR /*command_line*/, int show_command) {
  return win32::Run(instance, window::kBaud51Project, show_command);
}
