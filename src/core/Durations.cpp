#include "core/Durations.h"

#include "core/FormatSettings.h"

#include <cmath>

namespace core {

namespace {

constexpr qint64 kMsPerDay = 86'400'000;

QString Format(double days, bool withSeconds) {
  if (days < 0 || std::isnan(days)) return {};
  const QChar sep = FormatSettings::Current().timeSeparator;
  // Rounded to the millisecond; a value a hair below a whole day carries into the hours
  // instead of wrapping round to 00:00:00.
  const double wholeDays = std::floor(days);
  qint64 ms = std::llround((days - wholeDays) * double(kMsPerDay));
  qint64 hours = qint64(wholeDays) * 24;
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    hours += 24;
  }
  hours += ms / 3'600'000;
  const qint64 minutes = ms / 60'000 % 60;
  const qint64 seconds = ms / 1000 % 60;
  QString text = QString::number(hours).rightJustified(2, u'0') + sep +
                 QString::number(minutes).rightJustified(2, u'0');
  if (withSeconds) text += sep + QString::number(seconds).rightJustified(2, u'0');
  return text;
}

}  // namespace

QString FormatDuration(double days) { return Format(days, true); }

QString FormatDurationHM(double days) { return Format(days, false); }

QString FormatPositiveDurationHM(double days) {
  return days > 0 ? FormatDurationHM(days) : QString();
}

std::optional<double> ParseDuration(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  const QChar current = FormatSettings::Current().timeSeparator;
  QChar sep;
  for (QChar c : t) {
    if (c.isDigit()) continue;
    if (c != u':' && c != u'.' && c != current) return std::nullopt;
    if (!sep.isNull() && c != sep) return std::nullopt;
    sep = c;
  }
  const QStringList parts = sep.isNull() ? QStringList{t} : t.split(sep);
  if (parts.size() > 3) return std::nullopt;
  qint64 v[3] = {0, 0, 0};
  for (qsizetype i = 0; i < parts.size(); ++i) {
    bool ok = false;
    v[i] = parts[i].toLongLong(&ok);
    if (!ok || parts[i].size() > 9) return std::nullopt;
  }
  if (v[1] > 59 || v[2] > 59) return std::nullopt;
  return double(v[0] * 3600 + v[1] * 60 + v[2]) / 86400.0;
}

}  // namespace core
