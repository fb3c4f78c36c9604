// The preprocessor: macros expanded, and the branches of #if taken as the
// compiler takes them.
#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>

#include <fmt/format.h>

#include "mcs51/hardware/catalogue.h"
#include "mcs51/reading/c_conditions.h"
#include "mcs51/reading/code_value.h"

namespace mcs51::reading {
namespace {

struct Macro {
  bool function_like = false;
  std::vector<std::string> params;
  std::vector<Token> body;
  int line = 0;  // of its #define; 0 for the compiler's and the build's
};

// What each compiler defines for the 8051 before the code's first line,
// as far as a condition can test it. Keil: C51 Compiler User's Guide
// (Keil Software, 01.97), "Predefined Macro Constants": __C51__ is the
// version (960 for V9.60), __MODEL__ 0 for the small model. SDCC: SDCC
// Compiler User Guide (SDCC 4.2), "Predefined Macros", as SDCC 4.2.0
// defines them with -mmcs51.
struct Predefined {
  std::string_view name;
  std::int64_t value;
};
constexpr Predefined kKeilMacros[] = {
    {"__C51__", 960}, {"__MODEL__", 0}, {"__STDC__", 1}};
constexpr Predefined kSdccMacros[] = {
    {"SDCC", 420},
    {"__SDCC_mcs51", 1},
    {"__SDCC_VERSION_MAJOR", 4},
    {"__SDCC_VERSION_MINOR", 2},
    {"__SDCC_VERSION_PATCH", 0},
    {"__SDCC_MODEL_SMALL", 1},
    {"__SDCC_CHAR_UNSIGNED", 1},
    {"__STDC__", 1},
    {"__SDCC", 0},  // 4_2_0, no number: defined is what code tests
};
using Macros = std::span<const Predefined>;
constexpr Macros kKeil = kKeilMacros;
constexpr Macros kSdcc = kSdccMacros;

// Expands macros as the preprocessor would, short of # and ##: a macro is
// not expanded inside itself, and the output is capped so that a macro
// doubling itself at each level cannot exhaust memory.
class Expander {
 public:
  Expander(std::size_t cap, Program& program)
      : cap_(cap), program_(program), reading_(program.reading) {
    for (const auto& [name, value] :
         program.build.compiler == Compiler::kKeil ? kKeil : kSdcc) {
      Token t{TokenKind::kNumber, std::to_string(value), value};
      macros_[std::string(name)] = {false, {}, {t}};
    }
    for (const Macros each : {kKeil, kSdcc}) {
      for (const Predefined& p : each) named_.emplace(p.name);
    }
  }

  // The build's -D and -U, then the file `name`.
  std::vector<Token> Run(std::vector<Token>& prelude, std::string_view name,
                         std::vector<Token>& in) {
    // Macros grow the code; room never written costs nothing, growing a
    // copy of it all.
    out_.reserve(2 * in.size());
    Process(prelude);
    files_.emplace_back(name);
    Process(in);
    Clocks();
    return std::move(out_);
  }

 private:
  void Process(std::vector<Token>& in) {
    for (std::size_t i = 0; i + 1 < in.size(); ++i) {
      if (in[i].text == "#define" || in[i].text == "#undef") {
        named_.insert(in[i + 1].text);
      }
    }
    for (std::size_t i = 0; i < in.size();) {
      if (in[i].kind == TokenKind::kOther && in[i].text.starts_with("#") &&
          in[i].text != "#end") {
        i = Directive(in, i);
      } else if (!branches_.Taking()) {
        ++i;
      } else if (in[i].kind != TokenKind::kName ||
                 (!macros_.contains(in[i].text) && !Assumed(in[i]))) {
        out_.push_back(std::move(in[i++]));  // most tokens: no copy
      } else {
        i = Expand(in, i, 0);
      }
    }
  }

  // A clock name defined nowhere stands for the crystal given, in its unit.
  bool Assumed(const Token& t) {
    const ClockName* clock = FindClock(t.text);
    const double hz = program_.build.clock_hz;
    if (clock == nullptr || hz <= 0 || named_.contains(t.text)) return false;
    const double value = hz / (clock->unit > 0 ? clock->unit : 1.0);
    if (value != std::floor(value) || value > 0x7FFFFFFF) return false;
    const auto n = static_cast<std::int64_t>(value);
    Macro m{false, {}, {{TokenKind::kNumber, std::to_string(n), n}}, 0};
    m.body[0].is_long = n > 0x7FFF;
    macros_[t.text] = std::move(m);
    reading_.clocks.push_back({t.line, t.text, hz, true});
    return true;
  }

