// C's tokens and the little of the preprocessor that init code leans on.
#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

bool IsNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
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
    bool line_start = true;
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_;
        ++at_;
        line_start = true;
      } else if (std::isspace(static_cast<unsigned char>(c)) || c == '\\') {
        ++at_;
      } else if (SkipComment()) {
      } else if (c == '#' && line_start && directives_) {
        Directive(tokens);
      } else {
        line_start = false;
        Token t = Next();
        if (!Skipping()) tokens.push_back(std::move(t));
      }
    }
    return tokens;
  }

 private:
  bool SkipComment() {
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

  // #define and #undef become tokens "#define" and "#undef" ahead of the
  // line's own, ended by "#end"; the other directives vanish.
  void Directive(std::vector<Token>& tokens) {
    const int line = line_;
    int lines = 0;
    ++at_;
    const std::string_view body = LogicalLine(lines);
    line_ += lines;
    std::vector<Token> words = Lexer(body, line, false).All();
    if (words.empty() || Conditional(words) || Skipping() ||
        (words[0].text != "define" && words[0].text != "undef")) {
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

  // "#if 0" (or "#if (0)") leaves out what it holds up to its #else or
  // #endif; every other condition is taken as true, so that both sides of
  // an #ifdef __SDCC are read. True when the directive was one of these.
  bool Conditional(const std::vector<Token>& words) {
    const std::string& word = words[0].text;
    if (word == "if" || word == "ifdef" || word == "ifndef") {
      const bool zero =
          word == "if" &&
          std::all_of(words.begin() + 1, words.end(),
                      [](const Token& t) {
                        return t.text == "(" || t.text == ")" ||
                               (t.kind == TokenKind::kNumber && t.number == 0);
                      }) &&
          words.size() > 1;
      if (zero) ++zero_depth_;
      conditions_.push_back(zero);
      return true;
    }
    if ((word == "else" || word == "elif") && !conditions_.empty() &&
        conditions_.back()) {
      conditions_.back() = false;
      --zero_depth_;
      return true;
    }
    if (word == "endif" && !conditions_.empty()) {
      if (conditions_.back()) --zero_depth_;
      conditions_.pop_back();
      return true;
    }
    return word == "else" || word == "elif" || word == "endif";
  }

  bool Skipping() const { return zero_depth_ > 0; }

  Token Next() {
    const std::size_t start = at_;
    const char c = text_[at_];
    Token t{TokenKind::kOther, {}, 0, false, false, line_};
    if (IsNameStart(c)) {
      while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
      t.kind = TokenKind::kName;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
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
        if (text_.substr(at_).starts_with(p)) {
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
  std::vector<bool> conditions_;  // each open #if's: is it "#if 0"
  int zero_depth_ = 0;
};

struct Macro {
  bool function_like = false;
  std::vector<std::string> params;
  std::vector<Token> body;
};

// Expands macros as the preprocessor would, short of # and ##: a macro is
// not expanded inside itself, and the output is capped so that a macro
// doubling itself at each level cannot exhaust memory.
class Expander {
 public:
  explicit Expander(std::size_t cap) : cap_(cap) {}

  std::vector<Token> Run(const std::vector<Token>& in) {
    for (std::size_t i = 0; i < in.size();) {
      if (in[i].kind == TokenKind::kOther && in[i].text.starts_with("#") &&
          in[i].text != "#end") {
        i = Define(in, i);
      } else {
        i = Expand(in, i, 0);
      }
    }
    return std::move(out_);
  }

 private:
  std::size_t Define(const std::vector<Token>& in, std::size_t i) {
    const bool define = in[i].text == "#define";
    const bool function_like = in[i].number != 0;
    std::size_t end = i;
    while (end < in.size() && in[end].text != "#end") ++end;
    if (i + 1 < end && in[i + 1].kind == TokenKind::kName) {
      const std::string& name = in[i + 1].text;
      macros_.erase(name);
      if (define) {
        Macro m{function_like, {}, {}};
        std::size_t b = i + 2;
        if (function_like) {
          for (++b; b < end && in[b].text != ")"; ++b) {
            if (in[b].kind == TokenKind::kName) m.params.push_back(in[b].text);
          }
          ++b;
        }
        if (b < end) m.body.assign(in.begin() + b, in.begin() + end);
        macros_[name] = std::move(m);
      }
    }
    return end + 1;
  }

  // Arguments of a call at in[open] == "(": split at the top level's commas.
  static std::optional<std::vector<std::vector<Token>>> Arguments(
      const std::vector<Token>& in, std::size_t open, std::size_t& next) {
    std::vector<std::vector<Token>> args(1);
    int depth = 0;
    for (std::size_t i = open + 1; i < in.size(); ++i) {
      const std::string& t = in[i].text;
      if (in[i].kind == TokenKind::kOther && t.starts_with("#")) break;
      if (t == "(") ++depth;
      if (t == ")" && depth-- == 0) {
        next = i + 1;
        return args;
      }
      if (t == "," && depth == 0) {
        args.emplace_back();
      } else {
        args.back().push_back(in[i]);
      }
    }
    return std::nullopt;
  }

  std::size_t Expand(const std::vector<Token>& in, std::size_t i, int depth) {
    const Token& t = in[i];
    const auto found =
        t.kind == TokenKind::kName ? macros_.find(t.text) : macros_.end();
    if (found == macros_.end() || depth > 32 || out_.size() > cap_ ||
        std::find(active_.begin(), active_.end(), t.text) != active_.end()) {
      out_.push_back(t);
      return i + 1;
    }
    const Macro& m = found->second;
    std::size_t next = i + 1;
    std::vector<Token> body = m.body;
    if (m.function_like) {
      if (next >= in.size() || in[next].text != "(") {
        out_.push_back(t);
        return next;
      }
      const auto args = Arguments(in, next, next);
      if (!args) {
        out_.push_back(t);
        return i + 1;
      }
      body.clear();
      for (const Token& b : m.body) {
        const auto p = std::find(m.params.begin(), m.params.end(), b.text);
        const std::size_t n = static_cast<std::size_t>(p - m.params.begin());
        if (b.kind == TokenKind::kName && p != m.params.end() &&
            n < args->size()) {
          body.insert(body.end(), (*args)[n].begin(), (*args)[n].end());
        } else {
          body.push_back(b);
        }
      }
    }
    for (Token& b : body) b.line = t.line;
    active_.push_back(t.text);
    for (std::size_t j = 0; j < body.size();) j = Expand(body, j, depth + 1);
    active_.pop_back();
    return next;
  }

  std::map<std::string, Macro, std::less<>> macros_;
  std::vector<std::string> active_;
  std::vector<Token> out_;
  std::size_t cap_;
};

}  // namespace

std::vector<Token> PreprocessedC(std::string_view source) {
  const std::vector<Token> tokens = Lexer(source, 1).All();
  return Expander(4 * tokens.size() + 4096).Run(tokens);
}

}  // namespace mcs51::reading
