#pragma once

#include "platform/Desktop.h"

#include <QStringList>
#include <map>

namespace platform {

// A desktop that a test scripts: what is in front, which processes run, what the shell was
// asked to open.
class FakeDesktop : public Desktop {
 public:
  bool canSpy = true;
  Foreground foreground;
  std::vector<Process> processes;
  std::int64_t ownPid = 1;
  bool screenSaver = false;
  QString logOnName = QStringLiteral("tester");
  QStringList opened;                      // every ShellOpen call, in order
  OpenResult openResult = OpenResult::Ok;  // what ShellOpen answers
  std::vector<std::int64_t> terminated;
  bool terminateFails = false;
  int beeps = 0;
  bool autostart = false;
  QString autostartExecutable;

  bool CanSpy() const override { return canSpy; }
  Foreground ForegroundWindow() override { return foreground; }
  std::vector<Process> Processes() override { return processes; }
  std::int64_t OwnPid() const override { return ownPid; }
  bool Terminate(std::int64_t pid) override;
  bool ScreenSaverActive() override { return screenSaver; }
  bool IsScreenSaverProgram(const QString& path) const override {
    return path.startsWith(QStringLiteral("/usr/libexec/xscreensaver/"));
  }
  QString LogOnName() const override { return logOnName; }
  OpenResult ShellOpen(const QString& path) override;
  void Beep() override { ++beeps; }
  void SetAutostart(bool on, const QString& executable) override;
  bool Autostart() const override { return autostart; }
  QIcon ApplicationIcon(const QString&) const override { return {}; }
  void WatchSessionEnd(std::function<void()> onEnd) override { sessionEnd = std::move(onEnd); }
  std::function<void()> sessionEnd;  // a test calls it to end the session
};

}  // namespace platform
