#pragma once
// What the code readers share: tokens, values and the constant-expression
// evaluator, for C (typed as C51 and SDCC type it) and for assembly.
// Internal to code_reader.cpp and the two readers.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mcs51/reading/code_reader.h"
#include "mcs51/reading/sources.h"

namespace mcs51::reading {

enum class TokenKind : std::uint8_t { kName, kNumber, kPunct, kOther };
// Half a million of them in a megabyte of code: the small fields sit
// together, behind the text, so that one takes 48 bytes, not 56.
struct Token {
  Token() = default;
  Token(TokenKind kind, std::string text, std::int64_t number = 0,
        bool is_unsigned = false, bool is_long = false, int line = 0)
      : text(std::move(text)),
        number(number),
        line(line),
        kind(kind),
        is_unsigned(is_unsigned),
        is_long(is_long) {}
  std::string text;         // a name as written, or a punctuator
  std::int64_t number = 0;  // kNumber: its value
  int line = 0;
  TokenKind kind = TokenKind::kOther;
  bool is_unsigned = false, is_long = false;  // C's suffixes and type rules
};

// A C integer: int is 16 bits and long 32 on both compilers; assembly
// reads as a 32-bit int.
struct Typed {
  std::int64_t value = 0;
  int bits = 16;
  bool is_unsigned = false;
};
Typed Wrapped(std::int64_t value, int bits, bool is_unsigned);

// An expression's worth: a constant; or a register passed through &, |, ^
// and ~ with constants, ((reg & and_mask) | or_mask) ^ xor_mask; or
// something only known at run time.
struct Value {
  enum class Kind { kConstant, kRegister, kUnknown } kind = Kind::kUnknown;
  Typed constant;
  Place reg;
  std::uint32_t and_mask = ~0u, or_mask = 0, xor_mask = 0;
  std::string depends;  // kUnknown: the first name it waits on, if any
  bool IsPlainRegister() const {
    return kind == Kind::kRegister && and_mask == ~0u && or_mask == 0 &&
           xor_mask == 0;
  }
};
Value Constant(std::int64_t value, int bits = 16, bool is_unsigned = false);
Value RegisterValue(const Place& reg);
Value Unknown();

// Applies `op` (&, |, ^) to a value with a constant on the right, as
// assembly's ANL/ORL/XRL A,#n and C's compound assignments do.
Value Bitwise(const Value& left, char op, const Value& right);

enum class Dialect { kC, kAssembly };

// Looks a name up: a constant, a register, or unknown.
using NameLookup = Value (*)(const void* context, std::string_view name);

// Evaluates tokens as one expression; whatever is left over or not
// understood makes it unknown, never an error. An unknown names the first
// name the lookup gave no constant for, or the function called.
//   C "256 - FOSC / 384" -> unknown, depends "FOSC";  "f(2)" -> "f()"
//   C "256 - 11059200L / 384 / 9600" -> 253
//   C "~0x20"  -> -33 (int);  "~0x20U" -> 0xFFDF (unsigned int)
//   asm "HIGH(0FC18H)" -> 0xFC;  ">0xFC18" -> 0xFC;  "#" is not taken
Value Evaluate(std::span<const Token> tokens, Dialect dialect,
               NameLookup lookup, const void* context);

// The effects of writing `value` to `target` (C's "=" or MOV): an
// assignment, a copy, the and/or/xor that a read-modify-write of the same
// register comes to, or an unknown write.
void AddWrite(const Place& target, const Value& value, int line, int vector,
              std::vector<Effect>& effects);

// The interrupt number whose vector is at `address`: 0x000B -> 1; -1 when
// it is none.
int VectorAt(std::int64_t address);

// C's tokens as written, comments and strings gone: each #define,
// #undef, #if, #ifdef, #ifndef, #elif, #else and #endif a token "#define"
// (and so on) ahead of the line's own, ended by "#end"; #include a token
// "#include", the header's name (its number 1 for "…", 0 for <…>) and
// "#end"; the other directives dropped. Lines count from `first_line`.
//   "#if X\nA" -> "#if", X, "#end", A
std::vector<Token> CTokens(std::string_view source, int first_line = 1);

// What the preprocessor shares over a program's files: the build, the
// reading it adds to, where the next file's lines start in the reading's
// numbering, and how much text the headers brought.
struct Program {
  const Build& build;
  CodeReading& reading;
  int next_line = 1;
  std::size_t bytes = 0;
  std::map<std::string, int, std::less<>> first_lines;  // by file name
};

// A file's first line in the program's numbering, given when it is first
// read (CodeReading::files).
int FirstLine(Program& program, const SourceFile& file);

// C's tokens after the preprocessor as the build's compiler runs it, the
// build's -D and -U first: #define's constants and function-like macros
// expanded from the point they are defined, the branches of #if, #ifdef
// and #elif taken as the compiler takes them, an #include's file read
// where the build finds it, the other directives dropped, comments and
// strings gone. A condition on a name the code defines nowhere takes
// neither branch and is added to `unresolved`. A maker's header the
// catalogue knows is added to `included`, and where the build finds no
// file for it, defines its macros where it is included. The code's clock
// constants are added to `clocks`.
//   "#define T 1\n#if T == 1\nA\n#else\nB\n#endif" -> A
//   "#ifdef __SDCC\nA\n#else\nB\n#endif", kKeil  -> B
//   "#if BAUD_TIMER == 1\nA\n#endif"               -> nothing, {2,
//   "BAUD_TIMER"} unresolved
std::vector<Token> PreprocessedC(std::string_view name, std::string_view text,
                                 int first_line, Program& program);

// A name code gives its clock (FOSC, XTAL, MAIN_Fosc, F_CPU, ...; case
// aside), and the unit a value in it is in: Hz, unless the name says MHz
// or kHz (FOSC_MHZ), or 0 where the value's size says (12 is MHz).
struct ClockName {
  std::string_view name;
  double unit = 0.0;
};
//   FindClock("MAIN_Fosc") -> {"MAIN_FOSC", 0};  FindClock("count") -> null
const ClockName* FindClock(std::string_view name);

// A clock constant's value in Hz, 0 where it reads as none.
//   {FOSC, 11059200} -> 11059200;  {XTAL, 11.0592} -> 11059200
double ClockHz(const ClockName& clock, double value);

// A constant's value, its macros expanded: a floating literal (11.0592)
// or an integer expression; 0 for anything else.
//   "(22118400L / 2)" -> 11059200;  "11.0592" -> 11.0592
double ClockValue(std::span<const Token> tokens);

// Whether a token is the name or punctuator `text`.
inline bool Is(const Token& t, std::string_view text) {
  return t.kind != TokenKind::kNumber && t.text == text;
}

// The index past the parenthesis that closes the one at `open`, or the
// end.
std::size_t PastParenthesis(std::span<const Token> t, std::size_t open);

// A C statement that declares a register, a bit or an XDATA place (sfr,
// sbit, __at, SFR(...)) as a declaration; false for any other statement.
//   "sfr TMOD = 0x89;" -> true, {kSfr TMOD at 0x89}
bool CDeclaration(CodeReading& reading, std::span<const Token> statement);

// Assembly's names and mnemonics are upper-cased.
std::string Upper(std::string_view text);

// One line of assembly: its label, upper-cased, and its words, the comment
// after ";" gone. "t1: CLR TF1 ; stop" -> {label "T1", words CLR, TF1}.
struct AsmLine {
  int number = 0;
  std::string label;
  std::vector<Token> words;
};
std::vector<AsmLine> AsmLines(std::string_view source);

// The second word of a line that names a value: EQU, SET, DATA, IDATA,
// XDATA, BIT, = (and sdas's == and =:).
bool IsAsmDefiner(std::string_view word);

// Whether a line opens with a mnemonic or a directive, or defines a name
// as assembly does: "mov TMOD,#20H", "TMOD DATA 89H", "$NOMOD51".
bool IsAssemblyLine(std::string_view line);

// The comments of C (// and /* */, outside strings) or of assembly (";"
// to the line's end, outside quotes).
std::vector<Comment> Comments(std::string_view source, Dialect dialect);

// Each dialect's reader fills in effects, declarations and handlers: C's
// from its preprocessed tokens, all of the program's C files together.
void ReadC(std::span<const Token> tokens, CodeReading& reading);
void ReadAssembly(std::string_view source, CodeReading& reading);

}  // namespace mcs51::reading
