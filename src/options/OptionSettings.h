#pragma once

#include "core/FormStorage.h"

#include <QHash>
#include <QString>
#include <span>

namespace options {

// One stored setting of the options dialog: its property name (component.property), kind,
// default text and range. The dialog, the storage and every reader share this table.
struct SettingSpec {
  enum Kind { Bool, Int, Text };
  const char* property;
  Kind kind;
  const char* defaultText;
  int min = 0;
  int max = 0;
};

// The 19 values in the order they are written.
std::span<const SettingSpec> OptionTable();
const SettingSpec* FindSetting(const QString& property);

// The current option values. They start at the table's defaults; Restore reads the stored
// ones (missing or unconvertible values keep the default, texts are trimmed).
class OptionSettings {
 public:
  OptionSettings();

  bool Bool(const QString& property) const;
  int Int(const QString& property) const;
  QString Text(const QString& property) const;

  void SetBool(const QString& property, bool value);
  void SetInt(const QString& property, int value);
  void SetText(const QString& property, const QString& value);

  void Restore(const core::FormStorage& storage);
  void Save(core::FormStorage& storage) const;

 private:
  QHash<QString, QString> values_;
};

}  // namespace options
