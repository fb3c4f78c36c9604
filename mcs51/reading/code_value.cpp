#include "mcs51/reading/code_value.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace mcs51::reading {
namespace {

// The usual arithmetic conversions: the wider type wins (a long holds every
// unsigned int), and between equals unsigned wins.
Typed Converted(const Typed& value, const Typed& other) {
  if (value.bits == other.bits) {
    return Wrapped(value.value, value.bits,
                   value.is_unsigned || other.is_unsigned);
  }
  const Typed& wide = value.bits > other.bits ? value : other;
  return Wrapped(value.value, wide.bits, wide.is_unsigned);
}

std::optional<Typed> Arithmetic(const Typed& l, std::string_view op,
                                const Typed& r) {
  const Typed a = Converted(l, r), b = Converted(r, l);
  const auto ua = static_cast<std::uint64_t>(a.value);
  const auto ub = static_cast<std::uint64_t>(b.value);
  auto typed = [&](std::uint64_t v) {
    return Wrapped(static_cast<std::int64_t>(v), a.bits, a.is_unsigned);
  };
  auto truth = [](bool holds) { return Typed{holds ? 1 : 0, 16, false}; };
  if (op == "+") return typed(ua + ub);
  if (op == "-") return typed(ua - ub);
  if (op == "*") return typed(ua * ub);
  if (op == "&") return typed(ua & ub);
  if (op == "|") return typed(ua | ub);
  if (op == "^") return typed(ua ^ ub);
  if (op == "/" || op == "%") {
    if (b.value == 0) return std::nullopt;
    return typed(static_cast<std::uint64_t>(op == "/" ? a.value / b.value
                                                      : a.value % b.value));
  }
  if (op == "<<" || op == ">>") {
    // The left operand's type alone; a count past its width is undefined.
    if (r.value < 0 || r.value >= l.bits) return std::nullopt;
    const auto ul = static_cast<std::uint64_t>(l.value);
    return Wrapped(op == "<<" ? static_cast<std::int64_t>(ul << r.value)
                              : l.value >> r.value,
                   l.bits, l.is_unsigned);
  }
  if (op == "==") return truth(a.value == b.value);
  if (op == "!=") return truth(a.value != b.value);
  if (op == "<") return truth(a.value < b.value);
  if (op == ">") return truth(a.value > b.value);
  if (op == "<=") return truth(a.value <= b.value);
  if (op == ">=") return truth(a.value >= b.value);
  if (op == "&&") return truth(a.value != 0 && b.value != 0);
  if (op == "||") return truth(a.value != 0 || b.value != 0);
  return std::nullopt;
}

Value Binary(const Value& l, std::string_view op, const Value& r) {
  if (l.kind == Value::Kind::kConstant && r.kind == Value::Kind::kConstant) {
    const std::optional<Typed> result = Arithmetic(l.constant, op, r.constant);
    if (!result) return Unknown();
    Value v = Constant(result->value, result->bits, result->is_unsigned);
    return v;
  }
  if (op.size() == 1 && (op[0] == '&' || op[0] == '|' || op[0] == '^')) {
    return Bitwise(l, op[0], r);
  }
  return Unknown();
}

struct BinaryOp {
  std::string_view text;
  int precedence;
  std::string_view as;  // the C operator it computes
};
constexpr std::array kCBinary{
    BinaryOp{"||", 1, "||"}, BinaryOp{"&&", 2, "&&"}, BinaryOp{"|", 3, "|"},
    BinaryOp{"^", 4, "^"},   BinaryOp{"&", 5, "&"},   BinaryOp{"==", 6, "=="},
    BinaryOp{"!=", 6, "!="}, BinaryOp{"<", 7, "<"},   BinaryOp{">", 7, ">"},
    BinaryOp{"<=", 7, "<="}, BinaryOp{">=", 7, ">="}, BinaryOp{"<<", 8, "<<"},
    BinaryOp{">>", 8, ">>"}, BinaryOp{"+", 9, "+"},   BinaryOp{"-", 9, "-"},
    BinaryOp{"*", 10, "*"},  BinaryOp{"/", 10, "/"},  BinaryOp{"%", 10, "%"},
};
// A51's operator words and sdas's punctuators; < and > are byte selectors.
constexpr std::array kAsmBinary{
    BinaryOp{"OR", 3, "|"},   BinaryOp{"|", 3, "|"},    BinaryOp{"XOR", 4, "^"},
    BinaryOp{"^", 4, "^"},    BinaryOp{"AND", 5, "&"},  BinaryOp{"&", 5, "&"},
    BinaryOp{"SHL", 8, "<<"}, BinaryOp{"SHR", 8, ">>"}, BinaryOp{"<<", 8, "<<"},
    BinaryOp{">>", 8, ">>"},  BinaryOp{"+", 9, "+"},    BinaryOp{"-", 9, "-"},
    BinaryOp{"*", 10, "*"},   BinaryOp{"/", 10, "/"},   BinaryOp{"%", 10, "%"},
    BinaryOp{"MOD", 10, "%"},
};

constexpr int kMaxDepth = 200;

class Parser {
 public:
  Parser(std::span<const Token> tokens, Dialect dialect, NameLookup lookup,
         const void* context)
      : tokens_(tokens),
        dialect_(dialect),
        lookup_(lookup),
        context_(context) {}

