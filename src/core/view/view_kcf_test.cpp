// A script switching a cel to another KCF, as the doll window shows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fkiss/key_codes.h"
#include "core/testing/doll_builder.h"
#include "core/testing/image_files.h"
#include "core/view/view_front_end.h"
#include "core/view/view_test_doll.h"

namespace luma {
namespace {

// Counts how often the selection display is refreshed.
class SelectionFront : public ViewFrontEnd {
 public:
  void CelInfoShown(const CelInstance* cel) override {
    if (cel) ++shown;
  }
  int shown = 0;
};

// a.cel and b.cel are coloured by q.kcf in the CNF; key "k" moves a.cel to
// p.kcf, key "c" changes the palette group. Group 1 of each KCF differs
// from group 0.
class ViewKcfTest : public testing::ViewTestDoll {
 protected:
  void OpenKcfDoll() {
    auto kcf = [](uint32_t group0, uint32_t group1) {
      std::vector<uint32_t> a(16, 0x808080), b(16, 0x808080);
      a[0] = b[0] = 0;
      a[1] = group0;
      b[1] = group1;
      const std::vector<uint8_t> bytes = testing::MakeKcf({a, b});
      return std::string(bytes.begin(), bytes.end());
    };
    testing::WriteFile(
        dir_ / "doll.cnf",
        "(16,8)\n%p.kcf\n%q.kcf\n#0 a.cel *1 :0\n#1 b.cel *1 :0\n$0 0,0 8,0\n"
        ";@EventHandler\n;@keypress(\"k\") setkcf(\"a.cel\", 0)\n;@keypress(\"c\") changecol(1)\n");
    testing::WriteFile(dir_ / "p.kcf", kcf(0x33CC99, 0x9933CC));
    testing::WriteFile(dir_ / "q.kcf", kcf(0xCC3333, 0x3333CC));
    for (const char* name : {"a.cel", "b.cel"}) {
      testing::WriteFile(dir_ / name, testing::TestCel(8, 8, 4));
    }
    view_.reset();
    doc_ = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
    ASSERT_TRUE(doc_->OpenDoll((dir_ / "doll.cnf").string()));
    ASSERT_EQ(doc_->report().error_count(), 0) << doc_->report().ErrorText();
    view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
    view_->set_front_end(&front_);
    view_->SetPresenter([this](const ImageView& frame) {
      a_ = frame.at(2, 2);
      b_ = frame.at(10, 2);
    });
    view_->Resize(16, 8);
    view_->StartDoll();
  }
  void Key(int code) {
    view_->KeyDown(code, false);
    view_->KeyUp(code);
  }
  // The colours of a.cel and b.cel in a fresh frame.
  std::pair<uint32_t, uint32_t> Colours() {
    EXPECT_EQ(view_->DrawFrame(), DeviceResult::kOk);
    return {a_, b_};
  }

  SelectionFront front_;
  uint32_t a_ = 0, b_ = 0;
};

TEST_F(ViewKcfTest, TheSwitchDrawsAtOnceSurvivesPaletteChangesAndResetUndoesIt) {
  struct Mode {
    const char* name;
    bool paletted;
    bool sixteen;
  };
  for (const Mode& mode : {Mode{"device palettes", true, false}, Mode{"emulated", false, false},
                           Mode{"16-bit", false, true}}) {
    SCOPED_TRACE(mode.name);
    device_.mutable_flags().paletted_textures = mode.paletted;
    device_.mutable_flags().sixteen_bit_texels = mode.sixteen;
    OpenKcfDoll();
    EXPECT_EQ(Colours(), std::make_pair(0xFFCC3333u, 0xFFCC3333u));

    // The user selects a.cel; the switch refreshes what the selection shows.
    view_->LeftButtonDown(PlayPoint{2, 2});
    view_->LeftButtonUp(PlayPoint{2, 2});
    const int shown = front_.shown;
    Key(kKeyLetterA + ('k' - 'a'));
    EXPECT_GT(front_.shown, shown);
    EXPECT_EQ(Colours(), std::make_pair(0xFF33CC99u, 0xFFCC3333u));

    Key(kKeyLetterA + ('c' - 'a'));
    EXPECT_EQ(Colours(), std::make_pair(0xFF9933CCu, 0xFF3333CCu));

    host_.QueueAnswer(Answer::kYes);
    ASSERT_TRUE(view_->ResetDoll());
    EXPECT_EQ(doc_->model().instances()[0]->palette, 1);
    EXPECT_EQ(Colours(), std::make_pair(0xFFCC3333u, 0xFFCC3333u));
    view_.reset();
    doc_.reset();
  }
}

}  // namespace
}  // namespace luma
