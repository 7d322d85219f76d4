#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace core {

// A list of text lines kept in ascending order of the whole line, compared ignoring case in
// the user's locale order. The catalogue, the users list and the statistics' task lists are
// such lists.
class SortedStrings {
 public:
  enum class Duplicates { Ignore, Accept };

  explicit SortedStrings(Duplicates duplicates = Duplicates::Ignore,
                         const QLocale& locale = QLocale());

  Duplicates duplicates() const { return duplicates_; }
  qsizetype size() const { return lines_.size(); }
  bool isEmpty() const { return lines_.isEmpty(); }
  const QString& at(qsizetype i) const { return lines_.at(i); }
  const QStringList& lines() const { return lines_; }

  // Inserts at the sorted place and returns the position. When duplicates are ignored and an
  // equal line exists, nothing is inserted and that line's position is returned.
  qsizetype Add(const QString& line);
  void AddAll(const QStringList& lines);
  void RemoveAt(qsizetype i) { lines_.removeAt(i); }
  void Clear() { lines_.clear(); }
  // Replaces the content and sorts it.
  void Assign(QStringList lines);

  // Halving search for the whole line; `index` is the match or the insertion point.
  bool Find(const QString& line, qsizetype& index) const;
  int Compare(QStringView a, QStringView b) const { return collator_.compare(a, b); }

 private:
  Duplicates duplicates_;
  QCollator collator_;
  QStringList lines_;
};

// Halving search over a sorted list by the text before the first TAB of each line. Finds the
// first matching line (in a list that accepts duplicates the lowest such position); `index` is
// that position, or where the key would be inserted.
bool FindTabKey(const SortedStrings& list, const QString& key, qsizetype& index);

}  // namespace core
