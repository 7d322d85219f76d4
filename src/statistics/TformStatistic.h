#pragma once

#include "core/Clock.h"
#include "core/SortedStrings.h"
#include "statistics/StatisticControls.h"
#include "statistics/StatisticModel.h"
#include "statistics/StatisticSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <optional>

namespace statistics {

class WeekTableModel;
class WeekHeaderModel;

// What the statistics window borrows from the rest of the program: the option that shows
// application icons, the group names and pictures, the icon cache, and the options dialog
// at its task list. Every hook may stay empty.
struct StatisticServices {
  // "Show in statistics icons from applications"
  std::function<bool()> showIcons = {};
  // GetGroupName; the designed names when empty.
  std::function<QString(int group)> groupName = {};
  // Brings the icon cache up to date (LoadAppIcons).
  std::function<void()> loadAppIcons = {};
  // The seven group pictures, by group number (ilGroups).
  std::function<QList<QIcon>()> groupPictures = {};
  // The icon cache: application paths each followed by a TAB (slIcons), and the icons at the
  // same positions (ilIcons).
  std::function<const core::SortedStrings*()> iconList = {};
  std::function<QList<QIcon>()> appIcons = {};
  // Opens the options dialog at its task list; true when the user applied changes.
  std::function<bool()> customizeTasks = {};
  // Prints the current page.
  std::function<void()> print = {};
};

// The statistics window: one user's time for all work, a group or a task over a period,
// as a week table, optionally compared with a second selection.
class TformStatistic : public QDialog {
  Q_OBJECT
 public:
  TformStatistic(QString storePath, const core::SortedStrings& catalogue, const core::Clock& clock,
                 StatisticServices services = {}, QWidget* parent = nullptr);
  ~TformStatistic() override;

  bool Busy() const { return model_.Busy(); }
  void SetBusy(bool busy) { model_.SetBusy(busy); }
  StatisticModel& model() { return model_; }
  const StatisticModel& model() const { return model_; }

  // The opener's steps: the stored properties, the users, and storing them again at the end.
  void RestoreFormStorage();
  void SaveFormStorage() const;
  void FillUsers(const QStringList& users, const QString& currentUser);
  // The store was written meanwhile: the table is painted again, nothing is reloaded.
  void RepaintTable();

  // What the settings hold, read from the controls.
  StatisticSettings CurrentSettings() const;
  void ApplySettings(const StatisticSettings& settings);

  // Handlers, public so that the program's pieces and the tests can drive them.
  void FormShow();
  void btPage0Click() { ShowPage(0); }
  void btPage1Click() { ShowPage(1); }
  void btPage2Click() { ShowPage(2); }
  void Notebook1PageChanged();
  void UpdatePanels();
  void btOptionsClick();
  void lMark2Click(int mark);
  void edMark2Change();
  void popDatesPopup();
  void mnMonthClick(PeriodPreset preset);
  void dateToChange();
  void cbUserChange();
  void BuildTaskLists();
  QString GetSelectedKey(const QTreeWidget* tree) const;
  QString GetSelectedText(const QTreeWidget* tree) const;
  void TreeViewTask1Change();
  void TreeViewTask1AfterSelect();
  void cbTask1KeyUp(ComboTreeEdit* edit, int key);
  void btDownUpClick();
  void btCustomizeTasksClick();

  // Painting of the two grids, cell by cell.
  void RxDrawGridDrawCell(QPainter& painter, const QRect& rect, int column, int row) const;
  void gridWeekDrawCell(QPainter& painter, const QRect& rect, int column) const;
  const std::array<QString, StatisticModel::kColumns>& DayTitles() const { return dayTitles_; }

  QColor MarkColour(int mark) const;
  // The colour dialog; tests put a choice of their own here.
  std::function<std::optional<QColor>(const QColor& current)> chooseColour;

  // Components, under the names the program uses everywhere.
  QFrame* pHeader;
  QToolButton* btPage0;
  QToolButton* btPage1;
  QToolButton* btPage2;
  QButtonGroup* pageButtons;
  QLabel* lUser;
  QComboBox* cbUser;
  QLabel* lPeriod;
  QToolButton* btSelectPeriod;
  QLabel* lFrom;
  DateField* dateFrom;
  QLabel* lTo;
  DateField* dateTo;
  QMenu* popDates;
  QActionGroup* presetGroup;
  QAction* mnDay;
  QAction* mnWeek;
  QAction* mnTwoWeeks;
  QAction* mnMonth;

  QFrame* pHeaderTask;
  QToolButton* btDownUp;
  QLabel* lSelectTask;
  QTreeWidget* TreeViewTask1;
  ComboTreeEdit* cbTask1;
  QLabel* lTotal;
  QLabel* lTaskCompare;
  QTreeWidget* TreeViewTask2;
  ComboTreeEdit* cbTask2;
  QLabel* lTotal2;
  QFrame* pDetail;

  QStackedWidget* Notebook1;
  QWidget* pageGrid;
  QWidget* pageGraph;
  QWidget* pageDetail;
  QTableView* gridWeek;
  QTableView* RxDrawGrid;

  QFrame* pOptions;
  QGroupBox* gbFormat;
  QRadioButton* rbAmer;
  QRadioButton* rbEuro;
  QGroupBox* gbMarkDays;
  QLabel* lMark1;
  QLabel* lMark2;
  QLabel* lMark3;
  QSpinBox* edMark2;
  QSpinBox* edMark3;
  QPushButton* btCustomizeTasks;
  QLabel* lSmallFont;
  QLabel* lNormalFont;

  QPushButton* btOptions;
  QPushButton* btPrint;
  QPushButton* btClose;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void CreateHeader();
  void CreateTaskRow();
  void CreatePages();
  void CreateOptions();
  void ShowPage(int page);
  void CloseDropDowns();
  void SetTaskRowHeight(int height);
  // Hands the window's inputs to the model: user, dates, week style, the pickers' keys.
  // False when a picker has no selection.
  bool TakeInputs();
  // Runs a step of the model with the wait cursor; a store that cannot be read is shown.
  void Run(const std::function<void()>& step);
  void ShowPeriod();
  void ShowTotals();
  void SetMarkColour(int mark, const QColor& colour);

  const core::SortedStrings& catalogue_;
  const core::Clock& clock_;
  StatisticServices services_;
  StatisticModel model_;
  WeekTableModel* tableModel_;
  WeekHeaderModel* headerModel_;
  mutable std::array<QString, StatisticModel::kColumns> dayTitles_;
  std::array<QColor, 3> markColours_;
  int detailPage_ = 0;
  bool firstShow_ = true;
};

}  // namespace statistics
