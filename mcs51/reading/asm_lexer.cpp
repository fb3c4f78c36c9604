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

// One line's tokens, its comment gone.
std::vector<Token> Words(std::string_view line, int number) {
  std::vector<Token> tokens;
  for (std::size_t at = 0; at < line.size();) {
    const char c = line[at];
    const std::size_t start = at;
    Token t{TokenKind::kPunct, {}, 0, false, false, number};
    if (c == ';') break;
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++at;
      continue;
    }
    if (c == '\'' || c == '"') {
      const std::size_t end = line.find(c, at + 1);
      at = end == std::string_view::npos ? line.size() : end + 1;
      if (end == at - 1 && end == start + 2) {
        t.kind = TokenKind::kNumber;
        t.number = static_cast<unsigned char>(line[start + 1]);
      } else {
        t.kind = TokenKind::kOther;
      }
    } else if (IsNameChar(c) ||
               (c == '.' && at + 1 < line.size() &&
                std::isalpha(static_cast<unsigned char>(line[at + 1])))) {
      ++at;
      while (at < line.size() && IsNameChar(line[at])) ++at;
      if (std::isdigit(static_cast<unsigned char>(c))) {
        const auto n = AsmNumber(line.substr(start, at - start));
        t.kind = n ? TokenKind::kNumber : TokenKind::kOther;
        t.number = n.value_or(0);
      } else {
        t.kind = TokenKind::kName;
      }
    } else {
      const std::string_view rest = line.substr(at);
      at += rest.starts_with("<<") || rest.starts_with(">>") ||
                    rest.starts_with("==") || rest.starts_with("=:")
                ? 2
                : 1;
    }
    t.text = std::string(line.substr(start, at - start));
    tokens.push_back(std::move(t));
  }
  return tokens;
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

}  // namespace

std::vector<AsmLine> AsmLines(std::string_view source) {
  std::vector<AsmLine> lines;
  int number = 0;
  for (std::size_t at = 0; at <= source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string_view::npos) end = source.size();
    AsmLine line{++number, {}, Words(source.substr(at, end - at), number)};
    // "label:" and sdas's "label::", but not "name =: value".
    std::vector<Token>& w = line.words;
    if (w.size() >= 2 && w[1].text == ":" && w[0].kind != TokenKind::kPunct) {
      line.label = Upper(w[0].text);
      const std::size_t drop = w.size() > 2 && w[2].text == ":" ? 3 : 2;
      w.erase(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(drop));
    }
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
  const std::vector<AsmLine> lines = AsmLines(text);
  const std::vector<Token>& w = lines.front().words;
  if (w.empty()) return false;
  const std::string first = Upper(w[0].text);
  // "=" is C's as much as sdas's.
  return std::find(kMnemonics.begin(), kMnemonics.end(), first) !=
             kMnemonics.end() ||
         first.starts_with('$') ||
         (w.size() > 2 && w[1].text != "=" && IsAsmDefiner(w[1].text));
}

}  // namespace mcs51::reading
