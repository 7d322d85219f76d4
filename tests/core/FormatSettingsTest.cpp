#include "core/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

using core::FormatSettings;

// Format letters of the classic kind, with "/" and ":" standing for the current separators.
TEST(FormatSettingsTest, FormatsDateTimes) {
  FormatSettings s = FormatSettings::Defaults();
  s.dateSeparator = u'.';
  s.timeSeparator = u'-';
  const QDateTime t(QDate(2001, 3, 7), QTime(14, 5, 9, 42));
  struct C {
    const char* format;
    const char* expected;
  } cases[] = {
      {"dd/mm/yyyy", "07.03.2001"},
      {"d/m/yy", "7.3.01"},
      {"hh:nn:ss", "14-05-09"},
      {"h:mm", "14-05"},  // "m" right after an hour is the minutes
      {"ddd dddd", "Wed Wednesday"},
      {"mmm mmmm", "Mar March"},
      {"hh:nn am/pm", "02-05 pm"},
      {"h:nn ampm", "2-05 PM"},
      {"zzz", "042"},
      {"'dd' \"mm\" dd", "dd mm 07"},
      {"ddddd", "07.03.2001"},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(s.FormatDateTime(QString::fromLatin1(c.format), t), QString::fromLatin1(c.expected));
  }
}

// Dates are read in the order of the short date format; two-digit years fall in the window.
TEST(FormatSettingsTest, ParsesDatesInShortFormatOrder) {
  FormatSettings s = FormatSettings::Defaults();
  const QDate today(2026, 12, 11);
  s.shortDateFormat = QStringLiteral("mm/dd/yyyy");
  EXPECT_EQ(s.ParseDate(QStringLiteral("3/7/2001"), today), QDate(2001, 3, 7));
  s.shortDateFormat = QStringLiteral("yyyy/mm/dd");
  s.dateSeparator = u'-';
  EXPECT_EQ(s.ParseDate(QStringLiteral("2001-03-07"), today), QDate(2001, 3, 7));
  s.shortDateFormat = QStringLiteral("dd/mm/yy");
  s.dateSeparator = u'/';
  EXPECT_EQ(s.ParseDate(QStringLiteral("7/3/01"), today), QDate(2001, 3, 7));
  EXPECT_EQ(s.ParseDate(QStringLiteral("7/3/99"), today), QDate(1999, 3, 7));
  EXPECT_EQ(s.ParseDate(QStringLiteral("7/3"), today), QDate(2026, 3, 7));
  EXPECT_FALSE(s.ParseDate(QStringLiteral("31/2/2001"), today));
  EXPECT_FALSE(s.ParseDate(QStringLiteral("x/2/2001"), today));
}

TEST(FormatSettingsTest, ParsesTimesOfDay) {
  FormatSettings s = FormatSettings::Defaults();
  EXPECT_EQ(s.ParseTime(QStringLiteral("14:05")), QTime(14, 5));
  EXPECT_EQ(s.ParseTime(QStringLiteral("2:05:09 PM")), QTime(14, 5, 9));
  EXPECT_EQ(s.ParseTime(QStringLiteral("12:00 AM")), QTime(0, 0));
  EXPECT_FALSE(s.ParseTime(QStringLiteral("24:00")));
  EXPECT_FALSE(s.ParseTime(QStringLiteral("13:00 PM")));
  s.timeSeparator = u'.';
  EXPECT_EQ(s.ParseTime(QStringLiteral("08.30")), QTime(8, 30));
}

// The system's formats arrive in our letters, with their separators pulled out.
TEST(FormatSettingsTest, TakesSystemLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const FormatSettings s = FormatSettings::FromSystemLocale();
  // The system locale of the test run is C; whatever it is, the formats must round-trip.
  const QDate d(2001, 3, 7);
  EXPECT_EQ(s.ParseDate(s.FormatDate(d), QDate(2026, 1, 1)), d);
  EXPECT_EQ(s.ParseTime(s.FormatTime(QTime(9, 8, 7))), QTime(9, 8, 7));
  EXPECT_EQ(s.longMonthNames[0].isEmpty(), false);
  QLocale::setDefault(QLocale::c());
}

}  // namespace
