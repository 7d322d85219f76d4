#include "statistics/WeekTableCells.h"

namespace statistics {

namespace {

// The table's cells are never longer; the limit keeps a damaged text from running on.
constexpr qsizetype kMaxPart = 100;

}  // namespace

DayMark DayLabelMark(const QString& time1, int mark2Hours, int mark3Hours) {
  DayMark mark = time1.isEmpty() ? DayMark::NotWorked : DayMark::Plain;
  int hours = 0;
  const qsizetype colon = time1.indexOf(u':');
  if (colon >= 0) {
    bool ok = false;
    hours = QStringView(time1).left(colon).trimmed().toInt(&ok);
    if (!ok) hours = 0;
  }
  if (hours >= mark2Hours) mark = DayMark::Mark2;
  if (hours >= mark3Hours) mark = DayMark::Mark3;
  return mark;
}

bool WeekendColumn(int column, WeekStyle style) {
  if (style == WeekStyle::SundayToSaturday) return column == 0 || column == 6;
  return column == 5 || column == 6;
}

DayCellTexts SplitDayCell(const QString& cell) {
  DayCellTexts texts;
  const qsizetype first = cell.indexOf(u'\t');
  if (first < 0) {
    texts.label = cell;
    return texts;
  }
  texts.label = cell.left(first);
  const QString rest = cell.mid(first + 1, kMaxPart);
  const qsizetype second = rest.indexOf(u'\t');
  if (second < 0) {
    texts.time1 = rest;
    return texts;
  }
  texts.time1 = rest.left(second);
  texts.time2 = rest.mid(second + 1, kMaxPart);
  return texts;
}

WeekCellTexts SplitWeekCell(const QString& cell) {
  WeekCellTexts texts;
  const qsizetype tab = cell.indexOf(u'\t');
  if (tab < 0) {
    texts.week1 = cell;
    return texts;
  }
  texts.week1 = cell.left(tab);
  texts.week2 = cell.mid(tab + 1, kMaxPart);
  return texts;
}

QString DayCellAccessibleText(const QString& cell, bool compare) {
  const DayCellTexts t = SplitDayCell(cell);
  if (t.label.isEmpty()) return QStringLiteral("outside the period");
  QString text =
      t.label + QStringLiteral(": ") + (t.time1.isEmpty() ? QStringLiteral("not worked") : t.time1);
  if (compare)
    text += QStringLiteral(", compared ") +
            (t.time2.isEmpty() ? QStringLiteral("not worked") : t.time2);
  return text;
}

QString WeekCellAccessibleText(const QString& cell, bool compare) {
  const WeekCellTexts t = SplitWeekCell(cell);
  QString text = QStringLiteral("Week: ") + (t.week1.isEmpty() ? QStringLiteral("00:00") : t.week1);
  if (compare)
    text += QStringLiteral(", compared ") + (t.week2.isEmpty() ? QStringLiteral("00:00") : t.week2);
  return text;
}

}  // namespace statistics
