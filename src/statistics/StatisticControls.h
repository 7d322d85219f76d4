#pragma once

#include <QDate>
#include <QIcon>
#include <QLineEdit>
#include <QTreeWidget>
#include <QWidget>
#include <functional>

class QToolButton;

namespace statistics {

// The small pictures of the statistics window, drawn so that they are sharp at any scale.
enum class StatisticGlyph { Table, Graph, Detail, DropDown, ArrowDown, ArrowUp, None, Total };
QIcon StatisticIcon(StatisticGlyph glyph);

// A date with a calendar: no typed input, the calendar opens from the button, Alt+Down, F4
// or Space. An empty field or a text that is no date reads as no date.
class DateField : public QWidget {
  Q_OBJECT
 public:
  DateField(QWidget* parent, bool markWeekends);

  QDate date() const;
  void setDate(const QDate& date);
  QString text() const;
  // Restoring a stored text; one that is no date leaves the field empty.
  void setText(const QString& text);
  void OpenCalendar();

  QLineEdit* edit() const { return edit_; }
  QToolButton* button() const { return button_; }
  // Tests and scripts choose a date as the calendar would.
  std::function<std::optional<QDate>(const QDate& current)> chooseDate;

 signals:
  void dateChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<QDate> RunCalendar(const QDate& current);

  QLineEdit* edit_;
  QToolButton* button_;
  bool markWeekends_;
};

// A read-only edit that drops down a tree and shows the text of the selected node.
class ComboTreeEdit : public QLineEdit {
  Q_OBJECT
 public:
  ComboTreeEdit(QWidget* parent, QTreeWidget* tree);

  QTreeWidget* tree() const { return tree_; }
  void DropDown();
  void CloseUp();
  bool droppedDown() const;

 signals:
  // A node was chosen in the drop-down (click, Return).
  void afterSelect();
  // A key was released in the edit.
  void keyUp(int key);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Choose();

  QTreeWidget* tree_;
};

// Selects the next (or previous) node in tree order, whether or not its group is expanded;
// false when there is none.
bool StepTreeSelection(QTreeWidget* tree, bool down);

}  // namespace statistics
