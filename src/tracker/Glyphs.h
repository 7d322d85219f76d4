#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace tracker {

// The small pictures of the main window and the tray, drawn rather than loaded, so that they
// are sharp at any scale and need no files beside the program.
enum class Glyph {
  Start,
  Stop,
  Statistic,
  Options,
  SelectUser,
  Minimize,
  Close,
  SelectService,
  Comment,
  Alarm,
  CountDown
};

QIcon GlyphIcon(Glyph glyph, const QColor& color = QColor(0x20, 0x20, 0x20));
// The clock of the tray: the still icon, and eight frames of its hand going round.
QIcon TrayIcon();
std::vector<QIcon> TrayAnimation();

}  // namespace tracker
