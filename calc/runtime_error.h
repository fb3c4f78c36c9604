#pragma once
// The run-time errors that the calculation raises and the application shell
// reports. Nothing in calc/ catches them; each front end words the kind.

#include <stdexcept>

namespace calc {

enum class ErrorKind {
  kDivisionByZero,  // a non-zero value divided by zero
  kOverflow,        // a result beyond the double or 32-bit range, or NaN
};

// what() names the kind for developers ("division by zero", "overflow");
// what a user reads comes from the front end.
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(ErrorKind kind);
  ErrorKind Kind() const noexcept { return kind_; }

 private:
  ErrorKind kind_;
};

}  // namespace calc
