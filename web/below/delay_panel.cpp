#include "web/below/delay_panel.h"

#include <fmt/format.h>

#include "calc/reading.h"
#include "mcs51/delays/delay.h"
#include "mcs51/delays/delay_code.h"
#include "mcs51/hardware/cores.h"
#include "web/below/sections.h"
#include "web/below/typed.h"

extern "C" {
void baud51_dom_delay(const char* message, std::size_t message_length,
                      const char* code, std::size_t code_length);
}

namespace web {

DelayShown DelayFor(std::string_view time_text, double frequency_mhz,
                    std::string_view chip_filter, Tongue language,
                    bool assembly) {
  const PageWords& w = WordsOf(language);
  const calc::Reading time = ReadTypedTime(time_text);
  if (!time.value) {
    return {Unread(w.delay_time, time_text, time.problem, w.delay_example,
                   calc::ReadTime, language),
            ""};
  }
  const auto refused = [&w](std::string_view why) {
    return DelayShown{fmt::format(fmt::runtime(w.delay_refused), why), ""};
  };
  // The name comes from the time as typed, as the command line names it.
  const std::string name = mcs51::DelayName(Tidied(time_text));
  if (!mcs51::IsCName(name)) return refused(name);
  // "" is the classic core; every family together is no one core.
  const mcs51::Core* core = mcs51::CoreOf(chip_filter, 0);
  if (core == nullptr) return {std::string(w.delay_one_family), ""};
  const mcs51::DelayAnswer answer =
      mcs51::PlanDelay({.frequency_mhz = frequency_mhz,
                        .time_s = *time.value,
                        .core = core,
                        .keil = !assembly,
                        .chip = chip_filter});
  if (!answer.plan) return refused(answer.refusal);
  const mcs51::DelayPlan& plan = *answer.plan;
  const mcs51::DelayText text{name, frequency_mhz, *time.value, false,
                              language};
  const std::string method =
      plan.timer ? fmt::format(fmt::runtime(w.delay_by_timer),
                               plan.timer->outcome.setting->timer->number,
                               mcs51::DelayTimeText(plan.bound_s))
                 : std::string(w.delay_by_cycles);
  return {method, assembly ? mcs51::DelayAsmCode(text, *core, plan)
                           : mcs51::DelayCCode(text, *core, plan)};
}

void ShowDelay(std::string_view time_text, double frequency_mhz,
               std::string_view chip_filter, Tongue language, bool assembly) {
  const DelayShown shown =
      DelayFor(time_text, frequency_mhz, chip_filter, language, assembly);
  Invalid("delay", "delay-message", !ReadTypedTime(time_text).value);
  baud51_dom_delay(shown.message.data(), shown.message.size(),
                   shown.code.data(), shown.code.size());
}

}  // namespace web
