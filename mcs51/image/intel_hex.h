#pragma once
// A built image as the linkers write it, Intel HEX: the bytes of code
// memory it holds, read into memory no larger than the chip's. Any text
// is safe to read; what is not a sound image says why, and where.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/reading/code_reader.h"  // LooksLikeIntelHex

namespace mcs51 {

// Why a text gave no image.
enum class HexProblem : std::uint8_t {
  kNone,
  kNotHex,         // a line that is not a record: no ':' first, an odd
                   // count of digits, a character not a hex digit, a
                   // length byte disagreeing with the line, an address
                   // record without its two bytes
  kBadChecksum,    // a record whose bytes do not sum to 0
  kUnknownRecord,  // a record type other than 00 ... 05
  kTooLarge,       // data at or beyond the code memory's size
  kNoData,         // not one byte of data before the end
};

struct HexImage {
  HexProblem problem = HexProblem::kNone;
  int line = 0;          // the record at fault, 1-based; 0 when none
  int record_type = -1;  // kUnknownRecord: its type
  std::uint32_t at = 0;  // kTooLarge: the first address beyond the memory
  std::uint32_t code_bytes = 0;  // the code memory's size read against
  std::uint32_t end = 0;         // one past the highest address holding data
  // `end` bytes, 0xFF (erased flash) where the image holds none; empty
  // on a problem.
  std::vector<std::uint8_t> code = {};
  std::vector<bool> held = {};  // which of `code` the image holds

  // Whether the image puts a byte at `address`.
  //   (":01000B0032C2\n...").Holds(0x0B) -> true
  //   (":01000B0032C2\n...").Holds(0x03) -> false, and code[3] == 0xFF
  bool Holds(std::uint32_t address) const {
    return address < held.size() && held[address];
  }
};

// The image `text` holds, for a chip with `code_bytes` of code memory.
// Records 00 are data, placed at the base plus their address; 02 sets
// the base to its value times 16, 04 to its value times 65536; 03 and 05
// (start addresses) are read and ignored; 01 ends the image, and nothing
// after it is read. Blank lines, a UTF-8 BOM and trailing CR, spaces or
// tabs are allowed. The first fault, in the order of the lines, is the
// answer; `code` is never larger than `code_bytes`.
//   ReadIntelHex(":03000000020030CB\n:00000001FF\n")
//       -> {end 3, code {02 00 30}}
//   ReadIntelHex(":0100000000FE\n").problem         -> kBadChecksum, line 1
//   ReadIntelHex(":0200FF00AABB9A\n", 0x100)        -> kTooLarge, at 0x100
HexImage ReadIntelHex(std::string_view text,
                      std::uint32_t code_bytes = 0x10000);

// The problem in a message's words, English, with its line; "" for none.
//   {kBadChecksum, line 3}    -> "line 3: bad checksum"
//   {kUnknownRecord, line 2, record_type 6}
//                             -> "line 2: unknown record type 0x06"
//   {kTooLarge, line 4, at 0x10000, code_bytes 65536}
//       -> "line 4: data at 0x10000, beyond the 65536 bytes of code memory"
//   {kNoData}                 -> "no data records"
std::string HexProblemText(const HexImage& image);

}  // namespace mcs51
