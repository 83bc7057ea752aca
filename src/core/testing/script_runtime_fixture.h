#ifndef LUMA_CORE_TESTING_SCRIPT_RUNTIME_FIXTURE_H_
#define LUMA_CORE_TESTING_SCRIPT_RUNTIME_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_runtime.h"
#include "core/testing/fake_script_view.h"
#include "core/testing/fkiss_doll.h"

namespace luma::testing {

// Run-time tests over four 10 x 10 opaque cels a, b, c, d as objects #0-#3
// at x = 0, 20, 40, 60 on a 100 x 100 playfield, and the script lines given.
class ScriptRuntimeTest : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& lines, RuntimeSettings settings = {},
            std::vector<TestCelImage> images = {}, const std::string& extra_cels = "",
            const std::string& set_line = "$0 0,0 20,0 40,0 60,0") {
    std::string cnf = "(100,100)\n#0 a.cel\n#1 b.cel\n#2 c.cel\n#3 d.cel\n" + extra_cels +
                      set_line + "\n;@EventHandler\n";
    for (const std::string& line : lines) cnf += ";@" + line + "\n";
    for (const char* name : {"a.cel", "b.cel", "c.cel", "d.cel"}) {
      images.push_back({name, 10, 10, {}, 0, 0});
    }
    doll_ = std::make_unique<ScriptedDoll>(cnf, FkissParseOptions(), images);
    ASSERT_EQ(doll_->doll.report.error_count(), 0) << doll_->ReportText();
    runtime_ =
        std::make_unique<FkissRuntime>(doll_->doll, doll_->script, view_, doll_->host, settings);
  }
  void Start() { runtime_->StartScript(); }
  int32_t Var(const char* name) const {
    const int id = doll_->script.FindVariable(name);
    if (id < 0) ADD_FAILURE() << "the script has no variable " << name;
    return doll_->script.GetVariable(id);
  }
  FkissEvent* Label(uint32_t id) { return doll_->script.FindLabel(id); }
  void Press(const char* cel) { runtime_->RaiseCelEvents(doll_->Cel(cel), kOnPress); }
  Position At(int object) { return doll_->Object(object)->position[view_.set]; }
  FakeHost& host() { return doll_->host; }

  FakeScriptView view_;
  std::unique_ptr<ScriptedDoll> doll_;
  std::unique_ptr<FkissRuntime> runtime_;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_SCRIPT_RUNTIME_FIXTURE_H_
