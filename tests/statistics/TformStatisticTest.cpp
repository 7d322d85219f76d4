// The statistics window on a small store: what it shows and how its controls drive the reload.
#include "core/FormStorage.h"
#include "core/FormatSettings.h"
#include "options/TaskCatalogue.h"
#include "statistics/TformStatistic.h"

#include "../support/FakeClock.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <memory>

// Failures show the texts themselves.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {

using statistics::PeriodPreset;
using statistics::TformStatistic;

QString S(const char* text) { return QString::fromUtf8(text); }

QString Fixture(const char* name) {
  return qEnvironmentVariable("HORALOG_TEST_SOURCE") + S("/statistics/fixtures/window/") +
         QString::fromLatin1(name);
}

class StatisticWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
    core::FormStorage::OpenSettings()->clear();
    catalogue_.Load(Fixture("hg20task.txt"));
  }
  void TearDown() override {
    form_.reset();
    core::FormStorage::OpenSettings()->clear();
  }

  // Opens the window as the tracker does, today being Friday 15 March 2024.
  TformStatistic& Open(const QStringList& users = {S("anna"), S("bob")}) {
    form_ = std::make_unique<TformStatistic>(Fixture("hg20work.txt"), catalogue_.lines(), clock_,
                                             services_);
    form_->SetBusy(true);
    form_->RestoreFormStorage();
    form_->FillUsers(users, S("anna"));
    form_->show();
    QApplication::processEvents();
    EXPECT_FALSE(form_->Busy());
    return *form_;
  }
  void CloseAndStore() {
    form_->SaveFormStorage();
    form_.reset();
  }
  QString Cell(int column, int row) const {
    return form_->RxDrawGrid->model()->index(row, column).data().toString();
  }
  void SetPeriod(const QDate& from, const QDate& to) {
    form_->dateTo->setDate(to);
    form_->dateFrom->setDate(from);
  }
  QTreeWidgetItem* Node(QTreeWidget* tree, const char* text) {
    const QList<QTreeWidgetItem*> found =
        tree->findItems(S(text), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }
  // The colours of a painted cell, counted.
  QImage Paint(int column, int row, bool header = false) {
    QImage image(68, header ? 23 : 35, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    if (header)
      form_->gridWeekDrawCell(painter, image.rect(), column);
    else
      form_->RxDrawGridDrawCell(painter, image.rect(), column, row);
    return image;
  }
  // The ink of the day label (the top band of the cell), as a person would name it; text is
  // smoothed, so the strongest pixel tells the colour.
  static std::string LabelInk(const QImage& cell) {
    int darkest = 255;
    bool blue = false, red = false;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < cell.width(); ++x) {
        const QColor c = cell.pixelColor(x, y);
        if (c.blue() - std::max(c.red(), c.green()) > 60) blue = true;
        if (c.red() - std::max(c.blue(), c.green()) > 60) red = true;
        if (c.red() == c.green() && c.green() == c.blue()) darkest = std::min(darkest, c.red());
      }
    }
    if (blue) return "blue";
    if (red) return "red";
    if (darkest < 0x50) return "black";
    if (darkest <= 0xa0) return "grey";
    return "none";
  }
  // Hatching draws many pixels of exactly silver; smoothed text only a few.
  static bool Hatched(const QImage& cell) {
    int silver = 0;
    for (int y = 0; y < cell.height(); ++y)
      for (int x = 0; x < cell.width(); ++x)
        if (cell.pixelColor(x, y) == QColor(0xc0, 0xc0, 0xc0)) ++silver;
    return silver > 40;
  }

  options::TaskCatalogue catalogue_;
  testing_support::FakeClock clock_{QDateTime(QDate(2024, 3, 15), QTime(12, 0))};
  statistics::StatisticServices services_;
  std::unique_ptr<TformStatistic> form_;
};

// The first opening shows the week ending today for all work, with totals and week sums.
TEST_F(StatisticWindowTest, FirstOpeningShowsTheWeekEndingToday) {
  TformStatistic& w = Open();
  EXPECT_EQ(w.windowTitle(), S("Horalog Statistics"));
  EXPECT_EQ(w.cbUser->currentText(), S("anna"));
  EXPECT_EQ(w.dateFrom->date(), QDate(2024, 3, 9));
  EXPECT_EQ(w.dateTo->date(), QDate(2024, 3, 15));
  EXPECT_TRUE(w.mnWeek->isChecked());
  EXPECT_EQ(w.cbTask1->text(), S("total"));
  EXPECT_EQ(w.model().Task1Key(), S("total"));
  EXPECT_EQ(w.model().Task2Key(), S("none"));
  // Saturday 9 to Friday 15: two rows, Monday to Sunday.
  ASSERT_EQ(w.RxDrawGrid->model()->rowCount(), 2);
  EXPECT_EQ(Cell(4, 0), S("outside the period"));
  EXPECT_EQ(Cell(5, 0), S("09/03: not worked"));
  EXPECT_EQ(Cell(0, 1), S("11/03: 05:59:00"));
  EXPECT_EQ(Cell(4, 1), S("15/03: 02:00:00"));
  EXPECT_EQ(Cell(5, 1), S("outside the period"));
  EXPECT_EQ(Cell(7, 1), S("Week: 29:29"));
  EXPECT_EQ(w.lTotal->text(), S("Total: 1 day 05:29"));
  EXPECT_TRUE(w.lTotal2->text().isEmpty());
  EXPECT_EQ(w.gridWeek->model()->index(0, 0).data().toString(), S("Mon"));
}

