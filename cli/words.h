#pragma once
// The small pieces of wording that every output form shares.

#include <string>
#include <string_view>

#include "timers/catalogue.h"
#include "timers/ranking.h"
#include "timers/text.h"

namespace cli {

// An argument as a message quotes it: in double quotes, with control
// characters, quotes and backslashes escaped so that the message stays on
// one line and reads back unambiguously.
//   Quoted("12abc") -> "\"12abc\""
//   Quoted("a\nb")  -> "\"a\\nb\""
//   Quoted("\x01")  -> "\"\\x01\""
//   Quoted("a\"b")  -> "\"a\\\"b\""
std::string Quoted(std::string_view text);

// A setting in words (its short labels are mcs51::SettingLabel and
// ChoiceLabel).
//   SettingText(Timer 1, SMOD 1, 12) -> "Timer 1, SMOD 1, 12 clocks"
//   SettingText(Timer 2, 6)          -> "Timer 2, 6 clocks"
// A catalogue setting: "ms51 UART0 on Timer 3, 16 clocks, SMOD 1".
std::string SettingText(const mcs51::Setting& setting);

}  // namespace cli
