// explain as the command line runs it: the file it reads, the JSON it
// writes and the input it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/run.h"
#include "mcs51/explain/explain.h"
#include "mcs51/reading/code_reader.h"

namespace cli {
namespace {

// The running test's name as a file name: ctest runs each test in a
// process of its own, side by side, so a counter alone would collide.
std::string TestFileName() {
  const testing::TestInfo* test =
      testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "_" + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

// A file holding `text`, removed when done.
class Paste {
 public:
  explicit Paste(const std::string& text)
      : path_(testing::TempDir() + "explain_paste_" + TestFileName() + "_" +
              std::to_string(++count_) + ".c") {
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~Paste() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  static inline int count_ = 0;
  std::string path_;
};

RunResult Explain(const std::string& text, std::vector<std::string> options) {
  const Paste paste(text);
  std::vector<std::string> args{"explain", "11.0592", paste.path()};
  args.insert(args.end(), options.begin(), options.end());
  return cli::Run(args, {});
}

TEST(Explain, WritesTheReadingAsJson) {
  const RunResult r =
      Explain("SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFD;\nTL1 = 0xFD;\n",
              {"--format", "json"});
  ASSERT_EQ(r.status, kExitAnswered) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json["chip"], "8052");
  const auto& serial = json["serial"].at(0);
  EXPECT_EQ(serial["generator"], "t1: Timer 1 in mode 2");
  EXPECT_EQ(serial["reload_hex"], "FD");
  EXPECT_EQ(serial["nearest_baud"], 9600.0);
  EXPECT_EQ(serial["receives"], true);
  EXPECT_EQ(json["findings"].at(0)["kind"], "not-started");
  EXPECT_EQ(json["findings"].at(0)["line"], 3);
}

// Each compiler's branch of an #ifdef on its own macro: Timer 1's mode 2
// for Keil, Timer 1 in mode 1, which does not reload, for SDCC.
TEST(Explain, ReadsTheBranchOfTheCompilerNamed) {
  const std::string paste =
      "SCON = 0x50;\n#ifdef __C51__\nTMOD = 0x20;\n#else\nTMOD = 0x10;\n"
      "#endif\nTH1 = 0xFD;\nTR1 = 1;\n";
  for (const auto& [compiler, mode] :
       {std::pair{"keil", "2"}, std::pair{"sdcc", "1"}}) {
    const RunResult r =
        Explain(paste, {"--compiler", compiler, "--format", "json"});
    ASSERT_EQ(r.status, kExitAnswered) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["timers"].at(0)["mode"], mode)
        << compiler;
  }
}

// Mode 2 at 11.0592 MHz with SMOD: FREQ/32, 345600 baud, no generator.
TEST(Explain, ReportsAFixedRateMode) {
  const std::string paste = "PCON |= 0x80;\nSCON = 0x90;\n";
  const RunResult r = Explain(paste, {"--format", "json"});
  ASSERT_EQ(r.status, kExitAnswered) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  const auto& serial = json["serial"].at(0);
  EXPECT_EQ(serial["generator"], "fixed");
  EXPECT_EQ(serial["smod"], 1);
  EXPECT_TRUE(serial["clocks"].is_null());
  EXPECT_TRUE(serial["reload_hex"].is_null());
  EXPECT_EQ(serial["actual_baud"], 345600.0);
  EXPECT_EQ(serial["receives"], true);
  const RunResult text = Explain(paste, {});
  EXPECT_NE(text.out.find("SCON  mode 2, fixed rate\n        FREQ/32 (SMOD 1): "
                          "345600.00 baud"),
            std::string::npos)
      << text.out;
}

// What the code does not give is null, not a number; the header that named
// the family is said in both forms.
TEST(Explain, SaysWhatItCannotWorkOut) {
  const std::string paste =
      "#include <CH552.H>\nSCON = 0x50;\nTMOD = 0x20;\nTH1 = RELOAD;\n"
      "TR1 = 1;\n";
  const RunResult r = Explain(paste, {"--format", "json"});
  ASSERT_EQ(r.status, kExitAnswered) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json["chip"], "ch552");
  EXPECT_EQ(json["chip_from"], "CH552.H");
  const auto& serial = json["serial"].at(0);
  EXPECT_FALSE(serial["generator"].is_null());
  EXPECT_TRUE(serial["reload"].is_null());
  EXPECT_TRUE(serial["actual_baud"].is_null());
  EXPECT_EQ(json["findings"].at(0)["kind"], "unresolved");
  EXPECT_EQ(json["findings"].at(0)["line"], 4);
  const RunResult text = Explain(paste, {});
  EXPECT_NE(text.out.find("chip ch552, as #include \"CH552.H\" on line 1"),
            std::string::npos)
      << text.out;
}

TEST(Explain, ReadsTheFamilyChipNames) {
  const RunResult r =
      Explain("SCON = 0x50;\nT2L = 0xE8;\nT2H = 0xFF;\nAUXR = 0x15;\n",
              {"--chip", "stc15"});
  ASSERT_EQ(r.status, kExitAnswered) << r.err;
  EXPECT_NE(r.out.find("t2: UART1 on Timer 2"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Findings: none"), std::string::npos) << r.out;
}

struct RefusalRow {
  const char* name;
  std::string text;
  std::vector<std::string> options;
  const char* says;
};

class Refuses : public testing::TestWithParam<RefusalRow> {};

TEST_P(Refuses, AsBadInputInOneLine) {
  const RefusalRow& row = GetParam();
  const RunResult r = Explain(row.text, row.options);
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find(row.says), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, Refuses,
    testing::Values(
        RefusalRow{"Empty", "  \n", {}, "empty"},
        RefusalRow{"Prose", "Set the rate to 9600 baud.\n", {}, "no register"},
        RefusalRow{"Binary",
                   std::string("\x7f"
                               "ELF\0\0\x01",
                               7),
                   {},
                   "binary"},
        RefusalRow{"TooLarge",
                   std::string(mcs51::kMaxCodeBytes + 1, ' '),
                   {},
                   "1 MiB"},
        RefusalRow{"Csv",
                   "TMOD = 0x20;\n",
                   {"--format", "csv"},
                   "text, json or sarif"},
        RefusalRow{
            "AllChips", "TMOD = 0x20;\n", {"--chip", "all"}, "one family"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Explain, SaysWhyAFileCannotBeRead) {
  const RunResult r = cli::Run(
      std::vector<std::string>{"explain", "12", "/nonexistent/x.c"}, {});
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << r.err;
}

struct CheckRow {
  const char* name;
  std::string text;
  std::vector<std::string> options;
  int status;
  std::string err;  // in standard error; "" for nothing at all
};

class Checks : public testing::TestWithParam<CheckRow> {};

TEST_P(Checks, InGccsForm) {
  const CheckRow& row = GetParam();
  const RunResult r = Explain(row.text, row.options);
  EXPECT_EQ(r.status, row.status) << r.err;
  if (row.err.empty()) {
    EXPECT_EQ(r.err, "");
  } else {
    EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
  }
}

constexpr char kUnstarted[] = "SCON = 0x50;\nTMOD = 0x20;\n  TH1 = 0xFD;\n";
constexpr char kFromFosc[] =
    "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 256 - FOSC / 384 / 9600;\nTR1 = 1;\n";

INSTANTIATE_TEST_SUITE_P(
    Explain, Checks,
    testing::Values(
        CheckRow{"NoFinding",
                 "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFD;\nTR1 = 1;\n",
                 {"--check"},
                 kExitAnswered,
                 ""},
        CheckRow{"Finding",
                 kUnstarted,
                 {"--check"},
                 kExitRefused,
                 ".c:3:3: warning: Timer 1 is set up but never started: add "
                 "TR1 = 1; after this line [not-started]\n"},
        CheckRow{"Ignored",
                 kUnstarted,
                 {"--check", "--ignore", "not-started,receiver-off"},
                 kExitAnswered,
                 ""},
        CheckRow{"UnknownKind",
                 kUnstarted,
                 {"--check", "--ignore", "bogus"},
                 kExitBadInput,
                 "--ignore \"bogus\": not not-started"},
        // -D and -U as compilers take them: attached, in the order given;
        // a name the build undefines is not taken as the crystal.
        CheckRow{"DefineThenUndefine",
                 kFromFosc,
                 {"--check", "-DFOSC=12000000L", "-UFOSC"},
                 kExitRefused,
                 ".c:3:1: warning: TH1 gets FOSC"},
        CheckRow{"UndefineThenDefine",
                 kFromFosc,
                 {"--check", "-UFOSC", "-D", "FOSC=12000000L"},
                 kExitRefused,
                 "<command-line>:0:1: warning: FOSC is 12 MHz"}),
    [](const auto& info) { return std::string(info.param.name); });

// Of several files, one that cannot be read is named, and nothing read.
TEST(Explain, NamesTheFileThatCannotBeRead) {
  const Paste good("TMOD = 0x20;\n");
  const RunResult r = cli::Run(
      std::vector<std::string>{"explain", "12", good.path(), "nowhere.c"}, {});
  EXPECT_EQ(r.status, kExitBadInput);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("FILE \"nowhere.c\": cannot be read"), std::string::npos)
      << r.err;
}

// The properties SARIF 2.1.0 requires, and those code scanning shows.
TEST(Explain, WritesSarif) {
  const RunResult r = Explain(kUnstarted, {"--format", "sarif"});
  ASSERT_EQ(r.status, kExitAnswered) << r.err;
  const auto sarif = nlohmann::json::parse(r.out);
  EXPECT_EQ(sarif["version"], "2.1.0");
  const auto& run = sarif["runs"].at(0);
  const auto& driver = run["tool"]["driver"];
  EXPECT_EQ(driver["name"], "baud51-cli");
  EXPECT_FALSE(driver["version"].get<std::string>().empty());
  ASSERT_EQ(driver["rules"].size(), mcs51::FindingKinds().size());
  for (const auto& rule : driver["rules"]) {
    EXPECT_FALSE(rule["shortDescription"]["text"].get<std::string>().empty());
    EXPECT_FALSE(
        rule["properties"]["description-zh"].get<std::string>().empty());
  }
  const auto& result = run["results"].at(0);
  EXPECT_EQ(result["ruleId"], "not-started");
  EXPECT_EQ(driver["rules"][result["ruleIndex"].get<int>()]["id"],
            "not-started");
  EXPECT_EQ(result["level"], "warning");
  EXPECT_NE(result["message"]["text"].get<std::string>().find("Timer 1"),
            std::string::npos);
  const auto& where = result["locations"].at(0)["physicalLocation"];
  EXPECT_NE(where["artifactLocation"]["uri"].get<std::string>().front(), '/');
  EXPECT_EQ(where["region"]["startLine"], 3);
  EXPECT_EQ(where["region"]["startColumn"], 3);
}

}  // namespace
}  // namespace cli
