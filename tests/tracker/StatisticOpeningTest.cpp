// The statistics window as the main window opens it: save first, users filled, shown
// modally, its settings stored when it closes.
#include "WindowFixture.h"

#include <QFile>
#include <QTimer>

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

class StatisticOpeningTest : public WindowFixture {
 protected:
  // Opens the window from the statistics button, lets `check` look at it and closes it.
  void OpenStatistics(tracker::TformHoralog& w,
                      const std::function<void(statistics::TformStatistic&)>& check) {
    bool seen = false;
    QTimer::singleShot(0, &w, [&] {
      ASSERT_NE(w.formStatistic, nullptr);
      seen = true;
      check(*w.formStatistic);
      w.formStatistic->reject();
    });
    QTest::mouseClick(w.btStatistic, Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(w.formStatistic, nullptr);
  }
};

// With no users in the store the window still has one: the current user, selected.
TEST_F(StatisticOpeningTest, EmptyUsersListGivesTheCurrentUser) {
  tracker::TformHoralog& w = Start();
  ASSERT_TRUE(w.users().isEmpty());
  OpenStatistics(w, [](statistics::TformStatistic& form) {
    EXPECT_TRUE(form.isModal());
    EXPECT_FALSE(form.Busy());
    ASSERT_EQ(form.cbUser->count(), 1);
    EXPECT_EQ(form.cbUser->currentText(), S("anna"));
    EXPECT_EQ(form.model().user(), S("anna"));
  });
  const auto settings = core::FormStorage::OpenSettings();
  EXPECT_EQ(settings->value(S("Ststistic/mnWeek_Checked")).toString(), S("True"));
  EXPECT_EQ(settings->value(S("Ststistic/dateTo_Text")).toString(),
            core::FormatSettings::Current().FormatDate(QDate(2001, 3, 7)));
}

// The store's users are offered, the current one selected, and a running count is saved
// first, so that today's time is in the table.
TEST_F(StatisticOpeningTest, SavesFirstAndSelectsTheCurrentUser) {
  QFile store(dir_.filePath(S("hg20work.txt")));
  ASSERT_TRUE(store.open(QIODevice::WriteOnly));
  store.write("[bob\t2001_3_6]\r\ntotal=01:00:00\r\n[zoe\t2001_3_6]\r\ntotal=02:00:00\r\n");
  store.close();
  desktop_.processes = {{10, S("/usr/bin/vim")}};
  desktop_.foreground = {10, S("vim")};
  tracker::TformHoralog& w = Start();
  w.btStartClick();
  for (int i = 0; i < 6; ++i) {
    clock_.Advance(std::chrono::milliseconds(500));
    w.TimerHoralogTimer();
  }
  OpenStatistics(w, [](statistics::TformStatistic& form) {
    QStringList users;
    for (int i = 0; i < form.cbUser->count(); ++i) users.push_back(form.cbUser->itemText(i));
    EXPECT_EQ(users, (QStringList{S("anna"), S("bob"), S("zoe")}));
    EXPECT_EQ(form.cbUser->currentText(), S("anna"));
    EXPECT_NEAR(form.model().total1() * 24 * 3600, 3.0, 0.01);
  });
}

}  // namespace
