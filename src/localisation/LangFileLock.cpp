#include "localisation/LangFileLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace localisation {

std::unique_ptr<LangFileLock> LangFileLock::Open(const QString& path, Mode mode) {
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      ::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<LangFileLock>(new LangFileLock(fd));
}

LangFileLock::~LangFileLock() { ::close(fd_); }

bool LangFileLock::ReadAll(QByteArray& data) {
  data.clear();
  if (::lseek(fd_, 0, SEEK_SET) < 0) return false;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.append(buffer, qsizetype(n));
  }
}

}  // namespace localisation
