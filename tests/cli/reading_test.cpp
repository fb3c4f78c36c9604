#include "cli/reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace cli {
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
  const char* problem;  // when rejected, else nullptr
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
  if (row.problem == nullptr) {
    ASSERT_TRUE(reading.value.has_value()) << reading.problem;
    // Bitwise: a unit must give the very double the plain number gives,
    // and zero its sign.
    EXPECT_EQ(*reading.value, row.expected);
    EXPECT_EQ(std::signbit(*reading.value), std::signbit(row.expected));
  } else {
    EXPECT_FALSE(reading.value.has_value());
    EXPECT_EQ(reading.problem, row.problem);
  }
}

constexpr const char* kNotANumber = "not a number";
constexpr const char* kNotPositive = "must be greater than zero";
constexpr const char* kOutOfRange = "out of range";
constexpr const char* kNotFinite = "not a finite number";

INSTANTIATE_TEST_SUITE_P(
    Frequencies, ReadingTest,
    testing::Values(
        ReadingRow{"Plain", Kind::kFrequency, "11.0592", 11.0592, nullptr},
        ReadingRow{"PeriodMicro", Kind::kPeriod, "250\u00b5s", 250e-6, nullptr},
        ReadingRow{"PeriodMilli", Kind::kPeriod, "1ms", 1e-3, nullptr},
        ReadingRow{"PeriodRate", Kind::kPeriod, "50Hz", 0.02, nullptr},
        ReadingRow{"PeriodKilohertz", Kind::kPeriod, "1kHz", 1e-3, nullptr},
        ReadingRow{"PeriodBare", Kind::kPeriod, "10", 0,
                   "needs a unit: s, ms, us, Hz or kHz"},
        ReadingRow{"PeriodNegative", Kind::kPeriod, "-1ms", 0,
                   "must be greater than zero"},
        ReadingRow{"TimeMilli", Kind::kTime, "2.5ms", 2.5e-3, nullptr},
        ReadingRow{"TimeMicroSign", Kind::kTime, "250\u00b5s", 250e-6, nullptr},
        ReadingRow{"TimeRate", Kind::kTime, "50Hz", 0,
                   "needs a unit: s, ms, us or \u00b5s"},
        ReadingRow{"TimeKilohertzUpper", Kind::kTime, "1KHZ", 0,
                   "needs a unit: s, ms, us or \u00b5s"},
        ReadingRow{"TimeBare", Kind::kTime, "10", 0,
                   "needs a unit: s, ms, us or \u00b5s"},
        ReadingRow{"TimeZero", Kind::kTime, "0s", 0,
                   "must be greater than zero"},
        ReadingRow{"TimeWord", Kind::kTime, "ms", 0, "not a number"},
        ReadingRow{"Megahertz", Kind::kFrequency, "11.0592MHz", 11.0592,
                   nullptr},
        ReadingRow{"UnitAnyCase", Kind::kFrequency, "11.0592mhZ", 11.0592,
                   nullptr},
        ReadingRow{"Hertz", Kind::kFrequency, "11059200Hz", 11.0592, nullptr},
        ReadingRow{"Kilohertz", Kind::kFrequency, "11059.2kHz", 11.0592,
                   nullptr},
        // One rounding: 0.1 / 1e6 would be 1.0000000000000001e-07.
        ReadingRow{"HertzRoundOnce", Kind::kFrequency, "0.1Hz", 1e-7, nullptr},
        // A scaled value near the top of the doubles stays in range.
        ReadingRow{"HugeHertz", Kind::kFrequency, "1e310Hz", 1e304, nullptr},
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
        ReadingRow{"Plain", Kind::kBaud, "9600", 9600, nullptr},
        ReadingRow{"Thousands", Kind::kBaud, "115.2k", 115200, nullptr},
        // Scaled in the exponent, not by a multiplication after reading.
        ReadingRow{"ThousandsRoundOnce", Kind::kBaud, "1.001k", 1001, nullptr},
        ReadingRow{"Hertz", Kind::kBaud, "9600Hz", 0, kNotANumber},
        ReadingRow{"Zero", Kind::kBaud, "0", 0, kNotPositive},
        ReadingRow{"Negative", Kind::kBaud, "-9600", 0, kNotPositive},
        ReadingRow{"BeyondDoublesKilo", Kind::kBaud, "1e306k", 0, kOutOfRange}),
    RowName<ReadingRow>);

INSTANTIATE_TEST_SUITE_P(
    Tolerances, ReadingTest,
    testing::Values(
        ReadingRow{"Zero", Kind::kPercent, "0", 0, nullptr},
        ReadingRow{"NegativeZero", Kind::kPercent, "-0", 0, nullptr},
        ReadingRow{"Negative", Kind::kPercent, "-1", 0, "must not be negative"},
        ReadingRow{"PercentSign", Kind::kPercent, "2%", 0, kNotANumber}),
    RowName<ReadingRow>);

}  // namespace
}  // namespace cli
