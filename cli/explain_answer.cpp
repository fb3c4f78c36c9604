// explain over files: read as the compiler is given them, and answered as
// a report, SARIF, or an editor's and CI's warnings.
#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "cli/answer.h"
#include "mcs51/explain/explain_words.h"
#include "mcs51/hardware/catalogue.h"

namespace cli {

using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

namespace fs = std::filesystem;

// Up to one byte past the reader's limit, so that it can refuse the rest.
bool Slurp(std::FILE* file, std::string& text) {
  char buffer[65536];
  while (text.size() <= kMaxCodeBytes) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    text.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  return std::ferror(file) == 0;
}

// Headers looked for as a compiler looks: "…" beside the file including
// it, then in each -I; <…> in the -I only. What is read is kept, so that
// a finding's column can be found in it.
class Finder {
 public:
  Finder(const std::vector<std::string>& dirs,
         std::map<std::string, std::string, std::less<>>& texts)
      : dirs_(dirs), texts_(texts) {}

  std::optional<SourceFile> operator()(std::string_view header, bool quoted,
                                       std::string_view from) const {
    std::vector<fs::path> places;
    if (quoted) {
      places.push_back(from == "-" ? fs::path() : fs::path(from).parent_path());
    }
    places.insert(places.end(), dirs_.begin(), dirs_.end());
    for (const fs::path& dir : places) {
      const std::string name =
          (dir / fs::path(header)).lexically_normal().string();
      std::error_code error;
      if (!fs::is_regular_file(name, error)) continue;
      std::string text;
      if (ReadFile(name, text) || text.size() > kMaxCodeBytes) continue;
      texts_[name] = text;
      return SourceFile{name, std::move(text)};
    }
    return std::nullopt;
  }

 private:
  const std::vector<std::string>& dirs_;
  std::map<std::string, std::string, std::less<>>& texts_;
};

// The column of a line's first character that is no blank, 1-based; 1
// where the line is not known.
int FirstColumn(std::string_view text, int line) {
  std::size_t at = 0;
  for (int n = 1; n < line && at != std::string_view::npos; ++n) {
    at = text.find('\n', at);
    if (at != std::string_view::npos) ++at;
  }
  if (line < 1 || at == std::string_view::npos) return 1;
  const std::size_t first = text.find_first_not_of(" \t", at);
  return first == std::string_view::npos || text[first] == '\n' ||
                 text[first] == '\r'
             ? 1
             : static_cast<int>(first - at) + 1;
}

// GCC's form, which editors' problem matchers and CI annotations read.
std::string CheckLines(const Explanation& e, std::string_view file) {
  std::string lines;
  auto add = [&](const Finding& f, std::string_view level, bool kind) {
    // A built image's code with no listing says its address instead.
    const std::string at =
        f.address >= 0 && f.line == 0
            ? fmt::format(fmt::runtime(ImageWords().address.en), f.address) +
                  ": "
            : "";
    lines += fmt::format("{}:{}:{}: {}: {}{}", f.file.empty() ? file : f.file,
                         f.line, f.column, level, at, f.text);
    lines += kind ? fmt::format(" [{}]\n", FindingKey(f.kind)) : "\n";
  };
  for (const Finding& f : e.findings) add(f, "warning", true);
  for (const Finding& note : e.notes) add(note, "note", false);
  return lines;
}

// A name as SARIF's URI relative to the working directory takes it.
std::string Relative(const std::string& name) {
  std::error_code error;
  const fs::path path = fs::path(name);
  if (!path.is_absolute()) return path.lexically_normal().generic_string();
  const fs::path here = fs::current_path(error);
  const fs::path relative = path.lexically_relative(here);
  return error || relative.empty() ? path.generic_string()
                                   : relative.generic_string();
}

}  // namespace

std::string FileWords(std::string_view name) {
  return name == "-" ? "standard input" : fmt::format("FILE {}", Quoted(name));
}

std::optional<std::string> ReadFile(const std::string& name,
                                    std::string& text) {
  const bool standard = name == "-";
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      standard ? stdin : std::fopen(name.c_str(), "rb"),
      standard ? [](std::FILE*) { return 0; } : std::fclose);
  if (file != nullptr && Slurp(file.get(), text)) return std::nullopt;
  return fmt::format("{}: cannot be read: {}", FileWords(name),
                     std::strerror(errno != 0 ? errno : EIO));
}

RunResult ExplainAnswer(const Request& request, std::string_view version) {
  const std::string_view chip = ChipName(request.filter.chip);
  // Without --chip, a maker's header the code includes names the family.
  const explain::Family* family =
      chip.empty() ? nullptr : explain::FindFamily(chip);
  if (!chip.empty() && family == nullptr) {
    return Failure(kExitBadInput,
                   Rejection("--chip", request.filter.chip,
                             "explain reads one family's registers"));
  }
  std::map<std::string, std::string, std::less<>> texts;
  std::vector<SourceFile> files;
  for (const std::string& name : request.files) {
    std::string text;
    if (auto problem = ReadFile(name, text)) {
      return Failure(kExitBadInput, *problem);
    }
    files.push_back({name, std::move(text)});
  }
  const std::string& first = request.files.front();
  Explanation e;
  const auto image =
      std::find_if(files.begin(), files.end(),
                   [](const auto& f) { return IsImage(f.name, f.text); });
  if (image != files.end() && files.size() > 1) {
    return Failure(kExitBadInput,
                   fmt::format("{}: a built image is explained alone",
                               FileWords(image->name)));
  }
  if (image != files.end()) {
    if (auto fault = ExplainImage(
            request, image->name, image->text,
            family != nullptr ? *family : explain::DefaultFamily(), e)) {
      return *fault;
    }
  } else {
    const Build build{request.compiler, request.defines,
                      Finder(request.include_dirs, texts), 0.0};
    e = Explain(files, build, request.frequency_mhz, family,
                request.tolerance_percent);
  }
  if (e.problem != CodeProblem::kNone) {
    const std::string& name = e.problem_file.empty() ? first : e.problem_file;
    return Failure(
        kExitBadInput,
        fmt::format("{}: {}", FileWords(name),
                    fmt::format(fmt::runtime(ProblemWords(e.problem).en),
                                e.family->text)));
  }
  std::erase_if(e.findings, [&](const Finding& f) {
    return std::find(request.ignore.begin(), request.ignore.end(), f.kind) !=
           request.ignore.end();
  });
  // The files given, then the headers found, by name.
  auto text_of = [&](std::string_view name) -> const std::string* {
    for (const SourceFile& f : files) {
      if (f.name == name) return &f.text;
    }
    const auto found = texts.find(name);
    return found == texts.end() ? nullptr : &found->second;
  };
  for (std::vector<Finding>* list : {&e.findings, &e.notes}) {
    for (Finding& f : *list) {
      const std::string* text = text_of(f.file.empty() ? first : f.file);
      f.column = text == nullptr ? 1 : FirstColumn(*text, f.line);
    }
  }
  RunResult result;
  if (request.format == Format::kSarif) {
    for (Finding& f : e.findings)
      f.file = Relative(f.file.empty() ? first : f.file);
    result.out = ExplainSarif(e, kProgramName, version, Relative(first));
  } else if (!request.check || request.format == Format::kJson) {
    result.out = ExplainReport(request, *e.family, e, request.format);
  }
  if (request.check) {
    result.err = CheckLines(e, first);
    result.status = e.findings.empty() ? kExitAnswered : kExitRefused;
  }
  return result;
}

}  // namespace cli
