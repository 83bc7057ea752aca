#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace luma::app {
namespace {

// Every picture is drawn on a 32 x 32 grid and scaled to the size asked for.
constexpr double kGrid = 32.0;
const QColor kInk(40, 40, 56);
const QColor kSkin(246, 205, 170);
const QColor kDress(214, 72, 120);
const QColor kHair(120, 72, 40);
const QColor kBlue(52, 110, 200);
const QColor kGreen(46, 150, 80);
const QColor kRed(206, 40, 40);

QImage Draw(int size, const std::function<void(QPainter&)>& paint) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kGrid, size / kGrid);
  paint(p);
  return image;
}

QIcon IconOf(const std::function<void(QPainter&)>& paint) {
  QIcon icon;
  for (int size : {16, 24, 32, 48}) icon.addPixmap(QPixmap::fromImage(Draw(size, paint)));
  return icon;
}

QPen Pen(const QColor& color, double width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A paper doll in a box of the given corner and size on the grid.
void PaintDoll(QPainter& p, QRectF box) {
  const double u = box.width() / 16.0;
  auto at = [&](double x, double y) { return QPointF(box.left() + x * u, box.top() + y * u); };
  p.setPen(Pen(kInk, u * 0.8));
  p.setBrush(kHair);
  p.drawEllipse(at(8, 4), 3.4 * u, 3.4 * u);
  p.setBrush(kSkin);
  p.drawEllipse(at(8, 4.6), 2.6 * u, 2.6 * u);
  QPainterPath dress;
  dress.moveTo(at(6, 7.5));
  dress.lineTo(at(10, 7.5));
  dress.lineTo(at(13, 14));
  dress.lineTo(at(3, 14));
  dress.closeSubpath();
  p.setBrush(kDress);
  p.drawPath(dress);
  p.drawLine(at(6, 8.5), at(3, 11));
  p.drawLine(at(10, 8.5), at(13, 11));
  p.drawLine(at(6.5, 14), at(6.5, 16));
  p.drawLine(at(9.5, 14), at(9.5, 16));
}

void PaintSpeaker(QPainter& p) {
  QPainterPath body;
  body.moveTo(4, 12);
  body.lineTo(9, 12);
  body.lineTo(16, 6);
  body.lineTo(16, 26);
  body.lineTo(9, 20);
  body.lineTo(4, 20);
  body.closeSubpath();
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(QColor(120, 120, 140));
  p.drawPath(body);
}

void PaintNote(QPainter& p) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(kInk);
  p.drawEllipse(QPointF(9, 24), 4, 3);
  p.drawEllipse(QPointF(21, 21), 4, 3);
  p.setPen(Pen(kInk, 2.2));
  p.drawLine(QPointF(12.5, 24), QPointF(12.5, 7));
  p.drawLine(QPointF(24.5, 21), QPointF(24.5, 4));
  p.drawLine(QPointF(12.5, 7), QPointF(24.5, 4));
  p.drawLine(QPointF(12.5, 11), QPointF(24.5, 8));
}

void PaintCross(QPainter& p) {
  p.setPen(Pen(kRed, 3));
  p.drawLine(QPointF(19, 11), QPointF(29, 21));
  p.drawLine(QPointF(29, 11), QPointF(19, 21));
}

void PaintMagnifier(QPainter& p) {
  p.setPen(Pen(kInk, 2.5));
  p.setBrush(QColor(220, 235, 255));
  p.drawEllipse(QPointF(13, 13), 9, 9);
  p.setPen(Pen(kInk, 4));
  p.drawLine(QPointF(20, 20), QPointF(28, 28));
}

}  // namespace

void PaintAppIcon(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Pen(kInk, 1));
  p.setBrush(QColor(255, 246, 220));
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  PaintDoll(p, QRectF(4, 2, 24, 24));
}

QImage AppIconImage(int size) { return Draw(size, PaintAppIcon); }

