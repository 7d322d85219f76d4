#pragma once

#include <QDateTime>
#include <chrono>

namespace core {

// Time as the models see it: the calendar for dates and midnight, and a clock that neither
// jumps with the wall clock nor runs while the computer sleeps, for elapsed times.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime Now() const = 0;
  virtual std::chrono::steady_clock::time_point Monotonic() const = 0;
};

class SystemClock : public Clock {
 public:
  QDateTime Now() const override { return QDateTime::currentDateTime(); }
  // steady_clock is CLOCK_MONOTONIC on Linux, which stops while the system is suspended.
  std::chrono::steady_clock::time_point Monotonic() const override {
    return std::chrono::steady_clock::now();
  }
};

}  // namespace core
