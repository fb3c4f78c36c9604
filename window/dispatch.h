#pragma once
// The one way into the window's handlers for every front end. Nothing thrown
// may cross a toolkit's event loop (Qt's, a window procedure, the browser's
// event handlers), so each front end's dispatch point runs its handlers
// through Dispatch and hands it the way it shows a message.

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace window {

using Reporter = std::function<void(std::string_view message)>;

// The words a user reads for whatever `error` holds.
//   calc::RuntimeError(kDivisionByZero) -> "除数为零"
//   std::invalid_argument("no Combo3")  -> "no Combo3"
//   42                                  -> "未知错误"
std::string ErrorWords(std::exception_ptr error);

// Runs `work`; whatever it throws is handed to `report` as ErrorWords, and
// the program carries on with the window as the failure left it, so a
// mistyped field is corrected rather than ending the calculator. A reporter
// that itself throws is silenced rather than let through.
void Dispatch(const std::function<void()>& work,
              const Reporter& report) noexcept;

}  // namespace window