  Value Whole() {
    Value v = Expression(0);
    if (failed_ || at_ < tokens_.size()) v = Unknown();
    if (v.kind == Value::Kind::kUnknown) v.depends = depends_;
    return v;
  }

 private:
  const Token* Peek() const {
    return at_ < tokens_.size() ? &tokens_[at_] : nullptr;
  }
  bool Is(std::string_view text) const {
    const Token* t = Peek();
    return t && t->kind != TokenKind::kNumber &&
           (dialect_ == Dialect::kC ? t->text == text : Upper(t->text) == text);
  }
  Value Fail() {
    failed_ = true;
    return Unknown();
  }

  const BinaryOp* BinaryHere() const {
    const Token* t = Peek();
    if (!t || t->kind == TokenKind::kNumber) return nullptr;
    if (dialect_ == Dialect::kC) {
      for (const BinaryOp& op : kCBinary) {
        if (t->kind == TokenKind::kPunct && t->text == op.text) return &op;
      }
      return nullptr;
    }
    const std::string upper = Upper(t->text);
    for (const BinaryOp& op : kAsmBinary) {
      if (upper == op.text) return &op;
    }
    return nullptr;
  }

  Value Expression(int min_precedence) {
    if (++depth_ > kMaxDepth) return Fail();
    Value left = Prefix();
    while (!failed_) {
      const BinaryOp* op = BinaryHere();
      if (op == nullptr || op->precedence < min_precedence) break;
      ++at_;
      const Value right = Expression(op->precedence + 1);
      left = Binary(left, op->as, right);
    }
    if (!failed_ && min_precedence == 0 && dialect_ == Dialect::kC && Is("?")) {
      ++at_;
      const Value yes = Expression(0);
      if (!Is(":")) return Fail();
      ++at_;
      const Value no = Expression(0);
      if (left.kind != Value::Kind::kConstant) return Unknown();
      left = left.constant.value != 0 ? yes : no;
    }
    --depth_;
    return left;
  }

  Value Prefix() {
    if (++depth_ > kMaxDepth) return Fail();
    Value v = PrefixBody();
    --depth_;
    return v;
  }

  Value PrefixBody() {
    const Token* t = Peek();
    if (!t) return Fail();
    if (Is("-") || Is("+") || Is("~") || Is("!") ||
        (dialect_ == Dialect::kAssembly && Is("NOT"))) {
      const std::string op = Upper(t->text);
      ++at_;
      const Value v = Prefix();
      return Unary(op, v);
    }
    if (dialect_ == Dialect::kAssembly &&
        (Is(">") || Is("<") || Is("HIGH") || Is("LOW"))) {
      const bool high = Is(">") || Is("HIGH");
      ++at_;
      const Value v = Prefix();
      if (v.kind != Value::Kind::kConstant) return Unknown();
      return Constant(
          high ? (v.constant.value >> 8) & 0xFF : v.constant.value & 0xFF, 32);
    }
    if (Is("(")) return Parenthesised();
    return Primary();
  }

