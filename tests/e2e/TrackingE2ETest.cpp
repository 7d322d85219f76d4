// The counting model with the real Linux desktop, against a real X server: windows of small
// helper programs are put in front by setting _NET_ACTIVE_WINDOW on the root window.
#include "core/Durations.h"
#include "core/FormatSettings.h"
#include "core/ProfileFile.h"
#include "platform/Desktop.h"
#include "tracker/ActiveTask.h"
#include "tracker/CountingModel.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Puts a window in front the way a window manager would announce it.
void SetActiveWindow(uint32_t window) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  ASSERT_FALSE(xcb_connection_has_error(c));
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const char* name = "_NET_ACTIVE_WINDOW";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, screen->root, atom->atom, XCB_ATOM_WINDOW, 32, 1,
                      &window);
  std::free(atom);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // a round trip
  xcb_disconnect(c);
}

// A helper program copied to `path`, started, with its window id.
struct Helper {
  std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
  uint32_t window = 0;
  QString path;

  Helper(const QString& at, const QString& title) : path(at) {
    QDir().mkpath(QFileInfo(at).path());
    QFile::remove(at);
    EXPECT_TRUE(
        QFile::copy(qEnvironmentVariable("HORALOG_BIN") + QStringLiteral("/e2e_xhelper"), at));
    QFile::setPermissions(at, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    process->start(at, {title});
    EXPECT_TRUE(process->waitForStarted(5000));
    EXPECT_TRUE(process->waitForReadyRead(5000));
    window = process->readLine().trimmed().toUInt();
  }
  ~Helper() {
    process->kill();
    process->waitForFinished(2000);
  }
  bool Running() const { return process->state() == QProcess::Running; }
};

class TrackingE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    core::FormatSettings::SetCurrent(core::FormatSettings::Defaults());
    ASSERT_TRUE(desktop_->CanSpy()) << "no X display";
    model_.SetStorePath(dir_.filePath(QStringLiteral("hg20work.txt")));
    model_.SetUser(QStringLiteral("e2e"));
  }
  // Real time: the 500 ms timer of the tracker, driven by hand.
  void Run(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      QThread::msleep(500);
      QCoreApplication::processEvents();
      model_.Tick();
    }
  }
  int StoredSeconds(const QString& key) const {
    const core::ProfileFile f(dir_.filePath(QStringLiteral("hg20work.txt")));
    const QString section = tracker::SectionName(QStringLiteral("e2e"), model_.dayDate());
    const auto v = f.Value(section, key);
    return v ? int(std::lround(*core::ParseDuration(*v) * 86400)) : -1;
  }

  QTemporaryDir dir_;
  std::unique_ptr<platform::Desktop> desktop_ = platform::CreateDesktop();
  core::SystemClock clock_;
  options::TaskCatalogue catalogue_;
  options::OptionSettings options_;
  tracker::ActiveTask spy_{*desktop_};
  tracker::CountingModel model_{clock_, catalogue_, spy_, options_, dir_.path()};
};

// Each stretch goes to the executable whose window was in front, and both enter the catalogue
// with their window titles.
TEST_F(TrackingE2E, FilesTimeUnderTheForegroundExecutable) {
  Helper editor(dir_.filePath(QStringLiteral("a/editor")), QStringLiteral("Editing notes"));
  Helper browser(dir_.filePath(QStringLiteral("b/browser")), QStringLiteral("Reading news"));
  SetActiveWindow(editor.window);
  model_.Start();
  Run(3000);
  SetActiveWindow(browser.window);
  Run(3000);
  model_.Stop();
  EXPECT_NEAR(StoredSeconds(QStringLiteral("total")), 6, 1);
  EXPECT_GE(StoredSeconds(QStringLiteral("unknown_task")), 0);
  EXPECT_LE(StoredSeconds(QStringLiteral("unknown_task")), 1);
  EXPECT_NEAR(StoredSeconds(editor.path), 2, 1);
  EXPECT_NEAR(StoredSeconds(browser.path), 3, 1);
  EXPECT_EQ(catalogue_.lines().lines(),
            QStringList({editor.path + QStringLiteral("\tEditing notes\t1"),
                         browser.path + QStringLiteral("\tReading news\t1")}));
  SetActiveWindow(0);
}

// A restricted program is ended within about a second while counting, and keeps running
// while counting is off; a program whose path is only the start of a restricted path runs on.
TEST_F(TrackingE2E, EndsRestrictedProgramsByTheirWholePath) {
  const QString game = dir_.filePath(QStringLiteral("games/game"));
  spy_.SetRestrictedList(game + QStringLiteral(";") + game + QStringLiteral("-extra;"));
  Helper idle(game, QStringLiteral("Game"));
  Run(2000);  // not counting: no walk
  EXPECT_TRUE(idle.Running());
  model_.Start();
  QElapsedTimer t;
  t.start();
  while (idle.Running() && t.elapsed() < 3000) Run(500);
  EXPECT_FALSE(idle.Running()) << "restricted program still runs";
  EXPECT_LT(t.elapsed(), 2000);

  spy_.SetRestrictedList(game + QStringLiteral("-extra;"));
  Helper prefix(game, QStringLiteral("Not a game"));
  Run(2000);
  EXPECT_TRUE(prefix.Running());
  model_.Stop();
}

// The X server's screen saver is noticed by the walk while the search is armed.
TEST_F(TrackingE2E, NoticesTheScreenSaver) {
  spy_.ArmSaverSearch();
  ASSERT_EQ(
      QProcess::execute(QStringLiteral("xset"), {QStringLiteral("s"), QStringLiteral("activate")}),
      0);
  spy_.GetActiveTask();
  EXPECT_TRUE(spy_.ScreenSaverRunning());
  ASSERT_EQ(
      QProcess::execute(QStringLiteral("xset"), {QStringLiteral("s"), QStringLiteral("reset")}), 0);
  spy_.GetActiveTask();
  EXPECT_FALSE(spy_.ScreenSaverRunning());
}

}  // namespace
