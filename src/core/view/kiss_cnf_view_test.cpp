#include "core/view/kiss_cnf_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/gfx/software_device.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

// A doll on disk with two 8 x 8 cels in sets 1 and 2 and the given script.
class KissCnfViewTest : public ::testing::Test {
 protected:
  void Open(const std::string& script, const std::string& extra = "") {
    std::string cnf = "(200,100)\n%p.kcf\n#0 a.cel *0 :1 2\n#1 b.cel *0 :1 2\n" + extra +
                      "$0 0,0 50,0\n$1 0,0 50,0\n$2 0,0 50,0\n;@EventHandler\n" + script;
    testing::WriteFile(dir_ / "doll.cnf", cnf);
    testing::WriteFile(dir_ / "p.kcf", testing::TestKcf(16));
    testing::WriteFile(dir_ / "a.cel", testing::TestCel(8, 8, 4));
    testing::WriteFile(dir_ / "b.cel", testing::TestCel(8, 8, 4));
    doc_ = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
    ASSERT_TRUE(doc_->OpenDoll((dir_ / "doll.cnf").string()));
    ASSERT_EQ(doc_->report().error_count(), 0) << doc_->report().ErrorText();
    view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
  }
  int32_t Var(const char* name) {
    FkissScript& script = *doc_->fkiss();
    return script.GetVariable(script.FindVariable(name));
  }
  CelInstance& Cel(int index) { return *doc_->model().instances()[index]; }

  testing::TempDir dir_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
  std::unique_ptr<CKissCnfDoc> doc_;
  std::unique_ptr<CKissCnfView> view_;
};

TEST_F(KissCnfViewTest, StartsOnTheFirstSetInUseAndRunsTheScriptByTheClock) {
  Open(";@initialize() let(start, 1)\n;@set(1) letset(shown)\n;@begin() timer(1, 3000)\n"
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
  Open(";@set(2) add(twos, twos, 1) windowsize(120, 80) viewport(10, 5) "
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

TEST_F(KissCnfViewTest, NotifyShowsTheTextAndEndsThePress) {
  Open(";@press(#0) notify(\"Hello\")\n");
  view_->StartDoll();
  view_->LeftButtonDown(PlayPoint{2, 2});
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].text, "Hello");
  EXPECT_FALSE(view_->pressed());
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
