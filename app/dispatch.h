#pragma once
// The one way into the window's handlers. Nothing thrown by a handler may
// cross Qt's event loop, so every failure stops here and is reported.

#include <functional>

namespace app {

// Runs `handler`; whatever it throws goes to ReportError. Our choice: the
// program carries on after the report, with the window as the failure left
// it, so a mistyped field is corrected rather than ending the calculator.
void Dispatch(const std::function<void()>& handler) noexcept;

}  // namespace app
