#pragma once
// The presses of 计算 that the tests of every window layer make, and what
// each must show. One table, so the Linux and Windows windows are held to
// the same results.

#include <array>
#include <string_view>

namespace test_support {

// The result labels in the order the tables list their texts.
inline constexpr std::array<std::string_view, 4> kResultLabels{
    "Label8", "Label9", "Label10", "Label11"};

struct WorkedPress {
  const char* name;  // unique among the rows
  std::string_view frequency;
  std::string_view baud;
  std::array<std::string_view, 4> texts;  // as kResultLabels
  bool timer1_warning;
  bool timer2_warning;
};

// clang-format off
inline constexpr std::array<WorkedPress, 11> kWorkedPresses{{
    {"11.0592 MHz 9600 baud", "11.0592", "9600", {"FD", "FFDC", " 0", " 0"}, false, false},
    {"11.0592 MHz 19200 baud", "11.0592", "19200", {"FE", "FFEE", " 33.", " 0"}, true, false},
    {"11.0592 MHz 600 baud", "11.0592", "600", {"D0", "FDC0", " 0", " 0"}, false, false},
    {"12 MHz 9600 baud", "12", "9600", {"FD", "FFD9", " 7.8", " .16"}, true, false},
    {"12 MHz 2400 baud", "12", "2400", {"F3", "FF64", " .16", " .16"}, false, false},
    {"6 MHz 600 baud", "6", "600", {"E6", "FEC8", " .16", " .16"}, false, false},
    {"6 MHz 19200 baud", "6", "19200", {"FF", "FFF6", " 100", " 7.8"}, true, true},
    {"24 MHz 600 baud", "24", "600", {"98", "FB1E", " .16", " 0"}, false, false},
    {"3.6864 MHz 9600 baud", "3.6864", "9600", {"FF", "FFF4", " 0", " 0"}, false, false},
    {"11.0592 MHz 4 baud", "11.0592", "4", {"FFFFE4E0", "FFFFAE80", " 0", " 0"}, false, false},
    {"full-width 11.0592 MHz 9600 baud", "１１．０５９２", "９６００", {"FD", "FFDC", " 0", " 0"}, false, false},
}};
// clang-format on

// A press that fails before anything is shown, and the message it reports.
struct FailingPress {
  const char* name;  // unique among the rows
  std::string_view frequency;
  std::string_view baud;
  std::string_view message;
};

inline constexpr std::array<FailingPress, 5> kFailingPresses{{
    {"baud 0", "12", "0", "除数为零"},
    {"baud empty", "12", "", "除数为零"},
    {"baud abc", "12", "abc", "除数为零"},
    {"frequency abc", "abc", "9600", "溢出"},
    {"timer 1 reload beyond 32 bits", "1e13", "9600", "溢出"},
}};

}  // namespace test_support
