#include "tracker/TformHoralog.h"

#include "core/Durations.h"
#include "core/Error.h"
#include "core/FormStorage.h"
#include "core/FormatSettings.h"
#include "localisation/LangString.h"
#include "tracker/Glyphs.h"
#include "tracker/HelpPages.h"
#include "tracker/StatusPanels.h"
#include "tracker/WindowRules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QStringListModel>

namespace tracker {

using localisation::LangString;

namespace {

const QColor kHeaderColour(0x00, 0x80, 0x80);

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QToolButton* FlatButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& hint, Glyph glyph) {
  auto* b = Named(new QToolButton(parent), name);
  b->setAutoRaise(true);
  b->setGeometry(geometry);
  b->setToolTip(hint);
  b->setIcon(GlyphIcon(glyph));
  b->setIconSize(QSize(geometry.height() - 4, geometry.height() - 4));
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

QLineEdit* Edit(QWidget* parent, const char* name, const QRect& geometry, const QString& hint) {
  auto* e = Named(new QLineEdit(parent), name);
  e->setGeometry(geometry);
  e->setToolTip(hint);
  e->setTextMargins(0, 0, 0, 0);
  return e;
}

QAction* Item(QMenu* menu, const char* name, const QString& caption) {
  auto* a = menu->addAction(caption);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

}  // namespace

TformHoralog::TformHoralog(platform::Desktop& desktop, const core::Clock& clock,
                           options::OptionSettings& options, QString programFolder,
                           QString dataFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      slCountDownComment(core::SortedStrings::Duplicates::Ignore),
      desktop_(desktop),
      clock_(clock),
      options_(options),
      programFolder_(std::move(programFolder)),
      dataFolder_(std::move(dataFolder)),
      slUsers(core::SortedStrings::Duplicates::Ignore),
      spy_(desktop_),
      counting_(clock_, slTaskDesc, spy_, options_, dataFolder_),
      countDown_(clock_) {
  setObjectName(QStringLiteral("formHoralog"));
  CreateComponents();
  CreateMenus();
  FormCreate();
}

TformHoralog::~TformHoralog() = default;

void TformHoralog::CreateComponents() {
  QFont font = this->font();
  font.setPixelSize(11);
  setFont(font);

  pForm = Named(new QFrame(this), "pForm");
  pForm->setFrameStyle(QFrame::Panel | QFrame::Raised);
  pForm->setLineWidth(2);
  pForm->setAutoFillBackground(true);
  QPalette grey = pForm->palette();
  grey.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));
  pForm->setPalette(grey);

  pHeader = Named(new QFrame(pForm), "pHeader");
  pHeader->setGeometry(2, 2, 128, 16);
  pHeader->setAutoFillBackground(true);
  QPalette teal = pHeader->palette();
  teal.setColor(QPalette::Window, kHeaderColour);
  teal.setColor(QPalette::WindowText, Qt::white);
  teal.setColor(QPalette::ButtonText, Qt::white);
  pHeader->setPalette(teal);
  pHeader->setCursor(Qt::SizeAllCursor);

  btSelectService = FlatButton(pHeader, "btSelectService", QRect(1, 1, 14, 14),
                               QStringLiteral("Select Service.."), Glyph::SelectService);
  btSelectService->setIcon(GlyphIcon(Glyph::SelectService, Qt::white));
  lServiceCaption = Named(new QLabel(pHeader), "lServiceCaption");
  lServiceCaption->setGeometry(17, 0, 80, 16);
  QFont bold = font;
  bold.setBold(true);
  lServiceCaption->setFont(bold);
  btMinimize = FlatButton(pHeader, "btMinimize", QRect(97, 1, 14, 14),
                          QStringLiteral("Minimize to system tray"), Glyph::Minimize);
  btMinimize->setIcon(GlyphIcon(Glyph::Minimize, Qt::white));
  btClose =
      FlatButton(pHeader, "btClose", QRect(113, 1, 14, 14), QStringLiteral("Close"), Glyph::Close);
  btClose->setIcon(GlyphIcon(Glyph::Close, Qt::white));
  pHeader->installEventFilter(this);
  lServiceCaption->installEventFilter(this);

  // Working-time service.
  pFormHoralog = Named(new QFrame(pForm), "pFormHoralog");
  pFormHoralog->resize(128, 58);
  pFormHoralog->setProperty("helpContext", 21);
  edUser = Edit(pFormHoralog, "edUser", QRect(2, 3, 104, 19), QStringLiteral("Enter user name"));
  auto* history = new QCompleter(new QStringListModel(edUser), edUser);
  history->setCaseSensitivity(Qt::CaseInsensitive);
  edUser->setCompleter(history);
  imSelectUser = FlatButton(pFormHoralog, "imSelectUser", QRect(107, 3, 19, 19),
                            QStringLiteral("Select user from list.."), Glyph::SelectUser);
  btStart = FlatButton(pFormHoralog, "btStart", QRect(2, 24, 30, 18), QString(), Glyph::Start);
  btStop = FlatButton(pFormHoralog, "btStop", QRect(33, 24, 30, 18), QString(), Glyph::Stop);
  btStatistic = FlatButton(pFormHoralog, "btStatistic", QRect(64, 24, 30, 18),
                           QStringLiteral("Show Statistics"), Glyph::Statistic);
  btOptions = FlatButton(pFormHoralog, "btOptions", QRect(95, 24, 30, 18),
                         QStringLiteral("Customize Options"), Glyph::Options);
  StatusBar1 = Named(new StatusPanels({{65, Qt::AlignHCenter}, {50, Qt::AlignLeft}}, pFormHoralog),
                     "StatusBar1");
  StatusBar1->setGeometry(0, 43, 128, 15);

  // Countdown service.
  pFormCountDown = Named(new QFrame(pForm), "pFormCountDown");
  pFormCountDown->resize(128, 58);
  pFormCountDown->setProperty("helpContext", 31);
  BevelMode1 = Named(new QFrame(pFormCountDown), "BevelMode1");
  BevelMode1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  BevelMode1->setGeometry(1, 1, 63, 23);
  BevelMode2 = Named(new QFrame(pFormCountDown), "BevelMode2");
  BevelMode2->setFrameStyle(QFrame::Box | QFrame::Sunken);
  BevelMode2->setGeometry(65, 1, 62, 23);
  SpeedButton2 = FlatButton(pFormCountDown, "SpeedButton2", QRect(3, 3, 17, 19),
                            QStringLiteral("Alarm"), Glyph::Alarm);
  edTimeAlarmHour = Edit(pFormCountDown, "edTimeAlarmHour", QRect(21, 3, 19, 19),
                         QStringLiteral("Enter Hours to Alarm"));
  lTwoPoints = Named(new QLabel(QStringLiteral(":"), pFormCountDown), "lTwoPoints");
  lTwoPoints->setGeometry(40, 3, 4, 19);
  edTimeAlarmMinute = Edit(pFormCountDown, "edTimeAlarmMinute", QRect(44, 3, 19, 19),
                           QStringLiteral("Enter Minutes to Alarm"));
  SpeedButton1 = FlatButton(pFormCountDown, "SpeedButton1", QRect(67, 3, 17, 19),
                            QStringLiteral("Count Down"), Glyph::CountDown);
  // Only pictures in front of the inputs.
  for (QToolButton* b : {SpeedButton1, SpeedButton2}) {
    b->setEnabled(false);
    b->setIcon(QIcon(b->icon().pixmap(QSize(15, 15))));
  }
  edTimeCountDown = Edit(pFormCountDown, "edTimeCountDown", QRect(85, 3, 40, 19),
                         QStringLiteral("Enter Minutes for Count Down"));
  btCountDownStart =
      FlatButton(pFormCountDown, "btCountDownStart", QRect(2, 24, 30, 18), QString(), Glyph::Start);
  btCountDownStop =
      FlatButton(pFormCountDown, "btCountDownStop", QRect(33, 24, 30, 18), QString(), Glyph::Stop);
  btInputComment = FlatButton(pFormCountDown, "btInputComment", QRect(64, 24, 30, 18),
                              QStringLiteral("Input comment"), Glyph::Comment);
  StatusBar2 =
      Named(new StatusPanels({{70, Qt::AlignHCenter}, {100, Qt::AlignLeft}}, pFormCountDown),
            "StatusBar2");
  StatusBar2->setGeometry(0, 43, 128, 15);

  // Value holders and the focus sink lie outside the client area.
  Button1 = Named(new QPushButton(pForm), "Button1");
  Button1->setGeometry(200, 0, 10, 10);
  edLang = Named(new QLineEdit(pForm), "edLang");
  edLang->setGeometry(200, 20, 10, 10);
  edCountDownComment = Named(new QLabel(pForm), "edCountDownComment");
  edCountDownComment->setGeometry(200, 40, 10, 10);

  TimerHoralog = Named(new QTimer(this), "TimerHoralog");
  TimerHoralog->setInterval(500);
  TimerCountDown = Named(new QTimer(this), "TimerCountDown");

  connect(btClose, &QToolButton::clicked, this, &QWidget::close);
  connect(btMinimize, &QToolButton::clicked, this, &TformHoralog::mnHideClick);
  connect(btSelectService, &QToolButton::clicked, this, &TformHoralog::btSelectServiceClick);
  connect(btStatistic, &QToolButton::clicked, this, &TformHoralog::btStatisticClick);
  connect(btOptions, &QToolButton::clicked, this, &TformHoralog::btOptionsClick);
  connect(edUser, &QLineEdit::textChanged, this, &TformHoralog::edUserChange);
  connect(TimerHoralog, &QTimer::timeout, this, &TformHoralog::TimerHoralogTimer);
  connect(TimerCountDown, &QTimer::timeout, this, &TformHoralog::TimerCountDownTimer);
  connect(btCountDownStart, &QToolButton::clicked, this, &TformHoralog::btCountDownStartClick);
  connect(btCountDownStop, &QToolButton::clicked, this, &TformHoralog::btCountDownStopClick);
  connect(imSelectUser, &QToolButton::clicked, this, &TformHoralog::imSelectUserClick);
  connect(btInputComment, &QToolButton::clicked, this, &TformHoralog::btInputCommentClick);
  // Typing into one mode empties the other.
  for (QLineEdit* alarm : {edTimeAlarmHour, edTimeAlarmMinute}) {
    connect(alarm, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (!text.isEmpty()) edTimeCountDown->clear();
      UpdateCountDownControls();
    });
  }
  connect(edTimeCountDown, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!text.isEmpty()) {
      edTimeAlarmHour->clear();
      edTimeAlarmMinute->clear();
    }
    UpdateCountDownControls();
  });
  for (QLineEdit* e : {edTimeAlarmHour, edTimeAlarmMinute, edTimeCountDown})
    e->installEventFilter(this);
  connect(btStart, &QToolButton::clicked, this, &TformHoralog::btStartClick);
  connect(btStop, &QToolButton::clicked, this, &TformHoralog::btStopClick);
  connect(edUser, &QLineEdit::returnPressed, this, [this] {
    if (btStart->isEnabled()) btStartClick();
  });

  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, &TformHoralog::HelpRequested);
}

