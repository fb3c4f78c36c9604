#include "calc/conversions.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "calc/runtime_error.h"

namespace calc {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The ASCII character that a three-byte UTF-8 character at the start of
// `rest` stands for when a Chinese input method types it, or 0. Full-width
// mode types U+FF01..U+FF5E for "!".."~", U+3000 for a space; Chinese
// punctuation types U+3002 "。" for the point.
char FoldWide(std::string_view rest) {
  if (rest.size() < 3) return 0;
  const auto lead = static_cast<unsigned char>(rest[0]);
  const auto middle = static_cast<unsigned char>(rest[1]);
  const auto last = static_cast<unsigned char>(rest[2]);
  if (lead == 0xEF) {
    if (middle == 0xBC && last >= 0x81 && last <= 0xBF) {
      return static_cast<char>(last - 0x60);  // U+FF01..U+FF3F
    }
    if (middle == 0xBD && last >= 0x80 && last <= 0x9E) {
      return static_cast<char>(last - 0x20);  // U+FF40..U+FF5E
    }
  } else if (lead == 0xE3 && middle == 0x80) {
    if (last == 0x80) return ' ';
    if (last == 0x82) return '.';
  }
  return 0;
}

// Walks a text as if its blanks were not there and its full-width forms were
// ASCII. Any other byte past ASCII is returned as it is, which ends whatever
// is being read; so a blank never joins the bytes around it into a character.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) { Settle(); }

  // The current character, or '\0' at the end.
  char Peek() const { return current_; }
  void Advance() {
    pos_ += width_;
    Settle();
  }

 private:
  // Skips blanks, then takes the character found there.
  void Settle() {
    for (; pos_ < text_.size(); pos_ += width_) {
      char c = text_[pos_];
      width_ = 1;
      if (static_cast<unsigned char>(c) >= 0x80) [[unlikely]] {
        if (const char folded = FoldWide(text_.substr(pos_))) {
          c = folded;
          width_ = 3;
        }
      }
      if (!IsBlank(c)) {
        current_ = c;
        return;
      }
    }
    current_ = '\0';
    width_ = 0;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t width_ = 0;  // bytes of the current character
  char current_ = '\0';
};

// "&H"/"&O" digits. The top 61+ bits are kept exactly and every bit below
// them is folded into one sticky bit, so the one rounding the final
// conversion does is correct however long the text is.
double ReadRadixDigits(Reader& in, int radix) {
  const int bits_per_digit = radix == 16 ? 4 : 3;
  constexpr std::uint64_t kRoomLimit = std::uint64_t{1} << 60;
  std::uint64_t top = 0;
  bool sticky = false;
  int dropped_bits = 0;
  for (int digit; (digit = DigitValue(in.Peek(), radix)) >= 0; in.Advance()) {
    if (top < kRoomLimit) {
      top = (top << bits_per_digit) | static_cast<std::uint64_t>(digit);
    } else {
      sticky = sticky || digit != 0;
      // Saturates far beyond the double range; the result is infinite then.
      if (dropped_bits < 4096) dropped_bits += bits_per_digit;
    }
  }
  return std::ldexp(static_cast<double>(top | (sticky ? 1 : 0)), dropped_bits);
}

}  // namespace

int DigitValue(char c, int radix) {
  int value = -1;
  if (IsDigit(c)) {
    value = c - '0';
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  }
  return value < radix ? value : -1;
}

double ReadNumber(std::string_view text) {
  Reader in(text);

  if (in.Peek() == '&') {
    in.Advance();
    const char prefix = in.Peek();
    if (prefix == 'H' || prefix == 'h' || prefix == 'O' || prefix == 'o') {
      in.Advance();
      return ReadRadixDigits(in, prefix == 'H' || prefix == 'h' ? 16 : 8);
    }
    return 0.0;
  }

  // Collect "[sign]digits[.digits][e[sign]digits]" as plain ASCII, for
  // fast_float; a leading "+", which it rejects, is dropped below.
  std::string compact;
  auto take = [&] {
    compact.push_back(in.Peek());
    in.Advance();
  };

  if (in.Peek() == '+' || in.Peek() == '-') take();
  std::size_t digits = 0;
  while (IsDigit(in.Peek())) {
    take();
    ++digits;
  }
  if (in.Peek() == '.') {
    take();
    while (IsDigit(in.Peek())) {
      take();
      ++digits;
    }
  }
  if (digits == 0) return 0.0;

  std::size_t mantissa_end = compact.size();
  if (in.Peek() == 'E' || in.Peek() == 'e') {
    take();
    if (in.Peek() == '+' || in.Peek() == '-') take();
    if (IsDigit(in.Peek())) {
      while (IsDigit(in.Peek())) take();
      mantissa_end = compact.size();
    }
  }
  compact.resize(mantissa_end);

  std::string_view number = compact;
  if (number.front() == '+') number.remove_prefix(1);

  // Correctly rounded as strtod is: beyond the doubles it gives infinity,
  // below them zero, each with the sign.
  double value = 0.0;
  fast_float::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

double RoundHalfEven(double value) {
  double whole = std::floor(value);
  const double fraction = value - whole;  // exact for every finite double
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
    whole += 1.0;
  }
  return whole;
}

