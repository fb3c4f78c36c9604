#include "mcs51/settings/text.h"

#include <fmt/format.h>

#include <cmath>

#include "mcs51/hardware/catalogue.h"

namespace mcs51 {

std::string ReloadHex(int reload, double modulus) {
  // By hand: a table of every setting writes thousands of these, and
  // {fmt}'s general path costs more than the rest of the cell.
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const int width = modulus > 256.0 ? 4 : 2;
  std::string text(static_cast<std::size_t>(width), '0');
  auto value = static_cast<unsigned>(reload);
  for (int i = width - 1; i >= 0 && value != 0; --i, value >>= 4) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
  }
  // Wider than the register: every digit, as {:0NX} wrote it.
  for (; value != 0; value >>= 4)
    text.insert(text.begin(), kDigits[value & 0xF]);
  return text;
}

std::string ShortestText(double value) { return fmt::format("{}", value); }

std::string JoinedOr(std::span<const std::string> words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
    text += words[i];
  }
  return text;
}

std::string JoinedAnd(std::span<const std::string> words) {
  std::string text = JoinedOr(words);
  const std::size_t last = text.rfind(" or ");
  return last == text.npos ? text : text.replace(last, 4, " and ");
}

std::string PercentText(double value) {
  if (std::fabs(value) < 0.005) return "0.00 %";
  return fmt::format("{:+.2f} %", value);
}

std::string ChoiceLabel(const Setting& setting) {
  std::string label =
      fmt::format("{}/{}", setting.generator->key, setting.clocks);
  if (setting.smod >= 0) label += fmt::format("s{}", setting.smod);
  return label;
}

std::string SettingLabel(const Setting& setting) {
  if (setting.by_chip) {
    return fmt::format("{}:{}", setting.chip->name, ChoiceLabel(setting));
  }
  if (setting.smod < 0) {
    return fmt::format("T{}/{}", setting.timer, setting.clocks);
  }
  return fmt::format("T{}/{}/{}", setting.timer, setting.smod, setting.clocks);
}

std::string SettingText(const Setting& setting) {
  const std::string_view plural = setting.clocks == 1 ? "" : "s";
  if (setting.by_chip) {
    return fmt::format("{} {}, {} clock{}{}", setting.chip->name,
                       setting.generator->text.en, setting.clocks, plural,
                       setting.smod < 0
                           ? std::string()
                           : fmt::format(", SMOD {}", setting.smod));
  }
  if (setting.smod < 0) {
    return fmt::format("Timer {}, {} clocks", setting.timer, setting.clocks);
  }
  return fmt::format("Timer {}, SMOD {}, {} clock{}", setting.timer,
                     setting.smod, setting.clocks, plural);
}

}  // namespace mcs51
