#include "core/Durations.h"
#include "core/Error.h"
#include "core/FormatSettings.h"
#include "core/ProfileFile.h"
#include "platform/fake/FakeDesktop.h"
#include "tracker/ActiveTask.h"
#include "tracker/CountingModel.h"

#include "../support/FakeClock.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;
using tracker::CountingModel;
using tracker::SectionName;

const QString kVim = QStringLiteral("/usr/bin/vim");
const QString kFirefox = QStringLiteral("/usr/lib/firefox/firefox");

class CountingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
    desktop_.processes = {{10, kVim}, {20, kFirefox}, {1, QStringLiteral("/usr/bin/horalog")}};
    Front(10, QStringLiteral("notes.txt - vim"));
    model_.SetStorePath(StorePath());
    model_.SetUser(QStringLiteral("anna"));
  }
  QString StorePath() const { return dir_.filePath(QStringLiteral("hg20work.txt")); }
  void Front(std::int64_t pid, const QString& title) { desktop_.foreground = {pid, title}; }

  // Steps the timer through `seconds` seconds of clock time; `check` runs after each second.
  void tick(int seconds, const std::function<void(int)>& check = {}) {
    for (int s = 1; s <= seconds; ++s) {
      SCOPED_TRACE(testing::Message()
                   << "second " << s << " at " << clock_.Now().toString(Qt::ISODate).toStdString());
      for (int half = 0; half < 2; ++half) {
        clock_.Advance(500ms);
        last_ = model_.Tick();
      }
      if (check) check(s);
    }
  }
  // The day's section as stored: key -> seconds.
  std::map<QString, int> Stored(const QDate& date) const {
    std::map<QString, int> keys;
    const core::ProfileFile file(StorePath());
    const QString section = SectionName(QStringLiteral("anna"), date);
    for (const QString& key : file.Keys(section))
      keys[key] = int(std::lround(*core::ParseDuration(file.ReadString(section, key, {})) * 86400));
    return keys;
  }
  bool StoreExists() const { return QFile::exists(StorePath()); }

  QTemporaryDir dir_;
  testing_support::FakeClock clock_{QDateTime(QDate(2001, 3, 7), QTime(9, 0))};
  platform::FakeDesktop desktop_;
  options::TaskCatalogue catalogue_;
  options::OptionSettings options_;
  tracker::ActiveTask spy_{desktop_};
  CountingModel model_{clock_, catalogue_, spy_, options_, dir_.path()};
  CountingModel::Step last_;
};

// 30 seconds with one application: "total" holds the previous total plus 30 seconds, the
// application its time, and "unknown_task" the first second before a task was seen.
TEST_F(CountingTest, ThirtySecondsWithOneApplication) {
  {
    QFile f(StorePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[anna\t2001_3_7]\r\ntotal=01:00:00\r\n");
  }
  model_.Start();
  tick(30);
  model_.Stop();
  const auto keys = Stored(QDate(2001, 3, 7));
  EXPECT_EQ(keys.at(QStringLiteral("total")), 3630);
  EXPECT_EQ(keys.at(QStringLiteral("unknown_task")), 1);
  EXPECT_EQ(keys.at(kVim), 29);
  EXPECT_EQ(model_.totalText(), QStringLiteral("01:00:30"));
  // the new application entered the catalogue with its window title, group Work
  ASSERT_EQ(catalogue_.lines().size(), 1);
  EXPECT_EQ(catalogue_.lines().at(0), kVim + QStringLiteral("\tnotes.txt - vim\t1"));
  QFile cat(dir_.filePath(QStringLiteral("hg20task.txt")));
  ASSERT_TRUE(cat.open(QIODevice::ReadOnly));
  EXPECT_EQ(cat.readAll(), (kVim + QStringLiteral("\tnotes.txt - vim\t1\r\n")).toUtf8());
}

// Each stretch goes to the application that was in front; order of keys is that of first use.
TEST_F(CountingTest, SwitchingApplications) {
  model_.Start();
  tick(5);
  Front(20, QString());
  tick(7);
  Front(10, QStringLiteral("vim"));
  tick(3);
  model_.Stop();
  const auto keys = Stored(QDate(2001, 3, 7));
  EXPECT_EQ(keys.at(QStringLiteral("total")), 15);
  EXPECT_EQ(keys.at(kVim), 4 + 3);
  EXPECT_EQ(keys.at(kFirefox), 7);
  // no title: the file name in group .Hidden
  EXPECT_EQ(catalogue_.lines().lines(), QStringList({kVim + QStringLiteral("\tnotes.txt - vim\t1"),
                                                     kFirefox + QStringLiteral("\tfirefox\t0")}));
}

// Without spy mode, or with nothing in front, all time goes to "unknown_task".
TEST_F(CountingTest, UnknownForeground) {
  Front(0, QString());
  model_.Start();
  tick(4);
  desktop_.canSpy = false;
  tracker::ActiveTask blind(desktop_);
  CountingModel model(clock_, catalogue_, blind, options_, dir_.path());
  model.SetStorePath(StorePath());
  model.SetUser(QStringLiteral("anna"));
  model_.Stop();
  model.Start();
  for (int i = 0; i < 6; ++i) {
    clock_.Advance(500ms);
    model.Tick();
  }
  model.Stop();
  const auto keys = Stored(QDate(2001, 3, 7));
  EXPECT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys.at(QStringLiteral("unknown_task")), 7);
  EXPECT_TRUE(catalogue_.lines().isEmpty());
}

