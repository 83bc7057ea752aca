#include "core/render/renderer.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/gfx/argb.h"
#include "core/gfx/software_device.h"
#include "core/gfx/software_rasterizer.h"
#include "core/model/doll_limits.h"
#include "core/render/instance_geometry.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::MakeCel;
using testing::MakeKcf;

// Group 0 and group 1 of the test palette: background, three colours, border.
constexpr uint32_t kGroup0[] = {0x102030, 0xE01234, 0x20C040, 0x3050D0, 0x808080};
constexpr uint32_t kGroup1[] = {0x302010, 0xF0F000, 0x00E0E0, 0xD020D0, 0x606060};

uint32_t Opaque(uint32_t rgb) { return 0xFF000000 | rgb; }

// A 16-bit texel as the device shows it: each channel's high nibble repeated.
uint32_t Reduced(uint32_t argb) { return ExpandA4R4G4B4(ReduceToA4R4G4B4(argb)); }

// 32 colours a group, so that it serves 256-colour cels.
std::vector<uint8_t> TestKcf() {
  std::vector<uint32_t> g0(std::begin(kGroup0), std::end(kGroup0));
  std::vector<uint32_t> g1(std::begin(kGroup1), std::end(kGroup1));
  g0.resize(32);
  g1.resize(32);
  return MakeKcf({g0, g1});
}

// An 8 x 6 doll: a 3 x 2 256-colour cel, a 2 x 2 16-colour cel under it, a
// true-colour cel with a half-transparent pixel, and the first cel again,
// cut by the right and bottom edges of the doll window.
constexpr char kBasicCnf[] =
    "(8,6)\n[4\n%p.kcf\n"
    "#0 a.cel :0 1\n#1 b.cel :0 1\n#2 c.cel :0 1\n#3 a.cel :0\n"
    "$0 1,1 2,2 5,4 6,5\n$1 0,0 4,3 0,0 *\n";

std::map<std::string, std::vector<uint8_t>> BasicFiles() {
  return {{"p.kcf", TestKcf()},
          {"a.cel", MakeCel(8, 3, 2, {1, 1, 1, 1, 1, 1})},
          {"b.cel", MakeCel(4, 2, 2, {2, 2, 2, 2})},
          {"c.cel", MakeCel(32, 2, 1, {0xFF0000FF, 0x800000FF})}};
}

// What the frame must show, given in doll pixels: the doll window as a grid
// of letters, around it a 2-unit frame (D dark along top and left, L light
// along bottom and right; the two corners where they meet diagonally are not
// checked) and the face colour F beyond.
struct Reference {
  std::vector<std::string> grid;
  bool edged = true;

  char At(int x, int y) const {
    const int ww = static_cast<int>(grid[0].size()), wh = static_cast<int>(grid.size());
    if (x >= 0 && x < ww && y >= 0 && y < wh) return grid[y][x];
    if (!edged || x < -2 || x >= ww + 2 || y < -2 || y >= wh + 2) return 'F';
    if (y < 0) return x >= ww ? '?' : 'D';
    if (x < 0) return y >= wh ? '?' : 'D';
    return 'L';
  }
};

// The doll window FKiSS may move and resize; all zero: the playfield.
struct Window {
  int x = 0, y = 0, width = 0, height = 0;
};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

class FrameTest : public ::testing::Test {
 protected:
  std::unique_ptr<testing::TestDoll> Load(
      const std::string& cnf, const std::map<std::string, std::vector<uint8_t>>& files) {
    auto doll = std::make_unique<testing::TestDoll>(device_, host_);
    testing::TempDir dir;
    EXPECT_TRUE(doll->Open(testing::WriteTestDoll(dir.path(), cnf, files)));
    EXPECT_TRUE(doll->model().report.empty()) << doll->model().report.ErrorText();
    return doll;
  }

  // One frame of the doll in a client of w x h at a zoom level, cut to the client.
  Image Render(testing::TestDoll& doll, int set, int w, int h, int zoom = 0, bool edged = true,
               Window window = {}) {
    Scene scene;
    scene.doll = &doll.model();
    scene.set = set;
    scene.edged_border = edged;
    scene.viewport_x = window.x;
    scene.viewport_y = window.y;
    scene.window_width = window.width;
    scene.window_height = window.height;
    const ViewTransform t = ComputeViewTransform(SceneViewGeometry(scene, w, h, ZoomScale(zoom)));
    std::unique_ptr<Surface> target;
    EXPECT_EQ(device_.CreateRenderTarget(t.width, t.height, TextureFormat::kX8R8G8B8, 0, &target),
              DeviceResult::kOk);
    FrameRenderer renderer(device_);
    EXPECT_EQ(renderer.RenderToTarget(*target, scene, t), DeviceResult::kOk);
    return Image::CopyOf(target->View(), 0, 0, w, h);
  }

