#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace localisation {

// An open language file with an advisory lock on it. A loaded file holds a shared lock; a
// writer must get the exclusive one, so no program rewrites a language that another one (or
// another object of this one) has loaded. Locks are taken without waiting.
class LangFileLock {
 public:
  enum class Mode { Shared, Exclusive };

  // Null when the file is missing, is no regular file, cannot be opened or is locked.
  static std::unique_ptr<LangFileLock> Open(const QString& path, Mode mode);
  ~LangFileLock();
  LangFileLock(const LangFileLock&) = delete;
  LangFileLock& operator=(const LangFileLock&) = delete;

  // The whole file from its beginning; false when reading fails.
  bool ReadAll(QByteArray& data);

 private:
  explicit LangFileLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace localisation
