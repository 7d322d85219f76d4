#pragma once

#include "core/Clock.h"
#include "options/TaskCatalogue.h"
#include "tracker/StatisticsStore.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace tracker {

// The counted day of one user: what the store held for it when it was loaded, the day list of
// tasks and their times, and the saving of both with the catalogue.
class CountingModel {
 public:
  CountingModel(const core::Clock& clock, options::TaskCatalogue& catalogue, QString dataFolder);

  const QString& dataFolder() const { return dataFolder_; }
  QString cataloguePath() const;
  // No store is known until the first activation names it; until then nothing is read.
  void SetStorePath(const QString& path);
  const std::optional<StatisticsStore>& store() const { return store_; }

  const QString& user() const { return user_; }
  void SetUser(const QString& user) { user_ = user; }

  // Starts the day anew from the store. Throws core::Error when the stored day cannot be read;
  // the day is then not loaded and nothing may be written into it.
  void LoadDay();
  bool dayLoaded() const { return dayLoaded_; }
  QDate dayDate() const { return dayDate_; }
  double storedTotal() const { return storedTotal_; }
  const QStringList& dayList() const { return dayList_; }
  // The text of the day's total in the status bar.
  const QString& totalText() const { return totalText_; }

  // Saves the catalogue, then the day's section with `total`. Returns the message to show when
  // this is the first failure of a run of failures; later failures of the run stay quiet and
  // the next success ends the run. The day stays in memory either way.
  std::optional<QString> WriteDay(const QString& total);
  bool writeFailing() const { return writeFailing_; }

 private:
  const core::Clock& clock_;
  options::TaskCatalogue& catalogue_;
  QString dataFolder_;
  std::optional<StatisticsStore> store_;
  QString user_;
  QDate dayDate_;
  double storedTotal_ = 0;
  QStringList dayList_;
  QString totalText_;
  bool dayLoaded_ = false;
  bool writeFailing_ = false;
};

}  // namespace tracker
