#include "tracker/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace tracker {

namespace {

constexpr int kSize = 32;

QPixmap Canvas() {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  return pm;
}

void DrawGlyph(QPainter& p, Glyph glyph, const QColor& color) {
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen(color, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case Glyph::Start: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x1e, 0x8c, 0x3a));
      QPolygonF tri;
      tri << QPointF(9, 5) << QPointF(27, 16) << QPointF(9, 27);
      p.drawPolygon(tri);
      break;
    }
    case Glyph::Stop:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xc0, 0x28, 0x28));
      p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
      break;
    case Glyph::Statistic:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x2a, 0x5d, 0xb0));
      p.drawRect(QRectF(5, 16, 6, 11));
      p.setBrush(QColor(0xe0, 0x9a, 0x1a));
      p.drawRect(QRectF(13, 6, 6, 21));
      p.setBrush(QColor(0x1e, 0x8c, 0x3a));
      p.drawRect(QRectF(21, 11, 6, 16));
      break;
    case Glyph::Options: {
      p.setPen(QPen(color, 4, Qt::SolidLine, Qt::FlatCap));
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(16 + 8 * std::cos(a), 16 + 8 * std::sin(a)),
                   QPointF(16 + 13 * std::cos(a), 16 + 13 * std::sin(a)));
      }
      p.setPen(QPen(color, 3));
      p.drawEllipse(QPointF(16, 16), 7, 7);
      break;
    }
    case Glyph::SelectUser:
      p.setPen(Qt::NoPen);
      p.setBrush(color);
      p.drawEllipse(QPointF(16, 10), 6, 6);
      p.drawChord(QRectF(5, 18, 22, 20), 0, 180 * 16);
      break;
    case Glyph::Minimize:
      p.drawLine(QPointF(8, 24), QPointF(24, 24));
      break;
    case Glyph::Close:
      p.drawLine(QPointF(9, 9), QPointF(23, 23));
      p.drawLine(QPointF(23, 9), QPointF(9, 23));
      break;
    case Glyph::SelectService: {
      p.setPen(Qt::NoPen);
      p.setBrush(color);
      QPolygonF tri;
      tri << QPointF(7, 11) << QPointF(25, 11) << QPointF(16, 22);
      p.drawPolygon(tri);
      break;
    }
    case Glyph::Comment:
      p.drawRoundedRect(QRectF(5, 6, 22, 15), 3, 3);
      p.drawLine(QPointF(11, 21), QPointF(9, 27));
      break;
    case Glyph::Alarm:
      p.drawEllipse(QPointF(16, 17), 10, 10);
      p.drawLine(QPointF(16, 17), QPointF(16, 11));
      p.drawLine(QPointF(16, 17), QPointF(20, 19));
      break;
    case Glyph::CountDown: {
      QPolygonF glass;
      glass << QPointF(8, 5) << QPointF(24, 5) << QPointF(8, 27) << QPointF(24, 27);
      p.drawPolygon(glass);
      break;
    }
  }
}

QPixmap ClockFace(int frame) {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x0b, 0x4f, 0x4f), 2.5));
  p.setBrush(QColor(0x2a, 0xa0, 0x9a));
  p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(16, 16), 10, 10);
  p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
  // frame < 0: the still clock at ten past ten; otherwise the minute hand goes round in 8 steps
  const double a = frame < 0 ? -M_PI / 2 + 2 * M_PI / 6 : -M_PI / 2 + frame * M_PI / 4;
  p.drawLine(QPointF(16, 16), QPointF(16 + 8 * std::cos(a), 16 + 8 * std::sin(a)));
  p.drawLine(QPointF(16, 16), QPointF(16 - 4, 16 - 3));
  return pm;
}

}  // namespace

QIcon GlyphIcon(Glyph glyph, const QColor& color) {
  QPixmap pm = Canvas();
  {
    QPainter p(&pm);
    DrawGlyph(p, glyph, color);
  }
  return QIcon(pm);
}

QIcon TrayIcon() { return QIcon(ClockFace(-1)); }

std::vector<QIcon> TrayAnimation() {
  std::vector<QIcon> frames;
  for (int i = 0; i < 8; ++i) frames.emplace_back(ClockFace(i));
  return frames;
}

}  // namespace tracker
