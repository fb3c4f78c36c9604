#pragma once
// The behaviour of the one window: its three event handlers, and the
// tooltips its results start with. Failures are exceptions that leave the
// handler; none is caught here.

#include <string_view>

#include "calc/reload.h"
#include "window/controls.h"

namespace window {

// The two labels that show one timer's results.
struct ResultLabels {
  const calc::TimerProfile* timer;
  std::string_view constant;
  std::string_view error;
};

class Form1 {
 public:
  explicit Form1(Controls& controls) : controls_(controls) {}

  // Fills both lists; the fields keep their texts and nothing is selected.
  void Load();
  // Calculates both timers from the two fields into the four result labels.
  void Command1_Click();
  // Unloads the window, which ends the program.
  void Command2_Click();

  // Gives the four result labels the tooltips of what the fields' texts
  // give, captions untouched. For the window as built, whose starting
  // captions are the results of its starting field texts; throws as a press
  // with those texts would.
  void DescribeStartResults();

 private:
  // One timer from freshly read field texts, baud first.
  calc::TimerResult Calculate(const calc::TimerProfile& timer) const;

  void CalculateReloads();
  // One timer: its reload into the constant label, its error coloured and
  // then written into the error label, each caption with its tooltip.
  void ShowTimer(const ResultLabels& labels);

  Controls& controls_;
};

}  // namespace window
