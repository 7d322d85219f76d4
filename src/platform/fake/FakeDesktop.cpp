#include "platform/fake/FakeDesktop.h"

#include <algorithm>

namespace platform {

bool FakeDesktop::Terminate(std::int64_t pid) {
  if (terminateFails) return false;
  terminated.push_back(pid);
  std::erase_if(processes, [pid](const Process& p) { return p.pid == pid; });
  return true;
}

Desktop::OpenResult FakeDesktop::ShellOpen(const QString& path) {
  opened.push_back(path);
  return openResult;
}

void FakeDesktop::SetAutostart(bool on, const QString& executable) {
  autostart = on;
  autostartExecutable = on ? executable : QString();
}

}  // namespace platform
