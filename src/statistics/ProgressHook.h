#pragma once

#include <QString>

namespace statistics {

// What a long walk tells the progress window, and how it learns that the user gave up.
class ProgressHook {
 public:
  virtual ~ProgressHook() = default;
  virtual void SetText(const QString& text) = 0;
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  // Lets the user interface handle pending events, the Cancel button among them.
  virtual void ProcessEvents() = 0;
  virtual bool Cancelled() = 0;
};

}  // namespace statistics
