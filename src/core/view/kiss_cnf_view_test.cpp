#include "core/view/kiss_cnf_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "core/gfx/software_device.h"
#include "core/host/text.h"
#include "core/model/doll_limits.h"
#include "core/render/cel_export.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"
#include "core/view/documentation.h"
#include "core/view/view_test_doll.h"

namespace luma {
namespace {

using KissCnfViewTest = testing::ViewTestDoll;

TEST_F(KissCnfViewTest, StartsOnTheFirstSetInUseAndRunsTheScriptByTheClock) {
  Open(
      ";@initialize() let(start, 1)\n;@set(1) letset(shown)\n;@begin() timer(1, 3000)\n"
      ";@alarm(1) unmap(#1) timer(2, 150)\n;@alarm(2) map(#1)\n");
  view_->StartDoll();
  EXPECT_EQ(view_->CurrentSet(), 1);
  EXPECT_EQ(Var("start"), 1);
  EXPECT_EQ(Var("shown"), 1);
  for (int ms = 0; ms < 3100; ms += 10) {
    host_.Advance(10);
    view_->ProcessAlarms();
  }
  EXPECT_FALSE(Cel(1).mapped);
  host_.Advance(100);
  view_->ProcessAlarms();
  EXPECT_TRUE(Cel(1).mapped);
  EXPECT_TRUE(view_->redraw_pending());
}

TEST_F(KissCnfViewTest, WithoutTheScriptNothingRuns) {
  Open(";@initialize() unmap(#0)\n");
  view_->StartDoll(false);
  EXPECT_TRUE(Cel(0).mapped);
  EXPECT_EQ(view_->CurrentSet(), 1);
}

TEST_F(KissCnfViewTest, SetSwitchesRaiseSetEventsAndScriptsResizeTheWindow) {
  Open(
      ";@set(2) add(twos, twos, 1) windowsize(120, 80) viewport(10, 5) "
      "transparent(#0, 300)\n");
  view_->StartDoll();
  view_->ClearFit();
  view_->SelectSet(2);
  view_->SelectSet(2);
  EXPECT_EQ(Var("twos"), 1);
  EXPECT_EQ(view_->WindowSize().x, 120);
  EXPECT_EQ(view_->ViewportOrigin().y, 5);
  EXPECT_TRUE(view_->fit_pending());
  EXPECT_EQ(Cel(0).transparency, 255);
}

// Counts the requests the view makes of its window.
struct CountingFrontEnd : ViewFrontEnd {
  void CloseDoll() override { ++closes; }
  int closes = 0;
};

TEST_F(KissCnfViewTest, QuitAsksTheOwnerToClose) {
  Open(";@initialize() quit()\n");
  CountingFrontEnd front;
  view_->set_front_end(&front);
  view_->StartDoll();
  EXPECT_EQ(front.closes, 1);
  EXPECT_TRUE(view_->close_requested());
}

TEST_F(KissCnfViewTest, NotifyAndAStackTooDeepReachTheUserOnce) {
  Open(";@press(#0) notify(\"Hello\")\n;@press(#1) gosub(1)\n;@label(1) gosub(1)\n");
  view_->StartDoll();
  view_->LeftButtonDown(PlayPoint{2, 2});
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].caption, "Lumadoll");
  EXPECT_EQ(host_.messages()[0].text, "Hello");
  EXPECT_EQ(host_.messages()[0].icon, MessageIcon::kInformation);
  EXPECT_FALSE(view_->pressed());

  for (int i = 0; i < 2; ++i) {
    view_->LeftButtonDown(PlayPoint{52, 2});
    view_->LeftButtonUp(PlayPoint{52, 2});
  }
  ASSERT_EQ(host_.messages().size(), 2u);
  EXPECT_EQ(host_.messages()[1].caption, "Lumadoll");
  EXPECT_NE(host_.messages()[1].text.find("Event stack has exceeded the maximum depth"),
            std::string::npos);
  EXPECT_EQ(host_.messages()[1].icon, MessageIcon::kWarning);
}

