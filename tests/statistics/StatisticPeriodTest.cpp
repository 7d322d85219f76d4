#include "statistics/StatisticModel.h"
#include "statistics/StatisticPeriod.h"

#include <gtest/gtest.h>

namespace {

using statistics::PeriodPreset;
using statistics::StatisticModel;
using statistics::WeekStyle;

// Period length, first column and row count in both week styles.
TEST(StatisticPeriodTest, DaysColumnsAndRows) {
  struct C {
    const char* what;
    QDate from, to;
    WeekStyle style;
    int days, firstColumn, rows;
  } cases[] = {
      {"one Wednesday", {2024, 6, 5}, {2024, 6, 5}, WeekStyle::MondayToSunday, 1, 2, 1},
      {"one Sunday, Sun-Sat", {2024, 6, 9}, {2024, 6, 9}, WeekStyle::SundayToSaturday, 1, 0, 1},
      {"Wed 5 to Tue 11", {2024, 6, 5}, {2024, 6, 11}, WeekStyle::MondayToSunday, 7, 2, 2},
      {"Wed 5 to Tue 11, Sun-Sat",
       {2024, 6, 5},
       {2024, 6, 11},
       WeekStyle::SundayToSaturday,
       7,
       3,
       2},
      {"Mon to Sun", {2024, 3, 4}, {2024, 3, 10}, WeekStyle::MondayToSunday, 7, 0, 1},
      {"Mon to Sun, Sun-Sat", {2024, 3, 4}, {2024, 3, 10}, WeekStyle::SundayToSaturday, 7, 1, 2},
      {"Sun to Sat, Sun-Sat", {2024, 3, 3}, {2024, 3, 9}, WeekStyle::SundayToSaturday, 7, 0, 1},
      {"end before start", {2024, 3, 10}, {2024, 3, 4}, WeekStyle::MondayToSunday, 1, 0, 1},
      {"leap February", {2024, 2, 1}, {2024, 2, 29}, WeekStyle::MondayToSunday, 29, 3, 5},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    StatisticModel model(QString{});
    model.SetDates(c.from, c.to);
    model.SetWeekStyle(c.style);
    EXPECT_EQ(model.GetPeriodDays(), c.days);
    EXPECT_EQ(model.GetFirstColumn(), c.firstColumn);
    EXPECT_EQ(model.BaseDate(), c.to.addDays(-c.days));
    EXPECT_EQ((c.firstColumn + c.days + 6) / 7, c.rows);
  }
}

// A preset ends today; "Month" starts on the day after the same day of the month before.
TEST(StatisticPeriodTest, Presets) {
  struct C {
    const char* what;
    PeriodPreset preset;
    QDate today, from;
  } cases[] = {
      {"day", PeriodPreset::Day, {2024, 3, 15}, {2024, 3, 15}},
      {"week", PeriodPreset::Week, {2024, 3, 15}, {2024, 3, 9}},
      {"two weeks", PeriodPreset::TwoWeeks, {2024, 3, 15}, {2024, 3, 2}},
      {"31 March: no 31 February", PeriodPreset::Month, {2025, 3, 31}, {2025, 3, 2}},
      {"15 March, leap year", PeriodPreset::Month, {2024, 3, 15}, {2024, 2, 16}},
      {"15 March, other year", PeriodPreset::Month, {2023, 3, 15}, {2023, 2, 16}},
      {"15 January", PeriodPreset::Month, {2024, 1, 15}, {2023, 12, 16}},
      {"31 May: no 31 April", PeriodPreset::Month, {2024, 5, 31}, {2024, 5, 2}},
      {"30 March: no 30 February", PeriodPreset::Month, {2024, 3, 30}, {2024, 3, 1}},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    StatisticModel model(QString{});
    int changes = 0;
    model.SetHooks({.periodChanged = [&] { ++changes; }});
    model.mnMonthClick(c.preset, c.today);
    EXPECT_EQ(model.dateTo(), c.today);
    EXPECT_EQ(model.dateFrom(), c.from);
    EXPECT_EQ(model.checkedPreset(), c.preset);
    EXPECT_FALSE(model.Busy());
    EXPECT_GE(changes, 1);
  }
}

// While the window is busy, neither a preset nor a date change does anything.
TEST(StatisticPeriodTest, BusyIgnoresPresetsAndDateChanges) {
  StatisticModel model(QString{});
  model.SetDates({2024, 3, 1}, {2024, 3, 3});
  int repaints = 0;
  model.SetHooks({.repaintTable = [&] { ++repaints; }});
  model.mnMonthClick(PeriodPreset::Week, {2024, 3, 15});
  model.SetBusy(true);
  model.mnMonthClick(PeriodPreset::Day, {2024, 4, 1});
  EXPECT_EQ(model.dateFrom(), QDate(2024, 3, 9));
  EXPECT_EQ(model.checkedPreset(), PeriodPreset::Week);
  model.dateToChange();
  EXPECT_EQ(model.checkedPreset(), PeriodPreset::Week);
  EXPECT_EQ(repaints, 1);
  model.SetBusy(false);
  model.dateToChange();
  EXPECT_EQ(model.checkedPreset(), PeriodPreset::None);
  EXPECT_EQ(repaints, 2);
}

}  // namespace
