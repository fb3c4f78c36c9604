// The code's comments in Chinese: every record's words and every tick
// code sentence have an entry, the Chinese code builds, and the working
// each table's chosen row shows follows its record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "mcs51/code/code_parts.h"
#include "mcs51/code/init_code.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/working.h"
#include "mcs51/words/words.h"

namespace mcs51 {
namespace {

// A record's words added without their Chinese would read as English in
// the Chinese code; a name alone reads the same in both.
TEST(CodeWordsTest, EveryRecordsWordsHaveChinese) {
  std::vector<std::string> missing;
  auto check = [&](const Words& words) {
    if (HasWords(words.en) && words.zh.empty()) missing.emplace_back(words.en);
  };
  for (const Chip& chip : Chips()) {
    check(chip.note);
    check(TimerNote(chip));
    for (const Core* core : chip.cores) {
      check(core->needs);
      if (!core->refusal.empty()) continue;  // writes no delay to comment
      check(core->text);
      check(core->source);
      check(core->assumes);
    }
    for (const FittedMode& fitted : BaudModes(chip)) {
      check(fitted.mode->text);
      for (const Write& write : fitted.mode->writes) {
        check(write.comment);
        for (const Words& comment : write.c_comment_by_smod) check(comment);
      }
    }
    for (const Unit* timer : TickUnits(chip)) {
      for (const TickMode& mode : timer->ticks) {
        check(mode.text);
        for (const Write& write : mode.writes) check(write.comment);
      }
    }
  }
  EXPECT_TRUE(missing.empty())
      << "untranslated: " << testing::PrintToString(missing);
}

TEST(CodeWordsTest, ANameReadsTheSameInBoth) {
  EXPECT_EQ(Words{"T1x12"}.In(Tongue::kChinese), "T1x12");
}

// English words with nothing Chinese in them: a sentence the table lacks.
bool Untranslated(std::string_view text) {
  return HasWords(text) && std::all_of(text.begin(), text.end(), [](char c) {
           return static_cast<unsigned char>(c) < 0x80;
         });
}

// The comments after code on a line: C's "/* ... */", assembly's "; ...".
std::vector<std::string> LineComments(const std::string& code) {
  std::vector<std::string> comments;
  std::istringstream in(code);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '/' ||
        line.starts_with(" * ")) {
      continue;
    }
    if (const auto c = line.find("/* "); c != std::string::npos) {
      comments.push_back(line.substr(c + 3, line.size() - c - 6));
    } else if (const auto a = line.find("; "); a != std::string::npos) {
      comments.push_back(line.substr(a + 2));
    }
  }
  return comments;
}

// The writers' own sentences, for one family of each kind of tick timer,
// in each mode, with one interrupt a period and with several. A family's
// name stays as it is.
TEST(CodeWordsTest, EveryTickCommentHasChinese) {
  std::set<std::string> untranslated;
  for (const char* name : {"8052", "x2", "1t"}) {
    for (const TickSetting& s : ChipTickSettings(FindChip(name))) {
      for (const double period : {1e-3, 1.0}) {
        const TickOutcome o = EvaluateTick(s, 12, period, 2);
        if (!o.fits) continue;
        for (const bool assembly : {false, true}) {
          std::vector<std::string> lines = tick_parts::HeaderLines(
              12, period, o, "w", assembly, Tongue::kChinese);
          const std::string code =
              assembly ? AsmTickCode(12, period, o, "w", Tongue::kChinese)
                       : TickCode(12, period, o, "w", Tongue::kChinese);
          for (const std::string& comment : LineComments(code)) {
            if (comment.find(s.chip->family.en) == std::string::npos)
              lines.push_back(comment);
          }
          for (const std::string& line : lines) {
            if (Untranslated(line)) untranslated.insert(line);
          }
        }
      }
    }
  }
  EXPECT_TRUE(untranslated.empty())
      << "untranslated: " << testing::PrintToString(untranslated);
}

// Chinese has no spaces to break at: between characters, not before a
// comma or full stop.
TEST(CodeWordsTest, ChineseWrapsBetweenCharacters) {
  EXPECT_EQ(WrappedLines({"每 1 ms 一个节拍。"}, 10),
            (std::vector<std::string>{"每 1 ms 一", "个节拍。"}));
}

// What SDCC and sdas8051 make of the Chinese comments (UTF-8): the code
// builds, and the tools say nothing.
struct BuildRow {
  const char* name;
  const char* file;
  const char* command;  // its first word the tool
  bool tick;            // else the baud code
};
void PrintTo(const BuildRow& row, std::ostream* os) { *os << row.name; }

class ChineseBuildTest : public testing::TestWithParam<BuildRow> {};

TEST_P(ChineseBuildTest, ToolsSayNothing) {
  const BuildRow& row = GetParam();
  const std::string command = row.command;
  const std::string tool = command.substr(0, command.find(' '));
  if (std::system(("command -v " + tool + " >/dev/null").c_str()) != 0) {
    GTEST_SKIP() << tool << " is not installed";
  }
  const bool assembly = std::string_view(row.file).ends_with(".asm");
  std::string code;
  if (row.tick) {
    // Software reload, several interrupts a period and a family's note.
    const TickOutcome o =
        ChooseTick(TickMatching({.timer = 0, .chip = "x2", .mode = "0"}), 12, 1,
                   2)
            .best;
    code = assembly ? AsmTickCode(12, 1, o, "w", Tongue::kChinese)
                    : TickCode(12, 1, o, "w", Tongue::kChinese);
  } else {
    const Outcome o =
        Evaluate(ChipSettings(FindChip("stc15"))[1], 11.0592, 115200, 2);
    code = assembly ? AsmInitCode(11.0592, 115200, o, "w", Tongue::kChinese)
                    : InitCode(11.0592, 115200, o, "w", Tongue::kChinese);
  }
  // Apart from other builds' runs on the same machine.
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) /
                                    ("baud51_" + std::string(row.name) + "_" +
                                     std::to_string(std::random_device()()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / row.file) << code;
  const int status = std::system(
      ("cd '" + dir.string() + "' && " + command + " >build.log 2>&1").c_str());
  std::ifstream log(dir / "build.log");
  const std::string said{std::istreambuf_iterator<char>(log), {}};
  EXPECT_EQ(status, 0) << said;
  EXPECT_EQ(said, "") << code;
  if (!HasFailure()) std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChineseBuildTest,
    testing::Values(
        BuildRow{"BaudC", "uart_init.c", "sdcc -mmcs51 --Werror -c uart_init.c",
                 false},
        BuildRow{"BaudAsm", "uart_init.asm", "sdas8051 -plosff uart_init.asm",
                 false},
        BuildRow{"TickC", "tick.c", "sdcc -mmcs51 --Werror -c tick.c", true},
        BuildRow{"TickAsm", "tick.asm", "sdas8051 -plosff tick.asm", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the comments change with the language: the same statements.
TEST(CodeWordsTest, ChineseCodeKeepsTheStatements) {
  const Outcome outcome =
      Evaluate(ChipSettings(FindChip("stc15"))[1], 11.0592, 115200, 2);
  const std::string code =
      InitCode(11.0592, 115200, outcome, "w", Tongue::kChinese);
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
}  // namespace mcs51
