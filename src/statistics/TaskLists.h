#pragma once

#include "core/ProfileFile.h"
#include "core/SortedStrings.h"

#include <QString>

namespace statistics {

// The catalogue seen from the statistics: one list by task name, one by group, both without
// the hidden group. A task key is "total", "none", a group number or a task name.
class TaskLists {
 public:
  TaskLists();

  // name TAB application TAB group
  const core::SortedStrings& slTaskSortedName() const { return slTaskSortedName_; }
  // group TAB name TAB application
  const core::SortedStrings& slTaskSortedGroup() const { return slTaskSortedGroup_; }

  void BuildTaskLists(const core::SortedStrings& catalogue);

  // One day's time of a key, a day fraction. A missing section or entry, and a value that is
  // no time, count as 0.
  double ReadTaskTime(const core::ProfileFile& store, const QString& section,
                      const QString& key) const;

  static bool IsGroupKey(const QString& key);

 private:
  core::SortedStrings slTaskSortedName_;
  core::SortedStrings slTaskSortedGroup_;
};

// A stored duration as a day fraction; 0 when absent or unreadable.
double ReadStoredTime(const core::ProfileFile& store, const QString& section, const QString& key);

}  // namespace statistics
