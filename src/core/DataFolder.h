#pragma once

#include <QString>

namespace core {

// The data files live beside the program, as they always did, so the tracker can be carried
// around on a stick. When that folder is not writable (an installed copy), the per-user data
// folder takes its place.
QString DataFolder(const QString& programFolder);

}  // namespace core