// What the window keeps comes back at the next opening, the preset applied anew.
TEST_F(StatisticWindowTest, StoredSettingsRoundTrip) {
  {
    TformStatistic& w = Open();
    w.rbAmer->click();
    w.edMark2->setValue(5);
    w.edMark3->setValue(9);
    w.chooseColour = [](const QColor&) { return QColor(0x12, 0x34, 0x56); };
    w.lMark2Click(2);
    w.btDownUpClick();
    w.mnMonth->trigger();
    w.btPage1Click();
    CloseAndStore();
  }
  clock_.SetWallClock(QDateTime(QDate(2024, 3, 20), QTime(9, 0)));
  TformStatistic& w = Open();
  EXPECT_TRUE(w.rbAmer->isChecked());
  EXPECT_FALSE(w.rbEuro->isChecked());
  EXPECT_EQ(w.edMark2->value(), 5);
  EXPECT_EQ(w.edMark3->value(), 9);
  EXPECT_EQ(w.MarkColour(2), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(w.MarkColour(1), QColor(0, 0, 0xff));
  EXPECT_EQ(w.pHeaderTask->maximumHeight(), 52);
  EXPECT_TRUE(w.cbTask2->isVisibleTo(&w));
  EXPECT_EQ(w.Notebook1->currentIndex(), 1);
  EXPECT_TRUE(w.btPage1->isChecked());
  EXPECT_TRUE(w.mnMonth->isChecked());
  // "Month" on 20 March of a leap year: 21 February to 20 March.
  EXPECT_EQ(w.dateFrom->date(), QDate(2024, 2, 21));
  EXPECT_EQ(w.dateTo->date(), QDate(2024, 3, 20));
  // The compare line reopens, but its selection starts at "none".
  EXPECT_EQ(w.model().Task2Key(), S("none"));
}

// A period chosen by hand is kept as it was; a preset follows today.
TEST_F(StatisticWindowTest, CustomPeriodKeptPresetFollowsToday) {
  {
    TformStatistic& w = Open();
    SetPeriod(QDate(2024, 3, 4), QDate(2024, 3, 12));
    EXPECT_FALSE(w.mnWeek->isChecked());
    EXPECT_EQ(w.lTotal->text(), S("Total: 12:59"));
    CloseAndStore();
  }
  clock_.SetWallClock(QDateTime(QDate(2024, 4, 2), QTime(9, 0)));
  {
    TformStatistic& w = Open();
    EXPECT_EQ(w.dateFrom->date(), QDate(2024, 3, 4));
    EXPECT_EQ(w.dateTo->date(), QDate(2024, 3, 12));
    EXPECT_EQ(w.lTotal->text(), S("Total: 12:59"));
    w.mnWeek->trigger();
    CloseAndStore();
  }
  clock_.SetWallClock(QDateTime(QDate(2024, 3, 14), QTime(9, 0)));
  TformStatistic& w = Open();
  EXPECT_EQ(w.dateFrom->date(), QDate(2024, 3, 8));
  EXPECT_EQ(w.dateTo->date(), QDate(2024, 3, 14));
}

// An end date before the start moves the start to it and clears the preset.
TEST_F(StatisticWindowTest, EndBeforeStartMovesTheStart) {
  TformStatistic& w = Open();
  w.dateTo->setDate(QDate(2024, 3, 1));
  EXPECT_EQ(w.dateFrom->date(), QDate(2024, 3, 1));
  EXPECT_FALSE(w.mnWeek->isChecked());
  EXPECT_EQ(w.RxDrawGrid->model()->rowCount(), 1);
}

// The label colours of painted day cells, and the hatching outside the period.
TEST_F(StatisticWindowTest, DayCellsPaintTheirMarks) {
  TformStatistic& w = Open();
  SetPeriod(QDate(2024, 3, 5), QDate(2024, 3, 15));
  struct Case {
    int column, row;
    const char* ink;
    bool hatched;
  } cases[] = {
      {0, 0, "none", true},    // Monday 4: before the period
      {1, 0, "grey", false},   // Tuesday 5: not worked
      {0, 1, "black", false},  // Monday 11: 5:59
      {1, 1, "blue", false},   // Tuesday 12: 6:00
      {2, 1, "blue", false},   // Wednesday 13: 7:30
      {3, 1, "red", false},    // Thursday 14: 8:00
      {5, 1, "none", true},    // Saturday 16: after the period
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "column " << c.column << " row " << c.row);
    const QImage image = Paint(c.column, c.row);
    EXPECT_EQ(LabelInk(image), c.ink);
    EXPECT_EQ(Hatched(image), c.hatched);
  }
  // A higher second threshold than the third: the third colour wins.
  w.edMark2->setValue(9);
  w.edMark3->setValue(7);
  EXPECT_EQ(LabelInk(Paint(2, 1)), "red");
  EXPECT_EQ(LabelInk(Paint(1, 1)), "black");
}

