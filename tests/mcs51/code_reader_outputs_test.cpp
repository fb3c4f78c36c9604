// baud51's own init and tick code, read back: every register write the
// generators put in it, in order, in C and in assembly, guessed which.
// The outputs are the reader's fuzz seeds, saved from baud51-cli.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "mcs51/reading/code_reader.h"
#include "tests/mcs51/code_reader_rows.h"

namespace mcs51 {
namespace {

struct OutputRow {
  const char* file;
  CodeDialect dialect;
  const char* effects;
};

void PrintTo(const OutputRow& row, std::ostream* os) { *os << row.file; }

class OutputTest : public testing::TestWithParam<OutputRow> {};

TEST_P(OutputTest, ReadsBackItsWrites) {
  const std::string path =
      std::string(BAUD51_READER_CORPUS) + "/" + GetParam().file;
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path;
  const std::string code{std::istreambuf_iterator<char>(in),
                         std::istreambuf_iterator<char>()};
  const CodeReading reading = ReadCode(code);
  EXPECT_EQ(reading.problem, CodeProblem::kNone);
  EXPECT_EQ(reading.dialect, GetParam().dialect);
  EXPECT_EQ(EffectsText(reading), GetParam().effects);
}

constexpr CodeDialect kC = CodeDialect::kC;
constexpr CodeDialect kAsm = CodeDialect::kAssembly;
const OutputRow kOutputRows[] = {
    {"c-code-9600", kC,
     "13:SCON=0x50 14:TMOD&=0xf 14:TMOD|=0x20 15:TH1=0xfd "
     "16:TL1=0xfd 17:PCON&=0x7f 18:TR1=0x1"},
    {"asm-code-9600", kAsm,
     "23:SCON/byte=0x50 27:TMOD/byte&=0xf 27:TMOD/byte|=0x20 "
     "28:TH1/byte=0xfd 29:TL1/byte=0xfd 30:PCON/byte&=0x7f "
     "31:TR1/bit setb"},
    {"c-tick-1ms", kC,
     "22:T2CON=0x0 23:RCAP2H=0xfc 24:RCAP2L=0x18 25:TH2=0xfc "
     "26:TL2=0x18 27:ET2=0x1 28:EA=0x1 29:TR2=0x1 34:TF2=0x0@5"},
    {"asm-tick-1ms", kAsm,
     "36:_TICKS/byte=0x0 38:T2CON/byte=0x0 39:RCAP2H/byte=0xfc "
     "40:RCAP2L/byte=0x18 41:TH2/byte=0xfc 42:TL2/byte=0x18 "
     "43:ET2/bit setb 44:EA/bit setb 45:TR2/bit setb 51:TF2/bit "
     "clr@-2 52:_TICKS/byte=?@-2 57:ACC/byte=?@-2 58:PSW/byte=?@-2"},
    {"c-stc15", kC,
     "30:SCON=0x50 31:T2L=0xe8 32:T2H=0xff 33:AUXR&=0xe2 "
     "33:AUXR|=0x11"},
    {"c-n76e003", kC,
     "25:SCON=0x50 26:CKCON|=0x10 27:T3CON&=0xdf 28:TMOD&=0xf "
     "28:TMOD|=0x20 29:TH1=0xcc 30:TL1=0xcc 31:PCON&=0x7f "
     "32:TR1=0x1"},
    {"c-cc2530", kC,
     "35:U0CSR=0x80 36:U0UCR=0x2 37:U0GCR=0xb 38:U0BAUD=0xd8 "
     "39:U0CSR=0xc0"},
    {"asm-cc2530", kAsm,
     "21:U0CSR/byte=0x80 22:U0UCR/byte=0x2 23:U0GCR/byte=0xb "
     "24:U0BAUD/byte=0xd8 25:U0CSR/byte=0xc0"},
    {"asm-at89c51rd2", kAsm,
     "22:SCON/byte=0x50 23:BDRCON/byte=0x0 24:BRL/byte=0xfa "
     "25:PCON/byte&=0x7f 26:CKCON0/byte&=0xfe "
     "27:BDRCON/byte=0x1c"},
    {"asm-tick-stc15", kAsm,
     "37:_TICKS/byte=0x0 39:AUXR/byte&=0x7f 40:TMOD/byte&=0xf0 "
     "41:TH0/byte=0xfc 42:TL0/byte=0x18 43:ET0/bit setb "
     "44:EA/bit setb 45:TR0/bit setb 51:_TICKS/byte=?@-2 "
     "56:ACC/byte=?@-2 57:PSW/byte=?@-2"},
};
INSTANTIATE_TEST_SUITE_P(Generated, OutputTest, testing::ValuesIn(kOutputRows),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           for (char& c : name) c = c == '-' ? '_' : c;
                           return name;
                         });

}  // namespace
}  // namespace mcs51
