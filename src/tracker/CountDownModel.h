#pragma once

#include "core/Clock.h"

#include <QDateTime>
#include <QString>
#include <chrono>
#include <optional>

namespace tracker {

// The countdown service: either a number of minutes, or an alarm at a time of day. It runs,
// rings when the time is up, and goes back to idle on Stop.
//
// Minutes are measured with the monotonic clock, so a daylight-saving change neither
// stretches nor shortens them; an alarm keeps to the wall clock, which is what it was set by.
class CountDownModel {
 public:
  enum class State { Idle, Running, Ringing };

  explicit CountDownModel(const core::Clock& clock) : clock_(clock) {}

  State state() const { return state_; }
  // A countdown or alarm runs (false again once it rings).
  bool CountDownActive() const { return state_ == State::Running; }
  // The timer's interval in the current state; 0 when it is off.
  int TimerInterval() const;

  // Start is possible when idle and either minutes or both alarm fields are given.
  bool CanStart(const QString& hour, const QString& minute, const QString& minutes) const;
  // Minutes win when given (0 to 255); otherwise hour 0 to 23 and minute 0 to 59, today, or
  // tomorrow when that minute has come already. False for input that is no such number: the
  // caller beeps and nothing starts.
  bool Start(const QString& hour, const QString& minute, const QString& minutes);
  // The moment the time runs out, on the wall clock.
  QDateTime AlarmTime() const;

  // The running step: the time left (a day fraction, negative once past). When it is no longer
  // above zero, the countdown starts ringing and `ranOut` is set.
  struct Run {
    double left = 0;
    bool ranOut = false;
  };
  Run RunStep();
  // The ringing step: the blinking text of the status line, empty every other step.
  QString RingStep(const QString& comment, const QString& runOutText);
  void Stop() { state_ = State::Idle; }

  // "user total" + four blanks + (comment + " " or service name + ": ") + time left.
  static QString TrayHint(const QString& countingPrefix, const QString& comment,
                          const QString& serviceName, double left);
  // The tray menu's item: "Alarm at: 07:05", "<service>: 25" or "Choose time...".
  static QString MenuCaption(const QString& hour, const QString& minute, const QString& minutes,
                             const QString& serviceName);

 private:
  const core::Clock& clock_;
  State state_ = State::Idle;
  std::optional<std::chrono::steady_clock::time_point> deadline_;  // minutes mode
  QDateTime alarm_;                                                // alarm mode
  QString blink_;
};

}  // namespace tracker
