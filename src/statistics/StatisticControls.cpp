#include "statistics/StatisticControls.h"

#include "core/FormatSettings.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTextCharFormat>
#include <QToolButton>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace statistics {

namespace {

QPixmap Draw(StatisticGlyph glyph, int size, qreal ratio) {
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  const QColor ink(0x20, 0x20, 0x20);
  p.setPen(QPen(ink, 1.0));
  switch (glyph) {
    case StatisticGlyph::Table:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      for (double x : {5.5, 8.5, 11.5}) p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
      for (double y : {6.5, 10.0}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
      p.fillRect(QRectF(2, 3, 12.5, 3.5), QColor(0xff, 0x80, 0xc0));
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      break;
    case StatisticGlyph::Graph:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x30, 0x60, 0xc0));
      p.drawRect(QRectF(2, 8, 3, 6));
      p.setBrush(QColor(0xd0, 0x30, 0x30));
      p.drawRect(QRectF(6.5, 3, 3, 11));
      p.setBrush(QColor(0x30, 0xa0, 0x40));
      p.drawRect(QRectF(11, 6, 3, 8));
      p.setPen(QPen(ink, 1.0));
      p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
      break;
    case StatisticGlyph::Detail:
      p.setBrush(QColor(0xf0, 0xc0, 0x30));
      p.drawPie(QRectF(1.5, 3.5, 9, 9), 90 * 16, 120 * 16);
      p.setBrush(QColor(0x30, 0x60, 0xc0));
      p.drawPie(QRectF(1.5, 3.5, 9, 9), 210 * 16, 240 * 16);
      for (double y : {4.5, 8.0, 11.5}) p.drawLine(QPointF(12, y), QPointF(15, y));
      break;
    case StatisticGlyph::DropDown:
    case StatisticGlyph::ArrowDown: {
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      QPainterPath path;
      path.moveTo(3.5, 5.5);
      path.lineTo(12.5, 5.5);
      path.lineTo(8, 11);
      path.closeSubpath();
      p.drawPath(path);
      break;
    }
    case StatisticGlyph::ArrowUp: {
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      QPainterPath path;
      path.moveTo(3.5, 10.5);
      path.lineTo(12.5, 10.5);
      path.lineTo(8, 5);
      path.closeSubpath();
      p.drawPath(path);
      break;
    }
    case StatisticGlyph::None:
      p.setPen(QPen(QColor(0xa0, 0x20, 0x20), 1.6));
      p.drawEllipse(QRectF(3, 3, 10, 10));
      p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
      break;
    case StatisticGlyph::Total:
      p.setBrush(QColor(0xff, 0xf0, 0xa0));
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.drawLine(QPointF(8, 8), QPointF(8, 4));
      p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
      break;
  }
  return pixmap;
}

}  // namespace

QIcon StatisticIcon(StatisticGlyph glyph) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) icon.addPixmap(Draw(glyph, 16, ratio));
  return icon;
}

DateField::DateField(QWidget* parent, bool markWeekends)
    : QWidget(parent), markWeekends_(markWeekends) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  edit_ = new QLineEdit(this);
  edit_->setReadOnly(true);
  edit_->setTextMargins(0, 0, 0, 0);
  button_ = new QToolButton(this);
  button_->setIcon(StatisticIcon(StatisticGlyph::DropDown));
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setToolTip(QStringLiteral("Choose date"));
  button_->setAccessibleName(QStringLiteral("Choose date"));
  layout->addWidget(edit_, 1);
  layout->addWidget(button_);
  setFocusProxy(edit_);
  edit_->installEventFilter(this);
  connect(button_, &QToolButton::clicked, this, &DateField::OpenCalendar);
}

QDate DateField::date() const {
  const std::optional<QDate> d =
      core::FormatSettings::Current().ParseDate(edit_->text(), QDate::currentDate());
  return d ? *d : QDate();
}

QString DateField::text() const { return edit_->text(); }

void DateField::setDate(const QDate& date) {
  const QString text =
      date.isValid() ? core::FormatSettings::Current().FormatDate(date) : QString();
  if (text == edit_->text()) return;
  edit_->setText(text);
  emit dateChanged();
}

void DateField::setText(const QString& text) {
  const std::optional<QDate> d =
      core::FormatSettings::Current().ParseDate(text.trimmed(), QDate::currentDate());
  setDate(d ? *d : QDate());
}

