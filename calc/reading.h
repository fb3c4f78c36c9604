#pragma once
// Strict readings of a crystal frequency, a baud rate and a tolerance, as
// the command line and the page's settings read them. Unlike the window's
// forgiving ReadNumber, a text is either wholly a number in the form asked
// for or refused with the kind of problem; the front ends word it.

#include <cstdint>
#include <optional>
#include <string_view>

namespace calc {

enum class ReadProblem : std::uint8_t {
  kNone,
  kNotANumber,   // "12abc", "9,600", "", "+12"
  kNotFinite,    // "inf", "nan"
  kOutOfRange,   // beyond the doubles, or below them: "1e999", "1e-320Hz"
  kNotPositive,  // a frequency or rate of zero or less
  kNegative,     // a tolerance below zero
  kNoUnit,       // a period given as a bare number: "10"
  kNoTimeUnit,   // a delay's time as a bare number or a rate: "10", "50Hz"
};

struct Reading {
  std::optional<double> value;  // empty when refused
  ReadProblem problem = ReadProblem::kNone;
};

// A crystal frequency in MHz: a decimal number ("11.0592", "1.2e1", ".5"),
// then optionally "MHz", "kHz" or "Hz" in any case, which scales it with
// one correct rounding. Positive and finite only.
//   ReadFrequency("11.0592")    -> 11.0592
//   ReadFrequency("11059200Hz") -> 11.0592 (the same double)
//   ReadFrequency("12abc")      -> kNotANumber
Reading ReadFrequency(std::string_view text);

// A baud rate: a decimal number, then optionally "k" or "K" for thousands.
// Positive and finite only.
//   ReadBaud("115.2k") -> 115200
//   ReadBaud("9,600")  -> kNotANumber
//   ReadBaud("0")      -> kNotPositive
Reading ReadBaud(std::string_view text);

// A period: a decimal number and its unit, "s", "ms", "us" ("µs"), or a
// rate in "Hz" or "kHz" (any case), read as its period in seconds.
// Positive and finite only; a bare number has no unit.
//   ReadPeriod("250us") -> 0.00025
//   ReadPeriod("50Hz")  -> 0.02
//   ReadPeriod("10")    -> kNoUnit
Reading ReadPeriod(std::string_view text);

// A delay's time: a period in "s", "ms", "us" or "µs", never a rate.
//   ReadTime("250us") -> 0.00025;  ReadTime("2.5ms") -> 0.0025
//   ReadTime("50Hz")  -> kNoTimeUnit;  ReadTime("0s") -> kNotPositive
Reading ReadTime(std::string_view text);

// A tolerance in percent: a decimal number, zero or more, finite; "-0" is
// read as (positive) zero.
//   ReadPercent("2")   -> 2
//   ReadPercent("-0")  -> 0
//   ReadPercent("-1")  -> kNegative
Reading ReadPercent(std::string_view text);

}  // namespace calc
