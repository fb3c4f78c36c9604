#pragma once
// Reads pasted 8051 init code back: C as Keil C51 and SDCC take it, or
// assembly as A51 and sdas8051 take it. The result is what the code does
// to registers, in the order written, with each write's line; which
// register a name or an address is on a given family is the caller's to
// decide (the paste's own declarations help: Resolved below). Code that
// is not understood is skipped, never fatal: pasted code is partial.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mcs51 {

inline constexpr std::size_t kMaxCodeBytes = std::size_t{1} << 20;

enum class CodeDialect { kGuess, kC, kAssembly };

// Why a paste gave nothing to look at.
enum class CodeProblem {
  kNone,
  kEmpty,            // nothing but white space
  kTooLarge,         // over kMaxCodeBytes
  kProgramTooLarge,  // with its headers, over kMaxProgramBytes
  kBinary,           // a NUL byte, or bytes neither UTF-8 nor GB18030 (1 in 16)
  kImage,            // a built image, Intel HEX: no source to read
  kNoWrites,         // no register write read
};

// What a write lands on: a byte register or a bit, as named or addressed.
//   C "TMOD = 0x20;"       -> {name "TMOD", space kEither}
//   asm "mov 89H,#20H"     -> {address 0x89, space kByte}
//   asm "setb 8EH"         -> {address 0x8E, space kBit}   (TR1)
//   asm "clr TCON.6"       -> {name "TCON", bit 6, space kBit}
//   C "sbit TR1 = 0x88^6;" -> declares TR1 at {address 0x88, bit 6, kBit}
// A C assignment cannot tell a bit from a register (TR1 = 1 and SCON = 1
// read alike), hence kEither. Assembly names are upper-cased; C's are
// kept as written.
enum class Space { kEither, kByte, kBit };
struct Place {
  std::string name;  // empty when given by address
  int address = -1;  // a direct (or XDATA) address, or a bit address
  int bit = -1;      // 0 ... 7 when a register's bit is named: TCON.6
  Space space = Space::kEither;
  bool operator==(const Place&) const = default;
};

enum class EffectOp {
  kAssign,         // = value
  kOr,             // |= value
  kAnd,            // &= value
  kXor,            // ^= value
  kSetBit,         // SETB
  kClearBit,       // CLR
  kComplementBit,  // CPL
  kCopy,           // = the register `source` (TL1 = TH1; MOV TL1,TH1)
  kUnknown,        // written, with a value only known when it runs
};

// One write. The value is the expression's as the compiler computes it
// (C51 and SDCC both have 16-bit int and 32-bit long), before it is cut to
// the register: the register gets it modulo 256, or 65536 for an sfr16.
//   "TH1 = 256 - 3;"                 -> kAssign 253
//   "TH1 = -3;"                      -> kAssign -3 (0xFD in the register)
//   "TMOD = (TMOD & 0x0F) | 0x20;"   -> kAnd 0x0F, then kOr 0x20
//   "SCON &= ~0x80;"                 -> kAnd -129 (0x7F in the register)
//   "TH1 = 11059200/(12*32*9600);"   -> kAssign 675: 12*32*9600 overflows
//                                       int, as it does on the compiler
// vector is the interrupt number of the handler the write is in (the
// vector's address is 8 * vector + 3): 1 for Timer 0 (0x000B), 3 for
// Timer 1 (0x001B), 4 for the serial port (0x0023); -1 outside handlers;
// kSomeVector in assembly that ends in RETI at a vector the paste does not
// say (a module whose handler C places).
inline constexpr int kSomeVector = -2;
struct Effect {
  int line = 0;  // 1-based
  Place target;
  EffectOp op = EffectOp::kAssign;
  std::int64_t value = 0;  // kAssign, kOr, kAnd, kXor
  Place source;            // kCopy
  int vector = -1;
  std::string depends;  // kUnknown: what the value waits on ("th")
  bool operator==(const Effect&) const = default;
};

// A name the paste gives a meaning.
//   "sfr TMOD = 0x89;", "__sfr __at(0x89) TMOD;", "TMOD DATA 89H"
//       -> kSfr TMOD at {address 0x89, kByte}
//   "sfr16 RCAP2 = 0xCA;", "__sfr16 __at(0xCBCA) RCAP2;"
//       -> kSfr16 RCAP2 at {address 0xCA, kByte}, high 0xCB
//   "sbit TR1 = TCON^6;", "TR1 BIT TCON.6" -> kBit at {"TCON", bit 6, kBit}
//   "__sbit __at(0x8E) TR1;", "TR1 BIT 8EH" -> kBit at {address 0x8E, kBit}
//   "__xdata __at(0xE608) volatile unsigned char UART230;"
//       -> kXdata at {address 0xE608, kByte}
//   "TMOD = 0x89", "TMOD EQU 89H", ".equ TMOD, 0x89" (assembly)
//       -> kConstant at {address 0x89, kEither}: a byte or a bit address
//          as the instruction using it says
// kSfr is any direct byte: A51's DATA names RAM below 80H the same way.
enum class DeclarationKind { kSfr, kSfr16, kBit, kXdata, kConstant };
struct Declaration {
  int line = 0;
  DeclarationKind kind = DeclarationKind::kSfr;
  std::string name;
  Place at;
  int high = -1;  // kSfr16: the high byte's address
  bool operator==(const Declaration&) const = default;
};

// What the code depends on that the paste does not say: an #if on a name
// defined nowhere in it, which the build may define. Neither side of it is
// read.
//   "#if (BAUD_TIMER == 1)" with no #define BAUD_TIMER -> {1, "BAUD_TIMER"}
struct Unresolved {
  int line = 0;
  std::string name;  // "" where the condition is no expression
  bool operator==(const Unresolved&) const = default;
};