TEST_F(KissCnfViewTest, AShellLinkOpensOnlyWhenTheUserSaysYes) {
  Open(";@press(#0) shell(\"HTTPS://example.org/\")\n");
  view_->StartDoll();
  host_.QueueAnswer(Answer::kNo);
  view_->LeftButtonDown(PlayPoint{2, 2});
  ASSERT_EQ(host_.questions().size(), 1u);
  EXPECT_TRUE(host_.Logged(
      "ask: Shell(): Shell() wants to open this URL:\n\nHTTPS://example.org/\n\nDo you want to "
      "open it?"));
  EXPECT_TRUE(host_.links().empty());
  EXPECT_FALSE(view_->pressed());

  host_.QueueAnswer(Answer::kYes);
  view_->LeftButtonDown(PlayPoint{2, 2});
  EXPECT_EQ(host_.questions().size(), 2u);
  EXPECT_EQ(host_.links(), std::vector<std::string>{"HTTPS://example.org/"});
  EXPECT_FALSE(view_->pressed());
}

// Records the requests the view makes of its window.
struct RecordingFrontEnd : ViewFrontEnd {
  void SetScrollSize(int w, int h) override {
    log.push_back(StringPrintf("scroll size %dx%d", w, h));
  }
  void FitWindow(int w, int h, bool maximize) override {
    log.push_back(StringPrintf("fit %dx%d%s", w, h, maximize ? " max" : ""));
  }
  void SetPointer(PointerCursor c) override { log.push_back(StringPrintf("pointer %d", int(c))); }
  void ConfinePointer() override { log.push_back("confine"); }
  void FreePointer() override { log.push_back("free"); }
  void ShowPointer(bool shown) override { log.push_back(shown ? "show" : "hide"); }
  void BoundsModeChanged(BoundsMode mode) override {
    log.push_back(StringPrintf("bounds %d", int(mode)));
  }
  std::string AskSavePath(std::string_view, std::string_view proposed, std::string_view,
                          std::string_view) override {
    log.push_back("save " + std::string(proposed));
    return save_path;
  }
  bool OpenFile(const std::string& path, std::string_view, bool editor) override {
    log.push_back((editor ? "edit " : "open ") + std::string(FileNamePart(path)));
    return true;
  }
  bool Saw(const std::string& line) const {
    return std::find(log.begin(), log.end(), line) != log.end();
  }
  std::vector<std::string> log;
  std::string save_path;
};

TEST(ScrollBarTest, LinesPagesThumbAndWheelStayInsideTheRange) {
  ScrollBar bar{500, 200, 0};
  EXPECT_EQ(bar.max_position(), 300);
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kLineDown, 0), 20);
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kLineUp, 0), 0);
  bar.position = 250;
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kPageDown, 0), 300);
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kPageUp, 0), 50);
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kThumbTrack, 999), 300);
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kTop, 0), 0);
  EXPECT_EQ(ScrolledPosition(bar, ScrollAction::kBottom, 0), 300);
  // One notch down scrolls six lines (twice the delta, three lines a notch),
  // never more than a page; a bar that is not needed does not scroll.
  EXPECT_EQ(WheelScrollDistance(bar, -120), 120);
  EXPECT_EQ(WheelScrollDistance(bar, 480), -200);
  EXPECT_EQ(WheelScrollDistance(ScrollBar{100, 200, 0}, -120), 0);
}

TEST_F(KissCnfViewTest, ZoomLimitsScrollSizesAndTheWheel) {
  Open("");
  RecordingFrontEnd front;
  view_->set_front_end(&front);
  view_->Resize(150, 80);
  view_->StartDoll();
  // A new view is fitted to the doll once, then maximised.
  EXPECT_TRUE(front.Saw("fit 200x100 max"));
  EXPECT_FALSE(view_->fit_pending());
  EXPECT_EQ(view_->horizontal_bar().max_position(), 50);
  EXPECT_EQ(view_->vertical_bar().max_position(), 20);

  for (int i = 0; i < 8; ++i) view_->ZoomOut();
  EXPECT_EQ(view_->zoom_level(), 6);
  EXPECT_FALSE(view_->CanZoomOut());
  EXPECT_EQ(view_->horizontal_bar().content, 20);  // a tenth
  EXPECT_FALSE(view_->horizontal_bar().active());
  view_->ZoomHome();
  for (int i = 0; i < 8; ++i) view_->ZoomIn();
  EXPECT_EQ(view_->zoom_level(), -6);
  EXPECT_FALSE(view_->CanZoomIn());
  EXPECT_EQ(view_->horizontal_bar().content, 2000);  // ten times
  EXPECT_TRUE(front.Saw("scroll size 2000x1000"));

  // "Scroll Type" 0: the wheel zooms, Ctrl+wheel scrolls.
  view_->ZoomHome();
  view_->Wheel(120, false);
  EXPECT_EQ(view_->zoom_level(), -1);
  view_->Wheel(-120, true);
  EXPECT_EQ(view_->vertical_bar().position, 6 * 8);
  EXPECT_EQ(view_->zoom_level(), -1);
}