  Value Unary(std::string_view op, const Value& v) {
    if (v.kind == Value::Kind::kRegister && (op == "~" || op == "NOT")) {
      return Bitwise(v, '^', Constant(-1, 32));
    }
    if (v.kind != Value::Kind::kConstant) return Unknown();
    const Typed& c = v.constant;
    if (op == "-") return Constant(-c.value, c.bits, c.is_unsigned);
    if (op == "~" || op == "NOT") {
      return Constant(~c.value, c.bits, c.is_unsigned);
    }
    if (op == "!") return Constant(c.value == 0 ? 1 : 0);
    return v;
  }

  // A cast's type: its width and sign, or none when the parenthesis holds
  // no type.
  std::optional<Typed> CastType() {
    static constexpr std::array<std::string_view, 12> kWords{
        "unsigned", "signed", "char",    "short",  "int",      "long",
        "volatile", "const",  "uint8_t", "int8_t", "uint16_t", "int16_t"};
    std::size_t end = at_ + 1;
    Typed type{0, 16, false};
    bool any = false;
    for (; end < tokens_.size() && tokens_[end].text != ")"; ++end) {
      const std::string_view word = tokens_[end].text;
      if (tokens_[end].kind != TokenKind::kName) return std::nullopt;
      if (word == "uint32_t" || word == "int32_t" || word == "long") {
        type.bits = 32;
      } else if (std::find(kWords.begin(), kWords.end(), word) ==
                 kWords.end()) {
        return std::nullopt;
      }
      if (word == "char" || word.find("int8") != word.npos) type.bits = 8;
      if (word == "unsigned" || word.starts_with("uint")) {
        type.is_unsigned = true;
      }
      any = true;
    }
    if (!any || end >= tokens_.size()) return std::nullopt;
    at_ = end + 1;
    return type;
  }

  Value Parenthesised() {
    if (dialect_ == Dialect::kC) {
      if (const std::optional<Typed> type = CastType()) {
        const Value v = Prefix();
        if (v.kind == Value::Kind::kRegister && type->bits == 8) {
          return Bitwise(v, '&', Constant(0xFF));
        }
        if (v.kind != Value::Kind::kConstant) return v;
        const Typed cast =
            Wrapped(v.constant.value, type->bits, type->is_unsigned);
        // A char promotes to int at once.
        if (cast.bits == 8) return Constant(cast.value);
        return Constant(cast.value, cast.bits, cast.is_unsigned);
      }
    }
    ++at_;
    const Value v = Expression(0);
    if (!Is(")")) return Fail();
    ++at_;
    return v;
  }

  Value Primary() {
    const Token& t = tokens_[at_++];
    if (t.kind == TokenKind::kNumber) {
      if (dialect_ == Dialect::kAssembly) return Constant(t.number, 32);
      return Constant(t.number, t.is_long ? 32 : 16, t.is_unsigned);
    }
    if (t.kind != TokenKind::kName) {
      // A literal neither compiler reads ("0b_0000_1000") is named too.
      if (!t.text.empty() &&
          std::isdigit(static_cast<unsigned char>(t.text[0]))) {
        Depends(t.text);
      }
      return Fail();
    }
    // A call, an element or a member: a run-time value.
    if (Is("(") || Is("[") || Is(".") || Is("->") || Is("++") || Is("--")) {
      Depends(Is("(") ? t.text + "()" : t.text);
      return Fail();
    }
    Value v = lookup_(context_, t.text);
    if (v.kind != Value::Kind::kConstant) Depends(t.text);
    return v;
  }

  void Depends(const std::string& name) {
    if (depends_.empty()) depends_ = name;
  }

  std::span<const Token> tokens_;
  Dialect dialect_;
  NameLookup lookup_;
  const void* context_;
  std::size_t at_ = 0;
  int depth_ = 0;
  bool failed_ = false;
  std::string depends_;
};

}  // namespace

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

