#include "tracker/CountingModel.h"

#include "core/Durations.h"
#include "core/Error.h"

#include <QDir>

#include <cmath>

namespace tracker {

CountingModel::CountingModel(const core::Clock& clock, options::TaskCatalogue& catalogue,
                             ActiveTask& spy, const options::OptionSettings& options,
                             QString dataFolder)
    : clock_(clock),
      catalogue_(catalogue),
      spy_(spy),
      options_(options),
      dataFolder_(std::move(dataFolder)) {}

QString CountingModel::cataloguePath() const {
  return QDir(dataFolder_).filePath(QString::fromLatin1(options::TaskCatalogue::kFileName));
}

void CountingModel::SetStorePath(const QString& path) { store_.emplace(path); }

double CountingModel::Since(std::chrono::steady_clock::time_point t) const {
  return std::chrono::duration<double>(clock_.Monotonic() - t).count() / 86400.0;
}

double CountingModel::DayTotal() const { return storedTotal_ + Since(countStart_); }

void CountingModel::LoadDay() {
  countStart_ = segmentStart_ = clock_.Monotonic();
  dayDate_ = clock_.Now().date();
  storedTotal_ = 0;
  currentTask_ = kUnknownTask;
  totalText_.clear();
  dayLoaded_ = false;
  if (user_.isEmpty() || !store_) return;
  StoredDay day = store_->ReadDay(SectionName(user_, dayDate_));
  dayList_ = std::move(day.entries);
  storedTotal_ = day.total;
  totalText_ = core::FormatDuration(storedTotal_);
  dayLoaded_ = true;
}

void CountingModel::Start() {
  LoadDay();
  Counting = true;
}

CountingModel::Step CountingModel::Stop() {
  Step step = TrackAndSave(true);
  Counting = false;
  return step;
}

CountingModel::Step CountingModel::Tick() {
  TickSeconds += 0.5;
  if (TickSeconds != std::floor(TickSeconds)) return {};
  return TrackAndSave(false);
}

qsizetype CountingModel::DayListIndex(const QString& task) const {
  for (qsizetype i = 0; i < dayList_.size(); ++i) {
    const QString& entry = dayList_[i];
    const qsizetype eq = entry.indexOf(u'=');
    if (QStringView(entry).left(eq < 0 ? entry.size() : eq).compare(task, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

void CountingModel::DescribeTask(const QString& task) {
  if (task == kUnknownTask || catalogue_.Contains(task)) return;
  catalogue_.Add(options::TaskCatalogue::NewEntry(task, spy_.ForegroundTitle().left(255)));
}

void CountingModel::RecordSegment(const QString& task) {
  DescribeTask(task);
  double segment = Since(segmentStart_);
  segmentStart_ = clock_.Monotonic();
  const qsizetype index = DayListIndex(currentTask_);
  if (index >= 0) {
    const QString& entry = dayList_[index];
    // A value that is no time is replaced by the new segment alone.
    if (const auto before = core::ParseDuration(entry.mid(entry.indexOf(u'=') + 1)))
      segment += *before;
    dayList_[index] = currentTask_ + u'=' + core::FormatDuration(segment);
  } else {
    dayList_.push_back(currentTask_ + u'=' + core::FormatDuration(segment));
  }
  currentTask_ = task;
}

CountingModel::Step CountingModel::TrackAndSave(bool force) {
  Step step;
  step.ran = true;
  if (user_.isEmpty()) return step;
  const double elapsed = Since(countStart_);
  QString task;
  if (Counting || PausedBySaver) task = spy_.GetActiveTask();
  if (task.isEmpty()) task = kUnknownTask;
  if (!Counting) return step;
  step.counted = true;

  const bool dayChanged = clock_.Now().date() != dayDate_;
  if (dayChanged) force = true;
  // Reaching or passing the interval saves: counting started long after the program did is
  // saved periodically too.
  const bool saveDue =
      std::lround(TickSeconds) >= qint64(options_.Int(QStringLiteral("edSaveTime.Value"))) * 60;
  if (task != currentTask_ || saveDue || force) RecordSegment(task);

  totalText_ = core::FormatDuration(elapsed + storedTotal_);
  step.totalText = totalText_;
  if (saveDue || force) {
    TickSeconds = 0;
    step.writeError = WriteDay(totalText_);
    step.saved = store_ && dayLoaded_ && !writeFailing_;
  }
  if (dayChanged) {
    try {
      LoadDay();
    } catch (const core::Error& e) {
      step.loadError = e.message();
    }
    step.totalText = totalText_;
  }
  return step;
}

std::optional<QString> CountingModel::WriteDay(const QString& total) {
  if (!store_ || !dayLoaded_) return std::nullopt;
  QString firstError;
  try {
    catalogue_.Save(cataloguePath());
  } catch (const core::Error& e) {
    firstError = e.message();
  }
  // The day matters more than the catalogue: it is written even when the catalogue was not.
  try {
    store_->WriteDay(SectionName(user_, dayDate_), total, dayList_);
  } catch (const core::Error& e) {
    if (firstError.isEmpty()) firstError = e.message();
  }
  if (firstError.isEmpty()) {
    writeFailing_ = false;
    return std::nullopt;
  }
  if (writeFailing_) return std::nullopt;
  writeFailing_ = true;
  return firstError;
}

}  // namespace tracker
