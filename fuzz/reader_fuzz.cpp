// Feeds arbitrary bytes to the code reader, as C, as assembly and
// guessed. What must hold for every input:
//   - no crash, hang or exception: pasted code is never fatal;
//   - a refused input (too large, empty, binary) has no effects, and one
//     read has a problem exactly when it has no effects;
//   - the guess reads as the dialect it names would;
//   - every effect's line is a line of the input, its vector an interrupt
//     number, -1 or kSomeVector, its place a name or an address, a bit
//     0 ... 7;
//   - the same input gives the same reading;
//   - explain's findings point into the input and say something, and an
//     unresolved rate is no number;
//   - split at form feeds into files that include one another, after a
//     -D made of the first line, the findings point into a file read;
//   - read as Intel HEX, a sound image is as long as its data and no
//     longer than the code memory; read as a listing, nothing breaks.
// Any broken invariant aborts with a message; libFuzzer saves the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "mcs51/explain/explain.h"
#include "mcs51/image/intel_hex.h"
#include "mcs51/image/listing.h"
#include "mcs51/reading/code_reader.h"
#include "mcs51/reading/sources.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "reader_fuzz: %s\n", what);
  std::abort();
}

void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

bool Same(const mcs51::CodeReading& a, const mcs51::CodeReading& b) {
  return a.problem == b.problem && a.dialect == b.dialect &&
         a.encoding == b.encoding && a.effects == b.effects &&
         a.declarations == b.declarations && a.unresolved == b.unresolved &&
         a.comments == b.comments && a.included == b.included &&
         a.handlers == b.handlers;
}

void CheckPlace(const mcs51::Place& p, const char* what) {
  Check(!p.name.empty() || p.address >= 0, what);
  Check(p.bit >= -1 && p.bit <= 7, what);
}

void CheckReading(const mcs51::CodeReading& r, std::string_view input) {
  const auto lines =
      static_cast<int>(std::count(input.begin(), input.end(), '\n')) + 1;
  const bool refused = r.problem == mcs51::CodeProblem::kEmpty ||
                       r.problem == mcs51::CodeProblem::kTooLarge ||
                       r.problem == mcs51::CodeProblem::kProgramTooLarge ||
                       r.problem == mcs51::CodeProblem::kBinary ||
                       r.problem == mcs51::CodeProblem::kImage;
  Check(!refused || (r.effects.empty() && r.declarations.empty() &&
                     r.unresolved.empty()),
        "a refused input with effects");
  // Code whose only writes hang on an unresolved condition says so.
  Check(refused || (r.problem == mcs51::CodeProblem::kNoWrites) ==
                       (r.effects.empty() && r.unresolved.empty()),
        "no writes reported wrongly");
  for (const mcs51::Unresolved& u : r.unresolved) {
    Check(u.line >= 1 && u.line <= lines, "an unresolved line outside");
  }
  for (const mcs51::Effect& e : r.effects) {
    Check(e.line >= 1 && e.line <= lines, "an effect's line outside the input");
    Check(e.vector >= mcs51::kSomeVector && e.vector < 128,
          "a vector out of range");
    CheckPlace(e.target, "an effect without a place");
    if (e.op == mcs51::EffectOp::kCopy) {
      CheckPlace(e.source, "a copy without a source");
    }
    CheckPlace(mcs51::Resolved(e.target, r.declarations),
               "a resolved place without a place");
  }
  for (const mcs51::Declaration& d : r.declarations) {
    Check(d.line >= 1 && d.line <= lines, "a declaration's line outside");
    Check(!d.name.empty(), "a declaration without a name");
  }
  for (const mcs51::Comment& c : r.comments) {
    Check(c.first >= 1 && c.first <= c.last && c.last <= lines,
          "a comment's lines outside");
  }
  for (const mcs51::Included& i : r.included) {
    Check(i.line >= 1 && i.line <= lines && !i.chip.empty(),
          "an included header outside or of no family");
  }
  for (const int v : r.handlers) {
    Check(v >= mcs51::kSomeVector && v < 128 && v != -1,
          "a handler's vector out of range");
  }
}

