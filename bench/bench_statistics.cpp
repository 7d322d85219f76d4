// The statistics window's work on years of use: 3 users x 3 years x 60 tasks a day, a
// catalogue of 300 applications, one year's period.
#include "StoreGenerator.h"
#include "core/FormatSettings.h"
#include "options/TaskCatalogue.h"
#include "statistics/StatisticModel.h"
#include "tracker/StatisticsStore.h"

#include <benchmark/benchmark.h>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

struct Store {
  QTemporaryDir dir;
  QString store = dir.filePath(QStringLiteral("hg20work.txt"));
  QString catalogue = dir.filePath(QStringLiteral("hg20task.txt"));
  Store() {
    core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
    bench::GenerateStore(store, catalogue, 3, 3, 60, 300, QDate(2024, 1, 1));
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

statistics::StatisticModel YearModel(const char* task1, const char* task2) {
  statistics::StatisticModel model(TheStore().store);
  options::TaskCatalogue catalogue;
  catalogue.Load(TheStore().catalogue);
  model.BuildTaskLists(catalogue.lines());
  model.SetUser(QStringLiteral("user1"));
  model.SetDates(QDate(2025, 1, 1), QDate(2025, 12, 31));
  model.SetTaskKeys(QString::fromLatin1(task1), QString::fromLatin1(task2));
  return model;
}

void Reload(benchmark::State& state, const char* task1, const char* task2) {
  statistics::StatisticModel model = YearModel(task1, task2);
  for (auto _ : state) {
    model.cbUserChange();
    benchmark::DoNotOptimize(model.total1());
  }
  state.counters["rows"] = model.rows();
  state.counters["total1_h"] = model.total1() * 24;
  state.counters["MB"] = double(QFileInfo(TheStore().store).size()) / 1e6;
}

void BM_ReloadYearTotal(benchmark::State& state) { Reload(state, "total", "none"); }
BENCHMARK(BM_ReloadYearTotal)->Unit(benchmark::kMillisecond);

void BM_ReloadYearGroup(benchmark::State& state) { Reload(state, "1", "none"); }
BENCHMARK(BM_ReloadYearGroup)->Unit(benchmark::kMillisecond);

void BM_ReloadYearTask(benchmark::State& state) { Reload(state, "Program 8", "none"); }
BENCHMARK(BM_ReloadYearTask)->Unit(benchmark::kMillisecond);

void BM_ReloadYearTotalComparedWithGroup(benchmark::State& state) { Reload(state, "total", "1"); }
BENCHMARK(BM_ReloadYearTotalComparedWithGroup)->Unit(benchmark::kMillisecond);

struct NoProgress : statistics::ProgressHook {
  void SetText(const QString&) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
  void ProcessEvents() override {}
  bool Cancelled() override { return false; }
};

void BM_TaskTotalsYear(benchmark::State& state) {
  statistics::StatisticModel model = YearModel("total", "none");
  NoProgress progress;
  double grand = 0;
  for (auto _ : state) {
    grand = model.CollectTaskTotals(progress);
    benchmark::DoNotOptimize(grand);
  }
  state.counters["tasks"] = double(model.taskTotals().size());
  state.counters["grand_h"] = grand * 24;
}
BENCHMARK(BM_TaskTotalsYear)->Unit(benchmark::kMillisecond);

// What one opening of the store costs: the floor under every reload, which opens it once.
void BM_OpenStore(benchmark::State& state) {
  for (auto _ : state) {
    const core::ProfileFile store = tracker::StatisticsStore::OpenFile(TheStore().store);
    benchmark::DoNotOptimize(store.HasSection(QStringLiteral("user1\t2025_6_1")));
  }
}
BENCHMARK(BM_OpenStore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
