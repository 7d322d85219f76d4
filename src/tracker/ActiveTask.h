#pragma once

#include "platform/Desktop.h"

#include <QSet>
#include <QString>

namespace tracker {

// Spy mode: the foreground application's executable is the current task. The same walk over
// all processes notices a running screen saver and ends restricted applications.
class ActiveTask {
 public:
  explicit ActiveTask(platform::Desktop& desktop);

  bool SpyAvailable() const { return spyAvailable_; }
  // 0: no screen-saver search (program start), -1: armed, none found by the last walk,
  // 1: the last walk found one.
  int SaverSearch = 0;
  void ArmSaverSearch() { SaverSearch = -1; }

  // The executable path of the foreground application, or empty text. When the walk does not
  // meet the foreground process, the path of an earlier walk is given again.
  QString GetActiveTask();
  bool ScreenSaverRunning() const { return SaverSearch == 1; }
  // Title of the window that was in front at the last walk.
  const QString& ForegroundTitle() const { return foreground_.title; }
  const QString& ForegroundPath() const { return foregroundPath_; }

  // Restricted applications, each followed by ";". A process is ended only when its path is
  // one of them as a whole (ignoring case), never because it is part of a longer path, and the
  // tracker never ends itself.
  void SetRestrictedList(const QString& list);
  const QString& RestrictedList() const { return restrictedList_; }

 private:
  platform::Desktop& desktop_;
  bool spyAvailable_;
  QString foregroundPath_;
  platform::Desktop::Foreground foreground_;
  QString restrictedList_;
  QSet<QString> restricted_;  // case-folded paths
};

}  // namespace tracker
