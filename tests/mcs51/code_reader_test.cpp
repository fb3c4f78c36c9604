// Reading pasted init code back, one row per construct: what each C and
// assembly form comes to as register writes, which handler they sit in,
// the arithmetic as the compilers do it, and the pastes that give nothing.
#include "mcs51/reading/code_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/mcs51/code_reader_rows.h"

namespace mcs51 {
namespace {

struct Row {
  const char* name;
  const char* source;
  const char* effects;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class CReadTest : public testing::TestWithParam<Row> {};

TEST_P(CReadTest, Effects) {
  const CodeReading reading = ReadCode(GetParam().source, CodeDialect::kC);
  EXPECT_EQ(EffectsText(reading), GetParam().effects);
}

const Row kCRows[] = {
    {"Assign", "TMOD = 0x20;", "1:TMOD=0x20"},
    {"CompoundOps", "PCON |= 0x80;\nSCON &= 0xDF;\nP1 ^= 1;",
     "1:PCON|=0x80 2:SCON&=0xdf 3:P1^=0x1"},
    {"BitAssign", "TR1 = 1;\nSM0 = 0;", "1:TR1=0x1 2:SM0=0x0"},
    {"Chained", "TH1 = TL1 = 0xFD;", "1:TL1=0xfd 1:TH1=0xfd"},
    {"ChainedThroughCompound", "TL1 = TH1 |= 3;", "1:TH1|=0x3 1:TL1<-TH1"},
    {"CopyRegister", "TL1 = TH1;", "1:TL1<-TH1"},
    {"ReadModifyWrite", "TMOD = (TMOD & 0x0F) | 0x20;",
     "1:TMOD&=0xf 1:TMOD|=0x20"},
    {"ComplementedMask", "SCON &= ~0x80;", "1:SCON&=-0x81"},
    {"RuntimeValue", "SBUF = c + 1;\nSBUF = buf[0];\nTH1 += 2;",
     "1:SBUF=? 2:SBUF=? 3:TH1=?"},
    {"Arithmetic", "TH1 = 256 - 11059200L / 12 / 32 / 9600;", "1:TH1=0xfd"},
    {"IntOverflowsAsOnTheCompiler", "TH1 = 11059200 / (12 * 32 * 9600);",
     "1:TH1=0x2a3"},
    {"DivisionTruncates", "TH1 = -7 / 2;\nTL1 = -7 % 2;",
     "1:TH1=-0x3 2:TL1=-0x1"},
    {"ComplementWraps", "A = ~0x20;\nB = ~0x20U;\nC = ~0x20UL;",
     "1:A=-0x21 2:B=0xffdf 3:C=0xffffffdf"},
    {"HexFitsUnsignedInt", "TH1 = 0xFFFF + 1;\nTL1 = 65535 + 1;",
     "1:TH1=0x0 2:TL1=0x10000"},
    {"Shifts", "A = 1 << 15;\nB = 1U << 15;\nC = 1 << 16;\nD = -16 >> 2;",
     "1:A=-0x8000 2:B=0x8000 3:C=? 4:D=-0x4"},
    {"SignedMeetsUnsigned", "A = -1 < 1U;\nB = -1L < 1U;\nC = -2 / 2U;",
     "1:A=0x0 2:B=0x1 3:C=0x7fff"},
    {"DivideByZero", "TH1 = 3 / 0;", "1:TH1=?"},
    {"Casts",
     "A = (unsigned char)(256 - 3);\nB = (char)0xFD;\nC = (uint8_t)~1;",
     "1:A=0xfd 2:B=-0x3 3:C=0xfe"},
    {"Literals", "A = 0b101;\nB = 017;\nC = 'A';\nD = 10UL;\nE = '\\n';",
     "1:A=0x5 2:B=0xf 3:C=0x41 4:D=0xa 5:E=0xa"},
    {"Precedence", "A = 1 + 2 * 3 << 1 | 1;\nB = 2 > 1 ? 7 : 9;",
     "1:A=0xf 2:B=0x7"},
    {"ObjectMacro",
     "#define RELOAD (256 - 3)\n#include <reg52.h>\nTH1 = RELOAD;",
     "3:TH1=0xfd"},
    {"ContinuedDirective", "#define R \\\n 253\nTH1 = R;", "3:TH1=0xfd"},
    {"CommentInDirective", "#include <reg52.h> /* Keil\n C51 */\nTH1 = 1;",
     "3:TH1=0x1"},
    {"IfZeroLeftOut", "#if 0\nTH1 = 1;\n#else\nTH1 = 2;\n#endif", "4:TH1=0x2"},
    {"MacroAfterUndef", "#define R 1\n#undef R\nTH1 = R;", "3:TH1<-R"},
    {"FunctionMacro",
     "#define RELOAD(b) (256 - 28800 / (b))\nTH1 = RELOAD(9600);",
     "2:TH1=0xfd"},
    {"SelfReferentMacroStops", "#define X X + 1\nTH1 = X;", "2:TH1=?"},
    {"KeilHandler",
     "void t1(void) interrupt 3 using 1 {\n TF1 = 0;\n}\nTR1 = 1;",
     "2:TF1=0x0@3 4:TR1=0x1"},
    {"SdccHandler", "void s(void) __interrupt(4) {\n if (RI) { RI = 0; }\n}",
     "2:RI=0x0@4"},
    {"SdccHandlerNoParentheses", "void t(void) __interrupt 1 { TH0 = 0xFC; }",
     "1:TH0=0xfc@1"},
    {"SdccHandlerUsing",
     "void t(void) __interrupt (1) __using (1) { TL0 = 0; }", "1:TL0=0x0@1"},
    {"SdccVectorName", "void t(void) __interrupt(TF1_VECTOR) { TF1 = 0; }",
     "1:TF1=0x0@3"},
    {"VectorBackAfterNestedBlocks",
     "void s(void) interrupt 4 {\n if (RI) { RI = 0; }\n TI = 0;\n}\nEA = 1;",
     "2:RI=0x0@4 3:TI=0x0@4 5:EA=0x1"},
    {"PrototypeIsNoHandler", "void t(void) __interrupt(1);\nTL0 = 0;",
     "2:TL0=0x0"},
    {"HandlerThroughMacro",
     "#define ISR(n) __interrupt(n)\nvoid t(void) ISR(5)\n{\n TF2 = 0;\n}",
     "4:TF2=0x0@5"},
    {"SkippedStatements",
     "uart_init();\nunsigned char i = 3;\nif (x) TMOD = 1; else TMOD = 2;\n"
     "for (i = 0; i < 3; i++) { TH1 = i; }\nwhile (!TI);\ncase 2: TL1 = 4;",
     "3:TMOD=0x1 3:TMOD=0x2 4:TH1<-i 6:TL1=0x4"},
    {"CommaSeparated", "TH1 = 1, TL1 = 2;", "1:TH1=0x1 1:TL1=0x2"},
    {"CommentsAndStrings",
     "/* TMOD = 1;\n */ // TH1 = 2;\nputs(\"TL1 = 3;\");\nSCON = 0x50;",
     "4:SCON=0x50"},
    {"FloatIsRuntime", "TH1 = 256 - 11.0592e6 / 384 / 9600;", "1:TH1=?"},
    {"NestedParentheses", "TH1 = ((((((((((((((((((((1))))))))))))))))))));",
     "1:TH1=0x1"},
    {"CallsFollowedWithTheirConstants",
     "void f(unsigned char v) { TH1 = v; }\nvoid main(void) { f(3); f(4); }",
     "1:TH1=0x3 1:TH1=0x4"},
    {"ArgumentAsItsParametersType",
     "void f(unsigned char v) { TH1 = v >> 1; }\nvoid main(void) { f(0x1FE); }",
     "1:TH1=0x7f"},
    {"ConstsTheCompilerKnows",
     "const unsigned char code RELOAD = 0x1FD;\nstatic const int N = 3;\n"
     "TH1 = RELOAD;\nTL1 = N + 1;\nTH0 = later;\nconst char later = 1;",
     "3:TH1=0xfd 4:TL1=0x4 5:TH0<-later"},
    {"UncalledFunctionReadWhereItStands",
     "void f(unsigned char v) { TH1 = v; }", "1:TH1<-v"},
    {"IncludedHeadersMacros", "#include <CH552.H>\nPCON |= SMOD;",
     "2:PCON|=0x80"},
    {"HeaderInABranchNotTaken",
     "#if 0\n#include <CH552.H>\n#endif\n"
     "PCON |= SMOD;",
     "4:PCON=?"},
};
INSTANTIATE_TEST_SUITE_P(Constructs, CReadTest, testing::ValuesIn(kCRows),
                         [](const auto& info) { return info.param.name; });

class AsmReadTest : public testing::TestWithParam<Row> {};

TEST_P(AsmReadTest, Effects) {
  const CodeReading reading =
      ReadCode(GetParam().source, CodeDialect::kAssembly);
  EXPECT_EQ(EffectsText(reading), GetParam().effects);
}

const Row kAsmRows[] = {
    {"MovImmediate", "\tMOV TMOD,#20H ; Timer 1 in mode 2", "1:TMOD/byte=0x20"},
    {"MovToAddress", "mov 89H,#00100000B", "1:0x89/byte=0x20"},
    {"LogicOps", "ORL PCON,#80H\nANL SCON,#0DFH\nXRL P1,#1",
     "1:PCON/byte|=0x80 2:SCON/byte&=0xdf 3:P1/byte^=0x1"},
    {"Bits", "SETB TR1\nCLR 8EH\nCPL TCON.6\nsetb 88H.6",
     "1:TR1/bit setb 2:0x8e/bit clr 3:TCON.6/bit cpl 4:0x88.6/bit setb"},
    {"MovDirectDirect", "MOV TL1,TH1", "1:TL1/byte<-TH1/byte"},
    {"Numbers",
     "mov A0,#0FDH\nmov A1,#0xFD\nmov A2,#-3\nmov A3,#253\nmov "
     "A4,#'A'\nmov A5,#17Q\nmov A6,#0H",
     "1:A0/byte=0xfd 2:A1/byte=0xfd 3:A2/byte=-0x3 4:A3/byte=0xfd "
     "5:A4/byte=0x41 6:A5/byte=0xf 7:A6/byte=0x0"},
    {"HighLow",
     "mov TH0,#HIGH(65536-1000)\nmov TL0,#LOW(65536-1000)\n"
     "mov TH2,#>(0x10000-1000)\nmov TL2,#<(0x10000-1000)",
     "1:TH0/byte=0xfc 2:TL0/byte=0x18 3:TH2/byte=0xfc 4:TL2/byte=0x18"},
    {"Arithmetic", "mov TH1,#256-11059200/384/9600\nmov TL1,#3 SHL 2 OR 1",
     "1:TH1/byte=0xfd 2:TL1/byte=0xd"},
    {"Constants",
     "RELOAD EQU 0FDH\nTWO = 0xFE\n.equ R3, 0xFF\nmov TH1,#RELOAD\n"
     "mov TL1,#two\nmov TH0,#R3",
     "4:TH1/byte=0xfd 5:TL1/byte=0xfe 6:TH0/byte=0xff"},
    {"ConstantAsAddress", "XTMOD EQU 89H\nmov XTMOD+0,#1", "2:0x89/byte=0x1"},
    {"Accumulator", "mov a,TMOD\nanl a,#0x0F\norl a,#0x20\nmov TMOD,a",
     "4:TMOD/byte&=0xf 4:TMOD/byte|=0x20"},
    {"AccumulatorConstant",
     "mov a,#50H\nmov SCON,a\nclr a\nmov TL1,a\ncpl a\n"
     "orl TH1,a",
     "2:SCON/byte=0x50 4:TL1/byte=0x0 6:TH1/byte|=0xff"},
    {"AccumulatorLost", "mov a,#1\nadd a,#2\nmov TH1,a\nmov a,#1\nx: mov TL1,a",
     "3:TH1/byte=? 5:TL1/byte=?"},
    {"VectorJump",
     "ORG 0\nLJMP main\nORG 001BH\nLJMP t1\nt1: CLR TF1\n"
     "MOV TH0,#1\nRETI\nmain: SETB TR1",
     "5:TF1/bit clr@3 6:TH0/byte=0x1@3 8:TR1/bit setb"},
    {"VectorBeforeLabel", "t0: clr TF0\nreti\n.org 0x000B\najmp t0",
     "1:TF0/bit clr@1"},
    {"VectorInline", "CSEG AT 0023H\nCLR TI\nRETI\nCLR RI",
     "2:TI/bit clr@4 4:RI/bit clr"},
    {"SdasArea",
     ".area VECT (ABS)\n.org 0x0023\nljmp s\n.area CSEG (CODE)\n"
     "s:\n\tclr RI\n\treti",
     "6:RI/bit clr@4"},
    {"Skipped",
     "start: mov a,@r0\n\tlcall foo\n\tdjnz r7,$\n\tmov dptr,#1234H\n"
     "\tmovx @dptr,a\n\tsjmp start\n\tmov c,TR1\n\tmov TR0,c",
     "8:TR0/bit=?"},
    {"Exchange", "mov a,#5\nxch a,TH1\nmov TL1,a",
     "2:TH1/byte=0x5 3:TL1/byte=?"},
    {"CaseInsensitive", "MoV tmod,#20h\nSetB tr1",
     "1:TMOD/byte=0x20 2:TR1/bit setb"},
    {"EndStops", "mov TH1,#1\nEND\nmov TL1,#1", "1:TH1/byte=0x1"},
    {"RuntimeDirect", "inc TH1\npop ACC\nmov _ticks+1,#0",
     "1:TH1/byte=? 2:ACC/byte=?"},
    {"RetiRoutineIsAHandler",
     "main: mov TH1,#1\nsjmp $\nisr: clr TF0\nnext: mov TL0,#2\nreti",
     "1:TH1/byte=0x1 3:TF0/bit clr@-2 4:TL0/byte=0x2@-2"},
    {"RegistersFollowed", "mov r0,#0FDH\nmov TH1,r0\nxch a,r0\nmov TL1,a",
     "2:TH1/byte=0xfd 4:TL1/byte=0xfd"},
    {"LabelsAndCallsForgetRegisters",
     "mov r1,#1\nx: mov TH1,r1\nmov r2,#1\nlcall f\nmov TL1,r2",
     "2:TH1/byte=? 5:TL1/byte=?"},
    {"AccumulatorBits",
     "mov a,#0\nsetb acc.7\nsetb 0E0H\nclr acc.0\n"
     "mov PCON,a",
     "5:PCON/byte=0x80"},
    {"SdccNames", "_buf:\n.ds 1\nmov _SCON,#0x50\nmov _buf,#1",
     "3:SCON/byte=0x50 4:_BUF/byte=0x1"},
};
INSTANTIATE_TEST_SUITE_P(Constructs, AsmReadTest, testing::ValuesIn(kAsmRows),
                         [](const auto& info) { return info.param.name; });

struct DeclarationRow {
  const char* name;
  const char* source;
  DeclarationKind kind;
  const char* declared;  // the name and PlaceText of its place
  int high = -1;
};

void PrintTo(const DeclarationRow& row, std::ostream* os) { *os << row.name; }

class DeclarationTest : public testing::TestWithParam<DeclarationRow> {};

TEST_P(DeclarationTest, Declares) {
  const DeclarationRow& row = GetParam();
  const CodeReading reading = ReadCode(row.source);
  ASSERT_EQ(reading.declarations.size(), 1u);
  const Declaration& d = reading.declarations[0];
  EXPECT_EQ(d.kind, row.kind);
  EXPECT_EQ(d.name + " " + PlaceText(d.at), row.declared);
  EXPECT_EQ(d.high, row.high);
}

using K = DeclarationKind;
const DeclarationRow kDeclarationRows[] = {
    {"KeilSfr", "sfr TMOD = 0x89;", K::kSfr, "TMOD 0x89/byte"},
    {"KeilSfr16", "sfr16 RCAP2 = 0xCA;", K::kSfr16, "RCAP2 0xca/byte", 0xCB},
    {"KeilSbitOfRegister", "sbit TR1 = TCON^6;", K::kBit, "TR1 TCON.6/bit"},
    {"KeilSbitOfAddress", "sbit TR1 = 0x88^6;", K::kBit, "TR1 0x88.6/bit"},
    {"KeilSbitAddress", "sbit TR1 = 0x8E;", K::kBit, "TR1 0x8e/bit"},
    {"SdccSfr", "__sfr __at(0x89) TMOD;", K::kSfr, "TMOD 0x89/byte"},
    {"SdccSfrNoParentheses", "__sfr __at 0x89 TMOD;", K::kSfr,
     "TMOD 0x89/byte"},
    {"SdccSfr16", "__sfr16 __at(0xCBCA) RCAP2;", K::kSfr16, "RCAP2 0xca/byte",
     0xCB},
    {"SdccAtFirst", "__at(0x89) __sfr TMOD;", K::kSfr, "TMOD 0x89/byte"},
    {"SdccSbit", "__sbit __at(0x8E) TR1;", K::kBit, "TR1 0x8e/bit"},
    {"SdccXdata", "__xdata __at(0xE608) volatile unsigned char UART230;",
     K::kXdata, "UART230 0xe608/byte"},
    {"KeilXdata", "volatile unsigned char xdata UART230 _at_ 0xE608;",
     K::kXdata, "UART230 0xe608/byte"},
    {"CompilerHeaderSbit", "SBIT(TR1, 0x88, 6);", K::kBit, "TR1 0x8e/bit"},
    {"SiliconLabsSfr16", "SI_SFR16(TMR2RL, 0xCA);", K::kSfr16,
     "TMR2RL 0xca/byte", 0xCB},
    {"AsmData", "TMOD DATA 89H", K::kSfr, "TMOD 0x89/byte"},
    {"AsmBit", "TR1 BIT TCON.6", K::kBit, "TR1 TCON.6/bit"},
    {"AsmEqu", "tmod equ 89H", K::kConstant, "TMOD 0x89"},
};
INSTANTIATE_TEST_SUITE_P(Forms, DeclarationTest,
                         testing::ValuesIn(kDeclarationRows),
                         [](const auto& info) { return info.param.name; });

struct ProblemRow {
  const char* name;
  std::string source;
  CodeProblem problem;
};

void PrintTo(const ProblemRow& row, std::ostream* os) { *os << row.name; }

class ProblemTest : public testing::TestWithParam<ProblemRow> {};

TEST_P(ProblemTest, Kind) {
  EXPECT_EQ(ReadCode(GetParam().source).problem, GetParam().problem);
}

const ProblemRow kProblemRows[] = {
    {"Empty", "", CodeProblem::kEmpty},
    {"Blank", " \n\t\r\n", CodeProblem::kEmpty},
    {"TooLarge", std::string(kMaxCodeBytes + 1, ' '), CodeProblem::kTooLarge},
    {"NulByte", std::string("TMOD = 1;\0", 10), CodeProblem::kBinary},
    {"InvalidUtf8", "TMOD = 1; \xFF\xFE\xFD\xFC", CodeProblem::kBinary},
    {"OneLatin1Comment", "TMOD = 1; /* r\xE9glage du timer */",
     CodeProblem::kNone},
    {"Utf8Comment", "TMOD = 1; /* 定时器 */", CodeProblem::kNone},
    // A GB lead byte with no trail after it is no Chinese text.
    {"GbLeadsWithoutTrails", "TMOD = 1; \x81\x20\x82\x20\x83\x20\x84",
     CodeProblem::kBinary},
    {"NoWrites", "int x;\nvoid f(void);", CodeProblem::kNoWrites},
    {"IntelHex", "\n:03000000020030CB\n:00000001FF\n", CodeProblem::kImage},
    {"OnlyComments", "; nothing here\n", CodeProblem::kNoWrites},
};
INSTANTIATE_TEST_SUITE_P(Inputs, ProblemTest, testing::ValuesIn(kProblemRows),
                         [](const auto& info) { return info.param.name; });

// Text as editors save it: a byte-order mark is no code, and Chinese
// comments in GBK (two bytes) or GB18030 (four) are text, not binary.
TEST(CodeReaderTest, ReadsTextAsSaved) {
  struct Row {
    const char* name;
    const char* source;
    const char* effects;
    Encoding encoding;
  };
  for (const Row& row : {
           Row{"Utf8ByteOrderMark", "\xEF\xBB\xBFTMOD = 0x20;", "1:TMOD=0x20",
               Encoding::kUtf8},
           Row{"GbkCommentsCrlf",
               "/* \xB4\xAE\xBF\xDA */\r\nTMOD = 0x20; /* \xB2\xA8 */\r\n",
               "2:TMOD=0x20", Encoding::kGb18030},
           Row{"Gb18030FourBytes", "TMOD = 0x20; // \x81\x30\x81\x30",
               "1:TMOD=0x20", Encoding::kGb18030},
       }) {
    const CodeReading reading = ReadCode(row.source);
    EXPECT_EQ(EffectsText(reading), row.effects) << row.name;
    EXPECT_EQ(reading.encoding, row.encoding) << row.name;
  }
}

// Nesting and macros that would exhaust the stack or memory give up on
// the expression instead.
TEST(CodeReaderTest, HostileInputsStayBounded) {
  const std::string deep = "TH1 = " + std::string(100000, '(') + "1" +
                           std::string(100000, ')') + ";";
  EXPECT_EQ(EffectsText(ReadCode(deep)), "1:TH1=?");
  EXPECT_EQ(ReadCode(std::string(1 << 20, '#')).problem,
            CodeProblem::kNoWrites);
  std::string doubling = "#define A0 1\n";
  for (int i = 1; i <= 40; ++i) {
    doubling += "#define A" + std::to_string(i) + " A" + std::to_string(i - 1) +
                "+A" + std::to_string(i - 1) + "\n";
  }
  EXPECT_EQ(EffectsText(ReadCode(doubling + "TH1 = A40;")), "42:TH1=?");
  EXPECT_EQ(EffectsText(ReadCode(doubling + "TH1 = A5;")), "42:TH1=0x20");
  // A vector named by a name the code does not define is no vector.
  EXPECT_EQ(EffectsText(ReadCode("void t(void) interrupt T1_VEC { TH1 = 1; }")),
            "1:TH1=0x1");
  // A function calling itself is followed a few levels deep only.
  EXPECT_LE(ReadCode("void f(unsigned char v) { TH1 = v; f(v); }\n"
                     "void main(void) { f(1); }")
                .effects.size(),
            16u);
}

// Comments with their lines, and the handlers the code has.
TEST(CodeReaderTest, KeepsCommentsAndHandlers) {
  const CodeReading c = ReadCode(
      "TH1 = 1; // x\n/* y\n z */ TL1 = 2;\nputs(\"// no\");\n"
      "void t(void) interrupt 3 {}\nvoid u(void) __interrupt(1) {}\n");
  EXPECT_EQ(c.comments,
            (std::vector<Comment>{{1, 1, " x"}, {2, 3, " y\n z "}}));
  EXPECT_EQ(c.handlers, (std::vector<int>{3, 1}));
  const CodeReading a = ReadCode(
      "mov a,#';' ; real\nORG 0BH\nLJMP t0\nt0: RETI\n_x: mov TH1,#1\n"
      "RETI\n",
      CodeDialect::kAssembly);
  EXPECT_EQ(a.comments, (std::vector<Comment>{{1, 1, " real"}}));
  EXPECT_EQ(a.handlers, (std::vector<int>{1, kSomeVector}));
}

struct GuessRow {
  const char* name;
  const char* source;
  CodeDialect dialect;
};

void PrintTo(const GuessRow& row, std::ostream* os) { *os << row.name; }

class GuessTest : public testing::TestWithParam<GuessRow> {};

TEST_P(GuessTest, Dialect) {
  EXPECT_EQ(GuessDialect(GetParam().source), GetParam().dialect);
}

constexpr CodeDialect kC = CodeDialect::kC;
constexpr CodeDialect kAsm = CodeDialect::kAssembly;
const GuessRow kGuessRows[] = {
    {"Mnemonics", "mov TMOD,#20H\nsetb TR1", kAsm},
    {"LabelledMnemonic", "start:\tCLR TR1", kAsm},
    {"Definitions", "TMOD EQU 89H\nTR1 BIT TCON.6", kAsm},
    {"Directives", ".module uart\n.area CSEG (CODE)", kAsm},
    {"A51Controls", "$NOMOD51\n", kAsm},
    // sdas's "NAME = value" counts for neither side.
    {"SdasEquates", "TMOD = 0x89 ; TMOD\n\tmov TMOD,#1", kAsm},
    {"Statements", "TMOD = 0x20;\nTR1 = 1;", kC},
    {"Directive", "#include <reg52.h>", kC},
    {"Braces", "void f(void)\n{\n}", kC},
    {"NeitherIsC", "; a comment", kC},
};
INSTANTIATE_TEST_SUITE_P(Sources, GuessTest, testing::ValuesIn(kGuessRows),
                         [](const auto& info) { return info.param.name; });

TEST(CodeReaderTest, ReadsAsGuessedUnlessTold) {
  EXPECT_EQ(ReadCode("setb TR1").dialect, CodeDialect::kAssembly);
  EXPECT_EQ(ReadCode("setb TR1", CodeDialect::kC).problem,
            CodeProblem::kNoWrites);
}

TEST(CodeReaderTest, ResolvesThroughDeclarations) {
  const CodeReading c = ReadCode(
      "sfr TCON = 0x88;\nsbit TR1 = TCON^6;\nsbit X = 0x20^3;\nTR1 = 1;");
  EXPECT_EQ(PlaceText(Resolved(Place{"TR1"}, c.declarations)), "0x8e/bit");
  EXPECT_EQ(PlaceText(Resolved(Place{"TCON"}, c.declarations)), "0x88/byte");
  EXPECT_EQ(PlaceText(Resolved(Place{"X"}, c.declarations)), "0x3/bit");
  EXPECT_EQ(PlaceText(Resolved(Place{"TL1"}, c.declarations)), "TL1");
  // An assembly constant is a byte or a bit address as the use says.
  const CodeReading a = ReadCode("TR1 = 0x8E\nsetb TR1\nmov TR1,#0");
  ASSERT_EQ(a.effects.size(), 2u);
  EXPECT_EQ(PlaceText(Resolved(a.effects[0].target, a.declarations)),
            "0x8e/bit");
  EXPECT_EQ(PlaceText(Resolved(a.effects[1].target, a.declarations)),
            "0x8e/byte");
  // A bit of a named register: the register's address plus the bit.
  const CodeReading b = ReadCode("TCON = 0x88\nsetb TCON.6\nsetb 0C8H.2");
  ASSERT_EQ(b.effects.size(), 2u);
  EXPECT_EQ(PlaceText(Resolved(b.effects[0].target, b.declarations)),
            "0x8e/bit");
  EXPECT_EQ(PlaceText(Resolved(b.effects[1].target, b.declarations)),
            "0xca/bit");
}

}  // namespace
}  // namespace mcs51
