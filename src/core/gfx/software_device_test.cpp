#include "core/gfx/software_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/gfx/argb.h"

namespace luma {
namespace {

constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// A target of w x h pixels where world x is the pixel column and world y the
// negated pixel row, the way the renderer lays out cels.
class Canvas {
 public:
  Canvas(int w, int h, SoftwareDeviceOptions options = {}) : device(options), w_(w), h_(h) {
    EXPECT_EQ(device.CreateRenderTarget(w, h, TextureFormat::kA8R8G8B8, 0, &target),
              DeviceResult::kOk);
    device.SetRenderTarget(target.get());
    Project(1.0f);
    device.SetTransform(TransformKind::kWorld, Matrix4::Translation(-w / 2.0f, h / 2.0f, 0));
  }

  // World units per pixel, as a zoomed view sets it.
  void Project(float scale) {
    device.SetTransform(TransformKind::kProjection, Matrix4::OrthoLH(w_ * scale, h_ * scale, 0, 1));
  }

  std::unique_ptr<Texture> MakeTexture(int w, int h, TextureFormat format,
                                       const std::vector<uint32_t>& texels) {
    std::unique_ptr<Texture> t;
    EXPECT_EQ(device.CreateTexture(w, h, format, MemoryPool::kManaged, &t), DeviceResult::kOk);
    LockedRect lock = t->Lock();
    const int bpp = BytesPerTexel(format);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint32_t value = texels[y * w + x];
        std::memcpy(lock.bits + y * lock.pitch + x * bpp, &value, bpp);
      }
    }
    t->Unlock();
    return t;
  }

  // A quad covering world x..x+w, rows y..y+h, as a two-triangle strip.
  void Quad(float x, float y, float w, float h, float u0, float v0, float u1, float v1,
            uint32_t diffuse = kWhite, PrimitiveType type = PrimitiveType::kTriangleStrip) {
    std::vector<TexturedVertex> v = {{x, -(y + h), 0, diffuse, u0, v1},
                                     {x, -y, 0, diffuse, u0, v0},
                                     {x + w, -(y + h), 0, diffuse, u1, v1},
                                     {x + w, -y, 0, diffuse, u1, v0}};
    if (type == PrimitiveType::kTriangleList) v = {v[0], v[1], v[2], v[2], v[1], v[3]};
    Draw(v, type, type == PrimitiveType::kTriangleList ? 2 : 2);
  }

  void Draw(const std::vector<TexturedVertex>& v, PrimitiveType type, int count) {
    std::unique_ptr<VertexBuffer> vb;
    ASSERT_EQ(
        device.CreateVertexBuffer(v.size() * sizeof(TexturedVertex),
                                  VertexFormat::kPositionDiffuseTex1, MemoryPool::kManaged, &vb),
        DeviceResult::kOk);
    std::memcpy(vb->Lock(), v.data(), v.size() * sizeof(TexturedVertex));
    vb->Unlock();
    device.SetVertexFormat(VertexFormat::kPositionDiffuseTex1);
    device.SetStreamSource(vb.get(), sizeof(TexturedVertex));
    ASSERT_EQ(device.BeginScene(), DeviceResult::kOk);
    EXPECT_EQ(device.DrawPrimitive(type, 0, count), DeviceResult::kOk);
    ASSERT_EQ(device.EndScene(), DeviceResult::kOk);
  }

  uint32_t At(int x, int y) { return target->View().at(x, y); }

  SoftwareDevice device;
  std::unique_ptr<Surface> target;

 private:
  int w_, h_;
};

TEST(BlendTest, RoundsEveryChannelToNearest) {
  // Half-transparent red over opaque blue.
  EXPECT_EQ(raster::BlendSourceAlpha(0x80FF0000, kBlue, 128), 0xBF80007Fu);
  EXPECT_EQ(raster::BlendSourceAlpha(kRed, kBlue, 255), kRed);
  EXPECT_EQ(raster::BlendSourceAlpha(kRed, kBlue, 0), kBlue);
  for (uint32_t x = 0; x < 256; ++x) {
    for (uint32_t y = 0; y < 256; ++y) {
      ASSERT_EQ(raster::MulDiv255(x, y), (x * y * 2 + 255) / 510) << x << " " << y;
    }
  }
}

