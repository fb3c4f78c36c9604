#pragma once
// A program as its build gives it to the compiler: several files, the
// directories #include looks in, and the build's -D and -U.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/reading/code_reader.h"

namespace mcs51 {

struct SourceFile {
  std::string name;  // as given or found: "src/uart.c"; "-" for stdin
  std::string text;
};

// -D NAME, -D NAME=VALUE and -U NAME, as GCC and SDCC read them.
//   DefineOf("FOSC=11059200L") -> {"FOSC", "11059200L"}
//   DefineOf("DEBUG")          -> {"DEBUG", "1"}
//   DefineOf("F(x)=x")         -> {"F(x)", "x"}: a function-like macro
struct Define {
  std::string name;
  std::string value = "1";
  bool undefine = false;  // -U NAME
  bool operator==(const Define&) const = default;
};
Define DefineOf(std::string_view text);

// What an #include names, looked for: "…" (`quoted`) beside `from`, the
// file including it, then in the build's directories; <…> in those only.
// The file as found, or nothing.
using FindInclude = std::function<std::optional<SourceFile>(
    std::string_view header, bool quoted, std::string_view from)>;

struct Build {
  Compiler compiler = Compiler::kKeil;
  std::vector<Define> defines;  // in the order given, before each file
  FindInclude find;             // none: no header is looked for (a paste)
  // What a clock name the code uses and never defines stands for, in Hz
  // (FOSC for 11059200 where the crystal given is 11.0592 MHz); 0 leaves
  // such a name unknown.
  double clock_hz = 0.0;
};

// At most this much text is read with a program's headers: a header
// including itself without a guard stops there.
inline constexpr std::size_t kMaxProgramBytes = std::size_t{16} << 20;
inline constexpr int kMaxIncludeDepth = 200;  // GCC's own limit

// Reads `files` as one program: each file's statements in its own order,
// the files in the order given; C's files are read together, where the
// first of them stands, so that a call in one reaches a function in
// another. Each C file is preprocessed on its own, as a compiler does,
// after `build`'s defines. A file's dialect is its name's (.c and .h are
// C; .asm, .a51, .s and .src assembly), else `dialect`, else guessed.
// The lines of all files are one numbering (CodeReading::files).
//   ReadFiles({{"a.c", "TR1 = 1;"}, {"b.c", "TMOD = 0x20;"}}, {})
//       -> {1, TR1}, {3, TMOD}: b.c's line 1 is the reading's line 3
//   ReadFiles({{"a.c", "#include \"cfg.h\"\nTH1 = RELOAD;"}}, build)
//       -> cfg.h looked for through build.find, beside a.c first
CodeReading ReadFiles(std::span<const SourceFile> files, const Build& build,
                      CodeDialect dialect = CodeDialect::kGuess);

// The dialect a file's name gives: kGuess where it gives none.
//   DialectOfName("uart.C") -> kC;  DialectOfName("init.a51") -> kAssembly
CodeDialect DialectOfName(std::string_view name);

}  // namespace mcs51
