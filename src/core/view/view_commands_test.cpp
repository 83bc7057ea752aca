// Pausing the script, Find FKiSS, the properties window's changes and the
// names the Documentation menu and the doll's information show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/fkiss/key_codes.h"
#include "core/testing/zip_builder.h"
#include "core/view/doll_statistics.h"
#include "core/view/view_test_doll.h"

namespace luma {
namespace {

class ViewCommandsTest : public testing::ViewTestDoll {
 protected:
  // Keeps every frame the view presents.
  void CaptureFrames() {
    view_->SetPresenter([this](const ImageView& frame) {
      Frame copy{frame.width, frame.height, {}};
      for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) copy.pixels.push_back(frame.at(x, y));
      }
      frames_.push_back(std::move(copy));
    });
  }
  struct Frame {
    int width, height;
    std::vector<uint32_t> pixels;
    // The pixel that shows doll point `p` in a view of the doll's own size.
    uint32_t at(PlayPoint p) const { return pixels[static_cast<size_t>(p.y) * width + p.x]; }
  };
  size_t Sleeps(const char* line) const {
    return static_cast<size_t>(std::count(host_.log().begin(), host_.log().end(), line));
  }
  std::vector<Frame> frames_;
};

TEST_F(ViewCommandsTest, PauseStopsAlarmsAndInputEventsButNotThePlayer) {
  settings_.quick_timer = 2;
  // #0 at 0,0 and #1 at 50,0 in sets 1 and 2. Three alarms fall due while
  // the script is paused; each appends its number to `order`.
  Open(
      ";@begin() timer(1, 100) timer(2, 200) timer(3, 300)\n"
      ";@alarm(1) mul(order, order, 10) add(order, order, 1)\n"
      ";@alarm(2) mul(order, order, 10) add(order, order, 2)\n"
      ";@alarm(3) mul(order, order, 10) add(order, order, 3)\n"
      ";@press(#0) add(pressed, pressed, 1)\n;@in(#0, #1) add(met, met, 1)\n"
      ";@set(2) add(twos, twos, 1)\n;@keypress(\"a\") add(keys, keys, 1)\n");
  std::vector<std::string> trace;
  view_->SetTrace(true, [&](std::string_view line) { trace.emplace_back(line); });
  view_->StartDoll();
  RunFor(20);  // begin
  view_->TogglePause();
  EXPECT_TRUE(view_->paused());
  EXPECT_EQ(trace.back(), "*** FKiSS Paused ***");

  RunFor(500);
  EXPECT_EQ(Var("order"), 0);
  // The user still plays: the object follows the pointer onto #1, the set
  // changes, yet none of the script's events run.
  Drag(PlayPoint{2, 2}, PlayPoint{50, 2});
  EXPECT_EQ(Object(0).position[1], (Position{48, 0}));
  view_->SelectSet(2);
  EXPECT_EQ(view_->CurrentSet(), 2);
  view_->KeyDown(kKeyLetterA, false);
  view_->KeyUp(kKeyLetterA);
  EXPECT_EQ(Var("pressed") + Var("met") + Var("twos") + Var("keys"), 0);

  // Resumed, the alarms that fell due run in due order, "Quick Timer" a pass.
  view_->TogglePause();
  EXPECT_FALSE(view_->paused());
  EXPECT_EQ(trace.back(), "*** FKiSS Resumed ***");
  EXPECT_EQ(view_->ProcessAlarms(), 1u);
  EXPECT_EQ(Var("order"), 12);
  view_->ProcessAlarms();
  EXPECT_EQ(Var("order"), 123);
  view_->SelectSet(1);
  view_->LeftButtonDown(PlayPoint{50, 2});
  view_->LeftButtonUp(PlayPoint{50, 2});
  view_->SelectSet(2);
  EXPECT_EQ(Var("pressed"), 1);
  EXPECT_EQ(Var("twos"), 1);

  // A reset starts the script afresh, never paused.
  view_->TogglePause();
  host_.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(view_->ResetDoll());
  EXPECT_FALSE(view_->paused());
  RunFor(120);
  EXPECT_EQ(Var("order"), 1);
}

