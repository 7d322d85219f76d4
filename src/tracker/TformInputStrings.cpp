#include "tracker/TformInputStrings.h"

#include "localisation/LangString.h"
#include "tracker/Glyphs.h"

#include <QMessageBox>
#include <QScreen>

namespace tracker {

namespace {

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(text);
  b->setAutoRaise(true);
  b->setGeometry(geometry);
  return b;
}

}  // namespace

TformInputStrings::TformInputStrings(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("formInputStrings"));
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);

  pCanEdit = new QFrame(this);
  pCanEdit->setObjectName(QStringLiteral("pCanEdit"));
  pCanEdit->setGeometry(0, 0, 185, 11);
  btDelete = Button(pCanEdit, "btDelete", QString(), QRect(172, 0, 11, 11));
  btDelete->setIcon(GlyphIcon(Glyph::Close, QColor(0xa0, 0x20, 0x20)));
  btDelete->setIconSize(QSize(9, 9));
  btDelete->setToolTip(QStringLiteral("Delete the selected entry"));

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 0, 185, 77);
  lbUsers = new QListWidget(Panel1);
  lbUsers->setObjectName(QStringLiteral("lbUsers"));
  lbUsers->setGeometry(4, 3, 121, 56);
  Label1 = new QLabel(QStringLiteral("&New"), Panel1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(4, 59, 26, 16);
  edUser = new QLineEdit(Panel1);
  edUser->setObjectName(QStringLiteral("edUser"));
  edUser->setGeometry(30, 59, 95, 16);
  Label1->setBuddy(edUser);
  btOk = Button(Panel1, "btOk", QStringLiteral("Ok"), QRect(129, 3, 52, 22));
  btCancel = Button(Panel1, "btCancel", QStringLiteral("Cancel"), QRect(129, 28, 52, 22));
  setFixedWidth(185);

  connect(btOk, &QToolButton::clicked, this, &TformInputStrings::btOkClick);
  connect(btCancel, &QToolButton::clicked, this, &QDialog::reject);
  connect(btDelete, &QToolButton::clicked, this, &TformInputStrings::btDeleteClick);
  connect(lbUsers, &QListWidget::itemClicked, this, &TformInputStrings::lbUsersClick);
  // A double click is Ok with the list in focus: the entry clicked is the choice.
  connect(lbUsers, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    edUser->setText(item->text());
    accept();
  });
  connect(edUser, &QLineEdit::returnPressed, this, &TformInputStrings::btOkClick);

  confirmDelete = [this](const QString& entry) {
    return QMessageBox::question(this, localisation::LangString(35), entry,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
}

std::optional<QString> TformInputStrings::ChooseString(const QString& caption,
                                                       const QStringList& items, bool canEdit,
                                                       const QRect& owner) {
  setWindowTitle(caption);
  pCanEdit->setVisible(canEdit);
  const int extra = canEdit ? pCanEdit->height() : 0;
  Panel1->move(0, extra);
  setFixedHeight(Panel1->height() + extra);
  const int top = std::max(0, owner.y() + owner.height() - height() - 10);
  const int left = std::max(0, owner.x() + owner.width() - width() - 10);
  move(left, top);
  edUser->clear();
  lbUsers->clear();
  lbUsers->addItems(items);
  SelectFirst();
  edUser->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return edUser->text();
}

QStringList TformInputStrings::items() const {
  QStringList list;
  for (int i = 0; i < lbUsers->count(); ++i) list << lbUsers->item(i)->text();
  return list;
}

void TformInputStrings::SelectFirst() {
  if (lbUsers->count() == 0) return;
  lbUsers->setCurrentRow(0);
  lbUsersClick();
}

void TformInputStrings::btOkClick() {
  if (!lbUsers->hasFocus()) {
    // A typed text joins the list; the caller's sorted list drops a repeat.
    lbUsers->addItem(edUser->text());
    accept();
    return;
  }
  if (QListWidgetItem* item = lbUsers->currentItem(); item && item->isSelected()) {
    edUser->setText(item->text());
    accept();
  }
}

void TformInputStrings::lbUsersClick() {
  if (!pCanEdit->isHidden()) {
    if (QListWidgetItem* item = lbUsers->currentItem()) edUser->setText(item->text());
  }
}

void TformInputStrings::btDeleteClick() {
  QListWidgetItem* item = lbUsers->currentItem();
  if (item && item->isSelected() && confirmDelete(item->text())) delete item;
  SelectFirst();
}

}  // namespace tracker
