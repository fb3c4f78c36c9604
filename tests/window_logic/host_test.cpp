// The host's routing: which handler a click reaches, and what a failure
// reports, as every front end relies on.
#include "window/host.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

class Fields final : public window::Controls {
 public:
  std::string baud = "9600";
  int items = 0;
  bool unloaded = false;

  std::string Text(std::string_view combo) const override {
    return combo == "Combo2" ? baud : "11.0592";
  }
  void AddItem(std::string_view, std::string_view) override { ++items; }
  void SetCaption(std::string_view, std::string_view) override {}
  void SetForeColor(std::string_view, window::Color) override {}
  void SetToolTip(std::string_view, std::string_view) override {}
  void Unload() override { unloaded = true; }
};

struct ClickRow {
  const char* name;
  const char* object;
  const char* baud;
  window::Handler finished;
  std::vector<std::string> reports;
};
void PrintTo(const ClickRow& row, std::ostream* os) { *os << row.name; }

class HostClick : public testing::TestWithParam<ClickRow> {};

TEST_P(HostClick, ReachesItsHandlerThroughTheDispatch) {
  const ClickRow& row = GetParam();
  Fields fields;
  std::vector<std::string> reports;
  window::Host host(window::kBaud51Project, fields,
                    [&](std::string_view m) { reports.emplace_back(m); });
  fields.baud = row.baud;
  EXPECT_EQ(host.Click(row.object), row.finished);
  EXPECT_EQ(reports, row.reports);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostClick,
    testing::Values(
        ClickRow{"Calculate",
                 "Command1",
                 "9600",
                 &window::Form1::Command1_Click,
                 {}},
        ClickRow{"FailureReported", "Command1", "", nullptr, {"除数为零"}},
        ClickRow{
            "Exit", "Command2", "9600", &window::Form1::Command2_Click, {}},
        ClickRow{"NoHandler", "Label1", "9600", nullptr, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostLoad, FillsBothListsOnce) {
  Fields fields;
  window::Host host(window::kBaud51Project, fields, [](std::string_view) {});
  EXPECT_EQ(fields.items, 0);
  host.RaiseLoad();
  EXPECT_GT(fields.items, 0);
  EXPECT_FALSE(fields.unloaded);
}

}  // namespace
