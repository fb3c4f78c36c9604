#include "window/auto_size.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The metric the stored label sizes were made with: Chinese characters
// (three UTF-8 bytes) 12 pixels wide, all others 6, lines 12 pixels high.
double SyntheticWidth(std::string_view line) {
  double width = 0;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) width += 6;
    if (byte >= 0xE0) width += 12;
  }
  return width;
}
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
  EXPECT_EQ(
      window::AutoSizeTwips(GetParam().text, SyntheticWidth, kSyntheticLine),
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
        SizeCase{"LoneCarriageReturnIsACharacter", "a\rb", {270, 180}}),
    [](const testing::TestParamInfo<SizeCase>& info) {
      return info.param.name;
    });

TEST(AutoSizeRounding, PartialPixelsRoundUpSoNothingIsClipped) {
  const auto size = window::AutoSizeTwips(
      "abc", [](std::string_view line) { return 6.2 * line.size(); }, 14);
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

}  // namespace
