// The table's rows: every setting the filters leave at each rate, in tie
// order, and the best of them; chips' cards, a line for each part a family
// has.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "mcs51/answers/reports.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

struct TableRowsRow {
  const char* name;
  Question question;
  std::size_t settings;  // per rate
  const char* best;      // SettingLabel of the best, "" when none fits
};
void PrintTo(const TableRowsRow& row, std::ostream* os) { *os << row.name; }

class TableRowsTest : public testing::TestWithParam<TableRowsRow> {};

TEST_P(TableRowsTest, HoldEverySettingAndTheBest) {
  const TableRowsRow& row = GetParam();
  const std::vector<TableRow> rows = TableRows(row.question);
  ASSERT_EQ(rows.size(), row.question.rates.size());
  for (const TableRow& rate : rows) {
    EXPECT_EQ(rate.settings.size(), row.settings);
    EXPECT_EQ(rate.best.fits ? SettingLabel(*rate.best.setting) : "", row.best);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TableRowsTest,
    testing::Values(TableRowsRow{"ClassicSettings",
                                 {.frequency_mhz = 12, .rates = {9600}},
                                 8,
                                 "T2/12"},
                    TableRowsRow{
                        "FilteredToOne",
                        {.frequency_mhz = 11.0592,
                         .rates = {9600, 19200},
                         .filter = {.timer = 1, .smod = 1, .clocks = 12}},
                        1,
                        "T1/1/12"},
                    TableRowsRow{"NoneInRange",
                                 {.frequency_mhz = 11.0592,
                                  .rates = {921600},
                                  .filter = {.clocks = 12}},
                                 3,
                                 ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A family's card: its heading, then only the lines it has values for.
TEST(ChipsText, ACardHasTheLinesItsFamilyHas) {
  struct Row {
    std::string_view chip;
    std::string_view line;
    bool shown;
  };
  const std::string text = ChipsReport(Format::kText);
  for (const Row& row : {
           Row{"8052", "8052      classic 8052 (12 clocks)\n", true},
           Row{"8052",
               "\n          t1      Timer 1 in mode 2; clocks per "
               "count 12; SMOD 0, 1\n          t2      Timer 2",
               true},
           Row{"at89c51rd2", "\n          also as at89c51rb2, at89c51rc2,",
               true},
           Row{"cc2530", "\n          timers checked against: TI's", true},
           Row{"8052", "8052 (12 clocks)\n          also as", false},
       }) {
    // From its heading to the next family's, which starts unindented.
    const std::size_t start = text.find(std::string(row.chip) + " ");
    std::size_t end = text.find('\n', start);
    while (end + 1 < text.size() && text[end + 1] == ' ') {
      end = text.find('\n', end + 1);
    }
    const std::string card = text.substr(start, end - start + 1);
    EXPECT_EQ(card.find(row.line) != std::string::npos, row.shown)
        << row.chip << ": " << row.line;
  }
}

}  // namespace
}  // namespace mcs51
