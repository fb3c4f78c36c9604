#pragma once
// The one place where the window's failures stop. Nothing thrown may cross a
// window procedure into Windows' own frames, so every procedure runs its work
// through Dispatch.

#include <functional>
#include <string_view>

namespace win32 {

using Reporter = std::function<void(std::string_view message)>;

// Runs `work`; whatever it throws is handed to `report` as the words a user
// reads, and the program carries on with the window as the failure left it.
//   calc::RuntimeError(kDivisionByZero) -> report("除数为零")
//   std::invalid_argument("no Combo3")  -> report("no Combo3")
//   throw 42                            -> report("未知错误")
// A reporter that itself throws is silenced rather than let through.
void Dispatch(const std::function<void()>& work,
              const Reporter& report) noexcept;

}  // namespace win32
