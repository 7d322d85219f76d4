#include "WindowFixture.h"

#include "tracker/StatusPanels.h"

#include <QFile>
#include <QMouseEvent>
#include <QScreen>

namespace {

// A first start with empty settings shows the log-on name and the working-time service,
// starts the demo once and writes the version; the second start does not start it.
TEST_F(WindowFixture, FirstStartOffersDemoOnce) {
  auto& w = Start();
  EXPECT_EQ(w.edUser->text(), QStringLiteral("anna"));
  EXPECT_TRUE(w.pFormHoralog->isVisible());
  EXPECT_FALSE(w.pFormCountDown->isVisible());
  EXPECT_TRUE(w.mnServiceHoralog->isChecked());
  EXPECT_EQ(w.lServiceCaption->text(), QStringLiteral("Horalog"));
  EXPECT_EQ(desktop_.opened, QStringList{dir_.filePath(QStringLiteral("hg2demo"))});
  EXPECT_EQ(core::FormStorage::OpenSettings()->value(QStringLiteral("Version")).toString(),
            QStringLiteral("2.0"));
  EXPECT_TRUE(w.btStart->isEnabled());
  EXPECT_FALSE(w.btStop->isEnabled());
  Close();
  Start();
  EXPECT_EQ(desktop_.opened.size(), 1);
}

// The window has its designed size and names, and starts flush right above the task bar.
TEST_F(WindowFixture, LayoutAndPlacement) {
  auto& w = Start();
  EXPECT_EQ(w.size(), QSize(132, 78));
  EXPECT_EQ(w.pFormHoralog->geometry(), QRect(2, 18, 128, 58));
  EXPECT_EQ(w.pFormCountDown->geometry(), QRect(2, 18, 128, 58));
  EXPECT_EQ(w.pHeader->height(), 16);
  EXPECT_EQ(w.edUser->height(), 19);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Horalog 2.0"));
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
  const QScreen* s = w.screen();
  EXPECT_EQ(w.x(), s->geometry().width() - 132);
  EXPECT_EQ(w.y(), s->availableGeometry().bottom() + 1 - 78 - 8);
  for (const char* name : {"btSelectService",
                           "lServiceCaption",
                           "btMinimize",
                           "btClose",
                           "edUser",
                           "imSelectUser",
                           "btStart",
                           "btStop",
                           "btStatistic",
                           "btOptions",
                           "StatusBar1",
                           "StatusBar2",
                           "edTimeAlarmHour",
                           "edTimeAlarmMinute",
                           "edTimeCountDown",
                           "btCountDownStart",
                           "btCountDownStop",
                           "btInputComment",
                           "Button1",
                           "edLang",
                           "edCountDownComment"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(w.findChild<QWidget*>(QString::fromLatin1(name)), nullptr);
  }
  EXPECT_EQ(w.btStatistic->toolTip(), QStringLiteral("Show Statistics"));
  EXPECT_EQ(w.StatusBar1->panelText(0), QStringLiteral("Today:"));
}

// The tray menu holds its items in the designed order.
TEST_F(WindowFixture, TrayMenuOrder) {
  auto& w = Start();
  QStringList names;
  for (QAction* a : w.popMainMenu->actions())
    names << (a->isSeparator() ? QStringLiteral("-")
              : a->menu()      ? a->menu()->objectName()
                               : a->objectName());
  EXPECT_EQ(names.join(u' '),
            QStringLiteral("mnRestore mnHide - Horalog1 CountDown1 - Help1 - mnClose"));
  EXPECT_EQ(w.popMainMenu->defaultAction(), w.mnHide);
}

// The day's stored total shows when the window starts and when the user name changes.
TEST_F(WindowFixture, ShowsStoredTotalOfUser) {
  QFile f(dir_.filePath(QStringLiteral("hg20work.txt")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(
      "[anna\t2001_3_7]\r\ntotal=01:02:03\r\n[bob\t2001_3_7]\r\ntotal=00:10:00\r\n"
      "[bob\t2001_3_6]\r\ntotal=05:00:00\r\n");
  f.close();
  auto& w = Start();
  EXPECT_EQ(w.StatusBar1->panelText(1), QStringLiteral("01:02:03"));
  EXPECT_EQ(w.users().lines(), QStringList({QStringLiteral("anna"), QStringLiteral("bob")}));
  w.edUser->setText(QStringLiteral("bob"));
  EXPECT_EQ(w.StatusBar1->panelText(1), QStringLiteral("00:10:00"));
  w.edUser->clear();
  EXPECT_FALSE(w.btStart->isEnabled());
  EXPECT_EQ(w.StatusBar1->panelText(1), QString());
}

// Position, service and the stored texts survive a restart.
TEST_F(WindowFixture, StoredPropertiesSurviveRestart) {
  {
    auto& w = Start();
    w.move(300, 200);
    w.edUser->setText(QStringLiteral("carl"));
    w.edTimeAlarmHour->setText(QStringLiteral("14"));
    w.edTimeAlarmMinute->setText(QStringLiteral("30"));
    w.edLang->setText(QStringLiteral("Deutsch"));
    w.edCountDownComment->setText(QStringLiteral("tea"));
    w.slCountDownComment.Assign({QStringLiteral("tea"), QStringLiteral("call")});
    w.mnServiceCountDown->trigger();
    Close();
  }
  auto settings = core::FormStorage::OpenSettings();
  EXPECT_EQ(settings->value(QStringLiteral("Options/edUser_Text")).toString(),
            QStringLiteral("carl"));
  EXPECT_EQ(settings->value(QStringLiteral("Options/mnServiceCountDown_Checked")).toString(),
            QStringLiteral("True"));
  auto& w = Start();
  EXPECT_EQ(w.pos(), QPoint(300, 200));
  EXPECT_EQ(w.edUser->text(), QStringLiteral("carl"));
  EXPECT_EQ(w.edTimeCountDown->text(), QString());
  EXPECT_EQ(w.edTimeAlarmHour->text(), QStringLiteral("14"));
  EXPECT_EQ(w.edTimeAlarmMinute->text(), QStringLiteral("30"));
  EXPECT_EQ(w.edLang->text(), QStringLiteral("Deutsch"));
  EXPECT_EQ(w.edCountDownComment->text(), QStringLiteral("tea"));
  EXPECT_EQ(w.slCountDownComment.lines(),
            QStringList({QStringLiteral("call"), QStringLiteral("tea")}));
  EXPECT_TRUE(w.pFormCountDown->isVisible());
  EXPECT_FALSE(w.pFormHoralog->isVisible());
  EXPECT_EQ(w.lServiceCaption->text(), QStringLiteral("Count Down"));
}

// Dragging the header moves the window with the mouse and snaps it onto the edges.
TEST_F(WindowFixture, HeaderDragSnaps) {
  auto& w = Start();
  w.move(400, 300);
  const QPoint grab(60, 8);
  QTest::mousePress(w.lServiceCaption, Qt::LeftButton, {}, grab);
  EXPECT_EQ(w.DragX, 60);
  auto moveBy = [&](QPoint delta) {
    QMouseEvent move(QEvent::MouseMove, QPointF(grab + delta),
                     w.lServiceCaption->mapToGlobal(grab + delta), Qt::NoButton, Qt::LeftButton,
                     {});
    QApplication::sendEvent(w.lServiceCaption, &move);
  };
  moveBy({-50, -40});
  EXPECT_EQ(w.pos(), QPoint(350, 260));
  moveBy({-345, 0});  // left 5: snaps to 0
  EXPECT_EQ(w.x(), 0);
  QTest::mouseRelease(w.lServiceCaption, Qt::LeftButton, {}, grab);
  EXPECT_EQ(w.DragX, -1);
  moveBy({500, 0});
  EXPECT_EQ(w.x(), 0);  // no drag without a pressed header
}

// A missing quick demo names the file it looked for.
TEST_F(WindowFixture, MissingDemoIsReported) {
  auto& w = Start();
  desktop_.openResult = platform::Desktop::OpenResult::NotFound;
  QTimer::singleShot(0, [] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->findChildren<QLabel*>().size() > 0);
    bool named = false;
    for (QLabel* l : box->findChildren<QLabel*>())
      named = named || l->text().startsWith(QStringLiteral("Quick Demo \""));
    EXPECT_TRUE(named);
    box->close();
  });
  w.mnQuickDemo->trigger();
}

}  // namespace

namespace {

// Without a tray (as here, offscreen) hiding would lose the window for good: it stays shown.
TEST_F(WindowFixture, HideWithoutTrayKeepsWindow) {
  auto& w = Start();
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  w.mnHideClick();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.popMainMenu->defaultAction(), w.mnHide);
}

}  // namespace

