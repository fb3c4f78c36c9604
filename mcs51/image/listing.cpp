#include "mcs51/image/listing.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

#include "calc/conversions.h"

namespace mcs51 {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) { return calc::DigitValue(c, 16); }

// A whole field as a number, or -1 when it is not one or would not fit an
// int: lines to 999,999,999, addresses to 0x7FFFFFFF.
int Decimal(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return -1;
  int value = 0;
  for (const char c : digits) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

int Hex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return -1;
  unsigned value = 0;
  for (const char c : digits) {
    if (HexDigit(c) < 0) return -1;
    value = value << 4 | static_cast<unsigned>(HexDigit(c));
  }
  return value > 0x7FFFFFFF ? -1 : static_cast<int>(value);
}

// Calls `each` with every line, without its CR.
template <typename Each>
void Lines(std::string_view text, Each each) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t newline = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, newline - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    at = newline + 1;
    each(line);
  }
}

void Put(Listing& listing, int address, const SourceLine& line) {
  const auto [entry, fresh] = listing.try_emplace(address, line);
  if (!fresh && line.line > entry->second.line) entry->second = line;
}

// The C line an .rst comment names, after the listing's own line number:
// "      432 ;\tt.c:8: TL0 = 0x66;" -> t.c 8. The file ends at the first
// ":LINE:", so a Windows drive's colon stays in it.
std::optional<SourceLine> CommentLine(std::string_view line) {
  const std::size_t semicolon = line.find_first_not_of(" \t0123456789");
  if (semicolon == std::string_view::npos || line[semicolon] != ';' ||
      semicolon + 1 >= line.size() ||
      (line[semicolon + 1] != '\t' && line[semicolon + 1] != ' ')) {
    return std::nullopt;
  }
  const std::string_view rest = line.substr(semicolon + 1);
  const std::size_t start = rest.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  for (std::size_t colon = rest.find(':', start + 1);
       colon != std::string_view::npos; colon = rest.find(':', colon + 1)) {
    std::size_t end = colon + 1;
    while (end < rest.size() && IsDigit(rest[end])) ++end;
    if (end == colon + 1 || end == rest.size() || rest[end] != ':') continue;
    const int number = Decimal(rest.substr(colon + 1, end - colon - 1));
    if (number <= 0) continue;
    return SourceLine{std::string(rest.substr(start, colon - start)), number};
  }
  return std::nullopt;
}

constexpr int kNoCode = -1;
constexpr int kUnplaced = -2;

// The address of a line holding code bytes, "      000072 75 8A 66 ...":
// an address field near the start, then bytes each behind one space.
// Equates stand their value further right, and a long instruction's
// further bytes go on lines of their own with no address. A mark between
// bytes (sdas's r, *) is a relocation the linker has not made: kUnplaced.
int CodeAddress(std::string_view line) {
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || start > 12) return kNoCode;
  std::size_t end = start;
  while (end < line.size() && HexDigit(line[end]) >= 0) ++end;
  if (end - start < 4 || end - start > 8) return kNoCode;
  const auto pair = [&](std::size_t at) {
    return at + 2 < line.size() && HexDigit(line[at + 1]) >= 0 &&
           HexDigit(line[at + 2]) >= 0 &&
           (at + 3 == line.size() || HexDigit(line[at + 3]) < 0);
  };
  if (!pair(end) || line[end] != ' ') return kNoCode;
  for (std::size_t at = end + 3; pair(at); at += 3) {
    if (line[at] != ' ' && line[at] != '\t') return kUnplaced;
  }
  return Hex(line.substr(start, end - start));
}

// Splits "HEAD$TAIL" at its last '$'; false when there is none or HEAD is
// empty.
bool SplitLast(std::string_view text, std::string_view& head,
               std::string_view& tail) {
  const std::size_t dollar = text.rfind('$');
  if (dollar == std::string_view::npos || dollar == 0) return false;
  head = text.substr(0, dollar);
  tail = text.substr(dollar + 1);
  return true;
}

// "C$FILE$LINE$LEVEL$BLOCK": split from the right, so that a '$' in the
// file stays in it.
std::optional<SourceLine> CRecord(std::string_view symbol) {
  std::string_view rest, tail;
  for (int field = 0; field < 2; ++field) {
    if (!SplitLast(symbol, rest, tail)) return std::nullopt;
    symbol = rest;
  }
  if (!SplitLast(symbol, rest, tail)) return std::nullopt;
  const int number = Decimal(tail);
  if (number <= 0) return std::nullopt;
  return SourceLine{std::string(rest), number};
}

}  // namespace

Listing ReadRst(std::string_view text) {
  Listing listing;
  std::vector<SourceLine> pending;
  bool unplaced = false;
  Lines(text, [&](std::string_view line) {
    if (unplaced) return;
    if (auto named = CommentLine(line)) {
      pending.push_back(std::move(*named));
      return;
    }
    const int address = CodeAddress(line);
    if (address == kUnplaced) unplaced = true;
    if (address < 0) return;
    for (const SourceLine& source : pending) Put(listing, address, source);
    pending.clear();
  });
  return unplaced ? Listing() : listing;
}

Listing ReadCdb(std::string_view text) {
  // A compiled module's "M:" record may follow its first lines: the
  // modules are known before any record is read.
  std::set<std::string_view, std::less<>> compiled;
  Lines(text, [&](std::string_view line) {
    if (line.starts_with("M:")) compiled.insert(line.substr(2));
  });
  Listing listing;
  Lines(text, [&](std::string_view line) {
    if (!line.starts_with("L:")) return;
    const std::size_t colon = line.rfind(':');
    if (colon < 2) return;
    const int address = Hex(line.substr(colon + 1));
    const std::string_view symbol = line.substr(2, colon - 2);
    if (address < 0 || symbol.size() < 2 || symbol[1] != '$') return;
    if (symbol[0] == 'C') {
      if (auto source = CRecord(symbol.substr(2))) {
        Put(listing, address, *source);
      }
      return;
    }
    std::string_view module, digits;
    if (symbol[0] != 'A' || !SplitLast(symbol.substr(2), module, digits) ||
        compiled.contains(module)) {
      return;
    }
    if (const int number = Decimal(digits); number > 0) {
      Put(listing, address, {std::string(module), number});
    }
  });
  return listing;
}

std::optional<SourceLine> LineAt(const Listing& listing, int address) {
  auto after = listing.upper_bound(address);
  if (after == listing.begin()) return std::nullopt;
  return std::prev(after)->second;
}

}  // namespace mcs51