TEST_F(KissCnfViewTest, WheelDeltasAddUpToZoomStepsAndScrollByEveryPart) {
  Open("");
  view_->Resize(150, 80);
  view_->StartDoll();
  // Ten small deltas make one notch: one zoom step, not ten.
  for (int i = 0; i < 9; ++i) view_->Wheel(12, false);
  EXPECT_EQ(view_->zoom_level(), 0);
  view_->Wheel(12, false);
  EXPECT_EQ(view_->zoom_level(), -1);
  // A turn of direction does not first unwind what was left over.
  view_->Wheel(60, false);
  view_->Wheel(-60, false);
  view_->Wheel(-60, false);
  EXPECT_EQ(view_->zoom_level(), 0);
  view_->Wheel(120, false);
  ASSERT_EQ(view_->zoom_level(), -1);  // 400 x 200 in a client of 150 x 80

  // Ctrl scrolls: 20 is a sixth of a notch, a sixth of six lines of 8.
  view_->Wheel(-20, true);
  EXPECT_EQ(view_->vertical_bar().position, 8);
  // Deltas of 12 are less than a line each, yet none is lost.
  for (int i = 0; i < 10; ++i) view_->Wheel(-12, true);
  EXPECT_EQ(view_->vertical_bar().position, 56);
  EXPECT_EQ(view_->horizontal_bar().position, 0);

  // Shift and the horizontal wheel scroll sideways, lines of 15.
  view_->Wheel(WheelInput{-120, 0, false, true});
  EXPECT_EQ(view_->horizontal_bar().position, 90);
  view_->Wheel(WheelInput{0, -40, false, false});
  EXPECT_EQ(view_->horizontal_bar().position, 120);
  view_->Wheel(WheelInput{0, 120, true, false});
  EXPECT_EQ(view_->horizontal_bar().position, 30);
  EXPECT_EQ(view_->vertical_bar().position, 56);
  EXPECT_EQ(view_->zoom_level(), -1);
}

TEST_F(KissCnfViewTest, ZoomToFitShowsTheWholeDollWindowAndItsEdge) {
  Open("");
  view_->Resize(800, 600);
  view_->StartDoll();
  view_->ClearRedraw();
  view_->ZoomToFit();  // 204 x 104 with the edge: four times would be 816 wide
  EXPECT_EQ(view_->zoom_level(), -2);
  EXPECT_FALSE(view_->horizontal_bar().active());
  EXPECT_TRUE(view_->redraw_pending());
  view_->ZoomToFit(100, 100);
  EXPECT_EQ(view_->zoom_level(), 2);
  // A script's window size is what is fitted.
  view_->SetWindowSize(PlayPoint{100, 50});
  view_->ZoomToFit();
  EXPECT_EQ(view_->zoom_level(), -4);

  settings_.edged_border = false;
  view_->ApplySettings(settings_);
  view_->SetWindowSize(PlayPoint{200, 100});
  view_->ZoomToFit();
  EXPECT_EQ(view_->zoom_level(), -3);
}

