#include "core/FormatSettings.h"

#include <QLocale>

#include <mutex>

namespace core {

namespace {

FormatSettings& Storage() {
  static FormatSettings settings = FormatSettings::FromSystemLocale();
  return settings;
}

QString Pad(int value, int width) { return QString::number(value).rightJustified(width, u'0'); }

bool IsLetter(QChar c, char16_t lower) { return c.toLower() == QChar(lower); }

// Number of times `c` (any case) repeats from `pos` on.
int RunLength(const QString& s, qsizetype pos, char16_t lower) {
  int n = 0;
  while (pos + n < s.size() && IsLetter(s[pos + n], lower)) ++n;
  return n;
}

bool StartsWithCi(const QString& s, qsizetype pos, QStringView word) {
  return s.mid(pos, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// Qt's locale formats use other letters than ours; translate them, pulling the separator
// out into `separator` (the first non-letter between two fields).
QString FromQtFormat(const QString& qt, QChar& separator, bool isDate) {
  QString out;
  bool separatorFound = false;
  for (qsizetype i = 0; i < qt.size();) {
    const QChar c = qt[i];
    if (c == u'\'') {
      const qsizetype end = qt.indexOf(u'\'', i + 1);
      const QString literal = qt.mid(i, end < 0 ? -1 : end - i + 1);
      out += literal == QStringLiteral("''") ? QStringLiteral("\"'\"") : literal;
      i = end < 0 ? qt.size() : end + 1;
      continue;
    }
    qsizetype n = 1;
    while (i + n < qt.size() && qt[i + n] == c) ++n;
    const QString run = qt.mid(i, n);
    if (c == u'd' || c == u'y' || c == u's' || c == u'z') {
      out += run;
    } else if (c == u'M' || c == u'L') {
      out += QString(n, u'm');
    } else if (c == u'h' || c == u'H') {
      out += QString(n, u'h');
    } else if (c == u'm') {
      out += QString(n, u'n');
    } else if (c == u'A' || c == u'a') {
      out += QStringLiteral("ampm");
      if (i + 1 < qt.size() && (qt[i + 1] == u'P' || qt[i + 1] == u'p')) ++n;
    } else if (c == u't') {
      // time zones have no letter of ours; drop them with the blank before
      if (out.endsWith(u' ')) out.chop(1);
    } else if (c.isLetter()) {
      out += run;
    } else if (!c.isSpace() && c != u',' && !separatorFound) {
      separatorFound = true;
      separator = c;
      out += QString(n, isDate ? u'/' : u':');
    } else if (separatorFound && c == separator) {
      out += QString(n, isDate ? u'/' : u':');
    } else {
      out += run;
    }
    i += n;
  }
  return out;
}

}  // namespace

FormatSettings FormatSettings::Defaults() {
  FormatSettings s;
  const QLocale c = QLocale::c();
  for (int m = 0; m < 12; ++m) {
    s.shortMonthNames[m] = c.monthName(m + 1, QLocale::ShortFormat);
    s.longMonthNames[m] = c.monthName(m + 1, QLocale::LongFormat);
  }
  for (int d = 0; d < 7; ++d) {
    const int qtDay = d == 0 ? 7 : d;  // Qt counts Monday = 1 ... Sunday = 7
    s.shortDayNames[d] = c.dayName(qtDay, QLocale::ShortFormat);
    s.longDayNames[d] = c.dayName(qtDay, QLocale::LongFormat);
  }
  s.eraNames[0] = QStringLiteral("AD");
  return s;
}

FormatSettings FormatSettings::FromSystemLocale() {
  FormatSettings s = Defaults();
  const QLocale loc = QLocale::system();
  if (loc.language() == QLocale::C) return s;
  s.currencyString = loc.currencySymbol();
  s.thousandSeparator = loc.groupSeparator().isEmpty() ? QChar(u',') : loc.groupSeparator()[0];
  s.decimalSeparator = loc.decimalPoint().isEmpty() ? QChar(u'.') : loc.decimalPoint()[0];
  s.shortDateFormat = FromQtFormat(loc.dateFormat(QLocale::ShortFormat), s.dateSeparator, true);
  QChar unusedSeparator = s.dateSeparator;
  s.longDateFormat = FromQtFormat(loc.dateFormat(QLocale::LongFormat), unusedSeparator, true);
  s.longTimeFormat = FromQtFormat(loc.timeFormat(QLocale::LongFormat), s.timeSeparator, false);
  QChar shortTimeSeparator = s.timeSeparator;
  s.shortTimeFormat = FromQtFormat(loc.timeFormat(QLocale::ShortFormat), shortTimeSeparator, false);
  s.timeAMString = loc.amText();
  s.timePMString = loc.pmText();
  for (int m = 0; m < 12; ++m) {
    s.shortMonthNames[m] = loc.monthName(m + 1, QLocale::ShortFormat);
    s.longMonthNames[m] = loc.monthName(m + 1, QLocale::LongFormat);
  }
  for (int d = 0; d < 7; ++d) {
    const int qtDay = d == 0 ? 7 : d;
    s.shortDayNames[d] = loc.dayName(qtDay, QLocale::ShortFormat);
    s.longDayNames[d] = loc.dayName(qtDay, QLocale::LongFormat);
  }
  return s;
}

const FormatSettings& FormatSettings::Current() { return Storage(); }

void FormatSettings::SetCurrent(const FormatSettings& settings) { Storage() = settings; }

QString FormatSettings::FormatDateTime(const QString& format, const QDateTime& value) const {
  const QDate date = value.date();
  const QTime time = value.time();
  QString out;
  bool lastWasHour = false;
  // am/pm anywhere in the format switches hours to the 12-hour clock
  const bool twelveHour = format.contains(QStringLiteral("am/pm"), Qt::CaseInsensitive) ||
                          format.contains(QStringLiteral("a/p"), Qt::CaseInsensitive) ||
                          format.contains(QStringLiteral("ampm"), Qt::CaseInsensitive);
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    const char16_t l = c.toLower().unicode();
    if (c == u'\'' || c == u'"') {
      const qsizetype end = format.indexOf(c, i + 1);
      out += format.mid(i + 1, end < 0 ? -1 : end - i - 1);
      i = end < 0 ? format.size() : end + 1;
      continue;
    }
    if (c == u'/') {
      out += dateSeparator;
      ++i;
      continue;
    }
    if (c == u':') {
      out += timeSeparator;
      ++i;
      continue;
    }
    if (l == u'a') {
      const bool pm = time.hour() >= 12;
      if (StartsWithCi(format, i, u"am/pm")) {
        out += pm ? QStringLiteral("pm") : QStringLiteral("am");
        if (format[i].isUpper()) out = out.left(out.size() - 2) + out.right(2).toUpper();
        i += 5;
      } else if (StartsWithCi(format, i, u"a/p")) {
        out += format[i].isUpper() ? QString(pm ? u'P' : u'A') : QString(pm ? u'p' : u'a');
        i += 3;
      } else if (StartsWithCi(format, i, u"ampm")) {
        out += pm ? timePMString : timeAMString;
        i += 4;
      } else {
        out += c;
        ++i;
      }
      continue;
    }
    const int n = RunLength(format, i, l);
    switch (l) {
      case u'c':
        out += FormatDateTime(shortDateFormat, value);
        if (time != QTime(0, 0)) out += u' ' + FormatDateTime(longTimeFormat, value);
        i += 1;
        continue;
      case u'd':
        if (n >= 6)
          out += FormatDateTime(longDateFormat, value);
        else if (n == 5)
          out += FormatDateTime(shortDateFormat, value);
        else if (n == 4)
          out += longDayNames[date.dayOfWeek() % 7];
        else if (n == 3)
          out += shortDayNames[date.dayOfWeek() % 7];
        else
          out += n == 2 ? Pad(date.day(), 2) : QString::number(date.day());
        i += n > 6 ? 6 : n;
        lastWasHour = false;
        continue;
      case u'm': {
        const int used = n > 4 ? 4 : n;
        if (lastWasHour && used <= 2) {
          out += used == 2 ? Pad(time.minute(), 2) : QString::number(time.minute());
        } else if (used == 4) {
          out += longMonthNames[date.month() - 1];
        } else if (used == 3) {
          out += shortMonthNames[date.month() - 1];
        } else {
          out += used == 2 ? Pad(date.month(), 2) : QString::number(date.month());
        }
        i += used;
        lastWasHour = false;
        continue;
      }
      case u'y':
        out += n <= 2 ? Pad(date.year() % 100, 2) : Pad(date.year(), 4);
        i += n;
        continue;
      case u'h': {
        int hour = time.hour();
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        const int used = n > 2 ? 2 : n;
        out += used == 2 ? Pad(hour, 2) : QString::number(hour);
        i += used;
        lastWasHour = true;
        continue;
      }
      case u'n': {
        const int used = n > 2 ? 2 : n;
        out += used == 2 ? Pad(time.minute(), 2) : QString::number(time.minute());
        i += used;
        lastWasHour = false;
        continue;
      }
      case u's': {
        const int used = n > 2 ? 2 : n;
        out += used == 2 ? Pad(time.second(), 2) : QString::number(time.second());
        i += used;
        continue;
      }
      case u'z': {
        const int used = n >= 3 ? 3 : 1;
        out += used == 3 ? Pad(time.msec(), 3) : QString::number(time.msec());
        i += used;
        continue;
      }
      case u't':
        out += FormatDateTime(n >= 2 ? longTimeFormat : shortTimeFormat, value);
        i += n >= 2 ? 2 : 1;
        continue;
      default:
        out += c;
        ++i;
    }
  }
  return out;
}

QString FormatSettings::FormatDate(const QDate& date, bool longForm) const {
  return FormatDateTime(longForm ? longDateFormat : shortDateFormat, QDateTime(date, QTime(0, 0)));
}

QString FormatSettings::FormatTime(const QTime& time, bool longForm) const {
  return FormatDateTime(longForm ? longTimeFormat : shortTimeFormat,
                        QDateTime(QDate(2000, 1, 1), time));
}

std::optional<QDate> FormatSettings::ParseDate(const QString& text, const QDate& today) const {
  // The order of day, month and year follows the short date format.
  QString order;
  for (QChar c : shortDateFormat) {
    const QChar l = c.toLower();
    if ((l == u'd' || l == u'm' || l == u'y') && !order.contains(l)) order += l;
  }
  if (order.size() != 3) order = QStringLiteral("dmy");
  const QStringList parts = text.trimmed().split(dateSeparator, Qt::SkipEmptyParts);
  if (parts.size() != 3 && parts.size() != 2) return std::nullopt;
  int day = 0, month = 0, year = today.year();
  bool yearGiven = false;
  qsizetype part = 0;
  for (QChar field : order) {
    if (parts.size() == 2 && field == u'y') continue;
    bool ok = false;
    const int v = parts[part].trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    if (field == u'd')
      day = v;
    else if (field == u'm')
      month = v;
    else {
      year = v;
      yearGiven = parts[part].trimmed().size() <= 2;
    }
    ++part;
  }
  if (yearGiven) {
    // Two-digit years land in the hundred years that end `window` years after today.
    const int pivot = today.year() - twoDigitYearCenturyWindow;
    int century = pivot / 100 * 100;
    year += century;
    if (twoDigitYearCenturyWindow > 0 && year < pivot) year += 100;
  }
  const QDate date(year, month, day);
  if (!date.isValid()) return std::nullopt;
  return date;
}

std::optional<QTime> FormatSettings::ParseTime(const QString& text) const {
  QString t = text.trimmed();
  int add = -1;  // -1: 24-hour clock, 0: am, 12: pm
  auto cut = [&](const QString& designator, int offset) {
    if (!designator.isEmpty() && t.endsWith(designator, Qt::CaseInsensitive)) {
      t.chop(designator.size());
      t = t.trimmed();
      add = offset;
      return true;
    }
    return false;
  };
  if (!cut(timePMString, 12) && !cut(timeAMString, 0) && !cut(QStringLiteral("PM"), 12))
    cut(QStringLiteral("AM"), 0);
  const QStringList parts = t.split(timeSeparator);
  if (parts.isEmpty() || parts.size() > 3) return std::nullopt;
  int v[3] = {0, 0, 0};
  for (qsizetype i = 0; i < parts.size(); ++i) {
    bool ok = false;
    v[i] = parts[i].trimmed().toInt(&ok);
    if (!ok || v[i] < 0) return std::nullopt;
  }
  if (add >= 0) {
    if (v[0] < 1 || v[0] > 12) return std::nullopt;
    v[0] = v[0] % 12 + add;
  }
  if (v[0] > 23 || v[1] > 59 || v[2] > 59) return std::nullopt;
  return QTime(v[0], v[1], v[2]);
}

}  // namespace core