  // Compares every pixel with the reference, mapping pixel centres to doll
  // points the way a centred view at the zoom level does.
  void ExpectFrame(const Image& image, const Reference& ref, std::map<char, uint32_t> legend,
                   int zoom) {
    const int factor = ZoomFactor(zoom);
    const int ww = static_cast<int>(ref.grid[0].size()), wh = static_cast<int>(ref.grid.size());
    const int half_w = (image.width + 1) / 2, half_h = (image.height + 1) / 2;
    for (int py = 0; py < image.height; ++py) {
      for (int px = 0; px < image.width; ++px) {
        const int dx = zoom <= 0 ? FloorDiv(px - half_w, factor) : (px - half_w) * factor;
        const int dy = zoom <= 0 ? FloorDiv(py - half_h, factor) : (py - half_h) * factor;
        const char c = ref.At(dx + ww / 2, dy + wh / 2);
        if (c == '?') continue;
        ASSERT_TRUE(legend.count(c)) << c;
        ASSERT_EQ(image.at(px, py), legend[c])
            << "pixel " << px << "," << py << " is doll " << dx + ww / 2 << "," << dy + wh / 2
            << " '" << c << "' at zoom " << zoom;
      }
    }
  }

  std::map<char, uint32_t> BasicLegend(bool sixteen_bit = false) {
    auto texel = [&](uint32_t argb) { return sixteen_bit ? Reduced(argb) : argb; };
    const uint32_t bg = Opaque(kGroup0[0]);
    return {{'B', bg},
            {'R', texel(Opaque(kGroup0[1]))},
            {'G', texel(Opaque(kGroup0[2]))},
            {'U', texel(0xFF0000FF)},
            {'h', raster::BlendSourceAlpha(texel(0x800000FF), bg, texel(0x800000FF) >> 24)},
            {'F', Opaque(kGroup0[4])},
            {'L', 0xFFC0C0C0},
            {'D', 0xFF404040}};
  }

  const Reference kBasicSet0{{"BBBBBBBB",    //
                              "BRRRBBBB",    //
                              "BRRRBBBB",    // the first cel line lies on top
                              "BBGGBBBB",    //
                              "BBBBBUhB",    //
                              "BBBBBBRR"}};  // cut by the window's edges

  SoftwareDevice device_;
  FakeHost host_;
};

TEST_F(FrameTest, DrawOrderBorderAndEdgedFrame) {
  auto doll = Load(kBasicCnf, BasicFiles());
  ExpectFrame(Render(*doll, 0, 14, 12), kBasicSet0, BasicLegend(), 0);
  Reference flat = kBasicSet0;
  flat.edged = false;
  ExpectFrame(Render(*doll, 0, 14, 12, 0, false), flat, BasicLegend(), 0);
}

TEST_F(FrameTest, CentredInLargeAndOddClients) {
  auto doll = Load(kBasicCnf, BasicFiles());
  ExpectFrame(Render(*doll, 0, 801, 600), kBasicSet0, BasicLegend(), 0);
  ExpectFrame(Render(*doll, 0, 15, 13), kBasicSet0, BasicLegend(), 0);
}

TEST_F(FrameTest, ZoomLevels) {
  auto doll = Load(kBasicCnf, BasicFiles());
  for (int zoom : {-6, -1, 0, 1, 6}) {
    ExpectFrame(Render(*doll, 0, 100, 80, zoom), kBasicSet0, BasicLegend(), zoom);
  }
}

TEST_F(FrameTest, DollWindowCutsCelsAtItsEdges) {
  auto doll = Load(kBasicCnf, BasicFiles());
  // A 4 x 4 window at (2, 1) inside the playfield: the red cel at (1, 1)
  // is cut at the window's left edge, the rest of the playfield is border.
  const Reference inside{{"RRBB",  //
                          "RRBB",  //
                          "GGBB",  //
                          "BBBU"}};
  ExpectFrame(Render(*doll, 0, 20, 15, 0, true, {2, 1, 4, 4}), inside, BasicLegend(), 0);
  ExpectFrame(Render(*doll, 0, 40, 30, -1, true, {2, 1, 4, 4}), inside, BasicLegend(), -1);
  // A 10 x 8 window at (-1, -1) reaches past the playfield: the band
  // around the playfield is face-coloured and lies under the cels, so the
  // cel at (6, 5) shows where it leaves the playfield.
  Reference beyond;
  beyond.grid.push_back("FFFFFFFFFF");
  for (const std::string& row : kBasicSet0.grid) beyond.grid.push_back("F" + row + "F");
  beyond.grid[6][9] = 'R';
  beyond.grid.push_back("FFFFFFFRRR");
  ExpectFrame(Render(*doll, 0, 16, 14, 0, true, {-1, -1, 10, 8}), beyond, BasicLegend(), 0);
}

