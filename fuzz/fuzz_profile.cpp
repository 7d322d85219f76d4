// libFuzzer target for the readers of the tracker's own text files: the INI store, the task
// catalogue and a day of the store. Whatever the bytes, reading must not crash, and a write
// must keep every line it did not touch and read back what it wrote.
#include "core/Error.h"
#include "core/ProfileFile.h"
#include "options/TaskCatalogue.h"
#include "tracker/StatisticsStore.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>

#include <unistd.h>
#include <cstdlib>
#include <vector>

namespace {

QString TempPath(const char* what) {
  return QStringLiteral("/tmp/horalog-fuzz-%1-%2").arg(::getpid()).arg(QLatin1StringView(what));
}

void Put(const QString& path, const uint8_t* data, size_t size) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) std::abort();
  f.write(reinterpret_cast<const char*>(data), qint64(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_profile";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  const QString path = TempPath("store");
  Put(path, data, size);

  struct Entry {
    QString section, key, value;
  };
  std::vector<Entry> before;
  {
    const core::ProfileFile f(path);
    for (const QString& s : f.Sections())
      for (const QString& k : f.Keys(s)) before.push_back({s, k, f.ReadString(s, k, {})});
    tracker::StatisticsStore store(path);
    for (const QString& s : f.Sections().mid(0, 8)) {
      try {
        store.ReadDay(s);
      } catch (const core::Error&) {
      }
    }
  }
  {
    core::ProfileFile f(path);
    f.WriteString(QStringLiteral("fuzz\t2001_3_7"), QStringLiteral("total"),
                  QStringLiteral("00:00:01"));
    f.Commit();
  }
  const core::ProfileFile after(path);
  if (after.ReadString(QStringLiteral("fuzz\t2001_3_7"), QStringLiteral("total"), {}) !=
      QStringLiteral("00:00:01"))
    std::abort();
  for (const Entry& e : before) {
    if (e.section.compare(QStringLiteral("fuzz\t2001_3_7"), Qt::CaseInsensitive) == 0) continue;
    if (after.ReadString(e.section, e.key, QStringLiteral("\x01missing")) != e.value) std::abort();
  }

  options::TaskCatalogue catalogue;
  catalogue.Load(path);
  catalogue.BuildRestrictedList();
  for (const QString& line : catalogue.lines().lines().mid(0, 16))
    catalogue.Contains(options::SplitTaskLine(line).application);
  QFile::remove(path);
  return 0;
}