QImage DocumentIconImage(int size, bool archive) {
  return Draw(size, [archive](QPainter& p) { PaintDocumentIcon(p, archive); });
}

void PaintDocumentIcon(QPainter& p, bool archive) {
  p.setRenderHint(QPainter::Antialiasing);
  {
    QPainterPath sheet;
    sheet.moveTo(5, 1);
    sheet.lineTo(21, 1);
    sheet.lineTo(27, 7);
    sheet.lineTo(27, 31);
    sheet.lineTo(5, 31);
    sheet.closeSubpath();
    p.setPen(Pen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(QPointF(21, 1), QPointF(21, 7));
    p.drawLine(QPointF(21, 7), QPointF(27, 7));
    PaintDoll(p, QRectF(8, 8, 16, 16));
    if (archive) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(190, 150, 60));
      p.drawRect(QRectF(5, 24, 22, 5));
      p.setBrush(QColor(120, 90, 30));
      p.drawRect(QRectF(14, 23, 4, 7));
    }
  }
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
  return icon;
}

QIcon SoundIcon(bool enabled) {
  return IconOf([enabled](QPainter& p) {
    PaintSpeaker(p);
    if (enabled) {
      p.setPen(Pen(kBlue, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(14, 10, 8, 12), -60 * 16, 120 * 16);
      p.drawArc(QRectF(14, 6, 14, 20), -60 * 16, 120 * 16);
    } else {
      PaintCross(p);
    }
  });
}

QIcon MusicIcon(bool enabled) {
  return IconOf([enabled](QPainter& p) {
    PaintNote(p);
    if (!enabled) PaintCross(p);
  });
}

QIcon BoundingIcon(int mode) {
  // A frame for the playfield with the mode's letter; the frame grows fainter
  // as the mode grows more forgiving.
  static const char kLetters[] = "AFLVN";
  const int m = mode < 0 || mode > 4 ? 4 : mode;
  return IconOf([m](QPainter& p) {
    const int alpha = 255 - m * 45;
    QPen frame = Pen(QColor(kGreen.red(), kGreen.green(), kGreen.blue(), alpha), 2.5);
    if (m == 4) frame.setStyle(Qt::DashLine);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, 26, 26));
    QFont font;
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QString(QChar(kLetters[m])));
  });
}

QIcon NumberIcon(int number, bool palette) {
  // A set or palette the doll lacks is drawn faint: the desktop's own greying
  // hardly shows on these pale faces.
  auto face = [number, palette](bool enabled) {
    return [number, palette, enabled](QPainter& p) {
      const QColor ink = enabled ? kInk : QColor(175, 175, 185);
      p.setPen(Pen(ink, 1.2));
      if (palette) {
        p.setBrush(QColor::fromHsv((number * 36) % 360, enabled ? 90 : 15, 250));
        p.drawEllipse(QRectF(2, 2, 28, 28));
      } else {
        p.setBrush(enabled ? QColor(235, 235, 245) : QColor(246, 246, 248));
        p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
      }
      QFont font;
      font.setPixelSize(20);
      font.setBold(true);
      p.setFont(font);
      p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QString::number(number));
    };
  };
  QIcon icon = IconOf(face(true));
  for (int size : {16, 24, 32, 48}) {
    icon.addPixmap(QPixmap::fromImage(Draw(size, face(false))), QIcon::Disabled);
  }
  return icon;
}

namespace {

void PaintOpenGlyph(QPainter& p) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(QColor(240, 200, 90));
  p.drawRect(QRectF(3, 9, 24, 18));
  p.setBrush(QColor(250, 220, 120));
  QPainterPath flap;
  flap.moveTo(3, 27);
  flap.lineTo(8, 14);
  flap.lineTo(30, 14);
  flap.lineTo(27, 27);
  flap.closeSubpath();
  p.drawPath(flap);
}

