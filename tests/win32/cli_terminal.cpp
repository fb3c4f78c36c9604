// baud51-cli's colour on Windows, by direct calls: escape sequences only on
// a console that has them turned on, never on a pipe, a file or NUL (which
// _isatty takes for a terminal).
#include <windows.h>

#include <cstdio>

#include "cli/terminal.h"

namespace {

int failures = 0;

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "cli_terminal_tests: FAILED: %s\n", what);
  ++failures;
}

}  // namespace

int main() {
  Check(!cli::ConsoleShowsEscapes(nullptr), "no handle: no colour");
  Check(!cli::ConsoleShowsEscapes(INVALID_HANDLE_VALUE),
        "an invalid handle: no colour");

  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  Check(CreatePipe(&read_end, &write_end, nullptr, 0) != 0, "a pipe made");
  Check(!cli::ConsoleShowsEscapes(write_end), "a pipe: no colour");
  CloseHandle(read_end);
  CloseHandle(write_end);

  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  Check(nul != INVALID_HANDLE_VALUE, "NUL opened");
  Check(!cli::ConsoleShowsEscapes(nul), "NUL: no colour");
  CloseHandle(nul);

  // A console, with the sequences off as in a classic one: afterwards the
  // answer is true exactly when the console has them on.
  if (GetConsoleWindow() != nullptr || AllocConsole() != 0) {
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    if (console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode)) {
      SetConsoleMode(console, mode & ~ENABLE_VIRTUAL_TERMINAL_PROCESSING);
      const bool shows = cli::ConsoleShowsEscapes(console);
      DWORD after = 0;
      GetConsoleMode(console, &after);
      Check(shows == ((after & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0),
            "a console: colour exactly when its sequences are on");
      std::printf("console: sequences %s\n", shows ? "turned on" : "refused");
      SetConsoleMode(console, mode);
    } else {
      std::printf("console: none to open here; its case is not tested\n");
    }
    if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
  } else {
    std::printf("console: none to make here; its case is not tested\n");
  }
  if (failures == 0) std::printf("cli_terminal_tests: passed\n");
  return failures == 0 ? 0 : 1;
}
