#include "statistics/StatisticModel.h"

#include "core/Durations.h"
#include "core/FormatSettings.h"
#include "localisation/LangString.h"
#include "tracker/StatisticsStore.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace statistics {

namespace {

const QString kNone = QStringLiteral("none");
constexpr qint64 kMsPerDay = 86'400'000;

// Clears the flag again however the guarded steps end.
class BusyScope {
 public:
  explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
};

QString WithDecimalSeparator(QString number) {
  const QChar separator = core::FormatSettings::Current().decimalSeparator;
  if (separator != u'.') number.replace(u'.', separator);
  return number;
}

QString FirstField(const QString& line) {
  const qsizetype tab = line.indexOf(u'\t');
  return tab < 0 ? line : line.left(tab);
}

QString SecondField(const QString& line) {
  const qsizetype first = line.indexOf(u'\t');
  if (first < 0) return {};
  const qsizetype second = line.indexOf(u'\t', first + 1);
  return line.mid(first + 1, second < 0 ? -1 : second - first - 1);
}

}  // namespace

StatisticModel::StatisticModel(QString storePath) : storePath_(std::move(storePath)) {}

void StatisticModel::SetDates(const QDate& dateFrom, const QDate& dateTo) {
  dateFrom_ = dateFrom;
  dateTo_ = dateTo;
}

void StatisticModel::SetTaskKeys(const QString& task1Key, const QString& task2Key) {
  task1Key_ = task1Key;
  task2Key_ = task2Key;
}

int StatisticModel::GetPeriodDays() const { return statistics::GetPeriodDays(dateFrom_, dateTo_); }

int StatisticModel::GetFirstColumn() {
  periodDays_ = GetPeriodDays();
  baseDate_ = dateTo_.addDays(-periodDays_);
  firstColumn_ = WeekColumn(baseDate_.addDays(1), weekStyle_);
  return firstColumn_;
}

void StatisticModel::PeriodChanged() const {
  if (hooks_.periodChanged) hooks_.periodChanged();
}

void StatisticModel::mnMonthClick(PeriodPreset preset, const QDate& today) {
  if (busy_) return;
  checkedPreset_ = preset;
  const int n = PresetLength(preset, today);
  {
    // The dates set here are the preset's own: they must not clear its mark.
    BusyScope busy(busy_);
    dateTo_ = today;
    dateFrom_ = today.addDays(-(n - 1));
    PeriodChanged();
  }
  cbUserChange();
}

void StatisticModel::dateToChange() {
  if (!busy_) {
    checkedPreset_ = PeriodPreset::None;
    PeriodChanged();
  }
  cbUserChange();
}

void StatisticModel::ReadDays(const core::ProfileFile& store) {
  const bool compare = task2Key_ != kNone;
  days_.clear();
  days_.reserve(size_t(periodDays_));
  for (int d = 0; d < periodDays_; ++d) {
    DayTime day;
    day.date = baseDate_.addDays(d + 1);
    day.row = (firstColumn_ + d) / 7;
    day.column = (firstColumn_ + d) % 7;
    const QString section = tracker::SectionName(user_, day.date);
    day.time1 = taskLists_.ReadTaskTime(store, section, task1Key_);
    if (compare) day.time2 = taskLists_.ReadTaskTime(store, section, task2Key_);
    days_.push_back(day);
  }
}

void StatisticModel::cbUserChange() {
  if (busy_) return;
  if (task1Key_.isEmpty() || task2Key_.isEmpty()) return;
  if (dateFrom_.isNull() || dateTo_.isNull()) return;
  if (dateTo_ < dateFrom_) {
    // A date change like the user's own: the preset mark goes and a reload of its own runs.
    dateFrom_ = dateTo_;
    PeriodChanged();
    dateToChange();
  }
  // Opened before anything changes, so a store that cannot be read leaves the last results.
  const core::ProfileFile store = tracker::StatisticsStore::OpenFile(storePath_);
  GetFirstColumn();
  const int rowCount = (firstColumn_ + periodDays_ + 6) / 7;
  ReadDays(store);

  weekTotal1_.assign(size_t(rowCount), 0.0);
  weekTotal2_.assign(size_t(rowCount), 0.0);
  total1_ = total2_ = 0;
  for (const DayTime& day : days_) {
    weekTotal1_[size_t(day.row)] += day.time1;
    weekTotal2_[size_t(day.row)] += day.time2;
    total1_ += day.time1;
    total2_ += day.time2;
  }
  sgData_.assign(size_t(rowCount), Row());
  FillCellsFromDays();

  lTotal_ = localisation::LangString(148) + QStringLiteral(": ") + PeriodTotalText(total1_);
  percentText_.clear();
  if (total2_ > 0 && total1_ > 0) {
    percentText_ = WithDecimalSeparator(QString::number(total2_ / total1_ * 100.0, 'f', 2)) + u'%';
  }
  if (task2Key_ != kNone) {
    lTotal2_ = localisation::LangString(149) + QStringLiteral(": ") + PeriodTotalText(total2_) +
               QStringLiteral("   (") + percentText_ + u')';
  } else {
    lTotal2_.clear();
  }

  const StatisticPage page = hooks_.currentPage ? hooks_.currentPage() : StatisticPage::Table;
  const std::function<void()>& refresh = page == StatisticPage::Chart    ? hooks_.fillChart
                                         : page == StatisticPage::Detail ? hooks_.fillDetail
                                                                         : hooks_.repaintTable;
  if (refresh) refresh();
}

