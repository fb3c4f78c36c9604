#include "mcs51/code/code_parts.h"

#include <fmt/format.h>

#include <algorithm>
#include <string_view>

#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

// The baud code's opening sentences, numbers in by position. A classic
// part's names its timer; another maker's, its generator and document.
constexpr Words kUartAt{"UART mode 1 at {0} baud, crystal {1} MHz.",
                        "UART 方式 1，{0} 波特，晶振 {1} MHz。"};
constexpr Words kTimer1{"Timer 1 in mode 2, SMOD {0}",
                        "定时器 1 方式 2，SMOD {0}"};
constexpr Words kTimer2{"Timer 2 as baud-rate generator",
                        "定时器 2 作波特率发生器"};
constexpr Words kPerCycle{"{0}, {1} clock{2} per machine cycle: {3}.",
                          "{0}，每机器周期 {1} 个时钟：{3}。"};
constexpr Words kMakerUartAt{"UART mode 1 at {0} baud, {1} MHz, {2}.",
                             "UART 方式 1，{0} 波特，{1} MHz，{2}。"};
constexpr Words kPerCount{"{0}, {1} clock{2} per count{3}: {4}.",
                          "{0}，每计数 {1} 个时钟{3}：{4}。"};
constexpr Words kSmod{", SMOD {0}", "，SMOD {0}"};
constexpr Words kRegister{"register", "寄存器"};
constexpr Words kReload{"reload", "重装值"};
constexpr Words kStep{"{0}, {1} 0x{2:02X}", "{0}，{1} 0x{2:02X}"};
constexpr Words kActual{"Actual rate {0:.2f} baud, error {1}.",
                        "实际波特率 {0:.2f}，误差 {1}。"};

// "reload 0xFD"; with a step, "reload 0xD8, BAUD_E 0x0B".
std::string RegisterWords(const Outcome& outcome, Tongue t) {
  const Setting& s = *outcome.setting;
  const std::string text =
      fmt::format("{} 0x{}", (s.timer == 0 ? kRegister : kReload).In(t),
                  ReloadHex(outcome.reload, s.profile.modulus));
  if (outcome.step < 0) return text;
  return Say(kStep, text, s.generator->step_name, outcome.step).In(t);
}

// The register a generator's reload goes to, as the header names it:
// "TH1"; a pair, RCAP2H:RCAP2L, by its stem "RCAP2".
std::string_view ReloadRegister(const BaudMode& g) {
  for (const Write& w : g.writes) {
    if (w.source == Source::kReloadHigh) {
      return w.reg.substr(0, w.reg.size() - 1);
    }
  }
  for (const Write& w : g.writes) {
    if (w.source == Source::kReloadLow) return w.reg;
  }
  return {};
}

std::vector<std::string> CoreHeader(double frequency_mhz, double baud,
                                    const Outcome& outcome,
                                    std::string_view writer, Tongue t) {
  const Setting& s = *outcome.setting;
  const std::string hex = ReloadHex(outcome.reload, s.profile.modulus);
  return {Say(kUartAt, ShortestText(baud), ShortestText(frequency_mhz)).In(t),
          Say(kPerCycle,
              s.timer == 1 ? Say(kTimer1, s.smod).In(t)
                           : std::string(kTimer2.In(t)),
              s.clocks, s.clocks == 1 ? "" : "s",
              fmt::format("{} = 0x{}", ReloadRegister(*s.generator), hex))
              .In(t),
          Say(kActual, outcome.actual_baud, PercentText(outcome.error_percent))
              .In(t),
          Say(kWrittenBy, writer).In(t)};
}

std::vector<std::string> MakerHeader(double frequency_mhz, double baud,
                                     const Outcome& outcome,
                                     std::string_view writer, Tongue t) {
  const Setting& s = *outcome.setting;
  return {Say(kMakerUartAt, ShortestText(baud), ShortestText(frequency_mhz),
              s.chip->family.en)
              .In(t),
          Say(kPerCount, s.generator->text, s.clocks, s.clocks == 1 ? "" : "s",
              s.smod >= 0 ? Say(kSmod, s.smod).In(t) : std::string(),
              RegisterWords(outcome, t))
              .In(t),
          Say(kActual, outcome.actual_baud, PercentText(outcome.error_percent))
              .In(t),
          Say(kAfter, s.chip->document).In(t), Say(kWrittenBy, writer).In(t)};
}