// With a save interval of one minute the day is written each minute, also when counting
// started long after the program did (it then saves at its first second).
TEST_F(CountingTest, PeriodicSave) {
  options_.SetInt(QStringLiteral("edSaveTime.Value"), 1);
  struct C {
    const char* what;
    int idleBefore;
    std::vector<int> savedAt;
  } cases[] = {
      {"counting from the start", 0, {60, 120, 180}},
      {"counting three minutes after the start", 180, {1, 61, 121, 181}},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(StorePath());
    model_.TickSeconds = 0;
    tick(c.idleBefore);
    EXPECT_FALSE(StoreExists());
    model_.Start();
    std::vector<int> savedAt;
    tick(200, [&](int s) {
      if (last_.saved) savedAt.push_back(s);
    });
    EXPECT_EQ(savedAt, c.savedAt);
    model_.Stop();
  }
}

// The first second after midnight writes the old day, seconds after midnight included; the
// new day starts near zero in a section of its own.
TEST_F(CountingTest, AcrossMidnight) {
  clock_.SetWallClock(QDateTime(QDate(2001, 3, 7), QTime(23, 59, 50)));
  model_.Start();
  tick(9);
  EXPECT_FALSE(StoreExists());
  tick(1);  // 00:00:00
  EXPECT_TRUE(last_.saved);
  EXPECT_EQ(Stored(QDate(2001, 3, 7)).at(QStringLiteral("total")), 10);
  EXPECT_EQ(model_.dayDate(), QDate(2001, 3, 8));
  EXPECT_EQ(last_.totalText, QStringLiteral("00:00:00"));
  tick(5);
  EXPECT_EQ(model_.totalText(), QStringLiteral("00:00:05"));
  model_.Stop();
  const auto newDay = Stored(QDate(2001, 3, 8));
  EXPECT_EQ(newDay.at(QStringLiteral("total")), 5);
  EXPECT_EQ(newDay.at(QStringLiteral("unknown_task")), 1);
  EXPECT_EQ(newDay.at(kVim), 4);
}

// A daylight-saving change moves the wall clock by an hour; a suspended laptop moves it by a
// night while the monotonic clock stands still. Neither is counted as work.
TEST_F(CountingTest, ClockJumpsAreNotWork) {
  model_.Start();
  tick(10);
  clock_.SetWallClock(clock_.Now().addSecs(3600));  // spring forward
  tick(10);
  clock_.SetWallClock(clock_.Now().addSecs(-7200));  // and back, twice as far
  tick(10);
  clock_.SetWallClock(clock_.Now().addSecs(8 * 3600));  // a night in standby, same day
  tick(10);
  model_.Stop();
  const auto keys = Stored(QDate(2001, 3, 7));
  EXPECT_EQ(keys.at(QStringLiteral("total")), 40);
  EXPECT_EQ(keys.at(kVim), 39);
}