TEST_F(ViewCommandsTest, FindFkissFlashesTheCelsWithEventsOfTheShownSet) {
  for (const char* name : {"d.cel", "e.cel", "f.cel"}) {
    testing::WriteFile(dir_ / name, testing::TestCel(8, 8, 4));
  }
  // #0 has its own event, #1 one through its group, #2 and #3 only a
  // snap-to effect, #4 none, #5 an event but it is unmapped; only #4 is in
  // set 1.
  OpenCnf(
      "(120,20)\n%p.kcf\n#0 a.cel *0 :0\n#1 b.cel *0 :0 ;!grp\n#2 c.cel *0 :0\n"
      "#3 d.cel *0 :0\n#4 e.cel *0 :0 1\n#5 f.cel *0 :0 ;%u\n"
      "$0 0,0 20,0 40,0 60,0 80,0 100,0\n$1 0,0 20,0 40,0 60,0 80,0 100,0\n"
      ";@EventHandler\n;@press(#0) nop()\n;@press(!grp) nop()\n"
      ";@in(#2, #3) movebyx(#2, #3, 20) movebyy(#2, #3, 0)\n;@press(#5) nop()\n");
  view_->Resize(120, 20);
  view_->StartDoll();
  CaptureFrames();
  host_.ClearLog();
  EXPECT_EQ(view_->FindFkiss(), 2);
  // Highlighted, normal, highlighted, normal, 200 ms apart.
  ASSERT_EQ(frames_.size(), 4u);
  EXPECT_EQ(Sleeps("sleep 200"), 3u);
  const Frame& lit = frames_[0];
  const Frame& plain = frames_[1];
  EXPECT_NE(lit.at({4, 4}), plain.at({4, 4}));
  EXPECT_NE(lit.at({24, 4}), plain.at({24, 4}));
  for (int x : {44, 64, 84, 104}) EXPECT_EQ(lit.at({x, 4}), plain.at({x, 4})) << x;
  EXPECT_EQ(frames_[2].pixels, lit.pixels);
  EXPECT_EQ(frames_[3].pixels, plain.pixels);

  // Counted with their snap-to code, #2 and #3 flash as well.
  settings_.ignore_snap = false;
  view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
  view_->Resize(120, 20);
  view_->StartDoll();
  EXPECT_EQ(view_->FindFkiss(), 4);

  // Nothing to show: no flash at all.
  frames_.clear();
  CaptureFrames();
  view_->SelectSet(1);
  frames_.clear();
  EXPECT_EQ(view_->FindFkiss(), 0);
  EXPECT_TRUE(frames_.empty());
}

// Sees the bounding mode the main window would show.
class BoundsFrontEnd : public ViewFrontEnd {
 public:
  void BoundsModeChanged(BoundsMode mode) override { shown.push_back(mode); }
  std::vector<BoundsMode> shown;
};

TEST_F(ViewCommandsTest, TheUserPicksAndCyclesBoundingUnlessAnArchiveChoseItsOwn) {
  // A CNF on disk that names its mode only sets where the user starts.
  OpenCnf(";HINT bounds fkiss\n(60,20)\n%p.kcf\n#0 a.cel *0 :0\n$0 0,0\n");
  BoundsFrontEnd front;
  view_->set_front_end(&front);
  EXPECT_EQ(view_->bounds_mode(), BoundsMode::kFkiss);
  EXPECT_FALSE(view_->BoundsLocked());
  EXPECT_TRUE(view_->SetBoundsMode(BoundsMode::kNone));
  EXPECT_TRUE(view_->CycleBoundsMode());
  EXPECT_EQ(view_->bounds_mode(), BoundsMode::kAll) << "None wraps to All";
  EXPECT_TRUE(view_->CycleBoundsMode());
  EXPECT_EQ(front.shown,
            (std::vector<BoundsMode>{BoundsMode::kNone, BoundsMode::kAll, BoundsMode::kFkiss}));

  auto open_archive = [&](const std::string& first_line) {
    view_.reset();
    doc_ = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
    ASSERT_TRUE(doc_->LoadArchiveImage(
        "pack.lzh",
        testing::TestDollArchive({{"pack.cnf", first_line + "(60,20)\n#0 a.cel *0 :0\n$0 0,0\n"},
                                  {"a.cel", testing::TestCel(8, 8, 32)}}),
        false));
    view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
    view_->set_front_end(&front);
    front.shown.clear();
  };
  open_archive(";HINT bounds limited\n");
  EXPECT_TRUE(view_->BoundsLocked());
  EXPECT_FALSE(view_->SetBoundsMode(BoundsMode::kNone));
  EXPECT_FALSE(view_->CycleBoundsMode());
  EXPECT_EQ(view_->bounds_mode(), BoundsMode::kLimited);
  EXPECT_TRUE(front.shown.empty());

  open_archive("");
  EXPECT_FALSE(view_->BoundsLocked()) << "the archive left the choice to the user";
  EXPECT_TRUE(view_->CycleBoundsMode());
}

