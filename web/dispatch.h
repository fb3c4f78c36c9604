#pragma once
// The one way into the window's handlers. Nothing thrown by a handler may
// reach the browser's event loop, so every failure stops here and is shown.

#include <functional>

namespace web {

// Runs `handler`; whatever it throws is shown in the modal message, and the
// window carries on as the failure left it.
void Dispatch(const std::function<void()>& handler) noexcept;

}  // namespace web
