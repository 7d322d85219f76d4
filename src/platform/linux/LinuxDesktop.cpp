#include "platform/linux/LinuxDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <xcb/res.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

QString ProgramFileName(const QString& base) { return base; }

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Take(T* reply) {
  return Reply<T>(reply, &std::free);
}

int sessionEndPipe[2] = {-1, -1};

void OnSessionEndSignal(int) {
  const char c = 1;
  // Only async-signal-safe work here: the event loop reads the byte and does the rest.
  [[maybe_unused]] const auto n = ::write(sessionEndPipe[1], &c, 1);
}

}  // namespace

struct LinuxDesktop::X {
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
  xcb_atom_t activeWindow = 0, wmPid = 0, netWmName = 0, utf8String = 0;
  bool hasScreenSaver = false;
  bool hasRes = false;

  xcb_atom_t Atom(const char* name) {
    auto reply = Take(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : 0;
  }

  // A property of any type, as raw bytes; an empty result when it is missing.
  QByteArray Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type = XCB_ATOM_ANY) {
    auto reply = Take(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->type == XCB_NONE) return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
  }

  ~X() {
    if (connection) xcb_disconnect(connection);
  }
};

LinuxDesktop::LinuxDesktop() : x_(std::make_unique<X>()) {
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (!c || xcb_connection_has_error(c)) {
    if (c) xcb_disconnect(c);
    return;  // no display: spy mode is off
  }
  x_->connection = c;
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
  x_->root = it.data->root;
  x_->activeWindow = x_->Atom("_NET_ACTIVE_WINDOW");
  x_->wmPid = x_->Atom("_NET_WM_PID");
  x_->netWmName = x_->Atom("_NET_WM_NAME");
  x_->utf8String = x_->Atom("UTF8_STRING");
  const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_screensaver_id);
  x_->hasScreenSaver = ext && ext->present;
  ext = xcb_get_extension_data(c, &xcb_res_id);
  x_->hasRes = ext && ext->present;
}

LinuxDesktop::~LinuxDesktop() = default;

bool LinuxDesktop::CanSpy() const { return x_->connection != nullptr; }

Desktop::Foreground LinuxDesktop::ForegroundWindow() {
  Foreground result;
  if (!x_->connection) return result;
  // Read raw with any type: some tools store the window as CARDINAL instead of WINDOW.
  const QByteArray active = x_->Property(x_->root, x_->activeWindow);
  if (active.size() < 4) return result;
  xcb_window_t window = 0;
  std::memcpy(&window, active.constData(), 4);
  if (window == 0 || window == x_->root) return result;
  // A window that is gone leaves a stale id behind.
  auto attributes = Take(xcb_get_window_attributes_reply(
      x_->connection, xcb_get_window_attributes(x_->connection, window), nullptr));
  if (!attributes) return result;

  const QByteArray pid = x_->Property(window, x_->wmPid, XCB_ATOM_CARDINAL);
  if (pid.size() >= 4) {
    quint32 value = 0;
    std::memcpy(&value, pid.constData(), 4);
    result.pid = value;
  } else if (x_->hasRes) {
    xcb_res_client_id_spec_t wanted{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto ids = Take(xcb_res_query_client_ids_reply(
        x_->connection, xcb_res_query_client_ids(x_->connection, 1, &wanted), nullptr));
    if (ids) {
      // Only the process id was asked for, so every answer carries one.
      for (auto i = xcb_res_query_client_ids_ids_iterator(ids.get()); i.rem;
           xcb_res_client_id_value_next(&i)) {
        if (xcb_res_client_id_value_value_length(i.data) >= 1) {
          result.pid = *xcb_res_client_id_value_value(i.data);
          break;
        }
      }
    }
  }
  const QByteArray utf8 = x_->Property(window, x_->netWmName, x_->utf8String);
  result.title = utf8.isEmpty() ? QString::fromLatin1(x_->Property(window, XCB_ATOM_WM_NAME))
                                : QString::fromUtf8(utf8);
  return result;
}

std::vector<Desktop::Process> LinuxDesktop::Processes() {
  std::vector<Process> result;
  const QDir proc(QStringLiteral("/proc"));
  const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  result.reserve(size_t(entries.size()));
  char buffer[4096];
  for (const QString& entry : entries) {
    bool ok = false;
    const qint64 pid = entry.toLongLong(&ok);
    if (!ok) continue;
    const QByteArray link = "/proc/" + entry.toLatin1() + "/exe";
    const ssize_t n = ::readlink(link.constData(), buffer, sizeof buffer);
    if (n <= 0 || size_t(n) >= sizeof buffer) continue;  // kernel threads, other users' processes
    result.push_back({pid, QString::fromLocal8Bit(buffer, n)});
  }
  return result;
}

std::int64_t LinuxDesktop::OwnPid() const { return ::getpid(); }

bool LinuxDesktop::Terminate(std::int64_t pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(pid_t(pid), SIGKILL) == 0;
}

bool LinuxDesktop::ScreenSaverActive() {
  if (x_->connection && x_->hasScreenSaver) {
    auto info = Take(xcb_screensaver_query_info_reply(
        x_->connection, xcb_screensaver_query_info(x_->connection, x_->root), nullptr));
    if (info && info->state == XCB_SCREENSAVER_STATE_ON) return true;
  }
  // The desktop's screen saver service, when the session has one. Whether it is there is asked
  // again now and then, not every second.
  const QDateTime now = QDateTime::currentDateTimeUtc();
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  if (!saverServiceChecked_.isValid() || saverServiceChecked_.secsTo(now) > 30) {
    saverServiceChecked_ = now;
    saverServiceKnown_ =
        bus.interface() &&
        bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.ScreenSaver")).value();
  }
  if (!saverServiceKnown_) return false;
  // A plain call: an interface object would ask the service to describe itself every second.
  const QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
      QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetActive"));
  const QDBusReply<bool> active = bus.call(call, QDBus::Block, 200);
  return active.isValid() && active.value();
}

bool LinuxDesktop::IsScreenSaverProgram(const QString& path) const {
  // The folders the xscreensaver packages put their saver modules in.
  const QString folder = QFileInfo(path).path();
  return folder == QStringLiteral("/usr/libexec/xscreensaver") ||
         folder == QStringLiteral("/usr/lib/xscreensaver");
}

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
  if (x_->connection) {
    xcb_bell(x_->connection, 0);
    xcb_flush(x_->connection);
    return;
  }
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

void LinuxDesktop::WatchSessionEnd(std::function<void()> onEnd) {
  if (sessionEndPipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, sessionEndPipe) != 0) return;
  auto* notifier =
      new QSocketNotifier(sessionEndPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, onEnd] {
    char c;
    [[maybe_unused]] const auto n = ::read(sessionEndPipe[0], &c, 1);
    notifier->setEnabled(false);  // once is enough
    onEnd();
  });
  struct sigaction action {};
  action.sa_handler = OnSessionEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(sig, &action, nullptr);
}

}  // namespace platform
