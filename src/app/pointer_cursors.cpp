#include "app/pointer_cursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace luma::app {
namespace {

constexpr int kSize = 32;

// A hand seen from above: four fingers and a thumb, open or closed.
void DrawHand(QPainter& p, bool closed) {
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(Qt::white);
  const int finger_length = closed ? 4 : 10;
  for (int i = 0; i < 4; ++i) {
    const int x = 9 + i * 4;
    p.drawRoundedRect(QRectF(x, 14 - finger_length, 4, finger_length + 6), 2, 2);
  }
  p.drawRoundedRect(QRectF(8, 13, 17, 13), 4, 4);
  p.drawRoundedRect(QRectF(4, closed ? 14 : 12, 6, 8), 3, 3);
}

QCursor MakeCursor(PointerCursor kind) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPoint hot(16, 16);
  switch (kind) {
    case PointerCursor::kNormal: {
      const QPolygonF arrow({{2, 2}, {2, 22}, {7, 17}, {11, 26}, {14, 25}, {10, 16}, {17, 16}});
      p.setPen(QPen(Qt::black, 1.2));
      p.setBrush(QColor(255, 240, 250));
      p.drawPolygon(arrow);
      hot = QPoint(2, 2);
      break;
    }
    case PointerCursor::kOverObject:
      DrawHand(p, false);
      break;
    case PointerCursor::kDragging:
      DrawHand(p, true);
      break;
    case PointerCursor::kStuck:
      DrawHand(p, true);
      // A padlock: the object does not move.
      p.setPen(QPen(QColor(150, 20, 20), 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(20, 16, 8, 8), 0, 180 * 16);
      p.setBrush(QColor(200, 40, 40));
      p.drawRect(QRectF(19, 20, 10, 8));
      break;
    case PointerCursor::kDot:
      p.setPen(QPen(Qt::white, 1));
      p.setBrush(Qt::black);
      p.drawEllipse(QRectF(13, 13, 6, 6));
      break;
    case PointerCursor::kSystem:
      break;
  }
  p.end();
  return QCursor(pixmap, hot.x(), hot.y());
}

}  // namespace

QCursor CursorFor(PointerCursor cursor) {
  if (cursor == PointerCursor::kSystem) return QCursor(Qt::ArrowCursor);
  return MakeCursor(cursor);
}

}  // namespace luma::app
