#include "statistics/TaskTree.h"

namespace statistics {

namespace {

struct GroupLine {
  QStringView group, name, application;
};

GroupLine Split(const QString& line) {
  GroupLine parts;
  const qsizetype first = line.indexOf(u'\t');
  if (first < 0) {
    parts.group = line;
    return parts;
  }
  parts.group = QStringView(line).left(first);
  const qsizetype second = line.indexOf(u'\t', first + 1);
  if (second < 0) {
    parts.name = QStringView(line).mid(first + 1);
    return parts;
  }
  parts.name = QStringView(line).mid(first + 1, second - first - 1);
  parts.application = QStringView(line).mid(second + 1);
  return parts;
}

}  // namespace

std::vector<TaskNode> BuildTaskNodes(const core::SortedStrings& slTaskSortedGroup, bool compareTree,
                                     const std::function<QString(int group)>& groupName,
                                     const TaskTreePictures& pictures) {
  std::vector<TaskNode> nodes;
  const int totalPicture = pictures.enabled ? 1 : -1;
  if (compareTree)
    nodes.push_back({TaskNode::Kind::None, QStringLiteral("none"), pictures.enabled ? 0 : -1});
  nodes.push_back({TaskNode::Kind::Total, QStringLiteral("total"), totalPicture});

  QString previousName, previousGroup;
  int groupNode = -1;
  for (qsizetype i = 0; i < slTaskSortedGroup.size(); ++i) {
    const GroupLine line = Split(slTaskSortedGroup.at(i));
    if (line.name == previousName) continue;
    previousName = line.name.toString();
    if (line.group != previousGroup) {
      const int group = line.group.toInt();
      TaskNode node{TaskNode::Kind::Group, groupName ? groupName(group) : QString()};
      node.picture = pictures.enabled ? group + pictures.basePictures : -1;
      node.data = group;
      groupNode = int(nodes.size());
      nodes.push_back(node);
    }
    TaskNode task{TaskNode::Kind::Task, previousName.left(kTaskNameLength)};
    if (pictures.enabled && pictures.iconIndex) {
      const int icon = pictures.iconIndex(line.application.toString());
      if (icon >= 0) task.picture = icon + pictures.groupPictures + pictures.basePictures;
    }
    task.data = int(i);
    task.parent = groupNode;
    nodes.push_back(task);
    previousGroup = line.group.toString();
  }
  return nodes;
}

QString TaskNodeKey(const QString& text, bool hasParent, int data,
                    const core::SortedStrings& slTaskSortedGroup) {
  if (text == QStringLiteral("none")) return text;
  if (text == QStringLiteral("total")) return text;
  if (hasParent) {
    if (data < 0 || data >= slTaskSortedGroup.size()) return {};
    return Split(slTaskSortedGroup.at(data)).name.toString();
  }
  return QString::number(data);
}

}  // namespace statistics
