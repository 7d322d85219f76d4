#pragma once

#include "core/Clock.h"
#include "options/OptionSettings.h"
#include "options/TaskCatalogue.h"
#include "tracker/ActiveTask.h"
#include "tracker/StatisticsStore.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace tracker {

// The counting of one user's working time: the day loaded from the store, the task in front,
// the per-second step that moves time from task to task, and the save points.
//
// Elapsed times come from the monotonic clock, so neither a daylight-saving change nor a night
// in standby counts as work; the calendar only names the day and tells midnight.
class CountingModel {
 public:
  static inline const QString kUnknownTask = QStringLiteral("unknown_task");

  CountingModel(const core::Clock& clock, options::TaskCatalogue& catalogue, ActiveTask& spy,
                const options::OptionSettings& options, QString dataFolder);

  const QString& dataFolder() const { return dataFolder_; }
  QString cataloguePath() const;
  // No store is known until the first activation names it; until then nothing is read.
  void SetStorePath(const QString& path);
  const std::optional<StatisticsStore>& store() const { return store_; }

  const QString& user() const { return user_; }
  void SetUser(const QString& user) { user_ = user; }

  // What the window shows and does after a step.
  struct Step {
    bool ran = false;                   // the per-second step ran
    bool counted = false;               // counting is on: the total below is current
    QString totalText;                  // the day's total for the status bar
    std::optional<QString> writeError;  // the first failure of a run of failed saves
    std::optional<QString> loadError;   // the new day could not be loaded at midnight
    bool saved = false;
  };

  // One tick of the 500 ms timer; every second tick runs the per-second step.
  Step Tick();
  // Tracking, display and saving; `force` makes this a save point.
  Step TrackAndSave(bool force);

  // Starts the day anew from the store. Throws core::Error when the stored day cannot be read;
  // the day is then not loaded and nothing is written into it.
  void LoadDay();
  // Loads the day and counts from now on. Throws core::Error as LoadDay, and then does not count.
  void Start();
  // A save point, then counting is off.
  Step Stop();

  double TickSeconds = 0;
  bool Counting = false;
  bool PausedBySaver = false;

  bool dayLoaded() const { return dayLoaded_; }
  QDate dayDate() const { return dayDate_; }
  double storedTotal() const { return storedTotal_; }
  const QStringList& dayList() const { return dayList_; }
  const QString& currentTask() const { return currentTask_; }
  // The day's total: what the store held when the day was loaded and what was counted since.
  double DayTotal() const;
  const QString& totalText() const { return totalText_; }

  // Saves the catalogue, then the day's section with `total`. Returns the message to show when
  // this is the first failure of a run of failures; later failures of the run stay quiet and
  // the next success ends the run. The day stays in memory either way.
  std::optional<QString> WriteDay(const QString& total);
  bool writeFailing() const { return writeFailing_; }

 private:
  void RecordSegment(const QString& task);
  void DescribeTask(const QString& task);
  qsizetype DayListIndex(const QString& task) const;
  double Since(std::chrono::steady_clock::time_point t) const;

  const core::Clock& clock_;
  options::TaskCatalogue& catalogue_;
  ActiveTask& spy_;
  const options::OptionSettings& options_;
  QString dataFolder_;
  std::optional<StatisticsStore> store_;
  QString user_;
  QDate dayDate_;
  std::chrono::steady_clock::time_point countStart_{};
  std::chrono::steady_clock::time_point segmentStart_{};
  QString currentTask_ = kUnknownTask;
  double storedTotal_ = 0;
  QStringList dayList_;
  QString totalText_;
  bool dayLoaded_ = false;
  bool writeFailing_ = false;
};

}  // namespace tracker