Typed Wrapped(std::int64_t value, int bits, bool is_unsigned) {
  const std::uint64_t modulus = std::uint64_t{1} << bits;
  std::uint64_t v = static_cast<std::uint64_t>(value) & (modulus - 1);
  if (!is_unsigned && v >= modulus / 2) v -= modulus;
  return {static_cast<std::int64_t>(v), bits, is_unsigned};
}

Value Constant(std::int64_t value, int bits, bool is_unsigned) {
  Value v;
  v.kind = Value::Kind::kConstant;
  v.constant = Wrapped(value, bits, is_unsigned);
  return v;
}

Value RegisterValue(const Place& reg) {
  Value v;
  v.kind = Value::Kind::kRegister;
  v.reg = reg;
  return v;
}

Value Unknown() { return Value{}; }

// Per bit, the register's bit, its complement, 0 or 1: a constant's 0s
// clear bits for &, its 1s set them for | (whatever the and mask keeps
// under them) and flip them for ^.
Value Bitwise(const Value& left, char op, const Value& right) {
  if (left.kind == Value::Kind::kConstant &&
      right.kind == Value::Kind::kRegister) {
    return Bitwise(right, op, left);
  }
  if (left.kind == Value::Kind::kConstant &&
      right.kind == Value::Kind::kConstant) {
    return Binary(left, std::string_view(&op, 1), right);
  }
  if (left.kind != Value::Kind::kRegister ||
      right.kind != Value::Kind::kConstant) {
    return Unknown();
  }
  const auto c = static_cast<std::uint32_t>(right.constant.value);
  Value v = left;
  if (op == '&') {
    v.and_mask &= c;
    v.or_mask &= c;
    v.xor_mask &= c;
  } else if (op == '|') {
    v.or_mask |= c;
    v.xor_mask &= ~c;
  } else {
    v.xor_mask ^= c;
  }
  return v;
}

Value Evaluate(std::span<const Token> tokens, Dialect dialect,
               NameLookup lookup, const void* context) {
  if (tokens.empty()) return Unknown();
  return Parser(tokens, dialect, lookup, context).Whole();
}

void AddWrite(const Place& target, const Value& value, int line, int vector,
              std::vector<Effect>& effects) {
  auto add = [&](EffectOp op, std::int64_t number) {
    effects.push_back({line, target, op, number, {}, vector, {}});
  };
  if (value.kind == Value::Kind::kConstant) {
    add(EffectOp::kAssign, value.constant.value);
  } else if (value.kind == Value::Kind::kUnknown) {
    add(EffectOp::kUnknown, 0);
    effects.back().depends = value.depends;
  } else if (value.reg.name != target.name ||
             value.reg.address != target.address ||
             value.reg.bit != target.bit) {
    if (!value.IsPlainRegister()) {
      add(EffectOp::kUnknown, 0);
      effects.back().depends = value.reg.name;
      return;
    }
    add(EffectOp::kCopy, 0);
    effects.back().source = value.reg;
  } else {
    // Masks print as C's int would: ~0x80 as -129.
    auto as_int = [](std::uint32_t mask) {
      return static_cast<std::int64_t>(static_cast<std::int32_t>(mask));
    };
    const std::size_t before = effects.size();
    if ((value.and_mask | value.or_mask) != ~0u) {
      add(EffectOp::kAnd, as_int(value.and_mask));
    }
    if (value.or_mask != 0) add(EffectOp::kOr, as_int(value.or_mask));
    if (value.xor_mask != 0) add(EffectOp::kXor, as_int(value.xor_mask));
    if (effects.size() == before) add(EffectOp::kOr, 0);
  }
}

std::size_t PastParenthesis(std::span<const Token> t, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < t.size(); ++i) {
    if (Is(t[i], "(")) ++depth;
    if (Is(t[i], ")") && --depth == 0) return i + 1;
  }
  return t.size();
}

int VectorAt(std::int64_t address) {
  if (address < 3 || address > 0x3FF || (address - 3) % 8 != 0) return -1;
  return static_cast<int>((address - 3) / 8);
}

}  // namespace mcs51::reading
