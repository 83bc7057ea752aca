#include "core/fkiss/script_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/model/messages.h"
#include "core/testing/fkiss_doll.h"

namespace luma {
namespace {

using testing::ScriptedDoll;

std::unique_ptr<ScriptedDoll> Parse(const std::vector<std::string>& lines,
                                    const std::string& extra_cels = "") {
  std::string cnf = testing::CnfWithObjects(3) + extra_cels + ";@EventHandler\n";
  for (const std::string& line : lines) cnf += ";@" + line + "\n";
  return std::make_unique<ScriptedDoll>(cnf);
}

int Level(const std::vector<std::string>& lines, const std::string& extra_cels = "") {
  return Parse(lines, extra_cels)->script.level;
}

std::string Msg(int id, auto... args) { return FormatMessage(id, args...); }

TEST(FkissLevelTest, LevelFollowsCommandsVariablesAndNames) {
  EXPECT_EQ(Level({"press(#1) map(#1) unmap(#2)"}), kFkissLevel1);
  EXPECT_EQ(Level({"press(#1) transparent(#1, 5)"}), kFkissLevel1b);
  EXPECT_EQ(Level({"in(#1, #2) nop()"}), kFkissLevel2);
  EXPECT_EQ(Level({"press(#1) iffixed(#1, 3, 10)", "alarm(3) nop()"}), kFkissLevel21);
  // A short variable name with a digit is FKiSS 3; any other name is FKiSS 4.
  EXPECT_EQ(Level({"press(#1) let(a1, 2)"}), kFkissLevel3);
  EXPECT_EQ(Level({"press(#1) let(ab, 2)"}), kFkissLevel4);
  EXPECT_EQ(Level({"press(#1) let(a, 2)"}), kFkissLevel3);
  // An object taken from a variable needs FKiSS 4.
  EXPECT_EQ(Level({"press(#1) let(a, 1) map(a)"}), kFkissLevel4);
  EXPECT_EQ(Level({"press(#1) nop()", "label(go) nop()"}), kFkissLevel4);
  EXPECT_EQ(Level({"press(#1) map(#1)"}, "#1 hat.cel ;!hat\n"), kFkissLevel4);
  // A head alone does not count; neither does a script without heads.
  EXPECT_EQ(Level({"press(#1)"}), kFkissLevelNone);
  EXPECT_EQ(Level({}), kFkissLevelNone);
}

TEST(FkissLevelTest, NoLevelTurnsTheScriptOffAndNoEventHandlerMeansNoScript) {
  auto d = Parse({"initialize()"});
  EXPECT_FALSE(d->script.script_flag);
  EXPECT_EQ(d->doll.fkiss_level, kFkissLevelNone);
  ScriptedDoll plain(testing::CnfWithObjects(2) + ";@press(#1) map(#1)\n");
  EXPECT_EQ(plain.script.level, kFkissLevelNone);
  EXPECT_FALSE(plain.script.script_flag);
  auto on = Parse({"press(#1) map(#1)"});
  EXPECT_TRUE(on->script.script_flag);
  EXPECT_EQ(on->doll.fkiss_level, kFkissLevel1);
}

TEST(FkissCheckTest, StatisticsCountOpenedEventsWithActions) {
  auto d = Parse({"press(#1) map(#1) unmap(#2)", "release(#1)", "set(0) nop()", "set(11) map(#1)"});
  EXPECT_EQ(d->script.event_count, 2);
  EXPECT_EQ(d->script.action_count, 3);
}

TEST(FkissCheckTest, LabelsReachedByOtherEventsIncludingRepeat) {
  auto d =
      Parse({"press(#1) repeat(1, 3, i) gosubrandom(50, 2, named)", "label(1) nop()",
             "label(2) nop()", "label(named) nop()", "label(3) gosub(3)", "label(lonely) nop()"});
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: label("), 2) << d->ReportText();
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissLabelNumberUnreachable, 3)));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissLabelUnreachable, "lonely")));
}

TEST(FkissCheckTest, LabelsFromVariablesSkipOnlyNumericLabels) {
  auto d = Parse({"press(#1) let(n, 3) goto(n)", "label(3) nop()", "label(lonely) nop()"});
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: label("), 1) << d->ReportText();
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissLabelUnreachable, "lonely")));
}

TEST(FkissCheckTest, TimersAndAlarms) {
  auto d =
      Parse({"press(#1) timer(7, 10) randomtimer(1, 5, 5) ifmapped(#1, 2, 10)",
             "alarm(1) timer(1, 10)", "alarm(2) nop()", "alarm(3) nop()", "alarm(ring) nop()"});
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissTimerNoAlarm, 7)));
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: alarm("), 2) << d->ReportText();
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissAlarmNumberUnreachable, 3)));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissAlarmUnreachable, "ring")));

  auto from_variable = Parse({"press(#1) let(a, 3) timer(a, 10)", "alarm(3) nop()"});
  EXPECT_EQ(from_variable->WarningsStartingWith("FKiSS: alarm("), 0) << from_variable->ReportText();
}

TEST(FkissCheckTest, IdsEqualToEachOtherOrToVariables) {
  auto d = Parse({"press(#1) let(Ring, 1) timer(ring, 1) gosub(ring) gosub(Jump) let(jump, 2)",
                  "alarm(RING) nop()", "label(ring) nop()", "label(jump) nop()"});
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissAlarmIsLabel, "RING", "ring"))) << d->ReportText();
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissAlarmIsVariable, "RING", "Ring")));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissLabelIsVariable, "ring", "Ring")));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissLabelIsVariable, "jump", "jump")));
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: Label ID"), 2);
}

TEST(FkissLevelTest, ACelGroupMakesTheLevelFourEvenWithoutAScript) {
  // Shown as FKiSS 4, yet with no EventHandler line there is nothing to run.
  ScriptedDoll grouped(testing::CnfWithObjects(2) + "#1 x.cel ;!grp\n;@press(#1) map(#1)\n");
  EXPECT_EQ(grouped.script.level, kFkissLevel4);
  EXPECT_EQ(grouped.doll.fkiss_level, kFkissLevel4);
  EXPECT_FALSE(grouped.script.script_flag);
  EXPECT_TRUE(grouped.script.opened_events.empty());
  // With the EventHandler line but no event head the group still decides.
  EXPECT_EQ(Level({}, "#1 x.cel ;!grp\n"), kFkissLevel4);
}

TEST(FkissCheckTest, OnlyJumpsThroughVariablesSpareNumericLabels) {
  // A repeat whose label comes from a variable still leaves label 3 examined.
  auto repeat = Parse({"press(#1) let(n, 3) repeat(n, 2, i)", "label(3) nop()"});
  EXPECT_TRUE(repeat->HasWarning(Msg(kMsgFkissLabelNumberUnreachable, 3))) << repeat->ReportText();
  for (const char* jump :
       {"goto(n)", "gosub(n)", "gotorandom(50, n, 3)", "gosubrandom(50, 3, n)"}) {
    auto d =
        Parse({std::string("press(#1) let(n, 4) ") + jump, "label(4) nop()", "label(5) nop()"});
    EXPECT_EQ(d->WarningsStartingWith("FKiSS: label("), 0) << jump << "\n" << d->ReportText();
  }
}

}  // namespace
}  // namespace luma