// What explain finds points at a line of the input and says something.
void CheckExplained(std::string_view input, int lines) {
  const mcs51::Explanation e = mcs51::Explain(input, 11.0592, nullptr, 2);
  Check(e.family != nullptr, "explain read for no family");
  for (const mcs51::Finding& f : e.findings) {
    Check(f.line >= 0 && f.line <= lines, "a finding's line outside");
    Check(!f.text.empty() && !f.chinese.empty(), "a finding says nothing");
  }
  for (const mcs51::SerialUse& u : e.serial) {
    Check(!u.unresolved || u.actual_baud == 0.0, "an unresolved rate");
  }
}

int Lines(std::string_view text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

constexpr std::size_t kHandedBytes = 256 << 10;

// The input as a program: pieces between form feeds are a.c, b.h, c.h
// ..., each found by any #include of its name; the first line a -D.
void CheckProgram(std::string_view input) {
  std::map<std::string, std::string, std::less<>> tree;
  std::vector<mcs51::SourceFile> files;
  for (std::size_t at = 0, n = 0; at <= input.size() && n < 4; ++n) {
    const std::size_t end = std::min(input.find('\f', at), input.size());
    const std::string name =
        std::string(1, static_cast<char>('a' + n)) + (n == 0 ? ".c" : ".h");
    tree[name] = std::string(input.substr(at, end - at));
    if (n < 2) files.push_back({name, tree[name]});
    at = end + 1;
  }
  // A piece including itself twice doubles at each level, to the 16 MiB
  // a program may hold: seconds a run under the sanitizers, and nothing
  // a few hundred KiB does not already reach.
  std::size_t handed = 0;
  const mcs51::Build build{
      mcs51::Compiler::kSdcc,
      {mcs51::DefineOf(input.substr(0, input.find('\n')))},
      [&](std::string_view header, bool,
          std::string_view) -> std::optional<mcs51::SourceFile> {
        const auto found = tree.find(header);
        if (found == tree.end() || handed > kHandedBytes) return std::nullopt;
        handed += found->second.size();
        return mcs51::SourceFile{found->first, found->second};
      },
      0.0};
  const mcs51::Explanation e =
      mcs51::Explain(files, build, 11.0592, nullptr, 2);
  for (const mcs51::Finding& f : e.findings) {
    const auto file = tree.find(f.file);
    Check(f.file.empty() || f.file == "<command-line>" || file != tree.end(),
          "a finding in no file read");
    const int lines =
        file != tree.end() ? Lines(file->second) : Lines(tree["a.c"]);
    Check(f.line >= 0 && f.line <= lines, "a finding outside its file");
    Check(!f.text.empty() && !f.chinese.empty(), "a finding says nothing");
  }
}

// A small code memory too, so that the refusal is reached.
void CheckImage(std::string_view input) {
  for (const std::uint32_t bytes : {0x10000u, 0x40u}) {
    const mcs51::HexImage image = mcs51::ReadIntelHex(input, bytes);
    Check(image.problem != mcs51::HexProblem::kNone ||
              (image.code.size() == image.end &&
               image.held.size() == image.end && image.end <= bytes),
          "an image larger than its data or its memory");
  }
  mcs51::ReadRst(input);
  mcs51::ReadCdb(input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const mcs51::CodeReading guessed = mcs51::ReadCode(input);
  CheckReading(guessed, input);
  const mcs51::CodeReading c = mcs51::ReadCode(input, mcs51::CodeDialect::kC);
  CheckReading(c, input);
  const mcs51::CodeReading assembly =
      mcs51::ReadCode(input, mcs51::CodeDialect::kAssembly);
  CheckReading(assembly, input);
  CheckReading(
      mcs51::ReadCode(input, mcs51::CodeDialect::kC, mcs51::Compiler::kSdcc),
      input);
  if (guessed.problem == mcs51::CodeProblem::kNone ||
      guessed.problem == mcs51::CodeProblem::kNoWrites) {
    const mcs51::CodeDialect dialect = mcs51::GuessDialect(input);
    Check(guessed.dialect == dialect, "the reading names another dialect");
    Check(Same(guessed, dialect == mcs51::CodeDialect::kC ? c : assembly),
          "the guess read otherwise than its dialect");
  }
  Check(Same(guessed, mcs51::ReadCode(input)),
        "the same input gave another reading");
  CheckExplained(input, Lines(input));
  CheckProgram(input);
  CheckImage(input);
  return 0;
}
