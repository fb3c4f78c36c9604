#pragma once
// Keeps label texts readable on whatever colours the desktop gives, by the
// WCAG 2.1 contrast ratio. Pure arithmetic on explicit &H00BBGGRR colours,
// so every toolkit layer applies the same rule.

#include <optional>

#include "window/description.h"

namespace window {

// WCAG 2.1 AA for normal text: below it a colour is changed.
inline constexpr double kMinimumContrast = 4.5;
// WCAG 2.1 AAA for normal text: where a colour is changed, it goes this far,
// since small anti-aliased glyphs read paler than their colour.
inline constexpr double kEnhancedContrast = 7.0;

// The WCAG contrast ratio of two explicit colours, 1 to 21.
//   ContrastRatio(0x000000, 0xFFFFFF) -> 21
//   ContrastRatio(0x000040C0, 0x00E0E0E0) -> 4.0..
double ContrastRatio(Color a, Color b);

// The ratio a label's text must reach: kMinimumContrast, or less where the
// window's own two explicit colours give less (the warning colour on the
// results' grey gives 4.0), so that the described look stays as it is.
//   RequiredContrast(kWarningColor, kResultBackColor) -> 4.0..
//   RequiredContrast(kNormalTextColor, kResultBackColor) -> 4.5
//   RequiredContrast(kMakerColor, std::nullopt) -> 4.5
double RequiredContrast(Color described_fore,
                        std::optional<Color> described_back);

// The ratio a changed colour moves to: kEnhancedContrast, except where the
// window's own colours set a lower requirement (the warning colour on the
// grey), which keeps that requirement as its target.
//   TargetContrast(kNormalTextColor, kResultBackColor) -> 7
//   TargetContrast(kWarningColor, kResultBackColor)   -> 4.0..
double TargetContrast(Color described_fore,
                      std::optional<Color> described_back);

// `text` when it reaches `required` against `background`; otherwise the
// colour of the same HSL hue and saturation whose lightness is nearest to
// text's and reaches `target` (black or white, whichever contrasts more, if
// none does). Both colours are explicit; a target below `required` counts
// as `required`.
//   ReadableOn(0x000000, 0xE0E0E0, 4.5, 7) -> 0x000000 (already readable)
//   ReadableOn(0xFFFFFF, 0xE0E0E0, 4.5)    -> #636363, 4.5:1
//   ReadableOn(0xFFFFFF, 0xE0E0E0, 4.5, 7) -> #474747, 7.04:1
//   ReadableOn(0xFF0000, 0x353535, 4.5, 7) -> a lighter blue
Color ReadableOn(Color text, Color background, double required,
                 double target = 0);

}  // namespace window
