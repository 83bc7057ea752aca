#include "core/render/view_transform.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

TEST(ViewTransformTest, ZoomSteps) {
  const float expected[] = {1 / 10.f, 1 / 8.f, 1 / 6.f, 1 / 4.f, 1 / 3.f, 1 / 2.f, 1,
                            2,        3,       4,       6,       8,       10};
  for (int level = -6; level <= 6; ++level) EXPECT_EQ(ZoomScale(level), expected[level + 6]);
  EXPECT_EQ(ZoomScale(-9), ZoomScale(-6));
  EXPECT_EQ(ZoomScale(9), ZoomScale(6));
  EXPECT_EQ(ScrolledSize(447, 1.0f / 3), 1344);  // 448 units at three pixels each
}

TEST(ViewTransformTest, SmallDollsAreCentredLargeOnesFollowTheScrollBars) {
  ViewGeometry g;
  g.client_width = 801;  // counts as 802
  g.client_height = 600;
  g.window_width = 448;
  g.window_height = 320;
  ViewTransform t = ComputeViewTransform(g);
  EXPECT_EQ(t.width, 802);
  EXPECT_EQ(t.ox, -224);
  EXPECT_EQ(t.oy, 160);
  EXPECT_EQ(t.projection, Matrix4::OrthoLH(802, 600, 0, 1));

  // A viewport moved by FKiSS shifts the playfield the other way.
  g.viewport_x = 10;
  g.viewport_y = 20;
  t = ComputeViewTransform(g);
  EXPECT_EQ(t.ox, -234);
  EXPECT_EQ(t.oy, 180);

  // Larger than the client at zoom -1: the left and top edges at the
  // client's, then moving with the scroll positions.
  g.viewport_x = g.viewport_y = 0;
  g.client_width = 400;
  g.client_height = 300;
  g.scale = 0.5f;
  g.scroll_range_x = 895;
  g.scroll_range_y = 639;
  t = ComputeViewTransform(g);
  EXPECT_EQ(t.ox, -100);  // world -100 is the client's left edge
  EXPECT_EQ(t.oy, 75);
  // Scrolled to the end (896 - 400 and 640 - 300): the doll's right and
  // bottom edges at the client's.
  g.scroll_x = 496;
  g.scroll_y = 340;
  t = ComputeViewTransform(g);
  EXPECT_EQ(t.ox, -348);  // doll x 248 at the left edge, 448 at the right
  EXPECT_EQ(t.oy, 245);   // doll y 170 at the top, 320 at the bottom
}

}  // namespace
}  // namespace luma
