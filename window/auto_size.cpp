#include "window/auto_size.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "window/description.h"

namespace window {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Number of continuation bytes after `lead`, or -1 if it cannot start one.
int ContinuationCount(unsigned char lead) {
  if (lead < 0x80) return 0;
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return -1;
}

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = ContinuationCount(lead);
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (!valid || code < kMinimum[extra] || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    out.push_back(code);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

TwipSize AutoSizeTwips(std::string_view text, const LineWidth& line_width_px,
                       int line_height_px) {
  double widest = 0;
  int lines = 1;
  // "\n" never occurs inside a multi-byte UTF-8 sequence, so bytes will do.
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end - start);
    if (end != std::string_view::npos && line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    widest = std::max(widest, line_width_px(line));
    if (end == std::string_view::npos) break;
    start = end + 1;
    ++lines;
  }
  const int width_px = static_cast<int>(std::ceil(widest));
  return {width_px * kTwipsPerPixel, lines * line_height_px * kTwipsPerPixel};
}

LineWidth SumOfCharacters(CharWidth char_width_px) {
  return [width = std::move(char_width_px)](std::string_view line) {
    double sum = 0;
    for (const char32_t c : DecodeUtf8(line)) sum += width(c);
    return sum;
  };
}

}  // namespace window
