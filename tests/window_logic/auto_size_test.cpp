#include "window/auto_size.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The metric the stored label sizes were made with: Chinese characters 12
// pixels wide, all others 6, lines 12 pixels high.
double SyntheticWidth(char32_t c) { return c >= 0x2E80 ? 12.0 : 6.0; }
constexpr int kSyntheticLine = 12;

struct SizeCase {
  const char* name;
  const char* text;
  window::TwipSize expected;
};
// Test names show the row's name, not the row's bytes.
void PrintTo(const SizeCase& row, std::ostream* os) { *os << row.name; }

class AutoSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(AutoSizeTest, GivesTheSizeOfTheText) {
  EXPECT_EQ(window::AutoSizeTwips(GetParam().text,
                                  window::SumOfCharacters(SyntheticWidth),
                                  kSyntheticLine),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    StoredLabels, AutoSizeTest,
    testing::Values(
        SizeCase{"BaudRate", "波特率", {540, 180}},
        SizeCase{"CrystalFrequency", "晶振频率(MHz)", {1170, 180}},
        SizeCase{"ErrorBetween", "<-误差%->", {810, 180}},
        SizeCase{"Timer1Constant", "T1常数(Hex)", {990, 180}},
        SizeCase{"MakerAddress", "http://www.example.com", {1980, 180}},
        SizeCase{"EmptyIsOneLine", "", {0, 180}},
        SizeCase{"WidestLineWins", "ab\n波特率\nc", {540, 540}},
        SizeCase{"CarriageReturnBelongsToBreak", "ab\r\ncd", {180, 360}},
        SizeCase{"TrailingBreakAddsLine", "ab\n", {180, 360}},
        SizeCase{"LoneCarriageReturnIsACharacter", "a\rb", {270, 180}},
        SizeCase{"InvalidByteIsOneCharacter",
                 "a\xFF"
                 "b",
                 {360, 180}},
        SizeCase{"TruncatedSequence", "a\xE6\xB3", {450, 180}}),
    [](const testing::TestParamInfo<SizeCase>& info) {
      return info.param.name;
    });

TEST(AutoSizeRounding, PartialPixelsRoundUpSoNothingIsClipped) {
  const auto size = window::AutoSizeTwips(
      "abc", window::SumOfCharacters([](char32_t) { return 6.2; }), 14);
  EXPECT_EQ(size, (window::TwipSize{19 * 15, 14 * 15}));
}

// Lines are measured whole, so a font that kerns or shapes a pair is sized
// by the line's real width, not by the sum of its characters.
TEST(AutoSizeLines, EachLineIsMeasuredWhole) {
  std::vector<std::string> measured;
  const auto size = window::AutoSizeTwips(
      "T1\r\nab\n",
      [&](std::string_view line) {
        measured.emplace_back(line);
        return line == "T1" ? 13.1 : 1.0;
      },
      15);
  EXPECT_EQ(measured, (std::vector<std::string>{"T1", "ab", ""}));
  EXPECT_EQ(size, (window::TwipSize{14 * 15, 3 * 15 * 15}));
}

struct DecodeCase {
  const char* name;
  const char* bytes;
  std::u32string expected;
};
void PrintTo(const DecodeCase& row, std::ostream* os) { *os << row.name; }

class DecodeUtf8Test : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeUtf8Test, DecodesOrReplaces) {
  EXPECT_EQ(window::DecodeUtf8(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, DecodeUtf8Test,
    testing::Values(
        DecodeCase{"Ascii", "T1", U"T1"},
        DecodeCase{"TwoBytes", "\xC2\xB5", U"\u00B5"},
        DecodeCase{"ThreeBytes", "误差", U"误差"},
        DecodeCase{"FourBytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
        DecodeCase{"OverlongSlash", "\xC0\xAF", U"\uFFFD\uFFFD"},
        DecodeCase{"OverlongThreeByte", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
        DecodeCase{"Surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
        DecodeCase{"BeyondUnicode", "\xF4\x90\x80\x80",
                   U"\uFFFD\uFFFD\uFFFD\uFFFD"},
        DecodeCase{"BadContinuationKeepsNext", "\xE8\xAFx", U"\uFFFD\uFFFDx"},
        DecodeCase{"LoneContinuation",
                   "\x80"
                   "a",
                   U"\uFFFDa"}),
    [](const testing::TestParamInfo<DecodeCase>& info) {
      return info.param.name;
    });

}  // namespace
