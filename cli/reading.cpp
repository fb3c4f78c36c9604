#include "cli/reading.h"

#include "calc/reading.h"

namespace cli {
namespace {

// The command line's words for calc's problems.
std::string_view Words(calc::ReadProblem problem) {
  using P = calc::ReadProblem;
  switch (problem) {
    case P::kNone:
      break;
    case P::kNotANumber:
      return kNotANumber;
    case P::kNotFinite:
      return "not a finite number";
    case P::kOutOfRange:
      return "out of range";
    case P::kNotPositive:
      return "must be greater than zero";
    case P::kNegative:
      return "must not be negative";
    case P::kNoUnit:
      return "needs a unit: s, ms, us, Hz or kHz";
  }
  return {};
}

Reading Worded(const calc::Reading& reading) {
  return {reading.value, Words(reading.problem)};
}

}  // namespace

Reading ReadFrequency(std::string_view text) {
  return Worded(calc::ReadFrequency(text));
}

Reading ReadBaud(std::string_view text) { return Worded(calc::ReadBaud(text)); }

Reading ReadPeriod(std::string_view text) {
  return Worded(calc::ReadPeriod(text));
}

Reading ReadTime(std::string_view text) {
  const calc::Reading period = calc::ReadPeriod(text);
  const std::size_t size = text.size();
  const bool rate = size >= 2 && (text[size - 1] | 0x20) == 'z' &&
                    (text[size - 2] | 0x20) == 'h';
  if ((period.value && rate) || period.problem == calc::ReadProblem::kNoUnit) {
    return {std::nullopt, "needs a unit: s, ms, us or µs"};
  }
  return Worded(period);
}

Reading ReadPercent(std::string_view text) {
  return Worded(calc::ReadPercent(text));
}

Reading ReadPpm(std::string_view text) {
  const Reading reading = ReadPercent(text);
  if (reading.value && *reading.value >= 1e6) {
    return {std::nullopt, "must be below 1000000"};
  }
  return reading;
}

}  // namespace cli
