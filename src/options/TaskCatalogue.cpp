#include "options/TaskCatalogue.h"

#include "core/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace options {

QString GroupName(int group) {
  switch (group) {
    case kGroupHidden:
      return QStringLiteral(".Hidden");
    case kGroupWork:
      return QStringLiteral("Work");
    case kGroupInternet:
      return QStringLiteral("Internet");
    case kGroupGames:
      return QStringLiteral("Games");
    case kGroupSystem:
      return QStringLiteral("System");
    case kGroupStuff:
      return QStringLiteral("Stuff");
    case kGroupRestricted:
      return QStringLiteral(".Restricted");
    default:
      return {};
  }
}

TaskLine SplitTaskLine(const QString& line) {
  const qsizetype first = line.indexOf(u'\t');
  if (first < 0) return {QString(), QString(), line};
  const qsizetype second = line.indexOf(u'\t', first + 1);
  if (second < 0) return {line.left(first), QString(), line.mid(first + 1)};
  return {line.left(first), line.mid(first + 1, second - first - 1), line.mid(second + 1)};
}

TaskCatalogue::TaskCatalogue() : lines_(core::SortedStrings::Duplicates::Accept) {}

void TaskCatalogue::Load(const QString& path) {
  lines_.Clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  QString text = QString::fromUtf8(file.readAll());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  QStringList lines = text.split(u'\n');
  // A final line end does not start another line.
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  lines_.Assign(std::move(lines));
}

void TaskCatalogue::Save(const QString& path) const {
  QByteArray bytes;
  for (const QString& line : lines_.lines()) {
    bytes += line.toUtf8();
    bytes += "\r\n";
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw core::Error(QCoreApplication::translate("TaskCatalogue", "Cannot write \"%1\": %2")
                          .arg(QFileInfo(path).absoluteFilePath(), file.errorString()));
  }
}

bool TaskCatalogue::Contains(const QString& application) const {
  qsizetype index = 0;
  return core::FindTabKey(lines_, application, index);
}

QString TaskCatalogue::NewEntry(const QString& application, const QString& title) {
  // A TAB or a line break in a window title would split the entry into wrong fields or lines.
  QString name = title;
  for (QChar& c : name) {
    if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
  }
  if (!name.isEmpty()) return application + u'\t' + name + u'\t' + QString::number(kGroupWork);
  // Paths from either system: the file name follows the last separator of both kinds.
  const qsizetype cut = std::max(application.lastIndexOf(u'/'), application.lastIndexOf(u'\\'));
  return application + u'\t' + application.mid(cut + 1) + u'\t' + QString::number(kGroupHidden);
}

QString TaskCatalogue::BuildRestrictedList() const {
  QString list;
  for (const QString& line : lines_.lines()) {
    const TaskLine t = SplitTaskLine(line);
    if (t.group == QStringLiteral("6")) list = t.application + u';' + list;
  }
  return list;
}

}  // namespace options