namespace {

using namespace std::chrono_literals;

QByteArray StoreBytes(const QTemporaryDir& dir) {
  QFile f(dir.filePath(QStringLiteral("hg20work.txt")));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Start locks the user field and enables Stop; the seconds show in the status bar and the
// tray hint; Stop saves the day and unlocks the field.
TEST_F(WindowFixture, StartCountStop) {
  desktop_.processes = {{10, QStringLiteral("/usr/bin/vim")}};
  desktop_.foreground = {10, QStringLiteral("vim")};
  auto& w = Start();
  QTest::keyClick(w.edUser, Qt::Key_Return);  // Enter starts counting
  EXPECT_TRUE(w.Counting());
  EXPECT_TRUE(w.edUser->isReadOnly());
  EXPECT_TRUE(w.btStop->isEnabled());
  EXPECT_FALSE(w.btStart->isEnabled());
  EXPECT_FALSE(w.imSelectUser->isEnabled());
  for (int i = 0; i < 6; ++i) {
    clock_.Advance(500ms);
    w.TimerHoralogTimer();
  }
  EXPECT_EQ(w.StatusBar1->panelText(1), QStringLiteral("00:00:03"));
  EXPECT_EQ(w.trayIcon()->toolTip(), QStringLiteral("anna 00:00:03"));
  QTest::mouseClick(w.btStop, Qt::LeftButton);
  EXPECT_FALSE(w.Counting());
  EXPECT_FALSE(w.edUser->isReadOnly());
  EXPECT_TRUE(StoreBytes(dir_).contains("total=00:00:03"));
  EXPECT_TRUE(StoreBytes(dir_).contains("/usr/bin/vim=00:00:02"));
}

// Closing while counting writes the day; closing while stopped writes nothing.
TEST_F(WindowFixture, CloseSavesOnlyWhileCounting) {
  Start();
  Close();
  EXPECT_TRUE(StoreBytes(dir_).isEmpty());
  auto& w = Start();
  w.btStartClick();
  clock_.Advance(2000ms);
  Close();
  EXPECT_TRUE(StoreBytes(dir_).contains("total=00:00:02"));
}

// The end of the session saves a running count as Close does, and ends without a question.
TEST_F(WindowFixture, SessionEndSaves) {
  auto& w = Start();
  w.btStartClick();
  clock_.Advance(4000ms);
  ASSERT_TRUE(desktop_.sessionEnd);
  desktop_.sessionEnd();
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(StoreBytes(dir_).contains("total=00:00:04"));
}

// Counting starts by itself at start-up when the option says so.
TEST_F(WindowFixture, AutoStartCounting) {
  core::FormStorage s;
  s.Write(QStringLiteral("cbAutoStartTimer.Checked"), QStringLiteral("True"));
  s.Sync();
  auto& w = Start();
  EXPECT_TRUE(w.Counting());
}

}  // namespace
