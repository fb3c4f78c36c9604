#pragma once
// The behaviour of the one window: its three event handlers. Failures are
// exceptions that leave the handler; none is caught here.

#include <string_view>

#include "calc/reload.h"
#include "window/controls.h"

namespace window {

class Form1 {
 public:
  explicit Form1(Controls& controls) : controls_(controls) {}

  // Fills both lists; the fields keep their texts and nothing is selected.
  void Load();
  // Calculates both timers from the two fields into the four result labels.
  void Command1_Click();
  // Unloads the window, which ends the program.
  void Command2_Click();

 private:
  void CalculateReloads();
  // One timer, from freshly read texts: its reload into `constant_label`,
  // its error coloured and then written into `error_label`.
  void CalculateTimer(const calc::TimerProfile& timer, double& value,
                      double& error, std::string_view constant_label,
                      std::string_view error_label);

  Controls& controls_;
  // The results of the last calculation; only CalculateReloads uses them.
  double timer1_value_ = 0;
  double timer2_value_ = 0;
  double timer1_error_ = 0;
  double timer2_error_ = 0;
};

}  // namespace window
