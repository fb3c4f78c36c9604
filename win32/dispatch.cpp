#include "win32/dispatch.h"

#include <exception>

#include "calc/runtime_error.h"
#include "window/words.h"

namespace win32 {
namespace {

void Tell(const Reporter& report, std::string_view message) noexcept {
  try {
    report(message);
  } catch (...) {
    // Out of memory for a message box: nothing is left to tell it with.
  }
}

}  // namespace

void Dispatch(const std::function<void()>& work,
              const Reporter& report) noexcept {
  try {
    work();
  } catch (const calc::RuntimeError& error) {
    Tell(report, window::ErrorMessage(error.Kind()));
  } catch (const std::exception& error) {
    Tell(report, error.what());
  } catch (...) {
    Tell(report, window::kUnknownError);
  }
}

}  // namespace win32
