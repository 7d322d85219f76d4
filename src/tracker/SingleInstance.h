#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

namespace tracker {

// One tracker per data folder: two trackers writing the same store would interleave their
// writes and lose counted time. The first one holds a lock file and listens; a second one
// asks the first to come to the front and ends.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this process is the one tracker of its folder. Otherwise the running one has
  // been asked to show itself.
  bool Acquire();

 signals:
  void showRequested();

 private:
  QString name_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace tracker
