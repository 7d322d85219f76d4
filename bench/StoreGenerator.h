#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QString>
#include <QStringList>

#include <random>

// A store of the size years of real use give: every user has a section per day with "total"
// and `tasksPerDay` task keys drawn from `applications` paths, and a catalogue of them.
namespace bench {

inline QString ApplicationPath(int i) {
  return QStringLiteral(
             "/opt/workstation/applications/suite-%1/lib/x86_64-linux-gnu/bin/program-%1")
      .arg(i, 3, 10, QChar(u'0'));
}

inline void GenerateStore(const QString& storePath, const QString& cataloguePath, int users,
                          int years, int tasksPerDay, int applications, const QDate& first) {
  std::mt19937 random(42);
  QByteArray out;
  out.reserve(qsizetype(users) * years * 366 * (tasksPerDay + 2) * 48);
  auto time = [](int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'))
        .toUtf8();
  };
  for (int u = 0; u < users; ++u) {
    const QByteArray user = QStringLiteral("user%1").arg(u).toUtf8();
    for (QDate d = first; d < first.addYears(years); d = d.addDays(1)) {
      out += '[' + user + '\t' + QByteArray::number(d.year()) + '_' +
             QByteArray::number(d.month()) + '_' + QByteArray::number(d.day()) + "]\r\n";
      int total = 0;
      QByteArray keys;
      const int offset = int(random() % unsigned(applications));
      for (int t = 0; t < tasksPerDay; ++t) {
        const int seconds = int(random() % 600);
        total += seconds;
        keys +=
            ApplicationPath((offset + t) % applications).toUtf8() + '=' + time(seconds) + "\r\n";
      }
      out += "total=" + time(total) + "\r\nunknown_task=00:00:01\r\n" + keys;
    }
  }
  QFile store(storePath);
  if (store.open(QIODevice::WriteOnly)) store.write(out);
  QByteArray catalogue;
  for (int i = 0; i < applications; ++i)
    catalogue += ApplicationPath(i).toUtf8() + "\tProgram " + QByteArray::number(i) + '\t' +
                 QByteArray::number(i % 7) + "\r\n";
  QFile cat(cataloguePath);
  if (cat.open(QIODevice::WriteOnly)) cat.write(catalogue);
}

}  // namespace bench
