#include "core/fkiss/script_media.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_runtime.h"
#include "core/testing/fake_script_view.h"
#include "core/testing/fkiss_doll.h"

namespace luma {
namespace {

using testing::FakeScriptView;
using testing::ScriptedDoll;

// A doll whose labels play, stop and open things; its files are available
// under "/dolls/" unless a test says otherwise.
class ScriptMediaTest : public ::testing::Test {
 protected:
  void Load(RuntimeSettings settings = {}) {
    doll_ = std::make_unique<ScriptedDoll>(testing::CnfWithObjects(1) +
                                           ";@EventHandler\n"
                                           ";@label(1) sound(\"bell.wav\")\n"
                                           ";@label(2) sound(\"\")\n"
                                           ";@label(3) music(\"song.mid\")\n"
                                           ";@label(4) music(\"\")\n"
                                           ";@label(5) sound(\"gone.wav\")\n"
                                           ";@label(6) shell(\"HTTPS://example.org/\")\n"
                                           ";@label(7) shell(\"ftp://example.org/\")\n"
                                           ";@label(8) shell(\"/etc/passwd\")\n"
                                           ";@label(9) shell(\"mailto:someone@example.org\")\n");
    for (ExternalFile& file : doll_->doll.external_files) {
      file.available = file.name != "gone.wav";
      file.path = "/dolls/" + file.name;
    }
    runtime_ = std::make_unique<FkissRuntime>(doll_->doll, doll_->script, view_, host(), settings);
    runtime_->StartScript();
    host().ClearLog();
  }
  void Run(uint32_t label) { runtime_->RunEvent(doll_->script.FindLabel(label), true); }
  FakeHost& host() { return doll_->host; }

  FakeScriptView view_;
  std::unique_ptr<ScriptedDoll> doll_;
  std::unique_ptr<FkissRuntime> runtime_;
};

TEST_F(ScriptMediaTest, EmptyNamesLeaveSoundsAloneButStopMusic) {
  Load();
  Run(1);
  Run(2);
  EXPECT_EQ(host().log(), std::vector<std::string>{"sound: /dolls/bell.wav"});
  Run(3);
  Run(4);
  EXPECT_EQ(host().music(), std::vector<std::string>{"/dolls/song.mid"});
  EXPECT_EQ(host().log().back(), "music stopped");
  // A file loading could not make available does not play.
  host().ClearLog();
  Run(5);
  EXPECT_TRUE(host().log().empty());
  // Starting the script again silences both.
  runtime_->StartScript();
  EXPECT_TRUE(host().Logged("music stopped"));
  EXPECT_TRUE(host().Logged("sound stopped"));
}

TEST_F(ScriptMediaTest, SwitchedOffSoundAndMusicDoNothingUntilSwitchedOn) {
  RuntimeSettings settings;
  settings.media.sound = false;
  settings.media.music = false;
  Load(settings);
  for (uint32_t label : {1, 3, 4}) Run(label);
  EXPECT_TRUE(host().sounds().empty());
  EXPECT_TRUE(host().music().empty());
  EXPECT_FALSE(host().Logged("music stopped"));
  // Switched on again while the script runs: the next sound plays.
  runtime_->ApplySettings(RuntimeSettings{});
  Run(1);
  EXPECT_EQ(host().sounds().size(), 1u);
}

TEST_F(ScriptMediaTest, ShellOpensWebAndMailLinksAsThePermissionAllows) {
  Load();  // permission 1: ask
  view_.held = doll_->Object(0);
  Run(6);
  EXPECT_EQ(view_.shell_questions, std::vector<std::string>{"HTTPS://example.org/"});
  EXPECT_TRUE(host().links().empty());
  EXPECT_EQ(view_.drags_ended, 1);  // the view is not left dragging

  view_.allow_shell_link = true;
  Run(9);
  EXPECT_EQ(host().links(), std::vector<std::string>{"mailto:someone@example.org"});
  EXPECT_EQ(view_.drags_ended, 2);

  // Other schemes and file paths are ignored without a question.
  Run(7);
  Run(8);
  EXPECT_EQ(view_.shell_questions.size(), 2u);
  EXPECT_EQ(host().links().size(), 1u);
  EXPECT_EQ(view_.drags_ended, 2);
}

TEST_F(ScriptMediaTest, ShellPermissionNeverAndAlways) {
  RuntimeSettings settings;
  settings.media.shell_permission = 0;
  Load(settings);
  Run(6);
  EXPECT_TRUE(host().links().empty());
  EXPECT_EQ(view_.drags_ended, 1);

  settings.media.shell_permission = 2;
  Load(settings);
  Run(6);
  Run(8);
  EXPECT_TRUE(view_.shell_questions.empty());
  EXPECT_EQ(host().links(), std::vector<std::string>{"HTTPS://example.org/"});
}

}  // namespace
}  // namespace luma
