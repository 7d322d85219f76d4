#include "statistics/StatisticSettings.h"

#include <algorithm>

namespace statistics {

namespace {

constexpr const char* kPresetProperties[4] = {"mnDay.Checked", "mnWeek.Checked",
                                              "mnTwoWeeks.Checked", "mnMonth.Checked"};
constexpr const char* kMarkProperties[3] = {"lMark1.Font", "lMark2.Font", "lMark3.Font"};

QString P(const char* property) { return QString::fromLatin1(property); }

std::optional<int> ReadInt(const core::FormStorage& storage, const char* property) {
  const std::optional<QString> text = storage.Read(P(property));
  if (!text) return std::nullopt;
  bool ok = false;
  const int value = text->trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<bool> ReadBool(const core::FormStorage& storage, const char* property) {
  const std::optional<QString> text = storage.Read(P(property));
  if (!text) return std::nullopt;
  return core::FormStorage::ToBool(*text);
}

}  // namespace

PeriodPreset StatisticSettings::CheckedPreset() const {
  constexpr PeriodPreset order[4] = {PeriodPreset::Day, PeriodPreset::Week, PeriodPreset::TwoWeeks,
                                     PeriodPreset::Month};
  for (int i = 0; i < 4; ++i) {
    if (presets[size_t(i)]) return order[i];
  }
  return PeriodPreset::None;
}

QString StatisticSettings::FontText(const QString& family, int points, quint32 colour) {
  return QStringLiteral("%1,%2,[],#%3")
      .arg(family)
      .arg(points)
      .arg(colour & 0xFFFFFF, 6, 16, QChar(u'0'));
}

std::optional<quint32> StatisticSettings::FontColour(const QString& text) {
  const qsizetype comma = text.lastIndexOf(u',');
  const QString colour = text.mid(comma + 1).trimmed();
  if (!colour.startsWith(u'#') || colour.size() != 7) return std::nullopt;
  bool ok = false;
  const uint value = colour.mid(1).toUInt(&ok, 16);
  if (!ok) return std::nullopt;
  return quint32(value);
}

void StatisticSettings::Restore(const core::FormStorage& storage) {
  // Two radio buttons: the one stored as checked wins, rbEuro when both say so.
  if (ReadBool(storage, "rbAmer.Checked").value_or(false)) weekStyle = WeekStyle::SundayToSaturday;
  if (ReadBool(storage, "rbEuro.Checked").value_or(false)) weekStyle = WeekStyle::MondayToSunday;
  for (int i = 0; i < 3; ++i) {
    if (const std::optional<QString> text = storage.Read(P(kMarkProperties[i]))) {
      if (const std::optional<quint32> colour = FontColour(*text)) markColours[size_t(i)] = *colour;
    }
  }
  // The spin edits keep a value inside their range.
  if (const std::optional<int> v = ReadInt(storage, "edMark2.Value")) mark2 = std::clamp(*v, 1, 24);
  if (const std::optional<int> v = ReadInt(storage, "edMark3.Value")) mark3 = std::clamp(*v, 1, 24);
  if (const std::optional<QString> t = storage.Read(P("dateFrom.Text")))
    dateFromText = t->trimmed();
  if (const std::optional<QString> t = storage.Read(P("dateTo.Text"))) dateToText = t->trimmed();
  for (int i = 0; i < 4; ++i) {
    if (const std::optional<bool> b = ReadBool(storage, kPresetProperties[i]))
      presets[size_t(i)] = *b;
  }
  if (const std::optional<int> v = ReadInt(storage, "pHeaderTask.Height"))
    taskRowHeight = *v >= kTaskRowHeightCompare ? kTaskRowHeightCompare : kTaskRowHeight;
  if (const std::optional<int> v = ReadInt(storage, "Notebook1.PageIndex")) {
    if (*v >= 0 && *v <= 2) page = *v;
  }
  if (const std::optional<int> v = ReadInt(storage, "Notebook2.PageIndex")) {
    if (*v >= 0) detailPage = *v;
  }
}

void StatisticSettings::Save(core::FormStorage& storage) const {
  using core::FormStorage;
  storage.Write(P("rbAmer.Checked"),
                FormStorage::FromBool(weekStyle == WeekStyle::SundayToSaturday));
  storage.Write(P("rbEuro.Checked"), FormStorage::FromBool(weekStyle == WeekStyle::MondayToSunday));
  for (int i = 0; i < 3; ++i)
    storage.Write(P(kMarkProperties[i]),
                  FontText(QStringLiteral("MS Sans Serif"), 8, markColours[size_t(i)]));
  storage.Write(P("edMark2.Value"), QString::number(mark2));
  storage.Write(P("edMark3.Value"), QString::number(mark3));
  storage.Write(P("dateFrom.Text"), dateFromText);
  storage.Write(P("dateTo.Text"), dateToText);
  for (int i = 0; i < 4; ++i)
    storage.Write(P(kPresetProperties[i]), FormStorage::FromBool(presets[size_t(i)]));
  storage.Write(P("pHeaderTask.Height"), QString::number(taskRowHeight));
  storage.Write(P("Notebook1.PageIndex"), QString::number(page));
  storage.Write(P("Notebook2.PageIndex"), QString::number(detailPage));
}

}  // namespace statistics
