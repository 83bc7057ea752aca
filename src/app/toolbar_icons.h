#ifndef LUMA_APP_TOOLBAR_ICONS_H_
#define LUMA_APP_TOOLBAR_ICONS_H_

#include <QIcon>
#include <QImage>
#include <QPainter>

namespace luma::app {

// The program's pictures, drawn in code so that they scale and need no files.

// The program icon: a little paper doll.
QImage AppIconImage(int size);
// A document sheet with the doll on it; `archive` adds a strap for data sets.
QImage DocumentIconImage(int size, bool archive);
// The same two drawn on a 32 x 32 grid, for any paint device (the installed
// scalable icons are drawn by these).
void PaintAppIcon(QPainter& p);
void PaintDocumentIcon(QPainter& p, bool archive);

QIcon AppIcon();
QIcon SoundIcon(bool enabled);
QIcon MusicIcon(bool enabled);
// Bounding modes 0 All, 1 FKiSS, 2 Limited, 3 Visible, 4 None.
QIcon BoundingIcon(int mode);
// A numbered button face of the set (square) or palette (round swatch) toolbar.
QIcon NumberIcon(int number, bool palette);

enum class Glyph {
  kOpen,
  kZoomIn,
  kZoomOut,
  kZoomHome,
  kFitWindow,
  kZoomFit,
  kUndo,
  kRedo,
  kErrorReport,
  kSetInfo,
  kFindFkiss,
  kPauseFkiss,
  kScreenshot,
  kReset,
  kObjectInfo,
  kCelInfo,
  kThumbnail,
  kBuildLzh,
};
QIcon GlyphIcon(Glyph glyph);

}  // namespace luma::app

#endif  // LUMA_APP_TOOLBAR_ICONS_H_
