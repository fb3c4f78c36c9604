#pragma once
// An argument as the command line's messages quote it.

#include <string>
#include <string_view>

namespace cli {

// An argument as a message quotes it: in double quotes, with control
// characters, quotes and backslashes escaped so that the message stays on
// one line and reads back unambiguously.
//   Quoted("12abc") -> "\"12abc\""
//   Quoted("a\nb")  -> "\"a\\nb\""
//   Quoted("\x01")  -> "\"\\x01\""
//   Quoted("a\"b")  -> "\"a\\\"b\""
std::string Quoted(std::string_view text);

}  // namespace cli