void PaintZoomFitGlyph(QPainter& p) {
  // The magnifier inside the corners of a frame it fills.
  p.setPen(Pen(kBlue, 2.2));
  for (const QPointF& corner : {QPointF(2, 2), QPointF(30, 2), QPointF(2, 30)}) {
    const double dx = corner.x() < 16 ? 6 : -6;
    const double dy = corner.y() < 16 ? 6 : -6;
    p.drawLine(corner, QPointF(corner.x() + dx, corner.y()));
    p.drawLine(corner, QPointF(corner.x(), corner.y() + dy));
  }
  p.save();
  p.translate(4, 4);
  p.scale(0.75, 0.75);
  PaintMagnifier(p);
  p.restore();
}

void PaintTurnGlyph(QPainter& p, Glyph glyph) {
  // A curved arrow back to the left (undo) or on to the right (redo).
  if (glyph == Glyph::kRedo) {
    p.translate(32, 0);
    p.scale(-1, 1);
  }
  p.setPen(Pen(kBlue, 3.5));
  p.setBrush(Qt::NoBrush);
  QPainterPath bend;
  bend.moveTo(10, 12);
  bend.lineTo(19, 12);
  bend.cubicTo(30, 12, 30, 27, 19, 27);
  bend.lineTo(13, 27);
  p.drawPath(bend);
  p.setPen(Pen(kBlue, 1));
  p.setBrush(kBlue);
  QPainterPath head;
  head.moveTo(2, 12);
  head.lineTo(12, 4);
  head.lineTo(12, 20);
  head.closeSubpath();
  p.drawPath(head);
}

void PaintWarningGlyph(QPainter& p) {
  QPainterPath warn;
  warn.moveTo(16, 3);
  warn.lineTo(30, 28);
  warn.lineTo(2, 28);
  warn.closeSubpath();
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(QColor(250, 210, 60));
  p.drawPath(warn);
  p.setPen(Pen(kInk, 3));
  p.drawLine(QPointF(16, 11), QPointF(16, 19));
  p.drawPoint(QPointF(16, 24));
}

void PaintScreenshotGlyph(QPainter& p) {
  // A framed picture: hills under a sun.
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(QColor(200, 230, 255));
  p.drawRect(QRectF(2, 5, 28, 22));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  QPainterPath hills;
  hills.moveTo(3, 26);
  hills.lineTo(11, 15);
  hills.lineTo(17, 21);
  hills.lineTo(22, 16);
  hills.lineTo(29, 26);
  hills.closeSubpath();
  p.drawPath(hills);
  p.setBrush(QColor(250, 200, 40));
  p.drawEllipse(QPointF(24, 11), 3, 3);
}

void PaintInfoGlyph(QPainter& p, Glyph glyph) {
  // An object is a stack of cels; a cel is one sheet. Both with "i".
  p.setPen(Pen(kInk, 1.2));
  if (glyph == Glyph::kObjectInfo) {
    p.setBrush(QColor(250, 220, 160));
    p.drawRect(QRectF(8, 2, 18, 18));
    p.drawRect(QRectF(5, 5, 18, 18));
  }
  p.setBrush(QColor(255, 240, 220));
  p.drawRect(QRectF(2, 8, 18, 18));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(16, 16, 15, 15));
  p.setPen(Pen(Qt::white, 2.5));
  p.drawPoint(QPointF(23.5, 19.5));
  p.drawLine(QPointF(23.5, 23), QPointF(23.5, 28));
}

void PaintResetGlyph(QPainter& p) {
  p.setPen(Pen(kGreen, 3));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(5, 5, 22, 22), 90 * 16, 270 * 16);
  p.setBrush(kGreen);
  p.setPen(Pen(kGreen, 1));
  QPainterPath head;
  head.moveTo(16, 1);
  head.lineTo(23, 5);
  head.lineTo(16, 10);
  head.closeSubpath();
  p.drawPath(head);
}

}  // namespace

