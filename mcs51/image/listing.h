#pragma once
// Where a built image's code came from: the source line of each code
// address, read from the files SDCC writes beside the image. The .rst is
// the assembler's listing with the linker's addresses, one a module; the
// .cdb (--debug) is the debugger's record of the whole program.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace mcs51 {

struct SourceLine {
  std::string file;  // as the compiler names it: .rst "src/t.c", .cdb "t.c"
  int line = 0;
  bool operator==(const SourceLine&) const = default;
};

// Code address -> the source line whose code starts there. Where lines
// share an address the greatest wins: a function's head shares its
// address with its first statement, and the statement is what runs.
using Listing = std::map<int, SourceLine>;

// A module's lines from its .rst. SDCC puts each C line, as a comment
// ";\tFILE:LINE: text", before that line's code; the first instruction
// after the comment is where the line starts. Lines without code bytes
// (labels, directives, equates) place nothing, and a listing the linker
// has not placed (a .lst, whose bytes still carry sdas's relocation marks)
// reads as no lines at all, its addresses being the module's own.
//   "                                    432 ;\tt.c:8: TL0 = 0x66;\n"
//   "      000072 75 8A 66         [24]  433 \tmov\t_TL0,#0x66\n"
//       -> {0x72: t.c 8}
//   "                           00008A   130 _TL0\t=\t0x008a\n" -> {}
//   "      000000 02r00r00         [24]  422 \tlcall\t_setup\n"  -> {}
Listing ReadRst(std::string_view text);

// The program's lines from its .cdb: records "L:C$FILE$LINE$LEVEL$BLOCK:
// ADDRESS" give C lines; "L:A$MODULE$LINE:ADDRESS" give assembly lines,
// read only for modules without an "M:" record (those assembled from
// hand-written source, not compiled from C), the module's name standing
// for its file. Every other record is ignored.
//   "L:C$t.c$8$1_0$2:72\n"           -> {0x72: t.c 8}
//   "M:t\nL:A$t$433:72\n"            -> {}
//   "L:A$tick$15:3D\n"               -> {0x3D: tick 15}
Listing ReadCdb(std::string_view text);

// The source line of the code at `address`: the entry at the greatest
// address not above it, none before the first. A handler's write sits a
// few bytes into its line's code.
//   LineAt({0x6F: t.c 7, 0x72: t.c 8}, 0x74) -> t.c 8
//   LineAt({0x6F: t.c 7, 0x72: t.c 8}, 0x6F) -> t.c 7
//   LineAt({0x6F: t.c 7, 0x72: t.c 8}, 0x0B) -> nullopt
std::optional<SourceLine> LineAt(const Listing& listing, int address);

}  // namespace mcs51
