#pragma once
// The Qt program's one way into the window's handlers. Nothing thrown by a
// handler may cross Qt's event loop, so every failure stops here.

#include <functional>

namespace app {

// Runs `handler` through window::Dispatch; the words of whatever it throws
// go to ReportError, and the program carries on.
void Dispatch(const std::function<void()>& handler) noexcept;

}  // namespace app
