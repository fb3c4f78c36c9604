#pragma once
// The child-window IDs of the controls, which automation tools and the tests
// find them by.

#include "window/description.h"

namespace win32 {

// Clear of IDOK (1) and IDCANCEL (2): the dialog manager turns Enter and Esc
// into WM_COMMAND with those IDs, and neither button is the default or the
// cancel button.
inline constexpr int kFirstControlId = 100;

// A control's ID follows its tab index, which is unique in a window.
//   ControlId(Label1) -> 100 (tab index 0)
//   ControlId(Combo2) -> 115 (tab index 15)
constexpr int ControlId(const window::ControlRecord& record) {
  return kFirstControlId + record.tab_index;
}

}  // namespace win32
