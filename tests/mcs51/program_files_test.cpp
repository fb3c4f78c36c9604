// Firmware as its build gives it: several files, headers found beside
// the file or through -I, the build's -D and -U, and the code's own clock
// set against the crystal given.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "mcs51/explain/explain.h"
#include "mcs51/reading/sources.h"

namespace mcs51 {
namespace {

using Tree = std::map<std::string, std::string>;

// Headers looked for in `tree` as a compiler looks in directories: beside
// the including file for "…", then in each of `dirs`.
FindInclude InTree(const Tree& tree, std::vector<std::string> dirs) {
  return [&tree, dirs](std::string_view header, bool quoted,
                       std::string_view from) -> std::optional<SourceFile> {
    std::vector<std::string> places = dirs;
    if (quoted) {
      const std::size_t slash = from.rfind('/');
      places.insert(places.begin(),
                    slash == from.npos
                        ? std::string()
                        : std::string(from.substr(0, slash + 1)));
    }
    for (const std::string& dir : places) {
      const auto found = tree.find(dir + std::string(header));
      if (found != tree.end()) return SourceFile{found->first, found->second};
    }
    return std::nullopt;
  };
}

constexpr char kUart[] =
    "#include \"cfg.h\"\nSCON = 0x50;\nTMOD = 0x20;\n"
    "TH1 = 256 - FOSC / 12 / 32 / BAUD;\nTR1 = 1;\n";
constexpr char kConfig[] =
    "#ifndef FOSC\n#define FOSC 11059200L\n#endif\n#define BAUD 9600\n";

struct ProgramRow {
  const char* name;
  Tree tree;
  std::vector<std::string> files;  // read in this order
  std::vector<std::string> dirs;   // -I
  std::vector<Define> defines;
  double mhz;
  double baud;           // the port's actual rate; 0: none made
  std::string findings;  // "kind@file:line ..."
  std::string notes;     // "file:line ..."
};

std::string Listed(const std::vector<Finding>& list, bool kind) {
  std::string text;
  for (const Finding& f : list) {
    if (!text.empty()) text += ' ';
    if (kind) text += std::string(FindingKey(f.kind)) + "@";
    text += f.file + ":" + std::to_string(f.line);
  }
  return text;
}

class Program : public testing::TestWithParam<ProgramRow> {};

TEST_P(Program, ReadsAsItsBuild) {
  const ProgramRow& row = GetParam();
  std::vector<SourceFile> files;
  for (const std::string& name : row.files) {
    files.push_back({name, row.tree.at(name)});
  }
  const Build build{Compiler::kKeil, row.defines, InTree(row.tree, row.dirs),
                    0.0};
  const Explanation e =
      Explain(files, build, row.mhz, &explain::DefaultFamily(), 2);
  ASSERT_EQ(e.problem, CodeProblem::kNone);
  if (row.baud > 0) {
    ASSERT_EQ(e.serial.size(), 1u);
    EXPECT_NEAR(e.serial[0].actual_baud, row.baud, 0.01);
  } else {
    EXPECT_TRUE(e.serial.empty() || e.serial[0].actual_baud == 0);
  }
  EXPECT_EQ(Listed(e.findings, true), row.findings);
  EXPECT_EQ(Listed(e.notes, false), row.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Program,
    testing::Values(
        ProgramRow{"HeaderBesideTheFile",
                   {{"src/uart.c", kUart}, {"src/cfg.h", kConfig}},
                   {"src/uart.c"},
                   {},
                   {},
                   11.0592,
                   9600,
                   "",
                   ""},
        ProgramRow{"HeaderThroughAnIncludeDirectory",
                   {{"src/uart.c", kUart}, {"inc/cfg.h", kConfig}},
                   {"src/uart.c"},
                   {"inc/"},
                   {},
                   11.0592,
                   9600,
                   "",
                   ""},
        // Not found: BAUD waits, FOSC is taken as the crystal given.
        ProgramRow{"HeaderNotFound",
                   {{"uart.c", kUart}},
                   {"uart.c"},
                   {},
                   {},
                   11.0592,
                   0,
                   "unresolved@:4",
                   ":1 :4"},
        ProgramRow{"DefineOverridesADefault",
                   {{"uart.c", kUart}, {"cfg.h", kConfig}},
                   {"uart.c"},
                   {},
                   {{"FOSC", "22118400L"}},
                   22.1184,
                   9600,
                   "",
                   ""},
        ProgramRow{"UndefineTakesTheCompilersOwn",
                   {{"a.c",
                     "#ifdef __C51__\nTMOD = 0x20;\n#else\nTMOD = "
                     "0x10;\n#endif\nSCON = 0x50;\nTH1 = 0xFD;\nTR1 = "
                     "1;\n"}},
                   {"a.c"},
                   {},
                   {{"__C51__", "", true}},
                   11.0592,
                   0,
                   "not-auto-reload@:4",
                   ""},
        // SMOD in one file, Timer 1 in the other: 19200 from both.
        ProgramRow{"TwoFilesMakeOneSetting",
                   {{"main.c", "void main(void) { PCON |= 0x80; init(); }\n"},
                    {"uart.c", kUart},
                    {"cfg.h", kConfig}},
                   {"main.c", "uart.c"},
                   {},
                   {},
                   11.0592,
                   19200,
                   "",
                   ""},
        ProgramRow{"CrystalDiffers",
                   {{"uart.c", kUart}, {"cfg.h", kConfig}},
                   {"uart.c"},
                   {},
                   {},
                   12,
                   10416.67,
                   "no-standard-rate@uart.c:4 crystal-differs@cfg.h:2",
                   ""},
        ProgramRow{"CrystalFromTheBuild",
                   {{"uart.c", kUart}, {"cfg.h", kConfig}},
                   {"uart.c"},
                   {},
                   {{"FOSC", "12000000"}},
                   11.0592,
                   9600,
                   "crystal-differs@<command-line>:0",
                   ""},
        ProgramRow{"CrystalInAComment",
                   {{"a.c",
                     "SCON = 0x50;\nTMOD = 0x20;\nTH1 = 0xFD; // "
                     "9600 @ 11.0592MHz\nTR1 = 1;\n"}},
                   {"a.c"},
                   {},
                   {},
                   12,
                   10416.67,
                   "no-standard-rate@:3 crystal-differs@:3",
                   ""},
        // No guard: read again and again up to the depth a compiler stops
        // at, never for ever.
        ProgramRow{"HeaderIncludingItself",
                   {{"a.c",
                     "#include \"a.h\"\nSCON = 0x50;\nTMOD = "
                     "0x20;\nTH1 = 0xFD;\nTR1 = 1;\n"},
                    {"a.h", "#include \"a.h\"\nint x;\n"}},
                   {"a.c"},
                   {},
                   {},
                   11.0592,
                   9600,
                   "",
                   ""},
        ProgramRow{"ClockInMegahertz",
                   {{"a.c",
                     "#define XTAL 11.0592\nSCON = 0x50;\nTMOD = "
                     "0x20;\nTH1 = 0xFD;\nTR1 = 1;\n"}},
                   {"a.c"},
                   {},
                   {},
                   11.0592,
                   9600,
                   "",
                   ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Blank space is quick to lex, so the 16 MiB a program may hold is
// reached in a blink: the header that passes it is named, not the file.
TEST(Program, NamesTheHeaderThatPassesTheProgramsSize) {
  const Tree tree{
      {"a.c", "#include \"a.h\"\nTMOD = 0x20;\n"},
      {"a.h", "#include \"a.h\"\n" + std::string(kMaxCodeBytes - 64, ' ')}};
  const std::vector<SourceFile> files{{"a.c", tree.at("a.c")}};
  const Explanation e =
      Explain(files, {Compiler::kSdcc, {}, InTree(tree, {}), 0}, 12,
              &explain::DefaultFamily(), 2);
  EXPECT_EQ(e.problem, CodeProblem::kProgramTooLarge);
  EXPECT_EQ(e.problem_file, "a.h");
}

}  // namespace
}  // namespace mcs51
