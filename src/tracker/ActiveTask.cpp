#include "tracker/ActiveTask.h"

namespace tracker {

ActiveTask::ActiveTask(platform::Desktop& desktop)
    : desktop_(desktop), spyAvailable_(desktop.CanSpy()) {}

void ActiveTask::SetRestrictedList(const QString& list) {
  restrictedList_ = list;
  restricted_.clear();
  for (const QString& path : list.split(u';', Qt::SkipEmptyParts))
    restricted_.insert(path.toCaseFolded());
}

QString ActiveTask::GetActiveTask() {
  if (SaverSearch != 0) SaverSearch = -1;
  if (!spyAvailable_) return {};
  foreground_ = desktop_.ForegroundWindow();
  const std::vector<platform::Desktop::Process> processes = desktop_.Processes();
  if (processes.empty()) return {};  // the walk failed
  const std::int64_t self = desktop_.OwnPid();
  for (const platform::Desktop::Process& p : processes) {
    if (foreground_.pid != 0 && p.pid == foreground_.pid) foregroundPath_ = p.path;
    if (SaverSearch != 0 && desktop_.IsScreenSaverProgram(p.path)) SaverSearch = 1;
    if (!restricted_.isEmpty() && p.pid != self && restricted_.contains(p.path.toCaseFolded())) {
      desktop_.Terminate(p.pid);  // a failure is tried again at the next walk
    }
  }
  if (SaverSearch != 0 && desktop_.ScreenSaverActive()) SaverSearch = 1;
  return foregroundPath_;
}

}  // namespace tracker