TEST(SoftwareDeviceTest, TexelsLandOnPixelsOneToOne) {
  Canvas c(8, 8);
  auto tex = c.MakeTexture(4, 4, TextureFormat::kA8R8G8B8,
                           {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004,  //
                            0xFF000005, 0xFF000006, 0xFF000007, 0xFF000008,  //
                            0xFF000009, 0xFF00000A, 0xFF00000B, 0xFF00000C,  //
                            0xFF00000D, 0xFF00000E, 0xFF00000F, 0xFF000010});
  ASSERT_EQ(c.device.Clear(kBlue), DeviceResult::kOk);
  c.device.SetTexture(0, tex.get());
  c.Quad(2, 3, 4, 4, 0, 0, 1, 1);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 7;
      const uint32_t expect = inside ? 0xFF000000u | ((y - 3) * 4 + (x - 2) + 1) : kBlue;
      EXPECT_EQ(c.At(x, y), expect) << x << "," << y;
    }
  }
}

TEST(SoftwareDeviceTest, HalfUnitShiftSamplesTheSameTexels) {
  Canvas a(8, 8), b(8, 8);
  std::vector<uint32_t> texels;
  for (int i = 0; i < 16; ++i) texels.push_back(0xFF000000u | (i * 0x0F0F0Fu));
  auto ta = a.MakeTexture(4, 4, TextureFormat::kA8R8G8B8, texels);
  auto tb = b.MakeTexture(4, 4, TextureFormat::kA8R8G8B8, texels);
  a.device.SetTexture(0, ta.get());
  b.device.SetTexture(0, tb.get());
  a.Quad(1, 1, 4, 4, 0, 0, 1, 1);
  b.Quad(0.5f, 0.5f, 4, 4, 0, 0, 1, 1);  // half a unit left and half a unit up
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
  }
}

TEST(SoftwareDeviceTest, PointSamplingUnderScalingProjection) {
  // Magnified three times: every texel becomes a 3 x 3 block.
  Canvas big(12, 12);
  auto t = big.MakeTexture(2, 2, TextureFormat::kA8R8G8B8,
                           {0xFF000001, 0xFF000002,  //
                            0xFF000003, 0xFF000004});
  big.Project(1.0f / 3);
  big.device.SetTransform(TransformKind::kWorld, Matrix4::Translation(-2, 2, 0));
  big.device.SetTexture(0, t.get());
  big.Quad(0, 0, 2, 2, 0, 0, 1, 1);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool inside = x < 6 && y < 6;
      const uint32_t expect = inside ? 0xFF000001u + (y / 3) * 2 + (x / 3) : 0;
      EXPECT_EQ(big.At(x, y), expect) << x << "," << y;
    }
  }

  // Reduced by two: every other texel of every other row.
  Canvas small(4, 4);
  std::vector<uint32_t> texels;
  for (int i = 0; i < 16; ++i) texels.push_back(0xFF000000u | i);
  auto s = small.MakeTexture(4, 4, TextureFormat::kA8R8G8B8, texels);
  small.Project(2.0f);
  small.device.SetTransform(TransformKind::kWorld, Matrix4::Translation(-4, 4, 0));
  small.device.SetTexture(0, s.get());
  small.Quad(0, 0, 4, 4, 0, 0, 1, 1);
  EXPECT_EQ(small.At(0, 0), 0xFF000000u);
  EXPECT_EQ(small.At(1, 0), 0xFF000002u);
  EXPECT_EQ(small.At(0, 1), 0xFF000008u);
  EXPECT_EQ(small.At(1, 1), 0xFF00000Au);
  EXPECT_EQ(small.At(2, 2), 0u);

  // Reduced by three and by ten, in tiles of 16: every sample lies exactly
  // on a texel edge and must take the texel that starts there.
  for (int factor : {3, 10}) {
    const int side = 48;
    Canvas c(side / factor + 2, side / factor + 2);
    std::vector<uint32_t> grid;
    for (int i = 0; i < side * side; ++i) grid.push_back(0xFF000000u | i);
    auto g = c.MakeTexture(side, side, TextureFormat::kA8R8G8B8, grid);
    const int w = side / factor + 2;
    c.Project(static_cast<float>(factor));
    c.device.SetTransform(TransformKind::kWorld,
                          Matrix4::Translation(-w * factor / 2.0f, w * factor / 2.0f, 0));
    c.device.SetTexture(0, g.get());
    for (int ty = 0; ty < side; ty += 16) {
      for (int tx = 0; tx < side; tx += 16) {
        c.Quad(tx, ty, 16, 16, tx / 48.0f, ty / 48.0f, (tx + 16) / 48.0f, (ty + 16) / 48.0f);
      }
    }
    for (int y = 0; y * factor < side; ++y) {
      for (int x = 0; x * factor < side; ++x) {
        ASSERT_EQ(c.At(x, y), 0xFF000000u | (y * factor * side + x * factor))
            << "factor " << factor << " at " << x << "," << y;
      }
    }
  }
}

