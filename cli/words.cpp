#include "cli/words.h"

#include <fmt/format.h>

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += fmt::format("\\x{:02x}", byte);
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string SettingText(const Setting& setting) {
  if (setting.by_chip) {
    return fmt::format(
        "{} {}, {} clock{}{}", setting.chip->name, setting.generator->text,
        setting.clocks, setting.clocks == 1 ? "" : "s",
        setting.smod < 0 ? std::string()
                         : fmt::format(", SMOD {}", setting.smod));
  }
  if (setting.smod < 0) {
    return fmt::format("Timer {}, {} clocks", setting.timer, setting.clocks);
  }
  return fmt::format("Timer {}, SMOD {}, {} clock{}", setting.timer,
                     setting.smod, setting.clocks,
                     setting.clocks == 1 ? "" : "s");
}

}  // namespace cli
