#pragma once
// Strict readings of the numbers on the command line: calc/reading.h's
// rules, with the reason for a rejection in the command line's words.

#include <optional>
#include <string_view>

namespace cli {

struct Reading {
  std::optional<double> value;  // empty when rejected
  std::string_view problem;     // why, to follow the argument's name and
                                // text and a colon: "not a number"
  bool number = true;           // false for a text that is no number at all
};

// A crystal frequency in MHz: a decimal number ("11.0592", "1.2e1", ".5"),
// then optionally "MHz", "kHz" or "Hz" in any case, which scales it with
// one correct rounding. Positive and finite only.
//   ReadFrequency("11.0592")    -> 11.0592
//   ReadFrequency("11059200Hz") -> 11.0592 (the same double)
//   ReadFrequency("12abc")      -> "not a number"
Reading ReadFrequency(std::string_view text);

// A baud rate: a decimal number, then optionally "k" or "K" for thousands.
// Positive and finite only.
//   ReadBaud("115.2k") -> 115200
//   ReadBaud("0")      -> "must be greater than zero"
//   ReadBaud("1e999")  -> "out of range"
Reading ReadBaud(std::string_view text);

// A period in seconds: a decimal number and a unit, "s", "ms", "us" or
// "µs" for the period itself, or "Hz" or "kHz" (any case) for a rate, whose
// period is its inverse. Positive and finite only; a number without a unit
// is refused.
//   ReadPeriod("250us") -> 0.00025;  ReadPeriod("50Hz") -> 0.02
//   ReadPeriod("10")    -> "needs a unit: s, ms, us, Hz or kHz"
//   ReadPeriod("0ms")   -> "must be greater than zero"
Reading ReadPeriod(std::string_view text);

// A delay's time: a period in "s", "ms", "us" or "µs", never a rate.
//   ReadTime("250us") -> 0.00025;  ReadTime("2.5ms") -> 0.0025
//   ReadTime("50Hz")  -> "needs a unit: s, ms, us or µs"
//   ReadTime("0s")    -> "must be greater than zero"
Reading ReadTime(std::string_view text);

// A tolerance in percent: a decimal number, zero or more, finite; "-0" is
// read as (positive) zero.
//   ReadPercent("2")   -> 2
//   ReadPercent("-0")  -> 0
//   ReadPercent("-1")  -> "must not be negative"
Reading ReadPercent(std::string_view text);

// A clock tolerance in ppm: as a tolerance in percent, and below a million,
// beyond which a clock would stop.
//   ReadPpm("100")     -> 100
//   ReadPpm("1000000") -> "must be below 1000000"
Reading ReadPpm(std::string_view text);

}  // namespace cli