void TformHoralog::CreateMenus() {
  popMainMenu = Named(new QMenu(this), "popMainMenu");
  mnRestore = Item(popMainMenu, "mnRestore", QStringLiteral("Restore"));
  mnHide = Item(popMainMenu, "mnHide", QStringLiteral("Hide"));
  popMainMenu->addSeparator();
  Horalog1 = Named(popMainMenu->addMenu(QString()), "Horalog1");
  mnStart = Item(Horalog1, "mnStart", QString());
  mnStop = Item(Horalog1, "mnStop", QString());
  Horalog1->addSeparator();
  mnStatistic = Item(Horalog1, "mnStatistic", QStringLiteral("Statistics"));
  mnOptions = Item(Horalog1, "mnOptions", QStringLiteral("Options"));
  CountDown1 = Named(popMainMenu->addMenu(QString()), "CountDown1");
  mnCountDownStart = Item(CountDown1, "mnCountDownStart", QString());
  mnCountDownStop = Item(CountDown1, "mnCountDownStop", QString());
  CountDown1->addSeparator();
  mnCountDownTime = Item(CountDown1, "mnCountDownTime", QStringLiteral("Choose time..."));
  popMainMenu->addSeparator();
  Help1 = Named(popMainMenu->addMenu(QStringLiteral("Help")), "Help1");
  HelpContents1 = Item(Help1, "HelpContents1", QStringLiteral("Contents"));
  mnQuickDemo = Item(Help1, "mnQuickDemo", QStringLiteral("Quick Demo"));
  Help1->addSeparator();
  mnLanguages = Named(Help1->addMenu(QStringLiteral("Languages")), "mnLanguages");
  mnLanguages->addSeparator();
  mnLexorInfo = Item(mnLanguages, "mnLexorInfo", QStringLiteral("Info"));
  popMainMenu->addSeparator();
  mnClose = Item(popMainMenu, "mnClose", QStringLiteral("Close"));
  mnStart->setEnabled(false);
  mnStop->setEnabled(false);
  popMainMenu->setDefaultAction(mnHide);

  formInputStrings = new TformInputStrings(this);
  FormMessage = new TFormMessage(this);

  popSelectService = Named(new QMenu(this), "popSelectService");
  mnServiceHoralog = Item(popSelectService, "mnServiceHoralog", QString());
  mnServiceCountDown = Item(popSelectService, "mnServiceCountDown", QString());
  mnServiceHoralog->setCheckable(true);
  mnServiceCountDown->setCheckable(true);

  connect(mnRestore, &QAction::triggered, this, &TformHoralog::mnRestoreClick);
  connect(mnHide, &QAction::triggered, this, &TformHoralog::mnHideClick);
  connect(mnClose, &QAction::triggered, this, &QWidget::close);
  connect(mnStart, &QAction::triggered, this, [this] {
    SelectService(1);
    btStartClick();
  });
  connect(mnStop, &QAction::triggered, this, &TformHoralog::btStopClick);
  connect(mnCountDownStart, &QAction::triggered, this, [this] {
    SelectService(2);
    btCountDownStartClick();
  });
  connect(mnCountDownStop, &QAction::triggered, this, &TformHoralog::btCountDownStopClick);
  connect(mnCountDownTime, &QAction::triggered, this, [this] {
    mnRestoreClick();
    mnServiceCountDown->trigger();
  });
  connect(popMainMenu, &QMenu::aboutToShow, this, &TformHoralog::popMainMenuPopup);
  connect(mnStatistic, &QAction::triggered, this, &TformHoralog::btStatisticClick);
  connect(mnOptions, &QAction::triggered, this, &TformHoralog::btOptionsClick);
  connect(mnQuickDemo, &QAction::triggered, this, &TformHoralog::mnQuickDemoClick);
  connect(mnLexorInfo, &QAction::triggered, this, &TformHoralog::mnLexorInfoClick);
  connect(HelpContents1, &QAction::triggered, this, [this] { OpenHelp(programFolder_, 1); });
  connect(mnServiceHoralog, &QAction::triggered, this, [this] { SelectService(1); });
  connect(mnServiceCountDown, &QAction::triggered, this, [this] { SelectService(2); });

  trayStill_ = tracker::TrayIcon();
  trayFrames_ = {trayStill_};
  TrayIcon = new QSystemTrayIcon(trayStill_, this);
  TrayIcon->setObjectName(QStringLiteral("RxTrayIcon"));
  TrayIcon->setContextMenu(popMainMenu);
  TrayIcon->setToolTip(QStringLiteral("Horalog 2.0"));
  connect(TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick) TrayDoubleClick();
          });
  trayAnimation_ = new QTimer(this);
  trayAnimation_->setInterval(500);
  connect(trayAnimation_, &QTimer::timeout, this, &TformHoralog::AnimateTray);
}

