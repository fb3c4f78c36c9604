// What every front end takes from the records: pixels, the first focus,
// the colours a label shows, and the words of a caught error.
#include "window/look.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>

#include "calc/runtime_error.h"
#include "window/contrast.h"
#include "window/dispatch.h"

namespace window {
namespace {

TEST(Pixels, RoundsToTheNearestPixelAtAnyDpi) {
  EXPECT_EQ(Pixels(1080), 72);
  EXPECT_EQ(Pixels(1080, 144), 108);
  EXPECT_EQ(Pixels(975, 120), 81);
  EXPECT_EQ(Pixels(982, 120), 82);  // 81.83
}

TEST(FirstTabStop, IsTheLowestTabIndexThatTakesTheFocus) {
  // Labels never take it, even with a lower tab index.
  const ControlRecord records[] = {
      {"Label1", ControlKind::kLabel, "", 0, 0, 0, 0, 0},
      {"Command1", ControlKind::kCommandButton, "", 0, 0, 0, 0, 3},
      {"Combo1", ControlKind::kComboBox, "", 0, 0, 0, 0, 2},
  };
  ASSERT_NE(FirstTabStop(records), nullptr);
  EXPECT_EQ(FirstTabStop(records)->name, "Combo1");
  EXPECT_EQ(FirstTabStop(std::span(records, 1)), nullptr);
}

Color Light(int index) { return index == kSystemButtonFace ? 0xF0F0F0 : 0; }
Color Dark(int index) {
  return index == kSystemButtonFace ? 0x202020 : 0xFFFFFF;
}

TEST(ShownColors, KeepsTheDescribedColoursUnderTheLightPalette) {
  EXPECT_EQ(ShownColors(kWarningColor, kResultBackColor, Light),
            (LabelColors{0x0040C0, 0xE0E0E0}));
  EXPECT_EQ(ShownColors(kNormalTextColor, kResultBackColor, Light),
            (LabelColors{0, 0xE0E0E0}));
  EXPECT_EQ(ShownColors(kMakerColor, std::nullopt, Light),
            (LabelColors{0xFF0000, 0xF0F0F0}));
}

// Under a dark palette white button text on the results' own grey, or the
// maker's blue on a dark window, would be unreadable; each is moved to 7:1.
TEST(ShownColors, MovesUnreadableColoursToTheEnhancedRatio) {
  for (const auto& [name, fore, back] :
       {std::tuple{"NormalOnGrey", kNormalTextColor,
                   std::optional<Color>(kResultBackColor)},
        std::tuple{"MakerOnWindow", kMakerColor, std::optional<Color>()}}) {
    const LabelColors shown = ShownColors(fore, back, Dark);
    EXPECT_GE(ContrastRatio(shown.text, shown.back), kEnhancedContrast) << name;
    EXPECT_LT(ContrastRatio(shown.text, shown.back), kEnhancedContrast + 0.3)
        << name;
  }
}

TEST(Dispatch, ReportsTheWordsOfWhateverWasThrown) {
  struct Row {
    const char* name;
    void (*work)();
    std::string message;
  };
  for (const Row& row : {
           Row{"DivisionByZero",
               [] {
                 throw calc::RuntimeError(calc::ErrorKind::kDivisionByZero);
               },
               "除数为零"},
           Row{"Overflow",
               [] { throw calc::RuntimeError(calc::ErrorKind::kOverflow); },
               "溢出"},
           Row{"OtherException",
               [] { throw std::invalid_argument("no Combo3"); }, "no Combo3"},
           Row{"NotAnException", [] { throw 42; }, "未知错误"},
       }) {
    std::string reported;
    Dispatch(row.work, [&](std::string_view m) { reported = m; });
    EXPECT_EQ(reported, row.message) << row.name;
  }
  // A failing reporter stays inside.
  Dispatch([] { throw 1; },
           [](std::string_view) { throw std::runtime_error("no box"); });
  EXPECT_EQ(ErrorWords(nullptr), "未知错误");
}

}  // namespace
}  // namespace window
