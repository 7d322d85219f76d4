#pragma once

#include "core/ProfileFile.h"
#include "core/SortedStrings.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace tracker {

// user TAB year_month_day, without leading zeros: the store's section of one user's day.
QString SectionName(const QString& user, const QDate& date);

struct StoredDay {
  QStringList entries;  // key=value in file order, "total" included
  double total = 0;     // the stored "total", a day fraction
};

// hg20work.txt: one INI section per user and day with "total" and one key per task, each
// value a duration text. Every call opens the file, does its work and closes it again.
class StatisticsStore {
 public:
  static constexpr const char* kFileName = "hg20work.txt";

  explicit StatisticsStore(QString path) : path_(std::move(path)) {}
  const QString& path() const { return path_; }

  // The store as an INI file. A task key is an application path and may hold "=", a value is
  // a duration and never does: key lines split at their last "=".
  static core::ProfileFile OpenFile(const QString& path) {
    return core::ProfileFile(path, core::ProfileFile::KeySplit::LastEquals);
  }

  // Adds the user part of every section name (before the first TAB) to `users`; sections
  // without a TAB are not users' days.
  void ReadUsers(core::SortedStrings& users) const;

  // Throws core::Error, naming the file and the section, when "total" is no duration.
  StoredDay ReadDay(const QString& section) const;

  // Writes "total", then every entry of the day list (split at its last "="), then "total"
  // again so that the current one is what remains. Throws core::Error; the old file then
  // stays as it was.
  void WriteDay(const QString& section, const QString& total, const QStringList& dayList) const;

 private:
  QString path_;
};

}  // namespace tracker
