#pragma once
// What both of the page's programs (the window's, main.cpp, and the one
// below it, below_main.cpp) do at their dispatch points: every exported
// function runs its work through Dispatch, so no exception reaches
// JavaScript, and a link's values are read the same way by either.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace web {

// The modal message over the window; the page goes on as the failure left
// it. The window's host reports through it too.
void Report(std::string_view message);

// Runs `work`; whatever it throws is shown in the modal message over the
// window, as window::ErrorWords words it, and the page goes on as the
// failure left it.
//   a field that does not read       -> the message, fields kept as typed
//   a handler that returns normally  -> nothing shown
void Dispatch(const std::function<void()>& work) noexcept;

// The value of the address's fragment for `key`; none when absent or longer
// than any field's sensible text.
//   "#freq=12&baud=9600", "freq"  -> "12"
//   "#freq=12", "baud"            -> none
//   "#freq=" and 300 digits       -> none
std::optional<std::string> LinkValue(std::string_view key);

}  // namespace web
