#include "StatisticsFixture.h"
#include "core/ProfileFile.h"
#include "statistics/TaskLists.h"
#include "tracker/StatisticsStore.h"

namespace {

using namespace statistics_test;
using statistics::TaskLists;

class TaskListsTest : public StatisticsTest {};

// Both lists leave out the hidden group and carry the fields in their own order.
TEST_F(TaskListsTest, BuildsBothListsWithoutHiddenGroup) {
  TaskLists lists;
  lists.BuildTaskLists(Catalogue().lines());
  EXPECT_EQ(lists.slTaskSortedName().size(), 8);
  EXPECT_EQ(lists.slTaskSortedGroup().size(), 8);
  EXPECT_EQ(lists.slTaskSortedName().at(0), S("Browser\t/usr/bin/chromium\t2"));
  EXPECT_EQ(lists.slTaskSortedGroup().at(0), S("1\teditor\t/opt/nano"));
  for (const QString& line : lists.slTaskSortedName().lines())
    EXPECT_FALSE(line.contains(S("secret"))) << line.toStdString();
  // A rebuild starts over.
  lists.BuildTaskLists(Catalogue().lines());
  EXPECT_EQ(lists.slTaskSortedName().size(), 8);
}

// One day's time of every kind of key, on the fixture's Monday 4 March 2024.
TEST_F(TaskListsTest, ReadTaskTime) {
  TaskLists lists;
  lists.BuildTaskLists(Catalogue().lines());
  const core::ProfileFile store = tracker::StatisticsStore::OpenFile(Fixture("hg20work.txt"));
  const QString monday = tracker::SectionName(S("anna"), QDate(2024, 3, 4));
  const QString tuesday = tracker::SectionName(S("anna"), QDate(2024, 3, 5));
  constexpr double h = 1.0 / 24;
  struct C {
    const char* what;
    QString section;
    const char* key;
    double expected;
  } cases[] = {
      {"the stored total", monday, "total", 8 * h},
      {"group Work: every editor", monday, "1", 3.75 * h},
      {"group Internet", monday, "2", 1 * h},
      {"group with a zero time", monday, "3", 0},
      {"the hidden group never counts", monday, "0", 0},
      {"a hidden task's name never counts", monday, "Secret", 0},
      {"Editor: its own lines only, though editor sorts first", monday, "Editor", 3 * h},
      {"editor: both of its lines, around the Editor lines", monday, "editor", 0.75 * h},
      {"two applications of one name", tuesday, "Browser", 0.5 * h},
      {"a name is matched exactly", monday, "EDITOR", 0},
      {"a key that names no task", monday, "Nothing", 0},
      {"a group without tasks", monday, "12", 0},
      {"a value that is no time", tuesday, "Monitor", 0},
      {"a day that was not stored", tracker::SectionName(S("anna"), QDate(2024, 3, 7)), "total", 0},
      {"a section in other case", tracker::SectionName(S("anna"), QDate(2024, 3, 11)), "2", 1 * h},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(lists.ReadTaskTime(store, c.section, S(c.key)), c.expected, 1e-9);
  }
}

// A store that does not exist reads as zero everywhere.
TEST_F(TaskListsTest, MissingStoreReadsZero) {
  TaskLists lists;
  lists.BuildTaskLists(Catalogue().lines());
  const core::ProfileFile store =
      tracker::StatisticsStore::OpenFile(dir_.filePath(S("hg20work.txt")));
  const QString section = tracker::SectionName(S("anna"), QDate(2024, 3, 4));
  EXPECT_EQ(lists.ReadTaskTime(store, section, S("total")), 0);
  EXPECT_EQ(lists.ReadTaskTime(store, section, S("1")), 0);
  EXPECT_EQ(lists.ReadTaskTime(store, section, S("Editor")), 0);
}

}  // namespace
