#include "app/dispatch.h"

#include "app/error_report.h"
#include "window/dispatch.h"

namespace app {

void Dispatch(const std::function<void()>& handler) noexcept {
  window::Dispatch(handler, ReportError);
}

}  // namespace app