// One UTF-8 character: its length in bytes and columns (two for Chinese
// characters and full-width punctuation), and how it binds.
struct Character {
  std::size_t bytes;
  bool wide, closing, opening;
};

Character CharacterAt(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t bytes = std::min<std::size_t>(
      text.size(), lead < 0xC0 ? 1 : (lead < 0xE0 ? 2 : (lead < 0xF0 ? 3 : 4)));
  char32_t code = bytes == 1 ? lead : lead & (0x7F >> bytes);
  for (std::size_t i = 1; i < bytes; ++i) {
    code = code << 6 | (static_cast<unsigned char>(text[i]) & 0x3F);
  }
  const bool wide = (code >= 0x2E80 && code <= 0x9FFF) ||
                    (code >= 0xF900 && code <= 0xFAFF) ||
                    (code >= 0xFF00 && code <= 0xFF60) ||
                    (code >= 0xFFE0 && code <= 0xFFE6);
  constexpr std::u32string_view kClosing = U"，。、：；！？）”」";
  constexpr std::u32string_view kOpening = U"（“「";
  return {bytes, wide, kClosing.find(code) != kClosing.npos,
          kOpening.find(code) != kOpening.npos};
}

// Where a line may break: at a space, and around each Chinese character,
// though never before closing punctuation nor after opening.
struct Piece {
  std::string_view text;
  std::size_t columns;
  bool spaced;  // a space before it
};

std::vector<Piece> Pieces(std::string_view line) {
  std::vector<Piece> pieces;
  bool spaced = false;
  Character before{};
  for (std::size_t at = 0; at < line.size();) {
    if (line[at] == ' ') {
      spaced = true;
      ++at;
      continue;
    }
    const Character c = CharacterAt(line.substr(at));
    const std::size_t columns = c.wide ? 2 : 1;
    // A word runs on; a wide character stands alone.
    const bool joined = c.closing || before.opening ||
                        (!c.wide && before.bytes > 0 && !before.wide);
    if (!pieces.empty() && !spaced && joined) {
      Piece& last = pieces.back();
      last.text = line.substr(last.text.data() - line.data(),
                              last.text.size() + c.bytes);
      last.columns += columns;
    } else {
      pieces.push_back({line.substr(at, c.bytes), columns, spaced});
    }
    before = c;
    spaced = false;
    at += c.bytes;
  }
  return pieces;
}

}  // namespace

std::vector<std::string> HeaderLines(double frequency_mhz, double baud,
                                     const Outcome& outcome,
                                     std::string_view writer, Tongue language) {
  const Setting& s = *outcome.setting;
  if (!s.chip->classic) {
    return MakerHeader(frequency_mhz, baud, outcome, writer, language);
  }
  std::vector<std::string> lines =
      CoreHeader(frequency_mhz, baud, outcome, writer, language);
  if (auto core = CoreLine(*s.chip, language)) {
    lines.insert(lines.begin(), std::move(*core));
  }
  return lines;
}

std::string AsmOpening(const std::vector<std::string>& lines, const Words& note,
                       Tongue language) {
  std::string code = AsmComment(lines);
  if (!note.en.empty()) {
    code += "\n" + AsmComment(BrokenLines(note.In(language)));
  }
  return code;
}

std::string CComment(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += (text.empty() ? "/* " : "\n * ") + line;
  }
  return text + " */\n";
}

WriteInputs InputsOf(const Outcome& outcome) {
  const Setting& s = *outcome.setting;
  return {outcome.reload, outcome.step, 8, s.unit->clocks[s.choice].bits,
          s.smod};
}

WriteInputs InputsOf(const TickOutcome& outcome) {
  const TickSetting& s = *outcome.setting;
  return {outcome.reload, -1, s.mode->low_bits, s.timer->clocks[s.choice].bits,
          -1};
}

int WriteValue(const Write& write, const WriteInputs& inputs) {
  int value = write.value;
  switch (write.source) {
    case Source::kReloadLow:
      value |= inputs.reload & ((1 << inputs.low_bits) - 1);
      break;
    case Source::kReloadHigh:
      value |= (inputs.reload >> inputs.low_bits) & 0xFF;
      break;
    case Source::kStep:
      value |= inputs.step & 0xFF;
      break;
    case Source::kFixed:
      break;
  }
  if (write.choice_slot >= 0) value |= inputs.bits[write.choice_slot];
  if (inputs.smod == 1) value |= write.smod_bits;
  return value & write.mask;
}

