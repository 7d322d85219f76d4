#pragma once

#include "core/Clock.h"

#include <chrono>

namespace testing_support {

// A clock a test steps by hand: the calendar and the monotonic clock move together unless a
// test moves one of them alone (a daylight-saving change, a suspended laptop).
class FakeClock : public core::Clock {
 public:
  explicit FakeClock(QDateTime now = QDateTime(QDate(2001, 3, 7), QTime(9, 0)))
      : now_(std::move(now)) {}
  QDateTime Now() const override { return now_; }
  std::chrono::steady_clock::time_point Monotonic() const override { return mono_; }

  void Advance(std::chrono::milliseconds ms) {
    now_ = now_.addMSecs(ms.count());
    mono_ += ms;
  }
  void SetWallClock(const QDateTime& now) { now_ = now; }

 private:
  QDateTime now_;
  std::chrono::steady_clock::time_point mono_{std::chrono::hours(1000)};
};

}  // namespace testing_support
