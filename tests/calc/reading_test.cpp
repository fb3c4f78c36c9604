#include "calc/reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace calc {
namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

enum class Kind { kFrequency, kBaud, kPercent, kPeriod, kTime };

struct ReadingRow {
  const char* name;
  Kind kind;
  std::string text;
  double expected;      // when accepted
  ReadProblem problem;  // kNone when accepted
};
void PrintTo(const ReadingRow& row, std::ostream* os) { *os << row.name; }

class ReadingTest : public testing::TestWithParam<ReadingRow> {};

TEST_P(ReadingTest, AcceptsExactlyTheDocumentedForms) {
  const ReadingRow& row = GetParam();
  const Reading reading = row.kind == Kind::kFrequency ? ReadFrequency(row.text)
                          : row.kind == Kind::kBaud    ? ReadBaud(row.text)
                          : row.kind == Kind::kPeriod  ? ReadPeriod(row.text)
                          : row.kind == Kind::kTime    ? ReadTime(row.text)
                                                       : ReadPercent(row.text);
  if (row.problem == ReadProblem::kNone) {
    ASSERT_TRUE(reading.value.has_value());
    // Bitwise: a unit must give the very double the plain number gives,
    // and zero its sign.
    EXPECT_EQ(*reading.value, row.expected);
    EXPECT_EQ(std::signbit(*reading.value), std::signbit(row.expected));
  } else {
    EXPECT_FALSE(reading.value.has_value());
    EXPECT_EQ(reading.problem, row.problem);
  }
}

constexpr ReadProblem kAccepted = ReadProblem::kNone;
constexpr ReadProblem kNotANumber = ReadProblem::kNotANumber;
constexpr ReadProblem kNotPositive = ReadProblem::kNotPositive;
constexpr ReadProblem kOutOfRange = ReadProblem::kOutOfRange;
constexpr ReadProblem kNotFinite = ReadProblem::kNotFinite;