// The header's weekend columns are silver and the week column pink, in both week styles.
TEST_F(StatisticWindowTest, WeekendColumnsInBothStyles) {
  TformStatistic& w = Open();
  const QColor silver(0xc0, 0xc0, 0xc0), pink(0xff, 0x80, 0xc0), white(Qt::white);
  auto background = [&](int column) { return Paint(column, 0, true).pixelColor(1, 1); };
  const QColor euro[8] = {white, white, white, white, white, silver, silver, pink};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(background(k), euro[k]) << k;
  EXPECT_EQ(w.DayTitles()[0], S("Mon"));
  EXPECT_EQ(w.DayTitles()[6], S("Sun"));
  EXPECT_EQ(w.DayTitles()[7], S("Week"));

  w.rbAmer->click();
  const QColor amer[8] = {silver, white, white, white, white, white, silver, pink};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(background(k), amer[k]) << k;
  EXPECT_EQ(w.DayTitles()[0], S("Sun"));
  EXPECT_EQ(w.DayTitles()[6], S("Sat"));
  // Saturday 9 to Friday 15 from Sunday: Saturday ends the first row.
  EXPECT_EQ(Cell(6, 0), S("09/03: not worked"));
  EXPECT_EQ(Cell(1, 1), S("11/03: 05:59:00"));
}

// The trees list each name once under its group, without the hidden group, and each node
// reloads with its key.
TEST_F(StatisticWindowTest, TreesAndTheirKeys) {
  TformStatistic& w = Open();
  QStringList top;
  for (int i = 0; i < w.TreeViewTask1->topLevelItemCount(); ++i)
    top.push_back(w.TreeViewTask1->topLevelItem(i)->text(0));
  EXPECT_EQ(top, (QStringList{S("total"), S("Work"), S("Internet"), S("Games"), S("System"),
                              S("Stuff")}));
  EXPECT_EQ(w.TreeViewTask1->topLevelItem(1)->childCount(), 2);  // Code, Editor
  EXPECT_EQ(Node(w.TreeViewTask1, "Secret"), nullptr);
  EXPECT_EQ(w.TreeViewTask2->topLevelItem(0)->text(0), S("none"));

  struct Case {
    const char* node;
    const char* key;
    const char* total;
  } cases[] = {
      {"Work", "1", "Total: 13:00"},
      {"Editor", "Editor", "Total: 13:00"},
      {"Internet", "2", "Total: 10:59"},
      {"Games", "3", "Total: 03:30"},
      {"total", "total", "Total: 1 day 05:29"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.node);
    QTreeWidgetItem* item = Node(w.TreeViewTask1, c.node);
    ASSERT_NE(item, nullptr);
    w.TreeViewTask1->setCurrentItem(item);
    EXPECT_EQ(w.GetSelectedKey(w.TreeViewTask1), S(c.key));
    EXPECT_EQ(w.model().Task1Key(), S(c.key));
    EXPECT_EQ(w.cbTask1->text(), S(c.node));
    EXPECT_EQ(w.lTotal->text(), S(c.total));
  }
  const QString longName = S("A task name that is longer than thirty-six characters");
  QTreeWidgetItem* longNode = Node(w.TreeViewTask1, longName.left(36).toUtf8().constData());
  ASSERT_NE(longNode, nullptr);
  w.TreeViewTask1->setCurrentItem(longNode);
  EXPECT_EQ(w.model().Task1Key(), longName);
}

