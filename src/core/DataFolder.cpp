#include "core/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace core {

QString DataFolder(const QString& programFolder) {
  // Writability is tried, not read off the permission bits: a read-only mount or an ACL tells
  // the truth only when a file is made.
  QTemporaryFile probe(QDir(programFolder).filePath(QStringLiteral(".horalog-XXXXXX")));
  if (probe.open()) return QDir(programFolder).absolutePath();
  const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(fallback);
  return fallback;
}

}  // namespace core
