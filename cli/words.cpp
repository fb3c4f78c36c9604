#include "cli/words.h"

#include <fmt/format.h>

namespace cli {

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += fmt::format("\\x{:02x}", byte);
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

}  // namespace cli