TEST_F(FrameTest, PaletteGroupFollowsTheSet) {
  auto doll = Load(kBasicCnf, BasicFiles());
  // Set 1 uses group 1: other background, colours and border.
  const Reference set1{{"RRRBBBBB",  //
                        "RRRBBBBB",  //
                        "BBBBBBBB",  //
                        "BBBBGGBB",  //
                        "BBBBGGBB",  //
                        "BBBBBBBB"}};
  const std::map<char, uint32_t> legend = {{'B', Opaque(kGroup1[0])}, {'R', Opaque(kGroup1[1])},
                                           {'G', Opaque(kGroup1[2])}, {'F', Opaque(kGroup1[4])},
                                           {'L', 0xFFA0A0A0},         {'D', 0xFF202020}};
  ExpectFrame(Render(*doll, 1, 14, 12), set1, legend, 0);
  // And back: the cels' colours follow the set shown.
  ExpectFrame(Render(*doll, 0, 14, 12), kBasicSet0, BasicLegend(), 0);
}

TEST_F(FrameTest, EmulatedPalettesAndSixteenBitTexels) {
  auto paletted = Load(kBasicCnf, BasicFiles());
  const Image reference = Render(*paletted, 1, 20, 16);

  device_.mutable_flags().paletted_textures = false;
  auto emulated = Load(kBasicCnf, BasicFiles());
  EXPECT_EQ(Render(*emulated, 1, 20, 16).pixels, reference.pixels);
  ExpectFrame(Render(*emulated, 0, 14, 12), kBasicSet0, BasicLegend(), 0);

  device_.mutable_flags().sixteen_bit_texels = true;
  auto sixteen = Load(kBasicCnf, BasicFiles());
  ExpectFrame(Render(*sixteen, 0, 14, 12), kBasicSet0, BasicLegend(true), 0);
}

TEST_F(FrameTest, EachKcfColoursItsOwnCels) {
  // The same cel under two palettes; the second has other colours and the
  // palette editor then changes one of them.
  std::vector<uint32_t> other(32, 0x123456);
  other[0] = 0x102030;
  for (bool paletted : {true, false}) {
    device_.mutable_flags().paletted_textures = paletted;
    auto doll =
        Load("(2,1)\n%p.kcf\n%q.kcf\n#0 r.cel\n#1 r.cel *1\n$0 0,0 1,0\n",
             {{"p.kcf", TestKcf()}, {"q.kcf", MakeKcf({other})}, {"r.cel", MakeCel(8, 1, 1, {1})}});
    Image image = Render(*doll, 0, 2, 1);
    EXPECT_EQ(image.at(0, 0), Opaque(kGroup0[1])) << paletted;
    EXPECT_EQ(image.at(1, 0), 0xFF123456u) << paletted;
    doll->model().palettes()[1]->groups[0][1] = 0xFF654321;
    if (paletted) {
      ASSERT_EQ(doll->doc().device_palettes().UploadDevicePalettes(device_, doll->model()),
                DeviceResult::kOk);
    }
    image = Render(*doll, 0, 2, 1);
    EXPECT_EQ(image.at(0, 0), Opaque(kGroup0[1])) << paletted;
    EXPECT_EQ(image.at(1, 0), 0xFF654321u) << paletted;
  }
}