  // The clock constants the code defines, as they stand at its end.
  void Clocks() {
    for (const auto& entry : macros_) {
      const std::string& name = entry.first;
      const Macro& macro = entry.second;
      const ClockName* clock = FindClock(name);
      if (clock == nullptr || macro.function_like) continue;
      const bool assumed = std::any_of(
          reading_.clocks.begin(), reading_.clocks.end(),
          [&](const CodeClock& c) { return c.assumed && c.name == name; });
      if (assumed) continue;
      std::vector<Token> expanded;
      std::swap(expanded, out_);
      const std::vector<Token> use{{TokenKind::kName, name, 0}};
      Expand(use, 0, 0);
      std::swap(expanded, out_);
      const double hz = ClockHz(*clock, ClockValue(expanded));
      const CodeClock found{macro.line, name, hz, false};
      if (hz > 0 && std::find(reading_.clocks.begin(), reading_.clocks.end(),
                              found) == reading_.clocks.end()) {
        reading_.clocks.push_back(found);
      }
    }
  }

 private:
  std::size_t Directive(const std::vector<Token>& in, std::size_t i) {
    const std::string_view word = std::string_view(in[i].text).substr(1);
    if (word == "define" || word == "undef") {
      return branches_.Taking() ? Define(in, i) : Past(in, i);
    }
    if (word == "include") {
      if (branches_.Taking() && i + 1 < in.size()) Include(in[i + 1]);
      return Past(in, i);
    }
    const std::size_t end = Past(in, i) - 1;
    const std::span<const Token> words(in.data() + i + 1, end - i - 1);
    branches_.Enter(
        word, in[i].line, [&] { return Decide(word, words); },
        reading_.unresolved);
    return end + 1;
  }

  static std::size_t Past(const std::vector<Token>& in, std::size_t i) {
    while (i < in.size() && in[i].text != "#end") ++i;
    return i + 1;
  }

  // Whether `name` is defined here; nothing when the code defines it
  // nowhere and neither compiler does: the build may.
  std::optional<bool> Defined(const std::string& name) const {
    if (macros_.contains(name)) return true;
    if (named_.contains(name)) return false;
    return std::nullopt;
  }

  Condition Decide(std::string_view word, std::span<const Token> words) {
    if (word == "ifdef" || word == "ifndef") {
      if (words.empty()) return {};
      const std::optional<bool> d = Defined(words[0].text);
      if (!d) return {std::nullopt, words[0].text};
      return {*d == (word == "ifdef"), {}};
    }
    std::vector<Token> replaced;  // defined X and defined(X) first
    for (std::size_t k = 0; k < words.size(); ++k) {
      if (words[k].text != "defined") {
        replaced.push_back(words[k]);
        continue;
      }
      const bool paren = k + 1 < words.size() && words[k + 1].text == "(";
      const std::size_t n = k + (paren ? 2 : 1);
      if (n >= words.size()) return {};
      const std::optional<bool> d = Defined(words[n].text);
      if (!d) return {std::nullopt, words[n].text};
      replaced.push_back({TokenKind::kNumber, "", *d ? 1 : 0});
      k = n + (paren ? 1 : 0);
    }
    std::vector<Token> expanded;
    std::swap(expanded, out_);
    for (std::size_t j = 0; j < replaced.size();) j = Expand(replaced, j, 0);
    std::swap(expanded, out_);
    return ConditionValue(expanded);
  }

  std::size_t Define(const std::vector<Token>& in, std::size_t i) {
    const bool define = in[i].text == "#define";
    const bool function_like = in[i].number != 0;
    std::size_t end = i;
    while (end < in.size() && in[end].text != "#end") ++end;
    if (i + 1 < end && in[i + 1].kind == TokenKind::kName) {
      const std::string& name = in[i + 1].text;
      macros_.erase(name);
      if (define) {
        Macro m{function_like, {}, {}, in[i].line};
        std::size_t b = i + 2;
        if (function_like) {
          for (++b; b < end && in[b].text != ")"; ++b) {
            if (in[b].kind == TokenKind::kName) m.params.push_back(in[b].text);
          }
          ++b;
        }
        if (b < end) m.body.assign(in.begin() + b, in.begin() + end);
        macros_[name] = std::move(m);
      }
    }
    return end + 1;
  }

  // A header: the file the build finds, read here; else a maker's header
  // the catalogue knows, its macros from here on, as if defined here.
  void Include(const Token& file) {
    const bool quoted = file.number != 0;
    const FoundHeader known = FindHeader(file.text);
    if (known.header != nullptr) {
      reading_.included.push_back(
          {file.line, file.text, std::string(known.chip->name)});
    }
    const bool look = program_.build.find && files_.size() <= kMaxIncludeDepth;
    std::optional<SourceFile> found =
        look ? program_.build.find(file.text, quoted, files_.back())
             : std::nullopt;
    if (found && program_.bytes + found->text.size() > kMaxProgramBytes) {
      reading_.problem = CodeProblem::kProgramTooLarge;
      reading_.problem_file = found->name;
      return;
    }
    if (found) {
      program_.bytes += found->text.size();
      std::vector<Token> tokens =
          CTokens(found->text, FirstLine(program_, *found));
      cap_ += 4 * tokens.size();
      files_.push_back(found->name);
      Process(tokens);
      files_.pop_back();
      return;
    }
    // Nested past a compiler's limit is a header including itself, not
    // a header missing.
    if (quoted && look) {
      reading_.missing.push_back({file.line, file.text, ""});
    }
    if (known.header != nullptr) Known(*known.header, file.line);
  }

