#include "tracker/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace tracker {

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent) : QObject(parent) {
  const QString folder = QDir(dataFolder).absolutePath();
  name_ = QStringLiteral("horalog-") +
          QString::fromLatin1(
              QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
  lock_ = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral(".horalog.lock")));
  lock_->setStaleLockTime(0);  // a lock is stale only when its process is gone
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
  if (!lock_->tryLock(200)) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(1000)) {
      socket.write("show\n");
      socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
    }
    return false;
  }
  server_ = std::make_unique<QLocalServer>();
  QLocalServer::removeServer(name_);  // a socket left behind by a crashed tracker
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (server_->listen(name_)) {
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
      while (QLocalSocket* s = server_->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        emit showRequested();
      }
    });
  }
  return true;
}

}  // namespace tracker
