// The answers about code as columns (answers.h): explain's row per serial
// port and per timer, and a delay's figures.
#include <fmt/format.h>

#include "mcs51/answers/answers.h"
#include "mcs51/delays/delay_code.h"
#include "mcs51/explain/explain_registers.h"
#include "mcs51/settings/text.h"

namespace mcs51 {
namespace {

// A value of the setting found, nothing without one.
template <typename Use>
Value IfSet(const Use& use, std::string text) {
  return use.setting != nullptr ? Value(std::move(text)) : std::nullopt;
}
template <typename Use>
Value Hex(const Use& use) {
  if (use.unresolved) return std::nullopt;
  return IfSet(use, use.setting == nullptr
                        ? std::string()
                        : ReloadHex(use.reload, use.setting->modulus));
}
// A reload, when the code gives one.
template <typename Use>
Value Reload(const Use& use) {
  if (use.unresolved) return std::nullopt;
  return IfSet(use, std::to_string(use.reload));
}
Value Flag(bool on) { return Value(on ? "true" : "false"); }
bool Fixed(const SerialUse& use) { return use.fixed_mode >= 0; }
// A rate, when the port has a setting that makes one, or a fixed mode.
Value Rate(const SerialUse& use, double value) {
  const bool rate = (use.setting != nullptr || Fixed(use)) && !use.unresolved &&
                    use.actual_baud > 0.0;
  return rate ? Value(ShortestText(value)) : std::nullopt;
}

const Column<Finding> kFindingColumns[] = {
    {.key = "kind",
     .cell = [](const Finding& f) { return Value(FindingKey(f.kind)); }},
    {.key = "file",
     .cell =
         [](const Finding& f) {
           return f.file.empty() ? std::nullopt : Value(f.file);
         }},
    {.key = "line",
     .cell = [](const Finding& f) { return Value(std::to_string(f.line)); },
     .type = JsonType::kInteger},
    {.key = "address",
     .cell =
         [](const Finding& f) {
           return f.address >= 0 ? Value(std::to_string(f.address))
                                 : std::nullopt;
         },
     .type = JsonType::kInteger},
    {.key = "text", .cell = [](const Finding& f) { return Value(f.text); }},
};

using S = SerialUse;
const Column<S> kSerialColumns[] = {
    {.key = "uart", .cell = [](const S& u) { return Value(u.uart); }},
    {.key = "generator",
     .cell =
         [](const S& u) {
           return Fixed(u) ? Value("fixed")
                           : IfSet(u, u.setting ? u.setting->label : "");
         }},
    {.key = "clocks",
     .cell =
         [](const S& u) {
           return IfSet(u, u.setting ? std::to_string(u.setting->clocks) : "");
         },
     .type = JsonType::kInteger},
    {.key = "smod",
     .cell =
         [](const S& u) {
           const int smod = u.setting ? u.setting->smod : u.fixed_smod;
           return smod >= 0 ? Value(std::to_string(smod)) : std::nullopt;
         },
     .type = JsonType::kInteger},
    {.key = "reload",
     .cell = [](const S& u) { return Reload(u); },
     .type = JsonType::kInteger},
    {.key = "reload_hex", .cell = [](const S& u) { return Hex(u); }},
    {.key = "actual_baud",
     .cell = [](const S& u) { return Rate(u, u.actual_baud); },
     .type = JsonType::kNumber},
    {.key = "nearest_baud",
     .cell = [](const S& u) { return Rate(u, u.nearest_baud); },
     .type = JsonType::kNumber},
    {.key = "error_percent",
     .cell = [](const S& u) { return Rate(u, u.error_percent); },
     .type = JsonType::kNumber},
    {.key = "receives",
     .cell = [](const S& u) { return Flag(u.receives); },
     .type = JsonType::kBool},
};

using T = TimerUse;
const Column<T> kTimerColumns[] = {
    {.key = "timer", .cell = [](const T& u) { return Value(u.timer); }},
    {.key = "mode",
     .cell =
         [](const T& u) { return IfSet(u, u.setting ? u.setting->mode : ""); }},
    {.key = "clocks",
     .cell =
         [](const T& u) {
           return IfSet(u, u.setting ? std::to_string(u.setting->clocks) : "");
         },
     .type = JsonType::kInteger},
    {.key = "reload",
     .cell = [](const T& u) { return Reload(u); },
     .type = JsonType::kInteger},
    {.key = "reload_hex", .cell = [](const T& u) { return Hex(u); }},
    {.key = "running",
     .cell = [](const T& u) { return Flag(u.running); },
     .type = JsonType::kBool},
    {.key = "interrupt",
     .cell = [](const T& u) { return Flag(u.interrupt); },
     .type = JsonType::kBool},
    {.key = "reloaded_by",
     .cell = [](const T& u) { return Value(ReloadedByKey(u.reloaded_by)); }},
    {.key = "actual_period_s",
     .cell =
         [](const T& u) {
           return u.period_s > 0.0 ? Value(ShortestText(u.period_s))
                                   : std::nullopt;
         },
     .type = JsonType::kNumber},
    {.key = "first_period_s",
     .cell =
         [](const T& u) {
           return u.first_period_s > 0.0 ? Value(ShortestText(u.first_period_s))
                                         : std::nullopt;
         },
     .type = JsonType::kNumber},
    {.key = "measured_period_s",
     .cell =
         [](const T& u) {
           return u.measured_period_s > 0.0
                      ? Value(ShortestText(u.measured_period_s))
                      : std::nullopt;
         },
     .type = JsonType::kNumber},
    {.key = "one_shot",
     .cell = [](const T& u) { return Flag(u.one_shot); },
     .type = JsonType::kBool},
};

using D = DelayRow;
// A figure of a timer delay's timer; nothing for cycles.
template <typename F>
Value Paced(const D& d, F figure) {
  if (!d.plan.timer) return std::nullopt;
  return Value(figure(d.plan.timer->outcome));
}
const Column<D> kDelayColumns[] = {
    {.key = "name", .cell = [](const D& d) { return Value(d.text.name); }},
    {.key = "time", .cell = [](const D& d) { return Value(d.time); }},
    {.key = "time_s",
     .cell = [](const D& d) { return Value(ShortestText(d.text.time_s)); },
     .type = JsonType::kNumber},
    {.key = "frequency_mhz",
     .cell =
         [](const D& d) { return Value(ShortestText(d.text.frequency_mhz)); },
     .type = JsonType::kNumber},
    {.key = "times",
     .cell = [](const D& d) { return Flag(d.text.times); },
     .type = JsonType::kBool},
    {.key = "core", .cell = [](const D& d) { return Value(d.core.key); }},
    {.key = "core_text",
     .cell = [](const D& d) { return Value(d.core.text.en); }},
    {.key = "clocks_per_cycle",
     .cell = [](const D& d) { return Value(std::to_string(d.core.clocks)); },
     .type = JsonType::kInteger},
    {.key = "cycles",
     .cell = [](const D& d) { return Value(fmt::format("{}", d.plan.cycles)); },
     .type = JsonType::kInteger},
    {.key = "method",
     .cell =
         [](const D& d) { return Value(DelayMethodKey(MethodOf(d.plan))); }},
    {.key = "bound_s",
     .cell = [](const D& d) { return Value(ShortestText(d.plan.bound_s)); },
     .type = JsonType::kNumber},
    {.key = "early_s",
     .cell = [](const D& d) { return Value(ShortestText(d.plan.early_s)); },
     .type = JsonType::kNumber},
    {.key = "timer",
     .cell =
         [](const D& d) {
           return Paced(d, [](const TickOutcome& o) {
             return std::to_string(o.setting->timer->number);
           });
         },
     .type = JsonType::kInteger},
    {.key = "timer_mode",
     .cell =
         [](const D& d) {
           return Paced(d, [](const TickOutcome& o) {
             return std::string(o.setting->mode->key);
           });
         }},
    {.key = "clocks_per_count",
     .cell =
         [](const D& d) {
           return Paced(d, [](const TickOutcome& o) {
             return std::to_string(o.setting->clocks);
           });
         },
     .type = JsonType::kInteger},
    {.key = "reload",
     .cell =
         [](const D& d) {
           return Paced(d, [](const TickOutcome& o) {
             return std::to_string(o.reload);
           });
         },
     .type = JsonType::kInteger},
    {.key = "reload_hex",
     .cell =
         [](const D& d) {
           return Paced(d, [](const TickOutcome& o) {
             return ReloadHex(o.reload, o.setting->mode->modulus);
           });
         }},
    {.key = "overflows",
     .cell =
         [](const D& d) {
           return Paced(d, [](const TickOutcome& o) {
             return std::to_string(o.interrupts);
           });
         },
     .type = JsonType::kInteger},
    {.key = "actual_s",
     .cell = [](const D& d) { return Value(ShortestText(d.plan.actual_s)); },
     .type = JsonType::kNumber},
    {.key = "error_percent",
     .cell =
         [](const D& d) { return Value(ShortestText(d.plan.error_percent)); },
     .type = JsonType::kNumber},
    {.key = "source",
     .cell = [](const D& d) { return Value(d.core.source.en); }},
    {.key = "assumes",
     .cell = [](const D& d) { return Value(d.core.assumes.en); }},
    {.key = "code", .cell = [](const D& d) { return Value(d.code); }},
};

}  // namespace

std::span<const Column<DelayRow>> DelayColumns() { return kDelayColumns; }

std::span<const Column<SerialUse>> SerialColumns() { return kSerialColumns; }
std::span<const Column<TimerUse>> TimerColumns() { return kTimerColumns; }
std::span<const Column<Finding>> FindingColumns() { return kFindingColumns; }

}  // namespace mcs51
