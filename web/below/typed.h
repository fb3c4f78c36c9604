#pragma once
// The section fields as people type them. The period, tolerance, delay and
// the crystal chooser's rates pass over what a phone or an input method
// adds (full-width forms, blanks around a value or before its unit, a "%"
// after a tolerance, commas between rates), then are read strictly by
// calc/reading.h, as the command line reads them. The window's own fields
// keep the window's reading.

#include <string>
#include <string_view>
#include <vector>

#include "calc/reading.h"

namespace web {

// Full-width forms (U+FF01 to U+FF5E) and "。" as ASCII; the ideographic
// and no-break spaces as blanks.
//   Folded("１ｍｓ") -> "1ms";  Folded("１２。５") -> "12.5"
std::string Folded(std::string_view text);

// Folded, without blanks around it or between a number and its unit; other
// blanks stay, for the strict reading to refuse.
//   Tidied(" 12 ") -> "12";  Tidied("10 ms") -> "10ms"
//   Tidied("1 0")  -> "1 0"
std::string Tidied(std::string_view text);

// The fields' readings of a Tidied text; a tolerance may end in "%".
//   ReadTypedPeriod("10 ms") -> 0.01;  ReadTypedTime("１ms") -> 0.001
//   ReadTypedPercent("2%")   -> 2;     ReadTypedPercent("２ ％") -> 2
calc::Reading ReadTypedPeriod(std::string_view text);
calc::Reading ReadTypedTime(std::string_view text);
calc::Reading ReadTypedPercent(std::string_view text);

// The crystal chooser's rates, separated by blanks or commas; a comma
// between a digit and exactly three digits groups thousands.
//   RateItems("9600,115200")  -> {"9600", "115200"}
//   RateItems("9,600 115.2 k") -> {"9600", "115.2k"}
std::vector<std::string> RateItems(std::string_view text);

// What a refused text would read as, to suggest: Folded, without blanks;
// a comma before exactly three digits groups thousands, any other is a
// decimal comma.
//   Suggested("9,600") -> "9600";  Suggested("1,5") -> "1.5"
//   Suggested("1,5 ms") -> "1.5ms"
std::string Suggested(std::string_view text);

}  // namespace web