// A window that paints when it likes and lets time pass between a flash's
// frames.
class WaitingFrontEnd : public ViewFrontEnd {
 public:
  bool CallBackAfter(uint32_t ms) override {
    waits.push_back(ms);
    return true;
  }
  void ShowStatus(std::string_view text) override { status = text; }
  std::vector<uint32_t> waits;
  std::string status;
};

TEST_F(ViewCommandsTest, FlashesLetTheWindowPaintWhileTheyWait) {
  OpenCnf(
      "(60,20)\n%p.kcf\n#0 a.cel *0 :0\n#1 b.cel *0 :0\n$0 0,0 20,0\n"
      ";@EventHandler\n;@press(#0) nop()\n");
  WaitingFrontEnd front;
  view_->set_front_end(&front);
  view_->Resize(60, 20);
  view_->StartDoll();
  CaptureFrames();
  host_.ClearLog();
  EXPECT_EQ(view_->FindFkiss(), 1);
  EXPECT_EQ(Sleeps("sleep 200"), 0u) << "the view never sleeps while a window waits";
  EXPECT_EQ(front.waits, std::vector<uint32_t>{200});
  // However often the window paints, it shows the step of the flash in force.
  view_->DrawFrame();
  view_->DrawFrame();
  view_->AdvanceFlash();
  view_->DrawFrame();
  view_->AdvanceFlash();
  view_->DrawFrame();
  view_->AdvanceFlash();
  view_->DrawFrame();
  EXPECT_FALSE(view_->flashing());
  EXPECT_EQ(front.waits, (std::vector<uint32_t>{200, 200, 200}));
  ASSERT_EQ(frames_.size(), 5u);
  EXPECT_EQ(frames_[0].pixels, frames_[1].pixels);
  EXPECT_NE(frames_[0].at({4, 4}), frames_[2].at({4, 4}));
  EXPECT_EQ(frames_[0].at({24, 4}), frames_[2].at({24, 4})) << "only #0 has events";
  EXPECT_EQ(frames_[3].pixels, frames_[0].pixels);
  EXPECT_EQ(frames_[4].pixels, frames_[2].pixels);
  view_->AdvanceFlash();
  EXPECT_EQ(front.waits.size(), 3u) << "a finished flash asks for nothing more";

  // Locating waits 150 ms a step; starting the doll again ends a flash.
  EXPECT_TRUE(view_->LocateObject(1));
  EXPECT_EQ(front.waits.back(), 150u);
  EXPECT_TRUE(view_->flashing());
  view_->StartDoll();
  EXPECT_FALSE(view_->flashing());

  // Nothing outside the playfield, nothing with events: the status bar says so.
  settings_.ignore_snap = true;
  view_->SelectSet(1);
  EXPECT_EQ(view_->FindFkiss(), 0);
  EXPECT_EQ(front.status, "No cels with FKiSS beyond snap-to");
  view_->SelectSet(0);
  EXPECT_EQ(view_->FindBorderViolators(), 0);
  EXPECT_EQ(front.status, "No objects outside the playfield");

  // While the doll is being loaded again no frame is drawn at all.
  frames_.clear();
  doc_->set_loading(true);
  view_->DrawFrame();
  EXPECT_TRUE(frames_.empty());
  doc_->set_loading(false);
  view_->DrawFrame();
  EXPECT_EQ(frames_.size(), 1u);
}

