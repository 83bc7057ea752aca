#include "core/view/palette_editor.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/gfx/argb.h"
#include "core/gfx/software_device.h"
#include "core/model/kcf_codec.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::MakeCel;
using testing::MakeKcf;

// `count` groups of `colors` colours, every group different: colour i of
// group g is (16 g, i, 0x40).
std::vector<uint8_t> GroupsKcf(int count, int colors) {
  std::vector<std::vector<uint32_t>> groups;
  for (int g = 0; g < count; ++g) {
    std::vector<uint32_t> group;
    for (int i = 0; i < colors; ++i) group.push_back(Argb(0, g * 16, i, 0x40));
    groups.push_back(group);
  }
  return MakeKcf(groups);
}

// A 4 x 2 doll with border index 3: a 2 x 1 cel of colours 1 and 2 at the
// top-left, coloured by p.kcf (16 colours, 2 groups); q.kcf (32 colours,
// 8 groups) colours nothing but is there to be edited.
class PaletteEditorTest : public ::testing::Test {
 protected:
  void Load(bool paletted) {
    device_.mutable_flags().paletted_textures = paletted;
    view_.reset();
    doll_ = std::make_unique<testing::TestDoll>(device_, host_);
    path_ = testing::WriteTestDoll(dir_.path(), "(4,2)\n[3\n%p.kcf\n%q.kcf\n#0 a.cel *0\n$0 0,0\n",
                                   {{"p.kcf", GroupsKcf(2, 16)},
                                    {"q.kcf", GroupsKcf(8, 32)},
                                    {"a.cel", MakeCel(4, 2, 1, {1, 2})}});
    ASSERT_TRUE(doll_->Open(path_));
    ASSERT_TRUE(doll_->model().report.empty()) << doll_->model().report.ErrorText();
    view_ = std::make_unique<CKissCnfView>(doll_->doc(), settings_);
    view_->SetPresenter([this](const ImageView& frame) {
      frame_.clear();
      for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) frame_.push_back(frame.at(x, y));
      }
      frame_width_ = frame.width;
    });
    view_->Resize(4, 2);
    view_->StartDoll(false);
    editor_ = std::make_unique<PaletteEditor>(*view_);
    editor_->Open();
  }
  uint32_t Shown(int x, int y) {
    EXPECT_EQ(view_->DrawFrame(), DeviceResult::kOk);
    return frame_[static_cast<size_t>(y * frame_width_ + x)];
  }
  std::string KcfPath(const char* name) { return (dir_ / name).string(); }

  testing::TempDir dir_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
  std::string path_;
  std::unique_ptr<testing::TestDoll> doll_;
  std::unique_ptr<CKissCnfView> view_;
  std::unique_ptr<PaletteEditor> editor_;
  std::vector<uint32_t> frame_;
  int frame_width_ = 0;
};

TEST(ColorGridTest, SixteenColoursUseFourByFourCells) {
  const ColorGridLayout small = ColorGridFor(16, 70, 70);
  EXPECT_EQ(small.columns, 4);
  EXPECT_EQ(ColorGridIndexAt(small, 69, 69), 15);
  EXPECT_EQ(ColorGridIndexAt(small, 17, 18), 4);
  const ColorGridLayout large = ColorGridFor(256, 262, 262);
  EXPECT_EQ(large.columns, 16);
  EXPECT_EQ(ColorGridIndexAt(large, 261, 261), 255);
  EXPECT_EQ(ColorGridIndexAt(large, 17, 0), 1);
  // Points on the frame outside the cells stay inside the grid.
  EXPECT_EQ(ColorGridIndexAt(small, 500, -3), 3);
  EXPECT_EQ(ColorGridControlSide(100), 86);
  EXPECT_EQ(ColorGridControlSide(102), 102);
}

