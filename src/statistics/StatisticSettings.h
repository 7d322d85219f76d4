#pragma once

#include "core/FormStorage.h"
#include "statistics/StatisticPeriod.h"

#include <QString>
#include <array>
#include <optional>

namespace statistics {

// What the statistics window keeps between openings, in the settings section "Ststistic".
// A value that is missing or cannot be read keeps the window's design default.
struct StatisticSettings {
  static constexpr const char* kSection = "Ststistic";
  static constexpr int kTaskRowHeight = 27;
  static constexpr int kTaskRowHeightCompare = 52;

  // rbAmer.Checked / rbEuro.Checked
  WeekStyle weekStyle = WeekStyle::MondayToSunday;
  // lMark1..3.Font: only the colour is ours, 0xRRGGBB.
  std::array<quint32, 3> markColours = {0x808080, 0x0000FF, 0xFF0000};
  // edMark2.Value, edMark3.Value (1..24)
  int mark2 = 6;
  int mark3 = 8;
  // dateFrom.Text, dateTo.Text, as the date fields show them
  QString dateFromText;
  QString dateToText;
  // mnDay/mnWeek/mnTwoWeeks/mnMonth.Checked, in the order FormShow looks at them
  std::array<bool, 4> presets = {false, true, false, false};
  // pHeaderTask.Height: 27, or 52 with the compare line open
  int taskRowHeight = kTaskRowHeight;
  // Notebook1.PageIndex, Notebook2.PageIndex
  int page = 0;
  int detailPage = 0;

  // The first preset with a check mark, None when there is none.
  PeriodPreset CheckedPreset() const;

  void Restore(const core::FormStorage& storage);
  void Save(core::FormStorage& storage) const;

  // A label font as the storage writes it: "family,points,[styles],#rrggbb".
  static QString FontText(const QString& family, int points, quint32 colour);
  static std::optional<quint32> FontColour(const QString& text);
};

}  // namespace statistics