  void Known(const Header& header, int line) {
    auto define = [&](std::string_view name, std::string_view body) {
      Macro m;
      m.function_like = name.ends_with("()");
      if (m.function_like) name.remove_suffix(2);
      m.body = CTokens(body);
      for (Token& t : m.body) t.line = line;
      macros_[std::string(name)] = std::move(m);
      named_.emplace(name);
    };
    for (const HeaderMacros set : header.macros) {
      for (const HeaderMacro& m : set) define(m.name, m.body);
    }
    for (const HeaderPairs set : header.pairs) {
      for (const HeaderPair& p : set) {
        define(fmt::format("set_{}", p.name), p.set);
        define(fmt::format("clr_{}", p.name), p.clear);
      }
    }
  }

  // Arguments of a call at in[open] == "(": split at the top level's commas.
  static std::optional<std::vector<std::vector<Token>>> Arguments(
      const std::vector<Token>& in, std::size_t open, std::size_t& next) {
    std::vector<std::vector<Token>> args(1);
    int depth = 0;
    for (std::size_t i = open + 1; i < in.size(); ++i) {
      const std::string& t = in[i].text;
      if (in[i].kind == TokenKind::kOther && t.starts_with("#")) break;
      if (t == "(") ++depth;
      if (t == ")" && depth-- == 0) {
        next = i + 1;
        return args;
      }
      if (t == "," && depth == 0) {
        args.emplace_back();
      } else {
        args.back().push_back(in[i]);
      }
    }
    return std::nullopt;
  }

  std::size_t Expand(const std::vector<Token>& in, std::size_t i, int depth) {
    const Token& t = in[i];
    const auto found =
        t.kind == TokenKind::kName ? macros_.find(t.text) : macros_.end();
    if (found == macros_.end() || depth > 32 || out_.size() > cap_ ||
        std::find(active_.begin(), active_.end(), t.text) != active_.end()) {
      out_.push_back(t);
      return i + 1;
    }
    const Macro& m = found->second;
    std::size_t next = i + 1;
    std::vector<Token> body = m.body;
    if (m.function_like) {
      if (next >= in.size() || in[next].text != "(") {
        out_.push_back(t);
        return next;
      }
      const auto args = Arguments(in, next, next);
      if (!args) {
        out_.push_back(t);
        return i + 1;
      }
      body.clear();
      for (const Token& b : m.body) {
        const auto p = std::find(m.params.begin(), m.params.end(), b.text);
        const std::size_t n = static_cast<std::size_t>(p - m.params.begin());
        if (b.kind == TokenKind::kName && p != m.params.end() &&
            n < args->size()) {
          body.insert(body.end(), (*args)[n].begin(), (*args)[n].end());
        } else {
          body.push_back(b);
        }
      }
    }
    for (Token& b : body) b.line = t.line;
    active_.push_back(t.text);
    for (std::size_t j = 0; j < body.size();) j = Expand(body, j, depth + 1);
    active_.pop_back();
    return next;
  }

  // Looked up for every name the code uses: hashed, not ordered.
  std::unordered_map<std::string, Macro> macros_;
  std::set<std::string, std::less<>> named_;  // defined or undefined somewhere
  std::vector<std::string> active_;
  std::vector<Token> out_;
  std::size_t cap_;
  Branches branches_;
  Program& program_;
  CodeReading& reading_;
  std::vector<std::string> files_;  // the file being read, innermost last
};

}  // namespace

int FirstLine(Program& program, const SourceFile& file) {
  const auto known = program.first_lines.find(file.name);
  if (known != program.first_lines.end()) return known->second;
  const int count =
      static_cast<int>(std::count(file.text.begin(), file.text.end(), '\n')) +
      1;
  const int first = program.next_line;
  program.reading.files.push_back({file.name, first, count});
  program.first_lines.emplace(file.name, first);
  program.next_line += count + 1;
  return first;
}

std::vector<Token> PreprocessedC(std::string_view name, std::string_view text,
                                 int first_line, Program& program) {
  std::string defines;
  for (const Define& d : program.build.defines) {
    defines += d.undefine ? fmt::format("#undef {}\n", d.name)
                          : fmt::format("#define {} {}\n", d.name, d.value);
  }
  std::vector<Token> prelude = CTokens(defines, 0);
  for (Token& t : prelude) t.line = 0;
  std::vector<Token> tokens = CTokens(text, first_line);
  return Expander(4 * tokens.size() + 4096, program).Run(prelude, name, tokens);
}

}  // namespace mcs51::reading
