#pragma once

#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace core {

// Named properties of a window's controls in the program's settings, one string value each,
// as the classic form-storage component kept them: section "Options", value names
// "component_property", check boxes as "True"/"False", string lists in a subkey of their own
// with "Count" and "Item%d", and the window placement values beside them.
class FormStorage {
 public:
  explicit FormStorage(QString section = QStringLiteral("Options"));

  // The program's settings: the registry key Software\Brannoc\Horalog on Windows,
  // ~/.config/Brannoc/Horalog.conf here.
  static std::unique_ptr<QSettings> OpenSettings();

  // "edUser.Text" -> "edUser_Text"
  static QString ValueName(const QString& property);

  std::optional<QString> Read(const QString& property) const;
  void Write(const QString& property, const QString& value);

  static QString FromBool(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
  }
  static std::optional<bool> ToBool(const QString& text);

  // A list is replaced only when the stored "Count" is above 0.
  std::optional<QStringList> ReadStrings(const QString& property) const;
  void WriteStrings(const QString& property, const QStringList& items);

  // The normal rectangle of the window (left, top, right, bottom in "NormPos").
  void WritePlacement(const QRect& normal, const QSize& screen, bool destroying);
  std::optional<QRect> ReadPlacement() const;

  // Flushes to disk; throws core::Error when the settings cannot be written.
  void Sync();

 private:
  QString section_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace core
