// explain of a built image: the image run on s51, its listing looked for
// beside it, and each fault said as one line.
#include <fmt/format.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "cli/answer.h"
#include "mcs51/image/image_explain.h"
#include "mcs51/image/intel_hex.h"
#include "mcs51/settings/text.h"

namespace cli {

using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

namespace fs = std::filesystem;

// A file beside the image, where one can be read whole.
std::optional<std::string> Slurped(const fs::path& path) {
  std::string text;
  if (ReadFile(path.string(), text) || text.size() > kMaxCodeBytes)
    return std::nullopt;
  return text;
}

// Where the image's code came from, by what SDCC writes beside it: the
// debugger's .cdb for every module (with --debug), and each module's
// .rst, the linker's listing, whose lines win where both say: the image's
// own name's, and those of the modules its .lk linked.
Listing ListingBeside(const std::string& image) {
  const fs::path path(image);
  Listing listing;
  if (auto cdb = Slurped(fs::path(path).replace_extension(".cdb")))
    listing = ReadCdb(*cdb);
  std::vector<fs::path> listings{fs::path(path).replace_extension(".rst")};
  if (auto lk = Slurped(fs::path(path).replace_extension(".lk"))) {
    std::istringstream lines(*lk);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.ends_with(".rel")) continue;
      fs::path module(line);
      if (module.is_relative()) module = path.parent_path() / module;
      listings.push_back(module.replace_extension(".rst"));
    }
  }
  for (const fs::path& rst : listings) {
    if (auto text = Slurped(rst)) {
      for (auto& [address, line] : ReadRst(*text)) listing[address] = line;
    }
  }
  return listing;
}

std::string FirstLine(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  return std::string(text.substr(0, end));
}

}  // namespace

bool IsImage(const std::string& name, std::string_view text) {
  const std::string extension = fs::path(name).extension().string();
  return extension == ".ihx" || extension == ".hex" || extension == ".IHX" ||
         extension == ".HEX" || LooksLikeIntelHex(text);
}

std::optional<RunResult> ExplainImage(const Request& request,
                                      const std::string& name,
                                      std::string_view text,
                                      const explain::Family& family,
                                      Explanation& out) {
  const std::string file = FileWords(name);
  if (name == "-") {
    return Failure(kExitBadInput,
                   "standard input: a built image is run from its file: "
                   "give the file's name");
  }
  const ImageAsk ask{.frequency_mhz = request.frequency_mhz,
                     .family = &family,
                     .tolerance_percent = request.tolerance_percent,
                     .sim_time_s = request.sim_time_s,
                     .simulator = request.simulator,
                     .listing = ListingBeside(name)};
  ImageAnswer answer = mcs51::ExplainImage(name, text, ask);
  switch (answer.fault) {
    case ImageFault::kNone:
      out = std::move(answer.explanation);
      return std::nullopt;
    case ImageFault::kHex:
      return Failure(kExitBadInput,
                     fmt::format("{}: not a sound Intel HEX image: {}", file,
                                 answer.detail));
    case ImageFault::kMissing:
      return Failure(kExitBadInput,
                     fmt::format("the simulator {} cannot be run ({}): "
                                 "Debian's package sdcc-ucsim brings s51, or "
                                 "name it with --simulator",
                                 Quoted(request.simulator), answer.detail));
    case ImageFault::kEnded:
      return Failure(kExitBadInput,
                     fmt::format("{}: the simulator {} ended or answered what "
                                 "s51 does not: {}",
                                 file, Quoted(request.simulator),
                                 Quoted(FirstLine(answer.detail))));
    case ImageFault::kWallClock:
      return Failure(
          kExitBadInput,
          fmt::format("{}: the simulator took longer than {} s of "
                      "the host's time, and was stopped (a shorter "
                      "--sim-time asks less of it)",
                      file, ShortestText(WallGuard(request.sim_time_s))));
    case ImageFault::kNothingSetUp:
      break;
  }
  return Failure(kExitBadInput,
                 fmt::format("{}: the program set up no serial port or timer "
                             "of {}: {}",
                             file, family.text, answer.detail));
}

}  // namespace cli
