#pragma once

#include "platform/Desktop.h"

namespace platform {

// Win32: the foreground window and its process, a Toolhelp walk over the processes, the Run
// value of the registry for starting with Windows.
class WindowsDesktop : public Desktop {
 public:
  WindowsDesktop();

  bool CanSpy() const override { return true; }
  Foreground ForegroundWindow() override;
  std::vector<Process> Processes() override;
  std::int64_t OwnPid() const override;
  bool Terminate(std::int64_t pid) override;
  bool ScreenSaverActive() override;
  bool IsScreenSaverProgram(const QString& path) const override;
  QString LogOnName() const override;
  OpenResult ShellOpen(const QString& path) override;
  void Beep() override;
  void SetAutostart(bool on, const QString& executable) override;
  bool Autostart() const override;
  QIcon ApplicationIcon(const QString& path) const override;
  void WatchSessionEnd(std::function<void()> onEnd) override;

 private:
  QString systemDirectory_;
};

}  // namespace platform
