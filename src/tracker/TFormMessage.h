#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace tracker {

// A message near the tray that does not stop anything: counting and timers go on while it is
// shown. A second message replaces the first.
class TFormMessage : public QWidget {
  Q_OBJECT
 public:
  explicit TFormMessage(QWidget* parent = nullptr);

  // `caption` is the service name and the time; `screen` and `available` place the popup
  // flush right above the task bar.
  void ShowMessage(const QString& text, const QString& caption, const QRect& screen,
                   const QRect& available);

  QLabel* lMessage;
  QLabel* lMessTest;
  QPushButton* btOK;
};

}  // namespace tracker
