#include "StatisticsFixture.h"
#include "core/Error.h"
#include "localisation/LangString.h"

namespace {

using namespace statistics_test;
using localisation::LangString;
using statistics::PeriodPreset;
using statistics::StatisticModel;
using statistics::StatisticPage;
using statistics::WeekStyle;

constexpr double kHour = 1.0 / 24;

class StatisticModelTest : public StatisticsTest {
 protected:
  static void Reload(StatisticModel& model, QDate from, QDate to, const char* task1 = "total",
                     const char* task2 = "none") {
    model.SetDates(from, to);
    model.SetTaskKeys(S(task1), S(task2));
    model.dateToChange();
  }
  static QString Row(const StatisticModel& model, int row) {
    QStringList cells;
    for (int k = 0; k < StatisticModel::kColumns; ++k) cells << model.Cells(k, row);
    return cells.join(u'|');
  }
};

// A one-day period is one row with the day in its weekday's column; a zero time is no time.
TEST_F(StatisticModelTest, OneDay) {
  StatisticModel model = Model();
  Reload(model, {2024, 3, 5}, {2024, 3, 5});
  ASSERT_EQ(model.rows(), 1);
  EXPECT_EQ(Row(model, 0), S("|05/03\t04:00:00\t||||||04:00\t"));
  Reload(model, {2024, 3, 6}, {2024, 3, 6});
  ASSERT_EQ(model.rows(), 1);
  EXPECT_EQ(Row(model, 0), S("||06/03\t\t|||||\t"));
  EXPECT_EQ(model.total1(), 0);
  EXPECT_EQ(model.lTotal(), LangString(148) + S(": 00:00"));
  EXPECT_EQ(model.lTotal2(), QString());
}

// Monday to Sunday fills one Monday-to-Sunday row whose week total is the period total; the
// Sunday-to-Saturday style spreads the same days over two rows.
TEST_F(StatisticModelTest, WeekRowsInBothStyles) {
  StatisticModel model = Model();
  Reload(model, {2024, 3, 4}, {2024, 3, 10});
  ASSERT_EQ(model.rows(), 1);
  EXPECT_EQ(Row(model, 0), S("04/03\t08:00:00\t|05/03\t04:00:00\t|06/03\t\t|07/03\t\t|08/03\t\t|"
                             "09/03\t\t|10/03\t02:00:00\t|14:00\t"));
  EXPECT_NEAR(model.WeekTotal1()[0], 14 * kHour, 1e-9);
  EXPECT_NEAR(model.total1(), 14 * kHour, 1e-9);

  model.SetWeekStyle(WeekStyle::SundayToSaturday);
  model.cbUserChange();
  ASSERT_EQ(model.rows(), 2);
  EXPECT_EQ(model.FirstColumn(), 1);
  EXPECT_EQ(Row(model, 0), S("|04/03\t08:00:00\t|05/03\t04:00:00\t|06/03\t\t|07/03\t\t|08/03\t\t|"
                             "09/03\t\t|12:00\t"));
  EXPECT_EQ(Row(model, 1), S("10/03\t02:00:00\t|||||||02:00\t"));
  ASSERT_EQ(model.WeekTotal1().size(), 2u);
  EXPECT_NEAR(model.WeekTotal1()[1], 2 * kHour, 1e-9);
  EXPECT_NEAR(model.total1(), 14 * kHour, 1e-9);
  ASSERT_EQ(model.days().size(), 7u);
  EXPECT_EQ(model.days().back().row, 1);
  EXPECT_EQ(model.days().back().column, 0);
}

// The compared key fills the third field of each cell and the percentage of the main total.
TEST_F(StatisticModelTest, Comparison) {
  StatisticModel model = Model();
  Reload(model, {2024, 3, 4}, {2024, 3, 10}, "total", "1");
  EXPECT_EQ(model.Cells(0, 0), S("04/03\t08:00:00\t03:45:00"));
  EXPECT_EQ(model.Cells(7, 0), S("14:00\t04:45"));
  EXPECT_EQ(model.percentText(), S("33.93%"));
  EXPECT_EQ(model.lTotal(), LangString(148) + S(": 14:00"));
  EXPECT_EQ(model.lTotal2(), LangString(149) + S(": 04:45   (33.93%)"));

  // The percentage takes the current decimal separator.
  core::FormatSettings formats = core::FormatSettings::Defaults();
  formats.decimalSeparator = u',';
  core::FormatSettings::SetCurrent(formats);
  model.cbUserChange();
  EXPECT_EQ(model.lTotal2(), LangString(149) + S(": 04:45   (33,93%)"));
}

// A zero main total leaves the percentage empty instead of dividing by zero, and a zero
// compared total leaves it empty too.
TEST_F(StatisticModelTest, ZeroTotalsGiveAnEmptyPercentage) {
  StatisticModel model = Model();
  Reload(model, {2024, 3, 4}, {2024, 3, 10}, "Nothing", "2");
  EXPECT_EQ(model.lTotal(), LangString(148) + S(": 00:00"));
  EXPECT_EQ(model.lTotal2(), LangString(149) + S(": 01:30   ()"));
  EXPECT_EQ(model.Cells(0, 0), S("04/03\t\t01:00:00"));
  Reload(model, {2024, 3, 4}, {2024, 3, 10}, "total", "Nothing");
  EXPECT_EQ(model.lTotal2(), LangString(149) + S(": 00:00   ()"));
}

// An end before the start moves the start, and that counts as the user's own date change.
TEST_F(StatisticModelTest, EndBeforeStartMovesTheStart) {
  StatisticModel model = Model();
  int changes = 0;
  model.SetHooks({.periodChanged = [&] { ++changes; }});
  model.mnMonthClick(PeriodPreset::Week, {2024, 3, 10});
  ASSERT_EQ(model.checkedPreset(), PeriodPreset::Week);
  changes = 0;
  model.SetDates({2024, 3, 10}, {2024, 3, 5});
  model.cbUserChange();
  EXPECT_EQ(model.dateFrom(), QDate(2024, 3, 5));
  EXPECT_EQ(model.dateTo(), QDate(2024, 3, 5));
  EXPECT_EQ(model.checkedPreset(), PeriodPreset::None);
  EXPECT_GE(changes, 1);
  EXPECT_EQ(model.rows(), 1);
  EXPECT_NEAR(model.total1(), 4 * kHour, 1e-9);
}

// Without a date, a key or while busy the reload does nothing and the last results stay.
TEST_F(StatisticModelTest, ReloadStopsEarly) {
  StatisticModel model = Model();
  Reload(model, {2024, 3, 4}, {2024, 3, 4});
  const QString shown = Row(model, 0);
  struct C {
    const char* what;
    QDate from, to;
    const char* task1;
    const char* task2;
    bool busy;
  } cases[] = {
      {"no start date", {}, {2024, 3, 5}, "total", "none", false},
      {"no end date", {2024, 3, 5}, {}, "total", "none", false},
      {"no main key", {2024, 3, 5}, {2024, 3, 5}, "", "none", false},
      {"no compared key", {2024, 3, 5}, {2024, 3, 5}, "total", "", false},
      {"busy", {2024, 3, 5}, {2024, 3, 5}, "total", "none", true},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    model.SetBusy(c.busy);
    Reload(model, c.from, c.to, c.task1, c.task2);
    model.SetBusy(false);
    EXPECT_EQ(Row(model, 0), shown);
    EXPECT_NEAR(model.total1(), 8 * kHour, 1e-9);
  }
}

// The reload refreshes the visible page only.
TEST_F(StatisticModelTest, RefreshesTheVisiblePage) {
  StatisticModel model = Model();
  StatisticPage page = StatisticPage::Table;
  QString refreshed;
  model.SetHooks({.currentPage = [&] { return page; },
                  .repaintTable = [&] { refreshed += u't'; },
                  .fillChart = [&] { refreshed += u'c'; },
                  .fillDetail = [&] { refreshed += u'd'; }});
  for (StatisticPage p : {StatisticPage::Table, StatisticPage::Chart, StatisticPage::Detail}) {
    page = p;
    Reload(model, {2024, 3, 4}, {2024, 3, 4});
  }
  EXPECT_EQ(refreshed, S("tcd"));
}

// A store that cannot be read is reported, and the table shown before stays.
TEST_F(StatisticModelTest, UnreadableStore) {
  const QString path = dir_.filePath(S("hg20work.txt"));
  StatisticModel model = Model(path);
  Write("hg20work.txt", "[anna\t2024_3_4]\r\ntotal=01:00:00\r\n");
  Reload(model, {2024, 3, 4}, {2024, 3, 4});
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(S("hg20work.txt")));
  EXPECT_THROW(Reload(model, {2024, 3, 4}, {2024, 3, 5}), core::Error);
  EXPECT_EQ(model.Cells(0, 0), S("04/03\t01:00:00\t"));
  EXPECT_EQ(model.PeriodDays(), 1);
}