TEST_F(ViewCommandsTest, CelPropertiesChangeTheShownSetMappingGhostAndTransparency) {
  Open("");
  view_->Resize(200, 100);
  view_->StartDoll();
  CaptureFrames();
  CelInstance& a = Cel(0);
  view_->RightButtonDown(PlayPoint{2, 2});
  ASSERT_EQ(view_->last_clicked(), &a);
  view_->DrawFrame();
  const uint32_t opaque = frames_.back().at({4, 4});

  // Ghosted and half transparent: clicks pass over it, the information
  // follows, and the next frame draws it blended.
  view_->ClearRedraw();
  view_->ApplyCelProperties(a, CelProperties{true, true, true, 128});
  EXPECT_TRUE(view_->redraw_pending());
  EXPECT_EQ(view_->PickCel(PlayPoint{2, 2}, PickPurpose::kEvents), nullptr);
  EXPECT_EQ(view_->PickCel(PlayPoint{2, 2}, PickPurpose::kInformation), &a);
  EXPECT_NE(view_->cel_info().find("Transparency: 128"), std::string::npos);
  view_->DrawFrame();
  EXPECT_NE(frames_.back().at({4, 4}), opaque);

  // Values beyond the range are held to it.
  view_->ApplyCelProperties(a, CelProperties{true, true, false, 300});
  EXPECT_EQ(a.transparency, 255);
  view_->ApplyCelProperties(a, CelProperties{true, true, false, -5});
  EXPECT_EQ(a.transparency, 0);
  view_->DrawFrame();
  EXPECT_EQ(frames_.back().at({4, 4}), opaque);

  // Unmapped, then taken out of the shown set only.
  view_->ApplyCelProperties(a, CelProperties{true, false, false, 0});
  EXPECT_FALSE(a.mapped);
  EXPECT_EQ(view_->PickCel(PlayPoint{2, 2}, PickPurpose::kInformation), nullptr);
  view_->ApplyCelProperties(a, CelProperties{false, true, false, 0});
  EXPECT_FALSE(a.in_set[1]);
  EXPECT_TRUE(a.in_set[2]);
  EXPECT_EQ(view_->PickCel(PlayPoint{2, 2}, PickPurpose::kInformation), nullptr);
  EXPECT_FALSE(view_->LocateObject(0));
  view_->SelectSet(2);
  EXPECT_EQ(view_->PickCel(PlayPoint{2, 2}, PickPurpose::kEvents), &a);

  // A reset brings back the CNF's mapping, ghost and transparency; set
  // membership keeps what the user chose.
  view_->ApplyCelProperties(a, CelProperties{true, false, true, 90});
  host_.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(view_->ResetDoll());
  EXPECT_TRUE(a.mapped);
  EXPECT_FALSE(a.ghost);
  EXPECT_EQ(a.transparency, 0);
  EXPECT_FALSE(a.in_set[1]);
}

// A ZIP member name marked as UTF-8 shows as UTF-8 whatever the doll's
// encoding; unmarked names take the doll's.
TEST(ViewNamesTest, ZipNamesMarkedUtf8ShowAsUtf8InAShiftJisDoll) {
  const testing::TempDir dir;
  const testing::TempDir temp;
  FakeHost host;
  host.set_temp_folder(temp.str());
  host.set_data_folder(temp.str());
  SoftwareDevice device;
  const Settings settings;
  testing::ZipTestMember cnf =
      testing::ZipMember("\xE4\xBA\xBA\xE5\xBD\xA2.cnf", "; \x90\x6C\x8C\x60\n#0 a.cel\n");
  cnf.utf8_flag = true;
  testing::ZipTestMember guide = testing::ZipMember("\xE8\xAA\xAC\xE6\x98\x8E.txt", "guide");
  guide.utf8_flag = true;
  const std::vector<uint8_t> image =
      testing::ZipTestArchive({cnf, testing::ZipMember("other.cnf", "#0 a.cel\n"),
                               testing::ZipMember("a.cel", testing::TestCel(4, 4, 32)), guide,
                               testing::ZipMember("\x93\xC7.txt", "read me")});
  const std::string path = (dir.path() / "pack.zip").string();
  testing::WriteFile(path,
                     std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
  host.QueueChoice(0);
  CKissCnfDoc doc(host, device, settings);
  ASSERT_TRUE(doc.OpenDoll(path));
  ASSERT_EQ(doc.model().text_encoding, TextEncoding::kShiftJis);

  EXPECT_EQ(doc.ShownTitle(), "pack.zip (\xE4\xBA\xBA\xE5\xBD\xA2.cnf)");
  EXPECT_EQ(GatherStatistics(doc, nullptr).cnf_name, "\xE4\xBA\xBA\xE5\xBD\xA2.cnf");
  CKissCnfView view(doc, settings);
  EXPECT_EQ(view.DocumentationEntries(),
            (std::vector<std::string>{"\xE8\xAA\xAC\xE6\x98\x8E.txt", "\xE8\xAA\xAD.txt"}));
  doc.Close();
}

}  // namespace
}  // namespace luma
