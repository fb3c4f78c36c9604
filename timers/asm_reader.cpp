// Assembly line by line, as A51 and sdas8051 take it: the writes to direct
// addresses and bits, the constants and names it defines, and the vectors
// its handlers answer. The accumulator is followed through MOV A, ANL A,
// ORL A and XRL A, since a read-modify-write often goes through it.
#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <set>

#include "timers/code_value.h"

namespace timers::reading {
namespace {

using Tokens = std::span<const Token>;

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  return upper;
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '?' ||
         c == '$';
}

// 0FDH, 0xFD, 00100000B, 0b101, 17Q, 253D or 253.
std::optional<std::int64_t> AsmNumber(std::string_view text) {
  const std::string u = Upper(text);
  std::string_view digits = u;
  int base = 10;
  if (u.starts_with("0X") || u.starts_with("0H")) {
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

struct Line {
  int number = 0;
  std::string label;  // upper-cased
  std::vector<Token> words;
};

std::vector<Line> Lines(std::string_view source) {
  std::vector<Line> lines;
  int number = 0;
  for (std::size_t at = 0; at <= source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string_view::npos) end = source.size();
    Line line{++number, {}, Words(source.substr(at, end - at), number)};
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

// The operands, split at commas.
std::vector<Tokens> Operands(Tokens t) {
  std::vector<Tokens> operands;
  std::size_t from = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) {
    if (i == t.size() || t[i].text == ",") {
      if (i > from) operands.push_back(t.subspan(from, i - from));
      from = i + 1;
    }
  }
  return operands;
}

class AsmReader {
 public:
  explicit AsmReader(CodeReading& reading) : reading_(reading) {}

  void Read(const std::vector<Line>& lines) {
    FindVectors(lines);
    for (const Line& line : lines) {
      if (!line.label.empty()) {
        a_ = Unknown();
        if (const auto v = vector_labels_.find(line.label);
            v != vector_labels_.end()) {
          vector_ = v->second;
        }
      }
      if (line.words.empty()) continue;
      const std::string word = Upper(line.words[0].text);
      if (word == "END" || word == ".END") break;
      Statement(line, word);
    }
  }

 private:
  static Value Lookup(const void* context, std::string_view name) {
    const auto& constants = static_cast<const AsmReader*>(context)->constants_;
    const auto found = constants.find(Upper(name));
    if (found == constants.end()) return Unknown();
    return Constant(found->second, 32);
  }

  std::optional<std::int64_t> ConstantOf(Tokens t) const {
    const Value v = Evaluate(t, Dialect::kAssembly, Lookup, this);
    if (v.kind != Value::Kind::kConstant) return std::nullopt;
    return v.constant.value;
  }

  // ORG (or CSEG AT, .org) at a vector, then a jump: the jump's label
  // is that vector's handler.
  void FindVectors(const std::vector<Line>& lines) {
    int pending = -1;
    for (const Line& line : lines) {
      if (line.words.empty()) continue;
      const std::string word = Upper(line.words[0].text);
      if (const auto origin = Origin(line.words)) {
        pending = VectorAt(*origin);
        continue;
      }
      Define(line);
      if (pending >= 0 && line.words.size() == 2 &&
          (word == "LJMP" || word == "AJMP" || word == "SJMP" ||
           word == "JMP")) {
        vector_labels_[Upper(line.words[1].text)] = pending;
      }
      pending = -1;
    }
    constants_.clear();
    reading_.declarations.clear();
  }

  std::optional<std::int64_t> Origin(const std::vector<Token>& w) const {
    const std::string word = Upper(w[0].text);
    if (word == "ORG" || word == ".ORG") {
      return ConstantOf(Tokens(w).subspan(1));
    }
    if (word == "CSEG" && w.size() > 2 && Upper(w[1].text) == "AT") {
      return ConstantOf(Tokens(w).subspan(2));
    }
    return std::nullopt;
  }

  // NAME EQU value, NAME = value, NAME DATA address, NAME BIT address or
  // REG.bit, .equ NAME, value. True when the line was one.
  bool Define(const Line& line) {
    const std::vector<Token>& w = line.words;
    Tokens value;
    std::string name, how;
    if (w.size() >= 4 &&
        (Upper(w[0].text) == ".EQU" || Upper(w[0].text) == ".SET") &&
        w[2].text == ",") {
      name = Upper(w[1].text);
      how = "EQU";
      value = Tokens(w).subspan(3);
    } else if (w.size() >= 3 && w[0].kind == TokenKind::kName &&
               std::find(kDefiners.begin(), kDefiners.end(),
                         Upper(w[1].text)) != kDefiners.end()) {
      name = Upper(w[0].text);
      how = Upper(w[1].text);
      value = Tokens(w).subspan(2);
    } else {
      return false;
    }
    Place at{{}, -1, -1, how == "BIT" ? Space::kBit : Space::kEither};
    const std::optional<std::int64_t> number = ConstantOf(value);
    if (how == "BIT" && !number) {
      at = BitPlace(value).value_or(Place{});
      if (at.name.empty() && at.address < 0) return true;
    } else if (!number) {
      return true;
    } else {
      at.address = static_cast<int>(*number & 0xFFFF);
    }
    DeclarationKind kind = DeclarationKind::kConstant;
    if (how == "DATA" || how == "IDATA") kind = DeclarationKind::kSfr;
    if (how == "XDATA") kind = DeclarationKind::kXdata;
    if (how == "BIT") kind = DeclarationKind::kBit;
    if (kind == DeclarationKind::kSfr || kind == DeclarationKind::kXdata) {
      at.space = Space::kByte;
    }
    if (number) constants_[name] = *number;
    reading_.declarations.push_back({line.number, kind, name, at, -1});
    return true;
  }

  // REG.bit or ADDRESS.bit.
  std::optional<Place> BitPlace(Tokens t) const {
    if (t.size() < 3 || t[t.size() - 2].text != ".") return std::nullopt;
    const auto bit = ConstantOf(t.last(1));
    if (!bit || *bit < 0 || *bit > 7) return std::nullopt;
    const Tokens reg = t.first(t.size() - 2);
    Place place{{}, -1, static_cast<int>(*bit), Space::kBit};
    if (reg.size() == 1 && reg[0].kind == TokenKind::kName) {
      place.name = Upper(reg[0].text);
    } else if (const auto address = ConstantOf(reg)) {
      place.address = static_cast<int>(*address & 0xFFFF);
    } else {
      return std::nullopt;
    }
    return place;
  }

  // A direct address or a bit as an operand: a name, REG.bit, or a
  // constant expression.
  std::optional<Place> Direct(Tokens t, Space space) const {
    if (space == Space::kBit) {
      if (std::optional<Place> bit = BitPlace(t)) return bit;
    }
    if (t.size() == 1 && t[0].kind == TokenKind::kName) {
      return Place{Upper(t[0].text), -1, -1, space};
    }
    if (const auto address = ConstantOf(t)) {
      return Place{{}, static_cast<int>(*address & 0xFFFF), -1, space};
    }
    return std::nullopt;
  }

  static bool IsWord(Tokens t, std::string_view word) {
    return t.size() == 1 && Upper(t[0].text) == word;
  }
  static bool IsRegister(Tokens t) {
    if (!t.empty() && t[0].text == "@") return true;
    if (t.size() != 1) return false;
    const std::string u = Upper(t[0].text);
    return (u.size() == 2 && u[0] == 'R' && u[1] >= '0' && u[1] <= '7') ||
           u == "C" || u == "DPTR" || u == "AB";
  }

  // A source operand's value: #immediate, A, a register or a direct byte.
  Value Source(Tokens t) const {
    if (!t.empty() && t[0].text == "#") {
      const auto n = ConstantOf(t.subspan(1));
      return n ? Constant(*n, 32) : Unknown();
    }
    if (IsWord(t, "A")) return a_;
    if (IsRegister(t)) return Unknown();
    if (const std::optional<Place> p = Direct(t, Space::kByte)) {
      return RegisterValue(*p);
    }
    return Unknown();
  }

  void Write(Tokens destination, const Value& value, int line, char op = 0) {
    if (IsWord(destination, "A")) {
      a_ = op == 0 ? value : Bitwise(a_, op, value);
      return;
    }
    if (IsRegister(destination)) return;
    const std::optional<Place> target = Direct(destination, Space::kByte);
    if (!target) return;
    const Value written =
        op == 0 ? value : Bitwise(RegisterValue(*target), op, value);
    AddWrite(*target, written, line, vector_, reading_.effects);
    if (target->name == "ACC") a_ = Unknown();
  }

  void Bit(Tokens operand, EffectOp op, int line) {
    if (IsWord(operand, "C")) return;
    if (IsWord(operand, "A")) {
      a_ = op == EffectOp::kClearBit ? Constant(0, 32)
                                     : Bitwise(a_, '^', Constant(0xFF, 32));
      return;
    }
    if (const std::optional<Place> bit = Direct(operand, Space::kBit)) {
      reading_.effects.push_back({line, *bit, op, 0, {}, vector_});
    }
  }

  void Statement(const Line& line, const std::string& word) {
    if (Define(line)) return;
    if (const auto origin = Origin(line.words)) {
      vector_ = -1;
      inline_vector_ = VectorAt(*origin);
      return;
    }
    // Code right at a vector, rather than a jump from it, is the handler.
    if (inline_vector_ >= 0 && !word.ends_with("JMP")) vector_ = inline_vector_;
    inline_vector_ = -1;
    const std::vector<Tokens> ops = Operands(Tokens(line.words).subspan(1));
    const int n = line.number;
    if (word == "MOV" && ops.size() == 2) {
      if (IsWord(ops[1], "C") && !IsRegister(ops[0])) {
        if (auto bit = Direct(ops[0], Space::kBit)) {
          reading_.effects.push_back(
              {n, *bit, EffectOp::kUnknown, 0, {}, vector_});
        }
        return;
      }
      Write(ops[0], Source(ops[1]), n);
    } else if ((word == "ORL" || word == "ANL" || word == "XRL") &&
               ops.size() == 2 && !IsWord(ops[0], "C")) {
      Write(ops[0], Source(ops[1]), n,
            word == "ORL"   ? '|'
            : word == "ANL" ? '&'
                            : '^');
    } else if ((word == "SETB" || word == "CLR" || word == "CPL") &&
               ops.size() == 1) {
      Bit(ops[0],
          word == "SETB"  ? EffectOp::kSetBit
          : word == "CLR" ? EffectOp::kClearBit
                          : EffectOp::kComplementBit,
          n);
    } else if ((word == "INC" || word == "DEC" || word == "POP" ||
                word == "DJNZ") &&
               !ops.empty()) {
      Write(ops[0], Unknown(), n);
    } else if (word == "XCH" && ops.size() == 2) {
      const Value old = a_;
      a_ = Unknown();
      Write(ops[1], old, n);
    } else if (word == "RETI") {
      vector_ = -1;
      a_ = Unknown();
    } else if (!ops.empty() && IsWord(ops[0], "A")) {
      a_ = Unknown();
    } else if (word.ends_with("CALL") || word == "DIV" || word == "MUL") {
      a_ = Unknown();
    }
  }

  CodeReading& reading_;
  std::map<std::string, std::int64_t> constants_;
  std::map<std::string, int> vector_labels_;
  Value a_;
  int vector_ = -1;
  int inline_vector_ = -1;
};

}  // namespace

bool IsAssemblyLine(std::string_view text) {
  const std::vector<Line> lines = Lines(text);
  const std::vector<Token>& w = lines.front().words;
  if (w.empty()) return false;
  auto is = [](const Token& t, auto& words) {
    return std::find(words.begin(), words.end(), Upper(t.text)) != words.end();
  };
  // "=" is C's as much as sdas's.
  return is(w[0], kMnemonics) || w[0].text == "$" ||
         (w.size() > 2 && w[1].text != "=" && is(w[1], kDefiners));
}

void ReadAssembly(std::string_view source, CodeReading& reading) {
  AsmReader(reading).Read(Lines(source));
}

}  // namespace timers::reading
