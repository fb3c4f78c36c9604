// The answers' rows and columns: each mark worded and signed once, in both
// tongues, and every column reachable by the outputs that show it.
#include "mcs51/answers/answers.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/ranking.h"

namespace mcs51 {
namespace {

struct MarkWordsRow {
  const char* name;
  Mark mark;
  double tolerance_percent;
  Tongue tongue;
  const char* words;
};
void PrintTo(const MarkWordsRow& row, std::ostream* os) { *os << row.name; }

class MarkWordsTest : public testing::TestWithParam<MarkWordsRow> {};

TEST_P(MarkWordsTest, FillsInThePercentItIsJudgedBy) {
  const MarkWordsRow& row = GetParam();
  EXPECT_EQ(MarkWords(row.mark, row.tolerance_percent, row.tongue), row.words);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MarkWordsTest,
    testing::Values(MarkWordsRow{"CloseIsAlwaysTheCloseBand", Mark::kClose, 5,
                                 Tongue::kEnglish, "within 0.2 %"},
                    MarkWordsRow{"WithinTheTolerance", Mark::kWithin, 1.5,
                                 Tongue::kEnglish, "within 1.5 %"},
                    MarkWordsRow{"BeyondInChinese", Mark::kBeyond, 2,
                                 Tongue::kChinese, "超出 2 %"},
                    MarkWordsRow{"ExactHasNoPercent", Mark::kExact, 2,
                                 Tongue::kChinese, "精确"},
                    MarkWordsRow{"OutOfRange", Mark::kOutOfRange, 2,
                                 Tongue::kEnglish, "out of range"}),
    [](const auto& info) { return std::string(info.param.name); });

// A key or a sign read back must name one mark only.
TEST(MarkRows, KeysAndSignsAreEachOnesOwn) {
  std::set<std::string_view> keys;
  std::set<std::string_view> signs;
  for (const MarkRow& row : MarkRows()) {
    EXPECT_EQ(RowOf(row.mark).key, row.key);
    keys.insert(row.key);
    signs.insert(row.sign);
  }
  EXPECT_EQ(keys.size(), MarkRows().size());
  EXPECT_EQ(signs.size(), MarkRows().size());
  std::set<std::string_view> link_signs;
  for (const LinkRow& row : LinkRows()) link_signs.insert(row.sign);
  EXPECT_EQ(link_signs.size(), LinkRows().size());
}

// The tables' legends follow the rows, in either tongue.
TEST(MarkRows, SignsWithTheirWords) {
  EXPECT_EQ(MarkSigns(2, Tongue::kEnglish),
            "= exact, ~ within 0.2 %, + within 2 %, ! beyond 2 %, -- out of "
            "range");
  EXPECT_EQ(LinkSigns(Tongue::kChinese), "* 可用, ? 勉强, x 不通");
}

TEST(ProblemRows, WordEveryReadingProblem) {
  using P = calc::ReadProblem;
  for (P problem :
       {P::kNotANumber, P::kNotFinite, P::kOutOfRange, P::kNotPositive,
        P::kNegative, P::kNoUnit, P::kNoTimeUnit}) {
    EXPECT_EQ(RowOf(problem).problem, problem);
    EXPECT_FALSE(RowOf(problem).words.en.empty());
    EXPECT_FALSE(RowOf(problem).words.zh.empty());
  }
}

// Machines and the page find each column by its key: no two columns share
// one, and each is shown to people (a header), to machines, or to both.
template <typename Row>
void ExpectReachable(std::span<const Column<Row>> columns) {
  std::set<std::string_view> keys;
  for (const Column<Row>& column : columns) {
    EXPECT_TRUE(column.cell != nullptr) << column.key;
    EXPECT_TRUE(column.for_machines || !column.header.en.empty()) << column.key;
    EXPECT_FALSE(column.key.empty()) << column.header.en;
    EXPECT_EQ(column.header.zh.empty(), column.header.en.empty())
        << column.header.en;
    EXPECT_TRUE(keys.insert(column.key).second) << column.key;
  }
}

TEST(Columns, EveryColumnIsReachedByItsKeyOrHeader) {
  ExpectReachable(SettingColumns());
  ExpectReachable(TickColumns());
  ExpectReachable(RateColumns());
  ExpectReachable(CrystalColumns());
  ExpectReachable(ChipColumns());
  ExpectReachable(TickTimerColumns());
}

// An out-of-range setting has no reload, rate or error: null for
// machines, "--" for people.
TEST(SettingColumns, OutOfRangeIsNothing) {
  const Outcome outcome = Evaluate(DefaultSettings()[0], 11.0592, 921600, 2);
  ASSERT_FALSE(outcome.fits);
  const SettingRow row{outcome};
  for (const Column<SettingRow>& column : SettingColumns()) {
    if (column.key == "reload_hex" || column.key == "actual_baud" ||
        column.key == "error_percent") {
      EXPECT_EQ(column.cell(row), std::nullopt) << column.key;
      EXPECT_EQ(PeopleText(column, row), "--") << column.key;
    }
    if (column.key == "mark") {
      EXPECT_EQ(column.cell(row), "out-of-range");
      EXPECT_EQ(PeopleText(column, row), "out of range");
    }
  }
}

// One value per cell: people read it as the column shows it.
struct ShownRow {
  const char* name;
  Shown shown;
  Value value;
  const char* none;
  double tolerance_percent;
  const char* text;
};
void PrintTo(const ShownRow& row, std::ostream* os) { *os << row.name; }

class ShownTest : public testing::TestWithParam<ShownRow> {};

TEST_P(ShownTest, WordsTheOneValue) {
  const ShownRow& row = GetParam();
  EXPECT_EQ(ShownText(row.shown, row.value, row.none, row.tolerance_percent),
            row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShownTest,
    testing::Values(
        ShownRow{"AsIs", Shown::kAsIs, "FD", "--", 2, "FD"},
        ShownRow{"NothingIsTheColumnsNone", Shown::kFixed, std::nullopt, "-", 2,
                 "-"},
        ShownRow{"RateWithTwoDecimals", Shown::kFixed, "9615.384615384615",
                 "--", 2, "9615.38"},
        ShownRow{"SignedPercent", Shown::kSignedPercent, "0.16276", "--", 2,
                 "+0.16 %"},
        ShownRow{"TinyErrorHasNoSign", Shown::kSignedPercent, "-1e-14", "--", 2,
                 "0.00 %"},
        ShownRow{"MarginPercent", Shown::kPercent, "43.5", "--", 2, "43.50 %"},
        ShownRow{"Period", Shown::kPeriod, "0.001", "--", 2, "1.0000 ms"},
        ShownRow{"MarkByItsTolerance", Shown::kMark, "within", "--", 1.5,
                 "within 1.5 %"},
        ShownRow{"UnknownMarkKeyAsIs", Shown::kMark, "odd", "--", 2, "odd"}),
    [](const auto& info) { return std::string(info.param.name); });

// table's best cell: label, reload and error, the link after a comma.
TEST(RateColumns, BestSaysTheSettingAndItsLink) {
  const Outcome best = Evaluate(DefaultSettings()[1], 11.0592, 19200, 2);
  ASSERT_TRUE(best.fits);
  Link link{};
  link.mark = LinkMark::kWorks;
  const RateRow alone{19200, best};
  const RateRow linked{19200, best, &link};
  const Column<RateRow>& column = RateColumns().back();
  ASSERT_EQ(column.key, "best");
  EXPECT_EQ(PeopleText(column, alone), "T1/1/12 FD 0.00 %");
  EXPECT_EQ(PeopleText(column, linked), "T1/1/12 FD 0.00 %, works");
  const Outcome none = Evaluate(DefaultSettings()[0], 11.0592, 921600, 2);
  EXPECT_EQ(PeopleText(column, RateRow{921600, none}), "none in range");
}

// A crystal some rate cannot reach has no worst error.
TEST(CrystalColumns, NoWorstErrorOutOfReach) {
  const CrystalScore score{11.0592, {}, false, 0, Mark::kOutOfRange};
  EXPECT_EQ(PeopleText(CrystalColumns()[2], CrystalRow{score, 1}), "--");
}

// The family tables cite documents; what a source lacks is said once,
// as "no printed table", and nothing about how it was looked for.
TEST(ChipColumns, EvidenceSaysNoPrintedTableAndNothingMore) {
  for (const Chip& chip : Chips()) {
    for (const Column<Chip>& column : ChipColumns()) {
      const std::string cell = PeopleText(column, chip);
      for (const char* words : {"not found", "not read", "as quoted"}) {
        EXPECT_EQ(cell.find(words), std::string::npos)
            << chip.name << ": " << cell;
      }
    }
  }
  EXPECT_EQ(EvidenceWords(Evidence::kFormulaOnly).en,
            "the formula only; no printed table");
}

// A family's words in Chinese: the record's own where it has words beyond
// the makers' part names, which read the same in both tongues.
TEST(FamilyText, ChineseWhereTheRecordHasWords) {
  struct Row {
    std::string_view chip, en, zh;
  };
  for (const Row& row : {
           Row{"8052", "classic 8052 (12 clocks)", "经典 8052（12 时钟）"},
           Row{"1t", "single-cycle Timer 1 (T1x12)", "单周期定时器 1（T1x12）"},
           Row{"n76e003", "Nuvoton N76E003", "Nuvoton N76E003"},
       }) {
    const Chip* chip = FindChip(row.chip);
    ASSERT_NE(chip, nullptr) << row.chip;
    EXPECT_EQ(chip->family.In(Tongue::kEnglish), row.en) << row.chip;
    EXPECT_EQ(chip->family.In(Tongue::kChinese), row.zh) << row.chip;
  }
  // No family's Chinese keeps an English word that is not a name.
  for (const Chip& chip : Chips()) {
    const std::string_view zh = chip.family.In(Tongue::kChinese);
    for (std::string_view word :
         {"classic", "clocks", "parts", "single", " and ", "later", "kin"}) {
      EXPECT_EQ(zh.find(word), std::string_view::npos) << chip.name << zh;
    }
  }
}

}  // namespace
}  // namespace mcs51
