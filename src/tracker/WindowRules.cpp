#include "tracker/WindowRules.h"

#include "platform/Desktop.h"

#include <QDir>
#include <QSettings>

namespace tracker {

namespace {
// The classic "height of a maximised window": the bottom of the available area.
int MaximisedBottom(const QRect& available) { return available.y() + available.height(); }
}  // namespace

QPoint InitialWindowPosition(const QSize& window, const QRect& screen, const QRect& available) {
  return {screen.x() + screen.width() - window.width(),
          MaximisedBottom(available) - window.height() - 8};
}

QPoint SnapDragPosition(const QPoint& proposed, const QSize& window, const QRect& screen,
                        const QRect& available) {
  int left = proposed.x();
  int top = proposed.y();
  const int right = screen.x() + screen.width() - window.width();
  const int bottom = MaximisedBottom(available) - window.height();
  if (left < screen.x() + 10) left = screen.x();
  if (left > right - 10) left = right;
  if (top < screen.y() + 10) top = screen.y();
  if (top > bottom - 18) top = bottom - 8;
  return {left, top};
}

QString QuickDemoFileName() { return platform::ProgramFileName(QStringLiteral("hg2demo")); }

QString QuickDemoPath(const QString& programFolder) {
  return QDir(programFolder).filePath(QuickDemoFileName());
}

bool CheckFirstRun(QSettings& settings, platform::Desktop& desktop, const QString& programFolder) {
  if (settings.value(QStringLiteral("Version")).toString() == QStringLiteral("2.0")) return false;
  // A missing demo is no reason to offer it again at every start.
  desktop.ShellOpen(QuickDemoPath(programFolder));
  settings.setValue(QStringLiteral("Version"), QStringLiteral("2.0"));
  settings.sync();
  return true;
}

}  // namespace tracker
