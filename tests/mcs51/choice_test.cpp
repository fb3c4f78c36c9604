// Which setting the init code is written for, the row every table shows,
// and the default settings' tie order, which the command line and the page
// both read from here.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "mcs51/answers/answers.h"
#include "mcs51/code/init_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

struct ChoiceRow {
  const char* name;
  Filter filter;
  double frequency_mhz, baud;
  std::string best;  // the chosen setting's label
  Refusal refusal;
};
void PrintTo(const ChoiceRow& row, std::ostream* os) { *os << row.name; }

class ChoiceTest : public testing::TestWithParam<ChoiceRow> {};

TEST_P(ChoiceTest, PicksTheBestOrSaysWhyNot) {
  const ChoiceRow& row = GetParam();
  const CodeChoice choice =
      ChooseForCode(Matching(row.filter), row.frequency_mhz, row.baud, 2);
  EXPECT_EQ(SettingLabel(*choice.best.setting), row.best);
  EXPECT_EQ(choice.refusal, row.refusal);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChoiceTest,
    testing::Values(
        ChoiceRow{"Exact", {}, 11.0592, 19200, "T1/1/12", Refusal::kNone},
        ChoiceRow{"WithinTolerance", {}, 12, 9600, "T2/12", Refusal::kNone},
        ChoiceRow{"BeyondTolerance",
                  {.smod = 0, .clocks = 12},
                  11.0592,
                  19200,
                  "T1/0/12",
                  Refusal::kBeyond},
        ChoiceRow{"OutOfRange",
                  {.clocks = 12},
                  11.0592,
                  921600,
                  "T1/0/12",
                  Refusal::kOutOfRange},
        ChoiceRow{"Family",
                  {.chip = "stc15"},
                  11.0592,
                  115200,
                  "stc15:t2/12",
                  Refusal::kNone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RowCells, MarkWhatDoesNotExist) {
  const auto cells = [](const Outcome& outcome) {
    std::vector<std::string> texts;
    for (std::string_view key : {"timer", "smod", "clocks", "reload_hex",
                                 "actual_baud", "error_percent"}) {
      texts.push_back(CellText(SettingColumns(), key, SettingRow{outcome}));
    }
    return texts;
  };
  const Outcome fits =
      Evaluate(*Matching({.timer = 2, .clocks = 12}).front(), 12, 9600, 2);
  EXPECT_EQ(cells(fits), std::vector<std::string>(
                             {"2", "-", "12", "FFD9", "9615.38", "+0.16 %"}));
  const Outcome out =
      Evaluate(*Matching({.chip = "xc886:bg"}).front(), 24, 1e7, 2);
  EXPECT_EQ(cells(out),
            std::vector<std::string>({"-", "-", "1", "--", "--", "--"}));
}

// The clock mode first (it is the chip), then Timer 1 before 2, SMOD 0
// before 1.
TEST(DefaultSettings, KeepTheTieOrder) {
  std::vector<std::string> labels;
  for (const Setting& s : DefaultSettings()) labels.push_back(SettingLabel(s));
  EXPECT_EQ(labels,
            (std::vector<std::string>{"T1/0/12", "T1/1/12", "T2/12", "T1/0/6",
                                      "T1/1/6", "T2/6", "T1/0/1", "T1/1/1"}));
}

}  // namespace
}  // namespace mcs51
