// horalog-report: the statistics window's figures on the command line.
#include "ReportCommand.h"
#include "core/DataFolder.h"
#include "core/Error.h"
#include "core/FormatSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>
#include <cstdio>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Brannoc"));
  QCoreApplication::setApplicationName(QStringLiteral("Horalog"));
  core::FormatSettings::SetCurrent(core::FormatSettings::FromSystemLocale());

  QTextStream out(stdout);
  QTextStream err(stderr);
  report::ReportOptions options;
  try {
    options = report::ParseArguments(app.arguments().mid(1), QDate::currentDate());
  } catch (const report::UsageError& e) {
    err << "horalog-report: " << e.message << "\nTry \"horalog-report --help\".\n";
    return 2;
  }
  if (options.help) {
    out << report::HelpText();
    return 0;
  }

  QString dataFolder = options.dataFolder;
  if (dataFolder.isEmpty()) {
    // The tracker's data folder: beside the programs, or the per-user one when that is not
    // writable.
    dataFolder = core::DataFolder(QCoreApplication::applicationDirPath());
  } else if (!QFileInfo(dataFolder).isDir()) {
    err << "horalog-report: --data: \"" << dataFolder << "\" is no folder\n";
    return 2;
  }

  try {
    report::RunReport(options, dataFolder, out, err, isatty(fileno(stderr)) != 0);
  } catch (const core::Error& e) {
    out.flush();
    err << "horalog-report: " << e.message() << '\n';
    return 1;
  }
  return 0;
}
