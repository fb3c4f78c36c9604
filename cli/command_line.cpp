#include "cli/command_line.h"

#include <fmt/format.h>
#include <CLI/CLI.hpp>

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/reading.h"
#include "cli/words.h"

namespace cli {
namespace {

ParseResult Reject(std::string error) {
  ParseResult result;
  result.error = std::move(error);
  return result;
}

// "FREQ '12abc' is not a number".
std::string Problem(std::string_view name, std::string_view text,
                    std::string_view problem) {
  return fmt::format("{} {} {}", name, Quoted(text), problem);
}

// CLI11 words some errors over several lines; ours are one line each.
std::string OneLine(std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      if (!line.empty() && line.back() != ' ') line += "; ";
    } else {
      line += c;
    }
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == ';')) {
    line.pop_back();
  }
  return line;
}

// A choice among a few words, as --timer 1|2 and its kind take it.
std::optional<std::string> Choose(const CLI::Option* option,
                                  const std::string& value,
                                  std::initializer_list<std::string_view> ok,
                                  std::string_view name) {
  if (option->count() == 0) return std::nullopt;
  if (std::find(ok.begin(), ok.end(), value) != ok.end()) return std::nullopt;
  std::string choices;
  for (std::string_view word : ok) {
    if (!choices.empty()) choices += ", ";
    choices += word;
  }
  return fmt::format("{} {} is not one of {}", name, Quoted(value), choices);
}

std::string FilterText(const Filter& filter) {
  std::string text;
  if (filter.timer) text += fmt::format(" --timer {}", *filter.timer);
  if (filter.smod) text += fmt::format(" --smod {}", *filter.smod);
  if (filter.clocks) text += fmt::format(" --clock {}", *filter.clocks);
  return text;
}

// CLI11's words for the two mistakes it catches most, made plainer.
std::string ParseErrorText(const CLI::ParseError& error) {
  const std::string text = OneLine(error.what());
  const std::size_t colon = text.find(':');
  const std::string_view name = std::string_view(text).substr(0, colon);
  if (colon != std::string::npos && name.starts_with("--")) {
    const std::string_view rest = std::string_view(text).substr(colon);
    if (rest.ends_with("missing")) return fmt::format("{} needs a value", name);
    if (rest.find("At Most") != std::string_view::npos) {
      return fmt::format("{} is given more than once", name);
    }
  }
  return text;
}

std::vector<std::string> SplitAtCommas(const std::vector<std::string>& lists) {
  std::vector<std::string> items;
  for (const std::string& list : lists) {
    std::size_t start = 0;
    for (std::size_t comma; (comma = list.find(',', start)) != list.npos;
         start = comma + 1) {
      items.push_back(list.substr(start, comma - start));
    }
    items.push_back(list.substr(start));
  }
  return items;
}

bool StartsWithLetter(std::string_view text) {
  return !text.empty() && ((text[0] >= 'a' && text[0] <= 'z') ||
                           (text[0] >= 'A' && text[0] <= 'Z'));
}

}  // namespace