void TformHoralog::FormCreate() {
  setWindowTitle(QStringLiteral("Horalog 2.0"));
  slTaskDesc.Load(counting_.cataloguePath());
  BuildRestrictedList();
  FirstActivation = true;

  pForm->setGeometry(0, 0, 132, 78);
  setFixedSize(132, 78);
  if (const QScreen* s = screen()) {
    move(InitialWindowPosition(size(), s->geometry(), s->availableGeometry()));
  }
  pFormHoralog->move(2, 18);
  pFormCountDown->move(2, 18);
  if (!mnServiceCountDown->isChecked()) mnServiceHoralog->trigger();
  TimerHoralog->start();
  TrayIcon->show();
  desktop_.WatchSessionEnd([this] { EndSession(); });
}

void TformHoralog::setVisible(bool visible) {
  // Placement and stored properties come back each time the window is shown, before it is on
  // the screen, so that it appears where it was.
  if (visible && !isVisible()) RestoreFormStorage();
  QWidget::setVisible(visible);
}

void TformHoralog::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The first activation runs once the window is on the screen; a frameless tool window is
  // not always made active by the window manager, so showing it is enough.
  if (FirstActivation) QTimer::singleShot(0, this, &TformHoralog::FormActivate);
}

void TformHoralog::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TformHoralog::FormActivate() {
  CheckFirstRun();
  if (!FirstActivation) return;
  FirstActivation = false;
  DragX = DragY = -1;
  if (edUser->text().isEmpty()) edUser->setText(desktop_.LogOnName());
  counting_.PausedBySaver = counting_.Counting = false;
  countDown_.Stop();
  counting_.TickSeconds = 0;
  ApplyLanguageTexts();
  // The languages menu and the restore of the options come with the language manager and the
  // options dialog; the stored options are read here already.
  options_.Restore(core::FormStorage());
  spy_.ArmSaverSearch();
  StorePath = QDir(dataFolder_).filePath(QString::fromLatin1(StatisticsStore::kFileName));
  counting_.SetStorePath(StorePath);
  try {
    counting_.store()->ReadUsers(slUsers);
  } catch (const core::Error& e) {
    ShowError(e.message());
  }
  RefreshUserHistory();
  LoadDay();
  UpdateCountingControls();
  UpdateCountDownControls();
  QCoreApplication::processEvents();
  if (btStart->isEnabled() && options_.Bool(QStringLiteral("cbAutoStartTimer.Checked")))
    btStartClick();
  SelectService(mnServiceHoralog->isChecked() ? 1 : 2);
}