INSTANTIATE_TEST_SUITE_P(
    Frequencies, ReadingTest,
    testing::Values(
        ReadingRow{"Plain", Kind::kFrequency, "11.0592", 11.0592, kAccepted},
        ReadingRow{"PeriodMicro", Kind::kPeriod, "250\u00b5s", 250e-6,
                   kAccepted},
        ReadingRow{"PeriodMilli", Kind::kPeriod, "1ms", 1e-3, kAccepted},
        ReadingRow{"PeriodRate", Kind::kPeriod, "50Hz", 0.02, kAccepted},
        ReadingRow{"PeriodKilohertz", Kind::kPeriod, "1kHz", 1e-3, kAccepted},
        ReadingRow{"PeriodBare", Kind::kPeriod, "10", 0, ReadProblem::kNoUnit},
        ReadingRow{"PeriodNegative", Kind::kPeriod, "-1ms", 0, kNotPositive},
        ReadingRow{"TimeMilli", Kind::kTime, "2.5ms", 2.5e-3, kAccepted},
        ReadingRow{"TimeMicroSign", Kind::kTime, "250\u00b5s", 250e-6,
                   kAccepted},
        ReadingRow{"TimeRate", Kind::kTime, "50Hz", 0,
                   ReadProblem::kNoTimeUnit},
        ReadingRow{"TimeKilohertzUpper", Kind::kTime, "1KHZ", 0,
                   ReadProblem::kNoTimeUnit},
        ReadingRow{"TimeBare", Kind::kTime, "10", 0, ReadProblem::kNoTimeUnit},
        ReadingRow{"TimeZero", Kind::kTime, "0s", 0, kNotPositive},
        ReadingRow{"TimeWord", Kind::kTime, "ms", 0, kNotANumber},
        ReadingRow{"Megahertz", Kind::kFrequency, "11.0592MHz", 11.0592,
                   kAccepted},
        ReadingRow{"UnitAnyCase", Kind::kFrequency, "11.0592mhZ", 11.0592,
                   kAccepted},
        ReadingRow{"Hertz", Kind::kFrequency, "11059200Hz", 11.0592, kAccepted},
        ReadingRow{"Kilohertz", Kind::kFrequency, "11059.2kHz", 11.0592,
                   kAccepted},
        // One rounding: 0.1 / 1e6 would be 1.0000000000000001e-07.
        ReadingRow{"HertzRoundOnce", Kind::kFrequency, "0.1Hz", 1e-7,
                   kAccepted},
        // A scaled value near the top of the doubles stays in range.
        ReadingRow{"HugeHertz", Kind::kFrequency, "1e310Hz", 1e304, kAccepted},
        ReadingRow{"Letters", Kind::kFrequency, "abc", 0, kNotANumber},
        ReadingRow{"TrailingLetters", Kind::kFrequency, "12abc", 0,
                   kNotANumber},
        ReadingRow{"Space", Kind::kFrequency, "12 MHz", 0, kNotANumber},
        ReadingRow{"Plus", Kind::kFrequency, "+12", 0, kNotANumber},
        ReadingRow{"Hex", Kind::kFrequency, "0x10", 0, kNotANumber},
        ReadingRow{"Empty", Kind::kFrequency, "", 0, kNotANumber},
        ReadingRow{"Zero", Kind::kFrequency, "0", 0, kNotPositive},
        ReadingRow{"Negative", Kind::kFrequency, "-12", 0, kNotPositive},
        ReadingRow{"ZeroHugeExponent", Kind::kFrequency,
                   "0e99999999999999999999kHz", 0, kNotPositive},
        ReadingRow{"Infinity", Kind::kFrequency, "inf", 0, kNotFinite},
        ReadingRow{"NotANumber", Kind::kFrequency, "nan", 0, kNotFinite},
        ReadingRow{"BeyondDoublesScaled", Kind::kFrequency, "1e312kHz", 0,
                   kOutOfRange},
        ReadingRow{"ExponentPast64Bits", Kind::kFrequency,
                   "1e99999999999999999999Hz", 0, kOutOfRange},
        ReadingRow{"ExponentAt64BitEdge", Kind::kFrequency,
                   "1e9223372036854775807kHz", 0, kOutOfRange},
        ReadingRow{"UnderflowScaled", Kind::kFrequency, "1e-320Hz", 0,
                   kOutOfRange}),
    RowName<ReadingRow>);

INSTANTIATE_TEST_SUITE_P(
    Rates, ReadingTest,
    testing::Values(
        ReadingRow{"Plain", Kind::kBaud, "9600", 9600, kAccepted},
        ReadingRow{"Thousands", Kind::kBaud, "115.2k", 115200, kAccepted},
        // Scaled in the exponent, not by a multiplication after reading.
        ReadingRow{"ThousandsRoundOnce", Kind::kBaud, "1.001k", 1001,
                   kAccepted},
        ReadingRow{"Hertz", Kind::kBaud, "9600Hz", 0, kNotANumber},
        ReadingRow{"Zero", Kind::kBaud, "0", 0, kNotPositive},
        ReadingRow{"Negative", Kind::kBaud, "-9600", 0, kNotPositive},
        ReadingRow{"BeyondDoublesKilo", Kind::kBaud, "1e306k", 0, kOutOfRange}),
    RowName<ReadingRow>);

INSTANTIATE_TEST_SUITE_P(
    Tolerances, ReadingTest,
    testing::Values(
        ReadingRow{"Zero", Kind::kPercent, "0", 0, kAccepted},
        ReadingRow{"NegativeZero", Kind::kPercent, "-0", 0, kAccepted},
        ReadingRow{"Negative", Kind::kPercent, "-1", 0, ReadProblem::kNegative},
        ReadingRow{"PercentSign", Kind::kPercent, "2%", 0, kNotANumber}),
    RowName<ReadingRow>);

}  // namespace
}  // namespace calc
