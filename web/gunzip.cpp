// Unpacks the page's gzipped programs (inline.py) at once, as the page's
// script runs, at the speed of WebAssembly: the browser's own
// DecompressionStream answers only through the event loop, which the page
// is still busy loading, and so came well after the page could have
// answered; the same in JavaScript spent longer starting up than unpacking.
// Deflate as RFC 1951 gives it; the gzip header is inline.py's own, of ten
// bytes with no name or comment, and the trailer's last four bytes give the
// unpacked size. No library, so that the program is a few kilobytes.
//   gzip.compress(b"abc") -> 61 62 63, and gunzip returns 3
//   gzip.compress(b"")    -> nothing, and it returns 0
//   a truncated or corrupt stream -> it returns -1
#include <cstdint>

// The page places the packed bytes and then room for the unpacked ones
// from here on, growing the memory as it needs.
extern "C" {
extern unsigned char __heap_base;
__attribute__((export_name("heap"))) unsigned char* heap() {
  return &__heap_base;
}
}

namespace {

const unsigned char* packed;
std::uint32_t at, end, held, count;
unsigned char* out;
std::uint32_t made, size;
bool corrupt;

std::uint32_t Bits(int n) {
  while (count < (std::uint32_t)n) {
    if (at >= end) {
      corrupt = true;
      return 0;
    }
    held |= (std::uint32_t)packed[at++] << count;
    count += 8;
  }
  std::uint32_t value = held & ((1u << n) - 1);
  held >>= n;
  count -= n;
  return value;
}

// A canonical Huffman code from its symbols' code lengths, as a table
// indexed by the next `longest` bits as they come (the first bit of a code
// lowest): each entry the symbol and its code's length, 0 for bits that
// start no code.
struct Code {
  int longest;
  std::uint32_t table[1 << 15];
};

Code literal_code, distance_code, length_code;

void Build(Code* code, const unsigned char* lengths, int symbols) {
  std::uint32_t counts[16] = {0}, next[16] = {0};
  int longest = 0;
  for (int s = 0; s < symbols; ++s) {
    ++counts[lengths[s]];
    if (lengths[s] > longest) longest = lengths[s];
  }
  counts[0] = 0;
  for (int n = 1; n < 16; ++n) next[n] = (next[n - 1] + counts[n - 1]) << 1;
  code->longest = longest;
  for (std::uint32_t j = 0; j < (1u << longest); ++j) code->table[j] = 0;
  for (int s = 0; s < symbols; ++s) {
    const int length = lengths[s];
    if (!length) continue;
    const std::uint32_t value = next[length]++;
    std::uint32_t reversed = 0;
    for (int k = 0; k < length; ++k)
      reversed = reversed << 1 | (value >> k & 1);
    for (std::uint32_t j = reversed; j < (1u << longest); j += 1u << length) {
      code->table[j] = (std::uint32_t)s << 4 | (std::uint32_t)length;
    }
  }
}

int Decode(const Code* code) {
  while (count < (std::uint32_t)code->longest) {
    if (at >= end) {
      corrupt = true;
      return 0;
    }
    held |= (std::uint32_t)packed[at++] << count;
    count += 8;
  }
  const std::uint32_t entry = code->table[held & ((1u << code->longest) - 1)];
  if (!entry) {
    corrupt = true;
    return 0;
  }
  held >>= entry & 15;
  count -= entry & 15;
  return (int)(entry >> 4);
}

const std::uint16_t kLengths[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                    15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
const std::uint16_t kDistances[30] = {
    1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};

// Each base's extra bits: none for the first eight lengths, then one more
// every four, and 258 none; for distances one more every two.
int LengthBits(int i) { return i < 8 || i == 28 ? 0 : (i >> 2) - 1; }
int DistanceBits(int i) { return i < 4 ? 0 : (i >> 1) - 1; }

void Block() {
  while (!corrupt) {
    int symbol = Decode(&literal_code);
    if (symbol < 256) {
      if (made >= size) break;
      out[made++] = (unsigned char)symbol;
    } else if (symbol == 256) {
      return;
    } else {
      symbol -= 257;
      if (symbol >= 29) break;
      std::uint32_t length = kLengths[symbol] + Bits(LengthBits(symbol));
      const int d = Decode(&distance_code);
      if (d >= 30) break;
      const std::uint32_t distance = kDistances[d] + Bits(DistanceBits(d));
      if (corrupt || distance > made || length > size - made) break;
      for (; length > 0; --length, ++made) out[made] = out[made - distance];
    }
  }
  corrupt = true;
}

void Fixed() {
  unsigned char lengths[288];
  for (int s = 0; s < 288; ++s) {
    lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  }
  Build(&literal_code, lengths, 288);
  for (int s = 0; s < 30; ++s) lengths[s] = 5;
  Build(&distance_code, lengths, 30);
  Block();
}

void Dynamic() {
  const unsigned char kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                    11, 4,  12, 3, 13, 2, 14, 1, 15};
  const int literals = (int)Bits(5) + 257, distances = (int)Bits(5) + 1;
  const int codes = (int)Bits(4) + 4;
  unsigned char lengths[19] = {0};
  for (int i = 0; i < codes; ++i) lengths[kOrder[i]] = (unsigned char)Bits(3);
  Build(&length_code, lengths, 19);
  unsigned char all[288 + 32];
  const int total = literals + distances;
  for (int i = 0; i < total && !corrupt;) {
    const int symbol = Decode(&length_code);
    if (symbol < 16) {
      all[i++] = (unsigned char)symbol;
      continue;
    }
    if (symbol == 16 && i == 0) corrupt = true;
    const unsigned char repeated = symbol == 16 && i > 0 ? all[i - 1] : 0;
    const int times = symbol == 16   ? 3 + (int)Bits(2)
                      : symbol == 17 ? 3 + (int)Bits(3)
                                     : 11 + (int)Bits(7);
    if (i + times > total) corrupt = true;
    for (int k = 0; k < times && !corrupt; ++k) all[i++] = repeated;
  }
  if (corrupt || literals > 288 || distances > 32) {
    corrupt = true;
    return;
  }
  Build(&literal_code, all, literals);
  Build(&distance_code, all + literals, distances);
  Block();
}

// A stored block starts at a byte: the bits held beyond the last whole
// byte go, and the whole bytes held are read again.
void Stored() {
  at -= count >> 3;
  held = count = 0;
  if (end - at < 4) {
    corrupt = true;
    return;
  }
  const std::uint32_t length = packed[at] | (std::uint32_t)packed[at + 1] << 8;
  at += 4;
  if (length > end - at || length > size - made) {
    corrupt = true;
    return;
  }
  for (std::uint32_t i = 0; i < length; ++i) out[made++] = packed[at++];
}

}  // namespace

// `length` packed bytes at `from`; the unpacked ones to `to`, as many as
// the trailer gives. Returns how many, or -1 for a stream that is not one.
extern "C" __attribute__((export_name("gunzip"))) int gunzip(
    const unsigned char* from, std::uint32_t length, unsigned char* to) {
  if (length < 18) return -1;
  packed = from;
  end = length;  // the trailer, never read, is room to look ahead into
  at = 10;
  held = count = 0;
  out = to;
  made = 0;
  size = from[length - 4] | (std::uint32_t)from[length - 3] << 8 |
         (std::uint32_t)from[length - 2] << 16 |
         (std::uint32_t)from[length - 1] << 24;
  corrupt = false;
  for (int last = 0; !last && !corrupt;) {
    last = (int)Bits(1);
    const std::uint32_t type = Bits(2);
    if (type == 0) {
      Stored();
    } else if (type == 1) {
      Fixed();
    } else if (type == 2) {
      Dynamic();
    } else {
      corrupt = true;
    }
  }
  return corrupt || made != size ? -1 : (int)made;
}