TEST_F(PaletteEditorTest, SelectingAndChangingAColour) {
  Load(false);
  EXPECT_EQ(editor_->KcfNames(), (std::vector<std::string>{"p.kcf", "q.kcf"}));
  editor_->SelectColor(300);
  EXPECT_EQ(editor_->current_index(), 15);
  editor_->SelectColor(5);
  EXPECT_EQ(editor_->red(), 0);
  EXPECT_EQ(editor_->green(), 5);
  EXPECT_EQ(editor_->brightness(), 0x40);
  EXPECT_FALSE(editor_->CanResetColor());
  EXPECT_FALSE(editor_->modified(0));

  ASSERT_TRUE(editor_->SetRed(200));
  ASSERT_TRUE(editor_->SetGreen(150));
  ASSERT_TRUE(editor_->SetBlue(50));
  EXPECT_EQ(editor_->brightness(), 200);
  ASSERT_TRUE(editor_->SetBrightness(100));
  EXPECT_EQ(editor_->ColorAt(5), 0xFF643200u);  // (100, 50, 0), still opaque
  EXPECT_TRUE(editor_->modified(0));
  EXPECT_FALSE(editor_->modified(1));
  EXPECT_TRUE(editor_->CanResetColor());

  // Refused values leave everything as it was.
  EXPECT_FALSE(editor_->SetGreen(256));
  EXPECT_FALSE(editor_->SetBrightness(-1));
  EXPECT_EQ(editor_->ColorAt(5), 0xFF643200u);

  // A channel changed after a brightness change is kept by the next one.
  ASSERT_TRUE(editor_->SetBlue(80));
  ASSERT_TRUE(editor_->SetBrightness(90));
  EXPECT_EQ(editor_->ColorAt(5), 0xFF5A2846u);  // (90, 40, 70)

  editor_->ResetColor();
  EXPECT_EQ(editor_->ColorAt(5), 0xFF000540u);
  EXPECT_EQ(editor_->red(), 0);
  EXPECT_FALSE(editor_->CanResetColor());

  // Reset all brings back every colour and the group count, and the current
  // group stays within it.
  editor_->SelectKcf(1);
  editor_->SelectGroup(7);
  ASSERT_TRUE(editor_->SetRed(1));
  editor_->SetGroupCount(3);
  EXPECT_EQ(editor_->current_group(), 2);
  editor_->SelectColor(31);
  ASSERT_TRUE(editor_->SetGreen(0));
  editor_->ResetAllColors();
  EXPECT_EQ(editor_->group_count(), 8);
  EXPECT_EQ(editor_->green(), 31);
  // The doll saw none of it: nothing was applied.
  EXPECT_EQ(doll_->model().palettes()[1]->group_count, 8);
  EXPECT_EQ(doll_->model().palettes()[0]->groups[0][5], 0xFF000540u);
}

TEST_F(PaletteEditorTest, ApplyRecoloursTheDollAndItsBorder) {
  for (bool paletted : {false, true}) {
    SCOPED_TRACE(paletted ? "paletted" : "emulated");
    Load(paletted);
    EXPECT_EQ(Shown(0, 0), 0xFF000140u);
    EXPECT_EQ(Shown(2, 0), 0xFF000040u);  // background: colour 0

    editor_->SelectColor(1);
    ASSERT_TRUE(editor_->SetRed(0x80));
    EXPECT_EQ(Shown(0, 0), 0xFF000140u) << "shown before it was applied";
    editor_->Apply();
    EXPECT_TRUE(view_->redraw_pending());
    EXPECT_EQ(Shown(0, 0), 0xFF800140u);

    // Immediately: every change shows at once, background and border too.
    editor_->set_apply_immediately(true);
    editor_->SelectColor(0);
    ASSERT_TRUE(editor_->SetGreen(0x33));
    EXPECT_EQ(Shown(2, 1), 0xFF003340u);
    editor_->SelectColor(3);
    ASSERT_TRUE(editor_->SetRed(250));
    ASSERT_TRUE(editor_->SetGreen(10));
    ASSERT_TRUE(editor_->SetBlue(100));
    const GroupColors& colors = doll_->model().group_colors[0];
    EXPECT_EQ(colors.border, 0xFFFA0A64u);
    EXPECT_EQ(colors.border_light, 0xFFFF4AA4u);  // (255, 74, 164)
    EXPECT_EQ(colors.border_dark, 0xFFBA0024u);   // (186, 0, 36)

    // The group count of the doll is the largest over its palettes.
    editor_->SelectKcf(1);
    editor_->SetGroupCount(10);
    EXPECT_EQ(doll_->model().palette_group_count, 10);
    editor_->SetGroupCount(1);
    EXPECT_EQ(doll_->model().palette_group_count, 2);
  }
}

TEST_F(PaletteEditorTest, SaveWritesTheWorkingCopyOrKeepsTheOldFile) {
  Load(false);
  editor_->SelectColor(2);
  ASSERT_TRUE(editor_->SetBlue(0x99));
  editor_->SetGroupCount(1);

  // A write that comes up short, as on a full disk: the file stays whole,
  // the edit stays marked and unapplied, and the user is told.
  const std::string before = testing::ReadFile(KcfPath("p.kcf"));
  bool saved_short = true;
  testing::WithFileSizeLimit(40, [&] { saved_short = editor_->Save(); });
  EXPECT_FALSE(saved_short);
  EXPECT_EQ(testing::ReadFile(KcfPath("p.kcf")), before);
  EXPECT_TRUE(editor_->modified(0));
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].caption, "Error");
  EXPECT_EQ(host_.messages()[0].text, "Unable to write to file " + KcfPath("p.kcf"));
  EXPECT_EQ(doll_->model().palettes()[0]->groups[0][2], 0xFF000240u);

  // 16 colours of one group: the header and 48 bytes, which read back.
  ASSERT_TRUE(editor_->Save());
  EXPECT_FALSE(editor_->modified(0));
  const std::string written = testing::ReadFile(KcfPath("p.kcf"));
  ASSERT_EQ(written.size(), 32u + 48u);
  KissPalette back;
  ASSERT_EQ(DecodeKcf(std::span(reinterpret_cast<const uint8_t*>(written.data()), written.size()),
                      back, nullptr),
            16);
  EXPECT_EQ(back.group_count, 1);
  EXPECT_EQ(back.groups[0][2], 0xFF000299u);
  EXPECT_EQ(back.groups[0][15], 0xFF000F40u);
  // Saving applied it.
  EXPECT_EQ(doll_->model().palettes()[0]->groups[0][2], 0xFF000299u);
}