void TformHoralog::CheckFirstRun() {
  auto settings = core::FormStorage::OpenSettings();
  tracker::CheckFirstRun(*settings, desktop_, programFolder_);
}

void TformHoralog::ApplyLanguageTexts() {
  setFont(btStart->font());
  sHoralog_ = LangString(25);
  sCountDown_ = LangString(26);
  sTimeIsUp_ = LangString(27);
  sStart_ = LangString(28);
  sStop_ = LangString(29);
  sNotActive_ = LangString(30);
  for (QLineEdit* e : {edUser, edTimeAlarmHour, edTimeAlarmMinute, edTimeCountDown})
    e->setFixedHeight(19);
  mnServiceHoralog->setText(sHoralog_);
  Horalog1->setTitle(sHoralog_);
  mnServiceCountDown->setText(sCountDown_);
  CountDown1->setTitle(sCountDown_);
  for (QToolButton* b : {btStart, btCountDownStart}) b->setToolTip(sStart_);
  for (QToolButton* b : {btStop, btCountDownStop}) b->setToolTip(sStop_);
  mnStart->setText(sStart_);
  mnCountDownStart->setText(sStart_);
  mnStop->setText(sStop_);
  mnCountDownStop->setText(sStop_);
  SelectService(mnServiceHoralog->isChecked() ? 1 : 2);
  StatusBar1->setPanelText(0, LangString(31));
  if (!countDown_.CountDownActive()) StatusBar2->setPanelText(1, sNotActive_);
}

