#include "tracker/HelpPages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tracker {

QString HelpFile(const QString& programFolder) {
  return QDir(programFolder).filePath(QStringLiteral("help/horalog.html"));
}

bool OpenHelp(const QString& programFolder, int context) {
  const QString file = HelpFile(programFolder);
  if (!QFileInfo::exists(file)) return false;
  QUrl url = QUrl::fromLocalFile(file);
  url.setFragment(QStringLiteral("context-%1").arg(context));
  return QDesktopServices::openUrl(url);
}

}  // namespace tracker
