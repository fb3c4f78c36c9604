#include "timers/answers.h"

#include <fmt/format.h>

#include "timers/init_code.h"
#include "timers/text.h"
#include "timers/tick_code.h"
#include "timers/tick_text.h"

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

using Value = std::optional<std::string>;

std::string Whole(int value) { return fmt::format("{}", value); }

// "NAME=value;..." as machines take the registers.
std::string Pairs(const std::vector<RegisterValue>& values) {
  std::string text;
  for (const RegisterValue& r : values) {
    text += fmt::format("{}{}={}", text.empty() ? "" : ";", r.name, r.value);
  }
  return text;
}

// ---- FREQ BAUD ----

using S = SettingRow;
const Setting& Of(const S& r) { return *r.outcome.setting; }
Value IfFits(const S& r, std::string text) {
  return r.outcome.fits ? Value(std::move(text)) : std::nullopt;
}
Value Maybe(const std::optional<double>& value) {
  return value ? Value(ShortestText(*value)) : std::nullopt;
}

constexpr Column<S> kSettingColumns[] = {
    {"setting",
     {"setting", "设置"},
     [](const S& r) { return SettingLabel(Of(r)); },
     nullptr,
     Align::kLeft,
     JsonType::kText,
     Part::kChip},
    {"timer",
     {"timer", "定时器"},
     [](const S& r) { return Of(r).timer == 0 ? "-" : Whole(Of(r).timer); },
     [](const S& r) {
       return Of(r).timer == 0 ? std::nullopt : Value(Whole(Of(r).timer));
     },
     Align::kRight,
     JsonType::kInteger},
    {"smod",
     {"SMOD", "SMOD"},
     [](const S& r) { return Of(r).smod < 0 ? "-" : Whole(Of(r).smod); },
     [](const S& r) {
       return Of(r).smod < 0 ? std::nullopt : Value(Whole(Of(r).smod));
     },
     Align::kRight,
     JsonType::kInteger},
    {"clocks",
     {"clocks", "时钟数"},
     [](const S& r) { return Whole(Of(r).clocks); },
     [](const S& r) { return Value(Whole(Of(r).clocks)); },
     Align::kRight,
     JsonType::kInteger},
    {"reload",
     {"reload", "重装值"},
     [](const S& r) {
       return r.outcome.fits
                  ? ReloadHex(r.outcome.reload, Of(r).profile.modulus)
                  : "--";
     },
     [](const S& r) { return IfFits(r, Whole(r.outcome.reload)); },
     Align::kRight,
     JsonType::kInteger},
    {"reload_hex",
     {},
     nullptr,
     [](const S& r) {
       return IfFits(r, ReloadHex(r.outcome.reload, Of(r).profile.modulus));
     }},
    {"fits",
     {},
     nullptr,
     [](const S& r) { return Value(r.outcome.fits ? "true" : "false"); },
     Align::kRight,
     JsonType::kBool},
    {"actual_baud",
     {"actual baud", "实际波特率"},
     [](const S& r) {
       return r.outcome.fits ? fmt::format("{:.2f}", r.outcome.actual_baud)
                             : "--";
     },
     [](const S& r) { return IfFits(r, ShortestText(r.outcome.actual_baud)); },
     Align::kRight,
     JsonType::kNumber},
    {"error_percent",
     {"error", "误差"},
     [](const S& r) {
       return r.outcome.fits ? PercentText(r.outcome.error_percent) : "--";
     },
     [](const S& r) {
       return IfFits(r, ShortestText(r.outcome.error_percent));
     },
     Align::kRight,
     JsonType::kNumber},
    {"mark",
     {"mark", "标记"},
     [](const S& r) {
       return MarkWords(r.outcome.mark, r.tolerance_percent, Tongue::kEnglish);
     },
     [](const S& r) { return Value(RowOf(r.outcome.mark).key); },
     Align::kLeft},
    {"chip",
     {},
     nullptr,
     [](const S& r) { return Value(Of(r).chip->name); },
     Align::kLeft,
     JsonType::kText,
     Part::kChip},
    {"generator",
     {},
     nullptr,
     [](const S& r) { return Value(ChoiceLabel(Of(r))); },
     Align::kLeft,
     JsonType::kText,
     Part::kChip},
    {"registers",
     {},
     nullptr,
     [](const S& r) {
       return Value(r.outcome.fits ? Pairs(RegisterValues(r.outcome)) : "");
     },
     Align::kLeft,
     JsonType::kObject,
     Part::kChip},
    {"peer",
     {},
     nullptr,
     [](const S& r) { return Value(r.peer); },
     Align::kLeft,
     JsonType::kText,
     Part::kPeer},
    {"peer_actual_baud",
     {},
     nullptr,
     [](const S& r) { return Maybe(r.link->peer_baud); },
     Align::kRight,
     JsonType::kNumber,
     Part::kPeer},
    {"mismatch_percent",
     {"mismatch", "两端之差"},
     [](const S& r) {
       return r.link->mismatch_percent ? PercentText(*r.link->mismatch_percent)
                                       : "--";
     },
     [](const S& r) { return Maybe(r.link->mismatch_percent); },
     Align::kRight,
     JsonType::kNumber,
     Part::kPeer},
    {"margin_percent",
     {"margin", "采样余量"},
     [](const S& r) {
       return r.link->margin_percent
                  ? fmt::format("{:.2f} %", *r.link->margin_percent)
                  : "--";
     },
     [](const S& r) { return Maybe(r.link->margin_percent); },
     Align::kRight,
     JsonType::kNumber,
     Part::kPeer},
    {"link",
     {"link", "链路"},
     [](const S& r) {
       return std::string(r.outcome.fits ? RowOf(r.link->mark).key : "--");
     },
     [](const S& r) {
       return r.outcome.fits ? Value(RowOf(r.link->mark).key) : std::nullopt;
     },
     Align::kLeft,
     JsonType::kText,
     Part::kPeer},
};

