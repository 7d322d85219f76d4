#include "core/SortedStrings.h"

#include <algorithm>

namespace core {

SortedStrings::SortedStrings(Duplicates duplicates, const QLocale& locale)
    : duplicates_(duplicates), collator_(locale) {
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

qsizetype SortedStrings::Add(const QString& line) {
  qsizetype index = 0;
  if (Find(line, index) && duplicates_ == Duplicates::Ignore) return index;
  lines_.insert(index, line);
  return index;
}

void SortedStrings::AddAll(const QStringList& lines) {
  for (const QString& line : lines) Add(line);
}

void SortedStrings::Assign(QStringList lines) {
  std::stable_sort(lines.begin(), lines.end(),
                   [this](const QString& a, const QString& b) { return Compare(a, b) < 0; });
  if (duplicates_ == Duplicates::Ignore) {
    lines.erase(
        std::unique(lines.begin(), lines.end(),
                    [this](const QString& a, const QString& b) { return Compare(a, b) == 0; }),
        lines.end());
  }
  lines_ = std::move(lines);
}

bool SortedStrings::Find(const QString& line, qsizetype& index) const {
  qsizetype low = 0, high = lines_.size() - 1;
  bool found = false;
  while (low <= high) {
    const qsizetype mid = (low + high) / 2;
    const int c = collator_.compare(lines_.at(mid), line);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != Duplicates::Accept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

bool FindTabKey(const SortedStrings& list, const QString& key, qsizetype& index) {
  qsizetype low = 0, high = list.size() - 1;
  bool found = false;
  while (low <= high) {
    const qsizetype mid = (low + high) / 2;
    const QString& line = list.at(mid);
    const qsizetype tab = line.indexOf(u'\t');
    const int c = list.Compare(tab < 0 ? QStringView() : QStringView(line).left(tab), key);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (list.duplicates() != SortedStrings::Duplicates::Accept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

}  // namespace core
