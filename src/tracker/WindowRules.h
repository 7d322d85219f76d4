#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QSettings;
namespace platform {
class Desktop;
}

namespace tracker {

// Where the main window first sits: flush right, its bottom 8 pixels above the bottom of the
// screen's available area (above the task bar).
QPoint InitialWindowPosition(const QSize& window, const QRect& screen, const QRect& available);

// A header drag moves the window by the mouse's way; within 10 pixels of the left or top edge
// it snaps to 0, past the right edge minus 10 flush right, and below the available bottom
// minus 18 back to 8 pixels above it.
QPoint SnapDragPosition(const QPoint& proposed, const QSize& window, const QRect& screen,
                        const QRect& available);

// The quick demo is offered once per version: unless "Version" is "2.0", it is started from
// the program's folder and "Version" is written. Returns whether the demo was started.
bool CheckFirstRun(QSettings& settings, platform::Desktop& desktop, const QString& programFolder);

// The quick demo program beside the tracker.
QString QuickDemoPath(const QString& programFolder);
QString QuickDemoFileName();

}  // namespace tracker
