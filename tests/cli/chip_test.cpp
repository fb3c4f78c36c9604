// --chip and chips through Run: what the command line adds to the
// catalogue (reading the name, the output fields); the numbers are the
// timers tests'.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

#include "cli/run.h"

namespace cli {
namespace {

struct ChipRow {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::vector<std::string> out;  // each found in standard output
  std::string err;               // found in standard error
};
void PrintTo(const ChipRow& row, std::ostream* os) { *os << row.name; }

class ChipTest : public testing::TestWithParam<ChipRow> {};

TEST_P(ChipTest, Answers) {
  const ChipRow& row = GetParam();
  const RunResult result = cli::Run(row.args, {});
  EXPECT_EQ(result.status, row.status) << result.err;
  for (const std::string& text : row.out) {
    EXPECT_NE(result.out.find(text), std::string::npos) << text;
  }
  EXPECT_NE(result.err.find(row.err), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ChipTest,
    testing::Values(
        ChipRow{"UnknownChipListsTheNames",
                {"12", "9600", "--chip", "z80"},
                kExitBadInput,
                {},
                "--chip \"z80\": not 8051, 8052, x2, 1t, stc8"},
        ChipRow{"UnknownGenerator",
                {"12", "9600", "--chip", "stc15:t9"},
                kExitBadInput,
                {},
                "no such generator"},
        ChipRow{"FilterLeavingNothing",
                {"12", "9600", "--chip", "efm8", "--smod", "1"},
                kExitBadInput,
                {},
                "no setting of that chip matches"},
        ChipRow{"AnotherPartsNameIsItsFamily",
                {"32", "115200", "--chip", "cc2541"},
                kExitAnswered,
                {"cc2530:u0/1"},
                ""},
        ChipRow{"TimerThreeOnlyWithAChip",
                {"16", "115200", "--chip", "n76e003", "--timer", "3"},
                kExitAnswered,
                {"n76e003:t3/1s1", "n76e003:u1t3/1s1"},
                ""},
        ChipRow{"ChipsListsFamiliesAndDocuments",
                {"chips"},
                kExitAnswered,
                {"xc886", "bgfd", "3706C"},
                ""},
        ChipRow{"TableColumnsAreLabelled",
                {"table", "24", "--chip", "xc886", "--baud", "19200"},
                kExitAnswered,
                {"xc886:bg/1", "xc886:bgfd/32"},
                ""},
        ChipRow{
            "CodeNamesTheFamily",
            {"code", "11.0592", "115200", "--chip", "stc15:t2", "--clock", "1"},
            kExitAnswered,
            {"STC15", "T2L = 0xE8;", "AUXR = (AUXR & 0xE2) | 0x15;"},
            ""},
        ChipRow{"CodeRefusesAsToday",
                {"code", "11.0592", "921600", "--chip", "8051"},
                kExitRefused,
                {},
                "every reload is out of range"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChipJson, EverySettingNamesItsChipGeneratorAndRegisters) {
  const std::vector<std::string> args{"11.0592", "115200",   "--chip",
                                      "stc15",   "--format", "json"};
  const auto json = nlohmann::json::parse(cli::Run(args, {}).out);
  const auto& best = json.at("settings").at(0);
  EXPECT_EQ(best.at("chip"), "stc15");
  EXPECT_EQ(best.at("generator"), "t2/12");
  EXPECT_EQ(best.at("registers").at("AUXR"), 0x11);
  EXPECT_EQ(best.at("registers").at("T2L"), 0xFE);
  // Today's fields stay.
  EXPECT_EQ(best.at("reload_hex"), "FFFE");
  EXPECT_EQ(best.at("mark"), "exact");
}

}  // namespace
}  // namespace cli