TEST(SoftwareDeviceTest, PalettedTexturesLookUpTheSelectedPalette) {
  Canvas c(4, 1);
  auto t = c.MakeTexture(4, 1, TextureFormat::kP8, {0, 1, 2, 1});
  std::vector<PaletteEntry> first(256, {0, 0, 0, 255}), second(256, {0, 0, 0, 255});
  first[0] = {9, 9, 9, 0};  // index 0 is transparent whatever its colour
  first[1] = {255, 0, 0, 255};
  first[2] = {0, 255, 0, 128};
  second[0] = {0, 0, 0, 0};
  second[1] = {1, 2, 3, 255};
  ASSERT_EQ(c.device.SetPaletteEntries(30, first.data()), DeviceResult::kOk);
  ASSERT_EQ(c.device.SetPaletteEntries(31, second.data()), DeviceResult::kOk);
  c.device.Clear(kBlue);
  c.device.SetTexture(0, t.get());
  c.device.SetCurrentTexturePalette(30);
  c.Quad(0, 0, 4, 1, 0, 0, 1, 1);
  EXPECT_EQ(c.At(0, 0), kBlue);
  EXPECT_EQ(c.At(1, 0), kRed);
  EXPECT_EQ(c.At(2, 0), raster::BlendSourceAlpha(0x8000FF00, kBlue, 128));
  EXPECT_EQ(c.At(3, 0), kRed);

  c.device.Clear(kBlue);
  c.device.SetCurrentTexturePalette(31);
  c.Quad(0, 0, 4, 1, 0, 0, 1, 1);
  EXPECT_EQ(c.At(1, 0), 0xFF010203u);

  // Drawing through a palette that was never set is refused.
  c.device.SetCurrentTexturePalette(77);
  std::vector<TexturedVertex> v = {
      {0, -1, 0, kWhite, 0, 1}, {0, 0, 0, kWhite, 0, 0}, {4, -1, 0, kWhite, 1, 1}};
  std::unique_ptr<VertexBuffer> vb;
  ASSERT_EQ(c.device.CreateVertexBuffer(72, VertexFormat::kPositionDiffuseTex1,
                                        MemoryPool::kManaged, &vb),
            DeviceResult::kOk);
  std::memcpy(vb->Lock(), v.data(), 72);
  c.device.SetStreamSource(vb.get(), 24);
  c.device.BeginScene();
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleList, 0, 1), DeviceResult::kInvalidCall);
  c.device.EndScene();
}

TEST(SoftwareDeviceTest, OpaqueOrClearPalettesDrawLikeAnyOther) {
  // Palettes whose alphas are all 0 or 255 take a quicker path; one unused
  // half-transparent entry sends the same drawing down the general one.
  std::vector<uint32_t> indices;
  for (int i = 0; i < 64; ++i) indices.push_back(i % 5 == 0 || i % 7 == 0 ? 0 : 1 + i % 3);
  std::vector<PaletteEntry> quick(256, {0, 0, 0, 255});
  quick[0] = {7, 7, 7, 0};
  quick[1] = {255, 0, 0, 255};
  quick[2] = {0, 255, 0, 255};
  quick[3] = {0, 0, 255, 255};
  std::vector<PaletteEntry> general = quick;
  general[200].flags = 128;
  for (float scale : {2.0f, 4.0f, 1.0f, 1.0f / 3}) {
    Canvas a(40, 30), b(40, 30);
    auto ta = a.MakeTexture(16, 4, TextureFormat::kP8, indices);
    auto tb = b.MakeTexture(16, 4, TextureFormat::kP8, indices);
    ASSERT_EQ(a.device.SetPaletteEntries(0, quick.data()), DeviceResult::kOk);
    ASSERT_EQ(b.device.SetPaletteEntries(0, general.data()), DeviceResult::kOk);
    a.device.SetTexture(0, ta.get());
    b.device.SetTexture(0, tb.get());
    for (Canvas* c : {&a, &b}) {
      c->Project(scale);
      c->device.Clear(0xFF336699);
      c->device.SetCurrentTexturePalette(0);
      c->Quad(-5, -3, 32, 8, 0, 0, 1, 1);
    }
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(a.At(x, y), b.At(x, y)) << "scale " << scale << " at " << x << "," << y;
      }
    }
  }
}

