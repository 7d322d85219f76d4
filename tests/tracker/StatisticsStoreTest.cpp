#include "core/Error.h"
#include "core/FormatSettings.h"
#include "tracker/StatisticsStore.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
  EXPECT_EQ(SectionName(QStringLiteral("anna"), QDate(2001, 3, 7)),
            QStringLiteral("anna\t2001_3_7"));
  EXPECT_EQ(SectionName(QStringLiteral(" Bob Smith "), QDate(2026, 12, 31)),
            QStringLiteral(" Bob Smith \t2026_12_31"));
}

// A first save creates the day's section with "total" first, then the day list in its order.
TEST_F(StoreTest, FirstSaveOrder) {
  const StatisticsStore store(Path());
  const QString section = SectionName(QStringLiteral("anna"), QDate(2001, 3, 7));
  store.WriteDay(
      section, QStringLiteral("00:00:31"),
      {QStringLiteral("unknown_task=00:00:01"), QStringLiteral("/usr/bin/vim=00:00:30")});
  EXPECT_EQ(Bytes(), QByteArray("[anna\t2001_3_7]\r\ntotal=00:00:31\r\nunknown_task=00:00:01\r\n"
                                "/usr/bin/vim=00:00:30\r\n"));
}

// Saving again rewrites the keys in place; "total" ends as the last total, even when the day
// list still carries the total it was loaded with.
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
  EXPECT_EQ(day.entries,
            QStringList({QStringLiteral("total=00:00:50"), QStringLiteral("a=00:00:40"),
                         QStringLiteral("b=c=00:00:10")}));
  EXPECT_NEAR(day.total * 86400, 50, 1e-6);
}

// An application path with "=" keeps its time: its entry splits at the last "=", on writing
// and on reading, so a later save replaces the line instead of starting a second key.
TEST_F(StoreTest, PathWithEqualsKeepsItsTime) {
  const StatisticsStore store(Path());
  const QString section = SectionName(QStringLiteral("anna"), QDate(2001, 3, 7));
  store.WriteDay(section, QStringLiteral("00:00:09"), {QStringLiteral("/opt/ed=it=00:00:09")});
  store.WriteDay(section, QStringLiteral("00:00:20"),
                 {QStringLiteral("total=00:00:09"), QStringLiteral("/opt/ed=it=00:00:20")});
  EXPECT_EQ(Bytes(), QByteArray("[anna\t2001_3_7]\r\ntotal=00:00:20\r\n/opt/ed=it=00:00:20\r\n"));
  const core::ProfileFile file = StatisticsStore::OpenFile(Path());
  EXPECT_EQ(file.Keys(section),
            QStringList({QStringLiteral("total"), QStringLiteral("/opt/ed=it")}));
  EXPECT_EQ(file.ReadString(section, QStringLiteral("/opt/ed=it"), {}), QStringLiteral("00:00:20"));
}

// A hand-edited store: blanks around a header or a key and a quoted value still make the day.
TEST_F(StoreTest, ReadsHandEditedDays) {
  QFile f(Path());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[ zed\t2001_3_7 ]\r\n total = \"00:01:00\"\r\n /usr/bin/vim =00:00:59\r\n");
  f.close();
  const StatisticsStore store(Path());
  core::SortedStrings users;
  store.ReadUsers(users);
  EXPECT_EQ(users.lines(), QStringList{QStringLiteral("zed")});
  const auto day = store.ReadDay(SectionName(QStringLiteral("zed"), QDate(2001, 3, 7)));
  EXPECT_EQ(day.entries, QStringList({QStringLiteral("total=00:01:00"),
                                      QStringLiteral("/usr/bin/vim=00:00:59")}));
  EXPECT_NEAR(day.total * 86400, 60, 1e-6);
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

}  // namespace
