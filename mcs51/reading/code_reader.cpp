#include "mcs51/reading/code_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "mcs51/reading/code_value.h"

namespace mcs51 {
namespace {

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
  });
}

// The bytes in malformed UTF-8 sequences (overlong forms and surrogates
// pass: they only need telling from binary).
std::size_t InvalidUtf8Bytes(std::string_view text) {
  std::size_t invalid = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    bool whole = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; whole && k < length; ++k) {
      whole = (static_cast<unsigned char>(text[i + k]) >> 6) == 0x2;
    }
    if (whole) {
      i += length;
    } else {
      ++invalid;
      ++i;
    }
  }
  return invalid;
}

// The bytes outside whole GB18030 characters: a lead 0x81 ... 0xFE, then a
// trail 0x40 ... 0x7E or 0x80 ... 0xFE, or 0x30 ... 0x39 and a lead and
// 0x30 ... 0x39 again (GB18030-2005, 6.3).
std::size_t InvalidGbBytes(std::string_view text) {
  auto at = [&](std::size_t i, int low, int high) {
    const int b = i < text.size() ? static_cast<unsigned char>(text[i]) : -1;
    return b >= low && b <= high;
  };
  std::size_t invalid = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (!at(i, 0x80, 0xFF)) {
      ++i;
    } else if (at(i, 0x81, 0xFE) &&
               (at(i + 1, 0x40, 0x7E) || at(i + 1, 0x80, 0xFE))) {
      i += 2;
    } else if (at(i, 0x81, 0xFE) && at(i + 1, 0x30, 0x39) &&
               at(i + 2, 0x81, 0xFE) && at(i + 3, 0x30, 0x39)) {
      i += 4;
    } else {
      ++invalid;
      ++i;
    }
  }
  return invalid;
}

// How the text was saved; nothing for binary data.
std::optional<Encoding> EncodingOf(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  const std::size_t utf8 = InvalidUtf8Bytes(text);
  if (utf8 > 0 && InvalidGbBytes(text) == 0) return Encoding::kGb18030;
  if (utf8 * 16 > text.size()) return std::nullopt;
  return Encoding::kUtf8;
}

bool EndsCStatement(std::string_view line) {
  line = line.substr(0, line.find("//"));
  while (!line.empty() &&
         std::isspace(static_cast<unsigned char>(line.back()))) {
    line.remove_suffix(1);
  }
  while (!line.empty() &&
         std::isspace(static_cast<unsigned char>(line.front()))) {
    line.remove_prefix(1);
  }
  if (line.empty()) return false;
  return line.back() == ';' || line.back() == '{' || line.back() == '}' ||
         line.front() == '#';
}

}  // namespace

CodeDialect GuessDialect(std::string_view source) {
  int assembly = 0, c = 0;
  for (std::size_t at = 0; at < source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string_view::npos) end = source.size();
    const std::string_view line = source.substr(at, end - at);
    if (reading::IsAssemblyLine(line)) {
      ++assembly;
    } else if (EndsCStatement(line)) {
      ++c;
    }
    at = end + 1;
  }
  return assembly > c ? CodeDialect::kAssembly : CodeDialect::kC;
}

CodeReading ReadCode(std::string_view source, CodeDialect dialect,
                     Compiler compiler) {
  CodeReading reading;
  if (source.size() > kMaxCodeBytes) {
    reading.problem = CodeProblem::kTooLarge;
    return reading;
  }
  if (IsBlank(source)) {
    reading.problem = CodeProblem::kEmpty;
    return reading;
  }
  const std::optional<Encoding> encoding = EncodingOf(source);
  if (!encoding) {
    reading.problem = CodeProblem::kBinary;
    return reading;
  }
  reading.encoding = *encoding;
  // A byte-order mark is no part of the first line's code.
  if (source.starts_with("\xEF\xBB\xBF")) source.remove_prefix(3);
  reading.dialect =
      dialect == CodeDialect::kGuess ? GuessDialect(source) : dialect;
  if (reading.dialect == CodeDialect::kAssembly) {
    reading::ReadAssembly(source, reading);
  } else {
    reading::ReadC(source, compiler, reading);
  }
  reading.comments =
      reading::Comments(source, reading.dialect == CodeDialect::kAssembly
                                    ? reading::Dialect::kAssembly
                                    : reading::Dialect::kC);
  if (reading.effects.empty() && reading.unresolved.empty()) {
    reading.problem = CodeProblem::kNoWrites;
  }
  return reading;
}

std::string_view EncodingKey(Encoding encoding) {
  return encoding == Encoding::kGb18030 ? "gb18030" : "utf-8";
}

Place Resolved(const Place& place, std::span<const Declaration> declarations) {
  Place p = place;
  // A few hops: a bit names a register that names an address.
  for (int hop = 0; hop < 4 && !p.name.empty(); ++hop) {
    const auto found =
        std::find_if(declarations.rbegin(), declarations.rend(),
                     [&](const Declaration& d) { return d.name == p.name; });
    if (found == declarations.rend() || (found->at.bit >= 0 && p.bit >= 0)) {
      break;
    }
    Place next = found->at;
    if (p.bit >= 0) next.bit = p.bit;
    if (p.space != Space::kEither ||
        found->kind == DeclarationKind::kConstant) {
      next.space = p.space;
    }
    p = next;
  }
  if (p.bit >= 0) p.space = Space::kBit;
  if (p.name.empty() && p.bit >= 0) {
    // Registers at multiples of 8 and the bytes at 20H ... 2FH hold the
    // bit-addressable bits.
    if (p.address >= 0x80 && p.address <= 0xFF && p.address % 8 == 0) {
      p.address += p.bit;
      p.bit = -1;
    } else if (p.address >= 0x20 && p.address <= 0x2F) {
      p.address = (p.address - 0x20) * 8 + p.bit;
      p.bit = -1;
    }
  }
  return p;
}

}  // namespace mcs51
