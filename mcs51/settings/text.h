#pragma once
// Numbers and labels as every output of the settings writes them: the C init
// code as much as the command line's text, CSV and JSON. Never
// locale-dependent.

#include <span>
#include <string>
#include <string_view>

#include "mcs51/settings/peers.h"
#include "mcs51/settings/ranking.h"

namespace mcs51 {

// A reload in hexadecimal, two digits for an 8-bit reload, four for 16.
//   ReloadHex(253, 256)     -> "FD"
//   ReloadHex(65497, 65536) -> "FFD9"
std::string ReloadHex(int reload, double modulus);

// The shortest text that reads back as the same double.
//   ShortestText(11.0592) -> "11.0592";  ShortestText(9600) -> "9600"
std::string ShortestText(double value);

// Words joined as a sentence lists them.
//   JoinedOr({"12", "6", "1"}) -> "12, 6 or 1";  JoinedOr({"c"}) -> "c"
//   JoinedAnd({"table", "code", "chips"}) -> "table, code and chips"
std::string JoinedOr(std::span<const std::string> words);
std::string JoinedAnd(std::span<const std::string> words);

// A signed error with two decimals; one that rounds to zero has no sign.
//   PercentText(0.16276) -> "+0.16 %"
//   PercentText(-25)     -> "-25.00 %"
//   PercentText(-1e-14)  -> "0.00 %"
std::string PercentText(double value);

// A setting in the short form of table columns, the same in every output.
//   SettingLabel(Timer 1, SMOD 0, 6) -> "T1/0/6";  Timer 2 at 12 -> "T2/12"
// A catalogue setting: "ms51:t3/16s1"; ChoiceLabel leaves the chip out:
// "t3/16s1".
std::string SettingLabel(const Setting& setting);
std::string ChoiceLabel(const Setting& setting);

// A setting in words (its short labels are SettingLabel and ChoiceLabel).
//   SettingText(Timer 1, SMOD 1, 12) -> "Timer 1, SMOD 1, 12 clocks"
//   SettingText(Timer 2, 6)          -> "Timer 2, 6 clocks"
// A catalogue setting: "ms51 UART0 on Timer 3, 16 clocks, SMOD 1".
std::string SettingText(const Setting& setting);

}  // namespace mcs51