std::vector<RegisterValue> ValuesOf(std::span<const Write> writes,
                                    const WriteInputs& inputs) {
  std::vector<RegisterValue> values;
  for (const Write& write : writes) {
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const auto& v) { return v.name == write.reg; });
    if (it == values.end()) {
      values.push_back({write.reg, 0});
      it = values.end() - 1;
    }
    it->value = (it->value & ~write.mask & 0xFF) | WriteValue(write, inputs);
  }
  return values;
}

std::optional<std::string> CoreLine(const Chip& chip, Tongue language) {
  if (!chip.classic || chip.cores.empty() || chip.cores.front()->clocks == 12) {
    return std::nullopt;
  }
  constexpr Words kNeeds{"Needs {}.", "需要{}。"};
  return Say(kNeeds, chip.cores.front()->needs).In(language);
}

std::string COpening(const std::vector<std::string>& lines, const Chip& chip,
                     const Words& note, std::span<const Write> writes,
                     Tongue language, std::string_view sdcc,
                     std::string_view keil) {
  std::string code = CComment(lines) + "#ifdef __SDCC\n#include <8052.h>\n" +
                     std::string(sdcc) +
                     "#else\n#include <reg52.h> /* Keil C51 */\n" +
                     std::string(keil) + "#endif\n";
  std::string extra = CDeclarations(chip, writes);
  if (!note.en.empty()) {
    extra.insert(0, CComment(BrokenLines(note.In(language))));
  }
  if (!extra.empty()) code += "\n" + extra;
  return code;
}

std::vector<std::string> WrappedLines(const std::vector<std::string>& lines,
                                      std::size_t width) {
  std::vector<std::string> wrapped;
  for (const std::string& line : lines) {
    wrapped.emplace_back();
    std::size_t columns = 0;
    for (const Piece& piece : Pieces(line)) {
      std::string& last = wrapped.back();
      const std::size_t gap = piece.spaced && columns > 0 ? 1 : 0;
      if (columns > 0 && columns + gap + piece.columns > width) {
        wrapped.emplace_back(piece.text);
        columns = piece.columns;
        continue;
      }
      last += std::string(gap, ' ') + std::string(piece.text);
      columns += gap + piece.columns;
    }
  }
  return wrapped;
}

std::string CStatement(const Write& write, int value, int smod,
                       Tongue language) {
  std::string text;
  const int keep = ~write.mask & 0xFF;
  if (!write.bit.empty()) {
    text = fmt::format("{} = 1;", write.bit);
  } else if (write.mask == 0xFF) {
    text = fmt::format("{} = 0x{:02X};", write.reg, value);
  } else if (value == write.mask) {
    text = fmt::format("{} |= 0x{:02X};", write.reg, value);
  } else if (value == 0) {
    text = fmt::format("{} &= 0x{:02X};", write.reg, keep);
  } else {
    text = fmt::format("{0} = ({0} & 0x{1:02X}) | 0x{2:02X};", write.reg, keep,
                       value);
  }
  Words comment = write.comment;
  if (smod >= 0 && !write.c_comment_by_smod[smod].en.empty()) {
    comment = write.c_comment_by_smod[smod];
  }
  if (comment.en.empty()) return fmt::format("    {}\n", text);
  return fmt::format("    {:<28} /* {} */\n", text, comment.In(language));
}

std::string CDeclarations(const Chip& chip, std::span<const Write> writes) {
  std::vector<std::string_view> done;
  std::string code;
  for (const Write& write : writes) {
    if (std::find(done.begin(), done.end(), write.reg) != done.end()) continue;
    done.push_back(write.reg);
    for (const Register& reg : chip.registers) {
      if (reg.name != write.reg) continue;
      code += reg.space == MemorySpace::kXdata
                  ? fmt::format(
                        "#ifdef __SDCC\n__xdata __at(0x{0:04X}) volatile "
                        "unsigned char {1};\n#else\nvolatile unsigned char "
                        "xdata {1} _at_ 0x{0:04X};\n#endif\n",
                        reg.address, reg.name)
                  : fmt::format(
                        "#ifdef __SDCC\n__sfr __at(0x{0:02X}) {1};\n#else\n"
                        "sfr {1} = 0x{0:02X};\n#endif\n",
                        reg.address, reg.name);
    }
  }
  return code;
}

}  // namespace mcs51
