// C statement by statement: declarations of registers, assignments to
// them, and the interrupt handlers they sit in.
#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

using Tokens = std::span<const Token>;

// Unknown names are registers or variables; which is the caller's to say.
Value LookupC(const void*, std::string_view name) {
  return RegisterValue(Place{std::string(name)});
}

Value EvaluateC(Tokens tokens) {
  return Evaluate(tokens, Dialect::kC, LookupC, nullptr);
}

bool Is(const Token& t, std::string_view text) {
  return t.kind != TokenKind::kNumber && t.text == text;
}

// The index past the parenthesis that closes the one at `open`.
std::size_t PastParenthesis(Tokens t, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < t.size(); ++i) {
    if (Is(t[i], "(")) ++depth;
    if (Is(t[i], ")") && --depth == 0) return i + 1;
  }
  return t.size();
}

// Drops what leads into a statement: else, do, if (...), while (...),
// for (...), switch (...), case ...:, default: and labels.
Tokens Body(Tokens t) {
  for (;;) {
    if (t.empty()) return t;
    const std::string& first = t[0].text;
    if (first == "else" || first == "do") {
      t = t.subspan(1);
    } else if ((first == "if" || first == "while" || first == "for" ||
                first == "switch") &&
               t.size() > 1 && Is(t[1], "(")) {
      t = t.subspan(PastParenthesis(t, 1));
    } else if (first == "case") {
      std::size_t colon = 1;
      while (colon < t.size() && !Is(t[colon], ":")) ++colon;
      t = t.subspan(std::min(colon + 1, t.size()));
    } else if (t[0].kind == TokenKind::kName && t.size() > 1 && Is(t[1], ":")) {
      t = t.subspan(2);
    } else {
      return t;
    }
  }
}

std::optional<std::int64_t> ConstantOf(Tokens tokens) {
  const Value v = EvaluateC(tokens);
  if (v.kind != Value::Kind::kConstant) return std::nullopt;
  return v.constant.value;
}

// Where "__at" (SDCC) or "_at_" (Keil) puts a declaration, and the
// declared name: the last name outside the address.
struct AtParts {
  std::optional<std::int64_t> address;
  std::string name;
};
AtParts At(Tokens t) {
  AtParts parts;
  std::size_t i = 0;
  for (; i < t.size(); ++i) {
    if (Is(t[i], "=")) break;
    if (Is(t[i], "__at") || Is(t[i], "_at_")) {
      std::size_t end = i + 2;
      if (i + 1 < t.size() && Is(t[i + 1], "(")) {
        end = PastParenthesis(t, i + 1);
      } else if (Is(t[i], "_at_")) {
        end = t.size();
        for (std::size_t e = i + 1; e < t.size(); ++e) {
          if (Is(t[e], "=")) end = e;
        }
      }
      end = std::min(end, t.size());
      parts.address = ConstantOf(t.subspan(i + 1, end - i - 1));
      i = end - 1;
    } else if (t[i].kind == TokenKind::kName) {
      parts.name = t[i].text;
    }
  }
  return parts;
}

void Declare(CodeReading& reading, int line, DeclarationKind kind,
             const std::string& name, Place at, int high = -1) {
  if (name.empty()) return;
  reading.declarations.push_back({line, kind, name, std::move(at), high});
}

Place ByteAt(std::int64_t address) {
  return {{}, static_cast<int>(address), -1, Space::kByte};
}

// Keil's "sbit NAME = REG^bit", "= ADDRESS^bit" or "= BITADDRESS".
void KeilBit(CodeReading& reading, Tokens t) {
  if (t.size() < 4 || !Is(t[2], "=")) return;
  const Tokens value = t.subspan(3);
  std::size_t caret = value.size();
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (Is(value[i], "^")) caret = i;
  }
  Place at{{}, -1, -1, Space::kBit};
  if (caret < value.size()) {
    const std::optional<std::int64_t> bit =
        ConstantOf(value.subspan(caret + 1));
    if (!bit || *bit < 0 || *bit > 7) return;
    at.bit = static_cast<int>(*bit);
    const Tokens reg = value.first(caret);
    if (reg.size() == 1 && reg[0].kind == TokenKind::kName) {
      at.name = reg[0].text;
    } else if (const auto address = ConstantOf(reg)) {
      at.address = static_cast<int>(*address & 0xFFFF);
    } else {
      return;
    }
  } else if (const auto address = ConstantOf(value)) {
    at.address = static_cast<int>(*address & 0xFFFF);
  } else {
    return;
  }
  Declare(reading, t[0].line, DeclarationKind::kBit, t[1].text, at);
}

