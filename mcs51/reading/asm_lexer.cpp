// Assembly's words, line by line, as A51 and sdas8051 write them.
#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '?' ||
         c == '$';
}

// 0FDH, 0xFD, 00100000B, 0b101, 17Q, 253D or 253.
std::optional<std::int64_t> AsmNumber(std::string_view text) {
  const std::string u = Upper(text);
  std::string_view digits = u;
  int base = 10;
  if (u.size() > 2 && (u.starts_with("0X") || u.starts_with("0H"))) {
    base = 16;
    digits.remove_prefix(2);
  } else if (u.ends_with("H")) {
    base = 16;
    digits.remove_suffix(1);
  } else if (u.starts_with("0B") && u.size() > 2) {
    base = 2;
    digits.remove_prefix(2);
  } else if (u.ends_with("B")) {
    base = 2;
    digits.remove_suffix(1);
  } else if (u.ends_with("O") || u.ends_with("Q")) {
    base = 8;
    digits.remove_suffix(1);
  } else if (u.ends_with("D")) {
    digits.remove_suffix(1);
  }
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) {
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99);
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFF) return std::nullopt;
  }
  return value;
}

bool StartsName(std::string_view line, std::size_t at) {
  return IsNameChar(line[at]) ||
         (line[at] == '.' && at + 1 < line.size() &&
          std::isalpha(static_cast<unsigned char>(line[at + 1])));
}

// Where the word opening at `start` (no blank, no ';') ends: a quoted
// text, a name or number, a two-character operator or one character.
std::size_t WordEnd(std::string_view line, std::size_t start) {
  const char c = line[start];
  if (c == '\'' || c == '"') {
    const std::size_t end = line.find(c, start + 1);
    return end == std::string_view::npos ? line.size() : end + 1;
  }
  std::size_t at = start + 1;
  if (StartsName(line, start)) {
    while (at < line.size() && IsNameChar(line[at])) ++at;
    return at;
  }
  const std::string_view rest = line.substr(start);
  return start + (rest.starts_with("<<") || rest.starts_with(">>") ||
                          rest.starts_with("==") || rest.starts_with("=:")
                      ? 2
                      : 1);
}

// Each word's start and end, up to `most` of them, the comment gone.
template <typename Take>
void EachWord(std::string_view line, std::size_t most, Take take) {
  for (std::size_t at = 0, n = 0; at < line.size() && n < most;) {
    if (line[at] == ';') break;
    if (std::isspace(static_cast<unsigned char>(line[at]))) {
      ++at;
      continue;
    }
    const std::size_t end = WordEnd(line, at);
    take(at, end);
    at = end;
    ++n;
  }
}

// One line's tokens, its comment gone.
std::vector<Token> Words(std::string_view line, int number) {
  std::vector<Token> tokens;
  EachWord(
      line, std::string_view::npos, [&](std::size_t start, std::size_t end) {
        const char c = line[start];
        const std::string_view text = line.substr(start, end - start);
        Token t{TokenKind::kPunct, std::string(text), 0, false, false, number};
        if (c == '\'' || c == '"') {
          const bool one = text.size() == 3 && text.back() == c;
          t.kind = one ? TokenKind::kNumber : TokenKind::kOther;
          if (one) t.number = static_cast<unsigned char>(text[1]);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
          const auto n = AsmNumber(text);
          t.kind = n ? TokenKind::kNumber : TokenKind::kOther;
          t.number = n.value_or(0);
        } else if (StartsName(line, start)) {
          t.kind = TokenKind::kName;
        }
        tokens.push_back(std::move(t));
      });
  return tokens;
}

bool SameUpper(std::string_view text, std::string_view upper) {
  return text.size() == upper.size() &&
         std::equal(text.begin(), text.end(), upper.begin(),
                    [](char a, char b) {
                      return std::toupper(static_cast<unsigned char>(a)) == b;
                    });
}

// Opens a line of code, as the dialect guess counts them.
constexpr std::array<std::string_view, 52> kMnemonics{
    "MOV",  "ORL",  "ANL",  "XRL",   "SETB",  "CLR",   "CPL",     "LJMP",
    "AJMP", "SJMP", "JMP",  "LCALL", "ACALL", "CALL",  "RET",     "RETI",
    "PUSH", "POP",  "INC",  "DEC",   "ADD",   "ADDC",  "SUBB",    "JZ",
    "JNZ",  "JB",   "JNB",  "JBC",   "JC",    "JNC",   "DJNZ",    "CJNE",
    "NOP",  "MOVX", "MOVC", "XCH",   "SWAP",  "RL",    "RR",      "ORG",
    "END",  "CSEG", "DB",   "DS",    ".ORG",  ".AREA", ".MODULE", ".GLOBL",
    ".DB",  ".DS",  ".EQU", "USING"};
// Define a name: NAME EQU 89H, NAME = 0x89.
constexpr std::array<std::string_view, 9> kDefiners{
    "EQU", "SET", "DATA", "IDATA", "XDATA", "BIT", "=", "==", "=:"};

// "label:" and sdas's "label::", but not "name =: value", off the words.
void TakeLabel(AsmLine& line) {
  std::vector<Token>& w = line.words;
  if (w.size() >= 2 && w[1].text == ":" && w[0].kind != TokenKind::kPunct) {
    line.label = Upper(w[0].text);
    const std::size_t drop = w.size() > 2 && w[2].text == ":" ? 3 : 2;
    w.erase(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(drop));
  }
}

}  // namespace

std::vector<AsmLine> AsmLines(std::string_view source) {
  std::vector<AsmLine> lines;
  int number = 0;
  for (std::size_t at = 0; at <= source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string_view::npos) end = source.size();
    AsmLine line{++number, {}, Words(source.substr(at, end - at), number)};
    TakeLabel(line);
    lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

bool IsAsmDefiner(std::string_view word) {
  return std::find(kDefiners.begin(), kDefiners.end(), Upper(word)) !=
         kDefiners.end();
}

bool IsAssemblyLine(std::string_view text) {
  // Every line is asked, so the words are looked at in place: a label's
  // three words and the three after it are all that matter.
  text = text.substr(0, text.find('\n'));
  std::array<std::string_view, 6> w;
  std::size_t n = 0;
  EachWord(text, w.size(), [&](std::size_t start, std::size_t end) {
    w[n++] = text.substr(start, end - start);
  });
  std::size_t first = 0;
  if (n >= 2 && w[1] == ":" &&
      (StartsName(w[0], 0) || w[0][0] == '\'' || w[0][0] == '"')) {
    first = n > 2 && w[2] == ":" ? 3 : 2;
  }
  if (first >= n) return false;
  const std::string_view word = w[first];
  const auto mnemonic = [&](std::string_view m) { return SameUpper(word, m); };
  const auto definer = [&](std::string_view d) {
    return SameUpper(w[first + 1], d);
  };
  // "=" is C's as much as sdas's.
  return std::any_of(kMnemonics.begin(), kMnemonics.end(), mnemonic) ||
         word.starts_with('$') ||
         (n - first > 2 && w[first + 1] != "=" &&
          std::any_of(kDefiners.begin(), kDefiners.end(), definer));
}

}  // namespace mcs51::reading
