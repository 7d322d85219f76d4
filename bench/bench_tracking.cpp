// The per-second step of counting: the foreground query, the process walk and the catalogue
// look-up, with the real desktop of this machine and with a synthetic list of 1,000 processes.
#include "core/Clock.h"
#include "platform/Desktop.h"
#include "platform/fake/FakeDesktop.h"
#include "tracker/ActiveTask.h"
#include "tracker/CountingModel.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

void Step(benchmark::State& state, platform::Desktop& desktop) {
  QTemporaryDir dir;
  core::SystemClock clock;
  options::TaskCatalogue catalogue;
  for (int i = 0; i < 300; ++i)
    catalogue.Add(QStringLiteral("/opt/app%1/bin/app\tApp %1\t%2").arg(i).arg(i % 7));
  options::OptionSettings options;
  options.SetInt(QStringLiteral("edSaveTime.Value"), 10000);
  tracker::ActiveTask spy(desktop);
  spy.SetRestrictedList(QStringLiteral("/opt/app6/bin/app;/opt/app13/bin/app;"));
  spy.ArmSaverSearch();
  tracker::CountingModel model(clock, catalogue, spy, options, dir.path());
  model.SetStorePath(dir.filePath(QStringLiteral("hg20work.txt")));
  model.SetUser(QStringLiteral("bench"));
  model.Start();
  for (auto _ : state) benchmark::DoNotOptimize(model.TrackAndSave(false));
}

void BM_PerSecondStepLinux(benchmark::State& state) {
  auto desktop = platform::CreateDesktop();
  if (!desktop->CanSpy()) {
    state.SkipWithError("no X display (run under Xvfb)");
    return;
  }
  Step(state, *desktop);
}
BENCHMARK(BM_PerSecondStepLinux)->Unit(benchmark::kMicrosecond);

void BM_PerSecondStep1000Processes(benchmark::State& state) {
  platform::FakeDesktop desktop;
  for (int i = 0; i < 1000; ++i)
    desktop.processes.push_back(
        {i + 2, QStringLiteral("/usr/lib/x86_64-linux-gnu/pkg%1/bin/prog%1").arg(i)});
  desktop.foreground = {500, QStringLiteral("a window")};
  Step(state, desktop);
}
BENCHMARK(BM_PerSecondStep1000Processes)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