// A playfield line of (2147483647,480) used to wrap while the view rounded
// it to even when the doll started; objects placed near the end of int
// wrapped when drawn. Both are now held to the engine's limits where the
// CNF is read, and what the script and the pointer bring is held the same
// way: every size, origin and frame stays within range.
TEST_F(KissCnfViewTest, ExtremeCnfAndScriptValuesAreHeldToTheLimits) {
  OpenCnf(
      "(2147483647,480)\n%p.kcf\n#0 a.cel :0\n#1 b.cel :0 ;%x2147483647\n"
      "$0 2147483647,5 -2147483648,-2147483648\n;@EventHandler\n"
      ";@initialize() viewport(499996, 0)\n;@press(#0) viewport(2147483647, -2147483648) "
      "windowsize(2147483647, 2147483647)\n"
      ";@release(#0) restrictx(#1, -2147483648, 2147483647) moveto(#1, 2147483647, 0)\n");
  EXPECT_EQ(doc_->report().warning_count(), 4) << doc_->report().WarningText();
  RecordingFrontEnd front;
  view_->set_front_end(&front);
  int frames = 0;
  view_->SetPresenter([&](const ImageView&) { ++frames; });
  view_->Resize(300, 200);
  view_->StartDoll();
  EXPECT_TRUE(front.Saw("scroll size 8192x480"));
  view_->SetZoom(-6);
  EXPECT_EQ(view_->horizontal_bar().content, 81920);
  view_->Scroll(false, ScrollAction::kBottom);
  EXPECT_EQ(view_->horizontal_bar().position, 81920 - 300);
  EXPECT_EQ(view_->DrawFrame(), DeviceResult::kOk);

  // Object #0 sits at the right end of the coordinates, where the script
  // moved the doll window; a press there runs its extreme viewport and
  // window size.
  view_->SetZoom(0);
  EXPECT_EQ(view_->ViewportOrigin(), (PlayPoint{499996, 0}));
  EXPECT_EQ(Object(0).position[0], (Position{kMaxCoordinate, 5}));
  view_->LeftButtonDown(PlayPoint{kMaxCoordinate + 1, 6});
  EXPECT_EQ(view_->ViewportOrigin(), (PlayPoint{kMaxCoordinate, -kMaxCoordinate}));
  EXPECT_EQ(view_->WindowSize(), (PlayPoint{kMaxPlayfieldSide, kMaxPlayfieldSide}));
  view_->MouseMove(PlayPoint{std::numeric_limits<int>::max(), 0}, true);
  view_->LeftButtonUp(PlayPoint{std::numeric_limits<int>::max(), 0});
  EXPECT_EQ(Object(1).position[0].x, kMaxCoordinate);
  for (int zoom : {-6, 0, 6}) {
    view_->SetZoom(zoom);
    view_->MouseMove(ClientPoint{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()},
                     false);
    EXPECT_EQ(view_->DrawFrame(), DeviceResult::kOk);
  }
  EXPECT_EQ(frames, 4);
}

TEST_F(KissCnfViewTest, ScrollTypeOneScrollsAndCtrlZooms) {
  settings_.scroll_type = 1;
  Open("");
  view_->Resize(150, 200);
  view_->StartDoll();
  // Only the horizontal bar is needed: the wheel moves it.
  view_->Wheel(-120, false);
  EXPECT_EQ(view_->horizontal_bar().position, 50);
  EXPECT_EQ(view_->zoom_level(), 0);
  view_->Wheel(-120, true);
  EXPECT_EQ(view_->zoom_level(), 1);
  // Shift scrolls sideways here too.
  view_->ZoomHome();
  view_->Wheel(WheelInput{120, 0, false, true});
  EXPECT_EQ(view_->horizontal_bar().position, 0);
  EXPECT_EQ(view_->zoom_level(), 0);
}

TEST_F(KissCnfViewTest, ASmallDollIsCentredAndPointsMapBothWays) {
  Open("");
  view_->Resize(801, 300);  // odd widths project as the next even one
  view_->StartDoll();
  EXPECT_FALSE(view_->horizontal_bar().active());
  EXPECT_FALSE(view_->vertical_bar().active());
  const ClientPoint origin = view_->DollToScreen(PlayPoint{0, 0});
  EXPECT_EQ(origin, (ClientPoint{301, 100}));
  EXPECT_EQ(view_->ScreenToDoll(ClientPoint{311, 107}), (PlayPoint{10, 7}));
  view_->SetZoom(-1);  // two screen pixels a unit
  EXPECT_EQ(view_->ScreenToDoll(view_->DollToScreen(PlayPoint{33, 21})), (PlayPoint{33, 21}));
  EXPECT_EQ(view_->DollToScreen(PlayPoint{0, 0}), (ClientPoint{201, 50}));
}

