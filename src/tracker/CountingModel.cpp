#include "tracker/CountingModel.h"

#include "core/Durations.h"
#include "core/Error.h"

#include <QDir>

namespace tracker {

CountingModel::CountingModel(const core::Clock& clock, options::TaskCatalogue& catalogue,
                             QString dataFolder)
    : clock_(clock), catalogue_(catalogue), dataFolder_(std::move(dataFolder)) {}

QString CountingModel::cataloguePath() const {
  return QDir(dataFolder_).filePath(QString::fromLatin1(options::TaskCatalogue::kFileName));
}

void CountingModel::SetStorePath(const QString& path) { store_.emplace(path); }

void CountingModel::LoadDay() {
  dayDate_ = clock_.Now().date();
  storedTotal_ = 0;
  totalText_.clear();
  dayLoaded_ = false;
  if (user_.isEmpty() || !store_) return;
  StoredDay day = store_->ReadDay(SectionName(user_, dayDate_));
  dayList_ = std::move(day.entries);
  storedTotal_ = day.total;
  totalText_ = core::FormatDuration(storedTotal_);
  dayLoaded_ = true;
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
