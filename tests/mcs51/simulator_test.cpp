// s51's console read back: its stops, SFR values and active handlers, as
// s51 0.6.4 (Debian's sdcc-ucsim 4.2) prints them, echoes of commands read
// meanwhile included.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "mcs51/explain/explain_registers.h"
#include "mcs51/image/image_explain.h"
#include "mcs51/image/simulator.h"

namespace mcs51 {
namespace {

struct StopRow {
  const char* name;
  const char* reply;
  int reason, pc, address, writer;
  const char* space;
  const char* instruction;
};

class StopTest : public testing::TestWithParam<StopRow> {};

TEST_P(StopTest, ReadsTheReasonAndTheWrite) {
  const StopRow& row = GetParam();
  const SimStop stop = ReadStop(row.reply);
  EXPECT_EQ(stop.reason, row.reason);
  EXPECT_EQ(stop.pc, row.pc);
  EXPECT_EQ(stop.address, row.address);
  EXPECT_EQ(stop.writer, row.writer);
  EXPECT_EQ(stop.space, row.space);
  EXPECT_EQ(stop.instruction, row.instruction);
}

const StopRow kStopRows[] = {
    {"Stepped",
     "st\nStop at 0x0000ab: (109) stepped 24 ticks\n     R0 R1\n"
     "0x00ab    80 fe    SJMP   0x00ab\nF 0x0000ab\n",
     109, 0xAB, -1, -1, "", ""},
    {"WriteOnTheEventLine",
     "\nStop at 0x00007e: (112) Event break\nEvent `write' at sfr[0x8a]: "
     "0x7b 0x007b    75 8a 66 MOV    0x8a <TL0>,#0x66      \nF 0x00007e\n",
     112, 0x7E, 0x8A, 0x7B, "sfr", "MOV    0x8a <TL0>,#0x66"},
    {"WriteAfterALabel",
     "\nStop at 0x000097: (112) Event break\nEvent `write' at sfr[0x98]: "
     "0x94 \n0x0094    <.label$4>:\n0x0094    75 98 50 MOV    0x98 "
     "<SCON>,#0x50   \nF 0x000097\n",
     112, 0x97, 0x98, 0x94, "sfr", "MOV    0x98 <SCON>,#0x50"},
    {"BitWrite",
     "\nStop at 0x0000ab: (112) Event break\nEvent `write' at bits[0x8c]: "
     "0xa9 0x00a9    d2 8c    SETB   0x8c0x88 <TCON>.4\nF 0x0000ab\n",
     112, 0xAB, 0x8C, 0xA9, "bits", "SETB   0x8c0x88 <TCON>.4"},
    {"NoStop", "Breakpoint 3 at 0x00000b: 0x000b F? 02 00 6d LJMP 0x006d\n", -1,
     0, -1, -1, "", ""},
};
INSTANTIATE_TEST_SUITE_P(Replies, StopTest, testing::ValuesIn(kStopRows),
                         [](const auto& info) { return info.param.name; });

TEST(ReadSfrs, EachLineEvenAfterAnEcho) {
  const std::map<int, int> values = ReadSfrs(
      "step0x87 PCON:                0b10000000 0x80 '.' 128\n"
      "0x89 TMOD:                0b00100001 0x21 '!'  33\n"
      "0xc4                      28 (\n"
      "get sfr 0x87\ninfo hardware irq\n");
  EXPECT_EQ(values,
            (std::map<int, int>{{0x87, 0x80}, {0x89, 0x21}, {0xC4, 0x28}}));
}

TEST(ActiveHandler, TheInnermost) {
  const std::string head =
      "  0x00000b en   0 no  act timer #0\nActive interrupt service(s):\n"
      "  Pr Handler  PC       Source\n";
  EXPECT_EQ(ActiveHandler(head), -1);
  EXPECT_EQ(ActiveHandler(head + "   0 0x00000b 0x0000ab timer #0\n"), 0x0B);
  EXPECT_EQ(ActiveHandler(head + "   0 0x00000b 0x0000ab timer #0\n"
                                 "   1 0x000023 0x000071 serial\n"),
            0x23);
}

TEST(ImmediateOf, OnlyAMoveOfAConstant) {
  EXPECT_EQ(ImmediateOf("MOV    0x8a <TL0>,#0x66"), 0x66);
  EXPECT_EQ(ImmediateOf("MOV    0x8a <TL0>,A"), -1);
  EXPECT_EQ(ImmediateOf("ORL    0x87 <PCON>,#0x80"), -1);
}

// The family's own type where s51 has one; else the 8052, whose timing
// is only a 12-clock classic part's.
TEST(SimulatorFor, TheFamilysOwnTypeOrThe8052) {
  struct Row {
    const char* family;
    std::string_view type;
    bool own, timed;
  };
  for (const Row& row :
       {Row{"8051", "8051", true, true}, Row{"ds80c320", "DS320", true, true},
        Row{"stc15", "8052", false, false}}) {
    const explain::Family* family = explain::FindFamily(row.family);
    ASSERT_NE(family, nullptr) << row.family;
    const SimulatorFit fit = SimulatorFor(*family);
    EXPECT_EQ(fit.type, row.type) << row.family;
    EXPECT_EQ(fit.own, row.own) << row.family;
    EXPECT_EQ(fit.timed, row.timed) << row.family;
  }
}

}  // namespace
}  // namespace mcs51
