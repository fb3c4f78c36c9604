#pragma once
// The records' words in the code's comments in Chinese: each write's
// comment, generator and mode text, family note and core, as the records
// hold them in English, found by that English. The writers' own sentences
// are Words of their own, beside the writer. A comment without an entry
// stays English.

#include <optional>
#include <string_view>

#include "mcs51/words/words.h"

namespace mcs51 {

// The Chinese of a record's English text, if the table has it. A family's
// note is looked up as its lines joined by single spaces; its Chinese
// holds its own line breaks ('\n').
//   ChineseOf("mode 1, receiver on")  -> "方式 1，允许接收"
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