QIcon GlyphIcon(Glyph glyph) {
  return IconOf([glyph](QPainter& p) {
    switch (glyph) {
      case Glyph::kOpen:
        PaintOpenGlyph(p);
        break;
      case Glyph::kZoomIn:
      case Glyph::kZoomOut:
      case Glyph::kZoomHome:
        PaintMagnifier(p);
        p.setPen(Pen(kInk, 2.2));
        if (glyph == Glyph::kZoomHome) {
          QFont font;
          font.setPixelSize(10);
          font.setBold(true);
          p.setFont(font);
          p.drawText(QRectF(4, 4, 18, 18), Qt::AlignCenter, "1:1");
        } else {
          p.drawLine(QPointF(9, 13), QPointF(17, 13));
          if (glyph == Glyph::kZoomIn) p.drawLine(QPointF(13, 9), QPointF(13, 17));
        }
        break;
      case Glyph::kFitWindow:
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 26, 26));
        p.setPen(Pen(kBlue, 2.2));
        p.drawLine(QPointF(7, 7), QPointF(14, 14));
        p.drawLine(QPointF(25, 25), QPointF(18, 18));
        p.drawLine(QPointF(7, 7), QPointF(7, 12));
        p.drawLine(QPointF(7, 7), QPointF(12, 7));
        p.drawLine(QPointF(25, 25), QPointF(25, 20));
        p.drawLine(QPointF(25, 25), QPointF(20, 25));
        break;
      case Glyph::kZoomFit:
        PaintZoomFitGlyph(p);
        break;
      case Glyph::kUndo:
      case Glyph::kRedo:
        PaintTurnGlyph(p, glyph);
        break;
      case Glyph::kErrorReport:
        PaintWarningGlyph(p);
        break;
      case Glyph::kSetInfo: {
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(Pen(Qt::white, 3.5));
        p.drawPoint(QPointF(16, 9.5));
        p.drawLine(QPointF(16, 15), QPointF(16, 23));
        break;
      }
      case Glyph::kFindFkiss:
        PaintDoll(p, QRectF(2, 2, 20, 20));
        p.setPen(Pen(QColor(250, 180, 0), 2));
        for (int i = 0; i < 4; ++i) {
          const double x = 24, y = 22;
          p.drawLine(QPointF(x - 6 + (i % 2) * 12, y - 6 + (i / 2) * 12), QPointF(x, y));
        }
        break;
      case Glyph::kPauseFkiss:
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRoundedRect(QRectF(8, 5, 6, 22), 1.5, 1.5);
        p.drawRoundedRect(QRectF(18, 5, 6, 22), 1.5, 1.5);
        break;
      case Glyph::kThumbnail:
        // The camera: a small picture of the doll kept beside it.
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(QColor(90, 90, 110));
        p.drawRoundedRect(QRectF(2, 9, 28, 19), 3, 3);
        p.drawRect(QRectF(10, 5, 12, 5));
        p.setBrush(QColor(200, 220, 255));
        p.drawEllipse(QPointF(16, 18.5), 6, 6);
        break;
      case Glyph::kScreenshot:
        PaintScreenshotGlyph(p);
        break;
      case Glyph::kObjectInfo:
      case Glyph::kCelInfo:
        PaintInfoGlyph(p, glyph);
        break;
      case Glyph::kBuildLzh:
        // A parcel tied up: the doll packed into one archive.
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(QColor(200, 160, 100));
        p.drawRect(QRectF(3, 8, 26, 20));
        p.setBrush(QColor(220, 185, 130));
        p.drawRect(QRectF(3, 4, 26, 6));
        p.setPen(Pen(QColor(180, 30, 30), 2.5));
        p.drawLine(QPointF(16, 4), QPointF(16, 28));
        break;
      case Glyph::kReset:
        PaintResetGlyph(p);
        break;
    }
  });
}

}  // namespace luma::app
