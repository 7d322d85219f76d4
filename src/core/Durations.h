#pragma once

#include <QString>
#include <optional>

namespace core {

// Durations are day fractions: 1.0 is one day, 1/86400 one second. Their texts use the
// process's current time separator and count hours on past 23.

// "hh:nn:ss"; empty for a negative duration. This is also the value format of the store.
QString FormatDuration(double days);
// "hh:nn"; empty for a negative duration. Seconds are dropped, not rounded.
QString FormatDurationHM(double days);
// FormatDurationHM for a positive duration, empty for zero and below.
QString FormatPositiveDurationHM(double days);

// Reads a stored duration back: H:M:S, H:M or a bare hour count, separated by ":", "." or
// the current time separator, hours past 23 allowed. Values written under another language
// or system setting stay readable that way.
std::optional<double> ParseDuration(const QString& text);

constexpr double kSecond = 1.0 / 86400.0;

}  // namespace core
