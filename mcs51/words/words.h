#pragma once
// The one model of words: every word people read, in both tongues. The
// answers' headers and marks (answers.h) and the code's comments
// (code_words.h) are rows of it, each looked up the same way.

#include <cstdint>
#include <string_view>

namespace mcs51 {

// The tongue people read: the page's words, the code's comments. (The
// language code is written in, C or assembly, is cli::CodeLanguage.)
enum class Tongue : std::uint8_t { kEnglish, kChinese };

// A word in both tongues.
//   Words{"mark", "标记"}.In(Tongue::kChinese) -> "标记"
//   Words{"mark", "标记"}.In(Tongue::kEnglish) -> "mark"
struct Words {
  std::string_view en, zh;
  std::string_view In(Tongue tongue) const {
    return tongue == Tongue::kChinese ? zh : en;
  }
};

}  // namespace mcs51
