#pragma once

#include "core/SortedStrings.h"

#include <QString>
#include <functional>
#include <vector>

namespace statistics {

// One node of a task tree, in tree order.
struct TaskNode {
  enum class Kind { Total, None, Group, Task };
  Kind kind = Kind::Total;
  QString text;
  // Index into the tree's image list, -1 for none.
  int picture = -1;
  // A group node's number; a task node's line in slTaskSortedGroup.
  int data = 0;
  // Index of a task's group node in the same vector, -1 for a root.
  int parent = -1;
};

// What the trees show beside the texts: the pictures of the image list that the window builds
// (its own base pictures, then the group pictures, then the application icons).
struct TaskTreePictures {
  bool enabled = false;
  int basePictures = 2;
  int groupPictures = 0;
  // The application's position in the icon cache, -1 when it has no icon.
  std::function<int(const QString& application)> iconIndex = {};
};

inline constexpr int kTaskNameLength = 36;

// The nodes of the main tree ("total" first) or of the compare tree ("none", then "total"),
// built from slTaskSortedGroup. A name equal to the one before it is listed once, and a group
// node is made only for a line that is listed.
std::vector<TaskNode> BuildTaskNodes(const core::SortedStrings& slTaskSortedGroup, bool compareTree,
                                     const std::function<QString(int group)>& groupName,
                                     const TaskTreePictures& pictures = {});

// The task key a node stands for. The texts "none" and "total" win over the node's kind.
QString TaskNodeKey(const QString& text, bool hasParent, int data,
                    const core::SortedStrings& slTaskSortedGroup);

}  // namespace statistics
