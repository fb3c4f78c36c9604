#include "win32/error_report.h"

#include "win32/text.h"
#include "window/description.h"

namespace win32 {

void ShowErrorMessageBox(HWND owner, std::string_view message) {
  MessageBoxW(owner, Wide(message).c_str(),
              Wide(window::kForm1.caption).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace win32
