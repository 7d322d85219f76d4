#include "core/DataFolder.h"
#include "core/FormatSettings.h"
#include "options/OptionSettings.h"
#include "platform/Desktop.h"
#include "tracker/SingleInstance.h"
#include "tracker/TformHoralog.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Brannoc"));
  QCoreApplication::setApplicationName(QStringLiteral("Horalog"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Horalog starting"));
  // The tray keeps the program alive while its only window is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  core::FormatSettings::SetCurrent(core::FormatSettings::FromSystemLocale());

  const QString programFolder = QCoreApplication::applicationDirPath();
  const QString dataFolder = core::DataFolder(programFolder);

  tracker::SingleInstance instance(dataFolder);
  if (!instance.Acquire()) return 0;

  core::SystemClock clock;
  const auto desktop = platform::CreateDesktop();
  options::OptionSettings options;
  tracker::TformHoralog formHoralog(*desktop, clock, options, programFolder, dataFolder);
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Horalog 2.0"));
  QObject::connect(&instance, &tracker::SingleInstance::showRequested, &formHoralog,
                   &tracker::TformHoralog::mnRestoreClick);
  formHoralog.show();
  return app.exec();
}
