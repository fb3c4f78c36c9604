#include "calc/runtime_error.h"

namespace calc {

RuntimeError::RuntimeError(ErrorKind kind)
    : std::runtime_error(kind == ErrorKind::kDivisionByZero ? "division by zero"
                                                            : "overflow"),
      kind_(kind) {}

}  // namespace calc
