#include "tracker/StatisticsStore.h"

#include "core/Durations.h"
#include "core/Error.h"
#include "core/ProfileFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tracker {

namespace {
const QString kTotal = QStringLiteral("total");
}

QString SectionName(const QString& user, const QDate& date) {
  return user + u'\t' + QString::number(date.year()) + u'_' + QString::number(date.month()) + u'_' +
         QString::number(date.day());
}

void StatisticsStore::ReadUsers(core::SortedStrings& users) const {
  const core::ProfileFile file = OpenFile(path_);
  for (const QString& section : file.Sections()) {
    const qsizetype tab = section.indexOf(u'\t');
    if (tab > 0) users.Add(section.left(tab));
  }
}

StoredDay StatisticsStore::ReadDay(const QString& section) const {
  const core::ProfileFile file = OpenFile(path_);
  StoredDay day;
  const QString zero = core::FormatDuration(0);
  for (const QString& key : file.Keys(section))
    day.entries.push_back(key + u'=' + file.ReadString(section, key, zero));
  const QString total = file.ReadString(section, kTotal, QStringLiteral("0"));
  const std::optional<double> parsed = core::ParseDuration(total);
  if (!parsed) {
    QString shown = section;
    shown.replace(u'\t', u' ');
    throw core::Error(QCoreApplication::translate(
                          "StatisticsStore",
                          "The day \"%1\" in \"%2\" cannot be loaded: its total \"%3\" is not a "
                          "time. Correct or remove that line, then try again.")
                          .arg(shown, QFileInfo(path_).absoluteFilePath(), total));
  }
  day.total = *parsed;
  return day;
}

void StatisticsStore::WriteDay(const QString& section, const QString& total,
                               const QStringList& dayList) const {
  core::ProfileFile file = OpenFile(path_);
  file.WriteString(section, kTotal, total);
  for (const QString& entry : dayList) {
    const qsizetype eq = entry.lastIndexOf(u'=');
    file.WriteString(section, eq < 0 ? entry : entry.left(eq),
                     eq < 0 ? QString() : entry.mid(eq + 1));
  }
  file.WriteString(section, kTotal, total);
  file.Commit();
}

}  // namespace tracker
