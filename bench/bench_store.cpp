// The statistics store at the size of years of use: 3 users x 3 years x 60 tasks a day.
#include "StoreGenerator.h"
#include "core/ProfileFile.h"
#include "tracker/StatisticsStore.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct Store {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("hg20work.txt"));
  Store() {
    bench::GenerateStore(path, dir.filePath(QStringLiteral("hg20task.txt")), 3, 3, 60, 300,
                         QDate(2024, 1, 1));
  }
};

Store& TheStore() {
  static Store store;
  return store;
}

void BM_RawRead(benchmark::State& state) {
  for (auto _ : state) {
    QFile f(TheStore().path);
    f.open(QIODevice::ReadOnly);
    benchmark::DoNotOptimize(f.readAll());
  }
  state.counters["MB"] = double(QFile(TheStore().path).size()) / 1e6;
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

void BM_OpenAndListSections(benchmark::State& state) {
  for (auto _ : state) {
    core::ProfileFile f = tracker::StatisticsStore::OpenFile(TheStore().path);
    benchmark::DoNotOptimize(f.Sections());
  }
}
BENCHMARK(BM_OpenAndListSections)->Unit(benchmark::kMillisecond);

void BM_ReadDay(benchmark::State& state) {
  const tracker::StatisticsStore store(TheStore().path);
  const QString section = tracker::SectionName(QStringLiteral("user1"), QDate(2025, 6, 15));
  for (auto _ : state) benchmark::DoNotOptimize(store.ReadDay(section));
}
BENCHMARK(BM_ReadDay)->Unit(benchmark::kMillisecond);

void BM_WriteDay(benchmark::State& state) {
  const tracker::StatisticsStore store(TheStore().path);
  const QString section = tracker::SectionName(QStringLiteral("user2"), QDate(2026, 12, 31));
  QStringList dayList;
  for (int i = 0; i < 60; ++i)
    dayList << bench::ApplicationPath(i) + QStringLiteral("=00:0%1:00").arg(i % 10);
  for (auto _ : state) store.WriteDay(section, QStringLiteral("01:00:00"), dayList);
}
BENCHMARK(BM_WriteDay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