void Sfr(CodeReading& reading, DeclarationKind kind, const std::string& name,
         std::int64_t address, bool sdcc_pair, int line) {
  address &= 0xFFFF;
  if (kind == DeclarationKind::kSfr16) {
    const std::int64_t low = sdcc_pair ? address & 0xFF : address;
    const std::int64_t high = sdcc_pair ? address >> 8 : address + 1;
    Declare(reading, line, kind, name, ByteAt(low), static_cast<int>(high));
  } else if (kind == DeclarationKind::kBit) {
    Declare(reading, line, kind, name,
            {{}, static_cast<int>(address), -1, Space::kBit});
  } else {
    Declare(reading, line, kind, name, ByteAt(address));
  }
}

std::optional<DeclarationKind> KindOf(std::string_view word) {
  if (word == "sfr" || word == "__sfr" || word == "SFR") {
    return DeclarationKind::kSfr;
  }
  if (word == "sfr16" || word == "__sfr16" || word == "SFR16") {
    return DeclarationKind::kSfr16;
  }
  if (word == "sbit" || word == "__sbit" || word == "SBIT") {
    return DeclarationKind::kBit;
  }
  return std::nullopt;
}

// The cross-compiler header's SFR(name, address), SFR16(name, low byte's
// address) and SBIT(name, register's address, bit).
void HeaderMacro(CodeReading& reading, Tokens t, DeclarationKind kind) {
  if (t.size() < 6 || !Is(t[1], "(") || t[2].kind != TokenKind::kName) {
    return;
  }
  const std::size_t end = PastParenthesis(t, 1);
  std::vector<Tokens> args;
  std::size_t from = 4;
  for (std::size_t i = 4; i + 1 < end; ++i) {
    if (Is(t[i], ",")) {
      args.push_back(t.subspan(from, i - from));
      from = i + 1;
    }
  }
  args.push_back(t.subspan(from, std::max(end - 1, from) - from));
  const auto address = ConstantOf(args[0]);
  if (!address) return;
  std::int64_t at = *address;
  if (kind == DeclarationKind::kBit) {
    const auto bit = args.size() > 1 ? ConstantOf(args[1]) : std::nullopt;
    if (!bit || *bit < 0 || *bit > 7) return;
    at += *bit;
  }
  Sfr(reading, kind, t[2].text, at, false, t[0].line);
}

// sfr, sfr16 and sbit as Keil writes them, SDCC's __sfr, __sfr16, __sbit
// and __xdata with __at, and the header macros. True when the statement
// was one of them.
bool Declaration(CodeReading& reading, Tokens t) {
  if (t.size() < 2) return false;
  const std::string& first = t[0].text;
  const int line = t[0].line;
  const bool has_at = std::any_of(t.begin(), t.end(), [](const Token& x) {
    return Is(x, "__at") || Is(x, "_at_");
  });
  std::optional<DeclarationKind> kind = KindOf(first);
  if (has_at) {
    // SDCC takes "__at(0x89) __sfr TMOD;" as well.
    for (const Token& word : t) kind = kind ? kind : KindOf(word.text);
    const AtParts at = At(t);
    const bool xdata = std::any_of(t.begin(), t.end(), [](const Token& x) {
      return Is(x, "__xdata") || Is(x, "xdata");
    });
    if (!at.address || (!kind && !xdata)) return has_at;
    Sfr(reading, kind.value_or(DeclarationKind::kXdata), at.name, *at.address,
        true, line);
    return true;
  }
  if (!kind) return false;
  if (first == "SFR" || first == "SFR16" || first == "SBIT") {
    HeaderMacro(reading, t, *kind);
    return true;
  }
  if (*kind == DeclarationKind::kBit) {
    KeilBit(reading, t);
  } else if (t.size() > 3 && Is(t[2], "=")) {
    if (const auto address = ConstantOf(t.subspan(3))) {
      Sfr(reading, *kind, t[1].text, *address, false, line);
    }
  }
  return true;
}

constexpr std::array<std::string_view, 11> kAssignments{
    "=", "|=", "&=", "^=", "+=", "-=", "*=", "/=", "%=", "<<=", ">>="};

