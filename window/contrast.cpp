#include "window/contrast.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace window {
namespace {

struct Hsl {
  double hue;  // 0..6, in sixths of the colour wheel
  double saturation;
  double lightness;
};

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Color color) {
  return 0.2126 * Linear(Red(color)) + 0.7152 * Linear(Green(color)) +
         0.0722 * Linear(Blue(color));
}

Color FromRgb(double r, double g, double b) {
  auto byte = [](double c) {
    return static_cast<Color>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0));
  };
  return byte(r) | byte(g) << 8 | byte(b) << 16;
}

Hsl ToHsl(Color color) {
  const double r = Red(color) / 255.0;
  const double g = Green(color) / 255.0;
  const double b = Blue(color) / 255.0;
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  const double chroma = high - low;
  const double lightness = (high + low) / 2;
  if (chroma == 0) return {0, 0, lightness};
  double hue = 0;
  if (high == r) {
    hue = std::fmod((g - b) / chroma + 6, 6);
  } else if (high == g) {
    hue = (b - r) / chroma + 2;
  } else {
    hue = (r - g) / chroma + 4;
  }
  return {hue, chroma / (1 - std::fabs(2 * lightness - 1)), lightness};
}

// Every channel grows with the lightness, so the luminance does too.
Color FromHsl(const Hsl& hsl, double lightness) {
  const double chroma = (1 - std::fabs(2 * lightness - 1)) * hsl.saturation;
  const double x = chroma * (1 - std::fabs(std::fmod(hsl.hue, 2) - 1));
  const double m = lightness - chroma / 2;
  std::array<double, 3> rgb{};
  switch (static_cast<int>(hsl.hue)) {
    case 0:
      rgb = {chroma, x, 0};
      break;
    case 1:
      rgb = {x, chroma, 0};
      break;
    case 2:
      rgb = {0, chroma, x};
      break;
    case 3:
      rgb = {0, x, chroma};
      break;
    case 4:
      rgb = {x, 0, chroma};
      break;
    default:
      rgb = {chroma, 0, x};
      break;
  }
  return FromRgb(rgb[0] + m, rgb[1] + m, rgb[2] + m);
}

// The lightness in [from, to] nearest to `from` at which `reaches` holds,
// given that it holds at `to` and, past some point, all the way there.
template <typename Reaches>
double NearestReaching(double from, double to, Reaches reaches) {
  constexpr int kHalvings = 40;  // far finer than one step of a channel
  for (int i = 0; i < kHalvings; ++i) {
    const double middle = (from + to) / 2;
    (reaches(middle) ? to : from) = middle;
  }
  return to;
}

}  // namespace

double ContrastRatio(Color a, Color b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double RequiredContrast(Color described_fore,
                        std::optional<Color> described_back) {
  if (IsSystemColor(described_fore) || !described_back ||
      IsSystemColor(*described_back)) {
    return kMinimumContrast;
  }
  return std::min(kMinimumContrast,
                  ContrastRatio(described_fore, *described_back));
}

double TargetContrast(Color described_fore,
                      std::optional<Color> described_back) {
  const double required = RequiredContrast(described_fore, described_back);
  return required < kMinimumContrast ? required : kEnhancedContrast;
}

Color ReadableOn(Color text, Color background, double required, double target) {
  if (ContrastRatio(text, background) >= required) return text;
  const double goal = std::max(required, target);
  const double back = Luminance(background);
  const Hsl hsl = ToHsl(text);
  auto darker_reaches = [&](double lightness) {
    const Color c = FromHsl(hsl, lightness);
    return Luminance(c) <= back && ContrastRatio(c, background) >= goal;
  };
  auto lighter_reaches = [&](double lightness) {
    const Color c = FromHsl(hsl, lightness);
    return Luminance(c) >= back && ContrastRatio(c, background) >= goal;
  };
  const bool can_darken = darker_reaches(0);
  const bool can_lighten = lighter_reaches(1);
  if (!can_darken && !can_lighten) {
    constexpr Color kBlack = 0x000000;
    constexpr Color kWhite = 0xFFFFFF;
    return ContrastRatio(kBlack, background) >=
                   ContrastRatio(kWhite, background)
               ? kBlack
               : kWhite;
  }
  const double darker =
      can_darken ? NearestReaching(hsl.lightness, 0.0, darker_reaches) : -1.0;
  const double lighter =
      can_lighten ? NearestReaching(hsl.lightness, 1.0, lighter_reaches) : 2.0;
  const bool darken = hsl.lightness - darker <= lighter - hsl.lightness;
  return FromHsl(hsl, darken ? darker : lighter);
}

}  // namespace window
