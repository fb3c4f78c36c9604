#include "calc/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

#include "calc/runtime_error.h"

namespace calc {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

struct ReadRow {
  const char* name;
  std::string text;
  double expected;
};
// Test names show the row's name, not the row's bytes.
void PrintTo(const ReadRow& row, std::ostream* os) { *os << row.name; }

class ReadNumberTest : public testing::TestWithParam<ReadRow> {};

// Bitwise: the nearest double, and the sign of a zero, both matter.
void ExpectSameDouble(double value, double expected) {
  EXPECT_EQ(value, expected);
  EXPECT_EQ(std::signbit(value), std::signbit(expected));
}

// What a full-width input method types for `ascii`: "!".."~" as U+FF01..
// U+FF5E, a space as U+3000. With `alternate`, only every other character, as
// a user switching modes mid-number would. Other bytes stay as they are.
std::string FullWidth(std::string_view ascii, bool alternate = false) {
  std::string out;
  bool convert = true;
  for (const char c : ascii) {
    const bool printable = c >= ' ' && c <= '~';
    if (printable && convert) {
      const char32_t code = c == ' ' ? U'\u3000' : c - U'!' + U'\uFF01';
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += c;
    }
    if (alternate) convert = !convert;
  }
  return out;
}

TEST_P(ReadNumberTest, ReadsTheLeadingNumber) {
  ExpectSameDouble(ReadNumber(GetParam().text), GetParam().expected);
}

TEST_P(ReadNumberTest, ReadsFullWidthAndMixedFormsAlike) {
  const ReadRow& row = GetParam();
  SCOPED_TRACE("full width");
  ExpectSameDouble(ReadNumber(FullWidth(row.text)), row.expected);
  SCOPED_TRACE("mixed");
  ExpectSameDouble(ReadNumber(FullWidth(row.text, true)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumberTest,
    testing::Values(
        ReadRow{"Crystal", "11.0592", 11.0592},
        ReadRow{"LeadingSpace", " 9600", 9600},
        ReadRow{"InnerSpace", "9 600", 9600},
        ReadRow{"TabsAndLineFeeds", "\t1\n2 .\t5", 12.5},
        ReadRow{"CarriageReturnEnds", "12\r3", 12},
        ReadRow{"CommaEnds", "1,200", 1}, ReadRow{"UnitIgnored", "12MHz", 12},
        ReadRow{"Letters", "abc", 0}, ReadRow{"Empty", "", 0},
        ReadRow{"OnlyBlanks", " \t\n", 0}, ReadRow{"LoneMinus", "-", 0},
        ReadRow{"LonePoint", ".", 0}, ReadRow{"TwoSigns", "+-5", 0},
        ReadRow{"Plus", "+5", 5}, ReadRow{"MinusThenSpace", "- 5", -5},
        ReadRow{"PointFirst", ".5", 0.5}, ReadRow{"PointLast", "5.", 5},
        ReadRow{"SecondPointEnds", "1.2.3", 1.2},
        ReadRow{"Exponent", "1.5e3", 1500},
        ReadRow{"UpperExponent", "2E-2", 0.02},
        ReadRow{"SpacedExponent", "1 e + 3", 1000},
        ReadRow{"BareExponentIgnored", "7e", 7},
        ReadRow{"SignedBareExponentIgnored", "7e+", 7},
        ReadRow{"TieToEven", "9007199254740993", 9007199254740992.0},
        ReadRow{"NegativeZero", "-0", -0.0}, ReadRow{"Overflow", "1e400", kInf},
        ReadRow{"NegativeOverflow", "-1e400", -kInf},
        ReadRow{"LongOverflow", "9" + std::string(400, '0'), kInf},
        ReadRow{"HugeExponent", "1e99999999999999999999", kInf},
        ReadRow{"Underflow", "1e-400", 0.0},
        ReadRow{"NegativeUnderflow", "-0." + std::string(400, '0') + "1", -0.0},
        ReadRow{"ZerosThenOverflow", "0.001e312", kInf},
        ReadRow{"Subnormal", "5e-324", 5e-324}, ReadRow{"Hex", "&H10", 16},
        ReadRow{"HexLower", "&hff", 255}, ReadRow{"HexSpaced", "& H 1 0", 16},
        ReadRow{"HexStopsAtG", "&H1G", 1}, ReadRow{"HexNoDigits", "&H", 0},
        ReadRow{"HexIsNeverNegative", "&HFFFFFFFF", 4294967295.0},
        ReadRow{"HexTieToEven", "&H20000000000003", 0x1.0000000000002p+53},
        ReadRow{"HexHalfway", "&H10000000000000800000000000000000", 0x1p+124},
        ReadRow{"HexStickyRoundsUp",
                "&H1" + std::string(13, '0') + "8" + std::string(15, '0') + "1",
                0x1.0000000000001p+120},
        ReadRow{"HexOverflow", "&H" + std::string(300, 'F'), kInf},
        ReadRow{"Octal", "&O17", 15}, ReadRow{"OctalStopsAt8", "&o178", 15},
        ReadRow{"AmpersandAlone", "&", 0}, ReadRow{"AmpersandOther", "&X10", 0},
        ReadRow{"SignBeforeHex", "-&H10", 0},
        ReadRow{"InvalidUtf8",
                "\xFF\xFE"
                "12",
                0},
        ReadRow{"NulEnds",
                std::string("12\0"
                            "34",
                            5),
                12},
        ReadRow{"NotInfinity", "inf", 0}, ReadRow{"NotNaN", "nan", 0},
        ReadRow{"NotCHex", "0x10", 0}),
    RowName<ReadRow>);

// What Chinese input methods type, beyond the full-width forms of the rows
// above.
INSTANTIATE_TEST_SUITE_P(
    ChineseInput, ReadNumberTest,
    testing::Values(ReadRow{"FullWidthCrystal", "１１．０５９２", 11.0592},
                    ReadRow{"FullWidthBaud", "９６００", 9600},
                    ReadRow{"MixedRuns", "１1.0５92", 11.0592},
                    ReadRow{"ChineseFullStop", "１１。０５９２", 11.0592},
                    ReadRow{"ChineseFullStopThenPointEnds", "1。2.3", 1.2},
                    ReadRow{"HexUpperDigits", "＆ＨＡＢＣＤＥＦ", 0xABCDEF},
                    ReadRow{"HexLowerDigits", "＆ｈａｂｃｄｅｆ", 0xABCDEF},
                    ReadRow{"MixedHexPrefix", "&Ｈ1ｆ", 31}),
    RowName<ReadRow>);

// Texts that end the number part-way: other characters, cut or stray UTF-8.
INSTANTIATE_TEST_SUITE_P(
    ChineseInputStops, ReadNumberTest,
    testing::Values(ReadRow{"FullWidthUnit", "１２ＭＨｚ", 12},
                    ReadRow{"ChineseUnit", "１２兆赫", 12},
                    ReadRow{"IdeographicComma", "１、２００", 1},
                    ReadRow{"BelowFullWidthBlock",
                            "1\xEF\xBC\x80"
                            "2",
                            1},
                    ReadRow{"CutFullWidthDigit", "12\xEF\xBC", 12},
                    ReadRow{"CutIdeographicSpace",
                            "1\xE3\x80"
                            "2",
                            1},
                    ReadRow{"SpaceJoinsNoBytes", "1\xEF \xBC\x91", 1}),
    RowName<ReadRow>);

TEST(ReadNumberLongText, HundredThousandDigitsReadCorrectly) {
  const std::string ones(100000, '1');
  EXPECT_EQ(ReadNumber(ones), kInf);
  EXPECT_EQ(ReadNumber("0." + ones), 0.1111111111111111);
  EXPECT_EQ(ReadNumber(FullWidth("0." + ones)), 0.1111111111111111);
  EXPECT_EQ(ReadNumber("1" + std::string(100000, ' ') + "2"), 12);
  EXPECT_EQ(ReadNumber(FullWidth("1" + std::string(100000, ' ') + "2")), 12);
}

struct HexRow {
  const char* name;
  double value;
  const char* expected;
};
void PrintTo(const HexRow& row, std::ostream* os) { *os << row.name; }

class HexTextTest : public testing::TestWithParam<HexRow> {};

TEST_P(HexTextTest, RoundsHalfToEvenAndWritesHex) {
  EXPECT_EQ(HexText(GetParam().value), GetParam().expected);
  EXPECT_EQ(ReloadText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, HexTextTest,
    testing::Values(
        HexRow{"Whole", 253, "FD"},
        HexRow{"RoundsDown", 252.74479166666666, "FD"},
        HexRow{"HalfToEvenDown", 254.5, "FE"},
        HexRow{"HalfToEvenUp", 65223.5, "FEC8"},
        HexRow{"Timer2", 65500, "FFDC"}, HexRow{"Zero", 0, "0"},
        HexRow{"HalfToZero", 0.5, "0"}, HexRow{"OneAndHalf", 1.5, "2"},
        HexRow{"NegativeHalf", -0.5, "0"}, HexRow{"MinusOne", -1, "FFFFFFFF"},
        HexRow{"Negative", -369, "FFFFFE8F"},
        HexRow{"NegativeHalfToEven", -2.5, "FFFFFFFE"},
        HexRow{"Highest", 2147483647, "7FFFFFFF"},
        HexRow{"JustBelowHighestHalf", 2147483647.4999998, "7FFFFFFF"},
        HexRow{"Lowest", -2147483648.0, "80000000"},
        HexRow{"LowestHalfRoundsIn", -2147483648.5, "80000000"}),
    RowName<HexRow>);

struct OverflowRow {
  const char* name;
  double value;
};
void PrintTo(const OverflowRow& row, std::ostream* os) { *os << row.name; }

class HexTextOverflowTest : public testing::TestWithParam<OverflowRow> {};

TEST_P(HexTextOverflowTest, FailsWithOverflow) {
  try {
    (void)ReloadText(GetParam().value);
    FAIL() << "no error for " << GetParam().value;
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Kind(), ErrorKind::kOverflow);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, HexTextOverflowTest,
    testing::Values(OverflowRow{"HighestHalfRoundsOut", 2147483647.5},
                    OverflowRow{"JustAbove", 2147483648.0},
                    OverflowRow{"JustBelow", -2147483649.0},
                    OverflowRow{"LowestHalfAndABit", -2147483648.5000005},
                    OverflowRow{"Huge", 1e300}, OverflowRow{"Infinity", kInf},
                    OverflowRow{"MinusInfinity", -kInf},
                    OverflowRow{"NaN", std::nan("")}),
    RowName<OverflowRow>);

struct NumberRow {
  const char* name;
  double value;
  std::string number_text;
  const char* error_text;
};
void PrintTo(const NumberRow& row, std::ostream* os) { *os << row.name; }

class NumberTextTest : public testing::TestWithParam<NumberRow> {};

TEST_P(NumberTextTest, WritesSignColumnAndFifteenDigits) {
  EXPECT_EQ(NumberText(GetParam().value), GetParam().number_text);
  EXPECT_EQ(ErrorText(GetParam().value), GetParam().error_text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    testing::Values(
        NumberRow{"Zero", 0, " 0", " 0"},
        NumberRow{"NegativeZero", -0.0, " 0", " 0"},
        NumberRow{"Hundred", 100, " 100", " 100"},
        NumberRow{"Thirty", 33, " 33", " 33"},
        NumberRow{"NoisyTail", 7.840000000000004, " 7.84", " 7.8"},
        NumberRow{"CutNotRounded", 7.89, " 7.89", " 7.8"},
        NumberRow{"Third", 33.333333333333336, " 33.3333333333333", " 33."},
        NumberRow{"FifteenthDigit", 0.16000000000000453, " .160000000000005",
                  " .16"},
        NumberRow{"NoLeadingZero", 0.16, " .16", " .16"},
        NumberRow{"NegativeHalf", -0.5, "-.5", "-.5"},
        NumberRow{"NegativeSmall", -0.23, "-.23", "-.23"},
        NumberRow{"NegativeWhole", -15.199999999999998, "-15.2", "-15."},
        NumberRow{"SumNoise", 0.1 + 0.2, " .3", " .3"},
        NumberRow{"Tiny", 9.04e-7, " .000000904", " .00"},
        NumberRow{"TinyNegative", -2.5e-9, "-.0000000025", "-.00"},
        NumberRow{"LargestPlain", 999999999999999.0, " 999999999999999",
                  " 999"},
        NumberRow{"RoundsIntoExponent", 999999999999999.9, " 1E+15", " 1E+"},
        NumberRow{"ExponentFrom1e15", 1e15, " 1E+15", " 1E+"},
        NumberRow{"ExponentMantissa", 1.5e20, " 1.5E+20", " 1.5"},
        NumberRow{"ExponentRounded", 123456789012345678.0,
                  " 1.23456789012346E+17", " 1.2"},
        NumberRow{"NegativeExponent", -2e100, "-2E+100", "-2E+"},
        NumberRow{"Largest", 1.7976931348623157e308, " 1.79769313486232E+308",
                  " 1.7"},
        NumberRow{"SmallestSubnormal", 5e-324,
                  " ." + std::string(323, '0') + "494065645841247", " .00"}),
    RowName<NumberRow>);

struct PrintedRow {
  const char* name;
  double value;
  char form;
  int precision;
  const char* text;
};
void PrintTo(const PrintedRow& row, std::ostream* os) { *os << row.name; }

class PrintedTest : public testing::TestWithParam<PrintedRow> {};

TEST_P(PrintedTest, RoundsTheExactValueWithAPoint) {
  const PrintedRow& row = GetParam();
  EXPECT_EQ(Printed(row.value, row.form, row.precision), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PrintedTest,
    testing::Values(PrintedRow{"ExactHalfToEven", 0.125, 'f', 2, "0.12"},
                    PrintedRow{"BinaryBelowHalf", 2.675, 'f', 2, "2.67"},
                    PrintedRow{"NegativeRoundsToZero", -0.001, 'f', 2, "-0.00"},
                    PrintedRow{"Exponent", 11.0592, 'e', 3, "1.106e+01"}),
    RowName<PrintedRow>);

}  // namespace
}  // namespace calc
