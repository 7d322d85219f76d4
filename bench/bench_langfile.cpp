// Language files at the size of a big translation: 5,000 strings under 50 forms. Lookups must
// not allocate: every benchmark counts the allocations made inside its timed loop.
#include "localisation/LxLangEd.h"

#include <benchmark/benchmark.h>
#include <QTemporaryDir>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

// Every heap allocation of the process, Qt's own included (Qt allocates with malloc, not with
// operator new): glibc's allocator is wrapped by interposing the C entry points.
namespace {
std::atomic<long long> g_allocations{0};
}

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);

void* malloc(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_memalign(alignment, size);
}
void free(void* p) { __libc_free(p); }
}

namespace {

using localisation::TLxIdentRec;
using localisation::TLxLangFile;
using localisation::TLxLangFileEdit;

constexpr int kForms = 50, kStrings = 5000, kLookups = 100000;

QString FormName(int f) { return QStringLiteral("TformNumber%1").arg(f); }
QString PathName(int s) { return QStringLiteral("Component%1.Caption").arg(s); }

struct LangFixture {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("Big.lng"));
  std::vector<std::pair<QString, QString>> props;  // what the lookups ask for
  LangFixture() {
    auto f = TLxLangFileEdit::CreateBlank(path);
    for (int s = 0; s < kStrings; ++s) {
      TLxIdentRec rec;
      rec.Ident = quint16(s * 7 + 1);
      rec.Text = "Text of string " + QByteArray::number(s) + (s % 10 ? "" : "\r\nsecond line");
      f->AddString(rec);
      f->Props().Add(FormName(s % kForms), PathName(s), rec.Ident);
      props.emplace_back(FormName(s % kForms), PathName(s));
    }
    f->Save();
  }
};

LangFixture& Fixture() {
  static LangFixture fixture;
  return fixture;
}

void Report(benchmark::State& state, long long before, long long lookupsPerIteration) {
  const long long made = g_allocations.load() - before;
  state.counters["allocs_per_iter"] = double(made) / double(state.iterations());
  if (lookupsPerIteration)
    state.counters["lookups_per_s"] = benchmark::Counter(
        double(lookupsPerIteration), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Load(benchmark::State& state) {
  const QString path = Fixture().path;
  const long long before = g_allocations.load();
  for (auto _ : state) {
    TLxLangFile f(path);
    benchmark::DoNotOptimize(f.Count());
  }
  Report(state, before, 0);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_FindByIdent(benchmark::State& state) {
  TLxLangFile f(Fixture().path);
  std::vector<quint16> idents;
  for (int i = 0; i < kLookups; ++i) idents.push_back(quint16((i * 7919 % kStrings) * 7 + 1));
  const long long before = g_allocations.load();
  for (auto _ : state) {
    for (quint16 ident : idents) benchmark::DoNotOptimize(f.FindByIdent(ident));
  }
  Report(state, before, kLookups);
}
BENCHMARK(BM_FindByIdent)->Unit(benchmark::kMillisecond);

// A translator walks one form's properties at a time, as it does when it translates a form.
void BM_FindByPropFormByForm(benchmark::State& state) {
  TLxLangFile f(Fixture().path);
  std::vector<std::pair<QString, QString>> asks;
  for (int i = 0; i < kLookups; ++i) {
    const int s = (i / (kLookups / kForms)) + kForms * (i % (kStrings / kForms));
    asks.push_back(Fixture().props[size_t(s % kStrings)]);
  }
  const long long before = g_allocations.load();
  for (auto _ : state) {
    for (const auto& [form, path] : asks) benchmark::DoNotOptimize(f.FindByProp(form, path));
  }
  Report(state, before, kLookups);
}
BENCHMARK(BM_FindByPropFormByForm)->Unit(benchmark::kMillisecond);

// The worst case: every lookup in another form.
void BM_FindByPropScattered(benchmark::State& state) {
  TLxLangFile f(Fixture().path);
  std::vector<std::pair<QString, QString>> asks;
  for (int i = 0; i < kLookups; ++i) asks.push_back(Fixture().props[size_t(i * 7919 % kStrings)]);
  const long long before = g_allocations.load();
  long long misses = 0;
  for (auto _ : state) {
    for (const auto& [form, path] : asks) misses += f.FindByProp(form, path) == nullptr;
  }
  if (misses) state.SkipWithError("a lookup missed");
  Report(state, before, kLookups);
}
BENCHMARK(BM_FindByPropScattered)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
