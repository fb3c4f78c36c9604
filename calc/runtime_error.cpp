#include "calc/runtime_error.h"

#include <string>

namespace calc {

std::string_view ErrorMessage(ErrorKind kind) noexcept {
  switch (kind) {
    case ErrorKind::kDivisionByZero:
      return "除数为零";
    case ErrorKind::kOverflow:
      return "溢出";
  }
  return "溢出";  // unreachable: every kind is listed above
}

RuntimeError::RuntimeError(ErrorKind kind)
    : std::runtime_error(std::string(ErrorMessage(kind))), kind_(kind) {}

}  // namespace calc
