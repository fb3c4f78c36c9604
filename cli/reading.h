#pragma once
// The numbers on the command line, read strictly by calc/reading.h's rules
// (the forms each takes are there), the reason for a rejection in the
// command line's words.

#include <optional>
#include <string_view>

namespace cli {

struct Reading {
  std::optional<double> value;  // empty when rejected
  std::string_view problem;     // why, to follow the argument's name and
                                // text and a colon: "not a number"
  bool number = true;           // false for a text that is no number at all
};

//   ReadFrequency("11059200Hz") -> 11.0592;  ReadFrequency("12abc") -> "not
//   a number";  ReadBaud("115.2k") -> 115200;  ReadBaud("0") -> "must be
//   greater than zero";  ReadPeriod("50Hz") -> 0.02;  ReadTime("50Hz") ->
//   "needs a unit: s, ms, us or µs";  ReadPercent("-1") -> "must not be
//   negative"
Reading ReadFrequency(std::string_view text);
Reading ReadBaud(std::string_view text);
Reading ReadPeriod(std::string_view text);
Reading ReadTime(std::string_view text);
Reading ReadPercent(std::string_view text);

// A clock tolerance in ppm: as a percentage, and below a million, beyond
// which a clock would stop.
//   ReadPpm("100") -> 100;  ReadPpm("1000000") -> "must be below 1000000"
Reading ReadPpm(std::string_view text);

}  // namespace cli