void TformHoralog::SelectService(int kind) {
  if (kind != 1 && kind != 2) return;
  pFormHoralog->setVisible(kind == 1);
  pFormCountDown->setVisible(kind == 2);
  mnServiceHoralog->setChecked(kind == 1);
  mnServiceCountDown->setChecked(kind == 2);
  lServiceCaption->setText(kind == 1 ? LangString(25) : LangString(26));
}

void TformHoralog::BuildRestrictedList() {
  RestrictedList = slTaskDesc.BuildRestrictedList();
  spy_.SetRestrictedList(RestrictedList);
}

void TformHoralog::TimerHoralogTimer() {
  const CountingModel::Step step = counting_.Tick();
  if (step.ran) ShowStep(step);
}

void TformHoralog::ShowStep(const CountingModel::Step& step) {
  if (!step.counted) return;
  StatusBar1->setPanelText(1, step.totalText);
  if (!countDown_.CountDownActive()) TrayIcon->setToolTip(edUser->text() + u' ' + step.totalText);
  if (step.writeError) {
    // Shown in the status bar too, so that it stays visible after the box is gone.
    StatusBar1->panel(1)->setToolTip(*step.writeError);
    if (!sessionEnding_)
      ShowError(*step.writeError +
                QStringLiteral("\n\nThe counted time is kept and saved again at the next save."));
  } else if (step.saved) {
    StatusBar1->panel(1)->setToolTip(QString());
    if (formStatistic) formStatistic->RepaintTable();
  }
  if (step.loadError && !sessionEnding_) ShowError(*step.loadError);
}

bool TformHoralog::TrackAndSave(bool force) {
  const CountingModel::Step step = counting_.TrackAndSave(force);
  ShowStep(step);
  return !counting_.Counting || !counting_.writeFailing();
}

void TformHoralog::RefreshUserHistory() {
  if (auto* model = qobject_cast<QStringListModel*>(edUser->completer()->model()))
    model->setStringList(slUsers.lines());
}

void TformHoralog::btStartClick() {
  slUsers.Add(edUser->text());
  RefreshUserHistory();
  counting_.SetUser(edUser->text());
  try {
    counting_.Start();
  } catch (const core::Error& e) {
    ShowError(e.message());
    return;
  }
  StatusBar1->setPanelText(1, counting_.totalText());
  UpdateCountingControls();
  Button1->setFocus();
  if (options_.Bool(QStringLiteral("cbAutoHide.Checked"))) mnHideClick();
}

void TformHoralog::btStopClick() {
  ShowStep(counting_.Stop());
  UpdateCountingControls();
}

void TformHoralog::EndSession() {
  sessionEnding_ = true;
  close();
}

