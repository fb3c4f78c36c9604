// The conversions against the C library routines they stand beside, and one
// whole press worth of calculation. Run: build/dev/bench/calc/calc_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "calc/conversions.h"
#include "calc/reload.h"

namespace {

void BM_ReadNumber(benchmark::State& state) {
  const std::string text = "11.0592";
  for (auto _ : state) benchmark::DoNotOptimize(calc::ReadNumber(text));
}
BENCHMARK(BM_ReadNumber);

// The same crystal as a full-width input method types it.
void BM_ReadNumberFullWidth(benchmark::State& state) {
  const std::string text = "１１．０５９２";
  for (auto _ : state) benchmark::DoNotOptimize(calc::ReadNumber(text));
}
BENCHMARK(BM_ReadNumberFullWidth);

void BM_Strtod(benchmark::State& state) {
  const std::string text = "11.0592";
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strtod(text.c_str(), nullptr));
  }
}
BENCHMARK(BM_Strtod);

void BM_NumberText(benchmark::State& state) {
  double value = 33.333333333333336;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(calc::NumberText(value));
  }
}
BENCHMARK(BM_NumberText);

void BM_Snprintf(benchmark::State& state) {
  double value = 33.333333333333336;
  char buffer[32];
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    benchmark::DoNotOptimize(buffer);
  }
}
BENCHMARK(BM_Snprintf);

// Both timers from the two texts to four display texts and two flags.
void BM_BothTimers(benchmark::State& state) {
  const std::string frequency = "11.0592";
  const std::string baud = "19200";
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        calc::CalculateTimer(frequency, baud, calc::kTimer1));
    benchmark::DoNotOptimize(
        calc::CalculateTimer(frequency, baud, calc::kTimer2));
  }
}
BENCHMARK(BM_BothTimers);

}  // namespace
