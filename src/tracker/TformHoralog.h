#pragma once

#include "core/Clock.h"
#include "core/SortedStrings.h"
#include "options/OptionSettings.h"
#include "options/TaskCatalogue.h"
#include "platform/Desktop.h"
#include "statistics/TformStatistic.h"
#include "tracker/ActiveTask.h"
#include "tracker/CountDownModel.h"
#include "tracker/CountingModel.h"
#include "tracker/TFormMessage.h"
#include "tracker/TformInputStrings.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <vector>

namespace tracker {

class StatusPanels;

// The tracker's main window: a tiny frameless window in the lower right corner, or hidden in
// the tray, hosting the working-time service and the countdown service.
class TformHoralog : public QWidget {
  Q_OBJECT
 public:
  TformHoralog(platform::Desktop& desktop, const core::Clock& clock,
               options::OptionSettings& options, QString programFolder, QString dataFolder,
               QWidget* parent = nullptr);
  ~TformHoralog() override;

  void setVisible(bool visible) override;

  // Operations other windows use.
  void SelectService(int kind);
  void ApplyLanguageTexts();
  void UpdateTrayIcon();
  void BuildRestrictedList();
  void UpdateCountingControls();
  void UpdateCountDownControls();
  void LoadDay();

  // Event handlers, public so that the program's pieces and the tests can drive them.
  void FormActivate();
  void mnHideClick();
  void mnRestoreClick();
  void mnQuickDemoClick();
  void TrayDoubleClick();
  void btStartClick();
  void btCountDownStartClick();
  void btCountDownStopClick();
  void TimerCountDownTimer();
  void imSelectUserClick();
  void btInputCommentClick();
  void popMainMenuPopup();
  void ShowMessagePopup(const QString& text);
  bool CountDownActive() const { return countDown_.CountDownActive(); }
  CountDownModel& countDown() { return countDown_; }
  TformInputStrings* formInputStrings;
  TFormMessage* FormMessage;
  // The statistics window while it is open.
  statistics::TformStatistic* formStatistic = nullptr;
  void btStopClick();
  void btStatisticClick();
  void TimerHoralogTimer();
  // A forced save; false when it failed (the user was told).
  bool TrackAndSave(bool force);
  // Saves a running count as on Close and ends the program, without asking anything.
  void EndSession();

  CountingModel& counting() { return counting_; }
  ActiveTask& spy() { return spy_; }
  bool Counting() const { return counting_.Counting; }
  const core::SortedStrings& users() const { return slUsers; }
  const options::TaskCatalogue& catalogue() const { return slTaskDesc; }
  const QString& programFolder() const { return programFolder_; }
  QSystemTrayIcon* trayIcon() const { return TrayIcon; }

  // Components, under the names the program uses everywhere.
  QFrame* pForm;
  QFrame* pHeader;
  QToolButton* btSelectService;
  QLabel* lServiceCaption;
  QToolButton* btMinimize;
  QToolButton* btClose;
  QFrame* pFormHoralog;
  QFrame* pFormCountDown;
  QLineEdit* edUser;
  QToolButton* imSelectUser;
  QToolButton* btStart;
  QToolButton* btStop;
  QToolButton* btStatistic;
  QToolButton* btOptions;
  StatusPanels* StatusBar1;
  StatusPanels* StatusBar2;
  QLineEdit* edTimeAlarmHour;
  QLineEdit* edTimeAlarmMinute;
  QLineEdit* edTimeCountDown;
  QToolButton* btCountDownStart;
  QToolButton* btCountDownStop;
  QToolButton* btInputComment;
  QToolButton* SpeedButton1;
  QToolButton* SpeedButton2;
  QLabel* lTwoPoints;
  QFrame* BevelMode1;
  QFrame* BevelMode2;
  QPushButton* Button1;
  QLineEdit* edLang;
  QLabel* edCountDownComment;

  QMenu* popMainMenu;
  QAction* mnRestore;
  QAction* mnHide;
  QMenu* Horalog1;
  QAction* mnStart;
  QAction* mnStop;
  QAction* mnStatistic;
  QAction* mnOptions;
  QMenu* CountDown1;
  QAction* mnCountDownStart;
  QAction* mnCountDownStop;
  QAction* mnCountDownTime;
  QMenu* Help1;
  QAction* HelpContents1;
  QAction* mnQuickDemo;
  QMenu* mnLanguages;
  QAction* mnLexorInfo;
  QAction* mnClose;
  QMenu* popSelectService;
  QAction* mnServiceHoralog;
  QAction* mnServiceCountDown;

  QTimer* TimerHoralog;
  QTimer* TimerCountDown;

  // Fields.
  QString StorePath;
  int DragX = -1;
  int DragY = -1;
  bool FirstActivation = true;
  QString RestrictedList;
  core::SortedStrings slCountDownComment;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void CreateMenus();
  void FormCreate();
  bool FormCloseQuery();
  void RestoreFormStorage();
  void SaveFormStorage(bool destroying);
  void CheckFirstRun();
  void edUserChange();
  void btSelectServiceClick();
  void btOptionsClick();
  void mnLexorInfoClick();
  void HelpRequested();
  void ShowError(const QString& message);
  void SetLocked(QLineEdit* edit, bool locked);
  // The user field's history offers the users the store knows.
  void RefreshUserHistory();
  void ShowStep(const CountingModel::Step& step);
  void AnimateTray();

  platform::Desktop& desktop_;
  const core::Clock& clock_;
  options::OptionSettings& options_;
  QString programFolder_;
  QString dataFolder_;
  options::TaskCatalogue slTaskDesc;
  core::SortedStrings slUsers;
  ActiveTask spy_;
  CountingModel counting_;
  CountDownModel countDown_;
  bool sessionEnding_ = false;
  QSystemTrayIcon* TrayIcon;
  QIcon trayStill_;
  std::vector<QIcon> trayFrames_;  // what the tray shows: the animation, or the still icon
  std::size_t trayFrame_ = 0;
  QTimer* trayAnimation_;
  QString lastLoadError_;
  // texts of the numbered strings 25 to 30
  QString sHoralog_, sCountDown_, sTimeIsUp_, sStart_, sStop_, sNotActive_;
};

}  // namespace tracker
