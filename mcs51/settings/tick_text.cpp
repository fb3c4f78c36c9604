#include "mcs51/settings/tick_text.h"

#include <fmt/format.h>

#include "mcs51/settings/text.h"

namespace mcs51 {

std::string PeriodText(double seconds) {
  if (seconds >= 1.0) return fmt::format("{:.4f} s", seconds);
  if (seconds >= 1e-3) return fmt::format("{:.4f} ms", seconds * 1e3);
  return fmt::format("{:.4f} us", seconds * 1e6);
}

std::string TickChoiceLabel(const TickSetting& setting) {
  return fmt::format("{}/{}/{}", setting.timer->key, setting.mode->key,
                     setting.clocks);
}

std::string TickLabel(const TickSetting& setting) {
  if (setting.by_chip) {
    return fmt::format("{}:{}", setting.chip->name, TickChoiceLabel(setting));
  }
  return fmt::format("T{}/{}/{}", setting.timer->number, setting.mode->key,
                     setting.clocks);
}

std::string TickSettingText(const TickSetting& setting, Tongue language) {
  constexpr Words kTimer{"Timer {0}, {1}, {2} clock{3}",
                         "定时器 {0}，{1}，每计数 {2} 个时钟"};
  return Say(kTimer, setting.timer->number, setting.mode->text, setting.clocks,
             setting.clocks == 1 ? "" : "s")
      .In(language);
}

}  // namespace mcs51
