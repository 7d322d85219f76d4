#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <array>
#include <optional>

namespace core {

// The process-wide regional formats. They start as the system locale's and are replaced
// whole by a language file's regional block, so every date, time and number text of the
// program goes through one set of values. Format strings use the classic letters
// ("dd/mm/yyyy", "hh:nn:ss"), where "/" and ":" stand for the current separators.
struct FormatSettings {
  QString currencyString;
  quint8 currencyFormat = 0;
  quint8 negCurrFormat = 0;
  QChar thousandSeparator = u',';
  QChar decimalSeparator = u'.';
  quint8 currencyDecimals = 2;
  QChar dateSeparator = u'/';
  QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
  QString longDateFormat = QStringLiteral("dddd, d mmmm yyyy");
  QChar timeSeparator = u':';
  QString timeAMString = QStringLiteral("AM");
  QString timePMString = QStringLiteral("PM");
  QString shortTimeFormat = QStringLiteral("hh:nn");
  QString longTimeFormat = QStringLiteral("hh:nn:ss");
  std::array<QString, 12> shortMonthNames;
  std::array<QString, 12> longMonthNames;
  std::array<QString, 7> shortDayNames;  // Sunday first
  std::array<QString, 7> longDayNames;   // Sunday first
  std::array<QString, 7> eraNames;
  std::array<qint32, 7> eraYearOffsets{};
  quint16 twoDigitYearCenturyWindow = 50;
  QChar listSeparator = u',';

  // English names and ISO-like formats: what a test can rely on in any environment.
  static FormatSettings Defaults();
  // The system locale's formats, translated into the classic format letters.
  static FormatSettings FromSystemLocale();

  // The current settings of the process. SetCurrent replaces them whole.
  static const FormatSettings& Current();
  static void SetCurrent(const FormatSettings& settings);

  // Formatting with classic format letters: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes
  // right after h or hh), yy yyyy, h hh, n nn, s ss, z zzz, t tt, am/pm a/p ampm, c, "/" ":",
  // and literal text in single or double quotes.
  QString FormatDateTime(const QString& format, const QDateTime& value) const;
  QString FormatDate(const QDate& date, bool longForm = false) const;
  QString FormatTime(const QTime& time, bool longForm = true) const;

  // Parsing in the order of the short date format with the date separator; a two-digit year
  // is placed by the century window relative to `today`'s year.
  std::optional<QDate> ParseDate(const QString& text, const QDate& today) const;
  // Time of day: H<sep>M[<sep>S] with an optional AM/PM designator.
  std::optional<QTime> ParseTime(const QString& text) const;
};

}  // namespace core
