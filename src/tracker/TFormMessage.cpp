#include "tracker/TFormMessage.h"

#include <algorithm>

namespace tracker {

TFormMessage::TFormMessage(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FormMessage"));
  // A reminder must not take the keyboard away from what the user is typing.
  setAttribute(Qt::WA_ShowWithoutActivating);
  QFont f = font();
  f.setPixelSize(11);
  setFont(f);
  resize(190, 81);
  lMessage = new QLabel(this);
  lMessage->setObjectName(QStringLiteral("lMessage"));
  lMessage->setAlignment(Qt::AlignCenter);
  lMessage->setGeometry(5, 8, 180, 36);
  lMessTest = new QLabel(this);
  lMessTest->setObjectName(QStringLiteral("lMessTest"));
  lMessTest->hide();
  btOK = new QPushButton(QStringLiteral("OK"), this);
  btOK->setObjectName(QStringLiteral("btOK"));
  btOK->setDefault(true);
  btOK->setGeometry(57, 50, 75, 24);
  connect(btOK, &QPushButton::clicked, this, &QWidget::close);
}

void TFormMessage::ShowMessage(const QString& text, const QString& caption, const QRect& screen,
                               const QRect& available) {
  lMessage->setText(text);
  lMessTest->setText(text);
  lMessTest->adjustSize();
  setWindowTitle(caption);
  int w = 190;
  int labelWidth = 180;
  const int measured = lMessTest->fontMetrics().horizontalAdvance(text);
  if (measured > 180) {
    w = measured + 10;
    labelWidth = measured;
  }
  lMessage->setGeometry(5, lMessage->y(), labelWidth, lMessage->height());
  btOK->move((w - btOK->width()) / 2, btOK->y());
  const int maximisedBottom = available.y() + available.height();
  resize(w, height());
  move(std::max(0, screen.x() + screen.width() - w), std::max(0, maximisedBottom - height() - 8));
  show();
  raise();
}

}  // namespace tracker
