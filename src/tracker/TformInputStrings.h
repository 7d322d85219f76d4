#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <optional>

namespace tracker {

// The choice dialog: pick a text from a list or type a new one. It chooses the user name and
// the countdown comment.
class TformInputStrings : public QDialog {
  Q_OBJECT
 public:
  explicit TformInputStrings(QWidget* parent = nullptr);

  // Shows the dialog modally over the lower right corner of `owner` (a window rectangle).
  // The chosen or typed text; nothing when the dialog was cancelled, so that a cancel changes
  // nothing for the caller.
  std::optional<QString> ChooseString(const QString& caption, const QStringList& items,
                                      bool canEdit, const QRect& owner);
  // The list as the user left it (additions by Ok, deletions by the delete button).
  QStringList items() const;

  QFrame* pCanEdit;
  QToolButton* btDelete;
  QFrame* Panel1;
  QListWidget* lbUsers;
  QLabel* Label1;
  QLineEdit* edUser;
  QToolButton* btOk;
  QToolButton* btCancel;

  // Asks before a list entry is deleted; tests answer it.
  std::function<bool(const QString& entry)> confirmDelete;

 private:
  void btOkClick();
  void lbUsersClick();
  void btDeleteClick();
  void SelectFirst();
};

}  // namespace tracker
