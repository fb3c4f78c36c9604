// explain of a built image: the image run on s51, its listing looked for
// beside it, and each fault said as one line.
#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/answer.h"
#include "mcs51/image/image_explain.h"
#include "mcs51/image/intel_hex.h"
#include "mcs51/settings/text.h"

namespace cli {

using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

namespace fs = std::filesystem;

// The listing SDCC writes beside the image: the linker's .rst, whose
// addresses are the image's, else the debugger's .cdb.
Listing ListingBeside(const std::string& image) {
  for (const auto& [extension, read] :
       {std::pair{".rst", &ReadRst}, std::pair{".cdb", &ReadCdb}}) {
    const fs::path path = fs::path(image).replace_extension(extension);
    std::ifstream file(path, std::ios::binary);
    if (!file) continue;
    std::ostringstream text;
    text << file.rdbuf();
    if (text.str().size() > kMaxCodeBytes) continue;
    Listing listing = read(text.str());
    if (!listing.empty()) return listing;
  }
  return {};
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
  const std::string file = fmt::format("FILE {}", Quoted(name));
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
                      "the host's time, and was stopped",
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
