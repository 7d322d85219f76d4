#pragma once

#include "statistics/StatisticPeriod.h"

#include <QString>

namespace statistics {

// The colour a day label takes: the window's text colour, or one of the three day marks.
enum class DayMark { Plain, NotWorked, Mark2, Mark3 };

// TIME1 empty is "not worked"; otherwise the hours before the first ":" reach the second
// and then the third threshold, the later rule winning.
DayMark DayLabelMark(const QString& time1, int mark2Hours, int mark3Hours);

// Saturday and Sunday in the header row.
bool WeekendColumn(int column, WeekStyle style);

// A cell of the week table split into its texts; an empty cell gives empty texts.
struct DayCellTexts {
  QString label, time1, time2;
};
DayCellTexts SplitDayCell(const QString& cell);

struct WeekCellTexts {
  QString week1, week2;
};
WeekCellTexts SplitWeekCell(const QString& cell);

// What a screen reader says for a cell of the week table.
QString DayCellAccessibleText(const QString& cell, bool compare);
QString WeekCellAccessibleText(const QString& cell, bool compare);

}  // namespace statistics
