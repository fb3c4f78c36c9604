// A built image read: Intel HEX placed at its bases or refused with the
// first fault's line, and SDCC's listings giving each code address its C
// line. The listings are cut from SDCC 4.2's output for a handler that
// reloads Timer 0 and a main that sets up the UART.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "mcs51/image/intel_hex.h"
#include "mcs51/image/listing.h"

namespace mcs51 {
namespace {

struct HexRow {
  const char* name;
  const char* text;
  std::uint32_t code_bytes;
  HexProblem problem;
  int line;
  const char* words;      // HexProblemText
  std::uint32_t end;      // kNone
  std::uint32_t address;  // kNone: a byte looked at
  int byte;               // there; -1 where the image holds none
};
void PrintTo(const HexRow& row, std::ostream* os) { *os << row.name; }

class HexTest : public testing::TestWithParam<HexRow> {};

TEST_P(HexTest, PlacesTheDataOrNamesTheFault) {
  const HexRow& row = GetParam();
  const HexImage image = ReadIntelHex(row.text, row.code_bytes);
  EXPECT_EQ(image.problem, row.problem);
  EXPECT_EQ(image.line, row.line);
  EXPECT_EQ(HexProblemText(image), row.words);
  if (row.problem != HexProblem::kNone) {
    EXPECT_TRUE(image.code.empty());
    return;
  }
  ASSERT_EQ(image.end, row.end);
  ASSERT_EQ(image.code.size(), row.end);
  EXPECT_EQ(image.Holds(row.address), row.byte >= 0);
  EXPECT_EQ(image.code[row.address], row.byte >= 0 ? row.byte : 0xFF);
}

constexpr HexProblem kNone = HexProblem::kNone;
constexpr std::uint32_t k64K = 0x10000;

INSTANTIATE_TEST_SUITE_P(
    Rows, HexTest,
    testing::Values(
        HexRow{"LinearBase",
               ":03000000020030CB\n:020000040001F9\n:02001000AABB89\n"
               ":00000001FF\n",
               0x20000, kNone, 0, "", 0x10012, 0x10011, 0xBB},
        HexRow{"SegmentBase", ":020000021000EC\n:01000B0032C2\n", 0x20000,
               kNone, 0, "", 0x1000C, 0x1000B, 0x32},
        HexRow{"CrLfAndBlankLines",
               "\r\n:01000B0032C2\r\n  \r\n:00000001FF\r\n", k64K, kNone, 0, "",
               0x0C, 0x03, -1},
        HexRow{"NothingReadAfterTheEnd",
               ":01000B0032C2\n:00000001FF\n:0100030032CA\ngarbage\n", k64K,
               kNone, 0, "", 0x0C, 0x03, -1},
        HexRow{"StartAddressesIgnored",
               ":0400000300000030C9\n:0400000500000030C7\n:0100030032CA\n",
               k64K, kNone, 0, "", 0x04, 0x03, 0x32},
        HexRow{"FillsTheMemoryExactly", ":0100FF00AA56\n", 0x100, kNone, 0, "",
               0x100, 0xFF, 0xAA},
        HexRow{"CSource", "#include <8051.h>\n", k64K, HexProblem::kNotHex, 1,
               "line 1: not an Intel HEX record", 0, 0, 0},
        HexRow{"CutRecord", ":01000B0032C2\n:03000000020030\n", k64K,
               HexProblem::kNotHex, 2, "line 2: not an Intel HEX record", 0, 0,
               0},
        HexRow{"BadChecksumBeforeALaterFault",
               ":01000B0032C2\n:0100000000FE\n:00000006FA\n", k64K,
               HexProblem::kBadChecksum, 2, "line 2: bad checksum", 0, 0, 0},
        HexRow{"UnknownRecord", ":00000006FA\n", k64K,
               HexProblem::kUnknownRecord, 1,
               "line 1: unknown record type 0x06", 0, 0, 0},
        HexRow{"OneByteOverTheMemory", ":0200FF00AABB9A\n", 0x100,
               HexProblem::kTooLarge, 1,
               "line 1: data at 0x0100, beyond the 256 bytes of code memory", 0,
               0, 0},
        HexRow{"AboveALinearBase", ":020000040001F9\n:01000B0032C2\n", k64K,
               HexProblem::kTooLarge, 2,
               "line 2: data at 0x1000B, beyond the 65536 bytes of code "
               "memory",
               0, 0, 0},
        HexRow{"OnlyTheEnd", ":00000001FF\n", k64K, HexProblem::kNoData, 0,
               "no data records", 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LooksLikeIntelHex, ByTheFirstLineWithText) {
  struct Row {
    const char* text;
    bool hex;
  };
  for (const Row& row : {Row{"\r\n  \n:03000000020030CB\r\n", true},
                         Row{"#include <8051.h>\n:00000001FF\n", false},
                         Row{":label\n", false}, Row{"", false}}) {
    EXPECT_EQ(LooksLikeIntelHex(row.text), row.hex) << row.text;
  }
}

// The handler's head, its reload, and main's head sharing its address
// with its first statement; equates and a label between.
constexpr const char* kRst =
    "                           000000   413 \tC$t.c$5$0_0$2 ==.\n"
    "                                    414 ;\tt.c:5: void t0(void) "
    "__interrupt(1)\n"
    "                                    415 ;\t------------------------\n"
    "      00006D                        418 _t0:\n"
    "                           000007   419 \tar7 = 0x07\n"
    "      00006D C0 E0            [24]  427 \tpush\tacc\n"
    "                                    429 ;\tt.c:7: TH0 = 0xFC;\n"
    "      00006F 75 8C FC         [24]  430 \tmov\t_TH0,#0xfc\n"
    "                           000005   431 \tC$t.c$8$1_0$2 ==.\n"
    "                                    432 ;\tt.c:8: TL0 = 0x66;\n"
    "      000072 75 8A 66         [24]  433 \tmov\t_TL0,#0x66\n"
    "                                    455 ;\tt.c:12: void main(void)\n"
    "      00007D                        459 _main:\n"
    "                                    461 ;\tt.c:14: SCON = 0x50;\n"
    "      00007D 75 98 50         [24]  462 \tmov\t_SCON,#0x50\n";
// The same module before linking: its addresses are its own.
constexpr const char* kLst =
    "                                    429 ;\tt.c:7: TH0 = 0xFC;\n"
    "      000002 75 8C FC         [24]  430 \tmov\t_TH0,#0xfc\n"
    "                                    436 ;\tt.c:9: ticks++;\n"
    "      000008 E5*00            [12]  436 \tmov\ta,_ticks\n";
constexpr const char* kCdb =
    "M:t\r\n"
    "L:G$TL0$0_0$0:8A\r\n"
    "L:A$t$427:6D\r\n"
    "L:C$t.c$5$0_0$2:6D\r\n"
    "L:A$t$430:6F\r\n"
    "L:C$t.c$7$1_0$2:6F\r\n"
    "L:C$t.c$8$1_0$2:72\r\n"
    "L:C$t.c$12$1_0$4:7D\r\n"
    "L:C$t.c$14$1_0$4:7D\r\n"
    "L:A$tick$15:3D\r\n";

struct LineRow {
  const char* name;
  Listing (*read)(std::string_view);
  const char* text;
  int address;
  const char* file;  // "" for none
  int line;
};
void PrintTo(const LineRow& row, std::ostream* os) { *os << row.name; }

class LineTest : public testing::TestWithParam<LineRow> {};

TEST_P(LineTest, GivesTheLineWhoseCodeHoldsTheAddress) {
  const LineRow& row = GetParam();
  const std::optional<SourceLine> line =
      LineAt(row.read(row.text), row.address);
  EXPECT_EQ(line, *row.file == '\0'
                      ? std::nullopt
                      : std::optional(SourceLine{row.file, row.line}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineTest,
    testing::Values(
        LineRow{"RstHandlersWrite", ReadRst, kRst, 0x72, "t.c", 8},
        LineRow{"RstWithinALine", ReadRst, kRst, 0x71, "t.c", 7},
        LineRow{"RstFunctionHead", ReadRst, kRst, 0x6D, "t.c", 5},
        LineRow{"RstHeadSharingItsStatement", ReadRst, kRst, 0x7D, "t.c", 14},
        LineRow{"RstBeforeTheFirst", ReadRst, kRst, 0x6C, "", 0},
        LineRow{"LstUnlinked", ReadRst, kLst, 0x02, "", 0},
        LineRow{"CdbHandlersWrite", ReadCdb, kCdb, 0x74, "t.c", 8},
        LineRow{"CdbCompiledAssemblyIgnored", ReadCdb, kCdb, 0x6F, "t.c", 7},
        LineRow{"CdbHeadSharingItsStatement", ReadCdb, kCdb, 0x7D, "t.c", 14},
        LineRow{"CdbSymbolsIgnored", ReadCdb, kCdb, 0x8B, "t.c", 14},
        LineRow{"CdbAssemblyModule", ReadCdb, kCdb, 0x3D, "tick", 15},
        LineRow{"CdbBeforeTheFirst", ReadCdb, kCdb, 0x3C, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mcs51