TEST_F(KissCnfViewTest, NextSetWrapsOverTheSetsInUse) {
  OpenCnf("(200,100)\n%p.kcf\n#0 a.cel *0 :0 9\n$0 0,0\n$9 5,5\n");
  view_->StartDoll();
  EXPECT_EQ(view_->CurrentSet(), 0);
  EXPECT_TRUE(view_->SetEnabled(9));
  EXPECT_FALSE(view_->SetEnabled(5));
  view_->PreviousSet();
  EXPECT_EQ(view_->CurrentSet(), 9);
  view_->NextSet();
  EXPECT_EQ(view_->CurrentSet(), 0);

  OpenCnf("(200,100)\n%p.kcf\n#0 a.cel *0 :9\n$9 5,5\n");
  view_->StartDoll();
  EXPECT_EQ(view_->CurrentSet(), 9);
  view_->NextSet();
  EXPECT_EQ(view_->CurrentSet(), 9);
}

TEST_F(KissCnfViewTest, BoundingOverrideIsOfferedOnlyForObjectsStartingOutside) {
  // Object #1 starts at x 50 in every set: inside. Moved to 195 its 8-unit
  // cel ends beyond the right edge of the 200-unit playfield.
  settings_.bounding_ask = 1;
  Open("");
  view_->StartDoll();
  EXPECT_TRUE(host_.questions().empty());

  RecordingFrontEnd front;
  for (int i = 0; i < kSetCount; ++i) doc_->model().FindObject(1, false)->position[i].x = 195;
  host_.QueueAnswer(Answer::kNo);
  view_->StartDoll();
  ASSERT_EQ(host_.questions().size(), 1u);
  EXPECT_EQ(doc_->model().hints.bounds, BoundsMode::kVisible);

  view_->set_front_end(&front);
  host_.QueueAnswer(Answer::kYes);
  view_->StartDoll();
  EXPECT_EQ(doc_->model().hints.bounds, BoundsMode::kNone);
  EXPECT_TRUE(front.Saw("bounds 4"));
  // In None mode nobody asks again.
  view_->StartDoll();
  EXPECT_EQ(host_.questions().size(), 2u);
}

TEST_F(KissCnfViewTest, AutomaticOverrideAsksNothing) {
  settings_.bounding_ask = 2;
  Open("");
  for (int i = 0; i < kSetCount; ++i) doc_->model().FindObject(0, false)->position[i].y = -1;
  doc_->model().hints.bounds = BoundsMode::kAll;
  view_->StartDoll();
  EXPECT_TRUE(host_.questions().empty());
  EXPECT_EQ(doc_->model().hints.bounds, BoundsMode::kFkiss);
}

TEST_F(KissCnfViewTest, PointerRequestsFollowPressDragAndRelease) {
  settings_.mouse_hide = true;
  Open("");
  RecordingFrontEnd front;
  view_->set_front_end(&front);
  view_->StartDoll();
  // Objects: #0 at 0,0, #1 at 50,0 in set 1. Make #1 immovable.
  doc_->model().FindObject(1, false)->fix = 100;
  view_->MouseMove(PlayPoint{2, 2}, false);
  EXPECT_EQ(view_->pointer_cursor(), PointerCursor::kOverObject);
  EXPECT_EQ(view_->coordinates_text(), "    2,     2");
  view_->LeftButtonDown(PlayPoint{2, 2});
  EXPECT_TRUE(view_->pressed());
  EXPECT_EQ(view_->pointer_cursor(), PointerCursor::kDragging);
  view_->MouseMove(PlayPoint{12, 12}, true);
  EXPECT_TRUE(view_->dragging());
  EXPECT_TRUE(front.Saw("hide"));
  view_->LeftButtonUp(PlayPoint{12, 12});
  EXPECT_FALSE(view_->pressed());
  EXPECT_TRUE(front.Saw("show"));
  EXPECT_EQ(view_->pointer_cursor(), PointerCursor::kNormal);

  // "Stuck Mouse": the pointer stays on an immovable object until release,
  // or until the window loses activation.
  view_->LeftButtonDown(PlayPoint{52, 2});
  EXPECT_EQ(view_->pointer_cursor(), PointerCursor::kStuck);
  EXPECT_TRUE(view_->pointer_confined());
  view_->Deactivate();
  EXPECT_FALSE(view_->pointer_confined());
  EXPECT_FALSE(view_->pressed());
  EXPECT_TRUE(front.Saw("free"));
}

