#include <gtest/gtest.h>

#include <filesystem>

#include "core/files/cnf_text.h"
#include "core/gfx/image.h"
#include "core/render/renderer.h"
#include "core/render/view_transform.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::DescribeDoll;
using testing::DiskDoll;

// The doll's archive again with its CNF replaced by `cnf`.
std::vector<uint8_t> WithCnf(const std::vector<testing::CorpusMember>& members,
                             const std::string& cnf_name, const std::string& cnf) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const testing::CorpusMember& m : members) {
    const bool is_cnf = m.name == cnf_name;
    files.emplace_back(m.name, is_cnf ? cnf : std::string(m.bytes.begin(), m.bytes.end()));
  }
  return testing::TestDollArchive(files);
}

// The frames of all ten sets, one after another, at the playfield's size.
std::vector<uint32_t> RenderAllSets(RenderDevice& device, DollModel& doll) {
  std::vector<uint32_t> pixels;
  FrameRenderer renderer(device);
  for (int set = 0; set < kSetCount; ++set) {
    Scene scene;
    scene.doll = &doll;
    scene.set = set;
    const int w = doll.playfield.width;
    const int h = doll.playfield.height;
    const ViewTransform t = ComputeViewTransform(SceneViewGeometry(scene, w, h, ZoomScale(0)));
    std::unique_ptr<Surface> target;
    if (device.CreateRenderTarget(t.width, t.height, TextureFormat::kX8R8G8B8, 0, &target) !=
            DeviceResult::kOk ||
        renderer.RenderToTarget(*target, scene, t) != DeviceResult::kOk) {
      ADD_FAILURE() << "set " << set << " not drawn";
      continue;
    }
    const Image frame = Image::CopyOf(target->View(), 0, 0, w, h);
    pixels.insert(pixels.end(), frame.pixels.begin(), frame.pixels.end());
  }
  return pixels;
}

class CorpusRoundTripTest : public ::testing::TestWithParam<bool> {};

// Every corpus doll written by a writer loads again to the same doll, and
// shows the same frames in every set.
TEST_P(CorpusRoundTripTest, WrittenCnfLoadsToTheSameDoll) {
  LUMA_REQUIRE_CORPUS();
  const bool reformat = GetParam();
  for (const fs::path& archive : testing::CorpusDollArchives()) {
    SCOPED_TRACE(archive.filename().string());
    DiskDoll doll;
    auto doc = doll.OpenPath(archive.string());
    ASSERT_TRUE(doc);
    const std::string before = DescribeDoll(doc->model(), doc->fkiss());
    const CnfText cnf = reformat
                            ? FormatReformattedCnf(doc->model(), doc->fkiss(), {}, HintValues{})
                            : FormatPreservedCnf(doc->model(), doc->fkiss(), {}, HintValues{});
    const std::vector<uint8_t> image =
        WithCnf(testing::ReadArchiveMembers(archive), doc->cnf_name(), cnf.text);
    const std::string copy = doll.Path("copy.lzh");
    testing::WriteFile(copy,
                       std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
    auto again = doll.OpenPath(copy);
    ASSERT_TRUE(again);
    EXPECT_EQ(DescribeDoll(again->model(), again->fkiss()), before);
    EXPECT_TRUE(RenderAllSets(doll.device(), again->model()) ==
                RenderAllSets(doll.device(), doc->model()))
        << "the frames differ";
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, CorpusRoundTripTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Reformat" : "Preserve"; });

}  // namespace
}  // namespace luma
