#pragma once
// Whether standard output is a terminal that should get colour, on POSIX
// systems and Windows alike.

namespace cli {

// True when standard output is a terminal that shows colour and NO_COLOR is
// unset or empty. On Windows the terminal is a console, and asking turns on
// its escape sequences (ENABLE_VIRTUAL_TERMINAL_PROCESSING); a console that
// cannot take them, as before Windows 10, gets no colour.
//   ColorWanted() with output piped to a file -> false
//   ColorWanted() on a terminal, NO_COLOR=1   -> false
//   ColorWanted() on a terminal, NO_COLOR=""  -> true
bool ColorWanted();

#ifdef _WIN32
// Turns on escape sequences on the console `handle` (a HANDLE) writes to;
// false, with nothing changed, when it is no console or one that cannot
// take them. Once on, they stay on for the console's later writers, as
// they are by default in Windows Terminal.
//   ConsoleShowsEscapes(a pipe's or a file's handle) -> false
//   ConsoleShowsEscapes(a Windows 10 console's)      -> true
bool ConsoleShowsEscapes(void* handle);
#endif

}  // namespace cli