// ---- tick ----

using T = TickRow;
const TickSetting& Of(const T& r) { return *r.outcome.setting; }
Value IfFits(const T& r, std::string text) {
  return r.outcome.fits ? Value(std::move(text)) : std::nullopt;
}
std::string Interrupts(const T& r) {
  return r.outcome.fits ? Whole(r.outcome.interrupts) : "--";
}

constexpr Column<T> kTickColumns[] = {
    {"setting",
     {"setting", "设置"},
     [](const T& r) { return TickLabel(Of(r)); },
     nullptr,
     Align::kLeft,
     JsonType::kText,
     Part::kChip},
    {"timer",
     {"timer", "定时器"},
     [](const T& r) { return Whole(Of(r).timer->number); },
     [](const T& r) { return Value(Whole(Of(r).timer->number)); },
     Align::kRight,
     JsonType::kInteger},
    {"mode",
     {"mode", "模式"},
     [](const T& r) { return std::string(Of(r).mode->key); },
     [](const T& r) { return Value(Of(r).mode->key); }},
    {"clocks",
     {"clocks", "时钟数"},
     [](const T& r) { return Whole(Of(r).clocks); },
     [](const T& r) { return Value(Whole(Of(r).clocks)); },
     Align::kRight,
     JsonType::kInteger},
    {"reload",
     {"reload", "重装值"},
     [](const T& r) {
       return r.outcome.fits ? ReloadHex(r.outcome.reload, Of(r).mode->modulus)
                             : "--";
     },
     [](const T& r) { return IfFits(r, Whole(r.outcome.reload)); },
     Align::kRight,
     JsonType::kInteger},
    {"interrupts", {"interrupts", "每周期中断数"}, Interrupts, nullptr},
    {"reload_hex",
     {},
     nullptr,
     [](const T& r) {
       return IfFits(r, ReloadHex(r.outcome.reload, Of(r).mode->modulus));
     }},
    {"fits",
     {},
     nullptr,
     [](const T& r) { return Value(r.outcome.fits ? "true" : "false"); },
     Align::kRight,
     JsonType::kBool},
    {"actual_period_s",
     {"actual period", "实际周期"},
     [](const T& r) {
       return r.outcome.fits ? PeriodText(r.outcome.actual_period_s) : "--";
     },
     [](const T& r) {
       return IfFits(r, ShortestText(r.outcome.actual_period_s));
     },
     Align::kRight,
     JsonType::kNumber},
    {"error_percent",
     {"error", "误差"},
     [](const T& r) {
       return r.outcome.fits ? PercentText(r.outcome.error_percent) : "--";
     },
     [](const T& r) {
       return IfFits(r, ShortestText(r.outcome.error_percent));
     },
     Align::kRight,
     JsonType::kNumber},
    {"interrupts_per_period",
     {},
     nullptr,
     [](const T& r) { return IfFits(r, Whole(r.outcome.interrupts)); },
     Align::kRight,
     JsonType::kInteger},
    {"mark",
     {"mark", "标记"},
     [](const T& r) {
       return MarkWords(r.outcome.mark, r.tolerance_percent, Tongue::kEnglish);
     },
     [](const T& r) { return Value(RowOf(r.outcome.mark).key); },
     Align::kLeft},
    {"chip",
     {},
     nullptr,
     [](const T& r) { return Value(Of(r).chip->name); },
     Align::kLeft,
     JsonType::kText,
     Part::kChip},
    {"generator",
     {},
     nullptr,
     [](const T& r) { return Value(TickChoiceLabel(Of(r))); },
     Align::kLeft,
     JsonType::kText,
     Part::kChip},
    {"registers",
     {},
     nullptr,
     [](const T& r) {
       return Value(r.outcome.fits ? Pairs(TickRegisterValues(r.outcome)) : "");
     },
     Align::kLeft,
     JsonType::kObject,
     Part::kChip},
};

}  // namespace

const MarkRow& RowOf(Mark mark) { return Find(kMarkRows, mark); }
std::span<const MarkRow> MarkRows() { return kMarkRows; }
const LinkRow& RowOf(LinkMark mark) { return Find(kLinkRows, mark); }
std::span<const LinkRow> LinkRows() { return kLinkRows; }

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

std::span<const Column<SettingRow>> SettingColumns() { return kSettingColumns; }
std::span<const Column<TickRow>> TickColumns() { return kTickColumns; }
}  // namespace mcs51
