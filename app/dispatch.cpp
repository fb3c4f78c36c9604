#include "app/dispatch.h"

#include <exception>

#include "app/error_report.h"
#include "calc/runtime_error.h"

namespace app {

void Dispatch(const std::function<void()>& handler) noexcept {
  try {
    handler();
  } catch (const calc::RuntimeError& error) {
    ReportError(calc::ErrorMessage(error.Kind()));
  } catch (const std::exception& error) {
    ReportError(error.what());
  } catch (...) {
    ReportError("未知错误");
  }
}

}  // namespace app
