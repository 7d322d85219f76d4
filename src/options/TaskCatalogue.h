#pragma once

#include "core/SortedStrings.h"

#include <QString>

namespace options {

// The fixed groups. A group's number is stored in the catalogue; the tree shows them in the
// order of kGroupOrder.
enum TaskGroup {
  kGroupHidden = 0,
  kGroupWork = 1,
  kGroupInternet = 2,
  kGroupGames = 3,
  kGroupSystem = 4,
  kGroupStuff = 5,
  kGroupRestricted = 6,
};
inline constexpr int kGroupOrder[7] = {kGroupWork,  kGroupInternet, kGroupGames,     kGroupSystem,
                                       kGroupStuff, kGroupHidden,   kGroupRestricted};
// The designed (English) name of a group number.
QString GroupName(int group);

struct TaskLine {
  QString application;
  QString name;
  QString group;
};

// application TAB name TAB group. With one TAB only, the text after it is the group and the
// name is empty; further TABs stay inside the group text.
TaskLine SplitTaskLine(const QString& line);

// The task catalogue: every application seen, with its task name and group, one line each,
// sorted by the whole line ignoring case. Two paths that differ only in case are both kept.
class TaskCatalogue {
 public:
  static constexpr const char* kFileName = "hg20task.txt";

  TaskCatalogue();

  const core::SortedStrings& lines() const { return lines_; }
  core::SortedStrings& lines() { return lines_; }

  // A missing or unreadable file gives an empty catalogue; that is no error.
  void Load(const QString& path);
  // Writes every line with CR LF, whole, through a temporary file. Throws core::Error.
  void Save(const QString& path) const;

  bool Contains(const QString& application) const;
  // The entry of a newly seen application: its window title as the task name in group Work,
  // or, without a title, the file name in group .Hidden.
  static QString NewEntry(const QString& application, const QString& title);
  void Add(const QString& line) { lines_.Add(line); }

  // Every application of the group .Restricted, each followed by ";", the last one in list
  // order first.
  QString BuildRestrictedList() const;

 private:
  core::SortedStrings lines_;
};

}  // namespace options