bool DateField::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space ||
        (key->key() == Qt::Key_Down && key->modifiers() & Qt::AltModifier)) {
      OpenCalendar();
      return true;
    }
  }
  if (watched == edit_ && event->type() == QEvent::MouseButtonDblClick) {
    OpenCalendar();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void DateField::OpenCalendar() {
  const QDate current = date().isValid() ? date() : QDate::currentDate();
  const std::optional<QDate> chosen = chooseDate ? chooseDate(current) : RunCalendar(current);
  if (chosen) setDate(*chosen);
}

std::optional<QDate> DateField::RunCalendar(const QDate& current) {
  QDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("Choose date"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* calendar = new QCalendarWidget(&dialog);
  calendar->setObjectName(QStringLiteral("Calendar"));
  calendar->setGridVisible(true);
  calendar->setSelectedDate(current);
  calendar->setFirstDayOfWeek(Qt::Monday);
  QTextCharFormat weekend;
  if (markWeekends_) {
    weekend.setForeground(QColor(0xc0, 0x00, 0x00));
    weekend.setBackground(QColor(0xe8, 0xe8, 0xe8));
  } else {
    weekend.setForeground(calendar->palette().color(QPalette::Text));
  }
  calendar->setWeekdayTextFormat(Qt::Saturday, weekend);
  calendar->setWeekdayTextFormat(Qt::Sunday, weekend);
  layout->addWidget(calendar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
  calendar->setFocus();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return calendar->selectedDate();
}

ComboTreeEdit::ComboTreeEdit(QWidget* parent, QTreeWidget* tree) : QLineEdit(parent), tree_(tree) {
  setReadOnly(true);
  QAction* drop = addAction(StatisticIcon(StatisticGlyph::DropDown), QLineEdit::TrailingPosition);
  drop->setToolTip(QStringLiteral("Open list"));
  connect(drop, &QAction::triggered, this, [this] { droppedDown() ? CloseUp() : DropDown(); });
  tree_->setParent(this, Qt::Popup);
  tree_->setHeaderHidden(true);
  tree_->setIndentation(19);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setFixedSize(304, 162);
  tree_->installEventFilter(this);
  tree_->viewport()->installEventFilter(this);
  connect(tree_, &QTreeWidget::itemClicked, this, [this] { Choose(); });
}

bool ComboTreeEdit::droppedDown() const { return tree_->isVisible(); }

void ComboTreeEdit::DropDown() {
  QPoint below = mapToGlobal(QPoint(0, height()));
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    if (below.y() + tree_->height() > area.bottom())
      below.setY(mapToGlobal(QPoint(0, 0)).y() - tree_->height());
    below.setX(std::clamp(below.x(), area.left(), std::max(area.left(), area.right() - 304)));
  }
  tree_->move(below);
  tree_->show();
  tree_->setFocus();
  if (QTreeWidgetItem* item = tree_->currentItem()) tree_->scrollToItem(item);
}

void ComboTreeEdit::CloseUp() {
  if (tree_->isVisible()) tree_->hide();
}

void ComboTreeEdit::Choose() {
  CloseUp();
  setFocus();
  emit afterSelect();
}

void ComboTreeEdit::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier) ||
      event->key() == Qt::Key_F4) {
    DropDown();
    return;
  }
  // Up and Down step the selection when the key is released.
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) return;
  QLineEdit::keyPressEvent(event);
}

void ComboTreeEdit::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (!(event->modifiers() & Qt::AltModifier)) emit keyUp(event->key());
}

void ComboTreeEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (!droppedDown()) DropDown();
}

bool ComboTreeEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        Choose();
        return true;
      case Qt::Key_Escape:
      case Qt::Key_F4:
        CloseUp();
        setFocus();
        return true;
      default:
        break;
    }
  }
  return QLineEdit::eventFilter(watched, event);
}

bool StepTreeSelection(QTreeWidget* tree, bool down) {
  QTreeWidgetItem* current = tree->currentItem();
  if (!current) return false;
  QTreeWidgetItemIterator it(current);
  down ? ++it : --it;
  if (!*it) return false;
  tree->setCurrentItem(*it);
  return true;
}

}  // namespace statistics
