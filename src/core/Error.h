#pragma once

#include <QString>
#include <stdexcept>

namespace core {

// The one error type of the program: it carries the text the user is shown. The window layer
// catches it at event boundaries and shows message().
class Error : public std::runtime_error {
 public:
  explicit Error(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace core
