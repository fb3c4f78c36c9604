#include "window/form1.h"

#include <array>
#include <string>

#include "window/words.h"

namespace window {
namespace {

constexpr std::array<std::string_view, 5> kFrequencies{"6", "11.0592", "12",
                                                       "22.1184", "24"};
constexpr std::array<std::string_view, 6> kBaudRates{"600",  "1200", "2400",
                                                     "4800", "9600", "19200"};

constexpr ResultLabels kTimer1Labels{&calc::kTimer1, "Label8", "Label10"};
constexpr ResultLabels kTimer2Labels{&calc::kTimer2, "Label9", "Label11"};

}  // namespace

void Form1::Load() {
  for (const std::string_view frequency : kFrequencies) {
    controls_.AddItem("Combo1", frequency);
  }
  for (const std::string_view baud : kBaudRates) {
    controls_.AddItem("Combo2", baud);
  }
}

void Form1::Command1_Click() { CalculateReloads(); }

void Form1::Command2_Click() { controls_.Unload(); }

void Form1::DescribeStartResults() {
  for (const ResultLabels& labels : {kTimer1Labels, kTimer2Labels}) {
    const calc::TimerResult result = Calculate(*labels.timer);
    controls_.SetToolTip(labels.constant, ConstantHint(result.actual));
    controls_.SetToolTip(labels.error, ErrorHint(result.reload.ErrorPercent));
  }
}

calc::TimerResult Form1::Calculate(const calc::TimerProfile& timer) const {
  const std::string baud = controls_.Text("Combo2");
  const std::string frequency = controls_.Text("Combo1");
  return calc::CalculateTimer(frequency, baud, timer);
}

// Timer 1 is shown before Timer 2 is calculated, so a failure in Timer 2
// leaves Timer 1's new results on screen.
void Form1::CalculateReloads() {
  ShowTimer(kTimer1Labels);
  ShowTimer(kTimer2Labels);
}

// A tooltip is set only right after its caption, so a press that fails
// before a label leaves its tooltip describing the number still shown.
void Form1::ShowTimer(const ResultLabels& labels) {
  const calc::TimerResult result = Calculate(*labels.timer);
  const double error = result.reload.ErrorPercent;
  controls_.SetCaption(labels.constant, result.constant);
  controls_.SetToolTip(labels.constant, ConstantHint(result.actual));
  // The colour is set on every press, so an earlier warning is cleared.
  controls_.SetForeColor(labels.error, error > calc::kWarningErrorPercent
                                           ? kWarningColor
                                           : kNormalTextColor);
  controls_.SetCaption(labels.error, result.error);
  controls_.SetToolTip(labels.error, ErrorHint(error));
}

}  // namespace window
