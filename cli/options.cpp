#include "cli/options.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>

#include "cli/command_line.h"
#include "cli/words.h"
#include "timers/catalogue.h"
#include "timers/cores.h"
#include "timers/delay.h"
#include "timers/peers.h"
#include "timers/ranking.h"
#include "timers/ticks.h"

namespace cli {

// timers/ is this program's vocabulary: its names read unqualified.
using namespace timers;  // NOLINT(google-build-using-namespace)
namespace {

// Where the link with --peer is judged.
constexpr Commands kLinked = Bit(Command::kSettings) | Bit(Command::kTable);
constexpr std::string_view kLinkedOnly = "only with FREQ BAUD and table";

constexpr Commands kAnswers = Bit(Command::kSettings) | Bit(Command::kTable) |
                              Bit(Command::kCrystals) | Bit(Command::kCode) |
                              Bit(Command::kChips);
constexpr Commands kTicks = Bit(Command::kTick) | Bit(Command::kTickCode);
constexpr Commands kDelay = Bit(Command::kDelay);
constexpr Commands kExplain = Bit(Command::kExplain);

constexpr CommandRow kCommandRows[] = {
    {Command::kSettings, "", "FREQ BAUD",
     "every setting for one crystal and rate, best first: reload, actual "
     "baud, signed error and mark"},
    {Command::kTable, "table", "FREQ",
     "the standard rates against every setting, with the best setting per "
     "rate"},
    {Command::kCrystals, "crystals", "BAUD...",
     "the standard crystals ranked per clock mode by the worst error of each "
     "rate's best setting"},
    {Command::kCode, "code", "FREQ BAUD",
     "init code for the best setting within the tolerance, or for the one "
     "the filters pick"},
    {Command::kChips, "chips", "",
     "the chip families --chip takes, their baud-rate generators and the "
     "manuals they are checked against"},
    {Command::kTick, "tick", "FREQ PERIOD",
     "every timer setting for an interrupt every PERIOD, best first: reload, "
     "interrupts per period, actual period, signed error and mark"},
    {Command::kTickCode, "tick-code", "FREQ PERIOD",
     "tick_init() and the interrupt handler counting ticks, for the best "
     "timer setting or the one the filters pick"},
    {Command::kDelay, "delay", "FREQ TIME",
     "a delay function exact to the cycle on the core's own instruction "
     "timing: TIME in s, ms, us or µs, rounded to whole cycles"},
    {Command::kExplain, "explain", "FREQ [FILE]",
     "init code read back (FILE, or standard input): each serial port's "
     "generator and rate, each timer's mode and period, and what looks "
     "wrong"},
};

// A value already checked against the option's words.
int Whole(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Calls `each` with every item of a comma-separated list, empty ones too.
void ForEachItem(std::string_view list,
                 const std::function<void(std::string_view)>& each) {
  for (std::size_t comma; (comma = list.find(',')) != list.npos;
       list.remove_prefix(comma + 1)) {
    each(list.substr(0, comma));
  }
  each(list);
}

constexpr std::string_view kSmods[] = {"0", "1"};
constexpr std::string_view kFormats[] = {"text", "csv", "json"};
constexpr std::string_view kLanguages[] = {"c", "asm"};

const OptionRow kOptionRows[] = {
    {.name = "--timer",
     .values = Values::kTimers,
     .commands = kAnswers | kTicks,
     .elsewhere = "not for delay, whose loops use no timer",
     .help = "only Timer 1 (mode 2) or only Timer 2 (8052); tick and "
             "tick-code: the timer's own number (0, 1, 2, more on some "
             "families)",
     .store = [](std::string_view text,
                 Request& request) { request.filter.timer = Whole(text); }},
    {.name = "--smod",
     .values = Values::kChoices,
     .choices = kSmods,
     .commands = kAnswers,
     .elsewhere = "not for tick, tick-code and delay, which use no UART",
     .help = "only Timer 1 with SMOD 0, or with SMOD 1",
     .store = [](std::string_view text,
                 Request& request) { request.filter.smod = Whole(text); }},
    {.name = "--clock",
     .values = Values::kClocks,
     .commands = kAnswers | kTicks | kDelay,
     .help = "only the settings at {} clocks per machine cycle; delay: the "
             "core's clocks per cycle (6: X2)",
     .store = [](std::string_view text,
                 Request& request) { request.filter.clocks = Whole(text); }},
    {.name = "--chip",
     .values = Values::kChip,
     .metavar = "NAME",
     .takes = "a family, see chips",
     .commands = kAnswers | kTicks | kDelay | kExplain,
     .help = "only that family's generators, with their registers: {}; "
             "NAME:GENERATOR (stc15:t2) for one generator; --timer and "
             "--clock then take the family's values",
     .store = [](std::string_view text,
                 Request& request) { request.filter.chip = text; }},
    {.name = "--tolerance",
     .values = Values::kNumber,
     .read = ReadPercent,
     .metavar = "PERCENT",
     .takes = "a percentage, 0 or more",
     .commands = kAnswers | kTicks | kExplain,
     .elsewhere = "not for delay, which rounds to the nearest cycle",
     .help = "the error allowed, in percent (default 2)",
     .suggestions = "0.2 1 2 3",
     .store =
         [](std::string_view text, Request& request) {
           request.tolerance_percent = ReadPercent(text).value.value_or(0.0);
         }},
    {.name = "--peer",
     .values = Values::kPeer,
     .metavar = "NAME",
     .commands = kLinked,
     .elsewhere = kLinkedOnly,
     .help = "judge the link with the other end of the line: {}; adds the "
             "peer's actual rate, the mismatch, the worst sampling margin "
             "and the link's mark (works, marginal, fails), the worse of "
             "both directions",
     .store = [](std::string_view text,
                 Request& request) { request.peer = text; }},
    {.name = "--frame",
     .values = Values::kChoices,
     .choices = kFrameKeys,
     .commands = kLinked,
     .elsewhere = kLinkedOnly,
     .needs = "--peer",
     .help = "with --peer: the frame on the line (default 8n1)",
     .store =
         [](std::string_view text, Request& request) {
           const auto key =
               std::find(kFrameKeys.begin(), kFrameKeys.end(), text);
           request.frame = static_cast<Frame>(key - kFrameKeys.begin());
         }},
    {.name = "--clock-ppm",
     .values = Values::kNumber,
     .read = ReadPpm,
     .metavar = "PPM",
     .takes = "a tolerance in ppm, 0 or more",
     .commands = kLinked,
     .elsewhere = kLinkedOnly,
     .needs = "--peer",
     .help = "with --peer: how far each end's clock may be off, in ppm, "
             "each taken in its worse direction (default 100)",
     .suggestions = "20 50 100 500",
     .store =
         [](std::string_view text, Request& request) {
           request.clock_ppm = ReadPpm(text).value.value_or(0.0);
         }},
    {.name = "--format",
     .values = Values::kChoices,
     .choices = kFormats,
     .commands = (kAnswers & ~Bit(Command::kCode)) | Bit(Command::kTick) |
                 kDelay | kExplain,
     .elsewhere = "not for code and tick-code, which write C or assembly",
     .help = "the output of FREQ BAUD, table, crystals and tick (default "
             "text); delay: the code (text) or its figures (json)",
     .store =
         [](std::string_view text, Request& request) {
           request.format = text == "csv"    ? Format::kCsv
                            : text == "json" ? Format::kJson
                                             : Format::kText;
         }},
    {.name = "--baud",
     .values = Values::kList,
     .read = ReadBaud,
     .item = "BAUD",
     .metavar = "LIST",
     .takes = "rates separated by commas",
     .commands = Bit(Command::kTable),
     .elsewhere = "only with table",
     .repeatable = true,
     .help = "table: these rates, separated by commas, instead of the "
             "standard ones",
     .store =
         [](std::string_view text, Request& request) {
           ForEachItem(text, [&](std::string_view item) {
             request.rates.push_back(ReadBaud(item).value.value_or(0.0));
           });
         }},
    {.name = "--lang",
     .values = Values::kChoices,
     .choices = kLanguages,
     .commands = Bit(Command::kCode) | Bit(Command::kTickCode) | kDelay,
     .elsewhere = "only with code, tick-code and delay",
     .help = "code, tick-code: C for SDCC and Keil C51 (default), or an "
             "assembly module for SDCC's sdas8051 that C calls as uart_init() "
             "or tick_init()",
     .store =
         [](std::string_view text, Request& request) {
           request.language = text == "asm" ? Language::kAsm : Language::kC;
         }},
    {.name = "--mode",
     .values = Values::kModes,
     .commands = kTicks,
     .elsewhere = "only with tick and tick-code",
     .help = "tick, tick-code: only the timers' counting mode {} (ar: 16-bit "
             "auto-reload)",
     .store = [](std::string_view text,
                 Request& request) { request.filter.mode = text; }},
    {.name = "--name",
     .values = Values::kName,
     .metavar = "NAME",
     .takes = "a C name",
     .commands = kDelay,
     .elsewhere = "only with delay",
     .help = "delay: the function's name (default delay_ and TIME as typed: "
             "delay_1ms, delay_2_5ms)",
     .store = [](std::string_view text,
                 Request& request) { request.name = text; }},
    {.name = "--times",
     .values = Values::kSwitch,
     .commands = kDelay,
     .elsewhere = "only with delay",
     .help = "delay: NAME(unsigned int n) lasting n times TIME",
     .store = [](std::string_view, Request& request) { request.times = true; }},
    {.name = "--help",
     .short_name = "-h",
     .values = Values::kFlag,
     .commands = kAnswers | kTicks | kDelay | kExplain,
     .help = "show this help and exit",
     .store = [](std::string_view,
                 Request& request) { request.command = Command::kHelp; }},
    {.name = "--version",
     .values = Values::kFlag,
     .commands = kAnswers | kTicks | kDelay | kExplain,
     .help = "show the version and exit",
     .store = [](std::string_view,
                 Request& request) { request.command = Command::kVersion; }},
};

// The chip's rejection, or nothing when it names a family, "all" or one of
// a family's generators.
std::optional<std::string> CheckChip(const OptionRow& option,
                                     std::string_view chip, bool ticks) {
  const std::string_view name = ChipName(chip);
  const Chip* found = FindChip(name);
  if (name != "all" && found == nullptr) {
    return Rejection(option.name, chip,
                     fmt::format("not {}", JoinedOr(ValueWords(option, chip))));
  }
  const std::string_view key = GeneratorKey(chip);
  const Filter named{.chip = std::string(chip)};
  const bool known =
      found != nullptr && !key.empty() &&
      (ticks ? !TickMatching(named).empty() : !Matching(named).empty());
  if (chip.find(':') != chip.npos && !known) {
    return Rejection(
        option.name, chip,
        fmt::format("no such generator (see {} chips)", kProgramName));
  }
  return std::nullopt;
}

// The rejection of the --chip given, if it is bad: the timers and clocks
// that follow it are then unknown.
std::optional<std::string> ChipProblem(std::string_view chip, bool ticks) {
  if (chip.empty()) return std::nullopt;
  for (const OptionRow& option : kOptionRows) {
    if (option.values == Values::kChip) return CheckChip(option, chip, ticks);
  }
  return std::nullopt;
}

}  // namespace

std::span<const CommandRow> CommandRows() { return kCommandRows; }

std::span<const OptionRow> OptionRows() { return kOptionRows; }

const OptionRow* FindOption(std::string_view name) {
  for (const OptionRow& option : kOptionRows) {
    if (name == option.name || name == option.short_name) return &option;
  }
  return nullptr;
}

std::vector<std::string> ArgumentNames(const CommandRow& command) {
  std::vector<std::string> names;
  for (std::string_view rest = command.arguments; !rest.empty();) {
    const std::size_t space = rest.find(' ');
    names.emplace_back(rest.substr(0, space));
    rest.remove_prefix(space == rest.npos ? rest.size() : space + 1);
  }
  return names;
}

std::string UsageText(const CommandRow& command) {
  if (command.name.empty()) return std::string(command.arguments);
  if (command.arguments.empty()) return std::string(command.name);
  return fmt::format("{} {}", command.name, command.arguments);
}

bool IsTick(Command command) { return (kTicks & Bit(command)) != 0; }

std::vector<std::string> ValueWords(const OptionRow& option,
                                    std::string_view chip, bool ticks) {
  std::vector<std::string> words;
  if (option.values == Values::kChoices) {
    words.assign(option.choices.begin(), option.choices.end());
  } else if (option.values == Values::kPeer) {
    for (const Peer& each : Peers()) {
      words.emplace_back(each.name);
      words.insert(words.end(), each.aliases.begin(), each.aliases.end());
    }
  } else if (option.values == Values::kChip) {
    for (const Chip& each : Chips()) {
      words.emplace_back(each.name);
      words.insert(words.end(), each.aliases.begin(), each.aliases.end());
    }
    words.emplace_back("all");
  } else if (option.values == Values::kModes) {
    for (const TickSetting* s : TickMatching({.chip = std::string(chip)})) {
      if (std::find(words.begin(), words.end(), s->mode->key) == words.end()) {
        words.emplace_back(s->mode->key);
      }
    }
  } else if (ticks) {
    std::vector<int> values;
    for (const TickSetting* s : TickMatching({.chip = std::string(chip)})) {
      values.push_back(option.values == Values::kTimers ? s->timer->number
                                                        : -s->clocks);
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (int value : values) words.push_back(std::to_string(std::abs(value)));
  } else if (option.values == Values::kTimers ||
             option.values == Values::kClocks) {
    // Timers from the lowest, clocks from the most, as the classic core's
    // 12, 6 and 1 are listed.
    std::vector<int> values;
    for (const Setting* setting : Matching({.chip = std::string(chip)})) {
      values.push_back(option.values == Values::kTimers ? setting->timer
                                                        : -setting->clocks);
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (int value : values) words.push_back(std::to_string(std::abs(value)));
  }
  return words;
}

std::string JoinedOr(std::span<const std::string> words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
    text += words[i];
  }
  return text;
}

std::string NeedsValue(const OptionRow& option, std::string_view chip,
                       bool ticks) {
  if (option.values == Values::kTimers || option.values == Values::kClocks ||
      option.values == Values::kModes) {
    if (auto problem = ChipProblem(chip, ticks)) return *problem;
  }
  const std::string takes = option.takes.empty()
                                ? JoinedOr(ValueWords(option, chip, ticks))
                                : std::string(option.takes);
  return Rejection(option.name, fmt::format("needs a value ({})", takes));
}

std::string MetavarText(const OptionRow& option) {
  if (!option.metavar.empty()) return std::string(option.metavar);
  std::string text;
  for (const std::string& word : ValueWords(option, {})) {
    text += (text.empty() ? "" : "|") + word;
  }
  return text;
}

// The peers as --peer's help names them, each alias beside its peer:
// "..., cp2102 (also as cp210x), cp2104, ...".
std::string PeerChoices() {
  std::vector<std::string> words;
  for (const Peer& each : Peers()) {
    words.emplace_back(each.name);
    if (!each.aliases.empty()) {
      words.back() += fmt::format(
          " (also as {})",
          fmt::join(each.aliases.begin(), each.aliases.end(), ", "));
    }
  }
  return JoinedOr(words);
}

std::string HelpLine(const OptionRow& option) {
  std::string line(option.help);
  const std::size_t slot = line.find("{}");
  if (slot == line.npos) return line;
  return line.replace(slot, 2,
                      option.values == Values::kPeer
                          ? PeerChoices()
                          : JoinedOr(ValueWords(option, {})));
}

std::optional<std::string> CheckValue(const OptionRow& option,
                                      std::string_view text,
                                      std::string_view chip, bool ticks) {
  switch (option.values) {
    case Values::kFlag:
    case Values::kSwitch:
      return std::nullopt;
    case Values::kName:
      if (IsCName(text)) return std::nullopt;
      return Rejection(option.name, text,
                       "not a C name: letters, digits and _, not first a "
                       "digit");
    case Values::kChip:
      return CheckChip(option, text, ticks);
    case Values::kTimers:
    case Values::kClocks:
    case Values::kModes:
      if (auto problem = ChipProblem(chip, ticks)) return problem;
      [[fallthrough]];
    case Values::kChoices:
    case Values::kPeer: {
      const std::vector<std::string> words = ValueWords(option, chip, ticks);
      if (std::find(words.begin(), words.end(), text) != words.end()) {
        return std::nullopt;
      }
      return Rejection(option.name, text,
                       fmt::format("not {}", JoinedOr(words)));
    }
    case Values::kNumber: {
      const Reading reading = option.read(text);
      if (reading.value) return std::nullopt;
      return Rejection(option.name, text, reading.problem);
    }
    case Values::kList:
      break;
  }
  std::optional<std::string> problem;
  ForEachItem(text, [&](std::string_view item) {
    const Reading reading = option.read(item);
    if (!problem && !reading.value) {
      problem = Rejection(option.item, item, reading.problem);
    }
  });
  return problem;
}

namespace {

std::vector<std::string> CoreClockWords(std::string_view chip) {
  const ClockList list = CoreClocks(chip);
  std::vector<std::string> words;
  for (int i = 0; i < list.count; ++i) {
    words.push_back(std::to_string(list.clocks[i]));
  }
  return words;
}

}  // namespace

std::optional<std::string> NeedsCoreClock(const OptionRow& option,
                                          std::string_view chip) {
  const std::vector<std::string> words = CoreClockWords(chip);
  if (words.empty()) return std::nullopt;
  return Rejection(option.name,
                   fmt::format("needs a value ({})", JoinedOr(words)));
}

std::optional<std::string> CheckCoreClock(const OptionRow& option,
                                          std::string_view text,
                                          std::string_view chip) {
  const std::vector<std::string> words = CoreClockWords(chip);
  if (words.empty() ||
      std::find(words.begin(), words.end(), text) != words.end()) {
    return std::nullopt;
  }
  return Rejection(option.name, text, fmt::format("not {}", JoinedOr(words)));
}

std::string Rejection(std::string_view name, std::string_view problem) {
  return fmt::format("{}: {}", name, problem);
}

std::string Rejection(std::string_view name, std::string_view text,
                      std::string_view problem) {
  if (name.empty()) return fmt::format("{}: {}", Quoted(text), problem);
  return fmt::format("{} {}: {}", name, Quoted(text), problem);
}

}  // namespace cli
