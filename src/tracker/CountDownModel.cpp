#include "tracker/CountDownModel.h"

#include "core/Durations.h"

namespace tracker {

namespace {

std::optional<int> WholeNumber(const QString& text, int min, int max) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  if (!ok || v < min || v > max) return std::nullopt;
  return v;
}

QString Padded(const QString& s) { return s.size() == 1 ? u'0' + s : s; }

}  // namespace

int CountDownModel::TimerInterval() const {
  switch (state_) {
    case State::Running:
      return 1000;
    case State::Ringing:
      return 600;
    default:
      return 0;
  }
}

bool CountDownModel::CanStart(const QString& hour, const QString& minute,
                              const QString& minutes) const {
  return state_ == State::Idle && (!minutes.isEmpty() || (!hour.isEmpty() && !minute.isEmpty()));
}

bool CountDownModel::Start(const QString& hour, const QString& minute, const QString& minutes) {
  if (!minutes.isEmpty()) {
    const auto m = WholeNumber(minutes, 0, 255);
    if (!m) return false;
    deadline_ = clock_.Monotonic() + std::chrono::minutes(*m);
    alarm_ = clock_.Now().addSecs(qint64(*m) * 60);
  } else {
    const auto h = WholeNumber(hour, 0, 23);
    const auto n = WholeNumber(minute, 0, 59);
    if (!h || !n) return false;
    const QDateTime now = clock_.Now();
    alarm_ = QDateTime(now.date(), QTime(*h, *n));
    // The current minute or an earlier one means tomorrow.
    if (now.time().hour() > *h || (now.time().hour() == *h && now.time().minute() >= *n))
      alarm_ = QDateTime(now.date().addDays(1), QTime(*h, *n));
    deadline_.reset();
  }
  state_ = State::Running;
  blink_.clear();
  return true;
}

QDateTime CountDownModel::AlarmTime() const {
  if (deadline_) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - clock_.Monotonic());
    return clock_.Now().addMSecs(left.count());
  }
  return alarm_;
}

CountDownModel::Run CountDownModel::RunStep() {
  Run run;
  if (state_ != State::Running) return run;
  const double ms = deadline_ ? double(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           *deadline_ - clock_.Monotonic())
                                           .count())
                              : double(clock_.Now().msecsTo(alarm_));
  run.left = ms / 86'400'000.0;
  if (run.left <= 0) {
    state_ = State::Ringing;
    run.ranOut = true;
  }
  return run;
}

QString CountDownModel::RingStep(const QString& comment, const QString& runOutText) {
  blink_ = blink_.isEmpty() ? (comment.isEmpty() ? runOutText : comment) : QString();
  return blink_;
}

QString CountDownModel::TrayHint(const QString& countingPrefix, const QString& comment,
                                 const QString& serviceName, double left) {
  return countingPrefix + QStringLiteral("    ") +
         (comment.isEmpty() ? serviceName + QStringLiteral(": ") : comment + u' ') +
         core::FormatDuration(left);
}

QString CountDownModel::MenuCaption(const QString& hour, const QString& minute,
                                    const QString& minutes, const QString& serviceName) {
  if (!hour.isEmpty() && !minute.isEmpty())
    return QStringLiteral("Alarm at: ") + Padded(hour) + u':' + Padded(minute);
  if (!minutes.isEmpty()) return serviceName + QStringLiteral(": ") + minutes;
  return QStringLiteral("Choose time...");
}

}  // namespace tracker
