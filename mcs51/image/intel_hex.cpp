#include "mcs51/image/intel_hex.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "calc/conversions.h"

namespace mcs51 {
namespace {

int HexDigit(char c) { return calc::DigitValue(c, 16); }

std::string_view TrimRight(std::string_view line) {
  const std::size_t last = line.find_last_not_of(" \t\r");
  return last == std::string_view::npos ? std::string_view()
                                        : line.substr(0, last + 1);
}

std::string_view WithoutBom(std::string_view text) {
  return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

// A record's bytes after the colon: length, address (2), type, data,
// checksum.
struct Record {
  std::array<std::uint8_t, 5 + 255> bytes{};
  std::uint32_t Length() const { return bytes[0]; }
  std::uint32_t Address() const {
    return static_cast<std::uint32_t>(bytes[1]) << 8 | bytes[2];
  }
  int Type() const { return bytes[3]; }
  // An address record's value: its two data bytes, high first.
  std::uint32_t Value() const {
    return static_cast<std::uint32_t>(bytes[4]) << 8 | bytes[5];
  }
};

// The record `line` holds, or why it holds none. The length byte must
// agree with the line before the sum is looked at: a cut line would
// otherwise read as a bad checksum.
HexProblem Decode(std::string_view line, Record& record) {
  if (line.empty() || line.front() != ':') return HexProblem::kNotHex;
  const std::string_view digits = line.substr(1);
  if (digits.size() % 2 != 0 || digits.size() < 10 ||
      digits.size() > 2 * record.bytes.size()) {
    return HexProblem::kNotHex;
  }
  unsigned sum = 0;
  for (std::size_t i = 0; i < digits.size() / 2; ++i) {
    const int high = HexDigit(digits[2 * i]);
    const int low = HexDigit(digits[2 * i + 1]);
    if (high < 0 || low < 0) return HexProblem::kNotHex;
    record.bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    sum += record.bytes[i];
  }
  if (digits.size() / 2 != 5 + record.Length()) return HexProblem::kNotHex;
  if ((sum & 0xFF) != 0) return HexProblem::kBadChecksum;
  if (record.Type() > 5) return HexProblem::kUnknownRecord;
  if ((record.Type() == 2 || record.Type() == 4) && record.Length() != 2) {
    return HexProblem::kNotHex;
  }
  return HexProblem::kNone;
}

// One pass over the records to the end record or the first fault. The
// first pass finds `end`; once `code` is allocated to it, the second
// places the bytes, so the vector is never grown past what is needed.
void Pass(std::string_view text, HexImage& image, bool placing) {
  std::uint64_t base = 0;
  Record record;
  int number = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t newline = std::min(text.find('\n', at), text.size());
    const std::string_view line = TrimRight(text.substr(at, newline - at));
    at = newline + 1;
    ++number;
    if (line.empty()) continue;
    if (const HexProblem p = Decode(line, record); p != HexProblem::kNone) {
      image.problem = p;
      image.line = number;
      if (p == HexProblem::kUnknownRecord) image.record_type = record.Type();
      return;
    }
    switch (record.Type()) {
      case 0: {
        const std::uint64_t start = base + record.Address();
        const std::uint64_t past = start + record.Length();
        if (record.Length() == 0) break;
        if (past > image.code_bytes) {
          image.problem = HexProblem::kTooLarge;
          image.line = number;
          // start <= 0xFFFF0000 + 0xFFFF: it fits.
          image.at = static_cast<std::uint32_t>(
              std::max<std::uint64_t>(start, image.code_bytes));
          return;
        }
        if (!placing) {
          image.end = std::max(image.end, static_cast<std::uint32_t>(past));
          break;
        }
        for (std::uint32_t i = 0; i < record.Length(); ++i) {
          image.code[start + i] = record.bytes[4 + i];
          image.held[start + i] = true;
        }
        break;
      }
      case 1:
        return;
      case 2:
        base = std::uint64_t{record.Value()} << 4;
        break;
      case 4:
        base = std::uint64_t{record.Value()} << 16;
        break;
      default:  // start addresses: a simulator starts at reset anyway
        break;
    }
  }
}

// Upper case, as the records spell it: 0x06, 0x10000.
std::string Hex(std::uint32_t value, int digits) {
  std::string text;
  for (; value != 0 || digits > 0; value >>= 4, --digits) {
    text.insert(text.begin(), "0123456789ABCDEF"[value & 0xF]);
  }
  return "0x" + text;
}

}  // namespace

HexImage ReadIntelHex(std::string_view text, std::uint32_t code_bytes) {
  text = WithoutBom(text);
  HexImage image;
  image.code_bytes = code_bytes;
  Pass(text, image, false);
  if (image.problem != HexProblem::kNone) {
    image.end = 0;
    return image;
  }
  if (image.end == 0) {
    image.problem = HexProblem::kNoData;
    return image;
  }
  image.code.assign(image.end, 0xFF);
  image.held.assign(image.end, false);
  Pass(text, image, true);
  return image;
}

std::string HexProblemText(const HexImage& image) {
  const std::string at = "line " + std::to_string(image.line) + ": ";
  switch (image.problem) {
    case HexProblem::kNone:
      return "";
    case HexProblem::kNotHex:
      return at + "not an Intel HEX record";
    case HexProblem::kBadChecksum:
      return at + "bad checksum";
    case HexProblem::kUnknownRecord:
      return at + "unknown record type " +
             Hex(static_cast<std::uint32_t>(image.record_type), 2);
    case HexProblem::kTooLarge:
      return at + "data at " + Hex(image.at, 4) + ", beyond the " +
             std::to_string(image.code_bytes) + " bytes of code memory";
    case HexProblem::kNoData:
      return "no data records";
  }
  return "";
}

}  // namespace mcs51
