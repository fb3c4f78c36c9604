#pragma once
// What the C and the assembly init code share: the words of their comments
// and the bits each register write puts in. Inside the library only.

#include <string>
#include <string_view>
#include <vector>

#include "timers/catalogue.h"
#include "timers/code_words.h"
#include "timers/ranking.h"

namespace timers {

// The opening comment's lines, without comment marks: crystal, rate,
// setting, reload, actual baud, error (outside the 8051's own timers: the
// family and its documents) and `writer`, in `language`.
std::vector<std::string> HeaderLines(double frequency_mhz, double baud,
                                     const Outcome& outcome,
                                     std::string_view writer,
                                     CodeLanguage language);

// The family's note on its extra register, as lines; empty for most.
std::vector<std::string> NoteLines(const Chip& chip, CodeLanguage language);

// `lines` as one C comment: "/* a\n * b */\n".
std::string CComment(const std::vector<std::string>& lines);

// The bits one write puts into its register, within its mask.
int WriteValue(const Write& write, const Outcome& outcome);

}  // namespace timers
