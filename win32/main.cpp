// The entry point reads nothing of its own: it hands the project to the start
// routine and returns when the window is gone.
#include <windows.h>

#include "app/project.h"
#include "win32/start.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/,
                    PWSTR /*command_line*/, int show_command) {
  return win32::Run(instance, app::kBaud51Project, show_command);
}
