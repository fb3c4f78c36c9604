#include "cli/options.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <charconv>

#include "cli/command_line.h"
#include "mcs51/delays/delay.h"
#include "mcs51/explain/explain.h"
#include "mcs51/hardware/catalogue.h"
#include "mcs51/hardware/cores.h"
#include "mcs51/settings/choices.h"
#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/ticks.h"

namespace cli {

// mcs51/ is this program's vocabulary: its names read unqualified.
using namespace mcs51;  // NOLINT(google-build-using-namespace)
namespace {

// Where the link with --peer is judged.
constexpr Commands kLinked = Bit(Command::kSettings) | Bit(Command::kTable);

constexpr Commands kAnswers = Bit(Command::kSettings) | Bit(Command::kTable) |
                              Bit(Command::kCrystals) | Bit(Command::kCode) |
                              Bit(Command::kChips);
constexpr Commands kTicks = Bit(Command::kTick) | Bit(Command::kTickCode);
constexpr Commands kDelay = Bit(Command::kDelay);
constexpr Commands kExplain = Bit(Command::kExplain);
// The filters of a setting, which chips, listing every family, does not
// take.
constexpr Commands kFiltered = (kAnswers & ~Bit(Command::kChips)) | kTicks;
constexpr std::string_view kNotChips =
    "not for chips, which lists every family";
// Why an option of a setting is refused where it does not apply.
constexpr Elsewhere kTimerElsewhere[] = {{Bit(Command::kChips), kNotChips}};
constexpr Elsewhere kChipsElsewhere[] = {{Bit(Command::kChips), kNotChips}};
constexpr Elsewhere kSmodElsewhere[] = {
    {Bit(Command::kChips), kNotChips},
    {kTicks | kDelay, "not for tick, tick-code and delay, which use no UART"}};
constexpr Elsewhere kToleranceElsewhere[] = {
    {Bit(Command::kChips), kNotChips},
    {kDelay, "not for delay, which rounds to the nearest cycle"}};
constexpr Elsewhere kFormatElsewhere[] = {
    {Bit(Command::kCode) | Bit(Command::kTickCode),
     "not for code and tick-code, which write C or assembly"}};

constexpr CommandRow kCommandRows[] = {
    {Command::kSettings, "", "FREQ BAUD",
     "every setting for one crystal and rate, best first: reload, actual "
     "baud, signed error and mark",
     Document::kSettings},
    {Command::kTable, "table", "FREQ",
     "the standard rates against every setting, with the best setting per "
     "rate",
     Document::kTable},
    {Command::kCrystals, "crystals", "BAUD...",
     "the standard crystals ranked per clock mode by the worst error of each "
     "rate's best setting",
     Document::kCrystals},
    {Command::kCode, "code", "FREQ BAUD",
     "init code for the best setting within the tolerance, or for the one "
     "the filters pick"},
    {Command::kChips, "chips", "",
     "the chip families --chip takes, their baud-rate generators and the "
     "manuals they are checked against",
     Document::kChips},
    {Command::kTick, "tick", "FREQ PERIOD",
     "every timer setting for an interrupt every PERIOD, best first: reload, "
     "interrupts per period, actual period, signed error and mark",
     Document::kTick},
    {Command::kTickCode, "tick-code", "FREQ PERIOD",
     "tick_init() and the interrupt handler counting ticks, for the best "
     "timer setting or the one the filters pick"},
    {Command::kDelay, "delay", "FREQ TIME",
     "a delay function exact to the cycle on the core's own instruction "
     "timing, or paced by a timer where the core has no table (or by "
     "--timer's): TIME in s, ms, us or µs",
     Document::kDelay},
    {Command::kExplain, "explain", "FREQ [FILE...]",
     "init code read back (the FILEs as one program, or standard input): "
     "each serial port's generator and rate, each timer's mode and period, "
     "and what looks wrong; a built image (Intel HEX) is run from reset on "
     "SDCC's simulator s51 and read back the same way, with its handlers' "
     "measured periods",
     Document::kExplain},
};

// The commands --format is for: those that write an answer's document.
constexpr Commands WithDocument() {
  Commands commands = 0;
  for (const CommandRow& row : kCommandRows) {
    if (row.document) commands |= Bit(row.command);
  }
  return commands;
}

constexpr std::string_view kSmods[] = {"0", "1"};
constexpr std::string_view kLanguages[] = {"c", "asm"};
// In mcs51::Compiler's order.
constexpr std::string_view kCompilers[] = {"keil", "sdcc"};

const OptionRow kOptionRows[] = {
    {.name = "--timer",
     .values = Values::kTimers,
     .commands = kFiltered | kDelay,
     .elsewhere = kTimerElsewhere,
     .help = "only Timer 1 (mode 2) or only Timer 2 (8052); tick and "
             "tick-code: the timer's own number (0, 1, 2, more on some "
             "families); delay: paced by that timer",
     .store = [](const Value& v,
                 Request& r) { r.filter.timer = static_cast<int>(v.number); }},
    {.name = "--smod",
     .values = Values::kChoices,
     .choices = kSmods,
     .commands = kFiltered & ~kTicks,
     .elsewhere = kSmodElsewhere,
     .help = "only Timer 1 with SMOD 0, or with SMOD 1",
     .store = [](const Value& v,
                 Request& r) { r.filter.smod = static_cast<int>(v.index); }},
    {.name = "--clock",
     .values = Values::kClocks,
     .commands = kFiltered | kDelay,
     .elsewhere = kChipsElsewhere,
     .help = "only the settings at {} clocks per machine cycle; delay: the "
             "core's clocks per cycle (6: X2)",
     .store = [](const Value& v,
                 Request& r) { r.filter.clocks = static_cast<int>(v.number); }},
    {.name = "--chip",
     .values = Values::kChip,
     .metavar = "NAME",
     .takes = "a family, see chips",
     .commands = kFiltered | kDelay | kExplain,
     .elsewhere = kChipsElsewhere,
     .help = "only that family's generators, with their registers: {}; "
             "NAME:GENERATOR (stc15:t2) for one generator; --timer and "
             "--clock then take the family's values",
     .store = [](const Value& v, Request& r) { r.filter.chip = v.text; }},
    {.name = "--tolerance",
     .values = Values::kNumber,
     .read = calc::ReadPercent,
     .metavar = "PERCENT",
     .takes = "a percentage, 0 or more",
     .commands = kFiltered | kExplain,
     .elsewhere = kToleranceElsewhere,
     .help = "the error allowed, in percent (default 2)",
     .suggestions = "0.2 1 2 3",
     .store = [](const Value& v,
                 Request& r) { r.tolerance_percent = v.number; }},
    {.name = "--peer",
     .values = Values::kPeer,
     .metavar = "NAME",
     .commands = kLinked,
     .help = "judge the link with the other end of the line: {}; adds the "
             "peer's actual rate, the mismatch, the worst sampling margin "
             "and the link's mark (works, marginal, fails), the worse of "
             "both directions",
     .store = [](const Value& v, Request& r) { r.peer = v.text; }},
    {.name = "--frame",
     .values = Values::kChoices,
     .choices = kFrameKeys,
     .commands = kLinked,
     .needs = "--peer",
     .help = "with --peer: the frame on the line (default 8n1)",
     .store = [](const Value& v,
                 Request& r) { r.frame = static_cast<Frame>(v.index); }},
    {.name = "--clock-ppm",
     .values = Values::kNumber,
     .read = calc::ReadPercent,
     .below = 1e6,  // beyond which a clock would stop
     .metavar = "PPM",
     .takes = "a tolerance in ppm, 0 or more",
     .commands = kLinked,
     .needs = "--peer",
     .help = "with --peer: how far each end's clock may be off, in ppm, "
             "each taken in its worse direction (default 100)",
     .suggestions = "20 50 100 500",
     .store = [](const Value& v, Request& r) { r.clock_ppm = v.number; }},
    {.name = "--format",
     .values = Values::kChoices,
     .choices = kFormatNames,
     .commands = WithDocument(),
     .elsewhere = kFormatElsewhere,
     .help = "the output of FREQ BAUD, table, crystals, tick and chips "
             "(default text; markdown lays the text's tables out as "
             "Markdown); delay: the code (text) or its figures (json)",
     .store = [](const Value& v,
                 Request& r) { r.format = static_cast<Format>(v.index); }},
    {.name = "--baud",
     .values = Values::kList,
     .read = calc::ReadBaud,
     .item = "BAUD",
     .metavar = "LIST",
     .takes = "rates separated by commas",
     .commands = Bit(Command::kTable),
     .repeatable = true,
     .help = "table: these rates, separated by commas, instead of the "
             "standard ones",
     .store =
         [](const Value& v, Request& r) {
           r.rates.insert(r.rates.end(), v.numbers.begin(), v.numbers.end());
         }},
    {.name = "--lang",
     .values = Values::kChoices,
     .choices = kLanguages,
     .commands = Bit(Command::kCode) | Bit(Command::kTickCode) | kDelay,
     .help = "code, tick-code: C for SDCC and Keil C51 (default), or an "
             "assembly module for SDCC's sdas8051 that C calls as uart_init() "
             "or tick_init()",
     .store =
         [](const Value& v, Request& r) {
           r.language = static_cast<CodeLanguage>(v.index);
         }},
    {.name = "--compiler",
     .values = Values::kChoices,
     .choices = kCompilers,
     .commands = kExplain,
     .help = "explain: read C as Keil C51 (default) or SDCC preprocesses it, "
             "taking the branches of #if that compiler takes",
     .store =
         [](const Value& v, Request& r) {
           r.compiler = static_cast<mcs51::Compiler>(v.index);
         }},
    {.name = "--include-dir",
     .short_name = "-I",
     .values = Values::kPath,
     .metavar = "DIR",
     .takes = "a directory",
     .commands = kExplain,
     .repeatable = true,
     .help = "explain: look for #include's headers in DIR too, in the order "
             "given (\"...\" beside the including file first)",
     .store = [](const Value& v,
                 Request& r) { r.include_dirs.emplace_back(v.text); }},
    {.name = "--define",
     .short_name = "-D",
     .values = Values::kDefine,
     .metavar = "NAME[=VALUE]",
     .takes = "NAME or NAME=VALUE",
     .commands = kExplain,
     .repeatable = true,
     .in_order = true,
     .help = "explain: define NAME (as 1, or as VALUE) before each file, as "
             "the compiler's -D",
     .store = [](const Value& v,
                 Request& r) { r.defines.push_back(DefineOf(v.text)); }},
    {.name = "--undefine",
     .short_name = "-U",
     .values = Values::kName,
     .metavar = "NAME",
     .takes = "a C name",
     .commands = kExplain,
     .repeatable = true,
     .in_order = true,
     .help = "explain: undefine NAME, the compiler's own too, as -U",
     .store =
         [](const Value& v, Request& r) {
           r.defines.push_back({std::string(v.text), "", true});
         }},
    {.name = "--check",
     .values = Values::kSwitch,
     .commands = kExplain,
     .help = "explain: each finding on standard error as FILE:LINE:COL: "
             "warning: TEXT [KIND], for editors and CI; exit 1 when there is "
             "one, 0 when none; standard output keeps only a json or sarif "
             "--format",
     .store = [](const Value&, Request& r) { r.check = true; }},
    {.name = "--ignore",
     .values = Values::kKinds,
     .metavar = "KIND,...",
     .takes = "kinds of finding separated by commas",
     .commands = kExplain,
     .repeatable = true,
     .help = "explain: drop these kinds of finding: {}",
     .store =
         [](const Value& v, Request& r) {
           for (const double kind : v.numbers) {
             r.ignore.push_back(static_cast<FindingKind>(kind));
           }
         }},
    {.name = "--sim-time",
     .values = Values::kNumber,
     .read = calc::ReadTime,
     .below = 100.0,  // the guard on the host's time grows with it
     .metavar = "TIME",
     .takes = "a time in s, ms or us, under 100 s",
     .commands = kExplain,
     .help = "explain of a built image (Intel HEX: .ihx, .hex): run it on "
             "s51 from reset for TIME of simulated time (default 1s)",
     .suggestions = "100ms 1s 5s",
     .store = [](const Value& v, Request& r) { r.sim_time_s = v.number; }},
    {.name = "--simulator",
     .values = Values::kPath,
     .metavar = "PROGRAM",
     .takes = "a program",
     .commands = kExplain,
     .help = "explain of a built image: the s51 to run (default s51 on the "
             "PATH, from Debian's sdcc-ucsim)",
     .store = [](const Value& v, Request& r) { r.simulator = v.text; }},
    {.name = "--mode",
     .values = Values::kModes,
     .commands = kTicks,
     .help = "tick, tick-code: only the timers' counting mode {} (ar: 16-bit "
             "auto-reload)",
     .store = [](const Value& v, Request& r) { r.filter.mode = v.text; }},
    {.name = "--name",
     .values = Values::kName,
     .metavar = "NAME",
     .takes = "a C name",
     .commands = kDelay,
     .help = "delay: the function's name (default delay_ and TIME as typed: "
             "delay_1ms, delay_2_5ms)",
     .store = [](const Value& v, Request& r) { r.name = v.text; }},
    {.name = "--times",
     .values = Values::kSwitch,
     .commands = kDelay,
     .help = "delay: NAME(unsigned int n) lasting n times TIME",
     .store = [](const Value&, Request& r) { r.times = true; }},
    {.name = "--help",
     .short_name = "-h",
     .values = Values::kFlag,
     .commands = kAnswers | kTicks | kDelay | kExplain,
     .help = "show this help and exit",
     .store = [](const Value&, Request& r) { r.command = Command::kHelp; }},
    {.name = "--version",
     .values = Values::kFlag,
     .commands = kAnswers | kTicks | kDelay | kExplain,
     .help = "show the version and exit",
     .store = [](const Value&, Request& r) { r.command = Command::kVersion; }},
};

// The chip's rejection, or nothing when it names a family, "all" or one of
// a family's generators.
std::optional<std::string> CheckChip(const OptionRow& option,
                                     std::string_view chip, Command command) {
  const std::string_view name = ChipName(chip);
  const Chip* found = FindChip(name);
  if (name != "all" && found == nullptr) {
    return Rejection(option.name, chip,
                     fmt::format("not {}", JoinedOr(ValueWords(option, chip))));
  }
  if (chip.find(':') != chip.npos && !IsGenerator(chip, IsTick(command))) {
    return Rejection(
        option.name, chip,
        fmt::format("no such generator (see {} chips)", kProgramName));
  }
  // delay's --chip picks a core (mcs51/hardware/cores.h); "all" is none.
  if (command == Command::kDelay && CoreClockWords(chip).empty()) {
    return Rejection(option.name, chip, "not a family of the catalogue");
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ChipProblem(std::string_view chip, Command command) {
  if (chip.empty()) return std::nullopt;
  for (const OptionRow& option : kOptionRows) {
    if (option.values == Values::kChip) return CheckChip(option, chip, command);
  }
  return std::nullopt;
}

std::span<const CommandRow> CommandRows() { return kCommandRows; }

std::vector<std::string> CommandNames() {
  std::vector<std::string> names;
  for (const CommandRow& command : kCommandRows) {
    if (!command.name.empty()) names.emplace_back(command.name);
  }
  return names;
}

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

}  // namespace cli