// Down and Up in the edit walk the tree in its order, into and out of groups.
TEST_F(StatisticWindowTest, UpDownStepsAcrossGroups) {
  TformStatistic& w = Open();
  w.cbTask1->setFocus();
  const char* down[] = {"Work", "Code", "Editor", "Internet", "Browser", "Games"};
  for (const char* expected : down) {
    QTest::keyClick(w.cbTask1, Qt::Key_Down);
    EXPECT_EQ(w.cbTask1->text(), S(expected));
  }
  EXPECT_EQ(w.model().Task1Key(), S("3"));
  EXPECT_EQ(w.lTotal->text(), S("Total: 03:30"));
  for (int i = 0; i < 6; ++i) QTest::keyClick(w.cbTask1, Qt::Key_Up);
  EXPECT_EQ(w.cbTask1->text(), S("total"));
  QTest::keyClick(w.cbTask1, Qt::Key_Up);
  EXPECT_EQ(w.cbTask1->text(), S("total"));
  QTest::keyClick(w.cbTask1, Qt::Key_Left);
  EXPECT_EQ(w.cbTask1->text(), S("total"));
}

// Opening the compare line changes nothing until a node is chosen; closing it goes back to
// "none" and empties the compare total.
TEST_F(StatisticWindowTest, CompareLineToggle) {
  TformStatistic& w = Open();
  QTest::mouseClick(w.btDownUp, Qt::LeftButton);
  EXPECT_EQ(w.pHeaderTask->maximumHeight(), 52);
  EXPECT_TRUE(w.cbTask2->isVisible());
  EXPECT_EQ(w.model().Task2Key(), S("none"));
  EXPECT_EQ(w.cbTask2->text(), S("none"));

  w.TreeViewTask2->setCurrentItem(Node(w.TreeViewTask2, "Internet"));
  EXPECT_EQ(w.model().Task2Key(), S("2"));
  EXPECT_EQ(w.lTotal2->text(), S("Compared: 10:59   (37.25%)"));
  EXPECT_EQ(Cell(0, 1), S("11/03: 05:59:00, compared 02:59:00"));
  EXPECT_EQ(Cell(7, 1), S("Week: 29:29, compared 10:59"));

  QTest::mouseClick(w.btDownUp, Qt::LeftButton);
  EXPECT_EQ(w.pHeaderTask->maximumHeight(), 27);
  EXPECT_FALSE(w.cbTask2->isVisible());
  EXPECT_EQ(w.model().Task2Key(), S("none"));
  EXPECT_EQ(w.GetSelectedText(w.TreeViewTask2), S("none"));
  EXPECT_TRUE(w.lTotal2->text().isEmpty());
  EXPECT_EQ(Cell(0, 1), S("11/03: 05:59:00"));
}

// Another user's days, and the options panel.
TEST_F(StatisticWindowTest, UserChangeAndOptionsPanel) {
  TformStatistic& w = Open();
  w.cbUser->setCurrentText(S("bob"));
  EXPECT_EQ(w.lTotal->text(), S("Total: 03:00"));
  EXPECT_FALSE(w.pOptions->isVisible());
  QTest::mouseClick(w.btOptions, Qt::LeftButton);
  EXPECT_TRUE(w.pOptions->isVisible());
  QTest::mouseClick(w.btOptions, Qt::LeftButton);
  EXPECT_FALSE(w.pOptions->isVisible());
}

// After the task list was edited and applied, the trees are built anew and start over.
TEST_F(StatisticWindowTest, CustomizeTasksRebuildsTheTrees) {
  bool applied = false;
  services_.customizeTasks = [&] {
    catalogue_.Add(S("/usr/bin/gimp\tPainter\t5"));
    return applied;
  };
  TformStatistic& w = Open();
  EXPECT_TRUE(w.btCustomizeTasks->isEnabled());
  w.TreeViewTask1->setCurrentItem(Node(w.TreeViewTask1, "Games"));
  w.btCustomizeTasksClick();
  EXPECT_EQ(Node(w.TreeViewTask1, "Painter"), nullptr);
  EXPECT_EQ(w.model().Task1Key(), S("3"));

  applied = true;
  w.btCustomizeTasksClick();
  EXPECT_NE(Node(w.TreeViewTask1, "Painter"), nullptr);
  EXPECT_EQ(w.cbTask1->text(), S("total"));
  EXPECT_EQ(w.model().Task1Key(), S("total"));
  EXPECT_EQ(w.lTotal->text(), S("Total: 1 day 05:29"));
}

// A cancelled colour dialog changes nothing.
TEST_F(StatisticWindowTest, CancelledColourDialog) {
  TformStatistic& w = Open();
  w.chooseColour = [](const QColor&) { return std::optional<QColor>(); };
  w.lMark2Click(1);
  EXPECT_EQ(w.MarkColour(1), QColor(0, 0, 0xff));
}

}  // namespace
