#include "statistics/TaskLists.h"

#include "core/Durations.h"
#include "options/TaskCatalogue.h"

namespace statistics {

namespace {

QStringView FirstField(const QString& line) {
  const qsizetype tab = line.indexOf(u'\t');
  return tab < 0 ? QStringView(line) : QStringView(line).left(tab);
}

// The application of a list line: the second field by name, the third by group.
QStringView Field(const QString& line, int index) {
  qsizetype begin = 0;
  for (int i = 0; i < index; ++i) {
    const qsizetype tab = line.indexOf(u'\t', begin);
    if (tab < 0) return {};
    begin = tab + 1;
  }
  const qsizetype end = line.indexOf(u'\t', begin);
  return QStringView(line).mid(begin, end < 0 ? -1 : end - begin);
}

const QString kTotal = QStringLiteral("total");

}  // namespace

TaskLists::TaskLists()
    : slTaskSortedName_(core::SortedStrings::Duplicates::Accept),
      slTaskSortedGroup_(core::SortedStrings::Duplicates::Accept) {}

void TaskLists::BuildTaskLists(const core::SortedStrings& catalogue) {
  QStringList byName, byGroup;
  byName.reserve(catalogue.size());
  byGroup.reserve(catalogue.size());
  for (const QString& line : catalogue.lines()) {
    const options::TaskLine t = options::SplitTaskLine(line);
    if (t.group == QStringLiteral("0")) continue;
    byName.push_back(t.name + u'\t' + t.application + u'\t' + t.group);
    byGroup.push_back(t.group + u'\t' + t.name + u'\t' + t.application);
  }
  slTaskSortedName_.Assign(std::move(byName));
  slTaskSortedGroup_.Assign(std::move(byGroup));
}

bool TaskLists::IsGroupKey(const QString& key) {
  if (key.isEmpty()) return false;
  for (QChar c : key) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

double ReadStoredTime(const core::ProfileFile& store, const QString& section, const QString& key) {
  const std::optional<QString> value = store.Value(section, key);
  if (!value) return 0;
  return core::ParseDuration(*value).value_or(0);
}

double TaskLists::ReadTaskTime(const core::ProfileFile& store, const QString& section,
                               const QString& key) const {
  if (key == kTotal) return ReadStoredTime(store, section, kTotal);
  const bool byGroup = IsGroupKey(key);
  const core::SortedStrings& list = byGroup ? slTaskSortedGroup_ : slTaskSortedName_;
  qsizetype index = 0;
  if (!core::FindTabKey(list, key, index)) return 0;
  // The search stops at the first line that matches ignoring case, and lines of "editor"
  // and "Editor" may interleave: walk the whole run and take only the exact name.
  double sum = 0;
  for (; index < list.size(); ++index) {
    const QString& line = list.at(index);
    const QStringView first = FirstField(line);
    if (list.Compare(first, key) != 0) break;
    if (first != key) continue;
    sum += ReadStoredTime(store, section, Field(line, byGroup ? 2 : 1).toString());
  }
  return sum;
}

}  // namespace statistics