ParseResult ParseArguments(std::span<const std::string> args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "-h" || arg == "--help" || arg == "--version") {
      ParseResult result;
      result.ok = true;
      result.request.command =
          arg == "--version" ? Command::kVersion : Command::kHelp;
      return result;
    }
  }

  CLI::App app{"", kProgramName};
  app.set_help_flag();  // answered above, in our words
  app.require_subcommand(0, 1);
  std::vector<std::string> words;
  std::string timer, smod, clock, format, tolerance;
  app.add_option("words", words);
  CLI::Option* timer_option = app.add_option("--timer", timer);
  CLI::Option* smod_option = app.add_option("--smod", smod);
  CLI::Option* clock_option = app.add_option("--clock", clock);
  CLI::Option* format_option = app.add_option("--format", format);
  CLI::Option* tolerance_option = app.add_option("--tolerance", tolerance);

  std::string table_frequency;
  std::vector<std::string> table_rates;
  CLI::App* table = app.add_subcommand("table");
  table->add_option("FREQ", table_frequency)->required();
  // Split here rather than by CLI11, which drops empty items unseen.
  table->add_option("--baud", table_rates)
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

  std::vector<std::string> crystal_rates;
  CLI::App* crystals = app.add_subcommand("crystals");
  crystals->add_option("BAUD", crystal_rates)->required();

  std::string code_frequency, code_baud;
  CLI::App* code = app.add_subcommand("code");
  code->add_option("FREQ", code_frequency)->required();
  code->add_option("BAUD", code_baud)->required();

  // The filters and --format may stand before or after the command.
  for (CLI::App* command : {table, crystals, code}) {
    command->set_help_flag();
    command->fallthrough();
  }

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    return Reject(ParseErrorText(error));
  }

  ParseResult result;
  Request& request = result.request;
  const bool has_command = !app.get_subcommands().empty();
  if (has_command && !words.empty()) {
    return Reject(fmt::format(
        "unexpected argument {} beside the command {}: give FREQ BAUD or one "
        "command, not both",
        Quoted(words.front()), app.get_subcommands().front()->get_name()));
  }

  if (auto problem = Choose(timer_option, timer, {"1", "2"}, "--timer")) {
    return Reject(*problem);
  }
  if (auto problem = Choose(smod_option, smod, {"0", "1"}, "--smod")) {
    return Reject(*problem);
  }
  if (auto problem = Choose(clock_option, clock, {"12", "6", "1"}, "--clock")) {
    return Reject(*problem);
  }
  if (auto problem =
          Choose(format_option, format, {"text", "csv", "json"}, "--format")) {
    return Reject(*problem);
  }
  if (timer_option->count() > 0) request.filter.timer = timer == "1" ? 1 : 2;
  if (smod_option->count() > 0) request.filter.smod = smod == "1" ? 1 : 0;
  if (clock_option->count() > 0) {
    request.filter.clocks = clock == "12" ? 12 : clock == "6" ? 6 : 1;
  }
  if (Matching(request.filter).empty()) {
    return Reject(fmt::format(
        "no setting matches{}: SMOD is Timer 1's, and Timer 2 has 12 and 6 "
        "clocks only",
        FilterText(request.filter)));
  }
  if (format == "csv") request.format = Format::kCsv;
  if (format == "json") request.format = Format::kJson;
  if (tolerance_option->count() > 0) {
    const Reading reading = ReadPercent(tolerance);
    if (!reading.value) {
      return Reject(Problem("--tolerance", tolerance, reading.problem));
    }
    request.tolerance_percent = *reading.value;
  }

  auto read_frequency = [&](const std::string& text) {
    const Reading reading = ReadFrequency(text);
    if (!reading.value) {
      result.error = Problem("FREQ", text, reading.problem);
      return false;
    }
    request.frequency_mhz = *reading.value;
    return true;
  };
  auto read_rates = [&](const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
      const Reading reading = ReadBaud(text);
      if (!reading.value) {
        result.error = Problem("BAUD", text, reading.problem);
        return false;
      }
      request.rates.push_back(*reading.value);
    }
    return true;
  };

  if (table->parsed()) {
    request.command = Command::kTable;
    if (!read_frequency(table_frequency)) return result;
    if (table_rates.empty()) {
      request.rates.assign(kStandardRates.begin(), kStandardRates.end());
    } else if (!read_rates(SplitAtCommas(table_rates))) {
      return result;
    }
  } else if (crystals->parsed()) {
    request.command = Command::kCrystals;
    if (!read_rates(crystal_rates)) return result;
  } else if (code->parsed()) {
    request.command = Command::kCode;
    if (format_option->count() > 0) {
      return Reject(
          "--format applies to FREQ BAUD, table and crystals; "
          "code writes C");
    }
    if (!read_frequency(code_frequency) || !read_rates({code_baud})) {
      return result;
    }
  } else {
    request.command = Command::kSettings;
    if (words.empty()) {
      return Reject("nothing to do: give FREQ BAUD or a command (see --help)");
    }
    const Reading first = ReadFrequency(words[0]);
    if (!first.value && first.problem == "is not a number" &&
        StartsWithLetter(words[0])) {
      return Reject(fmt::format(
          "unknown command {}: the commands are table, crystals and code, "
          "or give FREQ BAUD",
          Quoted(words[0])));
    }
    if (!read_frequency(words[0])) return result;
    if (words.size() < 2) {
      return Reject(
          fmt::format("BAUD is missing after FREQ {}", Quoted(words[0])));
    }
    if (words.size() > 2) {
      return Reject(fmt::format("unexpected argument {} after FREQ BAUD",
                                Quoted(words[2])));
    }
    if (!read_rates({words[1]})) return result;
  }
  result.ok = true;
  return result;
}

}  // namespace cli
