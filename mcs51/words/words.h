#pragma once
// The one model of words: every word people read, in both tongues. The
// answers' headers and marks (answers.h), the records' texts and the
// code's comments are rows of it, each held where it is used.

#include <fmt/format.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mcs51 {

// The tongue people read: the page's words, the code's comments. (The
// language code is written in, C or assembly, is cli::CodeLanguage.)
enum class Tongue : std::uint8_t { kEnglish, kChinese };

// A word in both tongues. A name (a register's, a bit's) reads the same
// in both, and leaves its Chinese out.
//   Words{"mark", "标记"}.In(Tongue::kChinese) -> "标记"
//   Words{"mark", "标记"}.In(Tongue::kEnglish) -> "mark"
//   Words{"T1x12"}.In(Tongue::kChinese)        -> "T1x12"
struct Words {
  std::string_view en, zh = {};
  constexpr std::string_view In(Tongue tongue) const {
    return tongue == Tongue::kChinese && !zh.empty() ? zh : en;
  }
};

// Whether a text has English words to translate: a run of two or more
// lower-case letters. Register and bit names alone ("T1M", "BRPRE, R",
// "SMOD = 0", "bTMR_CLK") read the same in both tongues.
//   HasWords("stopped while it is loaded") -> true
//   HasWords("SMOD_1, TR3, T3PS")           -> false
constexpr bool HasWords(std::string_view text) {
  int run = 0;
  for (const char c : text) {
    run = c >= 'a' && c <= 'z' ? run + 1 : 0;
    if (run >= 2) return true;
  }
  return false;
}

// Text whose lines were broken by hand ('\n'), as lines.
//   BrokenLines("a\nb") -> {"a", "b"};  BrokenLines("") -> {}
inline std::vector<std::string> BrokenLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::string_view rest = text; !rest.empty();) {
    const std::size_t end = rest.find('\n');
    lines.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
  }
  return lines;
}

// A sentence said in both tongues.
//   Say({"line {}", "第 {} 行"}, 7).In(Tongue::kChinese) -> "第 7 行"
// A Said that is about to go is read as a string of its own, so that no
// view outlives it.
struct Said {
  std::string en, zh;
  std::string_view In(Tongue tongue) const& {
    return tongue == Tongue::kChinese ? zh : en;
  }
  std::string In(Tongue tongue) && {
    return std::move(tongue == Tongue::kChinese ? zh : en);
  }
};

namespace words_detail {
template <typename T>
const T& In(const T& arg, Tongue /*tongue*/) {
  return arg;
}
inline std::string_view In(const Words& arg, Tongue tongue) {
  return arg.In(tongue);
}
inline std::string_view In(const Said& arg, Tongue tongue) {
  return arg.In(tongue);
}
}  // namespace words_detail

// `words`, format strings with fields by position, with `args` filled in,
// in each tongue; an argument that is itself Words or Said is filled in
// its own tongue.
//   Say({"{0} clock{1}", "{0} 个时钟"}, 12, "s").en -> "12 clocks"
//   Say({"{0} clock{1}", "{0} 个时钟"}, 12, "s").zh -> "12 个时钟"
template <typename... Args>
Said Say(const Words& words, const Args&... args) {
  using words_detail::In;
  return {fmt::format(fmt::runtime(words.en), In(args, Tongue::kEnglish)...),
          fmt::format(fmt::runtime(words.zh), In(args, Tongue::kChinese)...)};
}

}  // namespace mcs51