// The text as it was saved: UTF-8 (a byte-order mark or not), or the
// Chinese national encodings Keil projects are often saved in, GB18030
// with GB2312 and GBK inside it. A Big5 file has the same byte shapes and
// reads as gb18030: only comments and strings hold the characters, and
// the reader never decodes them.
enum class Encoding { kUtf8, kGb18030 };

// "utf-8", "gb18030".
std::string_view EncodingKey(Encoding encoding);

// The compiler the code is read as, for the macros each defines.
enum class Compiler { kKeil, kSdcc };

// A comment, the lines it spans and its text, its markers gone.
//   "TH1 = 0xFD; // 9600 baud"  -> {1, 1, " 9600 baud"}
//   "/* 11.0592 MHz,\n 9600 */" -> {1, 2, " 11.0592 MHz,\n 9600 "}
//   asm "MOV TH1,#0FDH ; 9600"  -> {1, 1, " 9600"}
struct Comment {
  int first = 0, last = 0;
  std::string text;
  bool operator==(const Comment&) const = default;
};

// A maker's header the code includes, which names its family.
//   "#include <N76E003.h>" on line 1 -> {1, "N76E003.h", "n76e003"}
struct Included {
  int line = 0;
  std::string header;  // as written
  std::string chip;    // the family's name, as --chip takes it
  bool operator==(const Included&) const = default;
};

// A file's lines in a reading's one numbering, which runs over all its
// files, file after file (an #include's file where it is first read),
// with a line between them.
//   files a.c (3 lines), b.c -> {"a.c", 1, 3}, {"b.c", 5, ...}
struct FileLines {
  std::string name;  // "" for a paste
  int first = 1;     // the reading's number of its line 1
  int count = 0;
  bool operator==(const FileLines&) const = default;
};

// Where a line of a reading is: its file and its own number there.
struct Where {
  std::string_view file;
  int line = 0;
};

// The crystal the code's own clock constant says, in Hz.
//   "#define FOSC 11059200L" on line 2  -> {2, "FOSC", 11059200, false}
//   "#define XTAL_MHZ 12"               -> {.., "XTAL_MHZ", 12000000, false}
//   "TH1 = 256 - FOSC/384/9600;", FOSC defined nowhere, crystal 12 MHz
//       -> {1, "FOSC", 12000000, true}: taken as the crystal given
struct CodeClock {
  int line = 0;
  std::string name;
  double hz = 0.0;
  bool assumed = false;
  bool operator==(const CodeClock&) const = default;
};

struct CodeReading {
  CodeProblem problem = CodeProblem::kNone;
  std::string problem_file;  // the file that has the problem, of several
  CodeDialect dialect = CodeDialect::kC;  // as read
  Encoding encoding = Encoding::kUtf8;
  std::vector<Effect> effects;
  std::vector<Declaration> declarations;
  std::vector<Unresolved> unresolved;
  std::vector<Comment> comments;
  std::vector<Included> included;  // in order, in the branches taken
  // The vectors of the handlers the code has, in order: C's interrupt
  // functions, assembly's code at or jumped to from a vector, and
  // kSomeVector for a routine ending in RETI that no vector names.
  std::vector<int> handlers;
  std::vector<FileLines> files;   // in the numbering's order
  std::vector<Included> missing;  // "…" headers no directory held
  std::vector<CodeClock> clocks;  // the code's clock constants, in order
};

// Where `line` is, of the files read: {"", line} for a paste,
// {"<command-line>", 0} for the build's -D.
//   files {"a.c", 1, 3}, {"b.c", 5, 9}: At(files, 6) -> {"b.c", 2}
Where At(std::span<const FileLines> files, int line);

// Whether `text` is Intel HEX by its content, not its name: its first
// line that is not blank starts with ':' and two hex digits. C and
// assembly never start a line so.
//   LooksLikeIntelHex("\r\n:03000000020030CB\r\n") -> true
//   LooksLikeIntelHex("#include <8051.h>\n")       -> false
//   LooksLikeIntelHex(":label\n")                  -> false
bool LooksLikeIntelHex(std::string_view text);

// Reads C or assembly, guessing which unless told.
//   ReadCode("TMOD = 0x20;\nTR1 = 1;")
//       -> kC, {1, TMOD, kAssign 0x20}, {2, TR1, kAssign 1}
//   ReadCode("ORG 001BH\nLJMP t1\nt1: CLR TF1\nRETI")
//       -> kAssembly, {3, TF1 kBit, kClearBit, vector 3}
//   ReadCode("") -> kEmpty;  ReadCode("int x;") -> kNoWrites
// C is preprocessed as `compiler` does it.
CodeReading ReadCode(std::string_view source,
                     CodeDialect dialect = CodeDialect::kGuess,
                     Compiler compiler = Compiler::kKeil);

// Which dialect a source looks like: assembly when more lines open with a
// mnemonic or a directive than end a C statement.
//   GuessDialect("mov TMOD,#20H") -> kAssembly
//   GuessDialect("TMOD = 0x20;")  -> kC
CodeDialect GuessDialect(std::string_view source);

// A place with the paste's declarations followed to an address where they
// give one, and a bit of a bit-addressable register (at a multiple of 8)
// turned into its bit address. What no declaration names comes back as it
// was.
//   {"TMOD"} with "sfr TMOD = 0x89;"          -> {address 0x89, kByte}
//   {"TR1"} with "sbit TR1 = TCON^6;" and "sfr TCON = 0x88;"
//                                             -> {address 0x8E, kBit}
//   {"TR1", kBit} with asm "TR1 = 0x8E"       -> {address 0x8E, kBit}
//   {"TL1"} with none                         -> {"TL1"}
Place Resolved(const Place& place, std::span<const Declaration> declarations);

}  // namespace mcs51
