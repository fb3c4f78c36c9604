// Comments as each dialect writes them, for what they say of the code
// beside them.
#include <algorithm>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

// Past a quoted string or character that opens at `at`, on its line.
std::size_t PastQuote(std::string_view s, std::size_t at, bool escapes) {
  const char quote = s[at++];
  while (at < s.size() && s[at] != quote && s[at] != '\n') {
    at += escapes && s[at] == '\\' ? 2 : 1;
  }
  return std::min(at + 1, s.size());
}

int LinesIn(std::string_view s) {
  return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

}  // namespace

std::vector<Comment> Comments(std::string_view s, Dialect dialect) {
  std::vector<Comment> comments;
  int line = 1;
  std::size_t at = 0;
  while (at < s.size()) {
    const char c = s[at];
    const bool c_line = dialect == Dialect::kC && s.substr(at, 2) == "//";
    const bool asm_line = dialect == Dialect::kAssembly && c == ';';
    if (c_line || asm_line) {
      const std::size_t from = at + (c_line ? 2 : 1);
      at = std::min(s.find('\n', from), s.size());
      comments.push_back({line, line, std::string(s.substr(from, at - from))});
    } else if (dialect == Dialect::kC && s.substr(at, 2) == "/*") {
      const std::size_t end = std::min(s.find("*/", at + 2), s.size());
      const std::string_view text = s.substr(at + 2, end - at - 2);
      comments.push_back({line, line + LinesIn(text), std::string(text)});
      line += LinesIn(text);
      at = std::min(end + 2, s.size());
    } else if (c == '"' || c == '\'') {
      at = PastQuote(s, at, dialect == Dialect::kC);
    } else {
      line += c == '\n' ? 1 : 0;
      ++at;
    }
  }
  return comments;
}

}  // namespace mcs51::reading
