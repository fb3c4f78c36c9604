// C's tokens, with the preprocessor's directives as tokens of their own.
#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

// ASCII as the compilers read it, whatever the locale, and inline: every
// byte of the code is asked.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// An integer literal's value and C type with 16-bit int: a decimal one is
// int, then long, then unsigned long; an octal or hexadecimal one may also
// be unsigned int or unsigned long where it fits no signed type.
std::optional<Token> Integer(std::string_view text) {
  std::size_t suffix = text.size();
  while (suffix > 0 && std::string_view("uUlL").find(text[suffix - 1]) !=
                           std::string_view::npos) {
    --suffix;
  }
  const std::string_view tail = text.substr(suffix);
  std::string_view digits = text.substr(0, suffix);
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' &&
      (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  } else if (digits.size() > 2 && digits[0] == '0' &&
             (digits[1] == 'b' || digits[1] == 'B')) {
    base = 2;
    digits.remove_prefix(2);
  } else if (digits.size() > 1 && digits[0] == '0') {
    base = 8;
  }
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit =
        std::isdigit(static_cast<unsigned char>(c))
            ? c - '0'
            : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  if (digits.empty()) return std::nullopt;
  const bool u = tail.find_first_of("uU") != std::string_view::npos;
  const bool l = tail.find_first_of("lL") != std::string_view::npos;
  Token t{TokenKind::kNumber, std::string(text),
          static_cast<std::int64_t>(value)};
  t.is_long = l || value > (u || base != 10 ? 0xFFFFu : 0x7FFFu);
  t.is_unsigned =
      u || (t.is_long ? value > 0x7FFFFFFFu : base != 10 && value > 0x7FFFu);
  return t;
}

constexpr std::array<std::string_view, 23> kPunctuators{
    "<<=", ">>=", "...", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "++",
    "--",  "->",  "+=",  "-=", "*=", "/=", "%=", "&=", "|=", "^=", "##"};

class Lexer {
 public:
  // A directive's own words are lexed with directives off: "# # #" is no
  // nest of them.
  Lexer(std::string_view text, int line, bool directives = true)
      : text_(text), line_(line), directives_(directives) {}