TEST_F(KissCnfViewTest, DraggingAFreeObjectPastTheClientEdgeScrolls) {
  Open("");
  view_->Resize(100, 100);
  view_->StartDoll();
  ASSERT_EQ(view_->horizontal_bar().max_position(), 100);
  const ClientPoint grab = view_->DollToScreen(PlayPoint{2, 2});
  view_->LeftButtonDown(grab);
  view_->MouseMove(ClientPoint{130, grab.y}, true);
  EXPECT_EQ(view_->horizontal_bar().position, 30);
  // The pointer is held inside the playfield whatever the client shows.
  EXPECT_EQ(doc_->model().FindObject(0, false)->position[1].x, 128);
  view_->LeftButtonUp(ClientPoint{130, grab.y});
}

TEST_F(KissCnfViewTest, APressOutsideTheDollWindowPicksNothing) {
  Open(";@initialize() windowsize(40, 40)\n");
  view_->StartDoll();
  EXPECT_NE(view_->PickCel(PlayPoint{2, 2}, PickPurpose::kEvents), nullptr);
  EXPECT_EQ(view_->PickCel(PlayPoint{52, 2}, PickPurpose::kEvents), nullptr);
  EXPECT_EQ(view_->PickCel(PlayPoint{52, 2}, PickPurpose::kInformation), nullptr);
}

TEST_F(KissCnfViewTest, ContextMenuOffersUnfixOnlyWhereTheDollMayChange) {
  std::vector<ContextMenuEntry> menu = BuildContextMenu(5, false, false);
  ASSERT_EQ(menu.size(), 8u);
  EXPECT_TRUE(menu[0].enabled && menu[0].checked);  // Unfix
  EXPECT_FALSE(menu[1].enabled);                    // Refix
  EXPECT_EQ(menu[2].text, "Select as Snap-To Parent");
  menu = BuildContextMenu(0, true, false);
  ASSERT_EQ(menu.size(), 5u);
  EXPECT_EQ(menu[0].text, "Reset Position");
  menu = BuildContextMenu(0, true, true);
  ASSERT_EQ(menu.size(), 7u);
  EXPECT_TRUE(menu[1].enabled);  // Refix of an unfixed object

  Open("");
  view_->StartDoll();
  EXPECT_TRUE(view_->ContextMenu().empty());
  doc_->model().FindObject(0, false)->cnf_fix = 7;
  view_->RightButtonDown(PlayPoint{2, 2});
  EXPECT_EQ(view_->ContextMenu().size(), 8u);
  EXPECT_TRUE(view_->RunContextCommand(ContextCommand::kRefix));
  EXPECT_EQ(doc_->model().FindObject(0, false)->fix, 7u);
  EXPECT_NE(view_->cel_info().find("Fix: 7"), std::string::npos);
  EXPECT_TRUE(view_->RunContextCommand(ContextCommand::kUnfix));
  EXPECT_EQ(doc_->model().FindObject(0, false)->fix, 0u);
  EXPECT_FALSE(view_->RunContextCommand(ContextCommand::kObjectProperties));
}

TEST_F(KissCnfViewTest, PositionsCopyToOtherSetsAndResetAsksFirst) {
  Open("", "#2 c.cel *0 :1\n");
  view_->StartDoll();
  KissObject& a = *doc_->model().FindObject(0, false);
  view_->LeftButtonDown(PlayPoint{2, 2});
  view_->MouseMove(PlayPoint{12, 22}, true);
  view_->LeftButtonUp(PlayPoint{12, 22});
  EXPECT_EQ(a.position[1], (Position{10, 20}));

  // #0 is in sets 1 and 2; #2 only in set 1 and copies nothing.
  view_->CopyPosition();
  EXPECT_EQ(a.position[2], (Position{10, 20}));
  EXPECT_EQ(host_.messages().back().text, "Position of object #0 copied to other sets");
  EXPECT_EQ(view_->CopyAllPositions(), 2);
  EXPECT_EQ(host_.messages().back().text, "2 positions copied to other sets");

  host_.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(view_->ResetDoll());
  EXPECT_EQ(a.position[1], (Position{10, 20}));
  host_.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(view_->ResetDoll());
  EXPECT_EQ(a.position[1], (Position{0, 0}));
  EXPECT_EQ(a.position[2], (Position{0, 0}));

  view_->LeftButtonDown(PlayPoint{2, 2});
  view_->MouseMove(PlayPoint{12, 22}, true);
  view_->LeftButtonUp(PlayPoint{12, 22});
  view_->ResetPosition();
  EXPECT_EQ(a.position[1], (Position{0, 0}));
}

