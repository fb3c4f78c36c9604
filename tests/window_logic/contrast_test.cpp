// The readability rule: which colours it keeps, and what it makes of the
// ones it cannot keep.
#include "window/contrast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace window {
namespace {

TEST(ContrastRatio, MatchesTheWcagFigures) {
  EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(0x808080, 0x808080), 1.0);
  EXPECT_NEAR(ContrastRatio(kWarningColor, kResultBackColor), 4.0, 0.05);
  EXPECT_NEAR(ContrastRatio(kWarningColor, 0xF0F0F0), 4.6, 0.05);
}

// Where no lightness of the hue reaches the target, black or white does.
TEST(ReadableOn, GoesAsFarAsBlackOrWhiteAllows) {
  EXPECT_EQ(ReadableOn(0x0000FF, 0x767676, 4.5, kEnhancedContrast), 0x000000);
}

TEST(RequiredContrast, IsLowerOnlyWhereTheWindowItselfGivesLess) {
  EXPECT_DOUBLE_EQ(RequiredContrast(kWarningColor, kResultBackColor),
                   ContrastRatio(kWarningColor, kResultBackColor));
  EXPECT_EQ(RequiredContrast(kNormalTextColor, kResultBackColor),
            kMinimumContrast);
  EXPECT_EQ(RequiredContrast(kWarningColor, std::nullopt), kMinimumContrast);
  EXPECT_EQ(RequiredContrast(kMakerColor, std::nullopt), kMinimumContrast);
}

double Lightness(Color c) {
  const int high = std::max({Red(c), Green(c), Blue(c)});
  const int low = std::min({Red(c), Green(c), Blue(c)});
  return (high + low) / 510.0;
}

struct ReadableRow {
  const char* name;
  Color text;
  Color background;
  double required;
  bool kept;
  double target = 0;  // where a changed colour goes; 0: `required`
};
void PrintTo(const ReadableRow& row, std::ostream* os) { *os << row.name; }

class ReadableOnTest : public testing::TestWithParam<ReadableRow> {};

TEST_P(ReadableOnTest, ReachesTheRatioByTheLeastChangeOfLightness) {
  const ReadableRow& row = GetParam();
  const Color shown =
      ReadableOn(row.text, row.background, row.required, row.target);
  const double goal =
      row.kept ? row.required : std::max(row.required, row.target);
  EXPECT_GE(ContrastRatio(shown, row.background), goal);
  if (row.kept) {
    EXPECT_EQ(shown, row.text);
    return;
  }
  EXPECT_NE(shown, row.text);
  // The hue stays: the channels keep their order.
  const auto order = [](Color c) {
    return (Red(c) >= Green(c)) * 4 + (Green(c) >= Blue(c)) * 2 +
           (Red(c) >= Blue(c));
  };
  if (Lightness(shown) > 0.02 && Lightness(shown) < 0.98) {
    EXPECT_EQ(order(shown), order(row.text));
  }
  // Least change: it stops as soon as the ratio is reached, a channel step
  // or so past it, rather than going on to black or white.
  EXPECT_LT(ContrastRatio(shown, row.background), goal + 0.2);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ReadableOnTest,
    testing::Values(
        ReadableRow{"BlackOnGrey", 0x000000, kResultBackColor, 4.5, true},
        ReadableRow{"WarningOnGreyAsDescribed", kWarningColor, kResultBackColor,
                    4.0, true},
        ReadableRow{"BlueOnLightWindow", kMakerColor, 0xEFEFEF, 4.5, true},
        ReadableRow{"WhiteOnGrey", 0xFFFFFF, kResultBackColor, 4.5, false},
        ReadableRow{"BlueOnDarkWindow", kMakerColor, 0x353535, 4.5, false},
        ReadableRow{"WarningOnDarkWindow", kWarningColor, 0x2A2A2A, 4.5, false},
        ReadableRow{"WarningOnBlack", kWarningColor, 0x000000, 4.5, false},
        ReadableRow{"GreyOnMiddleGrey", 0x777777, 0x767676, 4.5, false},
        ReadableRow{"WhiteOnGreyToTheEnhancedRatio", 0xFFFFFF, kResultBackColor,
                    4.5, false, kEnhancedContrast},
        ReadableRow{"WarningOnDarkToTheEnhancedRatio", kWarningColor, 0x2A2A2A,
                    4.5, false, kEnhancedContrast}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace window