TEST(SoftwareDeviceTest, DiffuseAlphaModulatesOnlyWhenAsked) {
  Canvas c(2, 1);
  auto t = c.MakeTexture(2, 1, TextureFormat::kA8R8G8B8, {kRed, 0x80FF0000});
  c.device.SetTexture(0, t.get());
  const uint32_t half = 0x80FFFFFF;

  c.device.Clear(kBlue);
  c.device.SetTextureStageState(0, TextureStageState::kAlphaOp,
                                static_cast<uint32_t>(TextureOp::kModulate));
  c.Quad(0, 0, 2, 1, 0, 0, 1, 1, half);
  EXPECT_EQ(c.At(0, 0), raster::BlendSourceAlpha(0x80FF0000, kBlue, 128));
  const uint32_t quarter = raster::MulDiv255(128, 128);
  EXPECT_EQ(c.At(1, 0),
            raster::BlendSourceAlpha((kRed & 0xFFFFFF) | (quarter << 24), kBlue, quarter));

  c.device.Clear(kBlue);
  c.device.SetTextureStageState(0, TextureStageState::kAlphaOp,
                                static_cast<uint32_t>(TextureOp::kSelectArg1));
  c.device.SetTextureStageState(0, TextureStageState::kAlphaArg1,
                                static_cast<uint32_t>(TextureArg::kTexture));
  c.Quad(0, 0, 2, 1, 0, 0, 1, 1, half);
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_EQ(c.At(1, 0), raster::BlendSourceAlpha(0x80FF0000, kBlue, 128));
}

TEST(SoftwareDeviceTest, ComplementedTextureInvertsColourNotCoverage) {
  Canvas c(2, 1);
  auto t = c.MakeTexture(2, 1, TextureFormat::kA8R8G8B8, {0xFF102030, 0x00FFFFFF});
  c.device.Clear(kBlue);
  c.device.SetTexture(0, t.get());
  c.device.SetTextureStageState(0, TextureStageState::kColorArg1,
                                static_cast<uint32_t>(TextureArg::kTextureComplement));
  c.device.SetTextureStageState(0, TextureStageState::kAlphaOp,
                                static_cast<uint32_t>(TextureOp::kSelectArg1));
  c.device.SetTextureStageState(0, TextureStageState::kAlphaArg1,
                                static_cast<uint32_t>(TextureArg::kTexture));
  c.Quad(0, 0, 2, 1, 0, 0, 1, 1, 0xFFFFFFFF);
  EXPECT_EQ(c.At(0, 0), 0xFFEFDFCFu);
  EXPECT_EQ(c.At(1, 0), kBlue);  // a transparent texel stays transparent
}

TEST(SoftwareDeviceTest, SixteenBitTexelsRepeatTheirNibbles) {
  Canvas c(2, 1);
  auto t = c.MakeTexture(2, 1, TextureFormat::kA4R4G4B4, {0xF123, 0x7A5C});
  c.device.Clear(0xFF000000);
  c.device.SetTexture(0, t.get());
  c.Quad(0, 0, 2, 1, 0, 0, 1, 1);
  EXPECT_EQ(c.At(0, 0), 0xFF112233u);
  EXPECT_EQ(c.At(1, 0), raster::BlendSourceAlpha(0x77AA55CC, 0xFF000000, 0x77));
}

TEST(SoftwareDeviceTest, StripAndTriangleListDrawTheSamePixels) {
  // The strip goes through the rectangle path, the list through the
  // general triangle path; both must agree pixel for pixel.
  for (float scale : {1.0f, 1.0f / 3, 2.0f, 0.75f}) {
    Canvas a(40, 30), b(40, 30);
    std::vector<uint32_t> texels;
    for (int i = 0; i < 64; ++i) texels.push_back(0xFF000000u | (i * 0x030507u));
    texels[9] = 0x40102030;
    auto ta = a.MakeTexture(8, 8, TextureFormat::kA8R8G8B8, texels);
    auto tb = b.MakeTexture(8, 8, TextureFormat::kA8R8G8B8, texels);
    for (Canvas* c : {&a, &b}) {
      c->Project(scale);
      c->device.Clear(kBlue);
    }
    a.device.SetTexture(0, ta.get());
    b.device.SetTexture(0, tb.get());
    a.Quad(-3, -2, 8, 8, 0, 0, 1, 1, 0xC0FFFFFF);
    b.Quad(-3, -2, 8, 8, 0, 0, 1, 1, 0xC0FFFFFF, PrimitiveType::kTriangleList);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(a.At(x, y), b.At(x, y)) << "scale " << scale << " at " << x << "," << y;
      }
    }
  }
}

