#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

// What the tracker needs of the operating system, behind one interface. Each OS has its
// backend; the fake lets a test say what is in front and what runs.
class Desktop {
 public:
  struct Process {
    std::int64_t pid = 0;
    QString path;  // full path of the executable
  };
  struct Foreground {
    std::int64_t pid = 0;  // 0: no application in front
    QString title;         // the window's title, may be empty
  };
  enum class OpenResult { Ok, NotFound, Failed };

  virtual ~Desktop() = default;

  // The foreground application can be told at all (an X display is open, for instance).
  virtual bool CanSpy() const = 0;
  virtual Foreground ForegroundWindow() = 0;
  // Every running process whose executable can be read; empty when the walk failed.
  virtual std::vector<Process> Processes() = 0;
  virtual std::int64_t OwnPid() const = 0;
  // Ends a process at once; false when that was not possible.
  virtual bool Terminate(std::int64_t pid) = 0;
  // The session's screen saver is on (the X server's saver state, or the desktop's screen
  // saver service).
  virtual bool ScreenSaverActive() = 0;
  // A running program of this path is a screen saver (a saver module of the system's folder).
  virtual bool IsScreenSaverProgram(const QString& path) const = 0;

  // The name the user logged on with; empty when it cannot be told.
  virtual QString LogOnName() const = 0;
  // Starts a program or opens a document without waiting for it.
  virtual OpenResult ShellOpen(const QString& path) = 0;
  virtual void Beep() = 0;
  // Starting with the session (the Run value on Windows, an autostart entry here).
  virtual void SetAutostart(bool on, const QString& executable) = 0;
  virtual bool Autostart() const = 0;
  virtual QIcon ApplicationIcon(const QString& path) const = 0;
  // Calls `onEnd` once, from the event loop, when the session ends the program (logging out,
  // shutting down, an interrupt): the program then saves as on Close and ends.
  virtual void WatchSessionEnd(std::function<void()> onEnd) = 0;
};

// The file name of a program of ours on this system ("hg2demo", "hg2demo.exe").
QString ProgramFileName(const QString& base);

// The backend of the system the program was built for.
std::unique_ptr<Desktop> CreateDesktop();

}  // namespace platform
