#include "mcs51/answers/answers.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include "mcs51/code/init_code.h"
#include "mcs51/code/tick_code.h"
#include "mcs51/settings/text.h"
#include "mcs51/settings/tick_text.h"

namespace mcs51 {
namespace {

// Colours: green, yellow, red.
constexpr MarkRow kMarkRows[] = {
    {Mark::kExact, "exact", "=", "32", {"exact", "精确"}},
    {Mark::kClose, "close", "~", "32", {"within {} %", "{} % 以内"}},
    {Mark::kWithin, "within", "+", "33", {"within {} %", "{} % 以内"}},
    {Mark::kBeyond, "beyond", "!", "31", {"beyond {} %", "超出 {} %"}},
    {Mark::kOutOfRange,
     "out-of-range",
     "--",
     "31",
     {"out of range", "超出范围"}},
};

constexpr LinkRow kLinkRows[] = {
    {LinkMark::kWorks, "works", "*", "32", {"works", "可用"}},
    {LinkMark::kMarginal, "marginal", "?", "33", {"marginal", "勉强"}},
    {LinkMark::kFails, "fails", "x", "31", {"fails", "不通"}},
};

using P = calc::ReadProblem;
constexpr ProblemRow kProblemRows[] = {
    {P::kNone, "", {"", ""}},
    {P::kNotANumber, "not-a-number", {"not a number", "不是数"}},
    {P::kNotFinite, "not-finite", {"not a finite number", "不是有限的数"}},
    {P::kOutOfRange, "out-of-range", {"out of range", "超出范围"}},
    {P::kNotPositive,
     "not-positive",
     {"must be greater than zero", "必须大于零"}},
    {P::kNegative, "negative", {"must not be negative", "不能为负"}},
    {P::kNoUnit,
     "no-unit",
     {"needs a unit: s, ms, us, Hz or kHz", "需要单位：s、ms、us、Hz 或 kHz"}},
    {P::kNoTimeUnit,
     "no-time-unit",
     {"needs a unit: s, ms, us or µs", "需要单位：s、ms、us 或 µs"}},
};

template <typename Row, typename Key, std::size_t N>
const Row& Find(const Row (&rows)[N], Key key) {
  for (const Row& row : rows) {
    if (row.mark == key) return row;
  }
  return rows[N - 1];
}

// "NAME=value;..." as machines take the registers.
std::string Pairs(const std::vector<RegisterValue>& values) {
  std::string text;
  for (const RegisterValue& r : values) {
    text += fmt::format("{}{}={}", text.empty() ? "" : ";", r.name, r.value);
  }
  return text;
}

// ---- What FREQ BAUD's and tick's rows share ----

using S = SettingRow;
using T = TickRow;
const Setting& Of(const S& r) { return *r.outcome.setting; }
const TickSetting& Of(const T& r) { return *r.outcome.setting; }
double Modulus(const S& r) { return Of(r).profile.modulus; }
double Modulus(const T& r) { return Of(r).mode->modulus; }
std::string Label(const S& r) { return SettingLabel(Of(r)); }
std::string Label(const T& r) { return TickLabel(Of(r)); }
std::string Choice(const S& r) { return ChoiceLabel(Of(r)); }
std::string Choice(const T& r) { return TickChoiceLabel(Of(r)); }
std::vector<RegisterValue> Registers(const S& r) {
  return RegisterValues(r.outcome);
}
std::vector<RegisterValue> Registers(const T& r) {
  return TickRegisterValues(r.outcome);
}

template <typename R>
Value IfFits(const R& r, std::string text) {
  return r.outcome.fits ? Value(std::move(text)) : std::nullopt;
}
Value Maybe(const std::optional<double>& value) {
  return value ? Value(ShortestText(*value)) : std::nullopt;
}

// The columns of both, each a template over the row.
template <typename R>
constexpr Column<R> kSetting{.key = "setting",
                             .header = {"setting", "设置"},
                             .cell = [](const R& r) { return Value(Label(r)); },
                             .align = Align::kLeft,
                             .part = Part::kChip,
                             .for_machines = false};
template <typename R>
constexpr Column<R> kClocks{
    .key = "clocks",
    .header = {"clocks", "时钟数"},
    .cell = [](const R& r) { return Value(std::to_string(Of(r).clocks)); },
    .type = JsonType::kInteger};
template <typename R>
constexpr Column<R> kReload{
    .key = "reload",
    .cell =
        [](const R& r) { return IfFits(r, std::to_string(r.outcome.reload)); },
    .type = JsonType::kInteger};
template <typename R>
constexpr Column<R> kReloadHex{
    .key = "reload_hex",
    .header = {"reload", "重装值"},
    .cell = [](const R& r) {
      return IfFits(r, ReloadHex(r.outcome.reload, Modulus(r)));
    }};
template <typename R>
constexpr Column<R> kFits{
    .key = "fits",
    .cell = [](const R& r) { return Value(r.outcome.fits ? "true" : "false"); },
    .type = JsonType::kBool};
template <typename R>
constexpr Column<R> kError{.key = "error_percent",
                           .header = {"error", "误差"},
                           .cell =
                               [](const R& r) {
                                 return IfFits(
                                     r, ShortestText(r.outcome.error_percent));
                               },
                           .type = JsonType::kNumber,
                           .shown = Shown::kSignedPercent};
template <typename R>
constexpr Column<R> kMark{
    .key = "mark",
    .header = {"mark", "标记"},
    .cell = [](const R& r) { return Value(RowOf(r.outcome.mark).key); },
    .shown = Shown::kMark,
    .align = Align::kLeft};
template <typename R>
constexpr Column<R> kChip{
    .key = "chip",
    .cell = [](const R& r) { return Value(Of(r).chip->name); },
    .align = Align::kLeft,
    .part = Part::kChip};
template <typename R>
constexpr Column<R> kGenerator{
    .key = "generator",
    .cell = [](const R& r) { return Value(Choice(r)); },
    .align = Align::kLeft,
    .part = Part::kChip};
template <typename R>
constexpr Column<R> kRegisters{
    .key = "registers",
    .cell =
        [](const R& r) {
          return Value(r.outcome.fits ? Pairs(Registers(r)) : "");
        },
    .type = JsonType::kObject,
    .align = Align::kLeft,
    .part = Part::kChip};

// ---- FREQ BAUD ----

const Column<S> kSettingColumns[] = {
    kSetting<S>,
    {.key = "timer",
     .header = {"timer", "定时器"},
     .cell =
         [](const S& r) {
           return Of(r).timer == 0 ? std::nullopt
                                   : Value(std::to_string(Of(r).timer));
         },
     .type = JsonType::kInteger,
     .none = "-"},
    {.key = "smod",
     .header = {"SMOD", "SMOD"},
     .cell =
         [](const S& r) {
           return Of(r).smod < 0 ? std::nullopt
                                 : Value(std::to_string(Of(r).smod));
         },
     .type = JsonType::kInteger,
     .none = "-"},
    kClocks<S>,
    kReload<S>,
    kReloadHex<S>,
    kFits<S>,
    {.key = "actual_baud",
     .header = {"actual baud", "实际波特率"},
     .cell =
         [](const S& r) {
           return IfFits(r, ShortestText(r.outcome.actual_baud));
         },
     .type = JsonType::kNumber,
     .shown = Shown::kFixed},
    kError<S>,
    kMark<S>,
    kChip<S>,
    kGenerator<S>,
    kRegisters<S>,
    {.key = "peer",
     .cell = [](const S& r) { return Value(r.peer); },
     .align = Align::kLeft,
     .part = Part::kPeer},
    {.key = "peer_actual_baud",
     .cell = [](const S& r) { return Maybe(r.link->peer_baud); },
     .type = JsonType::kNumber,
     .shown = Shown::kFixed,
     .part = Part::kPeer},
    {.key = "mismatch_percent",
     .header = {"mismatch", "两端之差"},
     .cell = [](const S& r) { return Maybe(r.link->mismatch_percent); },
     .type = JsonType::kNumber,
     .shown = Shown::kSignedPercent,
     .part = Part::kPeer},
    {.key = "margin_percent",
     .header = {"margin", "采样余量"},
     .cell = [](const S& r) { return Maybe(r.link->margin_percent); },
     .type = JsonType::kNumber,
     .shown = Shown::kPercent,
     .part = Part::kPeer},
    {.key = "link",
     .header = {"link", "链路"},
     .cell =
         [](const S& r) {
           return r.outcome.fits ? Value(RowOf(r.link->mark).key)
                                 : std::nullopt;
         },
     .align = Align::kLeft,
     .part = Part::kPeer},
};

// ---- tick ----

Value Interrupts(const T& r) {
  return IfFits(r, std::to_string(r.outcome.interrupts));
}

const Column<T> kTickColumns[] = {
    kSetting<T>,
    {.key = "timer",
     .header = {"timer", "定时器"},
     .cell =
         [](const T& r) { return Value(std::to_string(Of(r).timer->number)); },
     .type = JsonType::kInteger},
    {.key = "mode",
     .header = {"mode", "模式"},
     .cell = [](const T& r) { return Value(Of(r).mode->key); }},
    kClocks<T>,
    kReload<T>,
    kReloadHex<T>,
    // People read the interrupts beside the reload, machines after the
    // error: one value under two keys.
    {.key = "interrupts",
     .header = {"interrupts", "每周期中断数"},
     .cell = Interrupts,
     .type = JsonType::kInteger,
     .for_machines = false},
    kFits<T>,
    {.key = "actual_period_s",
     .header = {"actual period", "实际周期"},
     .cell =
         [](const T& r) {
           return IfFits(r, ShortestText(r.outcome.actual_period_s));
         },
     .type = JsonType::kNumber,
     .shown = Shown::kPeriod},
    kError<T>,
    {.key = "interrupts_per_period",
     .cell = Interrupts,
     .type = JsonType::kInteger},
    kMark<T>,
    kChip<T>,
    kGenerator<T>,
    kRegisters<T>,
};

}  // namespace

// fast_float, since not every standard library reads doubles with
// from_chars.
double NumberOf(const std::string& text) {
  double number = 0.0;
  fast_float::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

const MarkRow& RowOf(Mark mark) { return Find(kMarkRows, mark); }
std::span<const MarkRow> MarkRows() { return kMarkRows; }
const LinkRow& RowOf(LinkMark mark) { return Find(kLinkRows, mark); }
std::span<const LinkRow> LinkRows() { return kLinkRows; }
std::string_view MarkKey(Mark mark) { return RowOf(mark).key; }
std::string_view LinkKey(LinkMark mark) { return RowOf(mark).key; }

const ProblemRow& RowOf(calc::ReadProblem problem) {
  for (const ProblemRow& row : kProblemRows) {
    if (row.problem == problem) return row;
  }
  return kProblemRows[0];
}

std::string MarkWords(Mark mark, double tolerance_percent, Tongue tongue) {
  const std::string_view words = RowOf(mark).words.In(tongue);
  if (words.find("{}") == words.npos) return std::string(words);
  return fmt::format(
      fmt::runtime(words),
      ShortestText(mark == Mark::kClose ? kClosePercent : tolerance_percent));
}

std::string MarkSigns(double tolerance_percent, Tongue tongue) {
  std::string signs;
  for (const MarkRow& row : kMarkRows) {
    signs += fmt::format("{}{} {}", signs.empty() ? "" : ", ", row.sign,
                         MarkWords(row.mark, tolerance_percent, tongue));
  }
  return signs;
}

std::string LinkSigns(Tongue tongue) {
  std::string signs;
  for (const LinkRow& row : kLinkRows) {
    signs += fmt::format("{}{} {}", signs.empty() ? "" : ", ", row.sign,
                         row.words.In(tongue));
  }
  return signs;
}

std::span<const Column<SettingRow>> SettingColumns() { return kSettingColumns; }
std::span<const Column<TickRow>> TickColumns() { return kTickColumns; }

std::string ShownText(Shown shown, const Value& value, std::string_view none,
                      double tolerance_percent) {
  if (!value) return std::string(none);
  switch (shown) {
    case Shown::kFixed:
      return fmt::format("{:.2f}", NumberOf(*value));
    case Shown::kSignedPercent:
      return PercentText(NumberOf(*value));
    case Shown::kPercent:
      return fmt::format("{:.2f} %", NumberOf(*value));
    case Shown::kPeriod:
      return PeriodText(NumberOf(*value));
    case Shown::kMark:
      for (const MarkRow& row : kMarkRows) {
        if (row.key == *value) {
          return MarkWords(row.mark, tolerance_percent, Tongue::kEnglish);
        }
      }
      break;
    case Shown::kAsIs:
      break;
  }
  return *value;
}
}  // namespace mcs51