TEST_F(FrameTest, TransparencyScalesTextureAlpha) {
  // Three opaque cels at transparency 0, 128 and 255, and the half-
  // transparent true-colour pixel at 128.
  auto doll = Load(
      "(4,1)\n%p.kcf\n#0 r.cel\n#1 r.cel ;%t128\n#2 r.cel ;%t255\n#3 c.cel ;%t128\n"
      "$0 0,0 1,0 2,0 2,0\n",
      {{"p.kcf", TestKcf()},
       {"r.cel", MakeCel(8, 1, 1, {1})},
       {"c.cel", MakeCel(32, 2, 1, {0xFF0000FF, 0x800000FF})}});
  const Image image = Render(*doll, 0, 4, 1);
  const uint32_t bg = Opaque(kGroup0[0]);
  const uint32_t red = Opaque(kGroup0[1]);
  // A colour laid over the background with the texel alpha times the vertex alpha.
  auto over = [&](uint32_t color, uint32_t alpha) {
    return raster::BlendSourceAlpha((color & 0xFFFFFF) | (alpha << 24), bg, alpha);
  };
  const uint32_t vertex_alpha = 255 - 128;
  EXPECT_EQ(image.at(0, 0), red);
  EXPECT_EQ(image.at(1, 0), over(red, raster::MulDiv255(255, vertex_alpha)));
  // Invisible: what lies below shows (the true-colour cel at 128).
  EXPECT_EQ(image.at(2, 0), over(0xFF0000FF, raster::MulDiv255(255, vertex_alpha)));
  EXPECT_EQ(image.at(3, 0), over(0xFF0000FF, raster::MulDiv255(128, vertex_alpha)));
}

TEST_F(FrameTest, SmallestAndOddSizedCels) {
  // 1 x 1 and 33 x 17: every texel where it belongs, nothing past the edges.
  std::vector<uint32_t> pattern(33 * 17);
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = 1 + i % 3;
  auto doll = Load("(40,20)\n[4\n%p.kcf\n#0 dot.cel\n#1 big.cel\n$0 0,0 3,2\n",
                   {{"p.kcf", TestKcf()},
                    {"dot.cel", MakeCel(8, 1, 1, {3})},
                    {"big.cel", MakeCel(8, 33, 17, pattern)}});
  Reference ref;
  ref.grid.assign(20, std::string(40, 'B'));
  ref.grid[0][0] = 'U';
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 33; ++x) ref.grid[y + 2][x + 3] = "RGU"[(y * 33 + x) % 3];
  }
  auto legend = BasicLegend();
  legend['U'] = Opaque(kGroup0[3]);
  ExpectFrame(Render(*doll, 0, 44, 24), ref, legend, 0);
  EXPECT_EQ(doll->model().instances()[1]->geometry.vertex_count(), 16);
}

TEST_F(FrameTest, CelColumnsStayInPlaceInEveryClient) {
  // A 16 x 1 cel fills its 16-texel page, so a first column sampled from
  // the wrong side of an edge shows its last texel (U) instead of R, and a
  // row shifted by one shows the neighbour's colour. Eight copies at
  // different x, each on a row of its own.
  const std::string pattern = "RGURGURGURGURGUU";
  std::vector<uint32_t> indices;
  for (char c : pattern) indices.push_back(c == 'R' ? 1 : c == 'G' ? 2 : 3);
  std::string cnf = "(64,8)\n%p.kcf\n";
  std::string placement = "$0";
  for (int k = 0; k < 8; ++k) {
    cnf += "#" + std::to_string(k) + " s.cel\n";
    placement += " " + std::to_string(1 + k * 5 + k % 3) + "," + std::to_string(k);
  }
  auto doll =
      Load(cnf + placement + "\n", {{"p.kcf", TestKcf()}, {"s.cel", MakeCel(8, 16, 1, indices)}});
  const std::map<char, uint32_t> legend = {
      {'R', Opaque(kGroup0[1])}, {'G', Opaque(kGroup0[2])}, {'U', Opaque(kGroup0[3])}};
  const uint32_t bg = Opaque(kGroup0[0]);
  for (int zoom : {0, -2}) {
    const int f = ZoomFactor(zoom);
    for (int w : {640, 700, 800, 801, 1000, 1366, 1920}) {
      const int h = 600;
      const Image image = Render(*doll, 0, w, h, zoom);
      const int even_w = w + w % 2;
      for (int k = 0; k < 8; ++k) {
        const int x = 1 + k * 5 + k % 3;
        const int left = (x - 32) * f + even_w / 2;
        const int top = (k - 4) * f + h / 2;
        for (int i = -1; i <= 16 * f; ++i) {
          const uint32_t want = i < 0 || i == 16 * f ? bg : legend.at(pattern[i / f]);
          ASSERT_EQ(image.at(left + i, top), want)
              << "client " << w << " zoom " << zoom << " copy " << k << " pixel " << i;
        }
      }
    }
  }
}

