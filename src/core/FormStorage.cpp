#include "core/FormStorage.h"

#include "core/Error.h"

#include <QCoreApplication>

namespace core {

FormStorage::FormStorage(QString section)
    : section_(std::move(section)), settings_(OpenSettings()) {}

std::unique_ptr<QSettings> FormStorage::OpenSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("Brannoc"), QStringLiteral("Horalog"));
}

QString FormStorage::ValueName(const QString& property) {
  QString name = property;
  name.replace(u'.', u'_');
  return name;
}

std::optional<QString> FormStorage::Read(const QString& property) const {
  const QString key = section_ + u'/' + ValueName(property);
  if (!settings_->contains(key)) return std::nullopt;
  return settings_->value(key).toString();
}

void FormStorage::Write(const QString& property, const QString& value) {
  settings_->setValue(section_ + u'/' + ValueName(property), value);
}

std::optional<bool> FormStorage::ToBool(const QString& text) {
  const QString t = text.trimmed();
  if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
  if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
  return std::nullopt;
}

std::optional<QStringList> FormStorage::ReadStrings(const QString& property) const {
  const QString group = section_ + u'.' + ValueName(property);
  const int count = settings_->value(group + QStringLiteral("/Count")).toString().trimmed().toInt();
  if (count <= 0) return std::nullopt;
  QStringList items;
  items.reserve(count);
  for (int i = 0; i < count; ++i)
    items.push_back(settings_->value(group + QStringLiteral("/Item%1").arg(i)).toString());
  return items;
}

void FormStorage::WriteStrings(const QString& property, const QStringList& items) {
  const QString group = section_ + u'.' + ValueName(property);
  settings_->remove(group);
  if (items.isEmpty()) return;
  settings_->setValue(group + QStringLiteral("/Count"), QString::number(items.size()));
  for (qsizetype i = 0; i < items.size(); ++i)
    settings_->setValue(group + QStringLiteral("/Item%1").arg(i), items[i]);
}

void FormStorage::WritePlacement(const QRect& normal, const QSize& screen, bool destroying) {
  const QString norm = QStringLiteral("%1,%2,%3,%4")
                           .arg(normal.left())
                           .arg(normal.top())
                           .arg(normal.left() + normal.width())
                           .arg(normal.top() + normal.height());
  const QString minMax = QStringLiteral("-1,-1,-1,-1");
  const QString resolution = QStringLiteral("(%1x%2)").arg(screen.width()).arg(screen.height());
  const QString g = section_ + u'/';
  settings_->setValue(g + QStringLiteral("Flags"), QStringLiteral("0"));
  settings_->setValue(g + QStringLiteral("ShowCmd"), QStringLiteral("1"));
  settings_->setValue(g + QStringLiteral("PixelsPerInch"), QStringLiteral("96"));
  settings_->setValue(g + QStringLiteral("MinMaxPos"), minMax);
  settings_->setValue(g + QStringLiteral("NormPos"), norm);
  settings_->setValue(g + QStringLiteral("MinMaxPos") + resolution, minMax);
  settings_->setValue(g + QStringLiteral("NormPos") + resolution, norm);
  settings_->setValue(g + QStringLiteral("Visible"),
                      destroying ? QStringLiteral("1") : QStringLiteral("0"));
}

std::optional<QRect> FormStorage::ReadPlacement() const {
  const QString text = settings_->value(section_ + QStringLiteral("/NormPos")).toString();
  const QStringList parts = text.split(u',');
  if (parts.size() != 4) return std::nullopt;
  int v[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    v[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
  }
  if (v[2] < v[0] || v[3] < v[1]) return std::nullopt;
  return QRect(QPoint(v[0], v[1]), QSize(v[2] - v[0], v[3] - v[1]));
}

void FormStorage::Sync() {
  settings_->sync();
  if (settings_->status() != QSettings::NoError) {
    throw Error(QCoreApplication::translate("FormStorage", "Cannot write the settings to \"%1\"")
                    .arg(settings_->fileName()));
  }
}

}  // namespace core
