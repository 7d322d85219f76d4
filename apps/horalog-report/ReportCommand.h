#pragma once

#include "statistics/StatisticPeriod.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace report {

// What the command line asked for.
struct ReportOptions {
  enum class Command { Users, Week, Detail };
  enum class Format { Text, Json, Csv };

  Command command = Command::Users;
  QString dataFolder;  // empty: the tracker's own data folder
  QString user;
  QDate from, to;
  std::optional<statistics::PeriodPreset> period;
  QDate until;
  QString task = QStringLiteral("total");
  QString compare = QStringLiteral("none");
  statistics::WeekStyle weekStyle = statistics::WeekStyle::MondayToSunday;
  Format format = Format::Text;
  bool help = false;
};

// Bad input on the command line; its text says what is wrong.
struct UsageError {
  QString message;
};

// Throws UsageError. `today` stands in for a missing --until.
ReportOptions ParseArguments(const QStringList& arguments, const QDate& today);

QString HelpText();

// Prints the report of `options` for the store and catalogue in `dataFolder`. Throws
// core::Error when a file exists but cannot be read, when the store holds no day of the user
// and when a task key names no group and no task.
void RunReport(const ReportOptions& options, const QString& dataFolder, QTextStream& out,
               QTextStream& err, bool showProgress);

}  // namespace report
