// Options read the same wherever they stand around the positional
// arguments: each row's command lines give one answer, byte for byte.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cli/run.h"

namespace cli {
namespace {

using Args = std::vector<std::string>;

struct PermutationRow {
  const char* name;
  std::vector<Args> lines;  // the first as the README writes it
};
void PrintTo(const PermutationRow& row, std::ostream* os) { *os << row.name; }

class PermutationTest : public testing::TestWithParam<PermutationRow> {};

TEST_P(PermutationTest, EveryOrderGivesTheSameAnswer) {
  const PermutationRow& row = GetParam();
  const RunResult first = cli::Run(row.lines.front(), {});
  ASSERT_EQ(first.status, kExitAnswered) << first.err;
  for (const Args& line : row.lines) {
    const RunResult result = cli::Run(line, {});
    EXPECT_EQ(result.status, first.status) << result.err;
    EXPECT_EQ(result.out, first.out) << testing::PrintToString(line);
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, PermutationTest,
    testing::Values(
        PermutationRow{
            "Settings",
            {{"11.0592", "19200", "--clock", "12", "--format", "csv"},
             {"--format=csv", "11.0592", "--clock", "12", "19200"},
             {"--clock", "12", "--format", "csv", "11.0592", "19200"}}},
        // The second line once read 12 as a rate and missed FREQ.
        PermutationRow{"TableWithRates",
                       {{"table", "12", "--baud", "19200", "--timer", "1"},
                        {"table", "--baud", "19200", "12", "--timer", "1"},
                        {"--baud", "19200", "--timer", "1", "table", "12"}}},
        PermutationRow{"CrystalsAroundAnOption",
                       {{"crystals", "9600", "115200", "--clock", "1"},
                        {"crystals", "9600", "--clock", "1", "115200"},
                        {"--clock", "1", "crystals", "9600", "115200"}}},
        PermutationRow{"CodeWithAChip",
                       {{"code", "11.0592", "115200", "--chip", "stc15:t2",
                         "--clock", "1", "--lang", "asm"},
                        {"--lang", "asm", "code", "11.0592", "--clock", "1",
                         "115200", "--chip", "stc15:t2"}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cli