void TformHoralog::SetLocked(QLineEdit* edit, bool locked) {
  // A locked field takes the colour of a button face, so that it does not look typable.
  edit->setReadOnly(locked);
  QPalette p = edit->palette();
  p.setColor(QPalette::Base, locked ? palette().color(QPalette::Button)
                                    : QApplication::palette().color(QPalette::Base));
  edit->setPalette(p);
}

void TformHoralog::UpdateCountingControls() {
  const bool Counting = counting_.Counting;
  SetLocked(edUser, Counting);
  imSelectUser->setEnabled(!Counting);
  btStop->setEnabled(Counting);
  mnStop->setEnabled(Counting);
  const bool canStart = !edUser->text().isEmpty() && !Counting;
  btStart->setEnabled(canStart);
  mnStart->setEnabled(canStart);
  UpdateTrayIcon();
}

void TformHoralog::UpdateCountDownControls() {
  // Ringing keeps the fields locked and Stop enabled until Stop is pressed.
  const bool active = countDown_.state() != CountDownModel::State::Idle;
  if (countDown_.TimerInterval() > 0)
    TimerCountDown->start(countDown_.TimerInterval());
  else
    TimerCountDown->stop();
  for (QLineEdit* e : {edTimeAlarmHour, edTimeAlarmMinute, edTimeCountDown}) SetLocked(e, active);
  btInputComment->setEnabled(!active);
  btCountDownStop->setEnabled(active);
  mnCountDownStop->setEnabled(active);
  StatusBar2->setPanelText(0, edCountDownComment->text());
  UpdateTrayIcon();
  const bool canStart = countDown_.CanStart(edTimeAlarmHour->text(), edTimeAlarmMinute->text(),
                                            edTimeCountDown->text());
  btCountDownStart->setEnabled(canStart);
  mnCountDownStart->setEnabled(canStart);
}

void TformHoralog::btCountDownStartClick() {
  if (!countDown_.Start(edTimeAlarmHour->text(), edTimeAlarmMinute->text(),
                        edTimeCountDown->text())) {
    desktop_.Beep();
    return;
  }
  UpdateCountDownControls();
  StatusBar2->setSimpleMode(false);
  StatusBar2->setPanelText(0, edCountDownComment->text().isEmpty() ? QStringLiteral("Time left:")
                                                                   : edCountDownComment->text());
  StatusBar2->setPanelText(1, QString());
  if (options_.Bool(QStringLiteral("cbAutoHide.Checked"))) mnHideClick();
}

void TformHoralog::btCountDownStopClick() {
  countDown_.Stop();
  UpdateCountDownControls();
  StatusBar2->setSimpleMode(false);
  StatusBar2->setPanelText(0, edCountDownComment->text());
  StatusBar2->setPanelText(1, sNotActive_);
}

void TformHoralog::TimerCountDownTimer() {
  if (countDown_.state() == CountDownModel::State::Running) {
    const CountDownModel::Run run = countDown_.RunStep();
    const QString prefix =
        counting_.Counting ? edUser->text() + u' ' + StatusBar1->panelText(1) : QString();
    TrayIcon->setToolTip(
        CountDownModel::TrayHint(prefix, edCountDownComment->text(), sCountDown_, run.left));
    StatusBar2->setPanelText(1, core::FormatDuration(run.left));
    if (run.ranOut) {
      TimerCountDown->setInterval(countDown_.TimerInterval());
      StatusBar2->setPanelText(0, sTimeIsUp_);
      UpdateTrayIcon();
      mnRestoreClick();
    }
  } else if (countDown_.state() == CountDownModel::State::Ringing) {
    mnServiceCountDown->trigger();
    desktop_.Beep();
    StatusBar2->setSimpleMode(true);
    StatusBar2->setSimpleText(countDown_.RingStep(edCountDownComment->text(), sTimeIsUp_));
  }
}

void TformHoralog::popMainMenuPopup() {
  mnCountDownTime->setText(CountDownModel::MenuCaption(
      edTimeAlarmHour->text(), edTimeAlarmMinute->text(), edTimeCountDown->text(), sCountDown_));
}

void TformHoralog::imSelectUserClick() {
  if (counting_.Counting) return;
  const auto chosen = formInputStrings->ChooseString(QStringLiteral("Choose User"), slUsers.lines(),
                                                     false, geometry());
  // Cancel changes nothing; Ok with an empty text empties the field.
  if (!chosen) return;
  edUser->setText(*chosen);
  if (!chosen->isEmpty()) {
    slUsers.Add(*chosen);
    RefreshUserHistory();
  }
}

