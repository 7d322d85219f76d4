#pragma once

#include "core/ProfileFile.h"
#include "core/SortedStrings.h"
#include "statistics/ProgressHook.h"
#include "statistics/StatisticPeriod.h"
#include "statistics/TaskLists.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace statistics {

enum class StatisticPage { Table, Chart, Detail };

// What the statistics window lends the model: its current page and the views to refresh.
// Every hook may be left empty.
struct StatisticHooks {
  std::function<StatisticPage()> currentPage = {};
  std::function<void()> repaintTable = {};
  std::function<void()> fillChart = {};
  std::function<void()> fillDetail = {};
  // Cancelling the per-task totals goes back to the table page.
  std::function<void()> showTablePage = {};
  // The model moved a date or a preset mark by itself: the date fields and the period menu
  // must show it.
  std::function<void()> periodChanged = {};
};

// One day of the period as the reload found it.
struct DayTime {
  QDate date;
  int row = 0;
  int column = 0;
  double time1 = 0;  // main key, day fraction
  double time2 = 0;  // compared key, 0 without comparison
};

// One line of the per-task totals.
struct TaskTotal {
  double total = 0;
  QString name;
  QString application;
};

// Loading and aggregation of the statistics window: the period, the task keys, the sums per
// day and week, the week table, the totals texts and the per-task totals. Reads the store and
// never writes it.
class StatisticModel {
 public:
  static constexpr int kColumns = 8;
  using Row = std::array<QString, kColumns>;

  explicit StatisticModel(QString storePath);

  void SetHooks(StatisticHooks hooks) { hooks_ = std::move(hooks); }

  // While set, presets, date changes and reloads do nothing.
  bool Busy() const { return busy_; }
  void SetBusy(bool busy) { busy_ = busy; }

  // Inputs. Setting them does not reload; the window calls the handler that fits.
  const QString& user() const { return user_; }
  void SetUser(const QString& user) { user_ = user; }
  const QDate& dateFrom() const { return dateFrom_; }
  const QDate& dateTo() const { return dateTo_; }
  // A null date is an empty date field.
  void SetDates(const QDate& dateFrom, const QDate& dateTo);
  WeekStyle weekStyle() const { return weekStyle_; }
  void SetWeekStyle(WeekStyle style) { weekStyle_ = style; }
  const QString& Task1Key() const { return task1Key_; }
  const QString& Task2Key() const { return task2Key_; }
  void SetTaskKeys(const QString& task1Key, const QString& task2Key);
  PeriodPreset checkedPreset() const { return checkedPreset_; }

  // Period arithmetic of the current dates.
  int GetPeriodDays() const;
  // Also sets PeriodDays and BaseDate.
  int GetFirstColumn();
  int PeriodDays() const { return periodDays_; }
  const QDate& BaseDate() const { return baseDate_; }
  int FirstColumn() const { return firstColumn_; }
  int rows() const { return int(sgData_.size()); }

  // The period menu: a preset ending on `today`, then the reload.
  void mnMonthClick(PeriodPreset preset, const QDate& today);
  // Either date field changed.
  void dateToChange();

  TaskLists& taskLists() { return taskLists_; }
  const TaskLists& taskLists() const { return taskLists_; }
  void BuildTaskLists(const core::SortedStrings& catalogue) {
    taskLists_.BuildTaskLists(catalogue);
  }

  // The reload. Throws core::Error when the store exists but cannot be read; what was shown
  // before then stays.
  void cbUserChange();
  // Refills the week table from the store (the week totals stay those of the last reload).
  void FillCells();

  // The week table: per row LABEL TAB TIME1 TAB TIME2 in columns 0..6, WEEK1 TAB WEEK2 in 7.
  const std::vector<Row>& sgData() const { return sgData_; }
  QString Cells(int column, int row) const;
  const std::vector<double>& WeekTotal1() const { return weekTotal1_; }
  const std::vector<double>& WeekTotal2() const { return weekTotal2_; }
  const std::vector<DayTime>& days() const { return days_; }
  double total1() const { return total1_; }
  double total2() const { return total2_; }
  const QString& lTotal() const { return lTotal_; }
  const QString& lTotal2() const { return lTotal2_; }
  // Empty when there is nothing to compare with.
  const QString& percentText() const { return percentText_; }

  // The column titles in the order of the week style, "Week" last.
  std::array<QString, kColumns> DayTitles() const;
  // The day label of the table: the short date without the year.
  static QString DayLabel(const QDate& day);
  // "hh:nn", preceded by the number of whole days and string 146 or 147.
  static QString PeriodTotalText(double x);

  // The per-task totals of the period: fills slTmpSorted and slTaskDetail and returns the
  // grand total. Throws core::Error when the store cannot be read.
  double CollectTaskTotals(ProgressHook& progress);
  // VALUE TAB name TAB application, smallest first.
  const QStringList& slTmpSorted() const { return slTmpSorted_; }
  // VALUE TAB name, largest first.
  const QStringList& slTaskDetail() const { return slTaskDetail_; }
  // The same totals as numbers, largest first.
  const std::vector<TaskTotal>& taskTotals() const { return taskTotals_; }

  // A day fraction with five decimals and the current decimal separator.
  static QString ValueText(double x);

 private:
  void ReadDays(const core::ProfileFile& store);
  void FillCellsFromDays();
  void PeriodChanged() const;

  QString storePath_;
  StatisticHooks hooks_;
  bool busy_ = false;
  QString user_;
  QDate dateFrom_, dateTo_;
  WeekStyle weekStyle_ = WeekStyle::MondayToSunday;
  QString task1Key_ = QStringLiteral("total");
  QString task2Key_ = QStringLiteral("none");
  PeriodPreset checkedPreset_ = PeriodPreset::None;

  int periodDays_ = 1;
  QDate baseDate_;
  int firstColumn_ = 0;

  TaskLists taskLists_;
  std::vector<DayTime> days_;
  std::vector<Row> sgData_;
  std::vector<double> weekTotal1_, weekTotal2_;
  double total1_ = 0, total2_ = 0;
  QString lTotal_, lTotal2_, percentText_;

  QStringList slTmpSorted_, slTaskDetail_;
  std::vector<TaskTotal> taskTotals_;
};

}  // namespace statistics
