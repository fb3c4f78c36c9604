#include "calc/reading.h"

#include <fast_float/fast_float.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace calc {
namespace {

using P = ReadProblem;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view end = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (Lower(end[i]) != suffix[i]) return false;
  }
  return true;
}

// std::from_chars for a double, which not every standard library has yet
// (Emscripten's does not): fast_float's reading, with a result beyond the
// doubles, or below their normal range, reported as out of range.
std::from_chars_result FromChars(const char* first, const char* last,
                                 double& value) {
  double read = 0.0;
  const auto result = fast_float::from_chars(first, last, read);
  if (result.ec != std::errc{}) return {result.ptr, result.ec};
  bool digits = false, nonzero = false;
  for (const char* p = first; p != result.ptr && *p != 'e' && *p != 'E'; ++p) {
    digits = digits || (*p >= '0' && *p <= '9');
    nonzero = nonzero || (*p >= '1' && *p <= '9');
  }
  const double magnitude = std::fabs(read);
  if (digits && (std::isinf(read) ||
                 (nonzero && magnitude < std::numeric_limits<double>::min()))) {
    return {result.ptr, std::errc::result_out_of_range};
  }
  value = read;
  return {result.ptr, std::errc{}};
}

// Reads all of `text` as a decimal number times 10^scale. The power goes
// into the exponent before the one conversion, so "11059200" with -6 is
// the double nearest 11.0592, as if "11.0592" had been typed.
Reading ReadScaled(std::string_view text, int scale) {
  double value = 0.0;
  const auto [end, error] =
      FromChars(text.data(), text.data() + text.size(), value);
  if (text.empty() || end != text.data() + text.size() ||
      error == std::errc::invalid_argument) {
    return {std::nullopt, P::kNotANumber};
  }
  if (error == std::errc{} && !std::isfinite(value)) {
    return {std::nullopt, P::kNotFinite};  // "inf", "nan"
  }
  if (scale == 0 || (error == std::errc{} && value == 0.0)) {
    if (error == std::errc::result_out_of_range) {
      return {std::nullopt, P::kOutOfRange};
    }
    return {value, P::kNone};
  }

  // Rewrite "m[e x]" as "m e (x + scale)".
  std::string_view mantissa = text;
  std::int64_t exponent = 0;
  const std::size_t marker = text.find_first_of("eE");
  if (marker != std::string_view::npos) {
    mantissa = text.substr(0, marker);
    std::string_view digits = text.substr(marker + 1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    const auto parsed =
        std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    constexpr std::int64_t kRoom = std::int64_t{1} << 62;
    if (parsed.ec != std::errc{} || exponent > kRoom || exponent < -kRoom) {
      // An exponent near the 64-bit limits: zero stays zero, anything else
      // is far beyond the doubles either way.
      double m = 0.0;
      FromChars(mantissa.data(), mantissa.data() + mantissa.size(), m);
      if (m == 0.0) return {0.0, P::kNone};
      return {std::nullopt, P::kOutOfRange};
    }
  }
  const std::string scaled =
      std::string(mantissa) + 'e' + std::to_string(exponent + scale);
  const auto rescaled =
      FromChars(scaled.data(), scaled.data() + scaled.size(), value);
  if (rescaled.ec != std::errc{}) return {std::nullopt, P::kOutOfRange};
  return {value, P::kNone};
}

Reading Positive(Reading reading) {
  if (reading.value && !(*reading.value > 0.0)) {
    return {std::nullopt, P::kNotPositive};
  }
  return reading;
}

}  // namespace

Reading ReadFrequency(std::string_view text) {
  // Longest unit first: "MHz" also ends in "Hz".
  struct Unit {
    std::string_view suffix;
    int scale;  // to MHz
  };
  for (const Unit unit : {Unit{"mhz", 0}, Unit{"khz", -3}, Unit{"hz", -6}}) {
    if (EndsWithNoCase(text, unit.suffix)) {
      return Positive(ReadScaled(
          text.substr(0, text.size() - unit.suffix.size()), unit.scale));
    }
  }
  return Positive(ReadScaled(text, 0));
}

Reading ReadBaud(std::string_view text) {
  if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) {
    return Positive(ReadScaled(text.substr(0, text.size() - 1), 3));
  }
  return Positive(ReadScaled(text, 0));
}

Reading ReadPeriod(std::string_view text) {
  struct Unit {
    std::string_view suffix;
    int scale;  // to seconds, or to Hz for a rate
    bool rate;
    bool any_case;
  };
  // Longest first: "ms" and "us" also end in "s", "kHz" in "Hz".
  constexpr Unit kUnits[] = {
      {"khz", 3, true, true},        {"hz", 0, true, true},
      {"ms", -3, false, false},      {"us", -6, false, false},
      {"\u00b5s", -6, false, false}, {"\u03bcs", -6, false, false},
      {"s", 0, false, false}};
  for (const Unit& unit : kUnits) {
    const bool ends = unit.any_case ? EndsWithNoCase(text, unit.suffix)
                                    : text.ends_with(unit.suffix);
    if (!ends) continue;
    Reading reading = Positive(ReadScaled(
        text.substr(0, text.size() - unit.suffix.size()), unit.scale));
    if (!reading.value || !unit.rate) return reading;
    const double period = 1.0 / *reading.value;
    if (!(period > 0.0)) return {std::nullopt, P::kOutOfRange};
    return {period, P::kNone};
  }
  const Reading bare = ReadScaled(text, 0);
  if (bare.problem == P::kNotANumber) return bare;
  return {std::nullopt, P::kNoUnit};
}

Reading ReadTime(std::string_view text) {
  const Reading period = ReadPeriod(text);
  const bool rate = EndsWithNoCase(text, "hz");
  if ((period.value && rate) || period.problem == P::kNoUnit) {
    return {std::nullopt, P::kNoTimeUnit};
  }
  return period;
}

Reading ReadPercent(std::string_view text) {
  Reading reading = ReadScaled(text, 0);
  if (reading.value && *reading.value < 0.0) {
    return {std::nullopt, P::kNegative};
  }
  // "-0" is zero, not a negative tolerance, and prints as "0".
  if (reading.value && *reading.value == 0.0) reading.value = 0.0;
  return reading;
}

}  // namespace calc
