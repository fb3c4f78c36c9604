// The table's rows: every setting the filters leave at each rate, in tie
// order, and the best of them.
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

}  // namespace
}  // namespace mcs51