TEST_F(KissCnfViewTest, PatrolBoundsPullsObjectsBackInside) {
  Open("");
  view_->StartDoll();
  KissObject& b = *doc_->model().FindObject(1, false);
  b.position[1] = Position{197, -3};
  EXPECT_EQ(view_->FindBorderViolators(), 1);
  EXPECT_EQ(view_->PatrolBounds(), 1);
  EXPECT_EQ(b.position[1], (Position{192, 0}));
  EXPECT_EQ(view_->FindBorderViolators(), 0);
}

TEST_F(KissCnfViewTest, ExportedCelsAndLocatedObjectsUseTheWindow) {
  EXPECT_EQ(ProposedCelBitmapName("Shirt.Red.cel", TextEncoding::kWindows1252), "shirt.bmp");
  // ア is 0x83 "A": its second byte is no letter of its own and stays.
  EXPECT_EQ(ProposedCelBitmapName("\x83\x41Hat.CEL", TextEncoding::kShiftJis), "\x83\x41hat.bmp");
  EXPECT_TRUE(OpensInTextEditor("readme.me"));
  EXPECT_FALSE(OpensInTextEditor("manual.HTML"));

  Open("");
  RecordingFrontEnd front;
  view_->set_front_end(&front);
  int presented = 0;
  view_->SetPresenter([&](const ImageView&) { ++presented; });
  view_->Resize(200, 100);
  view_->StartDoll();
  view_->RightButtonDown(PlayPoint{2, 2});
  EXPECT_FALSE(view_->ExportCelToBitmap());  // cancelled
  EXPECT_TRUE(front.Saw("save a.bmp"));
  front.save_path = (dir_ / "a.bmp").string();
  EXPECT_TRUE(view_->ExportCelToBitmap());
  EXPECT_EQ(testing::ReadFile(dir_ / "a.bmp").substr(0, 2), "BM");
  // An offset beyond any picture is refused before asking, not wrapped.
  front.log.clear();
  Cel(0).x_offset = 65500;
  EXPECT_FALSE(view_->ExportCelToBitmap());
  EXPECT_FALSE(front.Saw("save a.bmp"));
  EXPECT_EQ(host_.messages().back().caption, "Export Error");
  Cel(0).x_offset = 0;

  // Locating flashes highlight, normal, highlight, normal 150 ms apart.
  host_.ClearLog();
  presented = 0;
  EXPECT_TRUE(view_->LocateObject(1));
  EXPECT_EQ(presented, 4);
  EXPECT_EQ(std::count(host_.log().begin(), host_.log().end(), "sleep 150"), 3);
  view_->SelectSet(0);
  EXPECT_FALSE(view_->LocateObject(1));
  EXPECT_EQ(host_.messages().back().text, "#1 is not present on this page.");
  EXPECT_TRUE(view_->OpenCnf());
  EXPECT_TRUE(front.Saw("edit doll.cnf"));
}

// Runs the view's alarms as the application loop does, in 10 ms steps.
void RunFor(CKissCnfView& view, FakeHost& host, int ms) {
  for (int t = 0; t < ms; t += 10) {
    host.Advance(10);
    view.ProcessAlarms();
  }
}

TEST(KissCnfViewCorpusTest, DollsRunTheirScriptsQuietlyAndAuroraBlinks) {
  LUMA_REQUIRE_CORPUS();
  const Settings settings;
  for (const auto& entry : std::filesystem::directory_iterator(testing::CorpusDir() / "dolls")) {
    if (entry.path().extension() != ".lzh" || entry.path().filename() == "lina.lzh") continue;
    SCOPED_TRACE(entry.path().string());
    FakeHost host;
    testing::TempDir temp;
    host.set_temp_folder(temp.str());
    SoftwareDevice device;
    CKissCnfDoc doc(host, device, settings);
    ASSERT_TRUE(doc.OpenDoll(entry.path().string()));
    CKissCnfView view(doc, settings);
    view.StartDoll();
    const bool aurora = entry.path().filename() == "aurora.lzh";
    CelInstance* blink = nullptr;
    for (const auto& cel : doc.model().instances()) {
      if (cel->cel && cel->cel->file_name == "blink.cel" && cel->in_set[1]) blink = cel.get();
    }
    if (aurora) {
      ASSERT_NE(blink, nullptr);
      view.SelectSet(1);
      EXPECT_TRUE(blink->mapped);
      RunFor(view, host, 3100);
      EXPECT_TRUE(blink->mapped);
      RunFor(view, host, 100);
      EXPECT_FALSE(blink->mapped);
    }
    RunFor(view, host, 10000);
    EXPECT_TRUE(host.messages().empty()) << host.messages()[0].text;
    EXPECT_FALSE(view.close_requested());
    doc.Close();
  }
}

