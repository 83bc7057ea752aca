#include "core/render/instance_geometry.h"

#include <gtest/gtest.h>

#include "core/gfx/software_device.h"
#include "core/model/cel_codec.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"

namespace luma {
namespace {

class GeometryTest : public ::testing::TestWithParam<bool> {
 protected:
  GeometryTest() { device_.mutable_flags().paletted_textures = GetParam(); }

  // An 8-bit cel of w x h with the given non-zero pixels, decoded and placed.
  CelInstance& Instance(int w, int h, std::vector<std::pair<int, int>> opaque, int xo = 0,
                        int yo = 0) {
    std::vector<uint32_t> pixels(w * h, 0);
    for (auto [x, y] : opaque) pixels[y * w + x] = 5;
    auto cel = std::make_unique<KissCel>();
    EXPECT_TRUE(
        DecodeCel(*cel, testing::MakeCel(8, w, h, pixels, xo, yo), {&device_, &pool_, true}));
    ApplyPalette(*cel, KissPalette::DefaultTable(), false);
    auto instance = std::make_unique<CelInstance>();
    instance->cel = cel.get();
    EXPECT_TRUE(BuildInstanceGeometry(device_, *instance).ok());
    cels_.push_back(std::move(cel));
    instances_.push_back(std::move(instance));
    return *instances_.back();
  }

  static const TexturedVertex* Vertices(CelInstance& instance) {
    return reinterpret_cast<const TexturedVertex*>(instance.geometry.vertex_buffer->Lock());
  }

  SoftwareDevice device_;
  TexturePool pool_;
  FakeHost host_;
  std::vector<std::unique_ptr<KissCel>> cels_;
  std::vector<std::unique_ptr<CelInstance>> instances_;
};

TEST_P(GeometryTest, OnePixelCelIsOneTileOfFourVertices) {
  CelInstance& dot = Instance(1, 1, {{0, 0}});
  const InstanceGeometry& g = dot.geometry;
  EXPECT_EQ(g.columns, 1);
  EXPECT_EQ(g.rows, 1);
  EXPECT_EQ(g.vertex_count(), 4);
  EXPECT_EQ(g.vertex_buffer->length(), 4 * sizeof(TexturedVertex));
  ASSERT_EQ(QuadCount(dot), 1);
  const TexturedVertex* v = Vertices(dot);
  // Strip order bottom-left, top-left, bottom-right, top-right; y negated.
  EXPECT_EQ(v[0].x, 0);
  EXPECT_EQ(v[0].y, -16);
  EXPECT_EQ(v[1].y, 0);
  EXPECT_EQ(v[3].x, 16);
  EXPECT_EQ(v[0].u, 0);
  EXPECT_EQ(v[0].v, 1);
  EXPECT_EQ(v[3].u, 1);
  EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
}

TEST_P(GeometryTest, TilesCoverTheCelInStripsPerRow) {
  // 33 x 17: 3 x 2 tiles; visible pixels only in tiles (0, 0) and (2, 1).
  CelInstance& inst = Instance(33, 17, {{3, 3}, {32, 16}}, 4, 6);
  const InstanceGeometry& g = inst.geometry;
  EXPECT_EQ(g.columns, 3);
  EXPECT_EQ(g.rows, 2);
  EXPECT_EQ(g.vertices_per_row(), 8);
  EXPECT_EQ(g.vertex_count(), 16);
  EXPECT_EQ(g.opacity, (TileOpacityMap{1, 0, 0, 0, 0, 1}));
  ASSERT_EQ(QuadCount(inst), 2);
  EXPECT_EQ(g.quads[1].first_vertex, 2 * (4 * 1 + 2));
  EXPECT_EQ(g.quads[1].x, 32);
  EXPECT_EQ(g.quads[1].y, 16);
  EXPECT_EQ(g.quads[1].instance, &inst);
  // The cel's own offsets, since the line gave none.
  EXPECT_EQ(inst.x_offset, 4);
  EXPECT_EQ(inst.y_offset, 6);
  // Tile k starts at vertex 2k of its row: its left edge is tile k-1's right.
  const TexturedVertex* v = Vertices(inst);
  EXPECT_EQ(v[2].x, 16);
  EXPECT_EQ(v[4].x, 32);
  EXPECT_EQ(v[6].x, 48);
  EXPECT_EQ(v[12].x, 32);
  EXPECT_EQ(v[12].y, -32);
  EXPECT_EQ(v[13].y, -16);
}

TEST_P(GeometryTest, ATileWhoseLastTexelIsItsOnlyVisibleOneIsVisible) {
  CelInstance& inst = Instance(32, 32, {{15, 15}});
  EXPECT_EQ(inst.geometry.opacity, (TileOpacityMap{1, 0, 0, 0}));
}

TEST_P(GeometryTest, TransparencyRewritesVertexAlphaOnlyOnChange) {
  CelInstance& inst = Instance(20, 20, {{0, 0}});
  EXPECT_TRUE(SetInstanceTransparency(inst, 300));
  EXPECT_EQ(inst.transparency, 255);
  EXPECT_EQ(Vertices(inst)[7].diffuse, 0x00FFFFFFu);
  EXPECT_TRUE(SetInstanceTransparency(inst, -5));
  EXPECT_EQ(inst.transparency, 0);
  EXPECT_TRUE(SetInstanceTransparency(inst, 128));
  EXPECT_EQ(Vertices(inst)[11].diffuse, 0x7FFFFFFFu);
  // Mark a vertex: setting the same value again must not touch the buffer.
  auto* v = reinterpret_cast<TexturedVertex*>(inst.geometry.vertex_buffer->Lock());
  v[0].diffuse = 0x12345678;
  EXPECT_FALSE(SetInstanceTransparency(inst, 128));
  EXPECT_EQ(v[0].diffuse, 0x12345678u);
}

TEST_P(GeometryTest, RebuildFollowsAMovedRegion) {
  CelInstance& inst = Instance(20, 10, {{19, 0}});
  KissCel& cel = *inst.cel;
  const float u_before = Vertices(inst)[4].u;
  cel.texture_x = static_cast<uint16_t>(cel.texture_x + 16);
  RebuildInstanceVertices(inst);
  EXPECT_FLOAT_EQ(Vertices(inst)[4].u, u_before + 16.0f / cel.texture_width);
  ASSERT_EQ(QuadCount(inst), 1);
  EXPECT_EQ(inst.geometry.quads[0].x, 16);
}

TEST_P(GeometryTest, CelsWithoutTexturesGetNoGeometry) {
  KissCel missing;
  CelInstance inst;
  inst.cel = &missing;
  EXPECT_TRUE(BuildInstanceGeometry(device_, inst).ok());
  EXPECT_FALSE(inst.geometry.drawable());
  EXPECT_EQ(QuadCount(inst), 0);
  EXPECT_TRUE(SetInstanceTransparency(inst, 9));
  RebuildInstanceVertices(inst);
}

INSTANTIATE_TEST_SUITE_P(PalettedAndEmulated, GeometryTest, ::testing::Bool());

}  // namespace
}  // namespace luma
