#ifndef LUMA_CORE_VIEW_VIEW_TEST_DOLL_H_
#define LUMA_CORE_VIEW_VIEW_TEST_DOLL_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/gfx/software_device.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::testing {

// Tests of the view over a doll written to disk: two 8 x 8 cels in sets 1
// and 2 (Open), or any CNF over the 8 x 8 cels a.cel, b.cel and c.cel.
class ViewTestDoll : public ::testing::Test {
 protected:
  void Open(const std::string& script, const std::string& extra = "") {
    OpenCnf("(200,100)\n%p.kcf\n#0 a.cel *0 :1 2\n#1 b.cel *0 :1 2\n" + extra +
            "$0 0,0 50,0\n$1 0,0 50,0\n$2 0,0 50,0\n;@EventHandler\n" + script);
  }
  void OpenCnf(const std::string& cnf) {
    WriteFile(dir_ / "doll.cnf", cnf);
    WriteFile(dir_ / "p.kcf", TestKcf(16));
    for (const char* name : {"a.cel", "b.cel", "c.cel"}) {
      WriteFile(dir_ / name, TestCel(8, 8, 4));
    }
    view_.reset();
    doc_ = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
    ASSERT_TRUE(doc_->OpenDoll((dir_ / "doll.cnf").string()));
    ASSERT_EQ(doc_->report().error_count(), 0) << doc_->report().ErrorText();
    view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
  }
  int32_t Var(const char* name) {
    FkissScript& script = *doc_->fkiss();
    const int id = script.FindVariable(name);
    if (id < 0) ADD_FAILURE() << "the script has no variable " << name;
    return id < 0 ? 0 : script.GetVariable(id);
  }
  CelInstance& Cel(int index) { return *doc_->model().instances()[index]; }
  KissObject& Object(int number) { return *doc_->model().FindObject(number, false); }
  // Runs the view's alarms as the application loop does, in 10 ms steps.
  void RunFor(int ms) {
    for (int t = 0; t < ms; t += 10) {
      host_.Advance(10);
      view_->ProcessAlarms();
    }
  }
  // A press at `from`, a drag to `to` and the release.
  void Drag(PlayPoint from, PlayPoint to) {
    view_->LeftButtonDown(from);
    view_->MouseMove(to, true);
    view_->LeftButtonUp(to);
  }

  TempDir dir_;
  FakeHost host_;
  Settings settings_;
  SoftwareDevice device_;
  std::unique_ptr<CKissCnfDoc> doc_;
  std::unique_ptr<CKissCnfView> view_;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_VIEW_VIEW_TEST_DOLL_H_
