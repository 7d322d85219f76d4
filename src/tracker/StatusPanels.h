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

 private:
  std::vector<QLabel*> labels_;
};

}  // namespace tracker