// A missing store is no error: empty cells and zero totals.
TEST_F(StatisticModelTest, MissingStore) {
  StatisticModel model = Model(dir_.filePath(S("hg20work.txt")));
  Reload(model, {2024, 3, 4}, {2024, 3, 5}, "total", "1");
  EXPECT_EQ(Row(model, 0), S("04/03\t\t|05/03\t\t||||||\t"));
  EXPECT_EQ(model.lTotal2(), LangString(149) + S(": 00:00   ()"));
}

// FillCells on its own reads the store again.
TEST_F(StatisticModelTest, FillCellsReadsTheStoreAgain) {
  const QString path = Write("hg20work.txt", "[anna\t2024_3_4]\r\ntotal=01:00:00\r\n");
  StatisticModel model = Model(path);
  Reload(model, {2024, 3, 4}, {2024, 3, 4});
  Write("hg20work.txt", "[anna\t2024_3_4]\r\ntotal=02:30:00\r\n");
  model.FillCells();
  EXPECT_EQ(model.Cells(0, 0), S("04/03\t02:30:00\t"));
}

// Period totals: hours and minutes, whole days counted before them.
TEST_F(StatisticModelTest, PeriodTotalText) {
  const QString day = LangString(146), days = LangString(147);
  struct C {
    double x;
    QString expected;
  } cases[] = {
      {0, S("00:00")},
      {0.75, S("18:00")},
      {1.5, S("1 ") + day + S(" 12:00")},
      {1 + 2 * kHour, S("1 ") + day + S(" 02:00")},
      {2.25, S("2 ") + days + S(" 06:00")},
      {10.5, S("10 ") + days + S(" 12:00")},
      {1 - 1e-12, S("1 ") + day + S(" 00:00")},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(StatisticModel::PeriodTotalText(c.x), c.expected);
  }
}

