#pragma once
// The run-time errors that the calculation raises and the application shell
// reports. Nothing in calc/ catches them.

#include <stdexcept>
#include <string_view>

namespace calc {

enum class ErrorKind {
  kDivisionByZero,  // a non-zero value divided by zero
  kOverflow,        // a result beyond the double or 32-bit range, or NaN
};

// The message the user reads, in the program's language (UTF-8):
//   ErrorMessage(ErrorKind::kDivisionByZero) -> "除数为零"
//   ErrorMessage(ErrorKind::kOverflow)       -> "溢出"
std::string_view ErrorMessage(ErrorKind kind) noexcept;

// what() is ErrorMessage(Kind()).
class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(ErrorKind kind);
  ErrorKind Kind() const noexcept { return kind_; }

 private:
  ErrorKind kind_;
};

}  // namespace calc
