#include "platform/fake/FakeDesktop.h"
#include "tracker/WindowRules.h"

#include <gtest/gtest.h>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QRect kScreen(0, 0, 1280, 800);
const QRect kAvailable(0, 0, 1280, 770);  // a task bar of 30 at the bottom
const QSize kWindow(132, 78);

// The window starts flush right, 8 pixels above the task bar.
TEST(WindowRulesTest, InitialPosition) {
  EXPECT_EQ(tracker::InitialWindowPosition(kWindow, kScreen, kAvailable), QPoint(1148, 684));
}

// Dragging near an edge snaps the window onto it.
TEST(WindowRulesTest, DragSnapsAtTheFourEdges) {
  struct C {
    const char* what;
    QPoint proposed;
    QPoint expected;
  } cases[] = {
      {"9 from the left", {9, 300}, {0, 300}},
      {"10 from the left stays", {10, 300}, {10, 300}},
      {"beyond the left edge", {-40, 300}, {0, 300}},
      {"9 from the top", {500, 9}, {500, 0}},
      {"near the right edge", {1139, 300}, {1148, 300}},
      {"exactly 10 from the right stays", {1138, 300}, {1138, 300}},
      {"below the bottom mark", {500, 675}, {500, 684}},
      {"at the bottom mark stays", {500, 674}, {500, 674}},
      {"into a corner", {1200, 760}, {1148, 684}},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(tracker::SnapDragPosition(c.proposed, kWindow, kScreen, kAvailable), c.expected);
  }
}

// The demo is offered once: the first check starts it and writes the version, later ones not;
// a missing demo still records the version.
TEST(WindowRulesTest, FirstRunStartsDemoOnce) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
  platform::FakeDesktop desktop;
  desktop.openResult = platform::Desktop::OpenResult::NotFound;
  EXPECT_TRUE(tracker::CheckFirstRun(settings, desktop, QStringLiteral("/opt/horalog")));
  EXPECT_EQ(settings.value(QStringLiteral("Version")).toString(), QStringLiteral("2.0"));
  EXPECT_FALSE(tracker::CheckFirstRun(settings, desktop, QStringLiteral("/opt/horalog")));
  EXPECT_EQ(desktop.opened, QStringList{QStringLiteral("/opt/horalog/hg2demo")});
  settings.setValue(QStringLiteral("Version"), QStringLiteral("1.5"));
  EXPECT_TRUE(tracker::CheckFirstRun(settings, desktop, QStringLiteral("/opt/horalog")));
}

}  // namespace
