#include "mcs51/reading/c_conditions.h"

#include <array>
#include <cstdint>
#include <limits>

namespace mcs51::reading {
namespace {

// Binary operators by precedence, loosest first; ?: is looser than all.
constexpr std::array<std::array<std::string_view, 6>, 10> kLevels{{
    {"||"},
    {"&&"},
    {"|"},
    {"^"},
    {"&"},
    {"==", "!="},
    {"<", "<=", ">", ">="},
    {"<<", ">>"},
    {"+", "-"},
    {"*", "/", "%"},
}};

// Precedence climbing over the tokens; a failure stops at the first.
class Evaluator {
 public:
  explicit Evaluator(std::span<const Token> tokens) : tokens_(tokens) {}

  Condition Whole() {
    const std::int64_t v = Choice();
    if (failed_ || at_ != tokens_.size()) return {std::nullopt, unknown_};
    return {v != 0, {}};
  }

 private:
  bool Is(std::string_view text) const {
    return at_ < tokens_.size() && tokens_[at_].kind == TokenKind::kPunct &&
           tokens_[at_].text == text;
  }

  std::int64_t Fail(std::string name = {}) {
    if (!failed_) unknown_ = std::move(name);
    failed_ = true;
    at_ = tokens_.size();
    return 0;
  }

  std::int64_t Choice() {
    const std::int64_t c = Binary(0);
    if (!Is("?")) return c;
    ++at_;
    const std::int64_t yes = Choice();
    if (!Is(":")) return Fail();
    ++at_;
    const std::int64_t no = Choice();
    return c != 0 ? yes : no;
  }

  std::int64_t Binary(std::size_t level) {
    if (level == kLevels.size()) return Unary();
    std::int64_t left = Binary(level + 1);
    for (;;) {
      std::string_view op;
      for (std::string_view each : kLevels[level]) {
        if (!each.empty() && Is(each)) op = each;
      }
      if (op.empty()) return left;
      ++at_;
      left = Apply(op, left, Binary(level + 1));
    }
  }

  std::int64_t Apply(std::string_view op, std::int64_t a, std::int64_t b) {
    using U = std::uint64_t;
    if (op == "||") return a != 0 || b != 0;
    if (op == "&&") return a != 0 && b != 0;
    if (op == "|") return a | b;
    if (op == "^") return a ^ b;
    if (op == "&") return a & b;
    if (op == "==") return a == b;
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == "<=") return a <= b;
    if (op == ">") return a > b;
    if (op == ">=") return a >= b;
    if (op == "<<" || op == ">>") {
      if (b < 0 || b > 63) return Fail();
      return op == "<<" ? static_cast<std::int64_t>(static_cast<U>(a) << b)
                        : a >> b;
    }
    // Wrapping as the compilers' intmax_t arithmetic may, never undefined.
    if (op == "+") return static_cast<std::int64_t>(U(a) + U(b));
    if (op == "-") return static_cast<std::int64_t>(U(a) - U(b));
    if (op == "*") return static_cast<std::int64_t>(U(a) * U(b));
    if (b == 0 || (a == std::numeric_limits<std::int64_t>::min() && b == -1)) {
      return Fail();
    }
    return op == "/" ? a / b : a % b;
  }

  // Parentheses and unary operators nest by recursion: bounded, so that no
  // paste can exhaust the stack.
  std::int64_t Unary() {
    if (at_ >= tokens_.size() || ++depth_ > kMaxDepth) return Fail();
    const std::int64_t v = Operand();
    --depth_;
    return v;
  }

  std::int64_t Operand() {
    const Token& t = tokens_[at_++];
    if (t.kind == TokenKind::kNumber) return t.number;
    if (t.kind == TokenKind::kName) return Fail(t.text);
    if (t.text == "(") {
      const std::int64_t v = Choice();
      if (!Is(")")) return Fail();
      ++at_;
      return v;
    }
    const std::int64_t v = Unary();
    if (t.text == "!") return v == 0;
    if (t.text == "~") return ~v;
    if (t.text == "-") return static_cast<std::int64_t>(0 - std::uint64_t(v));
    if (t.text == "+") return v;
    return Fail();
  }

  static constexpr int kMaxDepth = 256;
  std::span<const Token> tokens_;
  std::size_t at_ = 0;
  int depth_ = 0;
  bool failed_ = false;
  std::string unknown_;
};

}  // namespace

Condition ConditionValue(std::span<const Token> tokens) {
  return Evaluator(tokens).Whole();
}

void Branches::Decided(const Condition& c, int line, Branch& b,
                       std::vector<Unresolved>& unresolved) {
  if (!c.value) {
    b.unknown = true;
    b.taking = false;
    unresolved.push_back({line, c.unknown});
    return;
  }
  b.taking = *c.value;
  b.taken = *c.value;
}

}  // namespace mcs51::reading