  std::vector<Token> All() {
    std::vector<Token> tokens;
    // Firmware has a token in every 2 or 3 bytes; room never written costs
    // nothing, a copy on growing a whole second array.
    tokens.reserve(text_.size() / 2);
    bool line_start = true;
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_;
        ++at_;
        line_start = true;
      } else if (IsBlank(c) || c == '\\') {
        ++at_;
      } else if (SkipComment()) {
      } else if (c == '#' && line_start && directives_) {
        Directive(tokens);
      } else {
        line_start = false;
        tokens.push_back(Next());
      }
    }
    return tokens;
  }

 private:
  bool SkipComment() {
    if (text_[at_] != '/') return false;
    const std::string_view rest = text_.substr(at_);
    if (rest.starts_with("//")) {
      while (at_ < text_.size() && text_[at_] != '\n') ++at_;
      return true;
    }
    if (!rest.starts_with("/*")) return false;
    const std::size_t end = text_.find("*/", at_ + 2);
    const std::size_t stop = end == text_.npos ? text_.size() : end + 2;
    line_ += static_cast<int>(
        std::count(text_.begin() + at_, text_.begin() + stop, '\n'));
    at_ = stop;
    return true;
  }

  // The rest of the logical line: continued by a backslash, and by a
  // comment that runs on.
  std::string_view LogicalLine(int& lines) {
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] != '\n') {
      if (text_.substr(at_).starts_with("/*")) {
        const std::size_t end = text_.find("*/", at_ + 2);
        const std::size_t stop = end == text_.npos ? text_.size() : end + 2;
        lines += static_cast<int>(
            std::count(text_.begin() + at_, text_.begin() + stop, '\n'));
        at_ = stop;
        continue;
      }
      if (text_[at_] == '\\' && at_ + 1 < text_.size() &&
          text_[at_ + 1] == '\n') {
        ++lines;
        ++at_;
      }
      ++at_;
    }
    return text_.substr(start, at_ - start);
  }

  // #define, #undef and the conditions become tokens "#define", "#if" and
  // so on ahead of the line's own, ended by "#end"; the other directives
  // vanish.
  void Directive(std::vector<Token>& tokens) {
    const int line = line_;
    int lines = 0;
    ++at_;
    const std::string_view body = LogicalLine(lines);
    line_ += lines;
    std::vector<Token> words = Lexer(body, line, false).All();
    if (!words.empty() && words[0].text == "include") {
      Include(body, line, tokens);
      return;
    }
    constexpr std::string_view kKept[] = {"define", "undef", "if",   "ifdef",
                                          "ifndef", "elif",  "else", "endif"};
    if (words.empty() || std::find(std::begin(kKept), std::end(kKept),
                                   words[0].text) == std::end(kKept)) {
      return;
    }
    // A function-like macro's name touches its parenthesis.
    const std::size_t name_end =
        words.size() > 1 ? body.find(words[1].text, body.find(words[0].text) +
                                                        words[0].text.size())
                         : body.npos;
    const bool function_like = words.size() > 2 && words[2].text == "(" &&
                               name_end != body.npos &&
                               name_end + words[1].text.size() < body.size() &&
                               body[name_end + words[1].text.size()] == '(';
    words[0].text = "#" + words[0].text;
    words[0].number = function_like ? 1 : 0;
    words[0].kind = TokenKind::kOther;
    tokens.insert(tokens.end(), words.begin(), words.end());
    tokens.push_back({TokenKind::kOther, "#end", 0, false, false, line});
  }

  Token Next() {
    const std::size_t start = at_;
    const char c = text_[at_];
    Token t{TokenKind::kOther, {}, 0, false, false, line_};
    if (IsNameStart(c)) {
      while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
      t.kind = TokenKind::kName;
    } else if (IsDigit(c)) {
      while (at_ < text_.size() &&
             (IsNameChar(text_[at_]) || text_[at_] == '.')) {
        ++at_;
      }
      if (std::optional<Token> n = Integer(text_.substr(start, at_ - start))) {
        n->line = line_;
        return *n;
      }
    } else if (c == '"' || c == '\'') {
      return Quoted(c);
    } else {
      for (const std::string_view p : kPunctuators) {
        if (p[0] == c && text_.substr(at_).starts_with(p)) {
          at_ += p.size();
          break;
        }
      }
      if (at_ == start) ++at_;
      t.kind = TokenKind::kPunct;
    }
    t.text = std::string(text_.substr(start, at_ - start));
    return t;
  }

  // "#include <reg52.h>" or "#include \"reg52.h\"" as "#include", the
  // header's name as written, "#end".
  static void Include(std::string_view body, int line,
                      std::vector<Token>& tokens) {
    const std::size_t open = body.find_first_of("<\"");
    if (open == body.npos) return;
    const std::size_t close =
        body.find(body[open] == '<' ? '>' : '"', open + 1);
    if (close == body.npos) return;
    tokens.push_back({TokenKind::kOther, "#include", 0, false, false, line});
    tokens.push_back({TokenKind::kOther,
                      std::string(body.substr(open + 1, close - open - 1)),
                      body[open] == '"' ? 1 : 0, false, false, line});
    tokens.push_back({TokenKind::kOther, "#end", 0, false, false, line});
  }

  // A string is skipped; a character constant is its int.
  Token Quoted(char quote) {
    Token t{TokenKind::kOther, "\"", 0, false, false, line_};
    const std::size_t start = ++at_;
    while (at_ < text_.size() && text_[at_] != quote && text_[at_] != '\n') {
      at_ += text_[at_] == '\\' ? 2 : 1;
    }
    const std::string_view inside =
        text_.substr(start, std::min(at_, text_.size()) - start);
    if (at_ < text_.size() && text_[at_] == quote) ++at_;
    if (quote == '\'' && inside.size() == 1) {
      t.kind = TokenKind::kNumber;
      t.number = static_cast<unsigned char>(inside[0]);
    } else if (quote == '\'' && inside.size() >= 2 && inside[0] == '\\') {
      constexpr std::string_view kEscapes("n\nt\tr\r0\0\\\\''", 12);
      const std::size_t e = kEscapes.find(inside[1]);
      if (inside.size() == 2 && e != std::string_view::npos && e % 2 == 0) {
        t.kind = TokenKind::kNumber;
        t.number = static_cast<unsigned char>(kEscapes[e + 1]);
      }
    }
    return t;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int line_;
  bool directives_;
};

}  // namespace

std::vector<Token> CTokens(std::string_view source, int first_line) {
  return Lexer(source, first_line).All();
}

}  // namespace mcs51::reading
