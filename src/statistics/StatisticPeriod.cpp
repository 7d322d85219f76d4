#include "statistics/StatisticPeriod.h"

namespace statistics {

int GetPeriodDays(const QDate& dateFrom, const QDate& dateTo) {
  const qint64 days = dateFrom.daysTo(dateTo) + 1;
  return days < 1 ? 1 : int(days);
}

int WeekColumn(const QDate& day, WeekStyle style) {
  // QDate counts Monday 1 to Sunday 7.
  const int dayOfWeek = day.dayOfWeek();
  return style == WeekStyle::MondayToSunday ? dayOfWeek - 1 : dayOfWeek % 7;
}

int PresetLength(PeriodPreset preset, const QDate& today) {
  switch (preset) {
    case PeriodPreset::Day:
      return 1;
    case PeriodPreset::Week:
      return 7;
    case PeriodPreset::TwoWeeks:
      return 14;
    case PeriodPreset::Month: {
      const int year = today.month() == 1 ? today.year() - 1 : today.year();
      const int month = today.month() == 1 ? 12 : today.month() - 1;
      const QDate previous(year, month, today.day());
      if (!previous.isValid()) return 30;
      const qint64 n = previous.daysTo(today);
      return n < 28 || n > 31 ? 30 : int(n);
    }
    case PeriodPreset::None:
      break;
  }
  return 1;
}

}  // namespace statistics
