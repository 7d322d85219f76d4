#pragma once

#include <QFrame>
#include <QLabel>
#include <vector>

namespace tracker {

// A status bar of fixed-width text panels, as the classic status bar control had them; the
// last panel takes the rest of the width.
class StatusPanels : public QFrame {
  Q_OBJECT
 public:
  struct Panel {
    int width;
    Qt::Alignment alignment;
  };
  StatusPanels(const std::vector<Panel>& panels, QWidget* parent = nullptr);

  QString panelText(int index) const;
  void setPanelText(int index, const QString& text);
  QLabel* panel(int index) const { return labels_.at(size_t(index)); }

  // One text across the whole bar instead of the panels.
  void setSimpleMode(bool simple);
  bool simpleMode() const { return simple_->isVisibleTo(this); }
  QString simpleText() const { return simple_->text(); }
  void setSimpleText(const QString& text) { simple_->setText(text); }

 private:
  std::vector<QLabel*> labels_;
  QLabel* simple_;
};

}  // namespace tracker
