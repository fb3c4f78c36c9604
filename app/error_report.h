#pragma once
// Program-wide reporting of the errors that leave a handler.

#include <functional>
#include <string_view>

namespace app {

using ErrorReporter = std::function<void(std::string_view message)>;

// Hands `message` to the current reporter; by default a modal message box.
void ReportError(std::string_view message);

// Replaces the reporter and returns the one it replaces; an empty reporter
// restores the message box. Tests use this to see errors without a modal loop.
ErrorReporter SetErrorReporter(ErrorReporter reporter);

// The default: a modal message box over Form1, titled with its caption,
// that returns once the user closes it.
void ShowErrorMessageBox(std::string_view message);

}  // namespace app
