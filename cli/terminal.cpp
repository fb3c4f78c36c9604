#include "cli/terminal.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cstdio>
#endif

namespace cli {

#ifdef _WIN32
bool ConsoleShowsEscapes(void* handle) {
  DWORD mode = 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      GetConsoleMode(handle, &mode) == 0) {
    return false;  // a pipe, a file or NUL: not a console
  }
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  // A classic console refuses the flag; then it would show the raw codes.
  return SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}
#endif

namespace {

bool OutputShowsColor() {
#ifdef _WIN32
  // Not _isatty, which is true for NUL too.
  return ConsoleShowsEscapes(GetStdHandle(STD_OUTPUT_HANDLE));
#else
  return isatty(fileno(stdout)) != 0;
#endif
}

}  // namespace

bool ColorWanted() {
  const char* no_color = std::getenv("NO_COLOR");
  if (no_color != nullptr && no_color[0] != '\0') return false;
  return OutputShowsColor();
}

}  // namespace cli
