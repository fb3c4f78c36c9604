#pragma once
// How any front end shows the records: sizes in pixels, the order of the
// focus, and the colours a label is drawn in under the desktop's palette.
// No toolkit: each front end hands in what its toolkit reports.

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "window/description.h"

namespace window {

inline constexpr int kBaseDpi = 96;  // the DPI at which 15 twips are a pixel

// The system colour the window's own background is: the button face.
inline constexpr int kSystemButtonFace = 0x0F;

// Twips to pixels at `dpi`, to the nearest pixel.
//   Pixels(1080)      -> 72
//   Pixels(1080, 144) -> 108
//   Pixels(975, 120)  -> 81 (81.25)
int Pixels(int twips, int dpi = kBaseDpi);

// Every record, by tab index (ties keep the records' order); the order in
// which the keyboard visits the ones that take the focus.
//   InTabOrder(kForm1Controls).front()->name -> the record with tab index 0
std::vector<const ControlRecord*> InTabOrder(
    std::span<const ControlRecord> records);

// The record that has the focus when the window opens: the lowest tab index
// among those that take it; nullptr if none does.
//   {Label1 (0), Command1 (3), Combo1 (2)} -> Combo1
const ControlRecord* FirstTabStop(std::span<const ControlRecord> records);

// A system colour by its index, as the desktop's palette gives it now
// (Windows: GetSysColor; Qt: the palette role that stands for it).
using SystemColors = std::function<Color(int index)>;

// An explicit colour as it is, or the current value of a system one.
//   Resolve(0x000040C0, ..)   -> 0x000040C0
//   Resolve(0x80000012, sys)  -> sys(0x12)
Color Resolve(Color color, const SystemColors& system);

struct LabelColors {
  Color text;
  Color back;
  friend bool operator==(const LabelColors&, const LabelColors&) = default;
};

// What a label shows for its described text colour `fore` and background
// `back` (unset: the window's, the button face): both resolved, the text
// then made readable on the background by ReadableOn, to
// TargetContrast. Under the default
// light palette the described colours stay exactly as they are.
//   ShownColors(kWarningColor, kResultBackColor, light) -> {0x0040C0, 0xE0E0E0}
//   ShownColors(kMakerColor, nullopt, dark)             -> {a lighter blue, ..}
LabelColors ShownColors(Color fore, std::optional<Color> back,
                        const SystemColors& system);

}  // namespace window