TEST_F(PaletteEditorTest, PalettesWithoutAFileAskWhereToSave) {
  Load(false);
  doll_->model().palettes()[1]->full_path.clear();
  editor_->Open();
  editor_->SelectKcf(1);
  ASSERT_TRUE(editor_->SetRed(9));
  std::vector<std::string> proposed;
  auto cancel = [&](const std::string& name) {
    proposed.push_back(name);
    return std::string();
  };
  EXPECT_FALSE(editor_->SaveModified(cancel));
  EXPECT_EQ(proposed, std::vector<std::string>{"q.kcf"});
  EXPECT_TRUE(editor_->AnyModified());
  const std::string target = KcfPath("saved.kcf");
  EXPECT_TRUE(editor_->SaveModified([&](const std::string&) { return target; }));
  EXPECT_FALSE(editor_->AnyModified());
  EXPECT_EQ(testing::ReadFile(target).size(), 32u + 8u * 256u * 3u);
  EXPECT_EQ(doll_->model().palettes()[1]->full_path, target);
}

TEST_F(PaletteEditorTest, MarksOutliveTheWindowButUnappliedEditsDoNot) {
  Load(false);
  editor_->SelectColor(1);
  ASSERT_TRUE(editor_->SetRed(0x11));
  editor_->Apply();
  editor_->SelectColor(2);
  ASSERT_TRUE(editor_->SetRed(0x22));
  editor_->Close();
  editor_->Open();
  EXPECT_TRUE(editor_->modified(0));
  EXPECT_EQ(editor_->ColorAt(1), 0xFF110140u);
  EXPECT_EQ(editor_->ColorAt(2), 0xFF000240u);
}

TEST_F(PaletteEditorTest, AppendingGroupsFromAnotherKcf) {
  Load(false);
  const std::vector<uint8_t> four_groups = GroupsKcf(4, 32);
  testing::WriteFile(KcfPath("four.kcf"), std::string(four_groups.begin(), four_groups.end()));
  editor_->SelectKcf(1);  // 8 groups
  int asked = 0;
  auto four = [&] {
    ++asked;
    return KcfPath("four.kcf");
  };

  host_.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(editor_->AppendGroups(four));
  EXPECT_EQ(editor_->group_count(), 8);
  EXPECT_FALSE(editor_->modified(1));

  host_.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(editor_->AppendGroups(four));
  ASSERT_EQ(host_.questions().size(), 2u);
  EXPECT_EQ(host_.questions()[1],
            "New KCF palette four.kcf has 4 palette groups but KCF palette q.kcf already has "
            "8 palette groups.\nOnly 2 new palette groups will be appended. Proceed?");
  EXPECT_EQ(editor_->group_count(), 10);
  EXPECT_EQ(editor_->current_group(), 8);
  EXPECT_TRUE(editor_->modified(1));
  EXPECT_EQ(editor_->ColorAt(7), 0xFF000740u);  // group 0 of four.kcf
  editor_->SelectGroup(9);
  EXPECT_EQ(editor_->ColorAt(7), 0xFF100740u);  // its group 1

  // Full: told so before any file is asked for.
  EXPECT_FALSE(editor_->AppendGroups(four));
  EXPECT_EQ(asked, 2);
  ASSERT_FALSE(host_.messages().empty());
  EXPECT_EQ(host_.messages().back().text,
            "q.kcf already has 10 palette groups.\nYou must reduce the number of palette groups "
            "in q.kcf before you can appened more from another KCF.");

  // Fitting groups go in without a question; a file that cannot be read
  // changes nothing.
  editor_->SelectKcf(0);
  EXPECT_FALSE(editor_->AppendGroups([&] { return KcfPath("missing.kcf"); }));
  EXPECT_EQ(editor_->group_count(), 2);
  EXPECT_TRUE(editor_->AppendGroups(four));
  EXPECT_EQ(host_.questions().size(), 2u);
  EXPECT_EQ(editor_->group_count(), 6);
  EXPECT_EQ(editor_->current_group(), 2);
}

}  // namespace
}  // namespace luma
