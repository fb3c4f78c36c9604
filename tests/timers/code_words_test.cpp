// The code's comments in Chinese: every record's words have an entry, and
// the working each table's chosen row shows follows its record.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "timers/catalogue.h"
#include "timers/code_words.h"
#include "timers/init_code.h"
#include "timers/text.h"
#include "timers/working.h"

namespace timers {
namespace {

// Records added without their Chinese fall back to English; this names
// them so that the table catches up.
TEST(CodeWordsTest, EveryRecordsWordsHaveChinese) {
  std::vector<std::string> missing;
  auto check = [&](std::string_view english) {
    if (HasWords(english) && !ChineseOf(english)) {
      missing.emplace_back(english);
    }
  };
  for (const Chip& chip : Chips()) {
    std::string note;
    for (std::string_view line : chip.note) {
      note += (note.empty() ? "" : " ") + std::string(line);
    }
    check(note);
    for (const Generator* generator : chip.generators) {
      check(generator->text);
      for (const Write& write : generator->writes) {
        check(write.comment);
        for (std::string_view comment : write.c_comment_by_smod) check(comment);
      }
    }
  }
  EXPECT_TRUE(missing.empty())
      << "untranslated: " << testing::PrintToString(missing);
}

TEST(CodeWordsTest, UntranslatedStaysEnglish) {
  EXPECT_EQ(InLanguage("a comment not in the table", CodeLanguage::kChinese),
            "a comment not in the table");
}

// Only the comments change with the language: the same statements.
TEST(CodeWordsTest, ChineseCodeKeepsTheStatements) {
  const Outcome outcome =
      Evaluate(ChipSettings(FindChip("stc15"))[1], 11.0592, 115200, 2);
  const std::string code =
      InitCode(11.0592, 115200, outcome, "w", CodeLanguage::kChinese);
  EXPECT_NE(code.find("T2L = 0xE8;"), std::string::npos) << code;
  EXPECT_NE(code.find("串口 1 用定时器 2"), std::string::npos) << code;
}

struct WorkingRow {
  const char* name;
  const char* chip;
  int setting;  // in ChipSettings order
  double frequency_mhz, baud;
  Working working;
};
void PrintTo(const WorkingRow& row, std::ostream* os) { *os << row.name; }

class WorkingTest : public testing::TestWithParam<WorkingRow> {};

TEST_P(WorkingTest, FollowsTheRecordsArithmetic) {
  const WorkingRow& row = GetParam();
  const Outcome outcome =
      Evaluate(ChipSettings(FindChip(row.chip))[row.setting], row.frequency_mhz,
               row.baud, 2);
  const Working working = WorkingOf(outcome, row.frequency_mhz, row.baud);
  EXPECT_EQ(working.reload, row.working.reload);
  EXPECT_EQ(working.actual, row.working.actual);
  EXPECT_EQ(working.error, row.working.error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkingTest,
    testing::Values(
        WorkingRow{"Rounded",
                   "8052",
                   0,
                   12,
                   9600,
                   {"TH1 = 256 − 12000000 × 2^0 / (32 × 12 × 9600) = 252.74 "
                    "→ 253 = 0xFD",
                    "12000000 × 2^0 / (32 × 12 × (256 − 253)) = 10416.67",
                    "(10416.67 − 9600) / 9600 = +8.51 %"}},
        WorkingRow{"SixteenBitsByName",
                   "8052",
                   2,
                   11.0592,
                   9600,
                   {"RCAP2 = 65536 − 11059200 / (32 × 9600) = 65500 = "
                    "0xFFDC",
                    "11059200 / (32 × (65536 − 65500)) = 9600.00",
                    "(9600.00 − 9600) / 9600 = 0.00 %"}},
        WorkingRow{"DownCounter",
                   "xc886",
                   0,
                   24,
                   9600,
                   {"BG = 24000000 / (16 × 9600) − 1 = 155.25 → 155 = 0x9B",
                    "24000000 / (16 × (155 + 1)) = 9615.38",
                    "(9615.38 − 9600) / 9600 = +0.16 %"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace timers