std::string HexText(double value) {
  const double whole = RoundHalfEven(value);
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (!(whole >= kLowest && whole <= kHighest)) {  // also catches NaN
    throw RuntimeError(ErrorKind::kOverflow);
  }
  // Negatives wrap to their two's complement, as the conversion defines.
  auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(whole));

  std::array<char, 8> digits{};
  std::size_t start = digits.size();
  do {
    digits[--start] = "0123456789ABCDEF"[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  return std::string(digits.begin() + static_cast<std::ptrdiff_t>(start),
                     digits.end());
}

std::string Printed(double value, char form, int precision) {
  std::array<char, 352> buffer{};
#ifdef __EMSCRIPTEN__
  // The page's C library prints doubles exactly, rounding half to even as
  // {fmt} does, and has no locale to put a comma in; {fmt}'s exact float
  // code would be a third of the window's first program.
  const char format[] = {'%', '.', '*', form, '\0'};
  const int size =
      std::snprintf(buffer.data(), buffer.size(), format, precision, value);
  return std::string(buffer.data(), static_cast<std::size_t>(size));
#else
  const auto written =
      form == 'e' ? fmt::format_to_n(buffer.data(), buffer.size(),
                                     FMT_COMPILE("{:.{}e}"), value, precision)
                  : fmt::format_to_n(buffer.data(), buffer.size(),
                                     FMT_COMPILE("{:.{}f}"), value, precision);
  return std::string(buffer.data(), written.size);
#endif
}

std::string NumberText(double value) {
  constexpr int kFirstExponentForm = 15;

  std::string text(1, value < 0 ? '-' : ' ');
  if (value == 0.0) return text + '0';
  if (!std::isfinite(value)) {
    // The calculation never hands these over; say what they are anyway.
    return text + (std::isnan(value) ? "NaN" : "Inf");
  }

  // "d.dddddddddddddde±x": 15 significant digits, correctly rounded from the
  // exact value.
  const std::string written = Printed(std::fabs(value), 'e', 14);
  const std::string_view scientific = written;
  const std::size_t marker = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, marker)) {
    if (c != '.') digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::string_view exponent_text = scientific.substr(marker + 1);
  if (exponent_text.front() == '+') exponent_text.remove_prefix(1);
  std::from_chars(exponent_text.data(),
                  exponent_text.data() + exponent_text.size(), exponent);

  const auto count = static_cast<int>(digits.size());
  if (exponent >= kFirstExponentForm) {
    text += digits.front();
    if (count > 1) text.append(".").append(digits, 1);
    // Exponents here are 15 to 308, so "at least two digits" holds as is.
    return text + "E+" + std::to_string(exponent);
  }
  if (exponent < 0) {
    text += '.';
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    return text + digits;
  }
  const int whole_digits = exponent + 1;
  if (count <= whole_digits) {
    text += digits;
    text.append(static_cast<std::size_t>(whole_digits - count), '0');
    return text;
  }
  text.append(digits, 0, static_cast<std::size_t>(whole_digits));
  text += '.';
  text.append(digits, static_cast<std::size_t>(whole_digits));
  return text;
}

std::string ReloadText(double value) {
  std::string text = HexText(value);
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string ErrorText(double value) {
  constexpr std::size_t kShownCharacters = 4;
  std::string text = NumberText(value);
  if (text.size() > kShownCharacters) text.resize(kShownCharacters);
  return text;
}

}  // namespace calc
