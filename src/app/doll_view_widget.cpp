#include "app/doll_view_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstring>

namespace luma::app {

DollViewWidget::DollViewWidget(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setFrameStyle(QFrame::NoFrame);
  viewport()->setMouseTracking(true);
  // Every pixel is painted from the frame; nothing shows through.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

PresentFunction DollViewWidget::MakePresenter() {
  return [this](const ImageView& frame) { Show(frame); };
}

void DollViewWidget::Show(const ImageView& frame) {
  if (frame.width <= 0 || frame.height <= 0 || !frame.pixels) return;
  if (frame_.size() != QSize(frame.width, frame.height)) {
    frame_ = QImage(frame.width, frame.height, QImage::Format_RGB32);
  }
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(frame_.scanLine(y), frame.pixels + static_cast<size_t>(y) * frame.stride,
                static_cast<size_t>(frame.width) * 4);
  }
  // Inside a paint event the new frame is drawn by that event; otherwise now.
  if (!painting_) viewport()->repaint();
}

void DollViewWidget::SetScrollSize(QSize content) {
  content_ = content;
  UpdateRanges();
}

void DollViewWidget::UpdateRanges() {
  const QSize content = content_;
  QSize client = viewport()->size();
  // Content that fits the area with no bar needs none, even while bars
  // show: measured against the client they leave, they would keep each
  // other up.
  QSize bare = client;
  if (verticalScrollBar()->isVisible()) bare.rwidth() += verticalScrollBar()->width();
  if (horizontalScrollBar()->isVisible()) bare.rheight() += horizontalScrollBar()->height();
  if (content.width() <= bare.width() && content.height() <= bare.height()) client = bare;
  horizontalScrollBar()->setRange(0, std::max(0, content.width() - client.width()));
  horizontalScrollBar()->setPageStep(client.width());
  horizontalScrollBar()->setSingleStep(std::max(1, client.width() / 10));
  verticalScrollBar()->setRange(0, std::max(0, content.height() - client.height()));
  verticalScrollBar()->setPageStep(client.height());
  verticalScrollBar()->setSingleStep(std::max(1, client.height() / 10));
}

void DollViewWidget::paintEvent(QPaintEvent*) {
  if (handlers_.paint && !painting_) {
    painting_ = true;
    handlers_.paint();
    painting_ = false;
  }
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), Qt::black);
  if (!frame_.isNull()) painter.drawImage(0, 0, frame_);
}

void DollViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // Bars coming or going change the client size and so the ranges.
  UpdateRanges();
  if (handlers_.resized) handlers_.resized(viewport()->size());
}

void DollViewWidget::scrollContentsBy(int, int) {
  if (handlers_.scrolled) {
    handlers_.scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
  }
}

void DollViewWidget::Mouse(QMouseEvent* event) {
  if (handlers_.mouse) handlers_.mouse(event);
}

void DollViewWidget::mousePressEvent(QMouseEvent* event) { Mouse(event); }
void DollViewWidget::mouseMoveEvent(QMouseEvent* event) { Mouse(event); }
void DollViewWidget::mouseReleaseEvent(QMouseEvent* event) { Mouse(event); }
void DollViewWidget::mouseDoubleClickEvent(QMouseEvent* event) { Mouse(event); }

void DollViewWidget::wheelEvent(QWheelEvent* event) {
  if (handlers_.wheel) handlers_.wheel(event);
}

void DollViewWidget::keyPressEvent(QKeyEvent* event) {
  if (handlers_.key) {
    handlers_.key(event);
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

void DollViewWidget::keyReleaseEvent(QKeyEvent* event) {
  if (handlers_.key) {
    handlers_.key(event);
  } else {
    QAbstractScrollArea::keyReleaseEvent(event);
  }
}

}  // namespace luma::app
