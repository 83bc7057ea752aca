#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;

class ToolTest : public testing::ToolFixture {
 protected:
  // A 6 x 4 doll: a black background, a red border, a 3 x 2 red cel at
  // (1, 1) in set 0 and in set 2 at (0, 0), where palette group 1 makes it green.
  std::string Doll() {
    std::vector<uint32_t> g0(32, 0xFF0000), g1(32, 0x00FF00);
    g0[0] = g1[0] = 0;
    return doll_.WriteDoll("(6,4)\n[1\n%p.kcf\n#0 a.cel :0 2\n$0 1,1\n$0\n$1 0,0\n",
                           {{"p.kcf", testing::MakeKcf({g0, g1})},
                            {"a.cel", testing::MakeCel(8, 3, 2, {1, 1, 1, 1, 1, 1})}});
  }
};

TEST_F(ToolTest, RenderWritesThePlayfieldOfTheSet) {
  const std::string doll = Doll();
  const std::string bmp = (out_ / "frame.bmp").string();
  ProgramResult r = Tool({"render", doll, "-o", bmp});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  Image image = testing::ReadBmp(testing::ReadFile(bmp));
  ASSERT_EQ(image.width, 6);
  ASSERT_EQ(image.height, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool cel = x >= 1 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(image.at(x, y), cel ? 0xFFFF0000u : 0xFF000000u) << x << "," << y;
    }
  }

  // Set 2 shows palette group 1; --palette overrides it; PNG by the extension.
  const std::string png = (out_ / "frame.png").string();
  for (auto [extra, color] : {std::pair<std::vector<std::string>, uint32_t>{{}, 0xFF00FF00u},
                              {{"--palette", "0"}, 0xFFFF0000u}}) {
    std::vector<std::string> args = {"render", doll, "--set", "2", "-o", png};
    args.insert(args.end(), extra.begin(), extra.end());
    r = Tool(args);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    QImage picture(QString::fromStdString(png));
    ASSERT_EQ(picture.width(), 6);
    EXPECT_EQ(picture.pixel(0, 0), color);
    EXPECT_EQ(picture.pixel(5, 3), 0xFF000000u);
  }
}

TEST_F(ToolTest, RenderAsAViewWithSizeZoomAndDeviceSwitches) {
  const std::string doll = Doll();
  const std::string bmp = (out_ / "view.bmp").string();
  const ProgramResult r = Tool({"render", doll, "-o", bmp, "--size", "21x16", "--zoom", "-1",
                                "--16bit", "--emulate-palettes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Image image = testing::ReadBmp(testing::ReadFile(bmp));
  ASSERT_EQ(image.width, 21);
  ASSERT_EQ(image.height, 16);
  // The 12 x 8 doll window centred in 22 x 16: the cel's first pixel at (7, 6).
  EXPECT_EQ(image.at(7, 6), 0xFFFF0000u);
  EXPECT_EQ(image.at(6, 6), 0xFF000000u);
  EXPECT_EQ(image.at(0, 0), 0xFFFF0000u);    // the border's face
  EXPECT_EQ(image.at(4, 3), 0xFFBF0000u);    // its dark edge, top left
  EXPECT_EQ(image.at(17, 12), 0xFFFF4040u);  // its light edge, bottom right
}

TEST_F(ToolTest, RenderFitsTheZoomToTheSizeAndSaysWhichLevelItUsed) {
  const std::string doll = Doll();  // 6 x 4: 10 x 8 units with the edge
  const std::string png = (out_ / "fit.png").string();
  for (auto [w, h, level] : std::vector<std::array<int, 3>>{
           {99, 80, -5}, {40, 33, -3}, {10, 8, 0}, {9, 8, 1}, {1, 1, 6}, {100, 80, -6}}) {
    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    const ProgramResult r = Tool({"render", doll, "-o", png, "--size", size, "--zoom", "fit"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, png + ": " + std::to_string(w) + " x " + std::to_string(h) +
                         ", set 0, palette group 0, zoom " + std::to_string(level) + "\n");
  }
  // Ten times larger, centred: the doll's corner 20 pixels in, the cel's
  // first pixel 10 further.
  const QImage shown(QString::fromStdString(png));
  EXPECT_EQ(shown.pixel(30, 30), 0xFFFF0000u);
  EXPECT_EQ(shown.pixel(29, 29), 0xFF000000u);
  // Without a size there is nothing to fit to.
  const ProgramResult unsized = Tool({"render", doll, "-o", png, "--zoom", "fit"});
  EXPECT_EQ(unsized.exit_code, 2);
  EXPECT_NE(unsized.err.find("--zoom fit needs --size"), std::string::npos) << unsized.err;
}

TEST_F(ToolTest, RenderRefusesBadArgumentsAndMissingDolls) {
  const std::string doll = Doll();
  const std::string out = (out_ / "x.bmp").string();
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"render", doll},
                                             {"render", doll, "-o", (out_ / "x.gif").string()},
                                             {"render", doll, "-o", out, "--set", "10"},
                                             {"render", doll, "-o", out, "--size", "0x5"},
                                             {"render", doll, "-o", out, "--zoom", "7"},
                                             {"render", doll, "-o", out, "--fast"},
                                             {"thumbnail"}}) {
    EXPECT_EQ(Tool(args).exit_code, 2) << args.back();
  }
  EXPECT_EQ(Tool({"render", (doll_ / "none.cnf").string(), "-o", out}).exit_code, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ToolTest, ThumbnailFollowsTheSettings) {
  const std::string doll = Doll();
  ProgramResult r = Tool({"thumbnail", doll});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string beside = (doll_ / "doll.KTN").string();
  EXPECT_EQ(r.out, beside + "\n");
  const Image image = testing::ReadBmp(testing::ReadFile(beside));
  EXPECT_EQ(image.width, 64);  // 6 x 4 fitted into 64 x 48
  EXPECT_EQ(image.height, 42);

  const std::filesystem::path folder = out_ / "thumbs";
  doll_.Options("Thumb Use Directory=1\nThumb Directory=" + folder.string() +
                "\nThumb Width=100\nThumb Height=100\n");
  r = Tool({"thumbnail", doll});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, (folder / "doll.KTN").string() + "\n");
  EXPECT_EQ(testing::ReadBmp(testing::ReadFile(folder / "doll.KTN")).width, 100);
}

// How many different colours a picture holds.
size_t Colours(const QImage& image) {
  std::set<QRgb> seen;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
  }
  return seen.size();
}

TEST_F(ToolTest, EveryCorpusDollRendersEverySetItUses) {
  LUMA_REQUIRE_CORPUS();
  for (const auto& archive : testing::CorpusDollArchives()) {
    // The sets in use, from loading the doll here.
    SoftwareDevice device;
    FakeHost host;
    CKissCnfDoc doc(host, device, Settings());
    ASSERT_TRUE(doc.OpenDoll(archive.string())) << archive;
    for (int set = 0; set < kSetCount; ++set) {
      if (!doc.model().sets[set].used) continue;
      const std::string png =
          (out_ / (archive.stem().string() + std::to_string(set) + ".png")).string();
      const ProgramResult r =
          Tool({"render", archive.string(), "--set", std::to_string(set), "-o", png});
      ASSERT_EQ(r.exit_code, 0) << archive << " set " << set << ": " << r.err;
      const QImage image(QString::fromStdString(png));
      EXPECT_EQ(image.width(), doc.model().playfield.width);
      EXPECT_GT(Colours(image), 8u) << archive << " set " << set << " looks blank";
    }
  }
}

}  // namespace
}  // namespace luma
