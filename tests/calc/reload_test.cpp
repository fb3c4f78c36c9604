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
    const TimerTexts texts =
        CalculateTimerTexts(row.frequency, row.baud, profile);
    EXPECT_EQ(texts.constant, expected.constant);
    EXPECT_EQ(texts.error, expected.error);
    EXPECT_EQ(texts.warning, expected.warning);
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
    (void)CalculateTimerTexts(row.frequency, row.baud, *row.timer);
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Kind(), row.expected);
    EXPECT_EQ(error.what(), ErrorMessage(row.expected));
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
  EXPECT_EQ(CalculateTimerTexts("100000", "1", kTimer1).constant, "F07A5C65");
}

}  // namespace
}  // namespace calc