void TformHoralog::btInputCommentClick() {
  const auto chosen = formInputStrings->ChooseString(QStringLiteral("Enter Comment"),
                                                     slCountDownComment.lines(), true, geometry());
  // Cancel keeps the comment and the list as they were.
  if (!chosen) return;
  edCountDownComment->setText(*chosen);
  if (!chosen->isEmpty()) slCountDownComment.Assign(formInputStrings->items());
  StatusBar2->setPanelText(0, *chosen);
}

void TformHoralog::ShowMessagePopup(const QString& text) {
  const QScreen* s = screen();
  FormMessage->ShowMessage(
      text, LangString(25) + u' ' + core::FormatSettings::Current().FormatTime(clock_.Now().time()),
      s ? s->geometry() : QRect(), s ? s->availableGeometry() : QRect());
}

void TformHoralog::UpdateTrayIcon() {
  if (options_.Bool(QStringLiteral("cbAnimatedIcon.Checked")))
    trayFrames_ = TrayAnimation();
  else
    trayFrames_ = {trayStill_};
  trayFrame_ = 0;
  if ((counting_.Counting || countDown_.CountDownActive()) && trayFrames_.size() > 1) {
    trayAnimation_->start();
  } else {
    trayAnimation_->stop();
    TrayIcon->setIcon(trayStill_);
  }
}

void TformHoralog::AnimateTray() {
  trayFrame_ = (trayFrame_ + 1) % trayFrames_.size();
  TrayIcon->setIcon(trayFrames_[trayFrame_]);
}

void TformHoralog::LoadDay() {
  counting_.SetUser(edUser->text());
  try {
    counting_.LoadDay();
    lastLoadError_.clear();
    StatusBar1->setPanelText(1, counting_.totalText());
    StatusBar1->panel(1)->setToolTip(QString());
  } catch (const core::Error& e) {
    StatusBar1->setPanelText(1, QStringLiteral("?"));
    StatusBar1->panel(1)->setToolTip(e.message());
    // Typing a name letter by letter must not raise the same box again and again.
    if (e.message() != lastLoadError_) {
      lastLoadError_ = e.message();
      ShowError(e.message());
    }
  }
}

void TformHoralog::edUserChange() {
  UpdateCountingControls();
  LoadDay();
}

void TformHoralog::mnHideClick() {
  SaveFormStorage(false);
  // Hidden without a tray, the window could never be reached again.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  hide();
  popMainMenu->setDefaultAction(mnRestore);
}

void TformHoralog::mnRestoreClick() {
  show();
  raise();
  activateWindow();
  popMainMenu->setDefaultAction(mnHide);
}

void TformHoralog::TrayDoubleClick() {
  for (QAction* a : popMainMenu->actions()) {
    if (a == popMainMenu->defaultAction() && a->isEnabled()) {
      a->trigger();
      return;
    }
  }
}

void TformHoralog::btSelectServiceClick() {
  popSelectService->popup(QPoint(x() + 1, y() + pHeader->height() + 1));
}

void TformHoralog::btStatisticClick() {
  if (formStatistic) return;
  // The store must hold today's times before the window reads it.
  TrackAndSave(true);
  statistics::StatisticServices services;
  services.showIcons = [this] { return options_.Bool(QStringLiteral("cbShowIcons.Checked")); };
  statistics::TformStatistic form(StorePath, slTaskDesc.lines(), clock_, std::move(services), this);
  formStatistic = &form;
  // The save routine repaints the window's table while it exists, and only then.
  const auto clear = qScopeGuard([this] { formStatistic = nullptr; });
  form.SetBusy(true);
  form.RestoreFormStorage();
  form.FillUsers(slUsers.lines(), edUser->text());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = form.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    form.move(frame.topLeft());
  }
  form.exec();
  try {
    form.SaveFormStorage();
  } catch (const core::Error& e) {
    ShowError(e.message());
  }
}

void TformHoralog::btOptionsClick() {
  QMessageBox::information(this, QStringLiteral("Horalog 2.0"),
                           QStringLiteral("The options dialog is not part of this version yet."));
}

void TformHoralog::mnLexorInfoClick() {
  QMessageBox::information(this, QStringLiteral("Horalog 2.0"),
                           QStringLiteral("Language information is not part of this version yet."));
}

void TformHoralog::mnQuickDemoClick() {
  const QString path = QuickDemoPath(programFolder_);
  if (desktop_.ShellOpen(path) == platform::Desktop::OpenResult::NotFound) {
    QMessageBox::critical(this, QStringLiteral("Horalog 2.0"),
                          QStringLiteral("Quick Demo \"%1\" not found").arg(path));
  }
}