TEST_F(FrameTest, CountersAndInstancesWithNothingToDraw) {
  auto doll = Load(kBasicCnf, BasicFiles());
  const RenderCounters counters = CountRenderResources(doll->model(), doll->doc().textures());
  EXPECT_EQ(counters.quads, 4);
  EXPECT_GE(counters.textures, 1);
  // Unmapped, without tiles, and with tiles but no texture (its cel could
  // not be made): all passed over, by frames, single tiles and cel export.
  auto& instances = doll->model().instances();
  instances[0]->mapped = false;
  instances[1]->geometry = InstanceGeometry();
  KissCel& blue = *instances[2]->cel;
  Texture* texture = blue.texture;
  blue.texture = nullptr;
  const Image image = Render(*doll, 0, 8, 6);
  EXPECT_EQ(image.at(1, 1), Opaque(kGroup0[0]));
  EXPECT_EQ(image.at(2, 3), Opaque(kGroup0[0]));
  EXPECT_EQ(image.at(5, 4), Opaque(kGroup0[0]));
  std::unique_ptr<Surface> target;
  ASSERT_EQ(device_.CreateRenderTarget(4, 4, TextureFormat::kA8R8G8B8, 0, &target),
            DeviceResult::kOk);
  device_.SetRenderTarget(target.get());
  device_.Clear(0);
  device_.BeginScene();
  for (int i : {1, 2}) {
    EXPECT_EQ(DrawCelCentred(device_, *instances[i], 4, 4, 0), DeviceResult::kOk);
  }
  EXPECT_EQ(DrawTile(device_, instances[2]->geometry.quads.at(0), 0, 0, 0, 0), DeviceResult::kOk);
  device_.EndScene();
  EXPECT_EQ(target->View().at(1, 1), 0u);
  blue.texture = texture;
}

TEST_F(FrameTest, CelsWithoutVisiblePixelsDrawNothing) {
  // An all-transparent cel has the empty visible box and no visible tile.
  auto doll = Load("(3,2)\n%p.kcf\n#0 z.cel\n#1 a.cel\n$0 0,0 0,0\n",
                   {{"p.kcf", TestKcf()},
                    {"z.cel", MakeCel(8, 3, 2, {0, 0, 0, 0, 0, 0})},
                    {"a.cel", MakeCel(8, 3, 2, {1, 1, 1, 1, 1, 1})}});
  const CelInstance& empty = *doll->model().instances()[0];
  EXPECT_TRUE(empty.cel->visible.empty());
  EXPECT_TRUE(empty.geometry.quads.empty());
  ASSERT_TRUE(empty.geometry.drawable());
  const Image image = Render(*doll, 0, 3, 2);
  for (uint32_t pixel : image.pixels) EXPECT_EQ(pixel, Opaque(kGroup0[1]));
}

// Positions near the ends of int (as a script restriction or an older
// model could leave them) are placed in wide arithmetic: the cels land far
// outside the client instead of wrapping around onto it.
TEST_F(FrameTest, PositionsAtTheEndsOfIntDrawNothingAndDoNotWrap) {
  auto doll = Load(kBasicCnf, BasicFiles());
  auto& instances = doll->model().instances();
  instances[0]->object->position[0] = {std::numeric_limits<int>::max(), 5};
  instances[0]->x_offset = kMaxCelOffset;
  instances[2]->object->position[0] = {std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::min()};
  instances[2]->y_offset = -1;
  const Reference rest{{"BBBBBBBB",    //
                        "BBBBBBBB",    //
                        "BBGGBBBB",    //
                        "BBGGBBBB",    //
                        "BBBBBBBB",    //
                        "BBBBBBRR"}};  // the second line of a.cel is another object
  for (int zoom : {-6, 0, 6}) {
    ExpectFrame(Render(*doll, 0, 100, 80, zoom), rest, BasicLegend(), zoom);
  }
}

TEST_F(FrameTest, CelCentredForExport) {
  auto doll = Load(kBasicCnf, BasicFiles());
  const CelInstance& cel = *doll->model().instances()[0];  // 3 x 2, red
  std::unique_ptr<Surface> target;
  ASSERT_EQ(device_.CreateRenderTarget(6, 4, TextureFormat::kA8R8G8B8, 0, &target),
            DeviceResult::kOk);
  device_.SetRenderTarget(target.get());
  device_.Clear(0);
  device_.BeginScene();
  EXPECT_EQ(DrawCelCentred(device_, cel, 6, 4, 0), DeviceResult::kOk);
  device_.EndScene();
  // The 3 x 2 frame centred: columns 1..3 (ceil(3/2) = 2 left of centre), rows 1..2.
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(target->View().at(x, y), inside ? Opaque(kGroup0[1]) : 0u) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace luma
