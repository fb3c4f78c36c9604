#pragma once
// The init and tick code's comments in English, as the records and the
// writers hold them, or in Chinese: rows of the one model of words
// (words.h), found by their English: each comment, generator text, family
// note and sentence. A sentence with
// numbers is looked up as its format string ("Written by {}."). A comment
// without an entry stays English.

#include <optional>
#include <string_view>

#include "mcs51/words/words.h"

namespace mcs51 {

// The Chinese of a record's English text, if the table has it. A family's
// note is looked up as its lines joined by single spaces; its Chinese
// holds its own line breaks ('\n').
//   ChineseOf("mode 1, receiver on")  -> "方式 1，允许接收"
//   ChineseOf("Written by {}.")       -> "由 {} 生成。"
//   ChineseOf("a comment not in it")  -> nullopt
std::optional<std::string_view> ChineseOf(std::string_view english);

// `english` in `language`: the Chinese where the table has it, else the
// English.
//   InLanguage("mode 1, receiver on", kChinese) -> "方式 1，允许接收"
//   InLanguage("mode 1, receiver on", kEnglish) -> "mode 1, receiver on"
//   InLanguage("T1M", kChinese)                 -> "T1M"
std::string_view InLanguage(std::string_view english, Tongue language);

// Whether a comment has English words to translate: a run of two or more
// lower-case letters. Register and bit names alone ("T1M", "BRPRE, R",
// "SMOD = 0", "bTMR_CLK") read the same in both languages.
//   HasWords("stopped while it is loaded") -> true
//   HasWords("SMOD_1, TR3, T3PS")           -> false
bool HasWords(std::string_view comment);

}  // namespace mcs51
