#include "window/look.h"

#include <algorithm>
#include <cmath>

#include "window/contrast.h"

namespace window {

int Pixels(int twips, int dpi) {
  const double pixels = static_cast<double>(twips) * dpi /
                        (static_cast<double>(kTwipsPerPixel) * kBaseDpi);
  return static_cast<int>(std::lround(pixels));
}

std::vector<const ControlRecord*> InTabOrder(
    std::span<const ControlRecord> records) {
  std::vector<const ControlRecord*> ordered;
  ordered.reserve(records.size());
  for (const ControlRecord& record : records) ordered.push_back(&record);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const ControlRecord* a, const ControlRecord* b) {
                     return a->tab_index < b->tab_index;
                   });
  return ordered;
}

const ControlRecord* FirstTabStop(std::span<const ControlRecord> records) {
  for (const ControlRecord* record : InTabOrder(records)) {
    if (TakesFocus(*record)) return record;
  }
  return nullptr;
}

Color Resolve(Color color, const SystemColors& system) {
  if (!IsSystemColor(color)) return color;
  return system(SystemColorIndex(color));
}

LabelColors ShownColors(Color fore, std::optional<Color> back,
                        const SystemColors& system) {
  const Color background =
      back ? Resolve(*back, system) : system(kSystemButtonFace);
  return {ReadableOn(Resolve(fore, system), background,
                     RequiredContrast(fore, back), TargetContrast(fore, back)),
          background};
}

}  // namespace window
