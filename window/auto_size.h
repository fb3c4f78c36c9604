#pragma once
// The size an auto-sized label takes for its text. Pure, so the rule can be
// checked with a synthetic font as well as fed real font metrics.

#include <functional>
#include <string>
#include <string_view>

namespace window {

struct TwipSize {
  int width;
  int height;
  friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

// Width in pixels of one line of UTF-8 text (no line break in it); fractions
// are allowed and rounded up by the rule.
using LineWidth = std::function<double(std::string_view line)>;

// Width of the widest line, rounded up to whole pixels, by the number of
// lines times `line_height_px`, in twips. Lines end at "\n"; a "\r" before it
// belongs to the break. An empty text is one empty line.
TwipSize AutoSizeTwips(std::string_view text, const LineWidth& line_width_px,
                       int line_height_px);

}  // namespace window
