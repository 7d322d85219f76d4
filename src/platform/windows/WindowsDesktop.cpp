#include "platform/windows/WindowsDesktop.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <shellapi.h>
#include <tlhelp32.h>
#include <windows.h>

namespace platform {

QString ProgramFileName(const QString& base) { return base + QStringLiteral(".exe"); }

namespace {

class EndSessionFilter : public QAbstractNativeEventFilter {
 public:
  explicit EndSessionFilter(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {}
  bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_ENDSESSION && msg->wParam && onEnd_) {
      auto onEnd = std::move(onEnd_);
      onEnd_ = {};
      onEnd();
    }
    return false;
  }

 private:
  std::function<void()> onEnd_;
};

}  // namespace

WindowsDesktop::WindowsDesktop() {
  wchar_t buffer[MAX_PATH];
  const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) systemDirectory_ = QString::fromWCharArray(buffer, int(n));
}

Desktop::Foreground WindowsDesktop::ForegroundWindow() {
  Foreground result;
  HWND window = GetForegroundWindow();
  if (!window) return result;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  result.pid = pid;
  wchar_t title[256];
  const int n = GetWindowTextW(window, title, 256);
  if (n > 0) result.title = QString::fromWCharArray(title, n);
  return result;
}

std::vector<Desktop::Process> WindowsDesktop::Processes() {
  std::vector<Process> result;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return result;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (!process) continue;
    wchar_t path[MAX_PATH * 2];
    DWORD size = DWORD(std::size(path));
    if (QueryFullProcessImageNameW(process, 0, path, &size))
      result.push_back(
          {std::int64_t(entry.th32ProcessID), QString::fromWCharArray(path, int(size))});
    CloseHandle(process);
  }
  CloseHandle(snapshot);
  return result;
}

std::int64_t WindowsDesktop::OwnPid() const { return std::int64_t(GetCurrentProcessId()); }

bool WindowsDesktop::Terminate(std::int64_t pid) {
  if (pid == OwnPid()) return false;
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid));
  if (!process) return false;
  const bool ended = TerminateProcess(process, 0) != 0;
  CloseHandle(process);
  return ended;
}

// Screen savers are noticed by their program, a .scr of the system folder, during the walk.
bool WindowsDesktop::ScreenSaverActive() { return false; }

bool WindowsDesktop::IsScreenSaverProgram(const QString& path) const {
  const QFileInfo info(path);
  return !systemDirectory_.isEmpty() &&
         QDir::toNativeSeparators(info.path()).compare(systemDirectory_, Qt::CaseInsensitive) ==
             0 &&
         info.suffix().compare(QStringLiteral("scr"), Qt::CaseInsensitive) == 0;
}

QString WindowsDesktop::LogOnName() const {
  wchar_t name[50];
  DWORD size = 50;
  if (!GetUserNameW(name, &size) || size == 0) return {};
  return QString::fromWCharArray(name, int(size) - 1);
}

Desktop::OpenResult WindowsDesktop::ShellOpen(const QString& path) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      nullptr, L"open", reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
      nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return OpenResult::Ok;
  return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND ? OpenResult::NotFound
                                                                          : OpenResult::Failed;
}

void WindowsDesktop::Beep() { MessageBeep(UINT(-1)); }

void WindowsDesktop::SetAutostart(bool on, const QString& executable) {
  QSettings run(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
      QSettings::NativeFormat);
  if (on)
    run.setValue(QStringLiteral("Horalog"), QDir::toNativeSeparators(executable));
  else
    run.remove(QStringLiteral("Horalog"));
}

bool WindowsDesktop::Autostart() const {
  QSettings run(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
      QSettings::NativeFormat);
  return run.contains(QStringLiteral("Horalog"));
}

QIcon WindowsDesktop::ApplicationIcon(const QString&) const { return {}; }

void WindowsDesktop::WatchSessionEnd(std::function<void()> onEnd) {
  QCoreApplication::instance()->installNativeEventFilter(new EndSessionFilter(std::move(onEnd)));
}

}  // namespace platform