TEST(SoftwareDeviceTest, SharedEdgesBlendEachPixelOnce) {
  // A half-transparent fan of four triangles around a centre on a pixel
  // centre, with diagonal edges: a pixel drawn twice would come out darker.
  Canvas c(16, 16);
  c.device.Clear(0xFF000000);
  const uint32_t color = 0x80FFFFFF;
  std::vector<ColoredVertex> fan = {{8, -8, 0, color},   {2, -2, 0, color},  {14, -2, 0, color},
                                    {14, -14, 0, color}, {2, -14, 0, color}, {2, -2, 0, color}};
  std::unique_ptr<VertexBuffer> vb;
  ASSERT_EQ(c.device.CreateVertexBuffer(fan.size() * 16, VertexFormat::kPositionDiffuse,
                                        MemoryPool::kManaged, &vb),
            DeviceResult::kOk);
  std::memcpy(vb->Lock(), fan.data(), fan.size() * 16);
  c.device.SetVertexFormat(VertexFormat::kPositionDiffuse);
  c.device.SetStreamSource(vb.get(), 16);
  c.device.SetTexture(0, nullptr);
  c.device.BeginScene();
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleFan, 0, 4), DeviceResult::kOk);
  c.device.EndScene();
  const uint32_t once = raster::BlendSourceAlpha(color, 0xFF000000, 128);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 2 && x < 14 && y >= 2 && y < 14;
      EXPECT_EQ(c.At(x, y), inside ? once : 0xFF000000u) << x << "," << y;
    }
  }
}

TEST(SoftwareDeviceTest, CounterClockwiseTrianglesAreCulled) {
  Canvas c(4, 4);
  c.device.Clear(kBlue);
  c.device.SetTexture(0, nullptr);
  // Swapping the middle vertices of a strip reverses its winding.
  c.Draw({{0, -4, 0, kRed, 0, 0},
          {4, -4, 0, kRed, 0, 0},
          {0, 0, 0, kRed, 0, 0},
          {4, 0, 0, kRed, 0, 0}},
         PrimitiveType::kTriangleStrip, 2);
  EXPECT_EQ(c.At(1, 1), kBlue);
  c.device.SetRenderState(RenderState::kCullMode, static_cast<uint32_t>(CullMode::kNone));
  c.Draw({{0, -4, 0, kRed, 0, 0},
          {4, -4, 0, kRed, 0, 0},
          {0, 0, 0, kRed, 0, 0},
          {4, 0, 0, kRed, 0, 0}},
         PrimitiveType::kTriangleStrip, 2);
  EXPECT_EQ(c.At(1, 1), kRed);
}

TEST(SoftwareDeviceTest, BorderSizedTrianglesFillExactlyOutsideAWindow) {
  // The border's fans reach a million units out; at ten times magnification
  // they must still stop exactly at the window edge.
  Canvas c(100, 80);
  c.Project(0.1f);
  c.device.SetTransform(TransformKind::kWorld, Matrix4::Translation(-5, 4, 0));
  c.device.Clear(kBlue);
  const float r = 1000000;
  const uint32_t face = kRed;
  // Everything left of and above the window (2, 1)..(8, 7), then right and below.
  std::vector<ColoredVertex> fans = {{2, -1, 0, face}, {2, -r, 0, face}, {-r, -r, 0, face},
                                     {-r, r, 0, face}, {r, r, 0, face},  {r, -1, 0, face},
                                     {8, -7, 0, face}, {8, -1, 0, face}, {r, -1, 0, face},
                                     {r, -r, 0, face}, {2, -r, 0, face}, {2, -7, 0, face}};
  std::unique_ptr<VertexBuffer> vb;
  ASSERT_EQ(c.device.CreateVertexBuffer(fans.size() * 16, VertexFormat::kPositionDiffuse,
                                        MemoryPool::kManaged, &vb),
            DeviceResult::kOk);
  std::memcpy(vb->Lock(), fans.data(), fans.size() * 16);
  c.device.SetVertexFormat(VertexFormat::kPositionDiffuse);
  c.device.SetStreamSource(vb.get(), 16);
  c.device.SetTexture(0, nullptr);
  c.device.BeginScene();
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleFan, 0, 4), DeviceResult::kOk);
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleFan, 6, 4), DeviceResult::kOk);
  c.device.EndScene();
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool window = x >= 20 && x < 80 && y >= 10 && y < 70;
      ASSERT_EQ(c.At(x, y), window ? kBlue : face) << x << "," << y;
    }
  }
}

