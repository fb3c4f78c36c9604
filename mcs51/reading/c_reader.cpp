// C statement by statement: declarations of registers, assignments to
// them, the interrupt handlers they sit in, and the functions the code
// calls with constants, followed with them.
#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

using Tokens = std::span<const Token>;

// A called function's parameters, as its call gives them.
using Bindings = std::map<std::string, Value, std::less<>>;

// A parameter is what its call binds it to (the context: the Bindings, or
// none); other names are registers or variables, which is the caller's to
// say.
Value LookupC(const void* context, std::string_view name) {
  if (const auto* bindings = static_cast<const Bindings*>(context)) {
    if (const auto bound = bindings->find(name); bound != bindings->end()) {
      return bound->second;
    }
  }
  return RegisterValue(Place{std::string(name)});
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

constexpr std::array<std::string_view, 11> kAssignments{
    "=", "|=", "&=", "^=", "+=", "-=", "*=", "/=", "%=", "<<=", ">>="};

// NAME op= NAME op= ... expression, the rightmost written first.
void Assignment(Tokens t, int vector, const Bindings& bindings,
                std::vector<Effect>& effects) {
  std::size_t i = 0;
  while (i + 1 < t.size() && t[i].kind == TokenKind::kName &&
         t[i + 1].kind == TokenKind::kPunct &&
         std::find(kAssignments.begin(), kAssignments.end(), t[i + 1].text) !=
             kAssignments.end()) {
    i += 2;
  }
  if (i == 0) return;
  Value v = Evaluate(t.subspan(i), Dialect::kC, LookupC, &bindings);
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
  const Value v = Evaluate(t, Dialect::kC, LookupC, nullptr);
  if (v.kind != Value::Kind::kConstant) return std::nullopt;
  return v.constant.value;
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

// A function the code defines with parameters, and whether any code calls
// it: a called one is read where it is called, with its arguments.
struct Function {
  std::vector<std::string> parameters;
  std::vector<Tokens> types;        // each parameter's, as written
  std::size_t open = 0, close = 0;  // its braces, in the whole
  bool called = false;
};

// Calls nest at most this deep, are followed at most this often, and read
// at most a few times the code's own tokens again, so a recursive or
// fanned-out paste stays quick.
constexpr int kMaxCallDepth = 16;
constexpr int kMaxCalls = 4096;
constexpr std::size_t kFollowedTokensPerToken = 4;

class CReader {
 public:
  CReader(CodeReading& reading, Tokens all) : reading_(reading), all_(all) {
    FindFunctions();
  }

  void Read() { Block(0, all_.size(), -1, constants_, 0); }

 private:
  // The statements between `begin` and `end`, at `vector`; a called
  // function's body is skipped where it is defined.
  void Block(std::size_t begin, std::size_t end, int vector,
             const Bindings& bindings, int calls) {
    std::vector<int> blocks{vector};  // each open brace's vector
    std::size_t from = begin;
    int depth = 0;
    for (std::size_t i = begin; i < end; ++i) {
      const Token& t = all_[i];
      if (Is(t, "(")) ++depth;
      if (Is(t, ")")) depth = std::max(0, depth - 1);
      const bool brace = Is(t, "{") || Is(t, "}");
      if (!brace && !(depth == 0 && Is(t, ";"))) continue;
      const Tokens segment = all_.subspan(from, i - from);
      if (Is(t, "{")) {
        if (const Function* f = Defined(i); f != nullptr && f->called) {
          i = f->close;
        } else {
          const int own = HandlerVector(segment);
          if (own >= 0) reading_.handlers.push_back(own);
          blocks.push_back(own >= 0 ? own : blocks.back());
        }
      } else if (Is(t, "}")) {
        if (blocks.size() > 1) blocks.pop_back();
      } else {
        Statement(segment, blocks.back(), bindings, calls);
      }
      depth = 0;
      from = i + 1;
    }
  }

  void Statement(Tokens t, int vector, const Bindings& bindings, int calls) {
    t = Body(t);
    if (t.empty() || CDeclaration(reading_, t) || Constant(t, bindings) ||
        Call(t, vector, bindings, calls)) {
      return;
    }
    std::size_t from = 0;
    int depth = 0;
    for (std::size_t i = 0; i <= t.size(); ++i) {
      if (i < t.size() && (Is(t[i], "(") || Is(t[i], "["))) ++depth;
      if (i < t.size() && (Is(t[i], ")") || Is(t[i], "]"))) --depth;
      if (i == t.size() || (depth == 0 && Is(t[i], ","))) {
        Assignment(t.subspan(from, i - from), vector, bindings,
                   reading_.effects);
        from = i + 1;
      }
    }
  }

  // "const unsigned char code RELOAD = 0xFD;": a name whose value the
  // compiler knows, from here on. True when the statement declares a const.
  bool Constant(Tokens t, const Bindings& bindings) {
    const auto eq = std::find_if(t.begin(), t.end(),
                                 [](const Token& x) { return Is(x, "="); });
    const Tokens head = t.first(static_cast<std::size_t>(eq - t.begin()));
    if (eq == t.end() || head.size() < 2 ||
        head.back().kind != TokenKind::kName ||
        std::none_of(head.begin(), head.end(),
                     [](const Token& x) { return Is(x, "const"); })) {
      return false;
    }
    if (std::any_of(head.begin(), head.end(), [](const Token& x) {
          return Is(x, "[") || Is(x, "*") || Is(x, "(");
        })) {
      return true;  // an array or a pointer: no one value
    }
    std::vector<Token> type;  // the type's own words, storage words gone
    for (const Token& word : head.first(head.size() - 1)) {
      if (!Is(word, "const") && !Is(word, "static") && !Is(word, "code") &&
          !Is(word, "__code") && !Is(word, "volatile")) {
        type.push_back(word);
      }
    }
    const Value v = AsType(type, t.subspan(head.size() + 1), bindings);
    if (v.kind == Value::Kind::kConstant) constants_[head.back().text] = v;
    return true;
  }

  // A value as a variable of `type` holds it: (TYPE)(VALUE), or the value
  // where the type is none C's cast reads.
  static Value AsType(std::span<const Token> type, Tokens value,
                      const Bindings& bindings) {
    std::vector<Token> cast{{TokenKind::kPunct, "("}};
    cast.insert(cast.end(), type.begin(), type.end());
    cast.push_back({TokenKind::kPunct, ")"});
    cast.push_back({TokenKind::kPunct, "("});
    cast.insert(cast.end(), value.begin(), value.end());
    cast.push_back({TokenKind::kPunct, ")"});
    const Value v = Evaluate(cast, Dialect::kC, LookupC, &bindings);
    if (v.kind == Value::Kind::kConstant) return v;
    return Evaluate(value, Dialect::kC, LookupC, &bindings);
  }

  // "f(0xFA, 2)" of a function the code defines with parameters: its body
  // read with each parameter bound to its argument's value, a constant or
  // unknown.
  bool Call(Tokens t, int vector, const Bindings& bindings, int calls) {
    if (t.size() < 3 || t[0].kind != TokenKind::kName || !Is(t[1], "(") ||
        PastParenthesis(t, 1) != t.size()) {
      return false;
    }
    const auto f = functions_.find(t[0].text);
    if (f == functions_.end()) return false;
    const Function& callee = f->second;
    followed_tokens_ += callee.close - callee.open;
    if (calls >= kMaxCallDepth || ++followed_ > kMaxCalls ||
        followed_tokens_ > kFollowedTokensPerToken * all_.size() + 65536) {
      return true;
    }
    Bindings bound = constants_;
    const std::vector<Tokens> arguments = Arguments(t.subspan(2, t.size() - 3));
    for (std::size_t i = 0; i < callee.parameters.size(); ++i) {
      if (i >= arguments.size()) break;
      const Value v = AsType(callee.types[i], arguments[i], bindings);
      if (v.kind == Value::Kind::kConstant) {
        bound[callee.parameters[i]] = v;
      } else {
        bound.erase(callee.parameters[i]);  // a parameter hides a const
      }
    }
    Block(callee.open + 1, callee.close, vector, bound, calls + 1);
    return true;
  }

  static std::vector<Tokens> Arguments(Tokens t) {
    std::vector<Tokens> arguments;
    std::size_t from = 0;
    int depth = 0;
    for (std::size_t i = 0; i <= t.size(); ++i) {
      if (i < t.size() && Is(t[i], "(")) ++depth;
      if (i < t.size() && Is(t[i], ")")) --depth;
      if (i == t.size() || (depth == 0 && Is(t[i], ","))) {
        arguments.push_back(t.subspan(from, i - from));
        from = i + 1;
      }
    }
    return arguments;
  }

  const Function* Defined(std::size_t open) const {
    const auto named = by_open_.find(open);
    return named == by_open_.end() ? nullptr : &functions_.at(named->second);
  }

  // Each "NAME(TYPE a, TYPE b) {" outside braces, and whether a call of
  // NAME stands inside any braces.
  void FindFunctions() {
    std::size_t from = 0;
    std::vector<std::size_t> opens;
    std::vector<std::size_t> calls;
    for (std::size_t i = 0; i < all_.size(); ++i) {
      if (Is(all_[i], "{")) {
        if (opens.empty()) Header(all_.subspan(from, i - from), i);
        opens.push_back(i);
      } else if (Is(all_[i], "}") && !opens.empty()) {
        if (const auto named = by_open_.find(opens.back());
            named != by_open_.end()) {
          functions_[named->second].close = i;
        }
        opens.pop_back();
      } else if (!opens.empty() && all_[i].kind == TokenKind::kName &&
                 i + 1 < all_.size() && Is(all_[i + 1], "(")) {
        calls.push_back(i);
      }
      if (Is(all_[i], ";") || Is(all_[i], "{") || Is(all_[i], "}")) {
        from = i + 1;
      }
    }
    std::erase_if(by_open_, [&](const auto& named) {
      return functions_[named.second].close == 0;
    });
    std::erase_if(functions_,
                  [](const auto& f) { return f.second.close == 0; });
    for (const std::size_t call : calls) {
      if (const auto f = functions_.find(all_[call].text);
          f != functions_.end()) {
        f->second.called = true;
      }
    }
  }

  void Header(Tokens t, std::size_t open) {
    if (t.size() < 4 || std::any_of(t.begin(), t.end(), [](const Token& x) {
          return Is(x, "=");
        })) {
      return;
    }
    std::size_t paren = 1;
    while (paren < t.size() && !Is(t[paren], "(")) ++paren;
    if (paren >= t.size() || t[paren - 1].kind != TokenKind::kName) return;
    const std::size_t past = PastParenthesis(t, paren);
    Function f;
    f.open = open;
    for (const Tokens p : Arguments(t.subspan(paren + 1, past - paren - 2))) {
      if (p.size() >= 2 && p.back().kind == TokenKind::kName) {
        f.parameters.push_back(p.back().text);
        f.types.push_back(p.first(p.size() - 1));
      }
    }
    if (f.parameters.empty()) return;
    const std::string& name = t[paren - 1].text;
    if (const auto earlier = functions_.find(name);
        earlier != functions_.end()) {
      by_open_.erase(earlier->second.open);
    }
    functions_[name] = f;
    by_open_[open] = name;
  }

  CodeReading& reading_;
  Tokens all_;
  std::map<std::string, Function, std::less<>> functions_;
  std::map<std::size_t, std::string> by_open_;  // each function's "{"
  Bindings constants_;  // the code's consts with values, as read so far
  int followed_ = 0;
  std::size_t followed_tokens_ = 0;
};

}  // namespace

void ReadC(std::span<const Token> tokens, CodeReading& reading) {
  CReader(reading, tokens).Read();
}

}  // namespace mcs51::reading
