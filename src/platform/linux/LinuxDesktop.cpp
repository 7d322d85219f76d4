#include "platform/linux/LinuxDesktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

QString ProgramFileName(const QString& base) { return base; }

LinuxDesktop::LinuxDesktop() = default;
LinuxDesktop::~LinuxDesktop() = default;

bool LinuxDesktop::CanSpy() const { return false; }

Desktop::Foreground LinuxDesktop::ForegroundWindow() { return {}; }

std::vector<Desktop::Process> LinuxDesktop::Processes() {
  std::vector<Process> result;
  const QDir proc(QStringLiteral("/proc"));
  const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  result.reserve(size_t(entries.size()));
  for (const QString& entry : entries) {
    bool ok = false;
    const qint64 pid = entry.toLongLong(&ok);
    if (!ok) continue;
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    if (exe.isEmpty()) continue;  // kernel threads and processes of other users
    result.push_back({pid, exe});
  }
  return result;
}

std::int64_t LinuxDesktop::OwnPid() const { return ::getpid(); }

bool LinuxDesktop::Terminate(std::int64_t pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(pid_t(pid), SIGKILL) == 0;
}

bool LinuxDesktop::ScreenSaverRunning() { return false; }

QString LinuxDesktop::LogOnName() const {
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
    return QString::fromLocal8Bit(pw->pw_name).left(50);
  return qEnvironmentVariable("USER").left(50);
}

Desktop::OpenResult LinuxDesktop::ShellOpen(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return OpenResult::NotFound;
  bool started = false;
  if (info.isExecutable() && info.isFile()) {
    started = QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
  } else {
    started = QProcess::startDetached(QStringLiteral("xdg-open"), {info.absoluteFilePath()});
  }
  return started ? OpenResult::Ok : OpenResult::Failed;
}

void LinuxDesktop::Beep() {
  std::fputc('\a', stderr);
  std::fflush(stderr);
}

QString LinuxDesktop::AutostartFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/autostart/horalog.desktop");
}

void LinuxDesktop::SetAutostart(bool on, const QString& executable) {
  const QString file = AutostartFile();
  if (!on) {
    QFile::remove(file);
    return;
  }
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return;
  QString quoted = executable;
  quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
  out.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Horalog\n"
                           "Comment=Tracks working time\nExec=\"%1\"\n"
                           "X-GNOME-Autostart-enabled=true\n")
                .arg(quoted)
                .toUtf8());
  out.commit();
}

bool LinuxDesktop::Autostart() const { return QFileInfo::exists(AutostartFile()); }

QIcon LinuxDesktop::ApplicationIcon(const QString& path) const {
  return QIcon::fromTheme(QFileInfo(path).baseName());
}

}  // namespace platform
