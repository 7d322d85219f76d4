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

  struct Entry {
    QString section, key, value;
  };
  const QString day = QStringLiteral("fuzz\t2001_3_7");
  // Both ways of splitting key lines: the classic one and the store's.
  for (const auto split :
       {core::ProfileFile::KeySplit::FirstEquals, core::ProfileFile::KeySplit::LastEquals}) {
    Put(path, data, size);
    std::vector<Entry> before;
    {
      const core::ProfileFile f(path, split);
      for (const QString& s : f.Sections())
        for (const QString& k : f.Keys(s)) before.push_back({s, k, f.ReadString(s, k, {})});
    }
    {
      // Names are found whatever blanks surround them.
      core::ProfileFile f(path, split);
      f.WriteString(u' ' + day + u'\t', QStringLiteral(" total"), QStringLiteral("00:00:01"));
      f.Commit();
    }
    const core::ProfileFile after(path, split);
    if (after.ReadString(day, QStringLiteral("total "), {}) != QStringLiteral("00:00:01"))
      std::abort();
    for (const Entry& e : before) {
      if (e.section.compare(day, Qt::CaseInsensitive) == 0) continue;
      if (after.ReadString(e.section, e.key, QStringLiteral("\x01missing")) != e.value)
        std::abort();
    }
  }

  Put(path, data, size);
  {
    tracker::StatisticsStore store(path);
    const core::ProfileFile f = tracker::StatisticsStore::OpenFile(path);
    for (const QString& s : f.Sections().mid(0, 8)) {
      try {
        store.ReadDay(s);
      } catch (const core::Error&) {
      }
    }
  }

  options::TaskCatalogue catalogue;
  catalogue.Load(path);
  catalogue.BuildRestrictedList();
  for (const QString& line : catalogue.lines().lines().mid(0, 16))
    catalogue.Contains(options::SplitTaskLine(line).application);
  QFile::remove(path);
  return 0;
}
