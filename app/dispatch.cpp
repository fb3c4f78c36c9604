#include "app/dispatch.h"

#include <exception>

#include "app/error_report.h"
#include "calc/runtime_error.h"
#include "window/words.h"

namespace app {

void Dispatch(const std::function<void()>& handler) noexcept {
  try {
    handler();
  } catch (const calc::RuntimeError& error) {
    ReportError(window::ErrorMessage(error.Kind()));
  } catch (const std::exception& error) {
    ReportError(error.what());
  } catch (...) {
    ReportError(window::kUnknownError);
  }
}

}  // namespace app
