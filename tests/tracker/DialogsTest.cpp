#include "WindowFixture.h"

#include "tracker/StatusPanels.h"

#include <QFile>
#include <QListWidget>
#include <QScreen>

namespace {

using namespace std::chrono_literals;

// Runs `inside` once the modal choice dialog is open.
void WhileOpen(tracker::TformHoralog& w, std::function<void(tracker::TformInputStrings&)> inside) {
  QTimer::singleShot(0, &w, [&w, inside] {
    ASSERT_TRUE(w.formInputStrings->isVisible());
    inside(*w.formInputStrings);
    if (w.formInputStrings->isVisible()) w.formInputStrings->reject();
  });
}

void DoubleClickRow(QListWidget* list, int row) {
  const QRect r = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// A user chosen from the list with a double click fills the user field and loads that day.
TEST_F(WindowFixture, ChooseUserByDoubleClick) {
  QFile f(dir_.filePath(QStringLiteral("hg20work.txt")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[anna\t2001_3_7]\r\ntotal=00:00:01\r\n[bob\t2001_3_7]\r\ntotal=02:00:00\r\n");
  f.close();
  auto& w = Start();
  WhileOpen(w, [](tracker::TformInputStrings& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Choose User"));
    EXPECT_TRUE(d.pCanEdit->isHidden());
    EXPECT_EQ(d.edUser->text(), QString());  // a click in user mode only selects
    DoubleClickRow(d.lbUsers, 1);
  });
  QTest::mouseClick(w.imSelectUser, Qt::LeftButton);
  EXPECT_EQ(w.edUser->text(), QStringLiteral("bob"));
  EXPECT_EQ(w.StatusBar1->panelText(1), QStringLiteral("02:00:00"));
}

// Cancel leaves the user field as it was (and Start stays possible).
TEST_F(WindowFixture, CancelledUserChoiceChangesNothing) {
  auto& w = Start();
  WhileOpen(w,
            [](tracker::TformInputStrings& d) { QTest::mouseClick(d.btCancel, Qt::LeftButton); });
  QTest::mouseClick(w.imSelectUser, Qt::LeftButton);
  EXPECT_EQ(w.edUser->text(), QStringLiteral("anna"));
  EXPECT_TRUE(w.btStart->isEnabled());
}

// A new comment joins the list once, sorted; deleting and Ok keeps the deletion; deleting and
// Cancel keeps the old list and the old comment.
TEST_F(WindowFixture, CommentList) {
  auto& w = Start();
  w.slCountDownComment.Assign({QStringLiteral("tea"), QStringLiteral("call")});
  auto enter = [&](const QString& text) {
    WhileOpen(w, [text](tracker::TformInputStrings& d) {
      EXPECT_FALSE(d.pCanEdit->isHidden());
      d.edUser->setFocus();
      d.edUser->setText(text);
      QTest::mouseClick(d.btOk, Qt::LeftButton);
    });
    QTest::mouseClick(w.btInputComment, Qt::LeftButton);
  };
  enter(QStringLiteral("break"));
  enter(QStringLiteral("break"));
  EXPECT_EQ(w.slCountDownComment.lines(),
            QStringList({QStringLiteral("break"), QStringLiteral("call"), QStringLiteral("tea")}));
  EXPECT_EQ(w.edCountDownComment->text(), QStringLiteral("break"));
  EXPECT_EQ(w.StatusBar2->panelText(0), QStringLiteral("break"));

  auto deleteFirst = [&](bool ok) {
    WhileOpen(w, [ok](tracker::TformInputStrings& d) {
      d.confirmDelete = [](const QString&) { return true; };
      d.lbUsers->setCurrentRow(0);
      QTest::mouseClick(d.btDelete, Qt::LeftButton);
      d.confirmDelete = {};
      d.edUser->setFocus();
      d.edUser->setText(QStringLiteral("tea"));
      QTest::mouseClick(ok ? d.btOk : d.btCancel, Qt::LeftButton);
    });
    QTest::mouseClick(w.btInputComment, Qt::LeftButton);
  };
  deleteFirst(false);
  EXPECT_EQ(w.slCountDownComment.size(), 3);
  EXPECT_EQ(w.edCountDownComment->text(), QStringLiteral("break"));
  deleteFirst(true);
  EXPECT_EQ(w.slCountDownComment.lines(),
            QStringList({QStringLiteral("call"), QStringLiteral("tea")}));
  EXPECT_EQ(w.edCountDownComment->text(), QStringLiteral("tea"));
}

// A message wider than 180 pixels widens the popup, which stays flush right above the bar.
TEST_F(WindowFixture, MessagePopupWidth) {
  auto& w = Start();
  w.ShowMessagePopup(QStringLiteral("short"));
  EXPECT_EQ(w.FormMessage->width(), 190);
  const QString longText(60, u'W');
  w.ShowMessagePopup(longText);
  const int measured = w.FormMessage->lMessage->fontMetrics().horizontalAdvance(longText);
  ASSERT_GT(measured, 180);
  EXPECT_EQ(w.FormMessage->width(), measured + 10);
  EXPECT_EQ(w.FormMessage->lMessage->width(), measured);
  const QScreen* s = w.screen();
  EXPECT_EQ(w.FormMessage->x(), s->geometry().width() - measured - 10);
  EXPECT_TRUE(w.FormMessage->windowTitle().startsWith(QStringLiteral("Horalog ")));
  EXPECT_TRUE(w.FormMessage->isVisible());
}

// Typing into one mode empties the other; a countdown runs, rings, restores the window in the
// countdown service and blinks until Stop; bad input beeps.
TEST_F(WindowFixture, CountDownService) {
  auto& w = Start();
  w.edTimeCountDown->setText(QStringLiteral("5"));
  QTest::keyClicks(w.edTimeAlarmHour, QStringLiteral("1"));
  EXPECT_EQ(w.edTimeCountDown->text(), QString());
  QTest::keyClicks(w.edTimeAlarmMinute, QStringLiteral("2"));
  QTest::keyClicks(w.edTimeCountDown, QStringLiteral("300"));
  EXPECT_EQ(w.edTimeAlarmHour->text(), QString());
  EXPECT_EQ(w.edTimeAlarmMinute->text(), QString());
  QTest::mouseClick(w.btCountDownStart, Qt::LeftButton);
  EXPECT_EQ(desktop_.beeps, 1);
  EXPECT_FALSE(w.CountDownActive());

  w.edTimeCountDown->setText(QStringLiteral("1"));
  QTest::keyClick(w.edTimeCountDown, Qt::Key_Return);
  EXPECT_TRUE(w.CountDownActive());
  EXPECT_TRUE(w.edTimeCountDown->isReadOnly());
  EXPECT_EQ(w.StatusBar2->panelText(0), QStringLiteral("Time left:"));
  EXPECT_TRUE(w.TimerCountDown->isActive());
  w.SelectService(1);
  clock_.Advance(30s);
  w.TimerCountDownTimer();
  EXPECT_EQ(w.StatusBar2->panelText(1), QStringLiteral("00:00:30"));
  EXPECT_EQ(w.trayIcon()->toolTip(), QStringLiteral("    Count Down: 00:00:30"));
  clock_.Advance(30s);
  w.TimerCountDownTimer();
  EXPECT_FALSE(w.CountDownActive());
  EXPECT_EQ(w.TimerCountDown->interval(), 600);
  EXPECT_EQ(w.StatusBar2->panelText(0), QStringLiteral("Time is up!"));
  w.TimerCountDownTimer();  // ringing
  EXPECT_TRUE(w.pFormCountDown->isVisible());
  EXPECT_TRUE(w.StatusBar2->simpleMode());
  EXPECT_EQ(w.StatusBar2->simpleText(), QStringLiteral("Time is up!"));
  w.TimerCountDownTimer();
  EXPECT_EQ(w.StatusBar2->simpleText(), QString());
  EXPECT_EQ(desktop_.beeps, 3);
  EXPECT_TRUE(w.btCountDownStop->isEnabled());
  EXPECT_TRUE(w.edTimeCountDown->isReadOnly());
  QTest::mouseClick(w.btCountDownStop, Qt::LeftButton);
  EXPECT_FALSE(w.TimerCountDown->isActive());
  EXPECT_FALSE(w.StatusBar2->simpleMode());
  EXPECT_EQ(w.StatusBar2->panelText(1), QStringLiteral("Not active"));
  EXPECT_FALSE(w.edTimeCountDown->isReadOnly());
}

}  // namespace
