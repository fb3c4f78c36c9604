// explain's words in both tongues: each Chinese sentence fills in what its
// English does, and a finding read in Chinese keeps the code it tells the
// reader to write.
#include "mcs51/explain/explain_words.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "mcs51/explain/explain_registers.h"

namespace mcs51 {
namespace {

// The argument indices a sentence fills: "{0} ... {1:02X}" -> {0, 1}.
std::set<int> Indices(std::string_view text) {
  static const std::regex field(R"(\{(\d+)[:}])");
  std::set<int> indices;
  const std::string s(text);
  for (auto it = std::sregex_iterator(s.begin(), s.end(), field);
       it != std::sregex_iterator(); ++it) {
    indices.insert(std::stoi((*it)[1]));
  }
  return indices;
}

struct SentenceRow {
  const char* name;
  Words words;
};

class Sentences : public testing::TestWithParam<SentenceRow> {};

TEST_P(Sentences, ChineseFillsWhatEnglishDoes) {
  const Words& w = GetParam().words;
  EXPECT_EQ(Indices(w.zh), Indices(w.en)) << w.zh;
  EXPECT_FALSE(w.zh.empty());
  EXPECT_NE(w.zh, w.en);
}

INSTANTIATE_TEST_SUITE_P(
    Findings, Sentences,
    testing::Values(
        SentenceRow{"NotStarted", SentenceWords(FindingSentence::kNotStarted)},
        SentenceRow{"TmodOverwrites",
                    SentenceWords(FindingSentence::kTmodOverwrites)},
        SentenceRow{"ReceiverOff",
                    SentenceWords(FindingSentence::kReceiverOff)},
        SentenceRow{"ReloadInHandler",
                    SentenceWords(FindingSentence::kReloadInHandler)},
        SentenceRow{"NotAutoReload",
                    SentenceWords(FindingSentence::kNotAutoReload)},
        SentenceRow{"UnknownElsewhere",
                    SentenceWords(FindingSentence::kUnknownElsewhere)},
        SentenceRow{"UnknownInOne",
                    SentenceWords(FindingSentence::kUnknownInOne)},
        SentenceRow{"UnknownInSome",
                    SentenceWords(FindingSentence::kUnknownInSome)},
        SentenceRow{"NoStandardRate",
                    SentenceWords(FindingSentence::kNoStandardRate)},
        SentenceRow{"FixedRate", SentenceWords(FindingSentence::kFixedRate)},
        SentenceRow{"Heading", ReportWords().heading},
        SentenceRow{"Line", ReportWords().line},
        SentenceRow{"NoWrites", ProblemWords(CodeProblem::kNoWrites)},
        SentenceRow{"TooLarge", ProblemWords(CodeProblem::kTooLarge)},
        SentenceRow{"ProgramTooLarge",
                    ProblemWords(CodeProblem::kProgramTooLarge)}),
    [](const auto& info) { return std::string(info.param.name); });

// A snippet per finding, read in Chinese: what it tells the reader to
// write, or what it names, survives the translation.
struct ChineseRow {
  const char* name;
  const char* source;
  const char* chip;
  const char* keeps;
};

class ChineseFindings : public testing::TestWithParam<ChineseRow> {};

TEST_P(ChineseFindings, KeepTheCode) {
  const ChineseRow& row = GetParam();
  const Explanation e =
      Explain(row.source, 12, *explain::FindFamily(row.chip), 2);
  ASSERT_EQ(e.findings.size(), 1u);
  const Finding& f = e.findings.front();
  EXPECT_NE(f.In(Tongue::kChinese).find(row.keeps), std::string::npos)
      << f.chinese;
  EXPECT_NE(f.In(Tongue::kEnglish).find(row.keeps), std::string::npos)
      << f.text;
  EXPECT_NE(f.chinese, f.text);
}

INSTANTIATE_TEST_SUITE_P(
    Snippets, ChineseFindings,
    testing::Values(
        ChineseRow{"NotStarted",
                   "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xF3;\nTL1 = 0xF3;\n",
                   "8052", "TR1 = 1;"},
        ChineseRow{"TmodOverwrites",
                   "TMOD = 0x01;\nTH0 = 0xFC;\nTL0 = 0x18;\nET0 = 1;\n"
                   "EA = 1;\nTR0 = 1;\nTMOD = 0x20;\n"
                   "void t0(void) __interrupt(1) {}\n",
                   "8052", "TMOD = (TMOD & 0x0F) | 0x20;"},
        ChineseRow{"ReceiverOff",
                   "SCON = 0x40;\nTMOD = 0x20;\nTH1 = 0xF3;\nTR1 = 1;\n",
                   "8052", "SCON |= 0x10;"},
        ChineseRow{"NotAutoReload",
                   "SCON = 0x50;\nTMOD = 0x10;\nTH1 = 0xFF;\nTL1 = 0xF3;\n"
                   "TR1 = 1;\n",
                   "8052", "t1: "},
        ChineseRow{"UnknownInOne", "SCON = 0x50;\nBRL = 3;\n", "8052",
                   "at89c51rd2"},
        ChineseRow{"NoStandardRate",
                   "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xF0;\nTL1 = 0xF0;\n"
                   "TR1 = 1;\n",
                   "8052", "-18.62 %"}),
    [](const auto& info) { return std::string(info.param.name); });

// A port's and a timer's lines in each tongue: the same numbers. Timer 0
// is never reloaded: 65536 counts of 12 / 11.0592 MHz after its first
// overflow.
struct LinesRow {
  const char* name;
  Tongue tongue;
  const char* serial;  // SerialText's what and detail
  const char* timer;   // TimerText's what
};

class UseLines : public testing::TestWithParam<LinesRow> {};

TEST_P(UseLines, SayTheReading) {
  const LinesRow& row = GetParam();
  const Explanation e = Explain(
      "SCON = 0x50;\nTMOD = 0x21;\nTH1 = 0xFD;\nTL1 = 0xFD;\nTR1 = 1;\n"
      "TH0 = 0xFC;\nTL0 = 0x66;\nET0 = 1;\nEA = 1;\nTR0 = 1;\n",
      11.0592, *explain::FindFamily("8052"), 2);
  ASSERT_EQ(e.serial.size(), 1u);
  ASSERT_EQ(e.timers.size(), 2u);
  const UseText serial = SerialText(e.serial.front(), row.tongue);
  EXPECT_EQ(serial.name, "SCON");
  EXPECT_EQ(serial.what + " | " + serial.detail, row.serial);
  EXPECT_EQ(TimerText(e.timers.front(), row.tongue).what, row.timer);
}

INSTANTIATE_TEST_SUITE_P(
    Tongues, UseLines,
    testing::Values(
        LinesRow{"English", Tongue::kEnglish,
                 "t1: Timer 1 in mode 2 | 12 clocks per count, SMOD 0, "
                 "reload FD: 9600.00 baud, 0.00 % from 9600; receiver on",
                 "mode 1, 12 clocks per count, reload FC66: 71.1111 ms per "
                 "overflow, the first after 1.0004 ms; running, interrupt on; "
                 "reloaded by none"},
        LinesRow{"Chinese", Tongue::kChinese,
                 "t1: 定时器 1 方式 2 | 每计数 12 个时钟，SMOD 0，重装值 "
                 "FD：9600.00 波特，与 9600 相差 0.00 %；接收已开",
                 "方式 1，每计数 12 个时钟，重装值 FC66：每 71.1111 ms "
                 "溢出一次，第一次在 1.0004 ms 后；在运行，开中断；不重装"}),
    [](const auto& info) { return std::string(info.param.name); });

// The Chinese of a baud setting's label is its generator's, under the
// same key.
TEST(ExplainWords, LabelsAGeneratorInChinese) {
  const explain::Family& f = *explain::FindFamily("8052");
  const explain::FamilySetting* t1 = nullptr;
  for (const explain::FamilySetting& s : f.settings) {
    if (s.label == "t1: Timer 1 in mode 2") t1 = &s;
  }
  ASSERT_NE(t1, nullptr);
  EXPECT_EQ(LabelOf(*t1).zh, "t1: 定时器 1 方式 2");
}

}  // namespace
}  // namespace mcs51
