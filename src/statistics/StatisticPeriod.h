#pragma once

#include <QDate>

namespace statistics {

// rbEuro rows run Monday to Sunday (the default), rbAmer rows Sunday to Saturday.
enum class WeekStyle { MondayToSunday, SundayToSaturday };

// The four items of the period menu; None when the period was chosen by hand.
enum class PeriodPreset { None, Day, Week, TwoWeeks, Month };

// Days of the period, both ends included, at least 1.
int GetPeriodDays(const QDate& dateFrom, const QDate& dateTo);

// Column 0..6 of a day in its week row.
int WeekColumn(const QDate& day, WeekStyle style);

// The number of days a preset spans when it ends on `today`. "Month" starts on the day after
// the same day of the previous month; when that day does not exist, or the span is not 28 to
// 31 days, it is 30 days.
int PresetLength(PeriodPreset preset, const QDate& today);

}  // namespace statistics
