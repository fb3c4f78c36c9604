#pragma once
// The preprocessor's conditions, inside the reader: the value of an #if
// and the branches of #if ... #endif as a compiler takes them.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/reading/code_reader.h"
#include "mcs51/reading/code_value.h"

namespace mcs51::reading {

// An #if's value, or why it has none: the first name left once the macros
// were expanded (a compiler would read it as 0, but the code may well be
// built with it defined), or "" for a condition that is no expression or
// divides by zero.
//   {1, "==", 1}         -> {true}
//   {"BAUD_TIMER", "==", 1} -> {nullopt, "BAUD_TIMER"}
//   {1, "/", 0}          -> {nullopt, ""}
struct Condition {
  std::optional<bool> value;
  std::string unknown;
};

// The value of `tokens`, defined() already replaced and macros expanded,
// in C's integer arithmetic (intmax_t: 64 bits here): unary + - ~ !,
// * / % + - << >> < <= > >= == != & ^ | && || ?: and parentheses.
Condition ConditionValue(std::span<const Token> tokens);

// The branches open at a point of the source. A branch whose condition
// has no value takes neither side, and says so in `unresolved`.
class Branches {
 public:
  // Whether the tokens here are read.
  bool Taking() const { return open_.empty() || open_.back().taking; }

  // `directive` ("if", "ifdef", "ifndef", "elif", "else" or "endif") at
  // `line`; `condition` is its value, asked for only when it matters.
  template <typename Decide>
  void Enter(std::string_view directive, int line, Decide condition,
             std::vector<Unresolved>& unresolved) {
    const bool opens =
        directive == "if" || directive == "ifdef" || directive == "ifndef";
    if (opens) open_.push_back({Taking(), false, false, false});
    if (open_.empty()) return;  // an #else or #endif with no #if
    Branch& b = open_.back();
    if (directive == "endif") {
      open_.pop_back();
    } else if (directive == "else") {
      b.taking = b.outer && !b.taken && !b.unknown;
      b.taken = true;
    } else if (b.taken || b.unknown || !b.outer) {
      b.taking = false;
    } else {
      Decided(condition(), line, b, unresolved);
    }
  }

 private:
  struct Branch {
    bool outer;    // whether the code around it is read
    bool taken;    // a side has been taken
    bool unknown;  // a condition had no value: no side is taken
    bool taking;   // this side is read
  };
  static void Decided(const Condition& c, int line, Branch& b,
                      std::vector<Unresolved>& unresolved);
  std::vector<Branch> open_;
};

}  // namespace mcs51::reading
