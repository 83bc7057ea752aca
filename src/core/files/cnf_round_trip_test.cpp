#include <gtest/gtest.h>

#include <filesystem>

#include "core/files/cnf_line_kinds.h"
#include "core/files/cnf_text.h"
#include "core/gfx/image.h"
#include "core/host/text.h"
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

// The lines of a CNF that are not set lines or their continuations.
std::vector<std::string> LinesBesideSetLines(const CnfLines& lines) {
  std::vector<std::string> kept;
  const std::vector<LineInfo> infos = ClassifyLines(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (infos[i].kind != LineKind::kSet && infos[i].kind != LineKind::kSetContinuation) {
      kept.push_back(lines[i]);
    }
  }
  return kept;
}

// The preserving writer rewrites only the set lines of an unchanged doll;
// set lines it has to add at the end come with empty lines. The written CNF
// is read the way the doll read it: from an archive, or from disk.
void ExpectLinesKept(const CnfLines& read, const std::string& written, bool from_archive) {
  const std::vector<std::string> before = LinesBesideSetLines(read);
  const std::vector<std::string> after =
      LinesBesideSetLines(from_archive ? SplitArchiveCnfText(written) : SplitDiskCnfText(written));
  ASSERT_GE(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    ASSERT_EQ(after[i], before[i]) << "line " << i << " beside the set lines";
  }
  for (size_t i = before.size(); i < after.size(); ++i) EXPECT_EQ(after[i], "");
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
    doll.Write("copy.lzh", image);
    auto again = doll.OpenPath(copy);
    ASSERT_TRUE(again);
    EXPECT_EQ(DescribeDoll(again->model(), again->fkiss()), before);
    EXPECT_TRUE(RenderAllSets(doll.device(), again->model()) ==
                RenderAllSets(doll.device(), doc->model()))
        << "the frames differ";
    if (!reformat) ExpectLinesKept(doc->model().cnf_lines, cnf.text, true);
  }
}

// The large scripts of the corpus CNFs, whose cel files are absent: the
// lines of the missing cels and every event come back.
TEST_P(CorpusRoundTripTest, ScriptCnfsLoadToTheSameDoll) {
  LUMA_REQUIRE_CORPUS();
  const bool reformat = GetParam();
  for (const fs::directory_entry& entry : fs::directory_iterator(testing::CorpusDir() / "cnf")) {
    if (AsciiLowerCopy(entry.path().extension().string()) != ".cnf") continue;
    SCOPED_TRACE(entry.path().filename().string());
    DiskDoll doll;
    doll.Write("doll.cnf", testing::ReadFile(entry.path()));
    auto doc = doll.Open("doll.cnf");
    ASSERT_TRUE(doc);
    ASSERT_TRUE(doc->fkiss());
    const std::string before = DescribeDoll(doc->model(), doc->fkiss());
    const CnfText cnf = reformat
                            ? FormatReformattedCnf(doc->model(), doc->fkiss(), {}, HintValues{})
                            : FormatPreservedCnf(doc->model(), doc->fkiss(), {}, HintValues{});
    doll.Write("again.cnf", cnf.text);
    auto again = doll.Open("again.cnf");
    ASSERT_TRUE(again);
    EXPECT_EQ(DescribeDoll(again->model(), again->fkiss()), before);
    if (!reformat) ExpectLinesKept(doc->model().cnf_lines, cnf.text, false);
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, CorpusRoundTripTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Reformat" : "Preserve"; });

}  // namespace
}  // namespace luma
