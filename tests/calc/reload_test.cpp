#include "calc/reload.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "calc/runtime_error.h"

namespace calc {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// What the window shows for one timer.
struct TimerTexts {
  std::string constant;
  std::string error;
  bool warning;
};

struct WorkedRow {
  const char* name;
  const char* frequency;
  const char* baud;
  TimerTexts timer1;
  TimerTexts timer2;
};
// Test names show the row's name, not the row's bytes.
void PrintTo(const WorkedRow& row, std::ostream* os) { *os << row.name; }

class WorkedResultsTest : public testing::TestWithParam<WorkedRow> {};

TEST_P(WorkedResultsTest, ShowsConstantsErrorsAndWarnings) {
  const WorkedRow& row = GetParam();
  for (const auto& [profile, expected] :
       {std::pair{kTimer1, row.timer1}, std::pair{kTimer2, row.timer2}}) {
    SCOPED_TRACE(profile.modulus);
    const TimerResult result = CalculateTimer(row.frequency, row.baud, profile);
    EXPECT_EQ(result.constant, expected.constant);
    EXPECT_EQ(result.error, expected.error);
    EXPECT_EQ(result.reload.Warning, expected.warning);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, WorkedResultsTest,
                         testing::Values(WorkedRow{"Crystal9600",
                                                   "11.0592",
                                                   "9600",
                                                   {"FD", " 0", false},
                                                   {"FFDC", " 0", false}},
                                         WorkedRow{"Crystal19200",
                                                   "11.0592",
                                                   "19200",
                                                   {"FE", " 33.", true},
                                                   {"FFEE", " 0", false}},
                                         WorkedRow{"Crystal600",
                                                   "11.0592",
                                                   "600",
                                                   {"D0", " 0", false},
                                                   {"FDC0", " 0", false}},
                                         WorkedRow{"Twelve9600",
                                                   "12",
                                                   "9600",
                                                   {"FD", " 7.8", true},
                                                   {"FFD9", " .16", false}},
                                         WorkedRow{"Twelve2400",
                                                   "12",
                                                   "2400",
                                                   {"F3", " .16", false},
                                                   {"FF64", " .16", false}},
                                         WorkedRow{"Six600",
                                                   "6",
                                                   "600",
                                                   {"E6", " .16", false},
                                                   {"FEC8", " .16", false}},
                                         WorkedRow{"Six19200",
                                                   "6",
                                                   "19200",
                                                   {"FF", " 100", true},
                                                   {"FFF6", " 7.8", true}},
                                         WorkedRow{"TwentyFour600",
                                                   "24",
                                                   "600",
                                                   {"98", " .16", false},
                                                   {"FB1E", " 0", false}},
                                         WorkedRow{"TypedNotListed",
                                                   "3.6864",
                                                   "9600",
                                                   {"FF", " 0", false},
                                                   {"FFF4", " 0", false}},
                                         WorkedRow{"NegativeBaud",
                                                   "12",
                                                   "-9000",
                                                   {"103", "-15.", false},
                                                   {"1002A", "-.80", false}},
                                         WorkedRow{"NegativeTimer1Reload",
                                                   "1000",
                                                   "9600",
                                                   {"FFFFFFF1", " .09", false},
                                                   {"F349", " .00", false}}),
                         RowName<WorkedRow>);

TEST(Warning, ExactlyPointTwoIsNoWarning) {
  const TimerReload at = ComputeTimerReload(0.17122244488977956, 1, kTimer1);
  EXPECT_EQ(at.ErrorPercent, 0.2);
  EXPECT_FALSE(at.Warning);

  const TimerReload above = ComputeTimerReload(0.17122244506134512, 1, kTimer1);
  EXPECT_GT(above.ErrorPercent, 0.2);
  EXPECT_LT(above.ErrorPercent, 0.2000002);
  EXPECT_TRUE(above.Warning);
}

TEST(Divisor, FloorMovesNegativeDivisorsAwayFromZero) {
  const TimerReload r = ComputeTimerReload(12, -9000, kTimer1);
  EXPECT_DOUBLE_EQ(r.Divisor, -3.4722222222222223);
  EXPECT_LT(r.ErrorPercent, 0);  // the fraction is measured from -4
  EXPECT_DOUBLE_EQ(r.Reload, 259.47222222222223);
}

struct FailureRow {
  const char* name;
  const char* frequency;
  const char* baud;
  const TimerProfile* timer;
  ErrorKind expected;
};
void PrintTo(const FailureRow& row, std::ostream* os) { *os << row.name; }

class FailureTest : public testing::TestWithParam<FailureRow> {};

TEST_P(FailureTest, RaisesTheNamedRuntimeError) {
  const FailureRow& row = GetParam();
  try {
    (void)CalculateTimer(row.frequency, row.baud, *row.timer);
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Kind(), row.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FailureTest,
    testing::Values(
        FailureRow{"BaudZero", "12", "0", &kTimer1, ErrorKind::kDivisionByZero},
        FailureRow{"BaudEmpty", "12", "", &kTimer1, ErrorKind::kDivisionByZero},
        FailureRow{"BaudLetters", "12", "abc", &kTimer1,
                   ErrorKind::kDivisionByZero},
        FailureRow{"BothZero", "0", "0", &kTimer1, ErrorKind::kOverflow},
        FailureRow{"FrequencyLetters", "abc", "9600", &kTimer1,
                   ErrorKind::kOverflow},
        FailureRow{"FrequencyZeroTimer2", "0", "9600", &kTimer2,
                   ErrorKind::kOverflow},
        FailureRow{"FrequencyBeyondDoubles", "1e400", "9600", &kTimer1,
                   ErrorKind::kOverflow},
        FailureRow{"FrequencyTimesMillionOverflows", "1e303", "9600", &kTimer1,
                   ErrorKind::kOverflow},
        FailureRow{"TinyBaudOverflows", "12", "1e-310", &kTimer1,
                   ErrorKind::kOverflow},
        FailureRow{"HugeBaudGivesZeroDivisor", "12", "1e400", &kTimer1,
                   ErrorKind::kOverflow},
        FailureRow{"SubnormalDivisorErrorOverflows", "-1e-300", "1e10",
                   &kTimer1, ErrorKind::kOverflow},
        FailureRow{"Timer1ReloadBeyond32Bits", "1000000", "1", &kTimer1,
                   ErrorKind::kOverflow},
        FailureRow{"Timer2ReloadBeyond32Bits", "100000", "1", &kTimer2,
                   ErrorKind::kOverflow}),
    RowName<FailureRow>);

TEST(Failure, Timer1FitsWhereTimer2Overflows) {
  EXPECT_EQ(CalculateTimer("100000", "1", kTimer1).constant, "F07A5C65");
}

struct RateRow {
  const char* name;
  double frequency;
  double baud;
  const TimerProfile* timer;
  ActualRate expected;
};
void PrintTo(const RateRow& row, std::ostream* os) { *os << row.name; }

class ActualRateTest : public testing::TestWithParam<RateRow> {};

TEST_P(ActualRateTest, IsWhatTheRoundedConstantGives) {
  const RateRow& row = GetParam();
  const TimerReload reload =
      ComputeTimerReload(row.frequency, row.baud, *row.timer);
  const ActualRate rate =
      ActualRateOf(row.frequency, row.baud, *row.timer, reload.Reload);
  EXPECT_EQ(rate.constant, row.expected.constant);
  EXPECT_EQ(rate.fits, row.expected.fits);
  EXPECT_NEAR(rate.baud, row.expected.baud, 0.005);
  EXPECT_NEAR(rate.error_percent, row.expected.error_percent, 0.005);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ActualRateTest,
    testing::Values(
        RateRow{"Exact", 11.0592, 9600, &kTimer1, {253, true, 9600, 0}},
        // The constant rounds up while the error text measures the floor.
        RateRow{"HalfRoundedToEven",
                11.0592,
                19200,
                &kTimer1,
                {254, true, 14400, -25}},
        RateRow{"RoundedDown", 12, 9600, &kTimer1, {253, true, 10416.67, 8.51}},
        RateRow{"Timer2", 12, 9600, &kTimer2, {65497, true, 9615.38, 0.16}},
        RateRow{"TopOfTimer", 6, 19200, &kTimer1, {255, true, 15625, -18.62}},
        RateRow{"NegativeConstant", 1000, 9600, &kTimer1, {-15, false, 0, 0}},
        RateRow{
            "ConstantRoundsToModulus", 24, 1e7, &kTimer2, {65536, false, 0, 0}},
        RateRow{"NegativeBaud", 12, -9000, &kTimer1, {259, false, 0, 0}}),
    RowName<RateRow>);

TEST(ActualRate, ArithmeticBeyondDoublesDoesNotFit) {
  const ActualRate rate = ActualRateOf(1e303, 9600, kTimer1, 100.25);
  EXPECT_EQ(rate.constant, 100);
  EXPECT_FALSE(rate.fits);
  EXPECT_EQ(rate.baud, 0);
}

}  // namespace
}  // namespace calc
