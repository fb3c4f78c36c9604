#pragma once
// The behaviour of the one window: its three event handlers. Failures are
// exceptions that leave the handler; none is caught here.

#include "window/controls.h"

namespace window {

class Form1 {
 public:
  explicit Form1(Controls& controls) : controls_(controls) {}

  void Load();
  void Command1_Click();
  void Command2_Click();

 private:
  Controls& controls_;
};

}  // namespace window