TEST_F(KissCnfViewTest, ChangedSettingsReachTheOpenDollAndItsScript) {
  settings_.easy_click = 0;
  Open(
      ";@begin() timer(1, 10) timer(2, 10)\n;@alarm(1) add(n, n, 1)\n;@alarm(2) add(n, n, 1)\n"
      ";@press(#0) shell(\"https://example.org/\")\n");
  RecordingFrontEnd front;
  view_->set_front_end(&front);
  view_->Resize(150, 200);
  view_->StartDoll();
  view_->LeftButtonDown(PlayPoint{9, 2});  // two pixels right of #0
  view_->LeftButtonUp(PlayPoint{9, 2});
  EXPECT_EQ(view_->last_clicked(), nullptr);

  Settings changed = settings_;
  changed.easy_click = 2;
  changed.scroll_type = 1;
  changed.mouse_type = 2;
  changed.strong_fix = 5;
  changed.max_stack = 40;
  changed.quick_timer = 1;
  changed.shell_permission = 2;
  view_->ApplySettings(changed);

  EXPECT_EQ(view_->pointer_cursor(), PointerCursor::kDot) << "without waiting for the mouse";
  EXPECT_EQ(doc_->model().hints.max_fix, 5);
  EXPECT_EQ(view_->runtime()->max_stack(), 40);
  EXPECT_EQ(doc_->settings().strong_fix, 5) << "a reload uses the new values";
  view_->Wheel(-120, false);
  EXPECT_EQ(view_->zoom_level(), 0);
  EXPECT_EQ(view_->horizontal_bar().position, 50);
  view_->LeftButtonDown(PlayPoint{9, 2});
  view_->LeftButtonUp(PlayPoint{9, 2});
  EXPECT_EQ(view_->last_clicked(), &Cel(0));
  EXPECT_TRUE(host_.questions().empty());
  EXPECT_EQ(host_.links(), std::vector<std::string>{"https://example.org/"});
  // One alarm per pass now.
  host_.Advance(1);
  view_->ProcessAlarms();
  host_.Advance(50);
  view_->ProcessAlarms();
  EXPECT_EQ(Var("n"), 1);
  view_->ProcessAlarms();
  EXPECT_EQ(Var("n"), 2);
  // A restart keeps them.
  view_->StartDoll();
  EXPECT_EQ(view_->runtime()->quick_timer(), 1);
}

TEST_F(KissCnfViewTest, LimitsTheDollSetForItselfSurviveChangedSettings) {
  OpenCnf("(200,100)\n;HINT maxfix 7\n;HINT stack 30\n%p.kcf\n#0 a.cel *0 :1\n$0 0,0\n");
  view_->StartDoll();
  Settings changed = settings_;
  changed.strong_fix = 500;
  changed.max_stack = 99;
  view_->ApplySettings(changed);
  EXPECT_EQ(doc_->model().hints.max_fix, 7);
  EXPECT_EQ(doc_->model().hints.stack_depth, 30);
  EXPECT_EQ(view_->runtime()->max_stack(), 30);
}

TEST_F(KissCnfViewTest, ValuesOutlastTheScriptInTheDollsPrivatePool) {
  testing::TempDir data;
  host_.set_data_folder(data.str());
  Open(";@initialize() loadvalue(runs, \"runs\") add(runs, runs, 1) savevalue(\"runs\", runs)\n");
  view_->StartDoll();
  EXPECT_EQ(Var("runs"), 1);
  view_->StartDoll();
  EXPECT_EQ(Var("runs"), 2);
  EXPECT_TRUE(std::filesystem::exists(data / "pooldata" / "~doll~cnf.pool"));
  // Without the script nothing is read or written.
  view_->StartDoll(false);
  view_->StartDoll();
  EXPECT_EQ(Var("runs"), 3);
}

}  // namespace
}  // namespace luma
