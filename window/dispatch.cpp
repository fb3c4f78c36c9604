#include "window/dispatch.h"

#include <exception>

#include "calc/runtime_error.h"
#include "window/words.h"

namespace window {

std::string ErrorWords(std::exception_ptr error) {
  if (!error) return std::string(kUnknownError);
  try {
    std::rethrow_exception(error);
  } catch (const calc::RuntimeError& caught) {
    return std::string(ErrorMessage(caught.Kind()));
  } catch (const std::exception& caught) {
    return caught.what();
  } catch (...) {
    return std::string(kUnknownError);
  }
}

void Dispatch(const std::function<void()>& work,
              const Reporter& report) noexcept {
  try {
    work();
  } catch (...) {
    try {
      report(ErrorWords(std::current_exception()));
    } catch (...) {
      // Out of memory for a message: nothing is left to tell it with.
    }
  }
}

}  // namespace window
