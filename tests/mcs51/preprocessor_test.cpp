// The branches of #if as the compilers take them, one row per form, and
// the conditions no compiler could decide from the paste alone.
#include <gtest/gtest.h>

#include <string>

#include "mcs51/reading/code_reader.h"
#include "tests/mcs51/code_reader_rows.h"

namespace mcs51 {
namespace {

struct BranchRow {
  const char* name;
  const char* source;
  const char* effects;
  const char* unresolved;  // "line:name ..."
};
void PrintTo(const BranchRow& row, std::ostream* os) { *os << row.name; }

class BranchTest : public testing::TestWithParam<BranchRow> {};

TEST_P(BranchTest, TakesTheCompilersBranch) {
  const CodeReading reading = ReadCode(GetParam().source, CodeDialect::kC);
  EXPECT_EQ(EffectsText(reading), GetParam().effects);
  std::string unresolved;
  for (const Unresolved& u : reading.unresolved) {
    unresolved +=
        (unresolved.empty() ? "" : " ") + std::to_string(u.line) + ":" + u.name;
  }
  EXPECT_EQ(unresolved, GetParam().unresolved);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, BranchTest,
    testing::Values(
        BranchRow{"IfChoosesTimer1",
                  "#define BAUD_TIMER 1\n#if (BAUD_TIMER == 1)\nTH1 = 0xFD;\n"
                  "#else\nRCAP2L = 0xDC;\n#endif",
                  "3:TH1=0xfd", ""},
        BranchRow{"IfndefOfADefinedName",
                  "#define MONITOR51\n#ifndef MONITOR51\nTR1 = 1;\n#endif\n"
                  "TH1 = 5;",
                  "5:TH1=0x5", ""},
        BranchRow{"KeilByDefault",
                  "#ifdef __SDCC\nTH1 = 1;\n#else\nTH1 = 2;\n#endif",
                  "4:TH1=0x2", ""},
        BranchRow{"ElifAfterDefined",
                  "#define F 2\n#if defined(F) && F == 1\nTH1 = 1;\n"
                  "#elif F == 2\nTH1 = 2;\n#else\nTH1 = 3;\n#endif",
                  "5:TH1=0x2", ""},
        BranchRow{"NestedInALeftOutBranch",
                  "#if 0\n#if 1\nTH1 = 1;\n#endif\n#else\nTH1 = 2;\n#endif",
                  "6:TH1=0x2", ""},
        BranchRow{"DefineInALeftOutBranch",
                  "#if 0\n#define R 5\n#endif\nTH1 = R;", "4:TH1<-R", ""},
        BranchRow{"UndefinedNameTakesNeither",
                  "#if BAUD_TIMER == 1\nTH1 = 1;\n#else\nTH2 = 2;\n#endif\n"
                  "TL1 = 3;",
                  "6:TL1=0x3", "1:BAUD_TIMER"},
        BranchRow{"IfdefOfANameDefinedNowhere",
                  "#ifdef DEBUG\nTH1 = 1;\n#endif", "", "1:DEBUG"},
        BranchRow{"DivisionByZeroIsNoValue", "#if 1 / 0\nTH1 = 1;\n#endif", "",
                  "1:"}),
    [](const auto& info) { return std::string(info.param.name); });

// C's precedence and arithmetic in conditions, each operator group once;
// SDCC's own macros where the compiler is named.
TEST(BranchTest, WorksConditionsOutAsC) {
  struct Row {
    const char* condition;
    bool taken;
  };
  for (const Row& row : {
           Row{"1 + 2 * 3 == 7", true},
           Row{"(1 + 2) * 3 == 7", false},
           Row{"1 << 4 > 15 && !0", true},
           Row{"0 || 6 & 3 ^ 1 | 0", true},
           Row{"-1 < 0 ? 7 % 4 == 3 : 0", true},
           Row{"~0 == -1", true},
           Row{"10 / 3 == 3 && 10 >= 10 && 2 <= 1", false},
       }) {
    const std::string source =
        std::string("#if ") + row.condition + "\nTH1 = 1;\n#endif";
    EXPECT_EQ(EffectsText(ReadCode(source, CodeDialect::kC)),
              row.taken ? "2:TH1=0x1" : "")
        << row.condition;
  }
  const CodeReading sdcc =
      ReadCode("#if defined(__SDCC_mcs51) && SDCC >= 420\nTH1 = 1;\n#endif",
               CodeDialect::kC, Compiler::kSdcc);
  EXPECT_EQ(EffectsText(sdcc), "2:TH1=0x1");
  EXPECT_TRUE(sdcc.unresolved.empty());
}

// A condition nested past any real one stops, unread, instead of taking
// the stack with it.
TEST(BranchTest, DeepConditionIsNoValue) {
  const std::string source = "#if " + std::string(100000, '(') + "1" +
                             std::string(100000, ')') + "\nTH1 = 1;\n#endif";
  const CodeReading reading = ReadCode(source, CodeDialect::kC);
  EXPECT_EQ(EffectsText(reading), "");
  ASSERT_EQ(reading.unresolved.size(), 1u);
}

}  // namespace
}  // namespace mcs51
