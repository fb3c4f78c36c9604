// The words the window puts around the calculation's numbers.
#include "window/words.h"

#include <gtest/gtest.h>

namespace window {
namespace {

TEST(ConstantHint, SaysTheRateTheConstantGivesAndItsSignedError) {
  EXPECT_EQ(ConstantHint(calc::ActualRateOf(11.0592, 9600, calc::kTimer1, 253)),
            "实际波特率 9600.00，误差 0.00%");
  EXPECT_EQ(
      ConstantHint(calc::ActualRateOf(11.0592, 19200, calc::kTimer1, 254.5)),
      "实际波特率 14400.00，误差 -25.00%");
  EXPECT_EQ(ConstantHint(calc::ActualRateOf(12, 9600, calc::kTimer1, 252.74)),
            "实际波特率 10416.67，误差 +8.51%");
  EXPECT_EQ(ConstantHint(calc::ActualRateOf(1000, 9600, calc::kTimer1, -15.27)),
            kOutOfTimerRange);
  // An error that rounds to nothing carries no sign.
  EXPECT_EQ(ConstantHint({1, true, 9600.00001, -0.000001}),
            "实际波特率 9600.00，误差 0.00%");
}

TEST(ErrorHint, ShowsTheWholeValue) {
  EXPECT_EQ(ErrorHint(7.840000000000004), " 7.84 %");
  EXPECT_EQ(ErrorHint(0), " 0 %");
  EXPECT_EQ(ErrorHint(-15.199999999999998), "-15.2 %");
}

TEST(ErrorMessage, NamesEachKind) {
  EXPECT_EQ(ErrorMessage(calc::ErrorKind::kDivisionByZero), "除数为零");
  EXPECT_EQ(ErrorMessage(calc::ErrorKind::kOverflow), "溢出");
}

}  // namespace
}  // namespace window