// The day label is the short date cut at the first date separator from the fourth character.
TEST_F(StatisticModelTest, DayLabels) {
  struct C {
    const char* format;
    char16_t separator;
    const char* expected;
  } cases[] = {
      {"dd/mm/yyyy", u'.', "15.03"}, {"m/d/yyyy", u'/', "3/15"},  {"mm/dd/yyyy", u'/', "03/15"},
      {"yyyy/mm/dd", u'-', "2024"},  {"dd mmm yyyy", u'/', "15"}, {"d/m/yy", u'/', "15/3"},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.format);
    core::FormatSettings formats = core::FormatSettings::Defaults();
    formats.shortDateFormat = S(c.format);
    formats.dateSeparator = QChar(c.separator);
    core::FormatSettings::SetCurrent(formats);
    EXPECT_EQ(StatisticModel::DayLabel(QDate(2024, 3, 15)), S(c.expected));
  }
}

// Column titles follow the week style; the last is "Week".
TEST_F(StatisticModelTest, DayTitles) {
  StatisticModel model(QString{});
  auto joined = [&] {
    const auto titles = model.DayTitles();
    return QStringList(titles.begin(), titles.end()).join(u' ');
  };
  EXPECT_EQ(joined(), S("Mon Tue Wed Thu Fri Sat Sun Week"));
  model.SetWeekStyle(WeekStyle::SundayToSaturday);
  EXPECT_EQ(joined(), S("Sun Mon Tue Wed Thu Fri Sat Week"));
}

}  // namespace
