// The words a filter takes, as every front end offers them: from the
// catalogue, the tick settings, the peers and the cores.
#include "mcs51/settings/choices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "mcs51/answers/answers.h"

namespace mcs51 {
namespace {

using Words_ = std::vector<std::string>;

struct ChoicesRow {
  const char* name;
  Words_ (*words)();
  Words_ expected;
};
void PrintTo(const ChoicesRow& row, std::ostream* os) { *os << row.name; }

class ChoicesTest : public testing::TestWithParam<ChoicesRow> {};

TEST_P(ChoicesTest, OffersTheSettingsOwnWords) {
  EXPECT_EQ(GetParam().words(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChoicesTest,
    testing::Values(ChoicesRow{"ClassicTimers",
                               [] { return TimerWords("", false); },
                               {"1", "2"}},
                    ChoicesRow{"ClassicTickTimersAddTimer0",
                               [] { return TimerWords("", true); },
                               {"0", "1", "2"}},
                    ChoicesRow{"ClocksFromTheMost",
                               [] { return ClockWords("", false); },
                               {"12", "6", "1"}},
                    ChoicesRow{"AFamilysClocks",
                               [] { return ClockWords("stc15", false); },
                               {"12", "1"}},
                    ChoicesRow{"UnknownChipLeavesNone",
                               [] { return TimerWords("z80", false); },
                               {}},
                    ChoicesRow{"ClassicCores",
                               [] { return CoreClockWords(""); },
                               {"12", "6"}},
                    ChoicesRow{"A12ClockFamilysCore",
                               [] { return CoreClockWords("8051"); },
                               {"12"}},
                    ChoicesRow{"UnknownFamilyHasNoCore",
                               [] { return CoreClockWords("z80"); },
                               {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every family and alias is a name --chip takes, "all" last.
TEST(ChipWords, EveryFamilyThenAll) {
  const Words_ words = ChipWords();
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.back(), "all");
  for (const Chip& chip : Chips()) {
    EXPECT_NE(std::find(words.begin(), words.end(), chip.name), words.end());
  }
}

// A peer's aliases are words of their own, and beside it in a sentence.
TEST(PeerWords, AliasesBesideTheirPeer) {
  const Words_ words = PeerWords();
  EXPECT_NE(std::find(words.begin(), words.end(), "cp210x"), words.end());
  EXPECT_NE(PeerChoices().find("cp2102 (also as cp210x)"), std::string::npos);
}

// The tick modes of a family's timers, each once.
TEST(ModeWords, EachModeOnce) {
  const Words_ words = ModeWords("8051");
  EXPECT_EQ(words, (Words_{"0", "1", "2"}));
}

TEST(IsGenerator, NamesOneOfTheFamilysGenerators) {
  EXPECT_TRUE(IsGenerator("stc15:t2", false));
  EXPECT_FALSE(IsGenerator("stc15:x", false));
  EXPECT_FALSE(IsGenerator("stc15", false));
  EXPECT_FALSE(IsGenerator("z80:t1", false));
}

// A paste that gave nothing is worded in both tongues.

// A port without a generator found has nulls where the setting goes.
TEST(SerialColumns, NullWithoutASetting) {
  const SerialUse use{.uart = "SCON", .receives = true};
  for (const Column<SerialUse>& column : SerialColumns()) {
    const Value value = column.cell(use);
    if (column.key == "uart") {
      EXPECT_EQ(value, "SCON");
    } else if (column.key == "receives") {
      EXPECT_EQ(value, "true");
    } else {
      EXPECT_EQ(value, std::nullopt) << column.key;
    }
  }
}

}  // namespace
}  // namespace mcs51
