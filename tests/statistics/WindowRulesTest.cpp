// The statistics window's own rules that need no window: the day marks, the header's weekend
// columns, the task trees and their keys, and the stored settings.
#include "core/FormStorage.h"
#include "options/TaskCatalogue.h"
#include "statistics/StatisticSettings.h"
#include "statistics/TaskLists.h"
#include "statistics/TaskTree.h"
#include "statistics/WeekTableCells.h"

#include <gtest/gtest.h>
#include <QSettings>

namespace statistics {
namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

// A day label's colour follows the main task's hours: grey without time, then the second and
// the third threshold, the later rule winning.
TEST(DayMarks, LabelColourRule) {
  struct Case {
    const char* time1;
    int mark2, mark3;
    DayMark expected;
  } cases[] = {
      {"", 6, 8, DayMark::NotWorked},      {"05:00:00", 6, 8, DayMark::Plain},
      {"05:59:59", 6, 8, DayMark::Plain},  {"06:00:00", 6, 8, DayMark::Mark2},
      {"07:59:59", 6, 8, DayMark::Mark2},  {"08:00:00", 6, 8, DayMark::Mark3},
      {"31:00:00", 6, 8, DayMark::Mark3},  {"12", 1, 8, DayMark::Plain},
      {"ab:00:00", 1, 8, DayMark::Plain},  {"08:00:00", 9, 7, DayMark::Mark3},
      {"07:00:00", 9, 7, DayMark::Mark3},  {"06:00:00", 9, 7, DayMark::Plain},
      {"00:00:01", 1, 24, DayMark::Plain}, {"01:00:00", 1, 24, DayMark::Mark2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time1);
    EXPECT_EQ(DayLabelMark(S(c.time1), c.mark2, c.mark3), c.expected);
  }
}

// Saturday and Sunday are silver in the header, wherever the week style puts them.
TEST(DayMarks, WeekendColumns) {
  for (int column = 0; column < 8; ++column) {
    SCOPED_TRACE(column);
    EXPECT_EQ(WeekendColumn(column, WeekStyle::MondayToSunday), column == 5 || column == 6);
    EXPECT_EQ(WeekendColumn(column, WeekStyle::SundayToSaturday), column == 0 || column == 6);
  }
}

TEST(DayMarks, CellTexts) {
  const DayCellTexts empty = SplitDayCell(QString());
  EXPECT_TRUE(empty.label.isEmpty() && empty.time1.isEmpty() && empty.time2.isEmpty());
  const DayCellTexts day = SplitDayCell(S("15/03\t06:00:00\t01:00:00"));
  EXPECT_EQ(day.label, S("15/03"));
  EXPECT_EQ(day.time1, S("06:00:00"));
  EXPECT_EQ(day.time2, S("01:00:00"));
  const DayCellTexts unworked = SplitDayCell(S("16/03\t\t"));
  EXPECT_EQ(unworked.label, S("16/03"));
  EXPECT_TRUE(unworked.time1.isEmpty());
  const WeekCellTexts week = SplitWeekCell(S("19:29\t02:00"));
  EXPECT_EQ(week.week1, S("19:29"));
  EXPECT_EQ(week.week2, S("02:00"));
  EXPECT_EQ(DayCellAccessibleText(QString(), false), S("outside the period"));
  EXPECT_EQ(DayCellAccessibleText(S("16/03\t\t"), true),
            S("16/03: not worked, compared not worked"));
}

class TaskTreeTest : public ::testing::Test {
 protected:
  // group TAB name TAB application, as the lists hold them.
  TaskLists Lists(const QStringList& catalogue) {
    core::SortedStrings lines(core::SortedStrings::Duplicates::Accept);
    lines.Assign(catalogue);
    TaskLists lists;
    lists.BuildTaskLists(lines);
    return lists;
  }
  static QString Name(int group) { return options::GroupName(group); }
  static QStringList Texts(const std::vector<TaskNode>& nodes) {
    QStringList texts;
    for (const TaskNode& n : nodes) texts.push_back((n.parent >= 0 ? S("  ") : QString()) + n.text);
    return texts;
  }
};

// A name carried by two applications is one node; a name equal to the last one of the group
// before is skipped too, and its group gets a node only from a line that is listed.
TEST_F(TaskTreeTest, NamesOnceAndGroupNodesOnlyForListedLines) {
  const TaskLists lists = Lists(
      {S("/usr/bin/vim\tEditor\t1"), S("/usr/bin/emacs\tEditor\t1"), S("/usr/bin/code\tCode\t1"),
       S("/opt/ed\tEditor\t2"), S("/usr/bin/firefox\tBrowser\t3"), S("/opt/zed\tZed\t3"),
       S("/usr/bin/editor2\tEditor\t4"), S("/usr/bin/secret\tSecret\t0")});
  const std::vector<TaskNode> main = BuildTaskNodes(lists.slTaskSortedGroup(), false, Name);
  EXPECT_EQ(Texts(main), (QStringList{S("total"), Name(1), S("  Code"), S("  Editor"), Name(3),
                                      S("  Browser"), S("  Zed"), Name(4), S("  Editor")}));
  const std::vector<TaskNode> compare = BuildTaskNodes(lists.slTaskSortedGroup(), true, Name);
  ASSERT_GE(compare.size(), 2u);
  EXPECT_EQ(compare[0].text, S("none"));
  EXPECT_EQ(compare[1].text, S("total"));
  EXPECT_EQ(compare.size(), main.size() + 1);
  // The line of group 2 that was skipped does not start a group: group 4's line follows
  // group 3's and starts its own.
  EXPECT_EQ(main[7].kind, TaskNode::Kind::Group);
  EXPECT_EQ(main[7].data, 4);
  EXPECT_EQ(main[8].parent, 7);
}

// Each kind of node gives its key: the texts "none" and "total", a group's number, a task's
// full name even when the node shows it cut.
TEST_F(TaskTreeTest, KeysOfEachKindOfNode) {
  const QString longName = S("A task name that is longer than thirty-six characters");
  const TaskLists lists = Lists({S("/usr/bin/vim\tEditor\t1"),
                                 S("/opt/long\t") + longName + S("\t5"), S("/opt/t\ttotal\t2")});
  const std::vector<TaskNode> nodes = BuildTaskNodes(lists.slTaskSortedGroup(), true, Name);
  const core::SortedStrings& group = lists.slTaskSortedGroup();
  QStringList keys;
  for (const TaskNode& n : nodes) keys.push_back(TaskNodeKey(n.text, n.parent >= 0, n.data, group));
  EXPECT_EQ(keys, (QStringList{S("none"), S("total"), S("1"), S("Editor"), S("2"), S("total"),
                               S("5"), longName}));
  EXPECT_EQ(nodes.back().text, longName.left(36));
  EXPECT_EQ(TaskNodeKey(S("Editor"), true, 99, group), QString());
}

// With pictures, groups take their number after the base pictures and tasks their icon after
// the group pictures; a task without an icon has none.
TEST_F(TaskTreeTest, Pictures) {
  const TaskLists lists = Lists({S("/usr/bin/vim\tEditor\t1"), S("/usr/bin/top\tMonitor\t4")});
  TaskTreePictures pictures;
  pictures.enabled = true;
  pictures.basePictures = 2;
  pictures.groupPictures = 7;
  pictures.iconIndex = [](const QString& app) { return app == S("/usr/bin/vim") ? 3 : -1; };
  const std::vector<TaskNode> nodes =
      BuildTaskNodes(lists.slTaskSortedGroup(), true, Name, pictures);
  ASSERT_EQ(nodes.size(), 6u);
  EXPECT_EQ(nodes[0].picture, 0);   // none
  EXPECT_EQ(nodes[1].picture, 1);   // total
  EXPECT_EQ(nodes[2].picture, 3);   // group 1
  EXPECT_EQ(nodes[3].picture, 12);  // vim: 3 + 7 + 2
  EXPECT_EQ(nodes[4].picture, 6);   // group 4
  EXPECT_EQ(nodes[5].picture, -1);  // top has no icon
  for (const TaskNode& n : BuildTaskNodes(lists.slTaskSortedGroup(), true, Name))
    EXPECT_EQ(n.picture, -1);
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { core::FormStorage::OpenSettings()->clear(); }
  void TearDown() override { core::FormStorage::OpenSettings()->clear(); }
};

// What is stored comes back, under the section and names the window has always used.
TEST_F(SettingsTest, RoundTrip) {
  StatisticSettings s;
  s.weekStyle = WeekStyle::SundayToSaturday;
  s.markColours = {0x112233, 0x00ff00, 0xabcdef};
  s.mark2 = 4;
  s.mark3 = 10;
  s.dateFromText = S("01/03/2024");
  s.dateToText = S("15/03/2024");
  s.presets = {false, false, false, true};
  s.taskRowHeight = 52;
  s.page = 2;
  s.detailPage = 1;
  {
    core::FormStorage storage(S("Ststistic"));
    s.Save(storage);
    storage.Sync();
  }
  auto settings = core::FormStorage::OpenSettings();
  EXPECT_EQ(settings->value(S("Ststistic/rbAmer_Checked")).toString(), S("True"));
  EXPECT_EQ(settings->value(S("Ststistic/rbEuro_Checked")).toString(), S("False"));
  EXPECT_EQ(settings->value(S("Ststistic/mnMonth_Checked")).toString(), S("True"));
  EXPECT_EQ(settings->value(S("Ststistic/pHeaderTask_Height")).toString(), S("52"));
  EXPECT_EQ(settings->value(S("Ststistic/Notebook1_PageIndex")).toString(), S("2"));

  StatisticSettings back;
  back.Restore(core::FormStorage(S("Ststistic")));
  EXPECT_EQ(back.weekStyle, s.weekStyle);
  EXPECT_EQ(back.markColours, s.markColours);
  EXPECT_EQ(back.mark2, 4);
  EXPECT_EQ(back.mark3, 10);
  EXPECT_EQ(back.dateFromText, s.dateFromText);
  EXPECT_EQ(back.dateToText, s.dateToText);
  EXPECT_EQ(back.presets, s.presets);
  EXPECT_EQ(back.CheckedPreset(), PeriodPreset::Month);
  EXPECT_EQ(back.taskRowHeight, 52);
  EXPECT_EQ(back.page, 2);
  EXPECT_EQ(back.detailPage, 1);
}

// Values that cannot be read keep the design defaults; numbers keep to their ranges.
TEST_F(SettingsTest, DamagedValuesKeepDefaults) {
  {
    auto settings = core::FormStorage::OpenSettings();
    settings->setValue(S("Ststistic/rbAmer_Checked"), S("maybe"));
    settings->setValue(S("Ststistic/lMark2_Font"), S("Arial,8,[],blue"));
    settings->setValue(S("Ststistic/edMark2_Value"), S("99"));
    settings->setValue(S("Ststistic/edMark3_Value"), S("eight"));
    settings->setValue(S("Ststistic/mnWeek_Checked"), S("False"));
    settings->setValue(S("Ststistic/pHeaderTask_Height"), S("40"));
    settings->setValue(S("Ststistic/Notebook1_PageIndex"), S("7"));
  }
  StatisticSettings s;
  s.Restore(core::FormStorage(S("Ststistic")));
  const StatisticSettings defaults;
  EXPECT_EQ(s.weekStyle, WeekStyle::MondayToSunday);
  EXPECT_EQ(s.markColours, defaults.markColours);
  EXPECT_EQ(s.mark2, 24);
  EXPECT_EQ(s.mark3, 8);
  EXPECT_EQ(s.CheckedPreset(), PeriodPreset::None);
  EXPECT_EQ(s.taskRowHeight, 27);
  EXPECT_EQ(s.page, 0);
}

}  // namespace
}  // namespace statistics
