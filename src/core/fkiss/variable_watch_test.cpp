#include "core/fkiss/variable_watch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/testing/fkiss_doll.h"

namespace luma {
namespace {

class VariableWatchTest : public ::testing::Test {
 protected:
  VariableWatchTest()
      : doll_(testing::CnfWithObjects(1) +
              ";@EventHandler\n;@initialize() let(Score, 1) let(lives, 2) let(other, 3)\n") {}
  FkissScript& script() { return doll_.script; }
  int Index(const char* name) { return script().FindVariable(name); }

  testing::ScriptedDoll doll_;
};

TEST_F(VariableWatchTest, TextFollowsWritesOfWatchedVariablesOnly) {
  VariableWatch watch(script());
  std::vector<std::string> shown;
  watch.set_on_refresh([&](const std::string& text) { shown.push_back(text); });

  EXPECT_TRUE(watch.Toggle("lives"));
  EXPECT_TRUE(watch.Toggle("SCORE"));  // names ignore case
  EXPECT_FALSE(watch.Toggle("unknown"));
  EXPECT_EQ(watch.text(), "lives = 0\r\nScore = 0");
  EXPECT_EQ(shown.size(), 2u);

  script().SetVariable(Index("Score"), -42);
  EXPECT_EQ(watch.text(), "lives = 0\r\nScore = -42");
  EXPECT_EQ(shown.size(), 3u);
  script().SetVariable(Index("other"), 9);
  script().SetVariable(99, 9);
  EXPECT_EQ(shown.size(), 3u);

  // A reset zeroes the values without refreshing; the next refresh shows it.
  std::fill(script().variable_values.begin(), script().variable_values.end(), 0);
  EXPECT_EQ(watch.text(), "lives = 0\r\nScore = -42");
  script().SetVariable(Index("lives"), 5);
  EXPECT_EQ(watch.text(), "lives = 5\r\nScore = 0");

  EXPECT_FALSE(watch.Toggle("lives"));
  EXPECT_EQ(watch.text(), "Score = 0");
  script().SetVariable(Index("lives"), 6);
  EXPECT_EQ(watch.text(), "Score = 0");

  watch.ClearWatch();
  EXPECT_EQ(watch.text(), "");
  EXPECT_TRUE(watch.watched().empty());
}

TEST_F(VariableWatchTest, ButtonLabelAndDetaching) {
  auto watch = std::make_unique<VariableWatch>(script());
  EXPECT_EQ(watch->ButtonLabel(""), "");  // nothing selected: disabled
  EXPECT_EQ(watch->ButtonLabel("lives"), "&Watch");
  watch->Toggle("lives");
  EXPECT_EQ(watch->ButtonLabel("LIVES"), "&Stop Watching");
  EXPECT_EQ(watch->ButtonLabel("Score"), "&Watch");

  // A closed window no longer hears of writes.
  watch.reset();
  EXPECT_EQ(script().watch(), nullptr);
  script().SetVariable(Index("lives"), 1);
  EXPECT_EQ(script().GetVariable(Index("lives")), 1);
}

}  // namespace
}  // namespace luma
