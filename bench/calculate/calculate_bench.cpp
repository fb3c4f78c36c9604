// One press of "计算" on the real window, offscreen: from the click to all
// four result labels set. The inputs alternate between a warning and a
// normal result so that every press really changes texts and colours.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <memory>

#include "app/form_host.h"
#include "app/start.h"
#include "window/project.h"

namespace {

void BM_CalculatePress(benchmark::State& state) {
  app::FormHost host(window::kBaud51Project);
  host.RaiseLoad();
  host.Show();
  auto* frequency =
      host.Window().findChild<QComboBox*>(QStringLiteral("Combo1"));
  auto* calculate =
      host.Window().findChild<QPushButton*>(QStringLiteral("Command1"));
  const QString inputs[] = {QStringLiteral("12"), QStringLiteral("11.0592")};
  int press = 0;
  for (auto _ : state) {
    frequency->setEditText(inputs[press++ % 2]);
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(calculate, Qt::LeftButton);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  // A click that never reached the handler would time nothing.
  // The start text is "0"; a calculation writes " 0" or " 7.8".
  const QString error =
      host.Window().findChild<QLabel*>(QStringLiteral("Label10"))->text();
  if (error != QStringLiteral(" 0") && error != QStringLiteral(" 7.8")) {
    state.SkipWithError("the press did not calculate");
  }
}
BENCHMARK(BM_CalculatePress)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  app::ConfigureApplication(window::kBaud51Project);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
