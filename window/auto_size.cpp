#include "window/auto_size.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "window/description.h"

namespace window {

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

}  // namespace window