// NAME op= NAME op= ... expression, the rightmost written first.
void Assignment(Tokens t, int vector, std::vector<Effect>& effects) {
  std::size_t i = 0;
  while (i + 1 < t.size() && t[i].kind == TokenKind::kName &&
         t[i + 1].kind == TokenKind::kPunct &&
         std::find(kAssignments.begin(), kAssignments.end(), t[i + 1].text) !=
             kAssignments.end()) {
    i += 2;
  }
  if (i == 0) return;
  Value v = EvaluateC(t.subspan(i));
  for (std::size_t j = i; j >= 2; j -= 2) {
    const Place target{t[j - 2].text};
    const std::string& op = t[j - 1].text;
    const int line = t[j - 2].line;
    if (op == "=") {
      AddWrite(target, v, line, vector, effects);
      continue;
    }
    const Value self = RegisterValue(target);
    const bool bitwise = op == "|=" || op == "&=" || op == "^=";
    AddWrite(target, bitwise ? Bitwise(self, op[0], v) : Unknown(), line,
             vector, effects);
    v = self;
  }
}

void Statement(CodeReading& reading, Tokens t, int vector) {
  t = Body(t);
  if (t.empty() || Declaration(reading, t)) return;
  std::size_t from = 0;
  int depth = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) {
    if (i < t.size() && (Is(t[i], "(") || Is(t[i], "["))) ++depth;
    if (i < t.size() && (Is(t[i], ")") || Is(t[i], "]"))) --depth;
    if (i == t.size() || (depth == 0 && Is(t[i], ","))) {
      Assignment(t.subspan(from, i - from), vector, reading.effects);
      from = i + 1;
    }
  }
}

// The vector names of SDCC's 8051.h and 8052.h, which a paste uses without
// including them.
std::optional<std::int64_t> VectorNamed(Tokens t) {
  constexpr std::array<std::pair<std::string_view, int>, 7> kNames{{
      {"IE0_VECTOR", 0},
      {"TF0_VECTOR", 1},
      {"IE1_VECTOR", 2},
      {"TF1_VECTOR", 3},
      {"SI0_VECTOR", 4},
      {"TF2_VECTOR", 5},
      {"EX2_VECTOR", 5},
  }};
  if (t.size() == 3 && Is(t[0], "(") && Is(t[2], ")")) t = t.subspan(1, 1);
  for (const auto& [name, vector] : kNames) {
    if (t.size() == 1 && Is(t[0], name)) return vector;
  }
  return ConstantOf(t);
}

// The vector a function header names: "interrupt 3", "__interrupt(3)",
// "__interrupt 3", "__interrupt(TF1_VECTOR)"; -1 for none.
int HandlerVector(Tokens t) {
  for (std::size_t i = 0; i + 1 < t.size(); ++i) {
    if (!Is(t[i], "interrupt") && !Is(t[i], "__interrupt")) continue;
    std::size_t end = i + 2;
    if (Is(t[i + 1], "(")) end = PastParenthesis(t, i + 1);
    const auto n = VectorNamed(t.subspan(i + 1, end - i - 1));
    if (n && *n >= 0 && *n < 128) return static_cast<int>(*n);
  }
  return -1;
}

}  // namespace

void ReadC(std::string_view source, Compiler compiler, CodeReading& reading) {
  const std::vector<Token> tokens =
      PreprocessedC(source, compiler, reading.unresolved);
  const Tokens all(tokens);
  std::vector<int> blocks;  // each open brace's vector
  std::size_t from = 0;
  int depth = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Token& t = all[i];
    if (Is(t, "(")) ++depth;
    if (Is(t, ")")) depth = std::max(0, depth - 1);
    const bool brace = Is(t, "{") || Is(t, "}");
    if (!brace && !(depth == 0 && Is(t, ";"))) continue;
    const Tokens segment = all.subspan(from, i - from);
    const int vector = blocks.empty() ? -1 : blocks.back();
    if (Is(t, "{")) {
      const int own = HandlerVector(segment);
      blocks.push_back(own >= 0 ? own : vector);
    } else if (Is(t, "}")) {
      if (!blocks.empty()) blocks.pop_back();
    } else {
      Statement(reading, segment, vector);
    }
    depth = 0;
    from = i + 1;
  }
}

}  // namespace mcs51::reading
