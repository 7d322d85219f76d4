#include "tracker/StatusPanels.h"

#include <QHBoxLayout>

namespace tracker {

StatusPanels::StatusPanels(const std::vector<Panel>& panels, QWidget* parent) : QFrame(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (size_t i = 0; i < panels.size(); ++i) {
    auto* label = new QLabel(this);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(panels[i].alignment | Qt::AlignVCenter);
    label->setFixedWidth(panels[i].width);
    label->setObjectName(QStringLiteral("panel%1").arg(i));
    label->setMargin(0);
    label->setIndent(1);
    layout->addWidget(label);
    labels_.push_back(label);
  }
  layout->addStretch(1);
  simple_ = new QLabel(this);
  simple_->setObjectName(QStringLiteral("simpleText"));
  simple_->setFrameShape(QFrame::Panel);
  simple_->setFrameShadow(QFrame::Sunken);
  simple_->setAutoFillBackground(true);
  simple_->setIndent(2);
  simple_->hide();
}

void StatusPanels::setSimpleMode(bool simple) {
  simple_->setGeometry(rect());
  simple_->setVisible(simple);
  simple_->raise();
}

QString StatusPanels::panelText(int index) const { return labels_.at(size_t(index))->text(); }

void StatusPanels::setPanelText(int index, const QString& text) {
  labels_.at(size_t(index))->setText(text);
}

}  // namespace tracker
