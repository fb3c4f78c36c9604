// Writes the shared press table and the window's records as JSON, so that
// the browser tests hold the page to the same rows and records as the
// desktop tests.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "support/press_cases.h"
#include "window/description.h"

namespace {

using nlohmann::json;

json Text(std::string_view text) { return std::string(text); }

json Records() {
  json records = json::array();
  for (const window::ControlRecord& r : window::kForm1Controls) {
    records.push_back({{"name", Text(r.name)},
                       {"kind", static_cast<int>(r.kind)},
                       {"text", Text(r.text)},
                       {"left", r.left},
                       {"top", r.top},
                       {"width", r.width},
                       {"height", r.height},
                       {"tab_index", r.tab_index},
                       {"auto_size", r.auto_size},
                       {"takes_focus", window::TakesFocus(r)},
                       {"fore", r.fore_color ? json(*r.fore_color) : json()},
                       {"back", r.back_color ? json(*r.back_color) : json()},
                       {"heading", Text(r.heading)}});
  }
  return records;
}

json Presses() {
  json worked = json::array();
  for (const auto& p : test_support::kWorkedPresses) {
    json texts = json::array();
    for (const std::string_view text : p.texts) texts.push_back(Text(text));
    worked.push_back({{"name", p.name},
                      {"frequency", Text(p.frequency)},
                      {"baud", Text(p.baud)},
                      {"texts", texts},
                      {"warnings", {p.timer1_warning, p.timer2_warning}}});
  }
  return worked;
}

}  // namespace

int main() {
  json failing = json::array();
  for (const auto& p : test_support::kFailingPresses) {
    failing.push_back({{"name", p.name},
                       {"frequency", Text(p.frequency)},
                       {"baud", Text(p.baud)},
                       {"message", Text(p.message)}});
  }
  json labels = json::array();
  for (const std::string_view label : test_support::kResultLabels) {
    labels.push_back(Text(label));
  }
  const json all = {
      {"records", Records()},
      {"client", {window::kForm1.client_width, window::kForm1.client_height}},
      {"caption", Text(window::kForm1.caption)},
      {"twips_per_pixel", window::kTwipsPerPixel},
      {"warning_color", window::kWarningColor},
      {"worked", Presses()},
      {"failing", failing},
      {"result_labels", labels}};
  std::puts(all.dump(1).c_str());
  return 0;
}
