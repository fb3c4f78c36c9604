#pragma once
// Whether standard output is a terminal that should get colour, on POSIX
// systems and Windows alike.

namespace cli {

// True when standard output is a terminal and NO_COLOR is unset or empty.
//   ColorWanted() with output piped to a file -> false
//   ColorWanted() on a terminal, NO_COLOR=1   -> false
//   ColorWanted() on a terminal, NO_COLOR=""  -> true
bool ColorWanted();

}  // namespace cli
