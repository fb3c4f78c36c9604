// The handlers' sequence of control operations, seen through a fake window.
#include "window/form1.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "calc/runtime_error.h"

namespace {

using Log = std::vector<std::string>;

// Records every operation in order; the combo texts are set by the test.
class FakeControls final : public window::Controls {
 public:
  std::map<std::string, std::string, std::less<>> texts{{"Combo1", "11.0592"},
                                                        {"Combo2", "9600"}};
  mutable Log log;

  std::string Text(std::string_view combo) const override {
    log.push_back("Text " + std::string(combo));
    return texts.find(combo)->second;
  }
  void AddItem(std::string_view combo, std::string_view item) override {
    log.push_back("AddItem " + std::string(combo) + " " + std::string(item));
  }
  void SetCaption(std::string_view label, std::string_view caption) override {
    log.push_back("Caption " + std::string(label) + " '" +
                  std::string(caption) + "'");
  }
  void SetForeColor(std::string_view label, window::Color color) override {
    log.push_back("ForeColor " + std::string(label) +
                  (color == window::kWarningColor      ? " warning"
                   : color == window::kNormalTextColor ? " normal"
                                                       : " other"));
  }
  void SetToolTip(std::string_view label, std::string_view text) override {
    log.push_back("ToolTip " + std::string(label) + " '" + std::string(text) +
                  "'");
  }
  void Unload() override { log.emplace_back("Unload"); }
};

class Form1Test : public testing::Test {
 protected:
  FakeControls controls;
  window::Form1 form{controls};
};

TEST_F(Form1Test, LoadAppendsFrequenciesThenBaudRates) {
  form.Load();
  EXPECT_EQ(
      controls.log,
      (Log{"AddItem Combo1 6", "AddItem Combo1 11.0592", "AddItem Combo1 12",
           "AddItem Combo1 22.1184", "AddItem Combo1 24", "AddItem Combo2 600",
           "AddItem Combo2 1200", "AddItem Combo2 2400", "AddItem Combo2 4800",
           "AddItem Combo2 9600", "AddItem Combo2 19200"}));
}

// Baud before frequency, both read again for Timer 2, colour before text,
// each tooltip right after its caption.
TEST_F(Form1Test, CalculateReadsAndWritesInOrder) {
  controls.texts["Combo1"] = "12";
  form.Command1_Click();
  EXPECT_EQ(controls.log,
            (Log{"Text Combo2", "Text Combo1", "Caption Label8 'FD'",
                 "ToolTip Label8 '实际波特率 10416.67，误差 +8.51%'",
                 "ForeColor Label10 warning", "Caption Label10 ' 7.8'",
                 "ToolTip Label10 ' 7.84 %'", "Text Combo2", "Text Combo1",
                 "Caption Label9 'FFD9'",
                 "ToolTip Label9 '实际波特率 9615.38，误差 +0.16%'",
                 "ForeColor Label11 normal", "Caption Label11 ' .16'",
                 "ToolTip Label11 ' .16 %'"}));
}

// The window starts showing the results of its starting texts; only their
// tooltips are added, and Timer 2 reads the fields again as a press does.
TEST_F(Form1Test, StartResultsGetTooltipsOnly) {
  form.DescribeStartResults();
  EXPECT_EQ(controls.log,
            (Log{"Text Combo2", "Text Combo1",
                 "ToolTip Label8 '实际波特率 9600.00，误差 0.00%'",
                 "ToolTip Label10 ' 0 %'", "Text Combo2", "Text Combo1",
                 "ToolTip Label9 '实际波特率 9600.00，误差 0.00%'",
                 "ToolTip Label11 ' 0 %'"}));
}

// A constant the timer cannot hold still shows; its tooltip says so.
TEST_F(Form1Test, ConstantOutsideTheTimerIsSaidSo) {
  controls.texts["Combo2"] = "4";
  form.Command1_Click();
  EXPECT_EQ(controls.log,
            (Log{"Text Combo2", "Text Combo1", "Caption Label8 'FFFFE4E0'",
                 "ToolTip Label8 '超出定时器范围'", "ForeColor Label10 normal",
                 "Caption Label10 ' 0'", "ToolTip Label10 ' 0 %'",
                 "Text Combo2", "Text Combo1", "Caption Label9 'FFFFAE80'",
                 "ToolTip Label9 '超出定时器范围'", "ForeColor Label11 normal",
                 "Caption Label11 ' 0'", "ToolTip Label11 ' 0 %'"}));
}

TEST_F(Form1Test, ExitUnloadsTheWindowOnly) {
  form.Command2_Click();
  EXPECT_EQ(controls.log, (Log{"Unload"}));
}

struct FailureCase {
  const char* name;
  const char* frequency;
  const char* baud;
  calc::ErrorKind kind;
  Log log;  // everything done before the failure
};
// Test names show the row's name, not the row's bytes.
void PrintTo(const FailureCase& row, std::ostream* os) { *os << row.name; }

class Form1FailureTest : public Form1Test,
                         public testing::WithParamInterface<FailureCase> {};

TEST_P(Form1FailureTest, StopsWhereItFailsAndLeavesTheRest) {
  controls.texts["Combo1"] = GetParam().frequency;
  controls.texts["Combo2"] = GetParam().baud;
  try {
    form.Command1_Click();
    FAIL() << "no error";
  } catch (const calc::RuntimeError& error) {
    EXPECT_EQ(error.Kind(), GetParam().kind);
  }
  EXPECT_EQ(controls.log, GetParam().log);
}

const Log kReadsOnly{"Text Combo2", "Text Combo1"};

INSTANTIATE_TEST_SUITE_P(
    Inputs, Form1FailureTest,
    testing::Values(
        FailureCase{"BaudZero", "12", "0", calc::ErrorKind::kDivisionByZero,
                    kReadsOnly},
        FailureCase{"BaudEmpty", "12", "", calc::ErrorKind::kDivisionByZero,
                    kReadsOnly},
        FailureCase{"FrequencyText", "abc", "9600", calc::ErrorKind::kOverflow,
                    kReadsOnly},
        FailureCase{"Timer1ReloadBeyond32Bits", "1e13", "9600",
                    calc::ErrorKind::kOverflow, kReadsOnly},
        FailureCase{
            "Timer2ReloadBeyond32Bits", "700000000", "9600",
            calc::ErrorKind::kOverflow,
            Log{"Text Combo2", "Text Combo1", "Caption Label8 'F4AE8E4F'",
                "ToolTip Label8 '超出定时器范围'", "ForeColor Label10 normal",
                "Caption Label10 ' .00'",
                "ToolTip Label10 ' .000000409600006975446 %'", "Text Combo2",
                "Text Combo1"}}),
    [](const testing::TestParamInfo<FailureCase>& info) {
      return info.param.name;
    });

}  // namespace