// Closing (a forced save) while counting writes the day; while stopped it writes nothing.
TEST_F(CountingTest, ClosingSavesOnlyWhileCounting) {
  tick(3);
  model_.TrackAndSave(true);
  EXPECT_FALSE(StoreExists());
  model_.Start();
  tick(3);
  model_.TrackAndSave(true);
  EXPECT_EQ(Stored(QDate(2001, 3, 7)).at(QStringLiteral("total")), 3);
}

// A day that cannot be loaded is not loaded, counting does not start, and nothing is written.
TEST_F(CountingTest, FailedLoadWritesNothing) {
  {
    QFile f(StorePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[anna\t2001_3_7]\r\ntotal=half past nine\r\n");
  }
  EXPECT_THROW(model_.Start(), core::Error);
  EXPECT_FALSE(model_.Counting);
  EXPECT_FALSE(model_.dayLoaded());
  EXPECT_FALSE(model_.WriteDay(QStringLiteral("00:00:01")).has_value());
  QFile f(StorePath());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("[anna\t2001_3_7]\r\ntotal=half past nine\r\n"));
}

// A failed save is reported once per run of failures; the day stays in memory and the next
// save point writes it, with everything counted meanwhile.
TEST_F(CountingTest, FailedSavesReportedOnceAndRetried) {
  const QString folder = dir_.filePath(QStringLiteral("not-yet"));
  model_.SetStorePath(folder + QStringLiteral("/hg20work.txt"));
  model_.Start();
  tick(5);
  const auto first = model_.TrackAndSave(true);
  ASSERT_TRUE(first.writeError.has_value());
  EXPECT_TRUE(first.writeError->contains(QStringLiteral("not-yet")));
  EXPECT_FALSE(first.saved);
  tick(5);
  EXPECT_FALSE(model_.TrackAndSave(true).writeError.has_value());
  EXPECT_TRUE(model_.writeFailing());
  ASSERT_TRUE(QDir().mkpath(folder));
  tick(5);
  EXPECT_TRUE(model_.TrackAndSave(true).saved);
  QFile f(folder + QStringLiteral("/hg20work.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("total=00:00:15"));
}

// The walk ends restricted programs by their whole path only, never the tracker itself, and
// notices screen savers while the search is armed.
TEST(ActiveTaskTest, WalkRules) {
  platform::FakeDesktop desktop;
  desktop.ownPid = 1;
  desktop.processes = {{1, QStringLiteral("/usr/bin/horalog")},
                       {2, QStringLiteral("/usr/games/bash-game")},
                       {3, QStringLiteral("/usr/bin/bash")},
                       {4, QStringLiteral("/USR/GAMES/BASH-GAME")},
                       {5, QStringLiteral("/usr/libexec/xscreensaver/glmatrix")}};
  desktop.foreground = {3, QStringLiteral("shell")};
  tracker::ActiveTask spy(desktop);
  spy.SetRestrictedList(QStringLiteral("/usr/bin/horalog;/usr/games/bash-game;"));
  EXPECT_EQ(spy.GetActiveTask(), QStringLiteral("/usr/bin/bash"));
  EXPECT_EQ(desktop.terminated, (std::vector<std::int64_t>{2, 4}));
  EXPECT_FALSE(spy.ScreenSaverRunning());  // search not armed yet
  spy.ArmSaverSearch();
  spy.GetActiveTask();
  EXPECT_TRUE(spy.ScreenSaverRunning());
  desktop.processes.pop_back();
  spy.GetActiveTask();
  EXPECT_FALSE(spy.ScreenSaverRunning());
  desktop.screenSaver = true;
  spy.GetActiveTask();
  EXPECT_TRUE(spy.ScreenSaverRunning());
  // a foreground process the walk does not meet gives the path of the walk before
  desktop.foreground = {99, QString()};
  EXPECT_EQ(spy.GetActiveTask(), QStringLiteral("/usr/bin/bash"));
  // a walk that failed gives no task
  desktop.processes.clear();
  EXPECT_EQ(spy.GetActiveTask(), QString());
}

}  // namespace
