#include "options/OptionSettings.h"

#include <algorithm>

namespace options {

namespace {

constexpr SettingSpec kTable[] = {
    {"cbAutoStart.Checked", SettingSpec::Bool, "True"},
    {"cbAutoStartTimer.Checked", SettingSpec::Bool, "False"},
    {"cbPauseScreenSaver.Checked", SettingSpec::Bool, "True"},
    {"cbAutoHide.Checked", SettingSpec::Bool, "True"},
    {"edSaveTime.Value", SettingSpec::Int, "5", 1, 10000},
    {"cbAnimatedIcon.Checked", SettingSpec::Bool, "True"},
    {"cbRemindDone.Checked", SettingSpec::Bool, "True"},
    {"cbRemindDoneAgain.Checked", SettingSpec::Bool, "False"},
    {"cbRemindEvery.Checked", SettingSpec::Bool, "True"},
    {"edRemindDone.Value", SettingSpec::Int, "6", 1, 24},
    {"edRemindDoneAgain.Value", SettingSpec::Int, "10", 1, 600},
    {"edRemindEvery.Value", SettingSpec::Int, "30", 1, 600},
    {"edRemindEverySound.Text", SettingSpec::Text, ""},
    {"edRemindEveryMessage.Text", SettingSpec::Text, "Take a break for 5 minutes"},
    {"edRemindDoneSound.Text", SettingSpec::Text, ""},
    {"edRemindDoneMessage.Text", SettingSpec::Text,
     "You have worked enough. Take a rest for today"},
    {"edPlayScreenSaverActivate.Text", SettingSpec::Text, ""},
    {"cbSpy.Checked", SettingSpec::Bool, "True"},
    {"cbShowIcons.Checked", SettingSpec::Bool, "True"},
};

}  // namespace

std::span<const SettingSpec> OptionTable() { return kTable; }

const SettingSpec* FindSetting(const QString& property) {
  const auto it = std::find_if(std::begin(kTable), std::end(kTable), [&](const SettingSpec& s) {
    return property == QLatin1StringView(s.property);
  });
  return it == std::end(kTable) ? nullptr : it;
}

OptionSettings::OptionSettings() {
  for (const SettingSpec& s : kTable)
    values_.insert(QString::fromLatin1(s.property), QString::fromLatin1(s.defaultText));
}

bool OptionSettings::Bool(const QString& property) const {
  return core::FormStorage::ToBool(values_.value(property)).value_or(false);
}

int OptionSettings::Int(const QString& property) const { return values_.value(property).toInt(); }

QString OptionSettings::Text(const QString& property) const { return values_.value(property); }

void OptionSettings::SetBool(const QString& property, bool value) {
  values_[property] = core::FormStorage::FromBool(value);
}

void OptionSettings::SetInt(const QString& property, int value) {
  if (const SettingSpec* s = FindSetting(property)) value = std::clamp(value, s->min, s->max);
  values_[property] = QString::number(value);
}

void OptionSettings::SetText(const QString& property, const QString& value) {
  values_[property] = value;
}

void OptionSettings::Restore(const core::FormStorage& storage) {
  for (const SettingSpec& s : kTable) {
    const QString name = QString::fromLatin1(s.property);
    const std::optional<QString> stored = storage.Read(name);
    if (!stored) continue;
    const QString text = stored->trimmed();
    switch (s.kind) {
      case SettingSpec::Bool:
        if (const auto b = core::FormStorage::ToBool(text)) SetBool(name, *b);
        break;
      case SettingSpec::Int: {
        bool ok = false;
        const int v = text.toInt(&ok);
        if (ok) SetInt(name, v);
        break;
      }
      case SettingSpec::Text:
        SetText(name, text);
        break;
    }
  }
}

void OptionSettings::Save(core::FormStorage& storage) const {
  for (const SettingSpec& s : kTable) {
    const QString name = QString::fromLatin1(s.property);
    storage.Write(name, values_.value(name));
  }
}

}  // namespace options
