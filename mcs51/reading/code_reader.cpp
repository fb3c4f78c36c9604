#include "mcs51/reading/code_reader.h"

#include <algorithm>
#include <optional>

#include "calc/conversions.h"
#include "mcs51/reading/code_value.h"
#include "mcs51/reading/sources.h"

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

CodeDialect DialectOfName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return CodeDialect::kGuess;
  std::string ext(name.substr(dot + 1));
  for (char& c : ext) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (ext == "c" || ext == "h") return CodeDialect::kC;
  if (ext == "asm" || ext == "a51" || ext == "s" || ext == "src") {
    return CodeDialect::kAssembly;
  }
  return CodeDialect::kGuess;
}

Define DefineOf(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {std::string(text)};
  return {std::string(text.substr(0, equals)),
          std::string(text.substr(equals + 1))};
}

bool LooksLikeIntelHex(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == text.npos || text.size() - first < 3 || text[first] != ':')
    return false;
  return calc::DigitValue(text[first + 1], 16) >= 0 &&
         calc::DigitValue(text[first + 2], 16) >= 0;
}

namespace {

// Each file's text checked, and what all of them say as a whole: the
// first problem of a file, or kEmpty where all are blank.
bool Checked(std::span<const SourceFile> files, CodeReading& reading) {
  bool blank = true;
  for (const SourceFile& f : files) {
    const std::optional<Encoding> encoding = EncodingOf(f.text);
    reading.problem = f.text.size() > kMaxCodeBytes ? CodeProblem::kTooLarge
                      : !encoding                   ? CodeProblem::kBinary
                      : LooksLikeIntelHex(f.text)   ? CodeProblem::kImage
                                                    : CodeProblem::kNone;
    if (reading.problem != CodeProblem::kNone) {
      reading.problem_file = f.name;
      return false;
    }
    if (*encoding != Encoding::kUtf8) reading.encoding = *encoding;
    blank = blank && IsBlank(f.text);
  }
  if (blank) reading.problem = CodeProblem::kEmpty;
  return !blank;
}

// An assembly file's reading, its lines moved to the program's numbering.
void AddAssembly(std::string_view text, int first, CodeReading& reading) {
  CodeReading part;
  reading::ReadAssembly(text, part);
  const int shift = first - 1;
  for (Effect& e : part.effects) e.line += shift;
  for (Declaration& d : part.declarations) d.line += shift;
  for (Unresolved& u : part.unresolved) u.line += shift;
  auto append = [](auto& to, auto& from) {
    to.insert(to.end(), from.begin(), from.end());
  };
  append(reading.effects, part.effects);
  append(reading.declarations, part.declarations);
  append(reading.unresolved, part.unresolved);
  append(reading.handlers, part.handlers);
}

}  // namespace

CodeReading ReadFiles(std::span<const SourceFile> files, const Build& build,
                      CodeDialect dialect) {
  CodeReading reading;
  if (!Checked(files, reading)) return reading;
  reading::Program program{build, reading, 1, 0, {}};
  std::vector<reading::Token> c_tokens;
  bool c = false;
  for (const SourceFile& f : files) {
    std::string_view text = f.text;
    // A byte-order mark is no part of the first line's code.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const int first = reading::FirstLine(program, f);
    CodeDialect d =
        dialect != CodeDialect::kGuess ? dialect : DialectOfName(f.name);
    if (d == CodeDialect::kGuess) d = GuessDialect(text);
    if (d == CodeDialect::kAssembly) {
      AddAssembly(text, first, reading);
    } else {
      std::vector<reading::Token> tokens =
          reading::PreprocessedC(f.name, text, first, program);
      if (c_tokens.empty()) {
        c_tokens = std::move(tokens);  // one file: no second array
      } else {
        c_tokens.insert(c_tokens.end(), std::make_move_iterator(tokens.begin()),
                        std::make_move_iterator(tokens.end()));
      }
      c = true;
    }
    if (reading.problem != CodeProblem::kNone) return reading;
    for (Comment& comment : reading::Comments(
             text, d == CodeDialect::kAssembly ? reading::Dialect::kAssembly
                                               : reading::Dialect::kC)) {
      comment.first += first - 1;
      comment.last += first - 1;
      reading.comments.push_back(std::move(comment));
    }
  }
  reading.dialect = c ? CodeDialect::kC : CodeDialect::kAssembly;
  if (c) reading::ReadC(c_tokens, reading);
  if (reading.effects.empty() && reading.unresolved.empty()) {
    reading.problem = CodeProblem::kNoWrites;
  }
  return reading;
}

CodeReading ReadCode(std::string_view source, CodeDialect dialect,
                     Compiler compiler) {
  const SourceFile paste{"", std::string(source)};
  return ReadFiles({&paste, 1}, {compiler, {}, {}, 0.0}, dialect);
}

Where At(std::span<const FileLines> files, int line) {
  for (const FileLines& f : files) {
    if (line >= f.first && line < f.first + f.count) {
      return {f.name, line - f.first + 1};
    }
  }
  return {line == 0 ? "<command-line>" : "", line};
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
