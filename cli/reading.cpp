#include "cli/reading.h"

#include "calc/reading.h"
#include "timers/answers.h"

namespace cli {
namespace {

Reading Worded(const calc::Reading& reading) {
  return {reading.value, mcs51::RowOf(reading.problem).words.en,
          reading.problem != calc::ReadProblem::kNotANumber};
}

}  // namespace

Reading ReadFrequency(std::string_view text) {
  return Worded(calc::ReadFrequency(text));
}

Reading ReadBaud(std::string_view text) { return Worded(calc::ReadBaud(text)); }

Reading ReadPeriod(std::string_view text) {
  return Worded(calc::ReadPeriod(text));
}

Reading ReadTime(std::string_view text) { return Worded(calc::ReadTime(text)); }

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
