#ifndef LUMA_APP_DOLL_VIEW_WIDGET_H_
#define LUMA_APP_DOLL_VIEW_WIDGET_H_

#include <QAbstractScrollArea>
#include <QImage>
#include <functional>

#include "core/gfx/render_device.h"

namespace luma::app {

// The window area of one doll: shows the frames the renderer presents through
// the view's swap chain, and reports sizes, scroll positions and input to
// whoever drives the doll. Coordinates are client pixels of the viewport.
class DollViewWidget : public QAbstractScrollArea {
 public:
  struct Handlers {
    // The client area changed size (the swap chain must follow).
    std::function<void(QSize client)> resized;
    // A scroll bar moved; both positions.
    std::function<void(int x, int y)> scrolled;
    // The area needs a frame: draw one and present it.
    std::function<void()> paint;
    std::function<void(QMouseEvent* event)> mouse;
    std::function<void(QWheelEvent* event)> wheel;
    std::function<void(QKeyEvent* event)> key;
  };

  explicit DollViewWidget(QWidget* parent = nullptr);
  void set_handlers(Handlers handlers) { handlers_ = std::move(handlers); }

  // The present function to make the view's swap chain with. It copies the
  // frame and shows it at once, so a sequence of frames (a flash) is seen.
  PresentFunction MakePresenter();
  const QImage& frame() const { return frame_; }

  // Scroll ranges: content size in pixels against the client size (kept
  // right as the client size changes).
  void SetScrollSize(QSize content);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void Show(const ImageView& frame);
  void Mouse(QMouseEvent* event);
  void UpdateRanges();

  Handlers handlers_;
  QImage frame_;
  QSize content_;
  bool painting_ = false;
};

}  // namespace luma::app

#endif  // LUMA_APP_DOLL_VIEW_WIDGET_H_
