#pragma once
// The command line as data: one row per command and one per option. The
// rows drive the parsing, each value read once into its own field of the
// request, --help and so the manual page, the bash completion written at
// build time, and the rejections' words. A family's timers and clocks, and
// the names --chip takes, come from the catalogue, so a new family needs no
// change here.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/reading.h"
#include "mcs51/answers/reports.h"

namespace cli {

struct Request;

enum class Command {
  kSettings,  // FREQ BAUD, the default
  kTable,
  kCrystals,
  kCode,
  kChips,     // the catalogue's families and generators
  kTick,      // FREQ PERIOD: every timer setting for a tick
  kTickCode,  // tick code for the best one
  kDelay,     // FREQ TIME: a delay exact to the cycle
  kExplain,   // FREQ [FILE]: pasted init code read back
  kHelp,
  kVersion,
};

// A set of commands, one bit each.
using Commands = unsigned;
constexpr Commands Bit(Command command) {
  return 1u << static_cast<unsigned>(command);
}

struct CommandRow {
  Command command;
  std::string_view name;       // as typed; empty for FREQ BAUD
  std::string_view arguments;  // "FREQ BAUD"; "BAUD..." takes one or more
  std::string_view help;
  // The answer it writes, and so the formats it takes; none for code.
  std::optional<mcs51::Document> document = std::nullopt;
};

// Where an option's values come from.
enum class Values {
  kFlag,     // none: -h/--help, --version
  kSwitch,   // none, and no answer of its own: --times
  kName,     // a C identifier
  kChoices,  // the words of `choices`
  kTimers,   // Setting::timer of the settings --chip leaves
  kClocks,   // Setting::clocks of the same
  kChip,     // a catalogue family or "all", optionally NAME:GENERATOR
  kPeer,     // a peer of mcs51::Peers()
  kModes,    // TickMode::key of the tick settings --chip leaves
  kNumber,   // one number, read by `read`
  kList,     // numbers separated by commas, each read by `read`
  kPath,     // a file or directory's name, not empty
  kDefine,   // NAME, NAME=VALUE or NAME(PARAMS)=VALUE, NAME a C name
  kKinds,    // kinds of finding separated by commas
};

// A value as its row reads it, once: the text, the choice's place among
// the words, the number (a timer's or clock's too), or the list's numbers.
struct Value {
  std::string_view text;
  std::size_t index = 0;
  double number = 0.0;
  std::vector<double> numbers;
};

// Why an option is refused with some commands, in place of "only with"
// its own: {chips, "not for chips, which lists every family"}.
struct Elsewhere {
  Commands commands;
  std::string_view text;
};

struct OptionRow {
  std::string_view name;             // "--timer"
  std::string_view short_name = {};  // "-h", or empty
  Values values = Values::kFlag;
  std::span<const std::string_view> choices = {};     // kChoices
  calc::Reading (*read)(std::string_view) = nullptr;  // kNumber, kList
  double below = 0.0;             // kNumber: the bound it stays under, if not 0
  std::string_view item = {};     // a list item's name in rejections: BAUD
  std::string_view metavar = {};  // help's name for the value, if not the
                                  // choices: "PERCENT"
  std::string_view takes = {};    // what the value is, in rejections, if
                                  // not the choices: "a family, see chips"
  Commands commands = 0;          // where it may be given
  std::span<const Elsewhere> elsewhere = {};  // why it is refused with some
                                              // others, if not "only with"
  std::string_view needs = {};                // an option it is refused without
  bool repeatable = false;                    // a list that may be given again
  bool in_order = false;  // taken in the order given among the rows that are
  std::string_view help = {};         // "{}" stands for the values: "8051, ..."
  std::string_view suggestions = {};  // completion words for a number
  void (*store)(const Value& value, Request& request) = nullptr;
};

// Every command, FREQ BAUD first, in the order help lists them.
std::span<const CommandRow> CommandRows();

// The commands' names, in the rows' order.
//   CommandNames() -> {"table", "crystals", "code", ..., "explain"}
std::vector<std::string> CommandNames();

// Every option, in the order help lists them.
std::span<const OptionRow> OptionRows();

// The row of `name` ("--timer" or "-h"), or nullptr.
//   FindOption("--baud")->item -> "BAUD";  FindOption("--x") -> nullptr
const OptionRow* FindOption(std::string_view name);

// A command's arguments, a word each.
//   ArgumentNames(code) -> {"FREQ", "BAUD"};  ArgumentNames(crystals) ->
//   {"BAUD..."}, which takes one or more
std::vector<std::string> ArgumentNames(const CommandRow& command);

// A command as its usage names it.
//   UsageText(table) -> "table FREQ";  UsageText(FREQ BAUD) -> "FREQ BAUD"
std::string UsageText(const CommandRow& command);

// The words an option takes with `command`: its choices, the timers or
// clocks of the settings `chip` leaves (without one, the classic
// settings'; an unknown chip leaves none), the chips' names and "all", or
// the peers' names and aliases. Read values have none. tick and tick-code
// take the tick settings' timers, clocks and modes; delay's --clock the
// clocks per cycle of a core the family's parts run (mcs51/hardware/cores.h).
//   ValueWords(--timer, "")                  -> {"1", "2"}
//   ValueWords(--timer, "", kTick)           -> {"0", "1", "2"}
//   ValueWords(--clock, "stc15")             -> {"12", "1"}
//   ValueWords(--clock, "", kDelay)          -> {"12", "6"}
//   ValueWords(--chip, "")                   -> {"8051", "8052", ..., "all"}
std::vector<std::string> ValueWords(const OptionRow& option,
                                    std::string_view chip,
                                    Command command = Command::kSettings);

// Whether `command` is one of the tick commands, whose --timer, --clock and
// --mode are the tick settings'.
//   IsTick(Command::kTickCode) -> true;  IsTick(Command::kCode) -> false
bool IsTick(Command command);

// The rejection of an option given without its value; `chip` is the
// --chip given, whose own rejection comes first where the values follow it.
//   NeedsValue(--timer, "")      -> "--timer: needs a value (1 or 2)"
//   NeedsValue(--timer, "stc12") -> "--timer: needs a value (0 or 1)"
//   NeedsValue(--chip, "")       -> "--chip: needs a value (a family, see
//                                   chips)"
//   NeedsValue(--timer, "z80")   -> "--chip \"z80\": not 8051, ..."
std::string NeedsValue(const OptionRow& option, std::string_view chip,
                       Command command = Command::kSettings);

// The rejection of the --chip given with `command`, if it is bad: the
// timers and clocks that follow it are then unknown. delay takes a family
// whose core mcs51/hardware/cores.h knows.
//   ChipProblem("z80", kCode)  -> "--chip \"z80\": not 8051, ..."
//   ChipProblem("all", kDelay) -> "--chip \"all\": not a family of the
//                                 catalogue"
//   ChipProblem("", kDelay)    -> nothing
std::optional<std::string> ChipProblem(std::string_view chip, Command command);

// The value as help shows it after the name.
//   MetavarText(--clock) -> "12|6|1";  MetavarText(--baud) -> "LIST"
std::string MetavarText(const OptionRow& option);

// The help line, with the values in place of "{}", a peer's aliases beside
// it.
//   HelpLine(--chip) -> "only that family's ...: 8051, 8052, ... or all; ..."
//   HelpLine(--peer) -> "...: ft232r, ..., cp2102 (also as cp210x), ..."
std::string HelpLine(const OptionRow& option);

// Reads `text` as `option` takes it and stores it in `request`, or, with
// no request, only checks it: the rejection, or nothing when it is good.
// `chip` is the --chip given, for the values that follow it.
//   Take(--clock, "4", "", &r)      -> "--clock \"4\": not 12, 6 or 1"
//   Take(--clock, "4", "stc15", &r) -> "--clock \"4\": not 12 or 1"
//   Take(--baud, "9600,", "", &r)   -> "BAUD \"\": not a number"
//   Take(--chip, "z80", "", &r)     -> "--chip \"z80\": not 8051, ..."
//   Take(--timer, "2", "", &r)      -> nothing; r.filter.timer == 2
//   Take(--clock, "6", "8051", kDelay, &r) -> "--clock \"6\": not 12"
std::optional<std::string> Take(const OptionRow& option, std::string_view text,
                                std::string_view chip, Command command,
                                Request* request);
inline std::optional<std::string> CheckValue(
    const OptionRow& option, std::string_view text, std::string_view chip,
    Command command = Command::kSettings) {
  return Take(option, text, chip, command, nullptr);
}

// The rejection of an option given with a command it does not apply to:
// its reason there, or the commands it is for.
//   Misplaced(--smod, tick)   -> "--smod: not for tick, tick-code and
//                                delay, which use no UART"
//   Misplaced(--timer, delay) -> "--timer: not for delay, whose loops use
//                                no timer"
//   Misplaced(--frame, code)  -> "--frame: only with FREQ BAUD and table"
std::string Misplaced(const OptionRow& option, Command given);

// Every rejection has one form: what is wrong, a colon, why. What is wrong
// is a name, an argument in quotes, or both.
//   Rejection("--timer", "needs a value (1 or 2)")
//                           -> "--timer: needs a value (1 or 2)"
//   Rejection("FREQ", "abc", "not a number") -> "FREQ \"abc\": not a number"
//   Rejection("", "--bogus", "unknown option") -> "\"--bogus\": unknown option"
std::string Rejection(std::string_view name, std::string_view problem);
std::string Rejection(std::string_view name, std::string_view text,
                      std::string_view problem);
// A number that calc/reading.h refuses, its problem in words.
//   Rejection("BAUD", "0", kNotPositive)
//       -> "BAUD \"0\": must be greater than zero"
std::string Rejection(std::string_view name, std::string_view text,
                      calc::ReadProblem problem);

// An argument as a message quotes it: in double quotes, with control
// characters, quotes and backslashes escaped so that the message stays on
// one line and reads back unambiguously.
//   Quoted("12abc") -> "\"12abc\"";  Quoted("a\nb") -> "\"a\\nb\""
//   Quoted("\x01")  -> "\"\\x01\""
std::string Quoted(std::string_view text);

}  // namespace cli
