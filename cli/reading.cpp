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

Reading ReadFrequency(std::string_view t) {
  return Worded(calc::ReadFrequency(t));
}
Reading ReadBaud(std::string_view t) { return Worded(calc::ReadBaud(t)); }
Reading ReadPeriod(std::string_view t) { return Worded(calc::ReadPeriod(t)); }
Reading ReadTime(std::string_view t) { return Worded(calc::ReadTime(t)); }
Reading ReadPercent(std::string_view t) { return Worded(calc::ReadPercent(t)); }

Reading ReadPpm(std::string_view text) {
  const Reading reading = ReadPercent(text);
  if (reading.value && *reading.value >= 1e6) {
    return {std::nullopt, "must be below 1000000"};
  }
  return reading;
}

}  // namespace cli
