#include "core/Error.h"
#include "core/FormatSettings.h"
#include "tracker/CountingModel.h"
#include "tracker/StatisticsStore.h"

#include "../support/FakeClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using tracker::SectionName;
using tracker::StatisticsStore;

QString Fixture(const char* name) {
  return qEnvironmentVariable("HORALOG_TEST_SOURCE") + QStringLiteral("/tracker/fixtures/") +
         QString::fromLatin1(name);
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { core::FormatSettings::SetCurrent(core::FormatSettings::Defaults()); }
  QString Path() const { return dir_.filePath(QStringLiteral("hg20work.txt")); }
  QByteArray Bytes() const {
    QFile f(Path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void CopyFixture() const { ASSERT_TRUE(QFile::copy(Fixture("hg20work.txt"), Path())); }
  QTemporaryDir dir_;
};

TEST(SectionNameTest, UserTabDateWithoutLeadingZeros) {
  EXPECT_EQ(SectionName(QStringLiteral("anna"), QDate(2001, 3, 7)), QStringLiteral("anna\t2001_3_7"));
  EXPECT_EQ(SectionName(QStringLiteral(" Bob Smith "), QDate(2026, 12, 31)),
            QStringLiteral(" Bob Smith \t2026_12_31"));
}

// A first save creates the day's section with "total" first, then the day list in its order.
TEST_F(StoreTest, FirstSaveOrder) {
  const StatisticsStore store(Path());
  const QString section = SectionName(QStringLiteral("anna"), QDate(2001, 3, 7));
  store.WriteDay(section, QStringLiteral("00:00:31"),
                 {QStringLiteral("unknown_task=00:00:01"), QStringLiteral("/usr/bin/vim=00:00:30")});
  EXPECT_EQ(Bytes(), QByteArray("[anna\t2001_3_7]\r\ntotal=00:00:31\r\nunknown_task=00:00:01\r\n"
                                "/usr/bin/vim=00:00:30\r\n"));
}

// Saving again rewrites the keys in place; "total" ends as the last total, even when the day
// list still carries the total it was loaded with; a task name with "=" is cut there.
TEST_F(StoreTest, SavingTwiceRewritesInPlace) {
  const StatisticsStore store(Path());
  const QString section = SectionName(QStringLiteral("anna"), QDate(2001, 3, 7));
  store.WriteDay(section, QStringLiteral("00:00:10"), {QStringLiteral("a=00:00:10")});
  store.WriteDay(section, QStringLiteral("00:00:50"),
                 {QStringLiteral("total=00:00:10"), QStringLiteral("a=00:00:40"),
                  QStringLiteral("b=c=00:00:10")});
  EXPECT_EQ(Bytes(), QByteArray("[anna\t2001_3_7]\r\ntotal=00:00:50\r\na=00:00:40\r\n"
                                "b=c=00:00:10\r\n"));
  const auto day = store.ReadDay(section);
  EXPECT_EQ(day.entries, QStringList({QStringLiteral("total=00:00:50"), QStringLiteral("a=00:00:40"),
                                      QStringLiteral("b=c=00:00:10")}));
  EXPECT_NEAR(day.total * 86400, 50, 1e-6);
}

// Users are the names before the first TAB, in the form read first; other sections are not.
TEST_F(StoreTest, ReadsUsers) {
  CopyFixture();
  core::SortedStrings users(core::SortedStrings::Duplicates::Ignore,
                            QLocale(QLocale::English, QLocale::UnitedStates));
  StatisticsStore(Path()).ReadUsers(users);
  EXPECT_EQ(users.lines(), QStringList({QStringLiteral("anna"), QStringLiteral("bob")}));
  core::SortedStrings none;
  StatisticsStore(dir_.filePath(QStringLiteral("missing.txt"))).ReadUsers(none);
  EXPECT_TRUE(none.isEmpty());
}

// Stored totals are read whatever separator wrote them, hours past 23 included; a missing
// "total" is zero; a missing section is an empty day.
TEST_F(StoreTest, ReadsDaysTolerantly) {
  CopyFixture();
  const StatisticsStore store(Path());
  struct C {
    const char* user;
    QDate date;
    double seconds;
    qsizetype entries;
  } cases[] = {
      {"anna", QDate(2001, 3, 7), 3723, 2},
      {"Anna", QDate(2001, 3, 8), 129600, 1},
      {"anna", QDate(2001, 3, 9), 0, 1},
      {"anna", QDate(2001, 3, 10), 0, 0},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.date.toString().toStdString());
    const auto day = store.ReadDay(SectionName(QString::fromLatin1(c.user), c.date));
    EXPECT_NEAR(day.total * 86400, c.seconds, 1e-6);
    EXPECT_EQ(day.entries.size(), c.entries);
  }
}

// A total that is no time at all stops the load with a message naming file and section.
TEST_F(StoreTest, UnreadableTotalIsAClearError) {
  CopyFixture();
  try {
    StatisticsStore(Path()).ReadDay(SectionName(QStringLiteral("bob"), QDate(2001, 3, 7)));
    FAIL() << "no error";
  } catch (const core::Error& e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("hg20work.txt")));
    EXPECT_TRUE(e.message().contains(QStringLiteral("bob 2001_3_7")));
    EXPECT_TRUE(e.message().contains(QStringLiteral("one hour")));
  }
}

class CountingModelTest : public StoreTest {
 protected:
  testing_support::FakeClock clock_{QDateTime(QDate(2001, 3, 7), QTime(10, 0))};
  options::TaskCatalogue catalogue_;
};

// A day that cannot be loaded is not loaded, and nothing is written into it.
TEST_F(CountingModelTest, FailedLoadWritesNothing) {
  CopyFixture();
  const QByteArray before = Bytes();
  tracker::CountingModel model(clock_, catalogue_, dir_.path());
  model.SetStorePath(Path());
  model.SetUser(QStringLiteral("bob"));
  EXPECT_THROW(model.LoadDay(), core::Error);
  EXPECT_FALSE(model.dayLoaded());
  EXPECT_FALSE(model.WriteDay(QStringLiteral("00:00:01")).has_value());
  EXPECT_EQ(Bytes(), before);
  model.SetUser(QStringLiteral("anna"));
  model.LoadDay();
  EXPECT_EQ(model.totalText(), QStringLiteral("01:02:03"));
}

// A failed write is reported once per run of failures; the old file stays; the day stays in
// memory and the next save point writes it.
TEST_F(CountingModelTest, FailedWritesReportedOnceAndRetried) {
  const QString folder = dir_.filePath(QStringLiteral("not-yet"));
  const QString store = folder + QStringLiteral("/hg20work.txt");
  tracker::CountingModel model(clock_, catalogue_, dir_.path());
  model.SetStorePath(store);
  model.SetUser(QStringLiteral("anna"));
  model.LoadDay();
  const auto first = model.WriteDay(QStringLiteral("00:00:05"));
  ASSERT_TRUE(first.has_value());
  EXPECT_TRUE(first->contains(QStringLiteral("not-yet"))) << first->toStdString();
  EXPECT_FALSE(model.WriteDay(QStringLiteral("00:00:06")).has_value());
  EXPECT_TRUE(model.writeFailing());
  // the catalogue was saved all the same
  EXPECT_TRUE(QFile::exists(model.cataloguePath()));
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_FALSE(model.WriteDay(QStringLiteral("00:00:07")).has_value());
  EXPECT_FALSE(model.writeFailing());
  QFile f(store);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("total=00:00:07"));
}

}  // namespace
