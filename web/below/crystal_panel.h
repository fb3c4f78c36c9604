#pragma once
// The crystal chooser below the standard rates: for the rates typed (as
// typed, web/typed.h, then strictly) and the tolerance, the best crystals
// per clock mode, or per family with one chosen, as `baud51-cli crystals`
// ranks them; or, in the section's status line, why the rates or the
// tolerance could not be read.
//   ShowCrystals("9600,115200", "2", "", zh) -> caption "9600 115200 波特；…"
//   ShowCrystals("9600 fast", "2", "", en)
//       -> "Rates for the crystal: could not read “fast” (not a number). ..."

#include <string_view>

#include "web/below/page_words.h"

namespace web {

void ShowCrystals(std::string_view rates_text, std::string_view tolerance_text,
                  std::string_view chip_filter, Tongue language);

}  // namespace web