TEST(SoftwareDeviceTest, RefusesBadCallsInsteadOfDrawing) {
  Canvas c(4, 4);
  std::unique_ptr<VertexBuffer> vb;
  ASSERT_EQ(c.device.CreateVertexBuffer(4 * 24, VertexFormat::kPositionDiffuseTex1,
                                        MemoryPool::kManaged, &vb),
            DeviceResult::kOk);
  c.device.SetVertexFormat(VertexFormat::kPositionDiffuseTex1);
  c.device.SetStreamSource(vb.get(), 24);
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleStrip, 0, 2),
            DeviceResult::kInvalidCall);  // outside a scene
  c.device.BeginScene();
  EXPECT_EQ(c.device.BeginScene(), DeviceResult::kInvalidCall);
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleStrip, 0, 3),
            DeviceResult::kInvalidCall);  // past the buffer's end
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleStrip, 0, 2), DeviceResult::kOk);
  vb.reset();  // a released buffer is unbound, not drawn from
  EXPECT_EQ(c.device.DrawPrimitive(PrimitiveType::kTriangleStrip, 0, 2),
            DeviceResult::kInvalidCall);
  c.device.EndScene();

  std::unique_ptr<Texture> t;
  EXPECT_EQ(c.device.CreateTexture(0, 16, TextureFormat::kP8, MemoryPool::kManaged, &t),
            DeviceResult::kInvalidCall);
  EXPECT_EQ(c.device.CreateTexture(32768, 16, TextureFormat::kP8, MemoryPool::kManaged, &t),
            DeviceResult::kInvalidCall);
  EXPECT_FALSE(t);
}

TEST(SoftwareDeviceTest, TextureMemoryIsAccountedAndEnforced) {
  SoftwareDeviceOptions options;
  options.texture_memory_bytes = 64 * 1024;
  options.row_padding = 12;
  SoftwareDevice device(options);
  std::unique_ptr<Texture> a, b;
  ASSERT_EQ(device.CreateTexture(16, 16, TextureFormat::kP8, MemoryPool::kManaged, &a),
            DeviceResult::kOk);
  EXPECT_EQ(a->Lock().pitch, 28);  // rows are padded; callers must use the pitch
  EXPECT_EQ(device.AvailableTextureMemory(), 64u * 1024 - 28 * 16);
  EXPECT_EQ(device.CreateTexture(256, 64, TextureFormat::kA8R8G8B8, MemoryPool::kManaged, &b),
            DeviceResult::kOutOfVideoMemory);
  a.reset();
  EXPECT_EQ(device.AvailableTextureMemory(), 64u * 1024);
}

TEST(SoftwareDeviceTest, SwapChainPresentsItsBackBuffer) {
  SoftwareDevice device;
  int presented = 0;
  uint32_t corner = 0;
  std::unique_ptr<SwapChain> chain;
  ASSERT_EQ(device.CreateSwapChain(
                0, 0,
                [&](const ImageView& frame) {
                  ++presented;
                  corner = frame.at(frame.width - 1, frame.height - 1);
                  EXPECT_EQ(frame.width, 1920);
                },
                &chain),
            DeviceResult::kOk);
  device.SetRenderTarget(chain->BackBuffer());
  device.Clear(0xFF123456);
  EXPECT_EQ(chain->Present(), DeviceResult::kOk);
  EXPECT_EQ(presented, 1);
  EXPECT_EQ(corner, 0xFF123456u);
  chain.reset();
  EXPECT_EQ(device.GetRenderTarget(), nullptr);
  EXPECT_EQ(device.Clear(0), DeviceResult::kInvalidCall);
}

}  // namespace
}  // namespace luma
