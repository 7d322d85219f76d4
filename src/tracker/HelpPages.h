#pragma once

#include <QString>

namespace tracker {

// The help pages beside the program: help/horalog.html, with one anchor per help context
// ("context-1" for the window, "context-21" for counting, "context-31" for the countdown).
QString HelpFile(const QString& programFolder);
bool OpenHelp(const QString& programFolder, int context);

}  // namespace tracker