void StatisticModel::FillCells() {
  if (sgData_.empty()) return;
  const core::ProfileFile store = tracker::StatisticsStore::OpenFile(storePath_);
  ReadDays(store);
  FillCellsFromDays();
}

void StatisticModel::FillCellsFromDays() {
  const bool compare = task2Key_ != kNone;
  for (size_t r = 0; r < sgData_.size(); ++r) {
    Row& row = sgData_[r];
    row.fill(QString());
    row[7] = core::FormatPositiveDurationHM(weekTotal1_[r]) + u'\t' +
             core::FormatPositiveDurationHM(weekTotal2_[r]);
  }
  for (const DayTime& day : days_) {
    if (size_t(day.row) >= sgData_.size()) continue;
    const QString time1 = day.time1 > 0 ? core::FormatDuration(day.time1) : QString();
    const QString time2 = compare && day.time2 > 0 ? core::FormatDuration(day.time2) : QString();
    sgData_[size_t(day.row)][size_t(day.column)] =
        DayLabel(day.date) + u'\t' + time1 + u'\t' + time2;
  }
}

QString StatisticModel::Cells(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0 || row >= rows()) return {};
  return sgData_[size_t(row)][size_t(column)];
}

std::array<QString, StatisticModel::kColumns> StatisticModel::DayTitles() const {
  const auto& names = core::FormatSettings::Current().shortDayNames;  // Sunday first
  std::array<QString, kColumns> titles;
  const int shift = weekStyle_ == WeekStyle::MondayToSunday ? 1 : 0;
  for (int k = 0; k < 7; ++k) titles[size_t(k)] = names[size_t((k + shift) % 7)];
  titles[7] = QStringLiteral("Week");
  return titles;
}

QString StatisticModel::DayLabel(const QDate& day) {
  const core::FormatSettings& formats = core::FormatSettings::Current();
  const QString text = formats.FormatDate(day);
  // The year goes: day and month stay in the order of the short date format.
  const qsizetype cut = text.indexOf(formats.dateSeparator, 3);
  return cut >= 0 ? text.left(cut) : text.left(2);
}

QString StatisticModel::PeriodTotalText(double x) {
  if (!(x >= 0)) return core::FormatDurationHM(x);
  // Split on the rounded value, so that a total a hair below a whole day reads as that day.
  const qint64 ms = std::llround(x * double(kMsPerDay));
  const qint64 days = ms / kMsPerDay;
  const QString time = core::FormatDurationHM(double(ms % kMsPerDay) / double(kMsPerDay));
  if (days == 1) return QStringLiteral("1 ") + localisation::LangString(146) + u' ' + time;
  if (days > 1) return QString::number(days) + u' ' + localisation::LangString(147) + u' ' + time;
  return time;
}

QString StatisticModel::ValueText(double x) {
  return WithDecimalSeparator(QString::number(x, 'f', 5));
}

double StatisticModel::CollectTaskTotals(ProgressHook& progress) {
  slTmpSorted_.clear();
  slTaskDetail_.clear();
  taskTotals_.clear();
  const core::ProfileFile store = tracker::StatisticsStore::OpenFile(storePath_);
  const core::SortedStrings& names = taskLists_.slTaskSortedName();
  progress.SetText(localisation::LangString(151));
  progress.SetRange(0, std::max(int(names.size()) - 1, 0));
  progress.SetPosition(0);

  QStringList sections;
  if (!dateFrom_.isNull() && !dateTo_.isNull()) {
    for (QDate day = dateFrom_; day <= dateTo_; day = day.addDays(1))
      sections.push_back(tracker::SectionName(user_, day));
  }

  // Lines of one exact name need not be neighbours: "Editor" and "editor" interleave in a
  // list sorted ignoring case. Each name is summed once.
  QSet<QString> done;
  std::vector<TaskTotal> totals;
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString& line = names.at(i);
    const QString name = FirstField(line);
    if (!done.contains(name)) {
      done.insert(name);
      double total = 0;
      for (const QString& section : sections)
        total += taskLists_.ReadTaskTime(store, section, name);
      if (total > 0) totals.push_back({total, name, SecondField(line)});
    }
    progress.SetPosition(int(i + 1));
    progress.ProcessEvents();
    if (progress.Cancelled()) {
      if (hooks_.showTablePage) hooks_.showTablePage();
      break;
    }
  }

  // Largest first by the number itself, ties by name, then application, in descending order.
  std::stable_sort(totals.begin(), totals.end(), [&names](const TaskTotal& a, const TaskTotal& b) {
    if (a.total != b.total) return a.total > b.total;
    if (const int c = names.Compare(a.name, b.name)) return c > 0;
    return names.Compare(a.application, b.application) > 0;
  });
  double grandTotal = 0;
  for (const TaskTotal& t : totals) {
    grandTotal += t.total;
    slTaskDetail_.push_back(ValueText(t.total) + u'\t' + t.name);
  }
  for (auto it = totals.rbegin(); it != totals.rend(); ++it)
    slTmpSorted_.push_back(ValueText(it->total) + u'\t' + it->name + u'\t' + it->application);
  taskTotals_ = std::move(totals);
  return grandTotal;
}

}  // namespace statistics
