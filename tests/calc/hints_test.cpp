#include "calc/hints.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "calc/conversions.h"

namespace calc {
namespace {

struct HintRow {
  const char* name;
  double frequency;
  double baud;
  const TimerProfile* timer;
  std::string expected;
};
// Test names show the row's name, not the row's bytes.
void PrintTo(const HintRow& row, std::ostream* os) { *os << row.name; }

class ConstantHintTest : public testing::TestWithParam<HintRow> {};

TEST_P(ConstantHintTest, DescribesTheShownConstant) {
  const HintRow& row = GetParam();
  const TimerReload reload =
      ComputeTimerReload(row.frequency, row.baud, *row.timer);
  EXPECT_EQ(ConstantHint(row.frequency, row.baud, *row.timer, reload.Reload),
            row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ConstantHintTest,
    testing::Values(
        HintRow{"Exact", 11.0592, 9600, &kTimer1,
                "实际波特率 9600.00，误差 0.00%"},
        // The constant rounds up while the error text measures the floor.
        HintRow{"HalfRoundedToEven", 11.0592, 19200, &kTimer1,
                "实际波特率 14400.00，误差 -25.00%"},
        HintRow{"RoundedDown", 12, 9600, &kTimer1,
                "实际波特率 10416.67，误差 +8.51%"},
        HintRow{"Timer2", 12, 9600, &kTimer2,
                "实际波特率 9615.38，误差 +0.16%"},
        HintRow{"TopOfTimer", 6, 19200, &kTimer1,
                "实际波特率 15625.00，误差 -18.62%"},
        HintRow{"NegativeConstant", 1000, 9600, &kTimer1, kOutOfTimerRange},
        HintRow{"ConstantRoundsToModulus", 24, 1e7, &kTimer2, kOutOfTimerRange},
        HintRow{"NegativeBaud", 12, -9000, &kTimer1, kOutOfTimerRange}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorHint, ShowsTheWholeValue) {
  EXPECT_EQ(ErrorHint(7.840000000000004), " 7.84 %");
  EXPECT_EQ(ErrorHint(0), " 0 %");
  EXPECT_EQ(ErrorHint(-15.199999999999998), "-15.2 %");
}

}  // namespace
}  // namespace calc
