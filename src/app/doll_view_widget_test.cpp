#include "app/doll_view_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include "core/gfx/software_device.h"

namespace luma::app {
namespace {

constexpr uint32_t kTeal = 0xFF336699;
constexpr uint32_t kRose = 0xFFCC4466;

TEST(DollViewWidgetTest, ShowsWhatTheDevicePresentsAtOnce) {
  DollViewWidget widget;
  widget.resize(64, 48);
  widget.show();
  SoftwareDevice device;
  std::unique_ptr<SwapChain> chain;
  ASSERT_EQ(device.CreateSwapChain(64, 48, widget.MakePresenter(), &chain), DeviceResult::kOk);
  device.SetRenderTarget(chain->BackBuffer());

  // Two frames in a row, as a flash draws them: each is on screen when presented.
  device.Clear(kTeal);
  chain->Present();
  EXPECT_EQ(widget.frame().pixel(10, 10), kTeal);
  EXPECT_EQ(widget.viewport()->grab().toImage().pixel(63, 47), kTeal);
  device.Clear(kRose);
  chain->Present();
  EXPECT_EQ(widget.viewport()->grab().toImage().pixel(0, 0), kRose);
}

TEST(DollViewWidgetTest, PaintingAsksForAFrameWithoutRecursing) {
  DollViewWidget widget;
  widget.resize(32, 32);
  SoftwareDevice device;
  std::unique_ptr<SwapChain> chain;
  ASSERT_EQ(device.CreateSwapChain(32, 32, widget.MakePresenter(), &chain), DeviceResult::kOk);
  device.SetRenderTarget(chain->BackBuffer());
  int paints = 0;
  DollViewWidget::Handlers handlers;
  handlers.paint = [&] {
    ++paints;
    device.Clear(kRose);
    chain->Present();
  };
  widget.set_handlers(handlers);
  widget.show();
  QApplication::processEvents();
  const int before = paints;
  const QImage shown = widget.viewport()->grab().toImage();
  EXPECT_EQ(paints, before + 1);
  EXPECT_EQ(shown.pixel(5, 5), kRose);
}

TEST(DollViewWidgetTest, ScrollBarsFollowTheContentAndReportPositions) {
  DollViewWidget widget;
  widget.resize(100, 80);
  widget.show();
  std::vector<std::pair<int, int>> moves;
  QSize client;
  DollViewWidget::Handlers handlers;
  handlers.scrolled = [&](int x, int y) { moves.emplace_back(x, y); };
  handlers.resized = [&](QSize size) { client = size; };
  widget.set_handlers(handlers);

  widget.SetScrollSize(QSize(400, 300));
  QApplication::processEvents();
  const QSize viewport = widget.viewport()->size();
  EXPECT_EQ(widget.horizontalScrollBar()->maximum(), 400 - viewport.width());
  EXPECT_EQ(widget.verticalScrollBar()->pageStep(), viewport.height());
  EXPECT_EQ(widget.horizontalScrollBar()->singleStep(), viewport.width() / 10);
  widget.horizontalScrollBar()->setValue(30);
  widget.verticalScrollBar()->setValue(12);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back(), std::make_pair(30, 12));

  // A doll smaller than the window needs no scrolling.
  widget.SetScrollSize(QSize(20, 20));
  EXPECT_EQ(widget.horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(widget.verticalScrollBar()->maximum(), 0);

  widget.resize(150, 120);
  QApplication::processEvents();
  EXPECT_EQ(client, widget.viewport()->size());
}

TEST(DollViewWidgetTest, MouseEventsArriveInClientCoordinates) {
  DollViewWidget widget;
  widget.resize(100, 80);
  widget.show();
  std::vector<std::pair<QEvent::Type, QPoint>> seen;
  DollViewWidget::Handlers handlers;
  handlers.mouse = [&](QMouseEvent* e) { seen.emplace_back(e->type(), e->position().toPoint()); };
  widget.set_handlers(handlers);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 9),
                    widget.viewport()->mapToGlobal(QPointF(7, 9)), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget.viewport(), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(11, 13),
                      widget.viewport()->mapToGlobal(QPointF(11, 13)), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget.viewport(), &release);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(QEvent::MouseButtonPress, QPoint(7, 9)));
  EXPECT_EQ(seen[1], std::make_pair(QEvent::MouseButtonRelease, QPoint(11, 13)));
}

}  // namespace
}  // namespace luma::app
