// The option table's values and rejections: what a family's --timer and
// --clock take comes from the catalogue, and every value is checked against
// the --chip given with it.
#include "cli/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "mcs51/hardware/catalogue.h"

namespace cli {
namespace {

struct ValueRow {
  const char* name;
  const char* option;
  const char* chip;
  const char* text;  // a value to check; nullptr: the option given bare
  std::optional<std::string> rejection;
};
void PrintTo(const ValueRow& row, std::ostream* os) { *os << row.name; }

class ValueTest : public testing::TestWithParam<ValueRow> {};

TEST_P(ValueTest, IsCheckedAgainstTheFamilyGiven) {
  const ValueRow& row = GetParam();
  const OptionRow* option = FindOption(row.option);
  ASSERT_NE(option, nullptr);
  if (row.text == nullptr) {
    EXPECT_EQ(NeedsValue(*option, row.chip), row.rejection);
  } else {
    EXPECT_EQ(CheckValue(*option, row.text, row.chip), row.rejection);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ValueTest,
    testing::Values(
        ValueRow{"ClassicClock", "--clock", "", "6", std::nullopt},
        ValueRow{"ClassicClockRefused", "--clock", "", "4",
                 "--clock \"4\": not 12, 6 or 1"},
        ValueRow{"FamilyClockRefused", "--clock", "stc15", "6",
                 "--clock \"6\": not 12 or 1"},
        ValueRow{"FamilyTimer", "--timer", "n76e003", "3", std::nullopt},
        ValueRow{"GeneratorNarrowsTimers", "--timer", "stc15:t2", "1",
                 "--timer \"1\": not 2"},
        ValueRow{"BareTimerNamesFamilyTimers", "--timer", "stc12", nullptr,
                 "--timer: needs a value (0 or 1)"},
        ValueRow{"EmptyListItem", "--baud", "", "9600,",
                 "BAUD \"\": not a number"},
        ValueRow{"ChipAndGenerator", "--chip", "", "stc15:t2", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// What an option takes follows the command: tick's timers are the tick
// settings', delay's clocks those of the cores the family's parts run.
struct WordsRow {
  const char* name;
  const char* option;
  const char* chip;
  Command command;
  std::vector<std::string> words;
};
void PrintTo(const WordsRow& row, std::ostream* os) { *os << row.name; }

class WordsTest : public testing::TestWithParam<WordsRow> {};

TEST_P(WordsTest, FollowTheCommand) {
  const WordsRow& row = GetParam();
  EXPECT_EQ(ValueWords(*FindOption(row.option), row.chip, row.command),
            row.words);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WordsTest,
    testing::Values(
        WordsRow{"BaudTimers", "--timer", "", Command::kCode, {"1", "2"}},
        WordsRow{"TickTimers", "--timer", "", Command::kTick, {"0", "1", "2"}},
        WordsRow{"CoreClocks", "--clock", "", Command::kDelay, {"12", "6"}},
        WordsRow{
            "FamilyCoreClocks", "--clock", "8051", Command::kDelay, {"12"}},
        WordsRow{"NoCoreForAll", "--clock", "all", Command::kDelay, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// delay's --chip names one family, whose core it times.
TEST(ChipProblem, DelayNeedsACore) {
  EXPECT_EQ(ChipProblem("all", Command::kDelay),
            "--chip \"all\": not a family of the catalogue");
  EXPECT_EQ(ChipProblem("all", Command::kCode), std::nullopt);
  EXPECT_EQ(ChipProblem("", Command::kDelay), std::nullopt);
}

// A value is read once, into its own field of the request.
TEST(Take, StoresTheValueRead) {
  Request request;
  EXPECT_EQ(Take(*FindOption("--timer"), "2", "", Command::kSettings, &request),
            std::nullopt);
  EXPECT_EQ(Take(*FindOption("--baud"), "9600,19.2k", "", Command::kSettings,
                 &request),
            std::nullopt);
  EXPECT_EQ(Take(*FindOption("--format"), "markdown", "", Command::kSettings,
                 &request),
            std::nullopt);
  EXPECT_EQ(request.filter.timer, 2);
  EXPECT_EQ(request.rates, (std::vector<double>{9600, 19200}));
  EXPECT_EQ(request.format, mcs51::Format::kMarkdown);
}

// "only with" follows from the commands a row names; a row with its own
// reason gives that.
TEST(Misplaced, NamesTheCommandsOrTheReason) {
  EXPECT_EQ(Misplaced(*FindOption("--frame"), Command::kCode),
            "--frame: only with FREQ BAUD and table");
  EXPECT_EQ(Misplaced(*FindOption("--baud"), Command::kCode),
            "--baud: only with table");
  EXPECT_EQ(Misplaced(*FindOption("--clock"), Command::kChips),
            "--clock: not for chips, which lists every family");
  EXPECT_EQ(Misplaced(*FindOption("--smod"), Command::kDelay),
            "--smod: not for tick, tick-code and delay, which use no UART");
}

// Every family the catalogue lists is a value of --chip, "all" last.
TEST(ChipValues, FollowTheCatalogue) {
  const std::vector<std::string> words = ValueWords(*FindOption("--chip"), "");
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.back(), "all");
  for (const mcs51::Chip& chip : mcs51::Chips()) {
    EXPECT_NE(std::find(words.begin(), words.end(), chip.name), words.end())
        << chip.name;
  }
}

}  // namespace
}  // namespace cli
