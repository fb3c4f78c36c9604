#include "window/form1.h"

#include <array>

#include "calc/conversions.h"

namespace window {
namespace {

constexpr std::array<std::string_view, 5> kFrequencies{"6", "11.0592", "12",
                                                       "22.1184", "24"};
constexpr std::array<std::string_view, 6> kBaudRates{"600",  "1200", "2400",
                                                     "4800", "9600", "19200"};

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

// Timer 1 is shown before Timer 2 is calculated, so a failure in Timer 2
// leaves Timer 1's new results on screen.
void Form1::CalculateReloads() {
  CalculateTimer(calc::kTimer1, timer1_value_, timer1_error_, "Label8", "Label10");
  CalculateTimer(calc::kTimer2, timer2_value_, timer2_error_, "Label9", "Label11");
}

void Form1::CalculateTimer(const calc::TimerProfile& timer, double& value,
                           double& error, std::string_view constant_label,
                           std::string_view error_label) {
  const double baud = calc::ReadNumber(controls_.Text("Combo2"));
  const double frequency = calc::ReadNumber(controls_.Text("Combo1"));
  const calc::TimerReload result =
      calc::ComputeTimerReload(frequency, baud, timer);
  value = result.Reload;
  error = result.ErrorPercent;
  controls_.SetCaption(constant_label, calc::ReloadText(value));
  // The colour is set on every press, so an earlier warning is cleared.
  controls_.SetForeColor(error_label, error > calc::kWarningErrorPercent
                                          ? kWarningColor
                                          : kNormalTextColor);
  controls_.SetCaption(error_label, calc::ErrorText(error));
}

}  // namespace window
