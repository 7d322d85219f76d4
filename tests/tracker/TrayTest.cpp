#include "WindowFixture.h"

#include <QElapsedTimer>
#include <QProcess>

namespace {

// A tray of a real X server: one trayer for all tests of this program, so that the tray
// never goes away between two of them.
class TrayTest : public WindowFixture {
 protected:
  static void SetUpTestSuite() {
    tray_ = new QProcess;
    tray_->start(QStringLiteral("trayer"),
                 {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                  QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                  QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--heighttype"),
                  QStringLiteral("pixel"), QStringLiteral("--height"), QStringLiteral("32")});
    tray_->waitForStarted(5000);
  }
  static void TearDownTestSuite() {
    tray_->kill();
    tray_->waitForFinished();
    delete tray_;
  }
  void SetUp() override {
    WindowFixture::SetUp();
    QElapsedTimer t;
    t.start();
    while (!QSystemTrayIcon::isSystemTrayAvailable() && t.elapsed() < 10000) QTest::qWait(100);
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
  }
  static QProcess* tray_;
};

QProcess* TrayTest::tray_ = nullptr;

// A double click on the tray icon runs the default item: it hides the shown window and
// restores the hidden one.
TEST_F(TrayTest, DoubleClickTogglesHideAndRestore) {
  auto& w = Start();
  ASSERT_TRUE(w.isVisible());
  emit w.trayIcon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.popMainMenu->defaultAction(), w.mnRestore);
  emit w.trayIcon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.popMainMenu->defaultAction(), w.mnHide);
  emit w.trayIcon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(w.isVisible());
}

// Hiding stores the placement, and the window comes back where it was.
TEST_F(TrayTest, HideStoresPlacement) {
  auto& w = Start();
  w.move(200, 150);
  w.mnHideClick();
  ASSERT_FALSE(w.isVisible());
  EXPECT_EQ(core::FormStorage::OpenSettings()->value(QStringLiteral("Options/NormPos")).toString(),
            QStringLiteral("200,150,332,228"));
  w.move(10, 10);
  w.mnRestoreClick();
  QTest::qWait(200);
  EXPECT_EQ(w.pos(), QPoint(200, 150));
}

}  // namespace