void TformHoralog::HelpRequested() {
  int context = 1;
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
    if (w->property("helpContext").isValid()) {
      context = w->property("helpContext").toInt();
      break;
    }
  }
  if (!OpenHelp(programFolder_, context))
    ShowError(
        QStringLiteral("The help file \"%1\" cannot be opened.").arg(HelpFile(programFolder_)));
}

void TformHoralog::ShowError(const QString& message) {
  QMessageBox::critical(this, QStringLiteral("Horalog 2.0"), message);
}

bool TformHoralog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      (watched == edTimeAlarmHour || watched == edTimeAlarmMinute || watched == edTimeCountDown)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == edTimeAlarmHour && enter) {
      edTimeAlarmMinute->setFocus();
      return true;
    }
    if (enter) {
      if (btCountDownStart->isEnabled()) {
        btCountDownStartClick();
        return true;
      }
      return false;
    }
    if (watched == edTimeAlarmMinute && key == Qt::Key_Backspace &&
        edTimeAlarmMinute->text().isEmpty()) {
      edTimeAlarmHour->setFocus();
      return true;
    }
    return false;
  }
  if (watched == pHeader || watched == lServiceCaption) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseMove)
      return QWidget::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    switch (type) {
      case QEvent::MouseButtonPress:
        if (me->button() == Qt::LeftButton) {
          DragX = int(me->position().x());
          DragY = int(me->position().y());
        }
        return true;
      case QEvent::MouseButtonRelease:
        DragX = DragY = -1;
        return true;
      case QEvent::MouseMove:
        if (DragX != -1) {
          const QPoint proposed(x() + int(me->position().x()) - DragX,
                                y() + int(me->position().y()) - DragY);
          const QScreen* s = screen();
          move(s ? SnapDragPosition(proposed, size(), s->geometry(), s->availableGeometry())
                 : proposed);
        }
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TformHoralog::FormCloseQuery() {
  if (TrackAndSave(true) || sessionEnding_) return true;
  // Closing now would lose what was counted since the last good save: let the user decide.
  return QMessageBox::warning(this, QStringLiteral("Horalog 2.0"),
                              QStringLiteral("The counted time could not be saved. Close anyway "
                                             "and lose it?"),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

void TformHoralog::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  SaveFormStorage(true);
  TrayIcon->hide();
  event->accept();
  QCoreApplication::quit();
}

void TformHoralog::RestoreFormStorage() {
  const core::FormStorage storage;
  if (const auto rect = storage.ReadPlacement()) move(rect->topLeft());
  if (const auto items = storage.ReadStrings(QStringLiteral("slCountDownComment.Strings")))
    slCountDownComment.Assign(*items);
  for (QAction* a : {mnServiceHoralog, mnServiceCountDown}) {
    const auto stored = storage.Read(a->objectName() + QStringLiteral(".Checked"));
    if (const auto b = stored ? core::FormStorage::ToBool(*stored) : std::nullopt)
      a->setChecked(*b);
  }
  if (const auto text = storage.Read(QStringLiteral("edCountDownComment.Caption"));
      text && text->trimmed() != edCountDownComment->text())
    edCountDownComment->setText(text->trimmed());
  for (QLineEdit* e : {edTimeAlarmHour, edTimeAlarmMinute, edTimeCountDown, edLang, edUser}) {
    const auto text = storage.Read(e->objectName() + QStringLiteral(".Text"));
    if (text && text->trimmed() != e->text()) e->setText(text->trimmed());
  }
}

void TformHoralog::SaveFormStorage(bool destroying) {
  core::FormStorage storage;
  const QScreen* s = screen();
  storage.WritePlacement(geometry(), s ? s->geometry().size() : QSize(), destroying);
  storage.WriteStrings(QStringLiteral("slCountDownComment.Strings"), slCountDownComment.lines());
  storage.Write(QStringLiteral("mnServiceHoralog.Checked"),
                core::FormStorage::FromBool(mnServiceHoralog->isChecked()));
  storage.Write(QStringLiteral("mnServiceCountDown.Checked"),
                core::FormStorage::FromBool(mnServiceCountDown->isChecked()));
  storage.Write(QStringLiteral("edCountDownComment.Caption"), edCountDownComment->text());
  for (QLineEdit* e : {edTimeAlarmHour, edTimeAlarmMinute, edTimeCountDown, edLang, edUser})
    storage.Write(e->objectName() + QStringLiteral(".Text"), e->text());
  try {
    storage.Sync();
  } catch (const core::Error& e) {
    ShowError(e.message());
  }
}

}  // namespace tracker
