#pragma once

#include "platform/Desktop.h"

#include <QDateTime>
#include <memory>

namespace platform {

// X11 and /proc: the foreground window is the root window's _NET_ACTIVE_WINDOW, its process
// _NET_WM_PID (or the X server's record of the client), a process's path the target of
// /proc/PID/exe.
class LinuxDesktop : public Desktop {
 public:
  LinuxDesktop();
  ~LinuxDesktop() override;

  bool CanSpy() const override;
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

  // ~/.config/autostart/horalog.desktop
  static QString AutostartFile();

 private:
  struct X;
  std::unique_ptr<X> x_;
  bool saverServiceKnown_ = false;
  QDateTime saverServiceChecked_;
};

}  // namespace platform
